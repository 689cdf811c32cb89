#pragma once
// A temporary base directory with a settings file, the scripted seams and a main window
// whose tray, transport, balloon, sound and tab pages are all stand-ins that record.
#include <gtest/gtest.h>

#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/gui/main_window.h"
#include "app/purseward_app.h"
#include "net/curl_transport.h"
#include "support/qt_support.h"
#include "ui/base/fake_seams.h"

namespace pw::test {

// Answers of the scripted transport, in order; with none left the body is empty.
struct TransportScript {
    struct Answer {
        std::string body;
        std::string failure;  // not empty: the request fails with this library message
        FailureKind kind = FailureKind::Connect;  // of a failure
        long status = 0;                          // of a HttpStatus failure
    };
    std::deque<Answer> answers;
    std::vector<std::string> urls;
    // Plain requests (the banner's worker) fail at once and leave answers and urls alone.
    bool secureOnly = false;
};

// Counts like the real transport: URL length as sent, body length as received.
class ScriptedTransport : public Transport {
public:
    ScriptedTransport(TrafficCounter& counter, TransportHooks hooks, TransportScript& script)
        : counter_(counter), hooks_(std::move(hooks)), script_(script) {}
    std::string HttpsGet(const SecureString& url) override { return Get(std::string(url), true); }
    std::string HttpGet(const SecureString& url) override { return Get(std::string(url), false); }
    // The next answer, classified by its kind; shows nothing.
    Exchanged Exchange(const SecureString& url, bool secure, TransferControl* control) override;

  private:
    std::string Get(const std::string& url, bool secure);
    TransportScript::Answer Next(const std::string& url);
    TrafficCounter& counter_;
    TransportHooks hooks_;
    TransportScript& script_;
};

class ShellTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Writes Set/Purseward.ini with these lines below "[Setting]" and makes the application
    // object read it.
    void WriteSettings(const std::string& settingLines);
    std::unique_ptr<CPursewardDlg> MakeWindow(bool trayAvailable = false);
    std::string Setting(const std::string& key) const;

    QTemporaryDir tmp_;
    std::string base_;
    QString oldCwd_;
    ScriptedUi ui_;
    ManualClock clock_{1254659696};  // 2009-10-04 12:34:56 UTC
    std::unique_ptr<CPursewardApp> app_;
    TransportScript script_;
    bool realTransport_ = false;  // MakeWindow: a CurlTransport on the settings instead
    std::vector<int> saves_;  // system index of each SaveState call, in order
    std::vector<std::pair<QString, QString>> balloons_;  // title, text
    std::vector<QString> sounds_;
    std::vector<QUrl> opened_;
    bool realTabs_ = false;  // the program's own tab pages instead of recording stand-ins
    // When set, builds the tab pages (before realTabs_ is looked at).
    std::function<AccountTabWidget*(int, CPursewardApp&, TabHost&, QWidget*)> tabFactory_;
};

}  // namespace pw::test
