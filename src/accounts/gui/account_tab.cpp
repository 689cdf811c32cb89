#include "accounts/gui/account_tab.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

#include "accounts/gui/field_validators.h"
#include "accounts/gui/table_models.h"
#include "accounts/gui/wait_cursor.h"
#include "accounts/tab_host.h"
#include "app/purseward_app.h"
#include "store/schedule_file.h"
#include "ui/base/strings.h"

namespace pw {

namespace {

// A garbage pager must not turn into an endless series of requests.
constexpr std::size_t kMaxFurtherPages = 500;

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return s.toStdString(); }
QDate ToQDate(const Date& d) { return QDate(d.year, d.month, d.day); }
Date FromQDate(const QDate& d) { return Date{d.year(), d.month(), d.day()}; }
bool Has(const char* key) { return key != nullptr && key[0] != '\0'; }

QLineEdit* NewEdit(QWidget* parent, const char* name, const std::string& accessible,
                   bool digits) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setAccessibleName(Q(accessible));
    e->setValidator(new NoSeparatorValidator(digits, e));
    if (digits) e->setMaxLength(9);
    return e;
}

QLabel* NewLabel(QWidget* parent, const std::string& text, QWidget* buddy) {
    auto* l = new QLabel(Q(text), parent);
    l->setBuddy(buddy);
    return l;
}

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
    timer2_ = app_.GetClock().CreateTimer([this] { ScheduleCheck(); });
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

// ---- Controls ----------------------------------------------------------------------------

