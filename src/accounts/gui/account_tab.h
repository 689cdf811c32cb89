#pragma once
// The account tab, written once for every payment system: login fields, balance and history
// tables, the history filter, auto-refresh and the schedule check timers, and on full tabs the
// context menus. The system's client supplies requests, answers and traits; a system's tab
// derives from this class and overrides the few steps that differ.
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "accounts/account_client.h"
#include "accounts/account_schedule.h"
#include "accounts/gui/account_tab_api.h"
#include "accounts/gui/tab_menus.h"
#include "accounts/tab_logic.h"
#include "accounts/transfer_request.h"
#include "settings/keys.h"
#include "store/table_file.h"
#include "ui/base/clock.h"

class QCheckBox;
class QDateEdit;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QTableView;
class QToolButton;

namespace pw {

class ModalUi;
class RowTableModel;

// Features of a full tab that later parts build. Until a handler is supplied (SetFeature) the
// menu items and buttons of a feature are disabled.
// ScheduleCheck runs at each tick of the schedule timer (every 60 s while logged in).
enum class TabFeature { SavedAccounts, Payment, MassPayment, Export, RecordView, ScheduleCheck };

// Fixed points of Login, RefreshBalance, GetHistory and of entering the logged-in state where a
// system may act (fetch more, write trace lines). At the points marked "may stop" a false
// from Step ends the operation there; elsewhere its value is not used.
enum class TabStep {
    LoginStart,       // Login: pressed, nothing checked yet
    LoginChecked,     // Login: the fields passed the checks, the state is not saved; may stop
    BeforeBalance,    // Login and RefreshBalance: before the balance request; may stop
    BalanceAnswered,  // the balance answer is parsed, not yet shown; may stop
    BalanceRows,      // Login: balance rows came back, before they are shown
    LoggedInTimers,   // entering the logged-in state: schedule file loaded, timers next
    LoggedInBanner,   // entering the logged-in state: the banner next
    BalanceShown,     // Login: logged in and the balance table refilled
    HistoryChecked,   // GetHistory: login and filter passed, the state not saved; may stop
    BeforeHistory,    // before the first history request; may stop
    HistoryAnswered,  // every page is parsed, not yet shown; may stop
};

class CAccountTab : public AccountTabWidget {
    Q_OBJECT
public:
    CAccountTab(std::unique_ptr<AccountClient> client, CPursewardApp& app, TabHost& host,
                QWidget* parent = nullptr);
    ~CAccountTab() override;

    // Builds the controls, loads the state and the column widths. A derived tab calls it at
    // the end of its constructor, so that its overrides take part.
    void Init();

    // Operations of the tab.
    void LoadState();
    void SaveState() override;
    void Login();
    void RefreshBalance();
    void GetHistory();
    // Enables the filter options for the ticked ones ("Get last" disables the others).
    virtual void UpdateFilterControls();
    // Back to the login fields: empties the tables, stops the timers.
    virtual void ChangeAccount();
    void SetAutoRefresh();
    void CopyAccountNumber();
    void CopyRecord();
    // Fills the counterpart filter from the selected history row and fetches its history.
    virtual void GetHistoryForAccount();

    // Context menus: the items for the current state, and running a chosen command.
    virtual std::vector<MenuItem> BalanceMenu() const;
    virtual std::vector<MenuItem> HistoryMenu() const;
    void RunCommand(TabCommand command);

    // A later part enables a feature by supplying its handler (nullptr disables it again).
    // The handlers read SelectedBalanceRow / SelectedHistoryRow.
    void SetFeature(TabFeature feature, std::function<void()> handler);
    virtual bool HasFeature(TabFeature feature) const;
    // Why the commands of a feature are disabled now, shown as their tool tip; "" when they
    // are enabled. Every feature needs its handler; payments need a selected balance row
    // (which needs a login); the saved-account chooser works only while logged out.
    virtual std::string FeatureOffReason(TabFeature feature) const;
    int SelectedBalanceRow() const { return selectedBalanceRow_; }
    int SelectedHistoryRow() const { return selectedHistoryRow_; }
    // The record text of the selected history row in the system's format, or "" for none.
    std::string SelectedRecordText() const;
    // What a right-click or a double-click on a table records (-1: none).
    void SelectBalanceRow(int row) { selectedBalanceRow_ = row; }
    void SelectHistoryRow(int row) { selectedHistoryRow_ = row; }

