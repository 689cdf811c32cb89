// purseward-sandbox: a local stand-in for the payment interfaces, on 127.0.0.1 only.
//
//   purseward-sandbox --dir <folder> [--https-port N] [--http-port N] [--expired-port N]
//                     [--wronghost-port N] [--eg-port N] [--keep-running]
//
// The folder keeps the state (certificates first). Port 0, the default, takes any free port.
// On start one line per listener goes to stdout ("https=<port>", "http=<port>",
// "expired=<port>", "wronghost=<port>", "eg=<port>"), then "ready". The program runs until it is killed or,
// unless --keep-running is given, until its standard input reaches end of file, so a parent
// that dies never leaves it behind.
#include <httplib.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "certs.h"
#include "ecu_service.h"
#include "eg_service.h"
#include "gdp_service.h"
#include "info_service.h"
#include "lr_service.h"
#include "pm_service.h"
#include "test_routes.h"
#include "transfer_faults.h"
#include "vm_service.h"

namespace {

struct Options {
    std::string dir;
    int httpsPort = 0;
    int httpPort = 0;
    int expiredPort = 0;
    int wrongHostPort = 0;
    int egPort = 0;
    bool keepRunning = false;
};

[[noreturn]] void Usage(const char* why) {
    std::fprintf(stderr,
                 "purseward-sandbox: %s\n"
                 "usage: purseward-sandbox --dir <folder> [--https-port N] [--http-port N]\n"
                 "       [--expired-port N] [--wronghost-port N] [--eg-port N] [--keep-running]\n",
                 why);
    std::exit(2);
}

int PortValue(const char* text) {
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (*text == '\0' || *end != '\0' || v < 0 || v > 65535) Usage("bad port number");
    return static_cast<int>(v);
}

Options Parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--keep-running") {
            o.keepRunning = true;
            continue;
        }
        if (i + 1 >= argc) Usage(("missing value after " + a).c_str());
        const char* v = argv[++i];
        if (a == "--dir") o.dir = v;
        else if (a == "--https-port") o.httpsPort = PortValue(v);
        else if (a == "--http-port") o.httpPort = PortValue(v);
        else if (a == "--expired-port") o.expiredPort = PortValue(v);
        else if (a == "--wronghost-port") o.wrongHostPort = PortValue(v);
        else if (a == "--eg-port") o.egPort = PortValue(v);
        else Usage(("unknown option " + a).c_str());
    }
    if (o.dir.empty()) Usage("--dir is required");
    return o;
}

int Bind(httplib::Server& server, int port, const char* name) {
    if (!server.is_valid()) {
        std::fprintf(stderr, "purseward-sandbox: the %s listener cannot be set up\n", name);
        std::exit(1);
    }
    server.new_task_queue = [] { return new httplib::ThreadPool(24); };
    const int bound = port == 0 ? server.bind_to_any_port("127.0.0.1")
                                : (server.bind_to_port("127.0.0.1", port) ? port : -1);
    if (bound <= 0) {
        std::fprintf(stderr, "purseward-sandbox: cannot listen on 127.0.0.1:%d for %s\n", port,
                     name);
        std::exit(1);
    }
    return bound;
}

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);
    const Options opt = Parse(argc, argv);

    sandbox::CertSet certs;
    try {
        certs = sandbox::LoadOrCreateCerts(opt.dir);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "purseward-sandbox: %s\n", e.what());
        return 1;
    }

    httplib::SSLServer https(certs.good.get(), certs.serverKey.get());
    httplib::Server http;
    httplib::SSLServer expired(certs.expired.get(), certs.serverKey.get());
    httplib::SSLServer wrongHost(certs.wrongHost.get(), certs.serverKey.get());
    // e-gold's account interface uses the same paths as Perfect Money's on a host of its own.
    httplib::SSLServer egHttps(certs.good.get(), certs.serverKey.get());

    for (httplib::Server* s : {static_cast<httplib::Server*>(&https), &http,
                               static_cast<httplib::Server*>(&expired),
                               static_cast<httplib::Server*>(&wrongHost)})
        sandbox::RegisterTestRoutes(*s);
    sandbox::RegisterHomePage(http);
    sandbox::RegisterFaultRoutes(http);
    sandbox::RegisterInfoSite(http);
    sandbox::RegisterLibertyReserve(https);
    sandbox::RegisterEGold(egHttps, http);
    sandbox::RegisterVMoney(https);
    sandbox::RegisterGdp(https);
    sandbox::RegisterEcuMoney(https);
    sandbox::RegisterPerfectMoney(https);

    const int httpsPort = Bind(https, opt.httpsPort, "https");
    const int httpPort = Bind(http, opt.httpPort, "http");
    const int expiredPort = Bind(expired, opt.expiredPort, "expired");
    const int wrongHostPort = Bind(wrongHost, opt.wrongHostPort, "wronghost");
    const int egPort = Bind(egHttps, opt.egPort, "eg");

    std::vector<std::thread> threads;
    for (httplib::Server* s : {static_cast<httplib::Server*>(&https), &http,
                               static_cast<httplib::Server*>(&expired),
                               static_cast<httplib::Server*>(&wrongHost),
                               static_cast<httplib::Server*>(&egHttps)})
        threads.emplace_back([s] { s->listen_after_bind(); });

    std::printf("https=%d\nhttp=%d\nexpired=%d\nwronghost=%d\neg=%d\nready\n", httpsPort, httpPort,
                expiredPort, wrongHostPort, egPort);
    std::fflush(stdout);

    if (opt.keepRunning) {
        for (auto& t : threads) t.join();
        return 0;
    }
    char buf[256];
    for (;;) {
        const ssize_t n = read(STDIN_FILENO, buf, sizeof buf);
        if (n == 0 || (n < 0 && errno != EINTR)) break;
    }
    std::fflush(stdout);
    std::_Exit(0);  // handlers may be mid-wait; nothing is left to save
}
