#include "payments/gui/make_mass_payment.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>

#include "accounts/tab_logic.h"
#include "payments/gui/payment_list.h"
#include "refs/gui/list_parts.h"
#include "ui/base/modal_ui.h"
#include "ui/base/strings.h"
#include "ui/base/tr.h"
#include "ui/window_placement.h"

namespace pw {
namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

std::vector<ListColumn> MassColumns(bool paymentId) {
    std::vector<ListColumn> c{{QT_TRANSLATE_NOOP("Purseward", "To Account"), 110, Qt::AlignLeft},
                              {QT_TRANSLATE_NOOP("Purseward", "Amount"), 60, Qt::AlignRight},
                              {QT_TRANSLATE_NOOP("Purseward", "Memo"), 150, Qt::AlignLeft}};
    if (paymentId) c.push_back({QT_TRANSLATE_NOOP("Purseward", "PaymentID"), 100, Qt::AlignLeft});
    c.push_back({QT_TRANSLATE_NOOP("Purseward", "Shedule"), 60, Qt::AlignHCenter});
    c.push_back({QT_TRANSLATE_NOOP("Purseward", "Date-Time"), 100, Qt::AlignLeft});
    c.push_back({QT_TRANSLATE_NOOP("Purseward", "Send if failed"), 100, Qt::AlignHCenter});
    return c;
}

QLineEdit* ReadOnly(Qt::Alignment align, const QString& name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setReadOnly(true);
    e->setAlignment(align);
    e->setAccessibleName(name);
    return e;
}

}  // namespace

