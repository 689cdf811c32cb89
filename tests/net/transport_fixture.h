#pragma once
// A transport on a fresh settings file, recording everything it tells the user, against one
// sandbox shared by the tests of a suite.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "net/curl_transport.h"
#include "settings/settings_store.h"
#include "support/child_process.h"
#include "support/sandbox.h"

namespace pw::test {

class TransportTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { sandbox_ = new Sandbox(); }
    static void TearDownTestSuite() {
        delete sandbox_;
        sandbox_ = nullptr;
    }

    void SetUp() override {
        dir_ = MakeTempDir("pw-net-");
        settings_ = SettingsStore(dir_ + "/Purseward.ini", "unlock-password");
    }
    void TearDown() override {
        transport_.reset();
        std::filesystem::remove_all(dir_);
    }

    Sandbox& Box() { return *sandbox_; }

    CurlTransport& T() {
        if (!transport_) {
            TransportHooks hooks;
            hooks.showMessage = [this](const std::string& m) { Record(shown_, m); };
            hooks.isHidden = [this] { return hidden_; };
            hooks.notifyUser = [this](const std::string& m) { Record(notified_, m); };
            hooks.trafficChanged = [this](const std::string& t) { Record(traffic_, t); };
            transport_ = std::make_unique<CurlTransport>(settings_, counter_, hooks, timeouts_);
        }
        return *transport_;
    }

    void TrustSandbox() { settings_.WriteString("Setting", "CACertFile", Box().CaPath()); }

    std::vector<std::string> Shown() { return Copy(shown_); }
    std::vector<std::string> Notified() { return Copy(notified_); }
    std::vector<std::string> Traffic() { return Copy(traffic_); }
    float Sent() {
        std::lock_guard<std::timed_mutex> lock(counter_.statusLock);
        return counter_.sent;
    }
    float Received() {
        std::lock_guard<std::timed_mutex> lock(counter_.statusLock);
        return counter_.received;
    }

    static std::string Pattern(size_t n) {
        std::string s(n, '\0');
        for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>('a' + i % 26);
        return s;
    }

    std::string dir_;
    SettingsStore settings_;
    TrafficCounter counter_;
    TransportTimeouts timeouts_{std::chrono::milliseconds(5000), std::chrono::seconds(10)};
    bool hidden_ = false;

private:
    void Record(std::vector<std::string>& to, const std::string& text) {
        std::lock_guard<std::mutex> lock(recordLock_);
        to.push_back(text);
    }
    std::vector<std::string> Copy(const std::vector<std::string>& from) {
        std::lock_guard<std::mutex> lock(recordLock_);
        return from;
    }

    static inline Sandbox* sandbox_ = nullptr;
    std::unique_ptr<CurlTransport> transport_;
    std::mutex recordLock_;
    std::vector<std::string> shown_, notified_, traffic_;
};

}  // namespace pw::test
