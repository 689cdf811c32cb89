#include "accounts/gui/account_tab.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <algorithm>
#include <climits>

#include "accounts/gui/account_tab_util.h"
#include "accounts/gui/history_view.h"
#include "accounts/history_export.h"
#include "accounts/gui/table_models.h"
#include "accounts/gui/wait_cursor.h"
#include "accounts/tab_host.h"
#include "app/purseward_app.h"
#include "store/schedule_file.h"
#include "ui/base/strings.h"

namespace pw {

using namespace tabutil;

namespace {
// A garbage pager must not turn into an endless series of requests.
constexpr std::size_t kMaxFurtherPages = 500;
}  // namespace


CAccountTab::CAccountTab(std::unique_ptr<AccountClient> client, CPursewardApp& app,
                         TabHost& host, QWidget* parent)
    : AccountTabWidget(client->Traits().systemIndex, parent),
      client_(std::move(client)),
      app_(app),
      host_(host),
      traits_(client_->Traits()),
      keys_(keys::KeysOf(traits_.systemIndex)) {
    timer1_ = app_.GetClock().CreateTimer([this] { OnRefreshTimer(); });
    // The schedule check is not held up by an open message box, but it sends nothing while
    // a request waits for its answer.
    timer2_ = app_.GetClock().CreateTimer([this] {
        if (!host_.RequestWaiting()) ScheduleCheck();
    });
}

CAccountTab::~CAccountTab() = default;

ModalUi& CAccountTab::Ui() { return app_.Ui(); }

void CAccountTab::Init() {
    setAccessibleName(Q(traits_.systemName));
    BuildControls();
    LoadState();
    BuildTables();
    SetHistoryRows({});
}

// ---- Requests ----------------------------------------------------------------------------

void CAccountTab::ShowErrors() { Ui().Message(client_->ErrorReport()); }

void CAccountTab::Login() {
    const LoginFields login = TakeLoginFields();
    if (!CheckLogin(login)) return;
    SaveState();
    ++busy_;
    {
        RequestScope wait(host_, traits_.systemName);
        client_->Parse(host_.HttpsGet(client_->BalanceUrl(login, app_.GetClock().Now())), true);
    }
    const ParsedAnswer answer = client_->Answer();
    if (!answer.errors.empty()) {
        SetLoginControlsEnabled(true);
        ShowErrors();
    }
    if (!answer.balanceRows.empty()) {
        SetBalanceRows(answer.balanceRows);
        EnterLoggedIn(login.account);
    }
    --busy_;
}

void CAccountTab::RefreshBalance() {
    SaveState();
    const LoginFields login = TakeLoginFields();
    ++busy_;
    {
        RequestScope wait(host_, traits_.systemName);
        client_->Parse(host_.HttpsGet(client_->BalanceUrl(login, app_.GetClock().Now())), true);
    }
    const ParsedAnswer answer = client_->Answer();
    if (!answer.errors.empty()) ShowErrors();
    if (!answer.balanceRows.empty()) {
        const ChangeNotice notice =
            BuildChangeNotice(balance_.rows, answer.balanceRows, traits_.prefix, login.account);
        if (!notice.text.empty()) host_.NotifyUser(notice.text);
        SetBalanceRows(answer.balanceRows);
        if (notice.changed) GetHistory();
    }
    --busy_;
}

void CAccountTab::GetHistory() {
    const LoginFields login = TakeLoginFields();
    if (!CheckLogin(login)) return;
    HistoryFilter filter = TakeFilter();
    const FilterCheck check = CheckFilter(filter);
    for (int id : check.messages) Ui().Message(Str(id));
    // A count corrected to 50 is shown even when 116 or 117 then stops the request.
    if (!check.messages.empty()) ShowFilter(filter);
    if (check.stop) return;
    UpdateFilterControls();
    filter = TakeFilter();
    SaveState();
    ++busy_;
    {
        RequestScope wait(host_, traits_.systemName);
        Clock& clock = app_.GetClock();
        client_->Parse(host_.HttpsGet(client_->HistoryUrl(login, filter, 0, clock.Now())), true);
        if (!filter.getLast) {
            const std::vector<int> pages = client_->FurtherPages(filter);
            for (std::size_t i = 0; i < pages.size() && i < kMaxFurtherPages; ++i) {
                const std::string body =
                    host_.HttpsGet(client_->HistoryUrl(login, filter, pages[i], clock.Now()));
                // A failed page ends the series; the user has been told once.
                if (body.empty()) break;
                client_->Parse(body, false);
            }
        }
    }
    const ParsedAnswer answer = client_->Answer();
    if (!answer.errors.empty()) {
        if (!loggedIn_) SetLoginControlsEnabled(true);
        ShowErrors();
    }
    if (!answer.historyRows.empty()) {
        SetHistoryRows(answer.historyRows);
        if (!loggedIn_) EnterLoggedIn(login.account);
    } else if (answer.errors.empty()) {
        SetHistoryRows({});
    }
    --busy_;
}

void CAccountTab::EnterLoggedIn(const std::string& account) {
    SetLoginControlsEnabled(false);
    loggedIn_ = true;
    host_.SetTabCaption(account);
    tag_ = host_.MakeTabTableName(account);
    LoadScheduleFile();
    if (traits_.full) {
        if (autoRefreshMinutes_ > 0) StartRefreshTimer();
        timer2_->Start(60000);
    }
    host_.ShowBanner();
}

void CAccountTab::LoadScheduleFile() {
    schedule_.clear();
    dueTimes_.clear();
    if (tag_.empty()) return;
    ScheduleLoad load = LoadSchedule(app_.ProgramDir(), tag_, traits_.scheduleFieldCount,
                                     traits_.scheduleDueField);
    schedule_ = std::move(load.records);
    dueTimes_ = std::move(load.dueTimes);
}

void CAccountTab::StartRefreshTimer() {
    const long long ms = static_cast<long long>(autoRefreshMinutes_) * 60000LL;
    timer1_->Start(static_cast<int>(std::min<long long>(ms, INT_MAX)));
}

void CAccountTab::OnRefreshTimer() {
    // A refresh whose message box is still open is not run over by the next one, and no
    // request starts while another one waits.
    if (busy_ > 0 || host_.RequestWaiting()) return;
    RefreshBalance();
}

void CAccountTab::SetBalanceRows(const TextList& rows) {
    balance_.rows = rows;
    if (balanceModel_ != nullptr) balanceModel_->SetRows(rows);
}

void CAccountTab::SetHistoryRows(const TextList& rows) {
    history_.rows = rows;
    if (historyModel_ != nullptr) historyModel_->SetRows(rows);
    totalsEdit_->setText(Q(TotalsLine(SumHistory(rows, traits_.historyAmountColumn))));
}

std::string CAccountTab::TotalsText() const { return S(totalsEdit_->text()); }

// ---- Menu operations ---------------------------------------------------------------------

void CAccountTab::ChangeAccount() {
    SetBalanceRows({});
    SetHistoryRows({});
    SetLoginControlsEnabled(true);
    loggedIn_ = false;
    host_.SetTabCaption("");
    tag_ = host_.MakeTabTableName("");
    schedule_.clear();
    dueTimes_.clear();
    timer1_->Stop();
    timer2_->Stop();
}

void CAccountTab::SetAutoRefresh() {
    int shown = autoRefreshMinutes_;
    for (;;) {
        const std::optional<int> minutes =
            Ui().PromptNumber("AutoRefresh balance", "AutoRefresh balance every", shown);
        if (!minutes) return;
        if (*minutes < 0 || *minutes > 1000) {
            Ui().Message(Str(103));
            // The dialog stays open on what was typed (an empty entry comes back as -1).
            if (*minutes >= 0) shown = *minutes;
            continue;
        }
        autoRefreshMinutes_ = *minutes;
        break;
    }
    if (autoRefreshMinutes_ < 1 || !loggedIn_)
        timer1_->Stop();
    else
        StartRefreshTimer();
    WriteSettingsInt(keys_.autoRefresh, autoRefreshMinutes_);
}

void CAccountTab::CopyAccountNumber() {
    QApplication::clipboard()->setText(accountEdit_->text());
}

void CAccountTab::CopyRecord() {
    const std::string* row = historyModel_->RowAt(selectedHistoryRow_);
    if (row == nullptr) return;
    const bool hide = app_.GetInt(keys::kSetting, keys::kHideLastDigit, keys::kDefHideLastDigit) != 0;
    const int count =
        app_.GetInt(keys::kSetting, keys::kHideLastDigitValue, keys::kDefHideLastDigitValue);
    QApplication::clipboard()->setText(Q(RecordText(*row, HistoryRecordLayout(), hide, count)));
}

void CAccountTab::ExportHistory() {
    ExportHistoryTo(Ui(), app_.ProgramDir(), traits_.prefix, Today(), history_.columnNames,
                    history_.rows);
}

void CAccountTab::OpenHistoryRecord(int row) {
    const std::string* text = historyModel_->RowAt(row);
    const RecordDescription* description = RecordDescriptionOf(traits_.systemIndex);
    if (text == nullptr || description == nullptr) return;
    const Masking masking{
        app_.GetInt(keys::kSetting, keys::kHideLastDigit, keys::kDefHideLastDigit) != 0,
        app_.GetInt(keys::kSetting, keys::kHideLastDigitValue, keys::kDefHideLastDigitValue)};
    ShowHistoryRecord(this, Ui(), *description, *text, masking);
}

void CAccountTab::GetHistoryForAccount() {
    const std::string* row = historyModel_->RowAt(selectedHistoryRow_);
    if (row == nullptr) return;
    const TextList f = Split(*row, "~");
    const auto c = static_cast<std::size_t>(traits_.historyCounterpartColumn);
    HistoryFilter filter = TakeFilter();
    filter.getLast = false;
    filter.fromTo = false;
    filter.byBatch = false;
    filter.byAccount = true;
    filter.counterpart = c < f.size() ? FirstWord(f[c]) : std::string();
    ShowFilter(filter);
    UpdateFilterControls();
    GetHistory();
}

std::vector<MenuItem> CAccountTab::BalanceMenu() const {
    BalanceMenuState s;
    s.rowSelected = balanceModel_->RowAt(selectedBalanceRow_) != nullptr;
    s.loggedIn = loggedIn_;
    s.autoRefreshMinutes = autoRefreshMinutes_;
    return BalanceMenuItems(s);
}

std::vector<MenuItem> CAccountTab::HistoryMenu() const {
    const std::string* row = historyModel_->RowAt(selectedHistoryRow_);
    if (row == nullptr) return HistoryMenuItems(nullptr);
    const TextList f = Split(*row, "~");
    const auto c = static_cast<std::size_t>(traits_.historyCounterpartColumn);
    const std::string counterpart = c < f.size() ? f[c] : std::string();
    return HistoryMenuItems(&counterpart);
}

void CAccountTab::RunCommand(TabCommand command) {
    switch (command) {
        case TabCommand::Refresh: RefreshBalance(); break;
        case TabCommand::AutoRefresh: SetAutoRefresh(); break;
        case TabCommand::MakePayment: MakePayment(); break;
        case TabCommand::MakeMassPayment: MakeMassPayment(); break;
        case TabCommand::CopyAccountNumber: CopyAccountNumber(); break;
        case TabCommand::ChangeAccount: ChangeAccount(); break;
        case TabCommand::CopyRecord: CopyRecord(); break;
        case TabCommand::ExportCsv: ExportHistory(); break;
        case TabCommand::HistoryForAccount: GetHistoryForAccount(); break;
        case TabCommand::None: break;
    }
}

void CAccountTab::BalanceContextMenu(const QPoint& pos) {
    selectedBalanceRow_ = balanceView_->indexAt(pos).row();
    std::unique_ptr<QMenu> menu(BuildMenu(BalanceMenu(), this));
    RunCommand(CommandOf(menu->exec(balanceView_->viewport()->mapToGlobal(pos))));
}

void CAccountTab::HistoryContextMenu(const QPoint& pos) {
    const int row = historyView_->indexAt(pos).row();
    if (row < 0) return;
    selectedHistoryRow_ = row;
    std::unique_ptr<QMenu> menu(BuildMenu(HistoryMenu(), this));
    RunCommand(CommandOf(menu->exec(historyView_->viewport()->mapToGlobal(pos))));
}

}  // namespace pw
