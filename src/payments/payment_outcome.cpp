#include "payments/payment_outcome.h"

namespace pw {
namespace {

std::string Detail(const TransferResult& r) {
    return r.exchange.text.empty() ? std::string("the answer carried no confirmation")
                                   : r.exchange.text;
}

}  // namespace

std::string UnknownOutcomeMessage(const PaymentRecord& r, const std::string& detail,
                                  bool scheduled) {
    std::string text = "The payment of " + r.amount + " to " + r.payee +
                       " may have been made: no answer said whether it was (" + detail + ").";
    if (scheduled) text += " It is marked as failed and will not be sent again by itself.";
    return text + " Look at the history before you send it again.";
}

std::string NotSentMessage(const PaymentRecord& r, const std::string& detail) {
    return "The payment of " + r.amount + " to " + r.payee + " was not sent: " + detail;
}

std::string ImmediatePaymentReport(const TransferResult& result, const PaymentRecord& record) {
    switch (result.state) {
        case TransferState::NotBuilt:
            return kPaymentNotSentText;
        case TransferState::NotSent:
            return NotSentMessage(record, result.exchange.text);
        case TransferState::Refused:
        case TransferState::Confirmed:
            return result.errorReport;
        case TransferState::Unknown:
            return UnknownOutcomeMessage(record, Detail(result), false);
    }
    return std::string();
}

}  // namespace pw
