#include "accounts/pm/pm_requests.h"

#include <string>

namespace pw::pm {
namespace {

SecureString Credentials(const LoginFields& login) {
    return Joined(
        {"AccountID=", QueryValue(login.account), "&PassPhrase=", QueryValue(login.secret)});
}

const std::string& FieldAt(const TextList& f, std::size_t i) {
    static const std::string empty;
    return i < f.size() ? f[i] : empty;
}

}  // namespace

std::string TrimBlanks(const std::string& text) {
    const std::size_t b = text.find_first_not_of(' ');
    if (b == std::string::npos) return std::string();
    return text.substr(b, text.find_last_not_of(' ') - b + 1);
}

SecureString BalanceUrl(const std::string& host, const LoginFields& login) {
    return Joined({"https://", host, kBalancePath, Credentials(login)});
}

SecureString HistoryUrl(const std::string& host, const LoginFields& login,
                        const HistoryFilter& filter) {
    SecureString url = Joined({"https://", host, kHistoryPath, Credentials(login)});
    url += "&startmonth=" + std::to_string(filter.from.month) +
           "&startday=" + std::to_string(filter.from.day) +
           "&startyear=" + std::to_string(filter.from.year);
    url += "&endmonth=" + std::to_string(filter.to.month) +
           "&endday=" + std::to_string(filter.to.day) +
           "&endyear=" + std::to_string(filter.to.year);
    if (filter.byAccount) url += "&counterfilter=" + QueryValue(TrimBlanks(filter.counterpart));
    if (filter.byBatch) url += "&batchfilter=" + QueryValue(TrimBlanks(filter.batch));
    url += "&desc=1";
    return url;
}

bool IsPlainAmount(const std::string& text) {
    bool digit = false, point = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') digit = true;
        else if (c == '.' && !point) point = true;
        else return false;
    }
    return digit;
}

SecureString TransferUrl(const std::string& host, const LoginFields& login, const TextList& queue,
                         const std::function<bool()>& paymentCheck) {
    if (queue.empty()) return {};
    const TextList f = Split(queue.front(), "~");
    if (f.size() < 8 || !IsPlainAmount(f[1])) return {};
    if (paymentCheck && !paymentCheck()) return {};
    return Joined({"https://", host, kTransferPath, Credentials(login), "&Payer_Account=",
                   QueryValue(FieldAt(f, 7)), "&Payee_Account=", QueryValue(FieldAt(f, 0)),
                   "&Amount=", QueryValue(FieldAt(f, 1)), "&Memo=", QueryValue(FieldAt(f, 2)),
                   "&PAYMENT_ID=", QueryValue(FieldAt(f, 3))});
}

Date FromDateNotInFuture(const Date& from, const Date& utcToday) {
    const auto key = [](const Date& d) { return (d.year * 100 + d.month) * 100 + d.day; };
    return key(from) > key(utcToday) ? utcToday : from;
}

DateRange AccountFilterRange(const Date& localToday) { return {kAccountFilterStart, localToday}; }

AccountBoxDates OnAccountBoxClicked(bool nowTicked, const AccountBoxDates& dates,
                                    const Date& localToday) {
    if (nowTicked) return {AccountFilterRange(localToday), dates.shown};
    return {dates.old, dates.old};
}

HistoryForAccount ForAccountOfRow(const std::string& historyRow, const HistoryFilter& filter,
                                  const Date& localToday) {
    HistoryForAccount r;
    r.dates = OnAccountBoxClicked(true, {{filter.from, filter.to}, {}}, localToday);
    r.filter = filter;
    r.filter.byAccount = true;
    r.filter.counterpart = FieldAt(Split(historyRow, "~"), 1);
    r.filter.byBatch = false;
    r.filter.from = r.dates.shown.from;
    r.filter.to = r.dates.shown.to;
    return r;
}

}  // namespace pw::pm
