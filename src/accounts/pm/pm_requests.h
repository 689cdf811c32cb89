#pragma once
// The three requests of the Perfect Money interface (plain GET queries) and the date rules of
// the history filter. The URLs carry the passphrase: they are SecureString.
#include <functional>
#include <string>
#include <string_view>

#include "accounts/account_client.h"
#include "accounts/query_value.h"
#include "store/text_list.h"

namespace pw::pm {

inline constexpr const char kBalancePath[] = "/acct/balance.asp?";
inline constexpr const char kHistoryPath[] = "/acct/historycsv.asp?";
inline constexpr const char kTransferPath[] = "/acct/confirm.asp?";

// Blanks trimmed at both ends.
std::string TrimBlanks(const std::string& text);

// "https://" host and the balance query of AccountID and PassPhrase.
SecureString BalanceUrl(const std::string& host, const LoginFields& login);
// The history query: the date range always; counterfilter and batchfilter (trimmed) when
// their boxes are ticked; "&desc=1" last.
SecureString HistoryUrl(const std::string& host, const LoginFields& login,
                        const HistoryFilter& filter);
// The transfer query of the first queued payment record (payee 0, amount 1, memo 2, payment
// ID 3, payer 7). Empty (nothing is sent) when the queue is empty, the record has fewer than
// eight fields, its amount is not a plain number, or paymentCheck (when set) fails.
SecureString TransferUrl(const std::string& host, const LoginFields& login, const TextList& queue,
                         const std::function<bool()>& paymentCheck);

// Digits with at most one point and at least one digit: "12", "12.5", ".5".
bool IsPlainAmount(const std::string& text);

// The from-date sent: a from-date later than the current UTC date becomes that date.
Date FromDateNotInFuture(const Date& from, const Date& utcToday);

// The range the "PM-Account" box sets when ticked: 1 January 2007 to the local date today.
struct DateRange {
    Date from, to;
    friend bool operator==(const DateRange&, const DateRange&) = default;
};
inline constexpr Date kAccountFilterStart{2007, 1, 1};
DateRange AccountFilterRange(const Date& localToday);

// The remembered ("old") dates of the "PM-Account" box: ticking remembers the shown range and
// shows 1 January 2007 to today; clearing shows the remembered range again.
struct AccountBoxDates {
    DateRange shown;
    DateRange old;
};
AccountBoxDates OnAccountBoxClicked(bool nowTicked, const AccountBoxDates& dates,
                                    const Date& localToday);

// "Get history for account" of a history row: "PM-Account" ticked with the row's whole From/To
// text, "PM-Batch #" cleared, the shown dates remembered as the old ones and the range set to
// 1 January 2007 to today.
struct HistoryForAccount {
    HistoryFilter filter;
    AccountBoxDates dates;
};
HistoryForAccount ForAccountOfRow(const std::string& historyRow, const HistoryFilter& filter,
                                  const Date& localToday);

}  // namespace pw::pm
