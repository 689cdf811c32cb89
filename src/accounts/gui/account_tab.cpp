#include "accounts/gui/account_tab.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QToolButton>
#include <algorithm>
#include <climits>

#include "accounts/gui/account_tab_util.h"
#include "accounts/gui/history_view.h"
#include "accounts/gui/table_models.h"
#include "accounts/gui/wait_cursor.h"
#include "accounts/history_export.h"
#include "accounts/tab_host.h"
#include "app/purseward_app.h"
#include "net/transport.h"
#include "store/schedule_file.h"
#include "ui/base/strings.h"
#include "ui/base/tr.h"

namespace pw {

using namespace tabutil;

namespace {
// A garbage pager must not turn into an endless series of requests.
constexpr std::size_t kMaxFurtherPages = 500;

// What a timer of the tab sends meanwhile is not the user's doing: its failures are quiet.
class BackgroundRequests {
public:
    BackgroundRequests(TabHost& host, const AccountTabWidget* origin)
        : host_(host), before_(host_.SetBackgroundOrigin(origin)) {}
    ~BackgroundRequests() { host_.SetBackgroundOrigin(before_); }
    BackgroundRequests(const BackgroundRequests&) = delete;
    BackgroundRequests& operator=(const BackgroundRequests&) = delete;

private:
    TabHost& host_;
    const void* before_;
};
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
        if (host_.RequestWaiting()) return;
        BackgroundRequests quiet(host_, this);
        ScheduleCheck();
    });
}

// The saved accounts hold the deciphered passwords.
CAccountTab::~CAccountTab() { WipeTexts(savedAccounts_); }

ModalUi& CAccountTab::Ui() { return app_.Ui(); }

void CAccountTab::Init() {
    setAccessibleName(Q(traits_.systemName));
    BuildControls();
    LoadState();
    BuildTables();
    SetHistoryRows({});
    // The export and the record dialog need only the history rows and the record format.
    if (!traits_.record.lines.empty()) {
        SetFeature(TabFeature::Export, [this] { ExportHistory(); });
        SetFeature(TabFeature::RecordView, [this] { OpenHistoryRecord(selectedHistoryRow_); });
    }
}

// ---- Requests ----------------------------------------------------------------------------

namespace {
// The host's requests as a transport, for the client calls that take one.
class HostTransport : public Transport {
public:
    explicit HostTransport(TabHost& host) : host_(host) {}
    std::string HttpsGet(const SecureString& url) override { return host_.HttpsGet(url); }
    std::string HttpGet(const SecureString& url) override { return host_.HttpGet(url); }
    Exchanged Exchange(const SecureString& url, bool secure, TransferControl*) override {
        return host_.Exchange(url, secure);
    }

private:
    TabHost& host_;
};
}  // namespace

std::string CAccountTab::LookUpAccountName(const std::string& account) {
    if (account.empty()) return std::string();
    HostTransport transport(host_);
    RequestScope wait(host_, traits_.systemName);
    return client_->GetAccountName(transport, TakeLoginFields(), account, app_.GetClock().Now(),
                                   Ui());
}

TransferResult CAccountTab::SendTransferRequest(const TextList& queue) {
    HostTransport transport(host_);
    RequestScope wait(host_, traits_.systemName, true);
    return SendTransfer(
        *client_, transport, TakeLoginFields(), queue, [this] { return app_.PaymentCheck(); },
        app_.GetClock().Now());
}

void CAccountTab::ShowErrors() { Ui().Message(client_->ErrorReport()); }

void CAccountTab::ReportUnreadableBalance(const ParsedAnswer& answer) {
    // A failed request has told the user already (its answer is empty); an answer that holds
    // neither balances nor errors is something else than the server's.
    if (!answer.errors.empty() || !answer.balanceRows.empty() || lastAnswerEmpty_) return;
    Ui().Message(Purseward::tr("The answer of the %1 server could not be read; nothing was changed.")
                     .arg(QString::fromStdString(traits_.systemName))
                     .toStdString());
}

bool CAccountTab::Step(TabStep, const LoginFields&) { return true; }

