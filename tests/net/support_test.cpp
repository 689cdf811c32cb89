// The test support itself: the sandbox and the proxy come up, answer and go away.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "support/child_process.h"
#include "support/proxy.h"
#include "support/sandbox.h"

namespace pw::test {
namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(SandboxSupport, StartsWithFourDistinctListenersAndAnAuthority) {
    std::string dir;
    int https = 0;
    {
        Sandbox sandbox;
        dir = sandbox.Dir();
        https = sandbox.HttpsPort();
        for (int port : {sandbox.HttpsPort(), sandbox.HttpPort(), sandbox.ExpiredPort(),
                         sandbox.WrongHostPort()})
            EXPECT_TRUE(LoopbackPortAccepts(port)) << port;
        EXPECT_NE(sandbox.HttpsPort(), sandbox.HttpPort());
        EXPECT_NE(sandbox.ExpiredPort(), sandbox.WrongHostPort());
        EXPECT_NE(ReadAll(sandbox.CaPath()).find("BEGIN CERTIFICATE"), std::string::npos);
        EXPECT_EQ(ReadAll(sandbox.CaPath()).find("PRIVATE KEY"), std::string::npos);
        EXPECT_EQ(sandbox.HttpsUrl("/x"), "https://127.0.0.1:" + std::to_string(https) + "/x");
        EXPECT_EQ(sandbox.HttpUrl("/"), "http://" + sandbox.HttpHost() + "/");
    }
    EXPECT_FALSE(std::filesystem::exists(dir)) << "the fresh folder is removed";
    EXPECT_FALSE(LoopbackPortAccepts(https)) << "the program is stopped";
}

TEST(SandboxSupport, RestartKeepsPortsAndCertificates) {
    Sandbox sandbox;
    const std::string ca = ReadAll(sandbox.CaPath());
    const int port = sandbox.HttpsPort();
    sandbox.Restart();
    EXPECT_EQ(sandbox.HttpsPort(), port);
    EXPECT_EQ(ReadAll(sandbox.CaPath()), ca);
    EXPECT_TRUE(LoopbackPortAccepts(port));
}

TEST(SandboxSupport, ABadProgramThrowsInsteadOfHanging) {
    Sandbox::Options o;
    o.program = "/bin/false";
    o.startTimeout = std::chrono::milliseconds(3000);
    EXPECT_THROW(Sandbox{o}, std::runtime_error);
}

TEST(SandboxSupport, ADamagedStateFolderStopsTheProgramWithAnError) {
    const std::string dir = MakeTempDir("pw-sandbox-bad-");
    for (const char* f : {"ca.pem", "ca-key.pem", "server-key.pem", "server.pem", "expired.pem",
                          "wronghost.pem"})
        std::ofstream(dir + "/" + f) << "garbage\n";
    Sandbox::Options o;
    o.dir = dir;
    o.startTimeout = std::chrono::milliseconds(10000);
    EXPECT_THROW(Sandbox{o}, std::runtime_error);
    EXPECT_EQ(ReadAll(dir + "/ca.pem"), "garbage\n") << "the damaged files are left as they were";
    std::filesystem::remove_all(dir);
}

TEST(SandboxSupport, BadOptionsAreRefused) {
    const std::string dir = MakeTempDir("pw-sandbox-opt-");
    for (std::vector<std::string> args :
         {std::vector<std::string>{"--https-port", "1"}, {"--dir", dir, "--http-port", "abc"},
          {"--dir", dir, "--expired-port", "70000"}, {"--dir", dir, "--bogus", "1"}}) {
        args.insert(args.begin(), Sandbox::DefaultProgram());
        ChildProcess::Io io;
        io.pipeStdout = true;
        io.outputFile = dir + "/err.txt";
        ChildProcess child(args, io);
        std::string line;
        EXPECT_FALSE(child.ReadLine(line, std::chrono::seconds(10))) << line;
        EXPECT_NE(ReadAll(dir + "/err.txt").find("usage:"), std::string::npos);
    }
    std::filesystem::remove_all(dir);
}

TEST(SandboxSupport, ExitsWhenItsInputCloses) {
    // The sandbox watches its stdin: a parent that dies leaves nothing behind.
    const std::string dir = MakeTempDir("pw-sandbox-eof-");
    ChildProcess::Io io;
    io.pipeStdin = true;
    io.pipeStdout = true;
    ChildProcess child({Sandbox::DefaultProgram(), "--dir", dir}, io);
    std::string line;
    while (child.ReadLine(line, std::chrono::seconds(20)) && line != "ready") {
    }
    ASSERT_EQ(line, "ready");
    child.CloseStdout();
    child.CloseStdin();
    bool running = true;
    for (int i = 0; i < 500 && running; ++i) {
        running = child.Running();
        if (running) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_FALSE(running) << "still running 5 s after its input closed";
    std::filesystem::remove_all(dir);
}

TEST(ProxySupport, StartsAndStops) {
    if (!Proxy::Available()) GTEST_SKIP() << "tinyproxy is not installed";
    int port = 0;
    {
        Proxy proxy;
        port = proxy.Port();
        EXPECT_TRUE(LoopbackPortAccepts(port));
        EXPECT_EQ(proxy.Address(), "127.0.0.1:" + std::to_string(port));
    }
    EXPECT_FALSE(LoopbackPortAccepts(port));
}

}  // namespace
}  // namespace pw::test
