#pragma once
// Payment records and the per-system description of a payment (the variant): which fields
// the payment dialog has, what the tab shows as payer and balance, and how a record is laid
// out. No widgets.
//
// A record is one text of "~"-joined fields, no escaping. Liberty Reserve and V-Money have
// 8 fields, Perfect Money and e-gold 9 (the payment ID at index 3):
//   LR/VM: payee, amount, memo, scheduled, due time, send if failed, source, failed mark
//   PM/EG: payee, amount, memo, payment ID, scheduled, due time, send if failed, source,
//          failed mark
// The source is the balance row's first cell (LR currency, PM payer account, EG metal) or,
// for V-Money, the payer text as shown ("VM100001 [USD]"). Flags are "yes"/"no"; the due time
// is an OLE automation date "%f" (ole_date.h), empty when the payment is not scheduled.
#include <optional>
#include <string>

#include "store/text_list.h"

namespace pw {

struct PaymentVariant {
    int systemIndex = 0;  // 0 LR, 1 PM, 2 VM, 3 EG
    const char* prefix = "";
    bool paymentId = false;  // "Payment ID :" field and record field 3
    bool getName = false;    // "Get Name" and the payee's name
    bool fee = false;        // "Fee :" and "Overall Amount :"; the balance covers both
    // The payer text: "%s [%s]" of the tab's account and the row's first cell, or the first
    // cell alone.
    bool fromWithAccount = true;
    int balanceCell = 1;            // the balance row's cell shown as balance ("%.2f")
    bool sourceIsFromText = false;  // record source = payer text (V-Money), else first cell
    int FieldCount() const { return paymentId ? 9 : 8; }
    int DueField() const { return paymentId ? 5 : 4; }
};

// The variant of a system with payments (0..3), nullptr for GDP and ECUMoney.
const PaymentVariant* PaymentVariantOf(int systemIndex);

struct PaymentRecord {
    std::string payee, amount, memo, paymentId;
    bool scheduled = false;
    std::string due;  // "%f" OLE date; empty when not scheduled
    bool sendIfFailed = false;
    std::string source;
    bool failed = false;
    friend bool operator==(const PaymentRecord&, const PaymentRecord&) = default;
};

// The record text in the variant's layout. A payment that is not scheduled is written with
// "no", an empty due time and "no" for send-if-failed whatever the record holds.
std::string RecordText(const PaymentRecord& record, const PaymentVariant& variant);
// The record of a text with exactly the variant's field count; nullopt otherwise.
std::optional<PaymentRecord> ParseRecord(const std::string& text, const PaymentVariant& variant);

// What the tab shows in the payment dialog for a balance row.
struct PayerView {
    std::string from;     // payer text
    std::string balance;  // "%.2f" of the balance cell
    std::string source;   // the record's source field
};
PayerView PayerOf(const PaymentVariant& variant, const std::string& account,
                  std::string_view balanceRow);

// A text that may stand in a record field: no "~", no line break.
bool FitsRecordField(const std::string& text);

}  // namespace pw
