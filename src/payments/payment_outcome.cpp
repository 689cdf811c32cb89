#include "payments/payment_outcome.h"

#include "ui/base/tr.h"

namespace pw {
namespace {

std::string Detail(const TransferResult& r) {
    return r.exchange.text.empty()
               ? Purseward::tr("the answer carried no confirmation").toStdString()
               : r.exchange.text;
}

}  // namespace

std::string UnknownOutcomeMessage(const PaymentRecord& r, const std::string& detail,
                                  bool scheduled) {
    QString text = Purseward::tr(
                       "The payment of %1 to %2 may have been made: no answer said "
                       "whether it was (%3).")
                       .arg(QString::fromStdString(r.amount), QString::fromStdString(r.payee),
                            QString::fromStdString(detail));
    if (scheduled)
        text += Purseward::tr(" It is marked as failed and will not be sent again by itself.");
    return (text + Purseward::tr(" Look at the history before you send it again.")).toStdString();
}

std::string NotSentMessage(const PaymentRecord& r, const std::string& detail) {
    return Purseward::tr("The payment of %1 to %2 was not sent: %3")
        .arg(QString::fromStdString(r.amount), QString::fromStdString(r.payee),
             QString::fromStdString(detail))
        .toStdString();
}

std::string ImmediatePaymentReport(const TransferResult& result, const PaymentRecord& record) {
    switch (result.state) {
        case TransferState::NotBuilt:
            return TrText(kPaymentNotSentText).toStdString();
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
