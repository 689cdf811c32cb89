#pragma once
// The account tab, written once for every payment system: login fields, balance and history
// tables, the history filter, auto-refresh and the schedule check timers, and on full tabs the
// context menus. The system's client supplies requests, answers and traits; a system's tab
// derives from this class and overrides the few steps that differ.
#include <memory>
#include <string>

#include "accounts/account_client.h"
#include "accounts/gui/account_tab_api.h"
#include "accounts/gui/tab_menus.h"
#include "accounts/tab_logic.h"
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

class BalanceModel;
class HistoryModel;
class ModalUi;

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
    void UpdateFilterControls();
    void ChangeAccount();
    void SetAutoRefresh();
    void CopyAccountNumber();
    void CopyRecord();
    void GetHistoryForAccount();

    // Context menus: the items for the current state, and running a chosen command.
    std::vector<MenuItem> BalanceMenu() const;
    std::vector<MenuItem> HistoryMenu() const;
    void RunCommand(TabCommand command);
    // What a right-click or a double-click on a table records (-1: none).
    void SelectBalanceRow(int row) { selectedBalanceRow_ = row; }
    void SelectHistoryRow(int row) { selectedHistoryRow_ = row; }

    // State, for the main window, the payment parts and tests.
    const SystemTraits& Traits() const { return traits_; }
    AccountClient& Client() { return *client_; }
    bool IsLoggedIn() const { return loggedIn_; }
    const std::string& AccountTag() const { return tag_; }
    const TextList& BalanceRows() const { return balance_.rows; }
    const TextList& HistoryRows() const { return history_.rows; }
    const TextList& SavedAccounts() const { return savedAccounts_; }
    // The saved-account list replaces the rows (written with the next SaveState).
    void SetSavedAccounts(const TextList& rows) { savedAccounts_ = rows; }
    const TextList& ScheduleList() const { return schedule_; }
    const TextList& DueTimeList() const { return dueTimes_; }
    int AutoRefreshMinutes() const { return autoRefreshMinutes_; }
    const Clock::Timer& RefreshTimer() const { return *timer1_; }
    const Clock::Timer& ScheduleTimer() const { return *timer2_; }
    std::string TotalsText() const;
    LoginFields CurrentLogin() const { return TakeLoginFields(); }
    HistoryFilter CurrentFilter() const { return TakeFilter(); }

protected:
    // Hooks of the systems.
    // Extra login fields after the standard ones (row: the next free grid row).
    virtual void AddExtraLoginFields(QGridLayout* grid, int row);
    virtual LoginFields TakeLoginFields() const;
    virtual void ShowLoginFields(const LoginFields& login);
    // The first login problem as a message text, or empty.
    virtual std::string LoginMessage(const LoginFields& login) const;
    virtual FilterCheck CheckFilter(HistoryFilter& filter) const;
    virtual RecordLayout HistoryRecordLayout() const { return {}; }
    // Fills the login fields from a saved-account row (split at "~").
    virtual void FillFromSavedRow(const TextList& fields);
    // Extra settings of a system, read after and written after the common ones.
    virtual void LoadExtraState() {}
    virtual void SaveExtraState() {}
    // The LR tab applies UpdateFilterControls at every click on "Get last".
    virtual bool UpdateOnGetLastClick() const { return true; }
    // Batch numbers are digits on most systems.
    virtual bool BatchIsNumber() const { return true; }
    // Opens the saved account list on this tab's rows (full tabs of LR, PM, VM, EG); a row
    // chosen there fills the login fields by its save flag.
    virtual void ChooseSavedAccount();
    // Later issues: payments, export, record view, schedule check.
    virtual void MakePayment() {}
    virtual void MakeMassPayment() {}
    virtual void ExportHistory() {}
    virtual void OpenHistoryRecord(int /*row*/) {}
    virtual void ScheduleCheck() {}

    CPursewardApp& App() { return app_; }
    TabHost& Host() { return host_; }
    ModalUi& Ui();
    const keys::SystemKeys& Keys() const { return keys_; }

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void BuildTables();
    void SetLoginControlsEnabled(bool enabled);
    void EnterLoggedIn(const std::string& account);
    void LoadScheduleFile();
    void StartRefreshTimer();
    void SetBalanceRows(const TextList& rows);
    void SetHistoryRows(const TextList& rows);
    HistoryFilter TakeFilter() const;
    void ShowFilter(const HistoryFilter& filter);
    // Checks the login fields and the account; shows the message and returns false.
    bool CheckLogin(const LoginFields& login);
    void ShowErrors();
    void OnRefreshTimer();
    void BalanceContextMenu(const QPoint& pos);
    void HistoryContextMenu(const QPoint& pos);
    std::vector<std::string> SavedAccountKeys() const;
    int SettingsInt(const char* key, int def) const;
    std::string SettingsString(const char* key, const std::string& def) const;
    void WriteSettingsInt(const char* key, int value);
    void WriteSettingsString(const char* key, const std::string& value);
    Date Today() const;

    std::unique_ptr<AccountClient> client_;
    CPursewardApp& app_;
    TabHost& host_;
    const SystemTraits& traits_;
    const keys::SystemKeys& keys_;

    // Controls.
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
    BalanceModel* balanceModel_ = nullptr;
    HistoryModel* historyModel_ = nullptr;

    // State.
    TextList savedAccounts_;
    ListTable balance_, history_;
    int autoRefreshMinutes_ = 0;
    int selectedBalanceRow_ = -1, selectedHistoryRow_ = -1;
    bool loggedIn_ = false;
    int busy_ = 0;  // requests running (a message box of one may be open)
    std::string tag_;
    TextList schedule_, dueTimes_;
    std::unique_ptr<Clock::Timer> timer1_, timer2_;
};

}  // namespace pw
