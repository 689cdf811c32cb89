#pragma once
// The one transfer path of every client: the request for the first queued payment record is
// built (the payment check runs there), sent without a message of the transport, and its
// answer parsed. What the request came to is told from the transport's outcome and the
// system's confirmation in the answer, never from the absence of errors alone.
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

#include "accounts/account_client.h"
#include "net/transport.h"

namespace pw {

enum class TransferState {
    NotBuilt,   // the payment check failed (prompt cancelled, wrong password) or no request
    NotSent,    // the request never left: the payment can be sent again safely
    Confirmed,  // the answer carries the system's confirmation: the money moved
    Refused,    // the answer carries errors and no confirmation: nothing moved
    Unknown,    // the request went out and no answer says what happened: look at the history
};

struct TransferResult {
    TransferState state = TransferState::NotBuilt;
    Exchanged exchange;        // what the transport said (empty for NotBuilt)
    std::string confirmation;  // receipt, batch number or transaction id (Confirmed)
    std::string errorReport;   // the client's error lines, when the answer had errors
};

// Sends the transfer request of the first record of queue (LR: every record) through
// transport.Exchange and parses the answer as RequestKind::Transfer. An answer that could not
// be read whole, or one with neither errors nor a confirmation, is Unknown.
TransferResult SendTransfer(AccountClient& client, Transport& transport, const LoginFields& login,
                            const TextList& queue, const std::function<bool()>& paymentCheck,
                            std::time_t now, TransferControl* control = nullptr);

// The value of the first hidden form input called name (quoted with ' or ", or bare), or ""
// when there is none. Linear in the page.
std::string HiddenInputValue(std::string_view page, std::string_view name);
// The text of the first <element>...</element> at or after the first occurrence of within
// ("" for the whole text), or "" when there is none.
std::string ElementText(std::string_view xml, std::string_view element,
                        std::string_view within = {});

}  // namespace pw
