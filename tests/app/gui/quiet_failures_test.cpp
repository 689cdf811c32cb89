// Requests no one started by hand fail quietly: the tab, the status line and the tray tool tip
// tell it until the next success; the user's own requests still say what went wrong. And the
// window's commands that cannot work are disabled with a reason.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <sstream>

#include "accounts/gui/account_tab.h"
#include "accounts/lr/lr_client.h"
#include "shell_fixture.h"

namespace pw::test {
namespace {

const char kLibraryText[] =
    "Failed to connect to 127.0.0.1 port 18443 after 0 ms: Couldn't connect to server";
const char kBalance[] = "B:LRUSD~10.00~2009-10-04 12:00~U1234567\n";

// A Liberty Reserve tab whose answers are lines "B:<balance row>".
class LineClient : public AccountClient {
public:
    const SystemTraits& Traits() const override { return LibertyReserveTraits(); }
    SecureString BalanceUrl(const LoginFields& login, std::time_t) override {
        return "https://127.0.0.1:18443/balance?acct=" + login.account + "&token=SECRET";
    }
    SecureString HistoryUrl(const LoginFields&, const HistoryFilter&, int, std::time_t) override {
        return "https://127.0.0.1:18443/history?token=SECRET";
    }
    void Parse(const std::string& answer, RequestKind, bool clear) override {
        if (clear) answer_ = ParsedAnswer{};
        std::istringstream in(answer);
        std::string line;
        while (std::getline(in, line))
            if (line.rfind("B:", 0) == 0) answer_.balanceRows.push_back(line.substr(2));
    }
    const ParsedAnswer& Answer() const override { return answer_; }
    std::vector<int> FurtherPages(const HistoryFilter&) const override { return {}; }
    std::string ErrorReport() const override { return CodeMessageReport(answer_.errors); }

private:
    ParsedAnswer answer_;
};

class LineTab : public CAccountTab {
public:
    LineTab(CPursewardApp& app, TabHost& host, QWidget* parent)
        : CAccountTab(std::make_unique<LineClient>(), app, host, parent) {
        Init();
    }
};

class QuietFailuresTest : public ShellTest {
protected:
    std::string Time() const {
        const std::tm tm = clock_.LocalNow();
        char text[8];
        std::strftime(text, sizeof text, "%H:%M", &tm);
        return text;
    }
    std::string Caption(CPursewardDlg& w, int index) const {
        return w.Tabs()->tabText(index).toStdString();
    }
};

// The journey: logged in with auto-refresh every minute, the server goes away and comes back.
TEST_F(QuietFailuresTest, AnAutoRefreshFailureOpensNoBoxAndTheNextSuccessClearsIt) {
    WriteSettings("Enable_PM=0\nEnable_VM=0\nEnable_EG=0\n[LR]\nLRAutoRefresh=1\n");
    tabFactory_ = [](int, CPursewardApp& app, TabHost& host, QWidget* parent) {
        return new LineTab(app, host, parent);
    };
    script_.secureOnly = true;
    auto w = MakeWindow(true);
    w->show();
    auto* tab = qobject_cast<CAccountTab*>(w->Tabs()->widget(0));
    ASSERT_NE(tab, nullptr);
    tab->findChild<QLineEdit*>("accountEdit")->setText("U1234567");
    tab->findChild<QLineEdit*>("apiNameEdit")->setText("api");
    tab->findChild<QLineEdit*>("secretEdit")->setText("secret");
    script_.answers.push_back({kBalance, ""});
    tab->Login();
    ASSERT_TRUE(tab->IsLoggedIn());
    EXPECT_EQ(Caption(*w, 0), "[U1234567]");

    for (int round = 0; round < 2; ++round) {
        script_.answers.push_back({"", kLibraryText});
        clock_.Advance(60);
        SCOPED_TRACE(round);
        ASSERT_EQ(script_.urls.size(), 2u + static_cast<std::size_t>(round));
        EXPECT_TRUE(ui_.messages.empty()) << ui_.messages.front();
        EXPECT_TRUE(balloons_.empty());
        const std::string note =
            "Liberty Reserve: could not connect to 127.0.0.1:18443 (" + Time() + ")";
        EXPECT_EQ(Caption(*w, 0), "[U1234567] \u2014 offline");
        EXPECT_TRUE(w->FailureField()->isVisibleTo(w.get()));
        EXPECT_EQ(w->FailureField()->text().toStdString(), note);
        EXPECT_EQ(w->TrayIcon()->toolTip().toStdString(), "Purseward\n" + note);
        EXPECT_EQ(tab->BalanceRows().size(), 1u);  // what was shown stays
    }
    // The note is read last, after the other status fields.
    EXPECT_EQ(w->TrafficField()->nextInFocusChain(), w->FailureField());
    // A picture of the marked window for the record.
    w->resize(1366, 768);
    QApplication::processEvents();
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(PW_BINARY_DIR "/screenshots")));
    EXPECT_TRUE(
        w->grab().save(QStringLiteral(PW_BINARY_DIR "/screenshots/main_window_offline.png")));

