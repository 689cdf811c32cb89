#include "proxy.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "child_process.h"

namespace pw::test {

Proxy::Proxy() : Proxy(Options{}) {}

Proxy::Proxy(Options options) : options_(std::move(options)) {
    if (!Available(options_.program))
        throw std::runtime_error("tinyproxy is not installed at " + options_.program);
    dir_ = MakeTempDir("pw-proxy-");
    // A port probed free can be taken by someone else before the proxy binds it: try again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (TryStart(options_.port != 0 ? options_.port : FreeLoopbackPort())) return;
        if (options_.port != 0) break;
    }
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
    throw std::runtime_error("tinyproxy did not start");
}

Proxy::~Proxy() {
    child_.reset();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

bool Proxy::Available(const std::string& program) { return ::access(program.c_str(), X_OK) == 0; }

std::string Proxy::Address() const { return "127.0.0.1:" + std::to_string(port_); }

std::string Proxy::Log() const {
    std::ifstream in(dir_ + "/tinyproxy.log");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Proxy::TryStart(int port) {
    const std::string conf = dir_ + "/tinyproxy.conf";
    {
        std::ofstream out(conf, std::ios::trunc);
        out << "Port " << port << "\n"
            << "Listen 127.0.0.1\n"
            << "Timeout 60\n"
            << "MaxClients 50\n"
            << "LogFile \"" << dir_ << "/tinyproxy.log\"\n"
            << "LogLevel Info\n"
            << "Allow 127.0.0.1\n";
        if (!options_.user.empty())
            out << "BasicAuth " << options_.user << " " << options_.password << "\n";
        if (!out) return false;
    }
    ChildProcess::Io io;
    io.outputFile = dir_ + "/tinyproxy.out";
    io.dieWithParent = true;
    child_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{options_.program, "-d", "-c", conf}, io);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (!child_->Running()) break;
        if (LoopbackPortAccepts(port)) {
            port_ = port;
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    child_.reset();
    return false;
}

}  // namespace pw::test
