#include "payments/gui/make_payment_dialog.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QStyle>
#include <QTimeEdit>
#include <QToolButton>

#include "accounts/gui/field_validators.h"
#include "payments/ole_date.h"
#include "refs/gui/ref_dialogs.h"
#include "refs/ref_lists.h"
#include "ui/base/modal_ui.h"
#include "ui/base/strings.h"
#include "ui/base/tr.h"

namespace pw {

const char kSchedulingNeedsLoginText[] = QT_TRANSLATE_NOOP(
    "Purseward",
    "Log in first: scheduled payments are kept in the schedule file of the logged-in account.");

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return s.toStdString(); }

// To: upper-case input, and like every field of a record, no "~" or control character.
class UpperValidator : public NoSeparatorValidator {
  public:
    explicit UpperValidator(QObject* parent) : NoSeparatorValidator(false, parent) {}
    State validate(QString& input, int& pos) const override {
        input = input.toUpper();
        return NoSeparatorValidator::validate(input, pos);
    }
};

QLineEdit* ReadOnly(Qt::Alignment align, const QString& name) {
    auto* e = new QLineEdit;
    e->setReadOnly(true);
    e->setAlignment(align);
    e->setAccessibleName(name);
    return e;
}

}  // namespace

CMakePayment::CMakePayment(const PaymentVariant& variant, ModalUi& ui, std::string programDir,
                           std::time_t now, QWidget* parent)
    : QDialog(parent), variant_(variant), ui_(ui), programDir_(std::move(programDir)) {
    setAccessibleName(Purseward::tr("Payment"));
    auto* grid = new QGridLayout(this);
    int row = 0;
    auto label = [&](const char* text, QWidget* buddy) {
        auto* l = new QLabel(Purseward::tr(text), this);
        l->setBuddy(buddy);
        grid->addWidget(l, row, 0);
    };
    auto field = [&](const char* accessible, Qt::Alignment align, bool upper) {
        auto* e = new QLineEdit(this);
        e->setAlignment(align);
        e->setAccessibleName(Purseward::tr(accessible));
        if (upper)
            e->setValidator(new UpperValidator(e));
        else
            e->setValidator(new NoSeparatorValidator(false, e));
        return e;
    };
    auto icon = [&](const char* accessible) {
        auto* b = new QToolButton(this);
        b->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
        b->setAccessibleName(Purseward::tr(accessible));
        b->setToolTip(Purseward::tr(accessible));
        return b;
    };

    fromEdit_ = ReadOnly(Qt::AlignCenter, Purseward::tr("From"));
    balanceEdit_ = ReadOnly(Qt::AlignRight, Purseward::tr("Balance"));
    label(QT_TRANSLATE_NOOP("Purseward", "From : "), fromEdit_);
    grid->addWidget(fromEdit_, row, 1);
    grid->addWidget(balanceEdit_, row++, 2);

    to_ = field(QT_TRANSLATE_NOOP("Purseward", "To"), Qt::AlignCenter, true);
    payeeButton_ = icon(QT_TRANSLATE_NOOP("Purseward", "Choose payee"));
    label(QT_TRANSLATE_NOOP("Purseward", "To :"), to_);
    grid->addWidget(to_, row, 1);
    grid->addWidget(payeeButton_, row++, 2, Qt::AlignLeft);

    amount_ = field(QT_TRANSLATE_NOOP("Purseward", "Amount"), Qt::AlignRight, false);
    label(QT_TRANSLATE_NOOP("Purseward", "Amount : "), amount_);
    grid->addWidget(amount_, row++, 1);

    memo_ = field(QT_TRANSLATE_NOOP("Purseward", "Memo"), Qt::AlignLeft, false);
    memoButton_ = icon(QT_TRANSLATE_NOOP("Purseward", "Choose memo"));
    label(QT_TRANSLATE_NOOP("Purseward", "Memo : "), memo_);
    grid->addWidget(memo_, row, 1);
    grid->addWidget(memoButton_, row++, 2, Qt::AlignLeft);

    if (variant_.paymentId) {
        paymentId_ = field(QT_TRANSLATE_NOOP("Purseward", "Payment ID"), Qt::AlignLeft, false);
        label(QT_TRANSLATE_NOOP("Purseward", "Payment ID :"), paymentId_);
        grid->addWidget(paymentId_, row++, 1);
    }
    if (variant_.getName) {
        getName_ = new QPushButton(Purseward::tr("Get Name"), this);
        getName_->setAccessibleName(Purseward::tr("Get Name"));
        getName_->setEnabled(false);
        name_ = ReadOnly(Qt::AlignLeft, Purseward::tr("Payee name"));
        grid->addWidget(getName_, row, 0);
        grid->addWidget(name_, row++, 1);
        connect(getName_, &QPushButton::clicked, this, [this] { GetName(); });
    }
    if (variant_.fee) {
        fee_ = ReadOnly(Qt::AlignRight, Purseward::tr("Fee"));
        overall_ = ReadOnly(Qt::AlignRight, Purseward::tr("Overall Amount"));
        label(QT_TRANSLATE_NOOP("Purseward", "Fee :"), fee_);
        grid->addWidget(fee_, row++, 1);
        label(QT_TRANSLATE_NOOP("Purseward", "Overall Amount :"), overall_);
        grid->addWidget(overall_, row++, 1);
        connect(amount_, &QLineEdit::editingFinished, this, [this] { UpdateFee(); });
    }

    schedule_ = new QCheckBox(Purseward::tr("Shedule this payment"), this);
    schedule_->setAccessibleName(Purseward::tr("Shedule this payment"));
    grid->addWidget(schedule_, row++, 0, 1, 3);
    date_ = new QDateEdit(this);
    date_->setCalendarPopup(true);
    date_->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
    date_->setAccessibleName(Purseward::tr("Date"));
    time_ = new QTimeEdit(this);
    time_->setDisplayFormat(QStringLiteral("HH:mm"));
    time_->setAccessibleName(Purseward::tr("Time"));
    const LocalDateTime start = LocalOf(now);
    date_->setDate(QDate(start.year, start.month, start.day));
    time_->setTime(QTime(start.hour, start.minute));
    auto* when = new QHBoxLayout;
    when->addWidget(date_);
    when->addWidget(time_);
    label(QT_TRANSLATE_NOOP("Purseward", "Date/Time"), date_);
    grid->addLayout(when, row++, 1, 1, 2);
    retry_ = new QCheckBox(Purseward::tr("Try send again if failed"), this);
    retry_->setAccessibleName(Purseward::tr("Try send again if failed"));
    grid->addWidget(retry_, row++, 0, 1, 3);
    connect(schedule_, &QCheckBox::clicked, this, [this] { UpdateScheduleControls(); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    grid->addWidget(buttons, row, 0, 1, 3);
    connect(buttons, &QDialogButtonBox::accepted, this, &CMakePayment::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CMakePayment::reject);
    connect(payeeButton_, &QToolButton::clicked, this, [this] { ChoosePayee(); });
    connect(memoButton_, &QToolButton::clicked, this, [this] { ChooseMemo(); });

    chooser_ = [this](QWidget* parent, const RefListSpec& list) {
        NameLookup lookup;
        lookup.query = lookup_;
        lookup.enabled = static_cast<bool>(lookup_);
        return CRef::Choose(parent, programDir_, list.file, ui_, lookup);
    };
    UpdateScheduleControls();
}

CMakePayment::~CMakePayment() {
    // Closing the dialog takes the focus from Amount while the dialog is being destroyed: its
    // fee update must not run on what is left of it.
    if (amount_) amount_->disconnect(this);
}

void CMakePayment::SetRecord(const PaymentRecord& r) {
    to_->setText(Q(r.payee));
    amount_->setText(Q(r.amount));
    memo_->setText(Q(r.memo));
    if (paymentId_ != nullptr) paymentId_->setText(Q(r.paymentId));
    schedule_->setChecked(r.scheduled && schedule_->isEnabled());
    retry_->setChecked(r.sendIfFailed);
    if (const std::optional<std::int64_t> due = DueSeconds(r.due)) {
        const std::int64_t days = *due / 86400, secs = *due % 86400;
        date_->setDate(QDate(1899, 12, 30).addDays(days));
        time_->setTime(QTime(static_cast<int>(secs / 3600), static_cast<int>(secs / 60 % 60)));
    }
    failedMark_ = r.failed;
    UpdateScheduleControls();
}

void CMakePayment::SetSchedulingAllowed(bool allowed) {
    if (!allowed) schedule_->setChecked(false);
    schedule_->setEnabled(allowed);
    schedule_->setToolTip(allowed ? QString() : Purseward::tr(kSchedulingNeedsLoginText));
    UpdateScheduleControls();
}

void CMakePayment::SetNameLookup(std::function<std::string(const std::string&)> lookup) {
    lookup_ = std::move(lookup);
    if (getName_ != nullptr) getName_->setEnabled(static_cast<bool>(lookup_));
}

void CMakePayment::UpdateScheduleControls() {
    const bool on = schedule_->isChecked();
    date_->setEnabled(on);
    time_->setEnabled(on);
    retry_->setEnabled(on);
}

void CMakePayment::UpdateFee() {
    if (!variant_.fee) return;
    const FeeView v = PmFeeView(S(amount_->text()));
    if (!v.amount.empty()) amount_->setText(Q(v.amount));
    fee_->setText(Q(v.fee));
    overall_->setText(Q(v.overall));
}

void CMakePayment::GetName() {
    const std::string account = S(to_->text());
    if (account.empty() || !lookup_ || name_ == nullptr) return;
    name_->setText(Q(lookup_(account)));
}

void CMakePayment::ChoosePayee() {
    const std::string row = chooser_(this, RefListOf(variant_.systemIndex, false));
    if (row.empty()) return;
    const TextList f = Split(row, "~");
    to_->setText(Q(f[0]).toUpper());
    if (name_ != nullptr) name_->setText(f.size() > 1 ? Q(f[1]) : QString());
    amount_->setFocus();
}

void CMakePayment::ChooseMemo() {
    const std::string row = chooser_(this, RefListOf(variant_.systemIndex, true));
    if (row.empty()) return;
    memo_->setText(Q(Split(row, "~")[0]));
}

PaymentEntry CMakePayment::Entry() const {
    PaymentEntry e;
    e.to = S(to_->text());
    e.amount = S(amount_->text());
    e.memo = S(memo_->text());
    if (paymentId_ != nullptr) e.paymentId = S(paymentId_->text());
    e.balance = S(balanceEdit_->text());
    e.scheduled = schedule_->isChecked();
    return e;
}

void CMakePayment::Focus(EntryField field) {
    QLineEdit* edit = field == EntryField::To          ? to_
                      : field == EntryField::Memo      ? memo_
                      : field == EntryField::PaymentId ? paymentId_
                                                       : amount_;
    if (edit != nullptr) edit->setFocus();
}

void CMakePayment::accept() {
    // The fee is recomputed here too: OK may come without Amount losing its focus.
    UpdateFee();
    const PaymentEntry entry = Entry();
    checked_ = CheckEntry(entry, variant_, source);
    if (!checked_.Ok()) {
        ui_.Message(checked_.message);
        Focus(checked_.focus);
        return;
    }
    record_ = PaymentRecord{};
    record_.payee = entry.to;
    record_.amount = checked_.amountText;
    record_.memo = entry.memo;
    record_.paymentId = entry.paymentId;
    record_.scheduled = entry.scheduled;
    if (entry.scheduled) {
        const QDate d = date_->date();
        const QTime t = time_->time();
        record_.due = OleText({d.year(), d.month(), d.day(), t.hour(), t.minute(), 0});
        record_.sendIfFailed = retry_->isChecked();
    }
    record_.source = source;
    record_.failed = failedMark_;
    QDialog::accept();
}

void CMakePayment::showEvent(QShowEvent* event) {
    setWindowTitle(TrText(caption));
    fromEdit_->setText(Q(from));
    balanceEdit_->setText(Q(balance));
    UpdateScheduleControls();
    UpdateFee();
    QDialog::showEvent(event);
    to_->setFocus();
}

}  // namespace pw