    script_.answers.push_back({kBalance, ""});
    clock_.Advance(60);
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_EQ(Caption(*w, 0), "[U1234567]");
    EXPECT_FALSE(w->FailureField()->isVisibleTo(w.get()));
    EXPECT_EQ(w->TrayIcon()->toolTip(), "Purseward");

    // A refresh the user asks for still says what went wrong, with the library's words.
    script_.answers.push_back({"", kLibraryText});
    tab->RunCommand(TabCommand::Refresh);
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0],
              std::string("Could not connect to Liberty Reserve at 127.0.0.1:18443.\n") +
                  kLibraryText);
    EXPECT_EQ(Caption(*w, 0), "[U1234567]");
    EXPECT_EQ(ui_.messages[0].find("SECRET"), std::string::npos);
}

// Background failures of two tabs are noted side by side; each tab's success clears its own,
// also when another tab is the current one.
TEST_F(QuietFailuresTest, EachTabKeepsItsOwnMarkUntilItsOwnSuccess) {
    auto w = MakeWindow(true);
    ASSERT_GE(w->Tabs()->count(), 2);
    const void* lr = qobject_cast<AccountTabWidget*>(w->Tabs()->widget(0));
    const void* pm = qobject_cast<AccountTabWidget*>(w->Tabs()->widget(1));
    w->Tabs()->setCurrentIndex(1);
    w->SetTabCaption("U7&1");
    w->Tabs()->setCurrentIndex(0);
    w->SetTabCaption("U1234567");

    const struct {
        const void* origin;
        const char* system;
        TransportScript::Answer answer;
    } requests[] = {
        {pm, "Perfect Money", {"", "Connection timed out after 30001 ms", FailureKind::Timeout}},
        {lr, "Liberty Reserve", {"partial", "transfer closed", FailureKind::CutAnswer}},
    };
    for (const auto& r : requests) {
        w->SetRequestTopic({r.system, false});
        EXPECT_EQ(w->SetBackgroundOrigin(r.origin), nullptr);
        script_.answers.push_back(r.answer);
        EXPECT_EQ(w->HttpsGet("https://127.0.0.1:18443/x?token=SECRET"), "");
        EXPECT_EQ(w->SetBackgroundOrigin(nullptr), r.origin);
    }
    EXPECT_TRUE(ui_.messages.empty());
    const std::string pmNote =
        "Perfect Money: no answer in time from 127.0.0.1:18443 (" + Time() + ")";
    const std::string lrNote =
        "Liberty Reserve: the answer from 127.0.0.1:18443 broke off (" + Time() + ")";
    EXPECT_EQ(w->TabFailure(1), pmNote);
    EXPECT_EQ(w->TabFailure(0), lrNote);
    EXPECT_EQ(Caption(*w, 1), "[U7&&1] \u2014 offline");  // shown as "[U7&1] — offline"
    EXPECT_EQ(w->FailureField()->text().toStdString(), lrNote + "; " + pmNote);
    EXPECT_EQ(w->TrayIcon()->toolTip().toStdString(), "Purseward\n" + lrNote + "\n" + pmNote);

    // A timer's request the user cancels is told: a payment may have gone through.
    w->SetBackgroundOrigin(pm);
    script_.answers.push_back({"", kCancelledPaymentText, FailureKind::Cancelled});
    EXPECT_EQ(w->HttpsGet("https://127.0.0.1:18443/x"), "");
    w->SetBackgroundOrigin(nullptr);
    EXPECT_EQ(ui_.messages, std::vector<std::string>{kCancelledPaymentText});
    EXPECT_EQ(w->TabFailure(1), pmNote);
    ui_.messages.clear();

    // The Perfect Money tab's timer succeeds while Liberty Reserve is the current tab.
    w->SetBackgroundOrigin(pm);
    script_.answers.push_back({"ok", ""});
    EXPECT_EQ(w->HttpsGet("https://127.0.0.1:18443/x"), "ok");
    w->SetBackgroundOrigin(nullptr);
    EXPECT_EQ(w->TabFailure(1), "");
    EXPECT_EQ(Caption(*w, 1), "[U7&&1]");
    EXPECT_EQ(w->FailureField()->text().toStdString(), lrNote);

    // The user's own request on the current tab clears its mark too.
    script_.answers.push_back({"ok", ""});
    EXPECT_EQ(w->HttpsGet("https://127.0.0.1:18443/x"), "ok");
    EXPECT_EQ(Caption(*w, 0), "[U1234567]");
    EXPECT_TRUE(w->FailureField()->text().isEmpty());
    EXPECT_EQ(w->TrayIcon()->toolTip(), "Purseward");
    EXPECT_TRUE(ui_.messages.empty());

    // So does logging out: no timer of the tab is left to fail.
    w->SetBackgroundOrigin(lr);
    script_.answers.push_back({"", "refused"});
    w->HttpsGet("https://127.0.0.1:18443/x");
    w->SetBackgroundOrigin(nullptr);
    EXPECT_FALSE(w->TabFailure(0).empty());
    w->SetTabCaption("");
    EXPECT_EQ(w->TabFailure(0), "");
    EXPECT_EQ(Caption(*w, 0), "");
    EXPECT_FALSE(w->FailureField()->isVisibleTo(w.get()));
}

