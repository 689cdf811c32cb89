#pragma once
// Starts Debian's tinyproxy on 127.0.0.1 for a test, optionally demanding Basic credentials.
//
//   pw::test::Proxy proxy({.user = "alice", .password = "s3cret"});
//   settings.WriteString("Setting", "ProxyServer", proxy.Address());   // "127.0.0.1:<port>"
//   ...
//   EXPECT_NE(proxy.Log().find("CONNECT"), std::string::npos);
//
// The constructor returns once the proxy accepts connections; it throws std::runtime_error
// when tinyproxy is missing or does not come up. Tests that need it should first check
// Proxy::Available() and skip otherwise. The proxy forwards plain requests (adding a "Via"
// header that the sandbox's /test/echo shows) and tunnels CONNECT to any port. The destructor
// stops it and removes its folder; it is also killed when the starting thread ends.
#include <memory>
#include <string>

namespace pw::test {

class ChildProcess;

class Proxy {
public:
    struct Options {
        std::string user;      // both set: clients must send these Basic credentials
        std::string password;
        int port = 0;          // 0: any free loopback port
        std::string program = "/usr/bin/tinyproxy";
    };

    Proxy();
    explicit Proxy(Options options);
    ~Proxy();
    Proxy(const Proxy&) = delete;
    Proxy& operator=(const Proxy&) = delete;

    int Port() const { return port_; }
    std::string Address() const;  // "127.0.0.1:<port>"
    // The proxy's log so far: one "Request" line per request it took, with its request line
    // ("CONNECT 127.0.0.1:<port> HTTP/1.1", "GET http://... HTTP/1.1").
    std::string Log() const;

    static bool Available(const std::string& program = "/usr/bin/tinyproxy");

private:
    bool TryStart(int port);

    Options options_;
    std::string dir_;
    std::unique_ptr<ChildProcess> child_;
    int port_ = 0;
};

}  // namespace pw::test