std::string CAccountTab::Request(const SecureString& url, bool https) {
    RequestScope wait(host_, traits_.systemName);
    std::string body = https ? host_.HttpsGet(url) : host_.HttpGet(url);
    lastAnswerEmpty_ = body.empty();
    return body;
}

void CAccountTab::RequestAndParse(RequestKind kind, const SecureString& url, bool clear) {
    const std::string body = Request(url);
    client_->Parse(body, kind, clear);
}

void CAccountTab::FetchBalance(const LoginFields& login) {
    RequestAndParse(RequestKind::Balance, client_->BalanceUrl(login, app_.GetClock().Now()), true);
}

void CAccountTab::FetchHistory(const LoginFields& login, const HistoryFilter& filter) {
    WaitCursor wait;
    Clock& clock = app_.GetClock();
    RequestAndParse(RequestKind::History, client_->HistoryUrl(login, filter, 0, clock.Now()), true);
    if (filter.getLast) return;
    const std::vector<int> pages = client_->FurtherPages(filter);
    for (std::size_t i = 0; i < pages.size() && i < kMaxFurtherPages; ++i) {
        const std::string body = Request(client_->HistoryUrl(login, filter, pages[i], clock.Now()));
        // A failed page ends the series; the user has been told once.
        if (body.empty()) break;
        client_->Parse(body, RequestKind::History, false);
    }
}

void CAccountTab::Login() {
    Step(TabStep::LoginStart, TakeLoginFields());
    const LoginFields login = TakeLoginFields();
    if (!CheckLogin(login)) return;
    if (!Step(TabStep::LoginChecked, login)) return;
    SaveState();
    ++busy_;
    if (Step(TabStep::BeforeBalance, login)) {
        FetchBalance(login);
        if (Step(TabStep::BalanceAnswered, login)) {
            const ParsedAnswer answer = client_->Answer();
            if (!answer.errors.empty()) {
                SetLoginControlsEnabled(true);
                ShowErrors();
            }
            ReportUnreadableBalance(answer);
            if (!answer.balanceRows.empty()) {
                Step(TabStep::BalanceRows, login);
                SetBalanceRows(answer.balanceRows);
                EnterLoggedIn(login.account);
                Step(TabStep::BalanceShown, login);
            }
        }
    }
    --busy_;
}

void CAccountTab::RefreshBalance() {
    SaveState();
    const LoginFields login = TakeLoginFields();
    ++busy_;
    if (Step(TabStep::BeforeBalance, login)) {
        FetchBalance(login);
        if (Step(TabStep::BalanceAnswered, login)) {
            const ParsedAnswer answer = client_->Answer();
            if (!answer.errors.empty()) ShowErrors();
            ReportUnreadableBalance(answer);
            if (!answer.balanceRows.empty()) {
                const ChangeNotice notice =
                    BuildChangeNotice(balance_.rows, answer.balanceRows, traits_.prefix,
                                      login.account, traits_.change);
                if (!notice.text.empty()) host_.NotifyUser(notice.text);
                SetBalanceRows(answer.balanceRows);
                if (notice.changed) GetHistory();
            }
        }
    }
    --busy_;
}

void CAccountTab::GetHistory() {
    const LoginFields login = TakeLoginFields();
    if (!CheckLogin(login)) return;
    HistoryFilter filter = TakeFilter();
    const HistoryFilter before = filter;
    const FilterCheck check = CheckFilter(filter);
    for (const TabMessage& m : check.messages) Ui().Message(m.Text());
    // A corrected filter is shown, also when 116 or 117 then stops the request.
    if (!check.messages.empty() || !(filter == before)) ShowFilter(filter);
    if (check.stop) return;
    if (UpdateFiltersOnHistory()) UpdateFilterControls();
    filter = TakeFilter();
    if (!Step(TabStep::HistoryChecked, login)) return;
    SaveState();
    ++busy_;
    if (Step(TabStep::BeforeHistory, login)) {
        FetchHistory(login, filter);
        if (Step(TabStep::HistoryAnswered, login)) ShowHistoryAnswer(client_->Answer());
    }
    --busy_;
}

