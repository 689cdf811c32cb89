// The controls of the account tab, their layout, reading order and signals.
#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "accounts/gui/account_tab.h"
#include "accounts/gui/account_tab_util.h"
#include "accounts/gui/field_validators.h"
#include "accounts/gui/table_models.h"
#include "app/purseward_app.h"
#include "ui/base/tr.h"

namespace pw {

using namespace tabutil;

namespace {

// The balance box shows this many rows without a scroll bar, and grows at most this wide to
// show its columns side by side.
constexpr int kBalanceRowsShown = 6;
constexpr int kMaxBalanceWidth = 560;

QLineEdit* NewEdit(QWidget* parent, const char* name, const QString& accessible, bool digits) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setAccessibleName(accessible);
    e->setValidator(new NoSeparatorValidator(digits, e));
    if (digits) e->setMaxLength(9);
    return e;
}

QLabel* NewLabel(QWidget* parent, const std::string& text, QWidget* buddy) {
    auto* l = new QLabel(TrText(text), parent);
    l->setBuddy(buddy);
    return l;
}

}  // namespace

void CAccountTab::BuildControls() {
    // Login fields.
    accountEdit_ = NewEdit(this, "accountEdit", TrText(traits_.accountLabel), false);
    apiNameEdit_ = NewEdit(this, "apiNameEdit", TrText(traits_.apiNameLabel), false);
    secretEdit_ = NewEdit(this, "secretEdit", TrText(traits_.secretLabel), false);
    secretEdit_->setEchoMode(QLineEdit::Password);
    loginButton_ = new QPushButton(Purseward::tr("Login"), this);
    loginButton_->setObjectName(QStringLiteral("loginButton"));
    loginButton_->setAccessibleName(Purseward::tr("Login"));
    loginButton_->setDefault(true);
    loginButton_->setAutoDefault(true);
    chooseButton_ = new QToolButton(this);
    chooseButton_->setObjectName(QStringLiteral("chooseButton"));
    chooseButton_->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    chooseButton_->setIconSize(QSize(16, 16));
    chooseButton_->setAccessibleName(Purseward::tr("Choose saved account"));
    chooseButton_->setVisible(traits_.full);
    UpdateChooseButton();

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
    balanceView_->setAccessibleName(Purseward::tr("Account Balance"));
    historyView_ = new QTableView(this);
    historyView_->setObjectName(QStringLiteral("historyTable"));
    historyView_->setAccessibleName(Purseward::tr("History"));
    for (QTableView* v : {balanceView_, historyView_}) {
        v->setSelectionBehavior(QAbstractItemView::SelectRows);
        v->setSelectionMode(QAbstractItemView::SingleSelection);
        v->setShowGrid(true);
        v->setEditTriggers(QAbstractItemView::NoEditTriggers);
        v->verticalHeader()->hide();
        // One line a row, as in a list view: long cells end in "..." instead of wrapping.
        v->setWordWrap(false);
        v->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        v->verticalHeader()->setDefaultSectionSize(v->fontMetrics().height() + 6);
        v->setContextMenuPolicy(Qt::CustomContextMenu);
    }

    // Filter.
    getLastCheck_ = new QCheckBox(Purseward::tr("Get last"), this);
    getLastCheck_->setObjectName(QStringLiteral("getLastCheck"));
    getLastCheck_->setAccessibleName(Purseward::tr("Get last"));
    countEdit_ = NewEdit(this, "countEdit", Purseward::tr("operations"), true);
    auto* operations = NewLabel(this, QT_TRANSLATE_NOOP("Purseward", "operations"), countEdit_);
    fromToCheck_ = new QCheckBox(Purseward::tr("From/To Date"), this);
    fromToCheck_->setObjectName(QStringLiteral("fromToCheck"));
    fromToCheck_->setAccessibleName(Purseward::tr("From/To Date"));
    fromDate_ = new QDateEdit(this);
    fromDate_->setObjectName(QStringLiteral("fromDate"));
    fromDate_->setAccessibleName(Purseward::tr("From Date"));
    toDate_ = new QDateEdit(this);
    toDate_->setObjectName(QStringLiteral("toDate"));
    toDate_->setAccessibleName(Purseward::tr("To Date"));
    for (QDateEdit* d : {fromDate_, toDate_}) {
        d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        d->setCalendarPopup(true);
    }
    accountCheck_ = new QCheckBox(TrText(traits_.counterpartLabel), this);
    accountCheck_->setObjectName(QStringLiteral("accountCheck"));
    accountCheck_->setAccessibleName(TrText(traits_.counterpartLabel));
    counterpartEdit_ =
        NewEdit(this, "counterpartEdit",
                Purseward::tr("%1 filter").arg(TrText(traits_.counterpartLabel)), false);
    batchCheck_ = new QCheckBox(TrText(traits_.batchLabel), this);
    batchCheck_->setObjectName(QStringLiteral("batchCheck"));
    batchCheck_->setAccessibleName(TrText(traits_.batchLabel));
    batchEdit_ =
        NewEdit(this, "batchEdit", Purseward::tr("%1 filter").arg(TrText(traits_.batchLabel)),
                BatchIsNumber());
    historyButton_ = new QPushButton(Purseward::tr("Get History"), this);
    historyButton_->setObjectName(QStringLiteral("historyButton"));
    historyButton_->setAccessibleName(Purseward::tr("Get History"));
    historyButton_->setAutoDefault(false);
    totalsEdit_ = new QLineEdit(this);
    totalsEdit_->setObjectName(QStringLiteral("totalsEdit"));
    totalsEdit_->setAccessibleName(Purseward::tr("Totals"));
    totalsEdit_->setReadOnly(true);

    auto* filterBox = new QGroupBox(Purseward::tr("Filter of Operation"), this);
    filterBox->setAccessibleName(Purseward::tr("Filter of Operation"));
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
    AddExtraFilterControls(fl, 4);
    fl->addWidget(historyButton_, fl->rowCount(), 0, 1, 3);
    // Options the system's settings do not have are not offered.
    for (QWidget* w : {static_cast<QWidget*>(getLastCheck_), static_cast<QWidget*>(countEdit_),
                       static_cast<QWidget*>(operations)})
        w->setVisible(Has(keys_.checkGetLast));
    fromToCheck_->setVisible(Has(keys_.checkFromToDate) || Has(keys_.filterDateFrom));
    accountCheck_->setVisible(Has(keys_.checkAccount));
    counterpartEdit_->setVisible(Has(keys_.checkAccount));
    batchCheck_->setVisible(Has(keys_.checkBatch));
    batchEdit_->setVisible(Has(keys_.checkBatch));

    auto* balanceBox = new QGroupBox(Purseward::tr("Account Balance"), this);
    balanceBox->setAccessibleName(Purseward::tr("Account Balance"));
    (new QVBoxLayout(balanceBox))->addWidget(balanceView_);
    auto* historyBox = new QGroupBox(Purseward::tr("History"), this);
    historyBox->setAccessibleName(Purseward::tr("History"));
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
    connect(chooseButton_, &QToolButton::clicked, this,
            [this] { RunFeature(TabFeature::SavedAccounts); });
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
                    RunFeature(TabFeature::Payment);
                });
        connect(historyView_, &QAbstractItemView::doubleClicked, this,
                [this](const QModelIndex& i) {
                    selectedHistoryRow_ = i.row();
                    RunFeature(TabFeature::RecordView);
                });
    }
}