// What the user is told of each kind of failure of a request they started.
TEST_F(QuietFailuresTest, TheUsersOwnFailuresAreWordedByKind) {
    auto w = MakeWindow();
    w->show();
    w->SetRequestTopic({"V-Money", false});
    const struct {
        TransportScript::Answer answer;
        std::string message;  // "" : none
        std::string result;
    } cases[] = {
        {{"", "refused", FailureKind::Connect},
         "Could not connect to V-Money at 127.0.0.1:18443.\nrefused", ""},
        {{"", "timed out", FailureKind::Timeout},
         "V-Money at 127.0.0.1:18443 did not answer in time.\ntimed out", ""},
        {{"", "SSL certificate problem", FailureKind::Tls},
         "Could not set up a secure connection to V-Money at 127.0.0.1:18443.\n"
         "SSL certificate problem",
         ""},
        {{"<xml", "transfer closed", FailureKind::CutAnswer},
         "The answer of V-Money at 127.0.0.1:18443 broke off before it was complete.\n"
         "transfer closed",
         "<xml"},
        {{"", "The server answered with status 500.", FailureKind::HttpStatus, 500}, "", ""},
        {{"", kCancelledText, FailureKind::Cancelled}, kCancelledText, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer.failure);
        ui_.messages.clear();
        script_.answers.push_back(c.answer);
        EXPECT_EQ(w->HttpsGet("https://127.0.0.1:18443/x?token=SECRET"), c.result);
        if (c.message.empty()) {
            EXPECT_TRUE(ui_.messages.empty());
        } else {
            EXPECT_EQ(ui_.messages, std::vector<std::string>{c.message});
        }
        EXPECT_EQ(w->TabFailure(w->Tabs()->currentIndex()), "");
    }
}

TEST_F(QuietFailuresTest, HideProgramNeedsATray) {
    for (const bool tray : {false, true}) {
        SCOPED_TRACE(tray);
        auto w = MakeWindow(tray);
        w->show();
        QAction* hide = w->findChild<QAction*>("actHide");
        ASSERT_NE(hide, nullptr);
        EXPECT_EQ(hide->isEnabled(), tray);
        EXPECT_EQ(hide->toolTip().toStdString(),
                  tray ? hide->text().remove('&').toStdString() : kNoTrayReason);
        EXPECT_TRUE(w->ProgramMenu()->toolTipsVisible());
        // Asked anyway (the command stays reachable from code): never hidden without a tray.
        w->ToggleShown();
        QApplication::processEvents();
        EXPECT_EQ(w->IsHiddenInTray(), tray);
        EXPECT_EQ(w->isVisible(), !tray);
        EXPECT_FALSE(!tray && w->isMinimized());
    }
}

TEST_F(QuietFailuresTest, DisabledWindowCommandsSayWhy) {
    WriteSettings("Enable_VM=0\n");
    auto w = MakeWindow();
    emit w->TabMenu()->aboutToShow();
    QAction* close = w->findChild<QAction*>("actCloseTab");
    EXPECT_FALSE(close->isEnabled());
    EXPECT_EQ(close->toolTip().toStdString(), kFixedTabReason);
    w->OpenNewTab();
    w->Tabs()->setCurrentIndex(w->Tabs()->count() - 1);
    emit w->TabMenu()->aboutToShow();
    EXPECT_TRUE(close->isEnabled());
    emit w->ReferenceMenu()->aboutToShow();
    QAction* vm = w->findChild<QAction*>("actRefVMMemo");
    ASSERT_NE(vm, nullptr);
    EXPECT_FALSE(vm->isEnabled());
    EXPECT_EQ(vm->toolTip().toStdString(), std::string("V-Money") + kSystemOffReason);
    EXPECT_TRUE(w->findChild<QAction*>("actRefLRMemo")->isEnabled());
}

TEST_F(QuietFailuresTest, AnAccountWithAnAmpersandIsNoShortcutInTheCaption) {
    auto w = MakeWindow();
    w->SetTabCaption("U1&2");
    EXPECT_EQ(Caption(*w, 0), "[U1&&2]");
    EXPECT_TRUE(QKeySequence::mnemonic(w->Tabs()->tabText(0)).isEmpty());
    EXPECT_EQ(w->Tabs()->tabBar()->accessibleTabName(0).toStdString(),
              "Liberty Reserve [U1&2]");
}

}  // namespace
}  // namespace pw::test