void CAccountTab::ShowHistoryAnswer(const ParsedAnswer& parsed) {
    const ParsedAnswer answer = parsed;  // the message box may run code that parses again
    if (!answer.errors.empty()) {
        if (!loggedIn_) SetLoginControlsEnabled(true);
        ShowErrors();
    }
    if (!answer.historyRows.empty()) {
        SetHistoryRows(answer.historyRows);
        if (!loggedIn_) EnterLoggedIn(TakeLoginFields().account);
    } else if (answer.errors.empty()) {
        SetHistoryRows({});
    }
}

void CAccountTab::EnterLoggedIn(const std::string& account) {
    SetLoginControlsEnabled(false);
    loggedIn_ = true;
    host_.SetTabCaption(account);
    tag_ = host_.MakeTabTableName(account);
    LoadScheduleFile();
    const LoginFields login = TakeLoginFields();
    Step(TabStep::LoggedInTimers, login);
    if (traits_.full) {
        if (autoRefreshMinutes_ > 0) StartRefreshTimer();
        timer2_->Start(60000);
    }
    Step(TabStep::LoggedInBanner, login);
    host_.ShowBanner();
}

void CAccountTab::LoadScheduleFile() {
    if (tag_.empty()) {
        schedule_ = std::make_shared<AccountSchedule>();
        return;
    }
    schedule_ = OpenAccountSchedule(app_.ProgramDir(), tag_, traits_.scheduleFieldCount,
                                    traits_.scheduleDueField);
    if (!schedule_->unreadable) return;
    const std::string path = ScheduleFilePath(app_.ProgramDir(), tag_);
    app_.WriteLog("The schedule file " + path +
                  (schedule_->tooLarge > 0
                       ? " is " + std::to_string(schedule_->tooLarge) + " bytes long, more than the " +
                             std::to_string(kScheduleFileMaxBytes) + " bytes a schedule file can be"
                       : std::string(" could not be read whole")) +
                  ": its payments are not made, and it is not saved over.");
}

bool CAccountTab::SaveScheduleFile() {
    if (tag_.empty()) return false;
    const std::string path = ScheduleFilePath(app_.ProgramDir(), tag_);
    if (schedule_->unreadable) {
        Ui().Message(Purseward::tr("The schedule file %1 could not be read whole; it is not saved "
                                   "over, so nothing it holds is lost.")
                         .arg(Q(path))
                         .toStdString());
        return false;
    }
    if (SaveSchedule(app_.ProgramDir(), tag_, schedule_->records)) return true;
    Ui().Message(
        Purseward::tr("The schedule file %1 could not be written.").arg(Q(path)).toStdString());
    return false;
}

void CAccountTab::StartRefreshTimer() {
    const long long ms = static_cast<long long>(autoRefreshMinutes_) * 60000LL;
    timer1_->Start(static_cast<int>(std::min<long long>(ms, INT_MAX)));
}

void CAccountTab::OnRefreshTimer() {
    // A refresh whose message box is still open is not run over by the next one, and no
    // request starts while another one waits.
    if (busy_ > 0 || host_.RequestWaiting()) return;
    BackgroundRequests quiet(host_, this);
    RefreshBalance();
}

void CAccountTab::SetBalanceRows(const RowList& rows) {
    balance_.rows = rows;
    if (balanceModel_ != nullptr) balanceModel_->SetRows(rows);
}

