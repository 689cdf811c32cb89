#pragma once
// The mass payment without widgets: the window's variants, Result Amount, the scheduled
// records a window starts with, what goes back into the schedule at OK, the records an import
// adds, and the one summary the user gets after a mass send.
#include <cstddef>
#include <string>
#include <vector>

#include "payments/amount.h"
#include "payments/csv_import.h"
#include "payments/payment_record.h"
#include "store/text_list.h"

namespace pw {

// What the mass-payment windows of the systems differ in, beside the payment variant (payment
// ID column and CSV field, fee in Result Amount).
struct MassPaymentVariant {
    const char* className;  // "CMakeMassPayment", "CPMMakeMassPayment", ...
    int systemIndex;        // 0 LR, 1 PM, 2 VM, 3 EG
    const char* tableFile;  // below Set/
    const char* csvFile;    // below Sample/, offered by the import
    bool oneRequest;        // every record in one transfer request (LR), else one per record
    const PaymentVariant& Payment() const { return *PaymentVariantOf(systemIndex); }
    int CsvMinFields() const { return Payment().paymentId ? 4 : 3; }
};
// The variant of a system with payments (0..3), nullptr for the others.
const MassPaymentVariant* MassPaymentVariantOf(int systemIndex);

// What a record takes from the balance: its amount, plus the fee where the system charges one.
// A record whose amount is not a plain number counts with the amount read as far as it goes.
Cents RecordCost(const std::string& record, const PaymentVariant& variant);
// Result Amount: the cost of every record of the queue.
Cents ResultAmount(const TextList& queue, const PaymentVariant& variant);
// What OK compares with the balance: the cost of the records that are sent now (the scheduled
// ones go back into the schedule).
Cents SendNowAmount(const TextList& queue, const PaymentVariant& variant);

// The scheduled records of one payer (source field equal to source), in schedule order, and
// their positions in the schedule.
struct Preloaded {
    TextList records;
    std::vector<std::size_t> positions;
};
Preloaded PreloadScheduled(const TextList& schedule, const PaymentVariant& variant,
                           const std::string& source);

// At OK: the schedule without the preloaded records and with every queued record that is
// scheduled (in queue order, at the end; the caller sorts), and the records to send now.
struct MassSplit {
    TextList schedule;
    TextList toSend;
};
MassSplit SplitAtOk(const TextList& schedule, const std::vector<std::size_t>& preloaded,
                    const TextList& queue, const PaymentVariant& variant);

// The record of an imported line: not scheduled, not failed, the window's source.
std::string ImportedRecord(const CsvPayment& payment, const PaymentVariant& variant,
                           const std::string& source);

// What became of each record of a mass send.
enum class MassResult {
    Sent,       // the system confirmed it
    Refused,    // the system answered with errors: not sent
    Unknown,    // the request went out and no usable answer came back
    NotSent,    // the request provably never left (the connection failed)
    Skipped,    // the payment password was cancelled or wrong
    Held,       // not sent: an earlier payment to the same payee has an unknown outcome
    BadAmount,  // not sent: the amount is not a plain number of at most two decimals
};

struct MassOutcome {
    std::string payee;
    std::string amount;  // the record's amount text
    MassResult result = MassResult::Sent;
    std::string error;  // the system's errors (Refused) or the transport's text (NotSent)
};

// The one message after a mass send: how many were sent, then the records that were not, by
// reason, each with payee and amount.
std::string MassSendSummary(const std::vector<MassOutcome>& outcomes);

}  // namespace pw
