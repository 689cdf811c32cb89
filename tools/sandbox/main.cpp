// purseward-sandbox: a local stand-in for the payment interfaces, on 127.0.0.1 only.
//
//   purseward-sandbox --dir <folder> [--https-port N] [--http-port N] [--expired-port N]
//                     [--wronghost-port N] [--eg-port N] [--keep-running]
//   purseward-sandbox --dir <folder> --stop | --reset
//
// The folder keeps the state: certificates, the transfers booked so far (journal.txt, booked
// again at the next start), the request log (requests.log) and the running simulator's
// process number (sandbox.pid). --stop ends the simulator of the folder; --reset ends it too
// and forgets its transfers, so that the next start has the demo data again. Port 0, the default, takes any free port.
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

#include <sys/types.h>

#include <chrono>
#include <fstream>
#include <filesystem>

#include "certs.h"
#include "journal.h"
#include "request_log.h"
#include "eg_service.h"
#include "info_service.h"
#include "ecu_service.h"
#include "gdp_service.h"
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
    bool stop = false;
    bool reset = false;
};

constexpr const char* kUsage =
    "usage: purseward-sandbox --dir <folder> [--https-port N] [--http-port N]\n"
    "       [--expired-port N] [--wronghost-port N] [--eg-port N] [--keep-running]\n"
    "       purseward-sandbox --dir <folder> --stop | --reset\n";

[[noreturn]] void Usage(const char* why) {
    std::fprintf(stderr, "purseward-sandbox: %s\n%s", why, kUsage);
    std::exit(2);
}

[[noreturn]] void Help() {
    std::printf(
        "purseward-sandbox: a local simulator of the payment interfaces Purseward talks to,\n"
        "on 127.0.0.1 only, with demo accounts, histories and balances.\n\n%s\n"
        "  --dir <folder>        state folder (certificates; its authority in ca.pem)\n"
        "  --https-port N        payment interfaces (0, the default: any free port)\n"
        "  --http-port N         plain-HTTP pages (metal prices, information page)\n"
        "  --eg-port N           e-gold's account interface\n"
        "  --expired-port N      a listener with an expired certificate, for tests\n"
        "  --wronghost-port N    a listener whose certificate names another host\n"
        "  --keep-running        keep running when standard input ends\n"
        "  --stop                end the simulator running on the folder\n"
        "  --reset               end it and forget its transfers: the demo data again\n"
        "  --help                this text\n",
        kUsage);
    std::exit(0);
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
        if (a == "--help" || a == "-h") Help();
        if (a == "--stop" || a == "--reset") {
            (a == "--stop" ? o.stop : o.reset) = true;
            continue;
        }
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

std::string InDir(const std::string& dir, const char* name) {
    return dir + (dir.back() == '/' ? "" : "/") + name;
}

// The process of the simulator that runs on the folder, 0 for none.
pid_t RunningSimulator(const std::string& dir) {
    std::ifstream in(InDir(dir, "sandbox.pid"));
    long pid = 0;
    if (!(in >> pid) || pid <= 0) return 0;
    std::ifstream cmdline("/proc/" + std::to_string(pid) + "/cmdline");
    std::string text((std::istreambuf_iterator<char>(cmdline)), std::istreambuf_iterator<char>());
    return text.find("purseward-sandbox") != std::string::npos ? static_cast<pid_t>(pid) : 0;
}

// True while the process runs (a process that ended and waits for its parent is gone).
bool Alive(pid_t pid) {
    if (::kill(pid, 0) != 0) return false;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const std::size_t paren = text.rfind(')');
    return paren == std::string::npos || paren + 2 >= text.size() || text[paren + 2] != 'Z';
}

// Ends the simulator of the folder and waits (up to 10 s) until it is gone.
int Stop(const std::string& dir) {
    const pid_t pid = RunningSimulator(dir);
    if (pid != 0) {
        ::kill(pid, SIGTERM);
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (Alive(pid) && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (Alive(pid)) {
            std::fprintf(stderr, "purseward-sandbox: process %ld does not end\n",
                         static_cast<long>(pid));
            return 1;
        }
        std::printf("stopped %ld\n", static_cast<long>(pid));
    }
    std::error_code ec;
    std::filesystem::remove(InDir(dir, "sandbox.pid"), ec);
    return 0;
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
    if (opt.stop || opt.reset) {
        const int rc = Stop(opt.dir);
        if (rc != 0 || !opt.reset) return rc;
        std::error_code ec;
        std::filesystem::remove(sandbox::JournalPath(opt.dir), ec);
        std::filesystem::remove(InDir(opt.dir, "requests.log"), ec);
        std::printf("back to the demo state\n");
        return 0;
    }

    sandbox::CertSet certs;
    try {
        certs = sandbox::LoadOrCreateCerts(opt.dir);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "purseward-sandbox: %s\n", e.what());
        return 1;
    }

    if (!sandbox::OpenJournal(opt.dir)) {
        std::fprintf(stderr, "purseward-sandbox: cannot read %s\n",
                     sandbox::JournalPath(opt.dir).c_str());
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

    for (httplib::Server* s : {static_cast<httplib::Server*>(&https), &http,
                               static_cast<httplib::Server*>(&egHttps)})
        sandbox::LogRequests(*s, opt.dir);

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

    if (std::ofstream pidFile(InDir(opt.dir, "sandbox.pid")); pidFile)
        pidFile << ::getpid() << "\n";

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
