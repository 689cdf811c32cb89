#pragma once
// The four request documents of the Liberty Reserve XML interface and their URLs. Each
// document is one line of XML; field values are XML-escaped and the whole document is
// percent-encoded into the "req" query key. The documents and URLs carry the API name and
// the token of the secret word: they are SecureString.
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

#include "accounts/account_client.h"
#include "accounts/request_text.h"
#include "store/text_list.h"

namespace pw::lr {

inline constexpr const char kBalancePath[] = "/xml/balance.aspx?req=";
inline constexpr const char kHistoryPath[] = "/xml/history.aspx?req=";
inline constexpr const char kTransferPath[] = "/xml/transfer.aspx?req=";
inline constexpr const char kAccountNamePath[] = "/xml/accountname.aspx?req=";

using pw::PercentEncode;
using pw::XmlEscape;

// Local time of now as "%d%m%y%H%M%S".
std::string RequestStamp(std::time_t now);
// SHA-256 (64 upper-case hex digits) of "secret:%Y%m%d:%H", date and hour in UTC of now.
std::string AuthToken(std::string_view secret, std::time_t now);

SecureString BuildBalanceRequest(const LoginFields& login, const TextList& currencies,
                                 std::time_t now);
// page 0: no pager unless "Get last"; page > 0: a pager of 50 with that page number.
SecureString BuildHistoryRequest(const LoginFields& login, const HistoryFilter& filter, int page,
                                 std::time_t now);
// One <Transfer> per payment record (payee, amount, memo, ..., currency at index 6).
// paymentCheck runs first (when set); if it fails the document is empty.
SecureString BuildTransferRequest(const LoginFields& login, const TextList& queue,
                                  const std::function<bool()>& paymentCheck, std::time_t now);
SecureString BuildAccountNameRequest(const LoginFields& login, const std::string& accountToRetrieve,
                                     std::time_t now);

// "https://" host path, followed by the percent-encoded document.
SecureString MakeUrl(const std::string& host, const char* path, std::string_view document);

}  // namespace pw::lr
