#pragma once
// The requests of the e-gold account interface and of its metal price page. Every request is
// one GET of a complete URL; the values are sent as typed, except the few bytes that would
// change the meaning of the query, which are percent-encoded. The URLs that carry the
// passphrase are SecureString.
#include <functional>
#include <string>

#include "accounts/account_client.h"
#include "store/text_list.h"

namespace pw::eg {

inline constexpr const char kBalancePath[] = "/acct/balance.asp?";
inline constexpr const char kHistoryPath[] = "/acct/historycsv.asp?";
inline constexpr const char kTransferPath[] = "/acct/confirm.asp?";
inline constexpr const char kPricePath[] = "/unsecure/metaldata.asp?LATEST=1";

// "Gold", "Silver", "Platinum", "Palladium": the metal at index k has price k.
const TextList& Metals();

// The host of the price page: priceHost when set, otherwise the host of egHost (without its
// port), so the page is asked on port 80.
std::string PriceHost(const std::string& egHost, const std::string& priceHost);
// "http://" priceHost "/unsecure/metaldata.asp?LATEST=1"
std::string PriceUrl(const std::string& priceHost);

// "https://" host "/acct/balance.asp?AccountID=..&Passphrase=.." (lower-case p here).
SecureString BalanceUrl(const std::string& host, const LoginFields& login);
// The history request: always the date range of filter.from/to and all eight kinds of
// operation; counterfilter and batchfilter when ticked; "&desc=1" last.
SecureString HistoryUrl(const std::string& host, const LoginFields& login,
                        const HistoryFilter& filter);

// The fields of an e-gold payment record (nine, joined by "~").
enum RecordField {
    kPayee = 0, kAmount = 1, kMemo = 2, kPaymentId = 3, kScheduled = 4, kDue = 5,
    kSendAgain = 6, kMetal = 7, kFailed = 8, kRecordFields = 9
};

// The transfer request for the first record of the queue. paymentCheck (when set) runs
// first; when it fails, or the queue is empty, the text is empty and nothing may be sent.
SecureString TransferUrl(const std::string& host, const LoginFields& login, const TextList& queue,
                         const std::function<bool()>& paymentCheck);

}  // namespace pw::eg