    // State, for the main window, the payment parts and tests.
    const SystemTraits& Traits() const { return traits_; }
    AccountClient& Client() { return *client_; }
    bool IsLoggedIn() const { return loggedIn_; }
    const std::string& AccountTag() const { return tag_; }
    const RowList& BalanceRows() const { return balance_.rows; }
    const RowList& HistoryRows() const { return history_.rows; }
    const TextList& SavedAccounts() const { return savedAccounts_; }
    // The saved-account list replaces the rows (written with the next SaveState).
    // The rows replaced are wiped (they hold the saved passwords).
    void SetSavedAccounts(const TextList& rows) {
        WipeTexts(savedAccounts_);
        savedAccounts_ = rows;
    }
    // Fills the login fields from saved row index by its save flag (nothing for no row).
    void FillFromSavedAccount(int index);
    // The name of an account through the system's lookup, with the tab's login fields; ""
    // when the system has none or the account is empty.
    std::string LookUpAccountName(const std::string& account);
    const TextList& ScheduleList() const { return schedule_->records; }
    const TextList& DueTimeList() const { return schedule_->dueTimes; }
    // The schedule of the logged-in account, shared with every tab logged in to it; before
    // login one of the tab's own (empty, with the tab's busy flag).
    AccountSchedule& Schedule() { return *schedule_; }
    std::shared_ptr<AccountSchedule> ScheduleHandle() const { return schedule_; }
    // Stores the schedule list in the account's schedule file. Refused, with a message naming
    // the file, when that file could not be read whole: saving would lose what it holds.
    bool SaveScheduleFile();
    bool ScheduleUnreadable() const { return schedule_->unreadable; }
    // The one transfer path of every system: the client's request for the first record of
    // queue (PaymentCheck runs there), sent through the main window with a wait that says
    // money is moving, its answer parsed. Shows nothing; the caller reports.
    TransferResult SendTransferRequest(const TextList& queue);
    int AutoRefreshMinutes() const { return autoRefreshMinutes_; }
    const Clock::Timer& RefreshTimer() const { return *timer1_; }
    const Clock::Timer& ScheduleTimer() const { return *timer2_; }
    std::string TotalsText() const;
    LoginFields CurrentLogin() const { return TakeLoginFields(); }
    HistoryFilter CurrentFilter() const { return TakeFilter(); }

protected:
    // ---- Steps a system may extend ----
    // Called at each fixed point with the login fields; false stops the operation there
    // (what was shown stays). Default: nothing, true.
    virtual bool Step(TabStep step, const LoginFields& login);
    // Sends the balance request and parses its answer.
    virtual void FetchBalance(const LoginFields& login);
    // Sends the history request and the further pages and parses the answers.
    virtual void FetchHistory(const LoginFields& login, const HistoryFilter& filter);
    // Shows the parsed history answer: the rows, or empties the table when there are no rows
    // and no errors. A system whose history request changes no table overrides it.
    virtual void ShowHistoryAnswer(const ParsedAnswer& answer);
    // A request through the main window with the wait cursor ("" when it failed).
    std::string Request(const SecureString& url, bool https = true);
    // Request, then the client parses the answer as kind.
    void RequestAndParse(RequestKind kind, const SecureString& url, bool clear);
    void SetBalanceRows(const RowList& rows);
    void SetHistoryRows(const RowList& rows);
    void EnterLoggedIn(const std::string& account);
    HistoryFilter TakeFilter() const;
    void ShowFilter(const HistoryFilter& filter);
    Date Today() const;