void CAccountTab::BuildControls() {
    // Login fields.
    accountEdit_ = NewEdit(this, "accountEdit", traits_.accountLabel, false);
    apiNameEdit_ = NewEdit(this, "apiNameEdit", traits_.apiNameLabel, false);
    secretEdit_ = NewEdit(this, "secretEdit", traits_.secretLabel, false);
    secretEdit_->setEchoMode(QLineEdit::Password);
    loginButton_ = new QPushButton(QStringLiteral("Login"), this);
    loginButton_->setObjectName(QStringLiteral("loginButton"));
    loginButton_->setAccessibleName(QStringLiteral("Login"));
    loginButton_->setDefault(true);
    loginButton_->setAutoDefault(true);
    chooseButton_ = new QToolButton(this);
    chooseButton_->setObjectName(QStringLiteral("chooseButton"));
    chooseButton_->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    chooseButton_->setIconSize(QSize(16, 16));
    chooseButton_->setAccessibleName(QStringLiteral("Choose saved account"));
    chooseButton_->setToolTip(QStringLiteral("Choose saved account"));
    chooseButton_->setVisible(traits_.full);

    auto* login = new QGridLayout;
    int col = 0;
    auto addField = [&](const std::string& caption, QWidget* w) {
        login->addWidget(NewLabel(this, caption, w), 0, col++);
        login->addWidget(w, 0, col++);
    };
    addField(traits_.accountLabel, accountEdit_);
    if (traits_.hasApiName)
        addField(traits_.apiNameLabel, apiNameEdit_);
    else
        apiNameEdit_->hide();
    addField(traits_.secretLabel, secretEdit_);
    login->addWidget(loginButton_, 0, col++);
    login->addWidget(chooseButton_, 0, col++);
    AddExtraLoginFields(login, 1);

    // Tables.
    balanceView_ = new QTableView(this);
    balanceView_->setObjectName(QStringLiteral("balanceTable"));
    balanceView_->setAccessibleName(QStringLiteral("Account Balance"));
    historyView_ = new QTableView(this);
    historyView_->setObjectName(QStringLiteral("historyTable"));
    historyView_->setAccessibleName(QStringLiteral("History"));
    for (QTableView* v : {balanceView_, historyView_}) {
        v->setSelectionBehavior(QAbstractItemView::SelectRows);
        v->setSelectionMode(QAbstractItemView::SingleSelection);
        v->setShowGrid(true);
        v->setEditTriggers(QAbstractItemView::NoEditTriggers);
        v->verticalHeader()->hide();
        v->setContextMenuPolicy(Qt::CustomContextMenu);
    }

    // Filter.
    getLastCheck_ = new QCheckBox(QStringLiteral("Get last"), this);
    getLastCheck_->setObjectName(QStringLiteral("getLastCheck"));
    getLastCheck_->setAccessibleName(QStringLiteral("Get last"));
    countEdit_ = NewEdit(this, "countEdit", "operations", true);
    auto* operations = NewLabel(this, "operations", countEdit_);
    fromToCheck_ = new QCheckBox(QStringLiteral("From/To Date"), this);
    fromToCheck_->setObjectName(QStringLiteral("fromToCheck"));
    fromToCheck_->setAccessibleName(QStringLiteral("From/To Date"));
    fromDate_ = new QDateEdit(this);
    fromDate_->setObjectName(QStringLiteral("fromDate"));
    fromDate_->setAccessibleName(QStringLiteral("From Date"));
    toDate_ = new QDateEdit(this);
    toDate_->setObjectName(QStringLiteral("toDate"));
    toDate_->setAccessibleName(QStringLiteral("To Date"));
    for (QDateEdit* d : {fromDate_, toDate_}) {
        d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        d->setCalendarPopup(true);
    }
    accountCheck_ = new QCheckBox(Q(traits_.counterpartLabel), this);
    accountCheck_->setObjectName(QStringLiteral("accountCheck"));
    accountCheck_->setAccessibleName(Q(traits_.counterpartLabel));
    counterpartEdit_ = NewEdit(this, "counterpartEdit", traits_.counterpartLabel + " filter", false);
    batchCheck_ = new QCheckBox(Q(traits_.batchLabel), this);
    batchCheck_->setObjectName(QStringLiteral("batchCheck"));
    batchCheck_->setAccessibleName(Q(traits_.batchLabel));
    batchEdit_ = NewEdit(this, "batchEdit", traits_.batchLabel + " filter", BatchIsNumber());
    historyButton_ = new QPushButton(QStringLiteral("Get History"), this);
    historyButton_->setObjectName(QStringLiteral("historyButton"));
    historyButton_->setAccessibleName(QStringLiteral("Get History"));
    historyButton_->setAutoDefault(false);
    totalsEdit_ = new QLineEdit(this);
    totalsEdit_->setObjectName(QStringLiteral("totalsEdit"));
    totalsEdit_->setAccessibleName(QStringLiteral("Totals"));
    totalsEdit_->setReadOnly(true);

    auto* filterBox = new QGroupBox(QStringLiteral("Filter of Operation"), this);
    filterBox->setAccessibleName(QStringLiteral("Filter of Operation"));
    auto* fl = new QGridLayout(filterBox);
    fl->addWidget(getLastCheck_, 0, 0);
    fl->addWidget(countEdit_, 0, 1);
    fl->addWidget(operations, 0, 2);
    fl->addWidget(fromToCheck_, 1, 0);
    fl->addWidget(fromDate_, 1, 1);
    fl->addWidget(toDate_, 1, 2);
    fl->addWidget(accountCheck_, 2, 0);
    fl->addWidget(counterpartEdit_, 2, 1, 1, 2);
    fl->addWidget(batchCheck_, 3, 0);
    fl->addWidget(batchEdit_, 3, 1, 1, 2);
    fl->addWidget(historyButton_, 4, 0, 1, 3);
    // Options the system's settings do not have are not offered.
    for (QWidget* w : {static_cast<QWidget*>(getLastCheck_), static_cast<QWidget*>(countEdit_),
                       static_cast<QWidget*>(operations)})
        w->setVisible(Has(keys_.checkGetLast));
    fromToCheck_->setVisible(Has(keys_.checkFromToDate) || Has(keys_.filterDateFrom));
    accountCheck_->setVisible(Has(keys_.checkAccount));
    counterpartEdit_->setVisible(Has(keys_.checkAccount));
    batchCheck_->setVisible(Has(keys_.checkBatch));
    batchEdit_->setVisible(Has(keys_.checkBatch));

    auto* balanceBox = new QGroupBox(QStringLiteral("Account Balance"), this);
    balanceBox->setAccessibleName(QStringLiteral("Account Balance"));
    (new QVBoxLayout(balanceBox))->addWidget(balanceView_);
    auto* historyBox = new QGroupBox(QStringLiteral("History"), this);
    historyBox->setAccessibleName(QStringLiteral("History"));
    auto* hl = new QVBoxLayout(historyBox);
    hl->addWidget(historyView_);
    hl->addWidget(totalsEdit_);

    auto* left = new QVBoxLayout;
    left->addWidget(balanceBox);
    left->addWidget(filterBox);
    auto* body = new QHBoxLayout;
    body->addLayout(left, 2);
    body->addWidget(historyBox, 5);
    auto* top = new QVBoxLayout(this);
    top->addLayout(login);
    top->addLayout(body, 1);

    // Reading order.
    QWidget* order[] = {accountEdit_, apiNameEdit_,    secretEdit_,  loginButton_,
                        chooseButton_, balanceView_,   getLastCheck_, countEdit_,
                        fromToCheck_, fromDate_,       toDate_,       accountCheck_,
                        counterpartEdit_, batchCheck_, batchEdit_,    historyButton_,
                        historyView_, totalsEdit_};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

    connect(loginButton_, &QPushButton::clicked, this, [this] { Login(); });
    // Enter in a login field presses the default button.
    for (QLineEdit* e : {accountEdit_, apiNameEdit_, secretEdit_})
        connect(e, &QLineEdit::returnPressed, this, [this] { Login(); });
    connect(historyButton_, &QPushButton::clicked, this, [this] { GetHistory(); });
    connect(chooseButton_, &QToolButton::clicked, this, [this] { ChooseSavedAccount(); });
    connect(getLastCheck_, &QCheckBox::clicked, this, [this] {
        if (UpdateOnGetLastClick()) UpdateFilterControls();
    });
    if (traits_.full) {
        balanceView_->installEventFilter(this);
        connect(balanceView_, &QWidget::customContextMenuRequested, this,
                [this](const QPoint& p) { BalanceContextMenu(p); });
        connect(historyView_, &QWidget::customContextMenuRequested, this,
                [this](const QPoint& p) { HistoryContextMenu(p); });
        connect(balanceView_, &QAbstractItemView::doubleClicked, this,
                [this](const QModelIndex& i) {
                    selectedBalanceRow_ = i.row();
                    MakePayment();
                });
        connect(historyView_, &QAbstractItemView::doubleClicked, this,
                [this](const QModelIndex& i) {
                    selectedHistoryRow_ = i.row();
                    OpenHistoryRecord(i.row());
                });
    }
}