CMakeMassPayment::CMakeMassPayment(const MassPaymentVariant& variant, ModalUi& ui,
                                   std::string programDir, std::function<std::time_t()> now,
                                   QWidget* parent)
    : QDialog(parent),
      variant_(variant),
      ui_(ui),
      programDir_(std::move(programDir)),
      now_(std::move(now)) {
    const QString caption = Purseward::tr("Make Mass Payment");
    setObjectName(QString::fromLatin1(variant_.className));
    setWindowTitle(caption);
    setAccessibleName(caption);
    setWindowIcon(QApplication::windowIcon());
    setSizeGripEnabled(true);

    fromEdit_ = ReadOnly(Qt::AlignCenter, Purseward::tr("From"), this);
    balanceEdit_ = ReadOnly(Qt::AlignRight, Purseward::tr("Balance"), this);
    resultEdit_ = ReadOnly(Qt::AlignRight, Purseward::tr("Result Amount"), this);
    list_ = new QTableView(this);
    SetUpReportList(list_, Purseward::tr("Payments"));
    model_ = new PaymentListModel(MassColumns(variant_.Payment().paymentId), this);
    list_->setModel(model_);
    table_ = ApplyColumnWidths(list_, programDir_ + "Set/" + variant_.tableFile);

    commands_ = new ListCommands(
        list_, {Purseward::tr("Add\tIns"), Purseward::tr("Edit\tF4"), Purseward::tr("Delete\tDel")},
        [this] { Add(); }, [this] { Edit(); }, [this] { Delete(); });
    import_ = commands_->Menu()->addAction(Purseward::tr("Import from *.CSV"));
    import_->setObjectName(QStringLiteral("actImport"));
    connect(import_, &QAction::triggered, this, [this] { Import(); });
    connect(list_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (!index.isValid()) return;
        SelectRow(list_, index.row());
        Edit();
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName(Purseward::tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(Purseward::tr("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // The import is reachable without the context menu too.
    auto* importButton = new QPushButton(Purseward::tr("&Import from *.CSV"), this);
    importButton->setAccessibleName(Purseward::tr("Import from *.CSV"));
    importButton->setAutoDefault(false);
    connect(importButton, &QPushButton::clicked, this, [this] { Import(); });

    auto* grid = new QGridLayout(this);
    auto* fromLabel = new QLabel(Purseward::tr("From : "), this);
    fromLabel->setBuddy(fromEdit_);
    grid->addWidget(fromLabel, 0, 0);
    grid->addWidget(fromEdit_, 0, 1);
    grid->addWidget(balanceEdit_, 0, 2);
    grid->addWidget(list_, 1, 0, 1, 3);
    auto* resultLabel = new QLabel(Purseward::tr("Result Amount"), this);
    resultLabel->setBuddy(resultEdit_);
    grid->addWidget(resultLabel, 2, 1, Qt::AlignRight);
    grid->addWidget(resultEdit_, 2, 2);
    grid->addWidget(importButton, 3, 0);
    grid->addWidget(buttons, 3, 1, 1, 2);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(1, 1);
    resize(680, 360);
    list_->setFocus();
    Redraw(-1);
}

CMakeMassPayment::~CMakeMassPayment() = default;

void CMakeMassPayment::SetQueue(TextList records) {
    queue_ = std::move(records);
    Redraw(-1);
}

void CMakeMassPayment::Redraw(int select) {
    std::vector<ListRow> rows;
    for (const std::string& record : queue_)
        rows.push_back(RecordRow(Split(record, "~"), variant_.Payment().paymentId));
    model_->SetRows(std::move(rows));
    resultEdit_->setText(Q(FormatCents(Result())));
    SelectRow(list_, select);
}

void CMakeMassPayment::showEvent(QShowEvent* event) {
    fromEdit_->setText(Q(from));
    balanceEdit_->setText(Q(balance));
    QDialog::showEvent(event);
    if (placed_) return;
    placed_ = true;
    RestoreWindowPlacement(*this, QString::fromLatin1(kMassPaymentPlacement));
    FitIntoScreen(*this);
}

bool CMakeMassPayment::RunEditor(bool adding, const std::string& record, PaymentRecord& out) {
    CMakePayment editor(variant_.Payment(), ui_, programDir_, now_ ? now_() : std::time(nullptr),
                        this);
    editor.caption = Str(adding ? 123 : 124);
    editor.from = from;
    editor.balance = balance;
    editor.source = source;
    editor.SetSchedulingAllowed(schedulingAllowed_);
    if (variant_.Payment().getName && lookup_) editor.SetNameLookup(lookup_);
    if (chooser_) editor.SetChooser(chooser_);
    if (!adding) {
        if (const std::optional<PaymentRecord> r = ParseRecord(record, variant_.Payment()))
            editor.SetRecord(*r);
    }
    if ((runEditor_ ? runEditor_(editor) : editor.exec()) != QDialog::Accepted) return false;
    out = editor.Record();
    // An edited row may be sent again: a failed mark would keep it from ever going out.
    out.failed = false;
    out.source = source;
    return true;
}

void CMakeMassPayment::Add() {
    PaymentRecord record;
    if (!RunEditor(true, std::string(), record)) return;
    queue_.push_back(RecordText(record, variant_.Payment()));
    Redraw(static_cast<int>(queue_.size()) - 1);
}

void CMakeMassPayment::Edit() {
    const int r = SelectedRow(list_);
    if (r < 0 || static_cast<std::size_t>(r) >= queue_.size()) return;
    PaymentRecord record;
    if (!RunEditor(false, queue_[static_cast<std::size_t>(r)], record)) return;
    queue_[static_cast<std::size_t>(r)] = RecordText(record, variant_.Payment());
    Redraw(r);
}

void CMakeMassPayment::Delete() {
    const int r = SelectedRow(list_);
    if (r < 0 || static_cast<std::size_t>(r) >= queue_.size()) return;
    queue_.erase(queue_.begin() + r);
    Redraw(std::min(r, static_cast<int>(queue_.size()) - 1));
}

void CMakeMassPayment::Import() {
    const std::optional<std::string> path = ui_.OpenFileName(
        Purseward::tr("Open").toStdString(), programDir_ + "Sample/" + variant_.csvFile, "(*.csv)");
    if (!path || path->empty()) return;
    const CsvImport imported = ReadCsvPayments(*path, variant_.CsvMinFields());
    for (const CsvPayment& p : imported.payments)
        queue_.push_back(ImportedRecord(p, variant_.Payment(), source));
    Redraw(SelectedRow(list_));
    ui_.Message(CsvImportSummary(imported));
}

void CMakeMassPayment::accept() {
    const std::optional<Cents> have = ParseBalance(balance);
    const Cents available = have ? *have : ToCents(balance);
    if (available < SendNowAmount(queue_, variant_.Payment())) {
        ui_.Message(Str(125));
        return;
    }
    if (Result() < 0) {
        ui_.Message(Str(126));
        return;
    }
    QDialog::accept();
}

void CMakeMassPayment::done(int result) {
    StoreColumnWidths(list_, table_);
    SaveWindowPlacement(*this, QString::fromLatin1(kMassPaymentPlacement));
    QDialog::done(result);
}

}  // namespace pw