    // ---- Fields ----
    // Extra login fields after the standard ones (row: the next free grid row).
    virtual void AddExtraLoginFields(QGridLayout* grid, int row);
    virtual LoginFields TakeLoginFields() const;
    virtual void ShowLoginFields(const LoginFields& login);
    // The first login problem as a message text, or empty.
    virtual std::string LoginMessage(const LoginFields& login) const;
    // Corrects the filter (with or without a message) or stops the request. A corrected
    // filter is shown before the request.
    virtual FilterCheck CheckFilter(HistoryFilter& filter) const;
    // Extra filter options below the standard ones (row: the next free grid row).
    virtual void AddExtraFilterControls(QGridLayout* grid, int row);
    // Fills the login fields from a saved-account row (split at "~").
    virtual void FillFromSavedRow(const TextList& fields);
    // Extra settings of a system, read after and written after the common ones.
    virtual void LoadExtraState() {}
    virtual void SaveExtraState() {}
    // The LR tab applies UpdateFilterControls at every click on "Get last".
    virtual bool UpdateOnGetLastClick() const { return true; }
    // GetHistory applies UpdateFilterControls before its request (GDP: only at start).
    virtual bool UpdateFiltersOnHistory() const { return true; }
    // Batch numbers are digits on most systems.
    virtual bool BatchIsNumber() const { return true; }
    // The CSV export and the record dialog of a history row (features of the full tabs).
    void ExportHistory();
    void OpenHistoryRecord(int row);
    // The schedule check of the second timer: the ScheduleCheck feature, when supplied.
    virtual void ScheduleCheck() { RunFeature(TabFeature::ScheduleCheck); }
    // Runs the handler of a feature; nothing when none is supplied.
    void RunFeature(TabFeature feature);

    CPursewardApp& App() { return app_; }
    TabHost& Host() { return host_; }
    ModalUi& Ui();
    const keys::SystemKeys& Keys() const { return keys_; }
    // Values of the tab's section; a key the system does not have reads as def and is not
    // written. Written inside SaveState, they are part of its one atomic save.
    int SettingsInt(const char* key, int def) const;
    std::string SettingsString(const char* key, const std::string& def) const;
    void WriteSettingsInt(const char* key, int value);
    void WriteSettingsString(const char* key, const std::string& value);

    bool eventFilter(QObject* watched, QEvent* event) override;

    // Controls, for the overrides of the systems.
    QLineEdit* accountEdit_ = nullptr;
    QLineEdit* apiNameEdit_ = nullptr;
    QLineEdit* secretEdit_ = nullptr;
    QPushButton* loginButton_ = nullptr;
    QToolButton* chooseButton_ = nullptr;
    QTableView* balanceView_ = nullptr;
    QTableView* historyView_ = nullptr;
    QCheckBox* getLastCheck_ = nullptr;
    QLineEdit* countEdit_ = nullptr;
    QCheckBox* fromToCheck_ = nullptr;
    QDateEdit* fromDate_ = nullptr;
    QDateEdit* toDate_ = nullptr;
    QCheckBox* accountCheck_ = nullptr;
    QLineEdit* counterpartEdit_ = nullptr;
    QCheckBox* batchCheck_ = nullptr;
    QLineEdit* batchEdit_ = nullptr;
    QPushButton* historyButton_ = nullptr;
    QLineEdit* totalsEdit_ = nullptr;
    RowTableModel* balanceModel_ = nullptr;
    RowTableModel* historyModel_ = nullptr;

private:
    void BuildControls();
    void BuildTables();
    void SetLoginControlsEnabled(bool enabled);
    // The chooser button: enabled, and its tool tip, by FeatureOffReason.
    void UpdateChooseButton();
    void LoadScheduleFile();
    void StartRefreshTimer();
    // Checks the login fields and the account; shows the message and returns false.
    bool CheckLogin(const LoginFields& login);
    void ShowErrors();
    // Tells the user when the balance answer was neither balances nor errors.
    void ReportUnreadableBalance(const ParsedAnswer& answer);
    void OnRefreshTimer();
    void BalanceContextMenu(const QPoint& pos);
    void HistoryContextMenu(const QPoint& pos);
    std::vector<std::string> SavedAccountKeys() const;
    // While the state is saved, the settings writes collect here and are stored as one.
    class SettingsBatch* saving_ = nullptr;

    std::unique_ptr<AccountClient> client_;
    CPursewardApp& app_;
    TabHost& host_;
    const SystemTraits& traits_;
    const keys::SystemKeys& keys_;

    // State.
    TextList savedAccounts_;
    ListTable balance_, history_;
    int autoRefreshMinutes_ = 0;
    int selectedBalanceRow_ = -1, selectedHistoryRow_ = -1;
    bool loggedIn_ = false;
    int busy_ = 0;  // requests running (a message box of one may be open)
    bool lastAnswerEmpty_ = true;  // the body of the last Request
    std::string tag_;
    std::shared_ptr<AccountSchedule> schedule_ = std::make_shared<AccountSchedule>();
    std::unique_ptr<Clock::Timer> timer1_, timer2_;
    std::map<TabFeature, std::function<void()>> features_;
};

}  // namespace pw
