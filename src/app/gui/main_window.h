#pragma once
// The main window: one account tab per enabled payment system, the status line (clock,
// current IP, traffic), the menus, the tray icon, and the services the tabs call back into.
#include <QCoreApplication>
#include <QIcon>
#include <QMainWindow>
#include <QUrl>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "accounts/tab_host.h"
#include "net/curl_transport.h"
#include "store/text_list.h"
#include "ui/base/clock.h"

class QAction;
class QLineEdit;
class QMenu;
class QMenuBar;
class QSystemTrayIcon;
class QTabWidget;

namespace pw {

class AccountTabWidget;
class BannerService;
class CBannerView;
class CPursewardApp;
class RequestProgress;
class RequestWaiter;
class SoundPlayer;

// The window's ties to the desktop, replaceable in tests. Empty members get the real ones.
struct MainWindowOptions {
    // Whether a tray icon can be created (QSystemTrayIcon::isSystemTrayAvailable).
    std::function<bool()> trayAvailable;
    // The transport behind HttpsGet/HttpGet (CurlTransport on the app's settings).
    std::function<std::unique_ptr<Transport>(TrafficCounter&, TransportHooks)> makeTransport;
    // Shows a tray balloon (the tray icon's showMessage, information icon, 30 s).
    std::function<void(const QString& title, const QString& text)> showBalloon;
    // Plays a sound file without waiting (QSoundEffect); a missing file is nothing.
    std::function<void(const QString& path)> playSound;
    // Opens an address in the browser (QDesktopServices::openUrl).
    std::function<void(const QUrl&)> openUrl;
    // Builds the page of a system's tab (CreateAccountTab).
    std::function<AccountTabWidget*(int systemIndex, CPursewardApp&, TabHost&, QWidget* parent)>
        createTab;
};

// Why menu items of the window are disabled (their tool tips).
inline constexpr char kNoTrayReason[] = QT_TRANSLATE_NOOP(
    "Purseward",
    "This desktop has no notification area (tray): a hidden window could not be shown again.");
inline constexpr char kFixedTabReason[] =
    QT_TRANSLATE_NOOP("Purseward", "Only tabs opened with \"Open new Tab\" can be closed.");
inline constexpr char kSystemOffReason[] =
    QT_TRANSLATE_NOOP("Purseward", " is switched off in Settings.");

// Added to the caption of a tab whose background request failed: "[U1234567] — offline".
inline constexpr char kOfflineMark[] = QT_TRANSLATE_NOOP("Purseward", "— offline");

// Group of the window placement in the per-user profile.
inline constexpr const char kMainWindowPlacement[] = "PursewardWnd";

class CPursewardDlg : public QMainWindow, public TabHost {
    Q_OBJECT
public:
    explicit CPursewardDlg(CPursewardApp& app, MainWindowOptions options = {},
                           QWidget* parent = nullptr);
    ~CPursewardDlg() override;

    // Services of the account tabs. HttpGet, ShowCurrentIP and NotifyUser may be called from
    // a worker thread; the widgets are then updated on the window's thread.
    std::string HttpsGet(const SecureString& url) override;
    std::string HttpGet(const SecureString& url) override;
    // Through the same wait as HttpsGet; tells the user nothing.
    Exchanged Exchange(const SecureString& url, bool secure) override;
    void NotifyUser(const std::string& text) override;
    void SetTabCaption(const std::string& text) override;
    std::string MakeTabTableName(const std::string& suffix) override;
    void ShowCurrentIP(const std::string& text) override;
    void ShowBanner() override;
    void SetRequestTopic(const RequestTopic& topic) override { requestTopic_ = topic; }
    bool RequestWaiting() const override;
    const void* SetBackgroundOrigin(const void* origin) override;

    // Commands.
    void ToggleShown();     // "Hide Program", "Show/Hide Program", tray double-click
    void OpenNewTab();      // "Open new Tab"
    void CloseCurrentTab(); // "Close current Tab"
    void OpenAbout();       // "About..."
    void OpenSettings();    // "Settings"
    // "Reference Books": the payee or memo list of a system (0..3) as manager.
    void OpenReferenceBook(int systemIndex, bool memo);
    // "Show Shedule Payment": the scheduled payments of every logged-in tab.
    void OpenScheduleView();
    // The account tags of the tabs that have logged in, in tab order.
    TextList AccountTags() const;
    // A later start of the program: show, restore and raise the window and its active dialog.
    void BringToFront();