void CAccountTab::SetHistoryRows(const RowList& rows) {
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
    // Lets go of the account's schedule; the other tabs of the account keep it.
    schedule_ = std::make_shared<AccountSchedule>();
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

std::string CAccountTab::SelectedRecordText() const {
    const auto row = historyModel_->RowAt(selectedHistoryRow_);
    if (!row) return std::string();
    const bool hide = app_.GetInt(keys::kSetting, keys::kHideLastDigit, keys::kDefHideLastDigit) != 0;
    const int count =
        app_.GetInt(keys::kSetting, keys::kHideLastDigitValue, keys::kDefHideLastDigitValue);
    return RecordText(std::string(*row), traits_.record, hide, count);
}

void CAccountTab::CopyRecord() {
    if (!historyModel_->RowAt(selectedHistoryRow_)) return;
    QApplication::clipboard()->setText(Q(SelectedRecordText()));
}

void CAccountTab::ExportHistory() {
    const std::string documents =
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
    ExportHistoryTo(Ui(), ExportFolder(documents, app_.ProgramDir()), traits_.prefix, Today(),
                    history_.columnNames, history_.rows);
}

void CAccountTab::OpenHistoryRecord(int row) {
    const auto text = historyModel_->RowAt(row);
    if (!text || traits_.record.lines.empty()) return;
    const Masking masking{
        app_.GetInt(keys::kSetting, keys::kHideLastDigit, keys::kDefHideLastDigit) != 0,
        app_.GetInt(keys::kSetting, keys::kHideLastDigitValue, keys::kDefHideLastDigitValue)};
    ShowHistoryRecord(this, Ui(), traits_.record, std::string(*text), masking);
}

void CAccountTab::GetHistoryForAccount() {
    const auto row = historyModel_->RowAt(selectedHistoryRow_);
    if (!row) return;
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
    s.rowSelected = balanceModel_->RowAt(selectedBalanceRow_).has_value();
    s.loggedIn = loggedIn_;
    s.autoRefreshMinutes = autoRefreshMinutes_;
    s.paymentOff = FeatureOffReason(TabFeature::Payment);
    s.massPaymentOff = FeatureOffReason(TabFeature::MassPayment);
    return BalanceMenuItems(s);
}

std::vector<MenuItem> CAccountTab::HistoryMenu() const {
    const auto row = historyModel_->RowAt(selectedHistoryRow_);
    const bool exportOn = HasFeature(TabFeature::Export);
    if (!row) return HistoryMenuItems(nullptr, exportOn);
    const TextList f = Split(*row, "~");
    const auto c = static_cast<std::size_t>(traits_.historyCounterpartColumn);
    const std::string counterpart = c < f.size() ? f[c] : std::string();
    std::vector<MenuItem> items = HistoryMenuItems(&counterpart, exportOn);
    if (MenuItem* item = FindItem(items, TabCommand::ExportCsv))
        item->whyDisabled = FeatureOffReason(TabFeature::Export);
    return items;
}

void CAccountTab::SetFeature(TabFeature feature, std::function<void()> handler) {
    if (handler)
        features_[feature] = std::move(handler);
    else
        features_.erase(feature);
    if (feature == TabFeature::SavedAccounts) UpdateChooseButton();
}

bool CAccountTab::HasFeature(TabFeature feature) const {
    return traits_.full && features_.count(feature) != 0;
}

std::string CAccountTab::FeatureOffReason(TabFeature feature) const {
    if (!HasFeature(feature)) return kOffNotAvailable;
    switch (feature) {
        case TabFeature::Payment:
        case TabFeature::MassPayment:
            if (balanceModel_->RowAt(selectedBalanceRow_).has_value()) return std::string();
            return loggedIn_ ? kOffNoBalanceRow : kOffNotLoggedIn;
        case TabFeature::SavedAccounts:
            return loginButton_ != nullptr && !loginButton_->isEnabled() ? kOffLoggedIn
                                                                         : std::string();
        case TabFeature::Export:
        case TabFeature::RecordView:
        case TabFeature::ScheduleCheck:
            break;
    }
    return std::string();
}

void CAccountTab::RunFeature(TabFeature feature) {
    // The chooser fills the login fields: not while they are locked by a login.
    if (!HasFeature(feature) || (feature == TabFeature::SavedAccounts &&
                                 !FeatureOffReason(feature).empty()))
        return;
    const auto it = features_.find(feature);
    if (it != features_.end()) it->second();
}

void CAccountTab::RunCommand(TabCommand command) {
    if (!traits_.full) return;  // a minimal tab has no menus and no commands
    switch (command) {
        case TabCommand::Refresh: RefreshBalance(); break;
        case TabCommand::AutoRefresh: SetAutoRefresh(); break;
        case TabCommand::MakePayment: RunFeature(TabFeature::Payment); break;
        case TabCommand::MakeMassPayment: RunFeature(TabFeature::MassPayment); break;
        case TabCommand::CopyAccountNumber: CopyAccountNumber(); break;
        case TabCommand::ChangeAccount: ChangeAccount(); break;
        case TabCommand::CopyRecord: CopyRecord(); break;
        case TabCommand::ExportCsv: RunFeature(TabFeature::Export); break;
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
