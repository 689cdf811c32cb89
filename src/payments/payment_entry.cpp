#include "payments/payment_entry.h"

#include "crypto/cipher.h"
#include "ui/base/strings.h"
#include "ui/base/tr.h"

namespace pw {

const char kRecordTooLongText[] = QT_TRANSLATE_NOOP(
    "Purseward",
    "This payment is too long to be kept in the schedule file. Shorten the memo or the "
    "other fields.");

namespace {

std::string SeparatorText(const char* field) {
    return Purseward::tr(
               "The field \"%1\" must not hold \"~\" or a line break: the payment "
               "record could not keep it.")
        .arg(TrText(field))
        .toStdString();
}

}  // namespace

FeeView PmFeeView(const std::string& typedAmount) {
    const std::optional<Cents> a = ExactAmount(typedAmount);
    if (!a) return {};
    return {FormatCents(*a), FormatCents(PmFee(*a)), FormatCents(*a + PmFee(*a))};
}

EntryCheck CheckEntry(const PaymentEntry& e, const PaymentVariant& v, const std::string& source) {
    EntryCheck c;
    if (e.to.empty()) {
        c.message = Str(127);
        c.focus = EntryField::To;
        return c;
    }
    const std::string amount = AmountWithPoint(e.amount);
    if (amount.empty()) {
        c.message = Str(128);
        c.focus = EntryField::Amount;
        return c;
    }
    const std::optional<Cents> cents = ExactAmount(amount);
    const std::optional<Cents> balance = ParseBalance(e.balance);
    if (cents) {
        c.amount = *cents;
        c.fee = v.fee ? PmFee(*cents) : 0;
        c.overall = c.amount + c.fee;
    }
    if (!cents || !balance || c.amount <= 0 || *balance < c.overall) {
        c.message = Str(129);
        c.focus = EntryField::Amount;
        return c;
    }
    c.amountText = v.fee ? FormatCents(c.amount) : amount;
    const struct {
        const std::string& text;
        const char* name;
        EntryField field;
    } texts[] = {
        {e.to, QT_TRANSLATE_NOOP("Purseward", "To"), EntryField::To},
        {e.memo, QT_TRANSLATE_NOOP("Purseward", "Memo"), EntryField::Memo},
        {e.paymentId, QT_TRANSLATE_NOOP("Purseward", "Payment ID"), EntryField::PaymentId}};
    for (const auto& t : texts) {
        if (!FitsRecordField(t.text)) {
            c.message = SeparatorText(t.name);
            c.focus = t.field;
            return c;
        }
    }
    if (e.scheduled) {
        PaymentRecord r{e.to,           c.amountText, e.memo, e.paymentId, true,
                        "99999.999999", true,         source, true};
        if (RecordText(r, v).size() > kMaxPlainBytes) {
            c.message = TrText(kRecordTooLongText).toStdString();
            c.focus = EntryField::Memo;
        }
    }
    return c;
}

}  // namespace pw
