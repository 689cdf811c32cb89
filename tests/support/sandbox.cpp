#include "sandbox.h"

#include <filesystem>
#include <stdexcept>

#include "child_process.h"

namespace pw::test {

Sandbox::Sandbox() : Sandbox(Options{}) {}

Sandbox::Sandbox(Options options) : options_(std::move(options)) {
    if (options_.program.empty()) options_.program = DefaultProgram();
    if (options_.dir.empty()) {
        options_.dir = MakeTempDir("pw-sandbox-");
        ownDir_ = true;
    }
    try {
        Start();
    } catch (...) {
        if (ownDir_) {
            std::error_code ec;
            std::filesystem::remove_all(options_.dir, ec);
        }
        throw;
    }
}

Sandbox::~Sandbox() {
    Stop();
    if (ownDir_) {
        std::error_code ec;
        std::filesystem::remove_all(options_.dir, ec);
    }
}

std::string Sandbox::DefaultProgram() { return PW_SUPPORT_SANDBOX_PATH; }

void Sandbox::Start() {
    ChildProcess::Io io;
    io.pipeStdin = true;
    io.pipeStdout = true;
    child_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{options_.program, "--dir", options_.dir, "--https-port",
                                 std::to_string(options_.httpsPort), "--http-port",
                                 std::to_string(options_.httpPort), "--expired-port",
                                 std::to_string(options_.expiredPort), "--wronghost-port",
                                 std::to_string(options_.wrongHostPort), "--eg-port",
                                 std::to_string(options_.egPort)},
        io);

    const auto deadline = std::chrono::steady_clock::now() + options_.startTimeout;
    std::string line;
    bool ready = false;
    while (!ready) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !child_->ReadLine(line, left)) break;
        const size_t eq = line.find('=');
        const std::string name = line.substr(0, eq);
        const int port = eq == std::string::npos ? 0 : std::stoi(line.substr(eq + 1));
        if (line == "ready") ready = true;
        else if (name == "https") https_ = port;
        else if (name == "http") http_ = port;
        else if (name == "expired") expired_ = port;
        else if (name == "wronghost") wrongHost_ = port;
        else if (name == "eg") eg_ = port;
    }
    if (!ready || !https_ || !http_ || !expired_ || !wrongHost_ || !eg_) {
        child_.reset();
        throw std::runtime_error("purseward-sandbox did not get ready: " + options_.program);
    }
    // Nothing more is read; the sandbox ignores a closed output.
    child_->CloseStdout();
}

void Sandbox::Stop() { child_.reset(); }

void Sandbox::Restart() {
    Stop();
    options_.httpsPort = https_;
    options_.httpPort = http_;
    options_.expiredPort = expired_;
    options_.wrongHostPort = wrongHost_;
    options_.egPort = eg_;
    Start();
}

std::string Sandbox::CaPath() const { return options_.dir + "/ca.pem"; }

std::string Sandbox::HttpsHost() const { return "127.0.0.1:" + std::to_string(https_); }
std::string Sandbox::EgHost() const { return "127.0.0.1:" + std::to_string(eg_); }
std::string Sandbox::HttpHost() const { return "127.0.0.1:" + std::to_string(http_); }

std::string Sandbox::HttpsUrl(const std::string& p) const { return "https://" + HttpsHost() + p; }
std::string Sandbox::HttpUrl(const std::string& p) const { return "http://" + HttpHost() + p; }
std::string Sandbox::ExpiredUrl(const std::string& p) const {
    return "https://127.0.0.1:" + std::to_string(expired_) + p;
}
std::string Sandbox::WrongHostUrl(const std::string& p) const {
    return "https://127.0.0.1:" + std::to_string(wrongHost_) + p;
}

}  // namespace pw::test
