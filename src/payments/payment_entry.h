#pragma once
// The checks of a payment as typed into the payment dialog (or a row of the mass-payment
// window), in the order the dialog runs them at OK. No widgets.
#include <string>

#include "payments/amount.h"
#include "payments/payment_record.h"

namespace pw {

struct PaymentEntry {
    std::string to, amount, memo, paymentId;  // as typed
    std::string balance;                      // the balance field ("%.2f")
    bool scheduled = false;
};

// Which field a failed check puts the focus on.
enum class EntryField { None, To, Amount, Memo, PaymentId };

struct EntryCheck {
    std::string message;  // empty: the entry passed
    EntryField focus = EntryField::None;
    Cents amount = 0, fee = 0, overall = 0;  // exact, once the amount passed
    std::string amountText;                  // the record's amount: as typed with "." (PM: "%.2f")
    bool Ok() const { return message.empty(); }
};

// What the fee fields of Perfect Money show for a typed amount: the amount "%.2f", the fee
// and the overall amount; all empty when the amount is not a plain number.
struct FeeView {
    std::string amount, fee, overall;
};
FeeView PmFeeView(const std::string& typedAmount);

// 127 without a payee; 128 without an amount; 129 for an amount that is not a plain number
// of at most two decimals, not above 0, or above the balance (PM: the amount with its fee).
// A "~" or line break in To, Memo or Payment ID would split the record: refused with a
// message. A scheduled payment whose record the schedule file cannot hold is refused.
// source: the record's source field (for the length of the record).
EntryCheck CheckEntry(const PaymentEntry& entry, const PaymentVariant& variant,
                      const std::string& source);

// The text of a refused record that is too long for the schedule file.
extern const char kRecordTooLongText[];

}  // namespace pw
