#pragma once
// A test suite against one sandbox: the sandbox runs for the whole suite, every test gets a
// fresh folder with a settings file that trusts the sandbox's authority and points the
// system's host at it, and a real transport whose messages are recorded in shown_.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "net/curl_transport.h"
#include "settings/settings_store.h"
#include "support/sandbox.h"

namespace pw::test {

class SandboxSession : public ::testing::Test {
protected:
    static void SetUpTestSuite() { sandbox_ = new Sandbox(); }
    static void TearDownTestSuite() {
        delete sandbox_;
        sandbox_ = nullptr;
    }

    // section and hostKey: where the system's host is written ("LR", "LRHost").
    void Open(const std::string& section, const std::string& hostKey) {
        dir_ = std::filesystem::temp_directory_path() /
               ("pw_e2e_" + section + "_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
        settings_ = std::make_unique<SettingsStore>((dir_ / "Purseward.ini").string(), "");
        settings_->WriteString("Setting", "CACertFile", sandbox_->CaPath());
        settings_->WriteString(section, hostKey, sandbox_->HttpsHost());
        TransportHooks hooks;
        hooks.showMessage = [this](const std::string& m) { shown_.push_back(m); };
        hooks.isHidden = [] { return false; };
        hooks.notifyUser = [this](const std::string& m) { shown_.push_back(m); };
        transport_ = std::make_unique<CurlTransport>(*settings_, counter_, hooks);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    static inline Sandbox* sandbox_ = nullptr;
    std::filesystem::path dir_;
    std::unique_ptr<SettingsStore> settings_;
    TrafficCounter counter_;
    std::vector<std::string> shown_;
    std::unique_ptr<CurlTransport> transport_;
};

}  // namespace pw::test