    // State, for the shell and the tests.
    const std::string& ProgramDir() const { return programDir_; }
    int FixedTabCount() const { return fixedTabCount_; }
    QTabWidget* Tabs() const { return tabs_; }
    std::string TabPrefix(int index) const;
    std::string TabTableName(int index) const;
    AccountTabWidget* FirstTab(int systemIndex) const;
    bool IsHiddenInTray() const { return hiddenInTray_; }
    QSystemTrayIcon* TrayIcon() const { return tray_; }
    QLineEdit* ClockField() const { return clockField_; }
    QLineEdit* IpField() const { return ipField_; }
    QLineEdit* TrafficField() const { return trafficField_; }
    // The failures of requests no one started by hand, one note per tab ("" when none).
    QLineEdit* FailureField() const { return failureField_; }
    std::string TabFailure(int index) const;
    QMenu* ProgramMenu() const { return programMenu_; }
    QMenu* ReferenceMenu() const { return referenceMenu_; }
    QMenu* TabMenu() const { return tabMenu_; }
    QMenu* IconMenu() const { return iconMenu_; }
    QWidget* BannerArea() const { return bannerArea_; }
    CBannerView* BannerView() const { return bannerView_; }
    BannerService* Banner() const { return banner_.get(); }
    TrafficCounter& Traffic() { return traffic_; }
    RequestProgress* Progress() const { return progress_; }

signals:
    // The close request was confirmed and everything saved; the window is closing.
    void Closed();
    // Hooks for windows that come later.
    void ScheduleRequested();
    void ReferenceBookRequested(int systemIndex, bool memo);
    void BannerRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TabEntry {
        std::string prefix;
        std::string tableName;
        std::string account;  // as SetTabCaption last showed it
        std::string failure;  // the note of a failed background request, until a success
    };

    void BuildMenus();
    void BuildTray();
    void AddSystemTab(int systemIndex);
    void KeepStatusLineLast();
    // The opening size: the stored placement, the window's own size and the size at which
    // every tab header, column title and status text can be read, whichever is larger.
    QSize ReadableSize();
    void RefreshClock();
    void HideToTray();
    void RestoreFromTray();
    void UpdateTabMenu();
    void UpdateReferenceMenu();
    // Opens "TabMenu" for a press at pos of the tab bar; false when it is not across the
    // current tab's header.
    bool ShowTabMenu(const QPoint& pos, bool keyboard);
    void OnGuiThread(std::function<void()> fn);
    std::string Request(const SecureString& url, bool secure);
    // A request of the window's thread through the quiet transport call: what the user is
    // told, or what is noted, depends on who started it.
    std::string SecureRequest(const SecureString& url);
    // Marks the asking tab after a failed background request, clears its mark after a
    // success (the asking tab: the background origin, else the current tab).
    void NoteOutcome(const Exchanged& result, const SecureString& url);
    static bool IsParseError(const Exchanged& result);
    void TellUser(const std::string& text);
    int IndexOfPage(const void* page) const;
    void ShowTabCaption(int index);
    // Shows the failure notes of the tabs in the status line and the tray tool tip.
    void ShowFailures();
    QString SoundPath() const;

    CPursewardApp& app_;
    MainWindowOptions options_;
    std::string programDir_;
    TrafficCounter traffic_;  // its lock also guards the three status texts
    std::string clockText_, ipText_;
    std::vector<TabEntry> tabEntries_;
    int fixedTabCount_ = 0;
    std::array<AccountTabWidget*, 6> firstTabs_{};
    std::unique_ptr<Transport> transport_;
    RequestTopic requestTopic_;
    const void* backgroundOrigin_ = nullptr;  // the tab page whose timer sends the requests
    RequestProgress* progress_ = nullptr;
    RequestWaiter* waiter_ = nullptr;
    std::unique_ptr<Clock::Timer> clockTimer_;
    std::unique_ptr<SoundPlayer> sound_;
    std::atomic<bool> hiddenInTray_{false};
    bool shownOnce_ = false;
    bool closing_ = false;

    QIcon icon_;
    QMenuBar* menuBar_ = nullptr;
    QMenu* programMenu_ = nullptr;
    QMenu* referenceMenu_ = nullptr;
    QMenu* tabMenu_ = nullptr;
    QMenu* iconMenu_ = nullptr;
    std::vector<std::pair<QAction*, int>> referenceActions_;  // action, system index
    QAction* closeTabAction_ = nullptr;
    QWidget* bannerArea_ = nullptr;
    CBannerView* bannerView_ = nullptr;
    std::unique_ptr<BannerService> banner_;  // stopped first: its worker calls HttpGet
    QTabWidget* tabs_ = nullptr;
    QLineEdit* clockField_ = nullptr;
    QLineEdit* ipField_ = nullptr;
    QLineEdit* trafficField_ = nullptr;
    QLineEdit* failureField_ = nullptr;
    QSystemTrayIcon* tray_ = nullptr;
};

}  // namespace pw
