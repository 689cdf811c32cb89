#pragma once
// What the user is told about a payment request, from what became of it.
#include <QCoreApplication>
#include <string>

#include "accounts/transfer_request.h"
#include "payments/payment_record.h"

namespace pw {

// Our own text for a payment stopped at the payment password (cancelled or wrong).
inline constexpr char kPaymentNotSentText[] =
    QT_TRANSLATE_NOOP("Purseward", "The payment was not sent.");

// A payment whose request went out without an answer that says what happened. scheduled:
// the record stays in the schedule marked failed and is not sent again by itself.
std::string UnknownOutcomeMessage(const PaymentRecord& record, const std::string& detail,
                                  bool scheduled);
// A payment whose request never left (it names the payee and the amount).
std::string NotSentMessage(const PaymentRecord& record, const std::string& detail);

// The one message box after a payment sent at once, or "" when there is nothing to say (sent
// without errors).
std::string ImmediatePaymentReport(const TransferResult& result, const PaymentRecord& record);

}  // namespace pw
