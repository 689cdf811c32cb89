#pragma once
// Starts purseward-sandbox for a test and stops it again.
//
//   pw::test::Sandbox sandbox;                       // fresh state folder, free ports
//   settings.WriteString("Setting", "CACertFile", sandbox.CaPath());
//   settings.WriteString("LR", "LRHost", sandbox.HttpsHost());   // "127.0.0.1:<port>"
//   transport.HttpsGet(sandbox.HttpsUrl("/xml/balance.aspx?..."));
//
// The constructor returns once the program has printed "ready", so every listener accepts
// connections. The listeners:
//   HttpsPort      HTTPS with a certificate for 127.0.0.1 and localhost, issued by the
//                  sandbox's own authority (CaPath); the payment-system interfaces live here
//   HttpPort       plain HTTP (pages fetched with HttpGet)
//   ExpiredPort    HTTPS with an expired certificate from the same authority
//   WrongHostPort  HTTPS with a certificate for "wrong.example" from the same authority
//   EgPort         HTTPS like HttpsPort, with e-gold's account interface (its paths are those
//                  of Perfect Money, which lives on HttpsPort)
// All four also answer the transport test routes (/test/status/<code>, /test/big?bytes=N,
// /test/zero, /test/slow?ms=N, /test/stall?ms=N, /test/cut, /test/echo; see
// tools/sandbox/test_routes.h).
//
// The authority is not trusted by the system: without CaPath in "CACertFile" every HTTPS
// request to the sandbox is refused by certificate verification.
//
// The destructor stops the program and, when the folder was created by the constructor,
// removes it. The sandbox also exits by itself when the test process dies (it watches its
// standard input), so a crashed test leaves nothing running.
#include <chrono>
#include <memory>
#include <string>

namespace pw::test {

class ChildProcess;

class Sandbox {
public:
    struct Options {
        std::string program;  // empty: the purseward-sandbox of this build
        std::string dir;      // empty: a fresh temporary folder, removed by the destructor
        int httpsPort = 0;    // 0: any free port
        int httpPort = 0;
        int expiredPort = 0;
        int wrongHostPort = 0;
        int egPort = 0;
        std::chrono::milliseconds startTimeout{20000};
    };

    Sandbox();
    explicit Sandbox(Options options);
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    int HttpsPort() const { return https_; }
    int HttpPort() const { return http_; }
    int ExpiredPort() const { return expired_; }
    int WrongHostPort() const { return wrongHost_; }
    int EgPort() const { return eg_; }

    // The state folder and the authority's certificate in it ("<dir>/ca.pem").
    const std::string& Dir() const { return options_.dir; }
    std::string CaPath() const;

    // "127.0.0.1:<port>", the form the host settings take.
    std::string HttpsHost() const;
    std::string HttpHost() const;
    std::string EgHost() const;  // e-gold's "127.0.0.1:<port>"

    // "https://127.0.0.1:<port>" + pathAndQuery (which starts with "/"); likewise for the
    // other listeners ("http://" for HttpUrl).
    std::string HttpsUrl(const std::string& pathAndQuery) const;
    std::string HttpUrl(const std::string& pathAndQuery) const;
    std::string ExpiredUrl(const std::string& pathAndQuery) const;
    std::string WrongHostUrl(const std::string& pathAndQuery) const;

    // Stops the program and starts it again on the same ports with the same folder, so a
    // test can check that state survives a restart.
    void Restart();
    // Stops the program (the ports stop answering); the destructor does it too.
    void Stop();

    // The purseward-sandbox of this build.
    static std::string DefaultProgram();

private:
    void Start();

    Options options_;
    bool ownDir_ = false;
    std::unique_ptr<ChildProcess> child_;
    int https_ = 0;
    int http_ = 0;
    int expired_ = 0;
    int wrongHost_ = 0;
    int eg_ = 0;
};

}  // namespace pw::test
