#pragma once
// The four request documents of the V-Money interface and their URL. Each document is one
// line of XML; field values are XML-escaped and the whole document is percent-encoded into
// the "request_data" query key of the single endpoint. The documents and URLs carry the PIN's
// token: they are SecureString.
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

#include "accounts/account_client.h"
#include "store/text_list.h"

namespace pw::vm {

inline constexpr const char kEndpoint[] = "/vai.php?request_data=";

// The six kinds of operation the history request always asks for, in order.
inline constexpr const char* kTransTypes[] = {"received",  "sent",     "fees",
                                              "referrals", "deposits", "withdrawals"};

// MD5 (32 lower-case hex digits) of account + MD5(password) + pin + "%Y%m%d" + "%H", date and
// hour in UTC of now. Every text is digested whole, whatever its length.
std::string AccessToken(std::string_view account, std::string_view pin, std::string_view password,
                        std::time_t now);

// login: account = Account ID, apiName = PIN, secret = password.
SecureString BuildBalanceRequest(const LoginFields& login, std::time_t now);
SecureString BuildAccountStatusRequest(const LoginFields& login, const std::string& lookup,
                                       std::time_t now);
// Dates from filter.from/to as "%Y-%m-%d"; <TransId> with filter.batch when filter.byBatch.
SecureString BuildHistoryRequest(const LoginFields& login, const HistoryFilter& filter,
                                 std::time_t now);
// The first payment record of queue (payee, amount, memo, ...) with identifier 1.
// paymentCheck runs first (when set); if it fails, or the queue is empty, the document is
// empty and nothing is to be sent.
SecureString BuildTransferRequest(const LoginFields& login, const TextList& queue,
                                  const std::function<bool()>& paymentCheck, std::time_t now);

// "https://" host "/vai.php?request_data=" and the percent-encoded document.
SecureString MakeUrl(const std::string& host, std::string_view document);

}  // namespace pw::vm