void CAccountTab::AddExtraLoginFields(QGridLayout*, int) {}

void CAccountTab::BuildTables() {
    const std::string setDir = app_.ProgramDir() + "Set/";
    auto build = [&](ListTable& table, const std::string& file,
                     const std::vector<ColumnSpec>& columns, QTableView* view,
                     RowTableModel* model) {
        table.path = setDir + file;
        table.columnNames.clear();
        for (const ColumnSpec& c : columns) table.columnNames.push_back(c.name);
        table.columnWidths.clear();
        LoadColumnWidths(table);
        // Columns the file gives no width for keep their default width.
        for (std::size_t i = table.columnWidths.size(); i < columns.size(); ++i)
            table.columnWidths.push_back(std::to_string(columns[i].defaultWidth));
        view->setModel(model);
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const int w = std::clamp(ParseLeadingInt(table.columnWidths[i]), 0, 4000);
            view->horizontalHeader()->resizeSection(static_cast<int>(i), w);
        }
    };
    balanceModel_ = new BalanceModel(traits_, this);
    historyModel_ = new HistoryModel(traits_, this);
    build(balance_, traits_.balanceTableFile, traits_.balanceColumns, balanceView_,
          balanceModel_);
    build(history_, traits_.historyTableFile, traits_.historyColumns, historyView_,
          historyModel_);
}

bool CAccountTab::eventFilter(QObject* watched, QEvent* event) {
    if (watched == balanceView_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F5) {
        RefreshBalance();
        return true;
    }
    return AccountTabWidget::eventFilter(watched, event);
}

void CAccountTab::SetLoginControlsEnabled(bool enabled) {
    for (QWidget* w : {static_cast<QWidget*>(accountEdit_), static_cast<QWidget*>(apiNameEdit_),
                       static_cast<QWidget*>(secretEdit_), static_cast<QWidget*>(loginButton_),
                       static_cast<QWidget*>(chooseButton_)})
        w->setEnabled(enabled);
}

// ---- Settings ----------------------------------------------------------------------------

int CAccountTab::SettingsInt(const char* key, int def) const {
    return Has(key) ? app_.GetInt(keys_.section, key, def) : def;
}
std::string CAccountTab::SettingsString(const char* key, const std::string& def) const {
    return Has(key) ? app_.GetString(keys_.section, key, def) : def;
}
void CAccountTab::WriteSettingsInt(const char* key, int value) {
    if (Has(key)) app_.WriteInt(keys_.section, key, value);
}
void CAccountTab::WriteSettingsString(const char* key, const std::string& value) {
    if (Has(key)) app_.WriteString(keys_.section, key, value);
}

