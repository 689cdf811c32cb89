#pragma once
// Journeys a user takes, end to end: the program's own main window with its real tabs,
// payment dialog and mass-payment window, offscreen, on a data folder of its own, talking to
// the sandbox over the real transport. Prompts and message boxes are answered by the scripted
// modal UI, the clock is the hand-moved one (set to the real time, which the sandbox's tokens
// need); the windows the program opens with exec() are filled as a user would (WhenShown).
#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "accounts/gui/account_tab.h"
#include "app/gui/main_window.h"
#include "app/purseward_app.h"
#include "net/curl_transport.h"
#include "settings/settings_store.h"
#include "support/qt_support.h"
#include "support/sandbox.h"
#include "ui/base/fake_seams.h"

namespace pw::test {

// The sandbox's demo login of a system (0..5, in tab order): account, API name / PIN / Store
// ID, secret.
struct DemoLogin {
    const char *account, *apiName, *secret;
};
extern const DemoLogin kDemo[6];
// The systems with payments.
inline constexpr int kFullSystems[] = {0, 1, 2, 3};

class Journey : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Starts the program on the data folder as the desktop does: on the first start the
    // first-run settings with all six systems on and every host at the sandbox; then the
    // password check (answered from ui_.passwords) and the main window, shown.
    void Start();
    // Exit, answered Yes: the tabs save their state; then the program is gone.
    void Stop();

    CAccountTab& Tab(int system) const;
    // The tab made current and the demo login typed into it, then Login clicked.
    void Login(int system);
    void Login(CAccountTab& tab, const DemoLogin& login);
    // "Make Payment ..." on balance row 0 of the tab, the dialog filled by keys and OK
    // clicked; inMinutes >= 0 schedules it that many minutes from now.
    void Pay(CAccountTab& tab, const std::string& to, const std::string& amount,
             const std::string& memo, int inMinutes = -1);
    // Clicks "Get History" and waits for it.
    void FetchHistory(CAccountTab& tab);

    // A request of the test itself to the sandbox (control routes, a payee's transfer).
    std::string Sandbox(const std::string& pathAndQuery, bool https = false);
    long Booked(const std::string& system);
    // /sandbox/fault for the system's next count transfers.
    void Arm(const std::string& system, const std::string& mode, int count = 1, int ms = 1000);

    // The value cell of a balance row as whole millionths.
    static long long Micro(const CAccountTab& tab, int row = 0);
    // The messages shown since the last call, joined by "|".
    std::string TakeMessages();
    void Screenshot(const char* journey);

    static inline pw::test::Sandbox* sandbox_ = nullptr;
    QTemporaryDir tmp_;
    std::string base_;
    QString oldCwd_;
    ScriptedUi ui_;
    ManualClock clock_{0};
    std::unique_ptr<CPursewardApp> app_;
    std::unique_ptr<CPursewardDlg> window_;
    std::vector<QString> balloons_, sounds_;

private:
    std::unique_ptr<SettingsStore> controlSettings_;
    TrafficCounter controlCounter_;
    std::unique_ptr<CurlTransport> control_;
    std::size_t messagesTaken_ = 0;
};

}  // namespace pw::test
