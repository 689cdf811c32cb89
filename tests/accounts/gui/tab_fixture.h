#pragma once
// Stand-ins for the account tab tests: a scripted client whose answers are lines of rows, a
// main window that records every call and answers requests from a queue, a scratch program
// folder and the application object on a scripted UI and a hand-moved clock.
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "accounts/account_client.h"
#include "accounts/gui/account_tab.h"
#include "accounts/tab_host.h"
#include "app/purseward_app.h"
#include "net/transport.h"
#include "ui/base/fake_seams.h"

namespace pw::test {

// Creates the QApplication of the test program once.
void EnsureQtApp();

// Traits of a full tab laid out as the Liberty Reserve one.
SystemTraits ScriptedTraits();

// Answers are lines "E:<error row>", "B:<balance row>", "H:<history row>", "P:<pager>";
// anything else is ignored.
class ScriptedClient : public AccountClient {
public:
    explicit ScriptedClient(SystemTraits traits = ScriptedTraits()) : traits_(std::move(traits)) {}
    const SystemTraits& Traits() const override { return traits_; }
    SecureString BalanceUrl(const LoginFields& login, std::time_t now) override;
    SecureString HistoryUrl(const LoginFields& login, const HistoryFilter& filter, int page,
                            std::time_t now) override;
    void Parse(const std::string& answer, RequestKind kind, bool clear) override;
    std::vector<RequestKind> kinds;  // of every parse, in order
    const ParsedAnswer& Answer() const override { return answer_; }
    std::vector<int> FurtherPages(const HistoryFilter& filter) const override;
    std::string ErrorReport() const override { return CodeMessageReport(answer_.errors); }

private:
    SystemTraits traits_;
    ParsedAnswer answer_;
};

// A scripted UI that can run code while a message box is open (as the event loop would).
class TestUi : public ScriptedUi {
public:
    std::function<void()> onMessage;
    std::vector<bool> waitCursorAtMessage;
    // Caption, label and shown value of every number prompt, in order.
    std::vector<std::string> numberCaptions, numberLabels;
    std::vector<int> numberShown;
    void Message(const std::string& text) override;
    std::optional<int> PromptNumber(const std::string& caption, const std::string& label,
                                    int value) override;
};

class ScriptedHost : public TabHost {
public:
    std::deque<std::string> answers;  // empty: a failed request ("")
    std::vector<std::string> urls, notices, captions, tagRequests;
    std::vector<bool> waitCursorAtRequest;
    std::vector<RequestTopic> topics;  // the topic of every request
    RequestTopic topic;
    bool waiting = false;  // RequestWaiting
    int banners = 0;

    std::string HttpsGet(const SecureString& url) override;
    std::string HttpGet(const SecureString& url) override { return HttpsGet(url); }
    void NotifyUser(const std::string& text) override { notices.push_back(text); }
    void SetTabCaption(const std::string& text) override { captions.push_back(text); }
    std::string MakeTabTableName(const std::string& suffix) override {
        tagRequests.push_back(suffix);
        return suffix.empty() ? std::string() : "LR_" + suffix;
    }
    void ShowCurrentIP(const std::string&) override {}
    void ShowBanner() override { ++banners; }
    void SetRequestTopic(const RequestTopic& t) override { topic = t; }
    bool RequestWaiting() const override { return waiting; }
    // The page whose timer sends the requests now, and that of every request.
    const void* background = nullptr;
    std::vector<const void*> origins;
    const void* SetBackgroundOrigin(const void* origin) override {
        const void* before = background;
        background = origin;
        return before;
    }
};

// A main window whose requests go through a real transport (plain requests go out as https,
// as ScriptedHost's do).
class TransportHost : public ScriptedHost {
public:
    explicit TransportHost(Transport& t) : transport(t) {}
    std::string HttpsGet(const SecureString& url) override {
        urls.emplace_back(url);
        return transport.HttpsGet(url);
    }
    Transport& transport;
};

class TempDir {
public:
    TempDir();
    ~TempDir();
    // With a trailing "/".
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Saves a picture of a tab page at the size it has in a 1366 x 768 window as
// <build>/screenshots/<name>, and checks on the way that its balance box shows all its rows
// (up to six) and all its columns without scrolling.
void SaveScreenshot(QWidget& tab, const std::string& name);

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& data);

// A tab on the scripted client that counts the schedule checks and the runs of the features
// (all supplied, as on a finished tab).
class TestTab : public CAccountTab {
public:
    TestTab(CPursewardApp& app, TabHost& host)
        : CAccountTab(std::make_unique<ScriptedClient>(), app, host) {
        for (TabFeature f : {TabFeature::SavedAccounts, TabFeature::Payment,
                             TabFeature::MassPayment, TabFeature::Export, TabFeature::RecordView})
            SetFeature(f, [this, f] { featureRuns.push_back(f); });
        Init();
    }
    int scheduleChecks = 0;
    std::vector<TabFeature> featureRuns;

    std::vector<const void*> scheduleOrigins;  // the background origin at each check

  protected:
    void ScheduleCheck() override {
        ++scheduleChecks;
        scheduleOrigins.push_back(static_cast<ScriptedHost&>(Host()).background);
    }
};

// The program folder, the seams and the application object.
struct TabWorld {
    TabWorld();
    TempDir dir;
    TestUi ui;
    ManualClock clock;
    CPursewardApp app;
    ScriptedHost host;
};

}  // namespace pw::test