Date CAccountTab::Today() const {
    const std::tm tm = app_.GetClock().LocalNow();
    return Date{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
}

std::vector<std::string> CAccountTab::SavedAccountKeys() const {
    std::vector<std::string> out;
    for (const char* k : {keys_.account, keys_.apiName, keys_.save, keys_.pin, keys_.pass})
        if (Has(k)) out.emplace_back(k);
    return out;
}

void CAccountTab::LoadState() {
    schedule_.clear();
    dueTimes_.clear();
    savedAccounts_.clear();

    TextList columns;
    for (const std::string& k : SavedAccountKeys())
        columns.push_back(app_.GetSecret(keys_.section, k));
    savedAccounts_ = SavedRowsFromColumns(columns);

    std::string last = Has(keys_.accountLast) ? app_.GetSecret(keys_.section, keys_.accountLast)
                                              : std::string();
    if (last.empty() && !columns.empty() && !HoldsFieldSeparator(columns[0])) last = columns[0];
    if (!last.empty()) {
        for (const std::string& row : savedAccounts_) {
            const TextList f = Split(row, "~");
            if (f[0] == last) {
                FillFromSavedRow(f);
                break;
            }
        }
    }

    const Date today = Today();
    HistoryFilter f;
    f.getLast = SettingsInt(keys_.checkGetLast, keys::kDefCheckGetLast) != 0 &&
                Has(keys_.checkGetLast);
    f.count = SettingsInt(keys_.filterLastOperCount, keys::kDefFilterLastOperCount);
    f.fromTo = SettingsInt(keys_.checkFromToDate, keys::kDefCheckFromToDate) != 0;
    f.from = ParseSettingsDate(SettingsString(keys_.filterDateFrom, "")).value_or(today);
    f.to = ParseSettingsDate(SettingsString(keys_.filterDateTo, "")).value_or(today);
    f.byAccount = SettingsInt(keys_.checkAccount, keys::kDefCheckAccount) != 0;
    f.counterpart = SettingsString(keys_.filterAccount, "");
    f.byBatch = SettingsInt(keys_.checkBatch, keys::kDefCheckBatch) != 0;
    f.batch = SettingsString(keys_.filterBatch, "");
    autoRefreshMinutes_ = SettingsInt(keys_.autoRefresh, keys::kDefAutoRefresh);

    if (app_.GetInt(keys::kSetting, keys::kSetDateOnLastVisit, keys::kDefSetDateOnLastVisit) ==
        1) {
        f.getLast = false;
        f.fromTo = true;
        f.from = ParseSettingsDate(app_.GetString(keys::kSetting, keys::kLastVisitDate, ""))
                     .value_or(today);
        f.to = today;
    }
    // A stored value holding "~" cannot be typed; it is not taken into a request either.
    if (HoldsFieldSeparator(f.counterpart)) f.counterpart.clear();
    if (HoldsFieldSeparator(f.batch)) f.batch.clear();
    ShowFilter(f);
    LoadExtraState();
    UpdateFilterControls();
}

void CAccountTab::SaveState() {
    if (accountEdit_ == nullptr) return;  // not initialised
    const std::vector<std::string> keys = SavedAccountKeys();
    const TextList columns = ColumnsFromSavedRows(savedAccounts_, keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
        app_.WriteSecret(keys_.section, keys[i], columns[i]);

    const HistoryFilter f = TakeFilter();
    if (Has(keys_.accountLast))
        app_.WriteSecret(keys_.section, keys_.accountLast, TakeLoginFields().account);
    WriteSettingsInt(keys_.checkGetLast, f.getLast ? 1 : 0);
    WriteSettingsInt(keys_.filterLastOperCount, f.count);
    WriteSettingsInt(keys_.checkFromToDate, f.fromTo ? 1 : 0);
    WriteSettingsString(keys_.filterDateFrom, FormatSettingsDate(f.from));
    WriteSettingsString(keys_.filterDateTo, FormatSettingsDate(f.to));
    WriteSettingsInt(keys_.checkAccount, f.byAccount ? 1 : 0);
    WriteSettingsString(keys_.filterAccount, f.counterpart);
    WriteSettingsInt(keys_.checkBatch, f.byBatch ? 1 : 0);
    WriteSettingsString(keys_.filterBatch, f.batch);
    WriteSettingsInt(keys_.autoRefresh, autoRefreshMinutes_);
    SaveExtraState();

    auto widthOf = [](QTableView* v) {
        return [v](int i) { return i < v->model()->columnCount() ? v->columnWidth(i) : 0; };
    };
    if (balanceView_->model() != nullptr) SaveColumnWidths(balance_, widthOf(balanceView_));
    if (historyView_->model() != nullptr) SaveColumnWidths(history_, widthOf(historyView_));
}

// ---- Fields ------------------------------------------------------------------------------

LoginFields CAccountTab::TakeLoginFields() const {
    return LoginFields{S(accountEdit_->text()), S(apiNameEdit_->text()), S(secretEdit_->text())};
}

void CAccountTab::ShowLoginFields(const LoginFields& login) {
    accountEdit_->setText(Q(login.account));
    apiNameEdit_->setText(Q(login.apiName));
    secretEdit_->setText(Q(login.secret));
}

std::string CAccountTab::LoginMessage(const LoginFields& login) const {
    const int id = LoginProblem(login, traits_);
    return id == 0 ? std::string() : Str(id);
}

FilterCheck CAccountTab::CheckFilter(HistoryFilter& filter) const {
    return CheckHistoryFilter(filter, traits_, Has(keys_.checkGetLast));
}

void CAccountTab::FillFromSavedRow(const TextList& fields) {
    const std::vector<std::string> keys = SavedAccountKeys();
    auto field = [&](const char* key) {
        if (!Has(key)) return std::string();
        const auto it = std::find(keys.begin(), keys.end(), std::string(key));
        const auto i = static_cast<std::size_t>(it - keys.begin());
        return it != keys.end() && i < fields.size() ? fields[i] : std::string();
    };
    const bool saved = field(keys_.save).find("true") != std::string::npos;
    LoginFields login;
    login.account = field(keys_.account);
    login.apiName = Has(keys_.apiName) ? field(keys_.apiName) : (saved ? field(keys_.pin) : "");
    login.secret = saved ? field(keys_.pass) : std::string();
    ShowLoginFields(login);
}

HistoryFilter CAccountTab::TakeFilter() const {
    HistoryFilter f;
    f.getLast = getLastCheck_->isChecked() && Has(keys_.checkGetLast);
    f.count = countEdit_->text().toInt();
    f.fromTo = fromToCheck_->isChecked();
    f.from = FromQDate(fromDate_->date());
    f.to = FromQDate(toDate_->date());
    f.byAccount = accountCheck_->isChecked();
    f.counterpart = S(counterpartEdit_->text());
    f.byBatch = batchCheck_->isChecked();
    f.batch = S(batchEdit_->text());
    return f;
}

void CAccountTab::ShowFilter(const HistoryFilter& f) {
    getLastCheck_->setChecked(f.getLast);
    countEdit_->setText(QString::number(f.count));
    fromToCheck_->setChecked(f.fromTo);
    fromDate_->setDate(ToQDate(f.from));
    toDate_->setDate(ToQDate(f.to));
    accountCheck_->setChecked(f.byAccount);
    counterpartEdit_->setText(Q(f.counterpart));
    batchCheck_->setChecked(f.byBatch);
    batchEdit_->setText(Q(f.batch));
}

void CAccountTab::UpdateFilterControls() {
    const bool last = getLastCheck_->isChecked();
    if (last) {
        fromToCheck_->setChecked(false);
        accountCheck_->setChecked(false);
        batchCheck_->setChecked(false);
    }
    for (QWidget* w : {static_cast<QWidget*>(fromToCheck_), static_cast<QWidget*>(accountCheck_),
                       static_cast<QWidget*>(batchCheck_), static_cast<QWidget*>(fromDate_),
                       static_cast<QWidget*>(toDate_), static_cast<QWidget*>(counterpartEdit_),
                       static_cast<QWidget*>(batchEdit_)})
        w->setEnabled(!last);
    countEdit_->setEnabled(last);
}

bool CAccountTab::CheckLogin(const LoginFields& login) {
    const std::string message = LoginMessage(login);
    if (!message.empty()) {
        Ui().Message(message);
        return false;
    }
    if (!IsSafeAccount(login.account)) {
        Ui().Message(kUnsafeAccountMessage);
        return false;
    }
    return true;
}

// ---- Requests ----------------------------------------------------------------------------

void CAccountTab::ShowErrors() { Ui().Message(client_->ErrorReport()); }

void CAccountTab::Login() {
    const LoginFields login = TakeLoginFields();
    if (!CheckLogin(login)) return;
    SaveState();
    ++busy_;
    {
        WaitCursor wait;
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
        WaitCursor wait;
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
    if (check.stop) return;
    if (!check.messages.empty()) ShowFilter(filter);
    UpdateFilterControls();
    filter = TakeFilter();
    SaveState();
    ++busy_;
    {
        WaitCursor wait;
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
    // A refresh whose message box is still open is not run over by the next one.
    if (busy_ > 0) return;
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
    for (;;) {
        const std::optional<int> minutes = Ui().PromptNumber(
            "AutoRefresh balance", "AutoRefresh balance every", autoRefreshMinutes_);
        if (!minutes) return;
        if (*minutes < 0 || *minutes > 1000) {
            Ui().Message(Str(103));
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