void CAccountTab::AddExtraLoginFields(QGridLayout*, int) {}
void CAccountTab::AddExtraFilterControls(QGridLayout*, int) {}

void CAccountTab::BuildTables() {
    const std::string setDir = app_.ProgramDir() + "Set/";
    auto build = [&](ListTable& table, const std::string& file,
                     const std::vector<ColumnSpec>& columns, QTableView* view,
                     RowTableModel* model) {
        table.path = setDir + file;
        table.columnNames.clear();
        for (const ColumnSpec& c : columns) table.columnNames.push_back(c.name);
        table.columnWidths.clear();
        if (const std::string refused = LoadColumnWidths(table); !refused.empty()) app_.WriteLog(refused);
        std::vector<int> stored, defaults;
        for (const std::string& w : table.columnWidths)
            stored.push_back(std::clamp(ParseLeadingInt(w), 0, 4000));
        // Columns the file gives no width for keep their default width.
        for (std::size_t i = table.columnWidths.size(); i < columns.size(); ++i)
            table.columnWidths.push_back(std::to_string(columns[i].defaultWidth));
        for (const ColumnSpec& c : columns) defaults.push_back(c.defaultWidth);
        view->setModel(model);
        return new ColumnFitter(view, std::move(defaults), stored);
    };
    balanceModel_ = new RowTableModel(traits_.balanceColumns, this);
    historyModel_ = new RowTableModel(traits_.historyColumns, this);
    ColumnFitter* balanceFit = build(balance_, traits_.balanceTableFile, traits_.balanceColumns,
                                     balanceView_, balanceModel_);
    build(history_, traits_.historyTableFile, traits_.historyColumns, historyView_,
          historyModel_);

    // The balance box shows up to six rows without scrolling, and its columns side by side
    // as far as the width allows.
    auto fitBalanceBox = [this, balanceFit] {
        const int content = balanceFit->ContentWidth();
        balanceView_->setMinimumWidth(std::min(content, kMaxBalanceWidth));
        const bool scrolls = content > kMaxBalanceWidth;
        balanceView_->setMinimumHeight(
            HeightForRows(balanceView_, kBalanceRowsShown) +
            (scrolls ? balanceView_->horizontalScrollBar()->sizeHint().height() : 0));
    };
    connect(balanceFit, &ColumnFitter::Fitted, this, fitBalanceBox);
    fitBalanceBox();
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
                       static_cast<QWidget*>(secretEdit_), static_cast<QWidget*>(loginButton_)})
        w->setEnabled(enabled);
    UpdateChooseButton();
}

void CAccountTab::UpdateChooseButton() {
    if (chooseButton_ == nullptr) return;
    const std::string off = FeatureOffReason(TabFeature::SavedAccounts);
    chooseButton_->setEnabled(off.empty());
    // A disabled button still shows its tool tip: it tells why.
    chooseButton_->setToolTip(off.empty() ? Purseward::tr("Choose saved account") : TrText(off));
    chooseButton_->setAccessibleDescription(TrText(off));
}

}  // namespace pw
