#include "accounts/eg/eg_requests.h"

#include <cstdio>

#include "accounts/query_value.h"

namespace pw::eg {
namespace {

SecureString Credentials(const LoginFields& login, const char* passKey) {
    return Joined(
        {"AccountID=", QueryValue(login.account), "&", passKey, "=", QueryValue(login.secret)});
}

std::string DateParams(const char* prefix, const Date& d) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "&%smonth=%d&%sday=%d&%syear=%d", prefix, d.month, prefix,
                  d.day, prefix, d.year);
    return buf;
}

const std::string& FieldAt(const TextList& f, std::size_t i) {
    static const std::string empty;
    return i < f.size() ? f[i] : empty;
}

}  // namespace

const TextList& Metals() {
    static const TextList metals = {"Gold", "Silver", "Platinum", "Palladium"};
    return metals;
}

std::string PriceHost(const std::string& egHost, const std::string& priceHost) {
    if (!priceHost.empty()) return priceHost;
    // "[::1]:443" keeps its brackets; "host:443" loses the port.
    const std::size_t bracket = egHost.rfind(']');
    const std::size_t colon = egHost.rfind(':');
    if (colon == std::string::npos || (bracket != std::string::npos && colon < bracket))
        return egHost;
    if (bracket == std::string::npos && egHost.find(':') != colon) return egHost;  // bare IPv6
    return egHost.substr(0, colon);
}

std::string PriceUrl(const std::string& priceHost) {
    return "http://" + priceHost + kPricePath;
}

SecureString BalanceUrl(const std::string& host, const LoginFields& login) {
    return Joined({"https://", host, kBalancePath, Credentials(login, "Passphrase")});
}

SecureString HistoryUrl(const std::string& host, const LoginFields& login,
                        const HistoryFilter& filter) {
    SecureString url = Joined({"https://", host, kHistoryPath, Credentials(login, "PassPhrase")});
    url += DateParams("start", filter.from);
    url += DateParams("end", filter.to);
    url += "&paymentsreceived=1&paymentsmade=1&inexchanges=1&outexchanges=1";
    url += "&bailments=1&redemptions=1&fees=1&incentives=1";
    if (filter.byAccount) url += "&counterfilter=" + QueryValue(filter.counterpart);
    if (filter.byBatch) url += "&batchfilter=" + QueryValue(filter.batch);
    url += "&desc=1";
    return url;
}

SecureString TransferUrl(const std::string& host, const LoginFields& login, const TextList& queue,
                         const std::function<bool()>& paymentCheck) {
    if (queue.empty()) return {};
    if (paymentCheck && !paymentCheck()) return {};
    const TextList r = Split(queue.front(), "~");
    return Joined({"https://", host, kTransferPath, Credentials(login, "PassPhrase"),
                   "&Payee_Account=", QueryValue(FieldAt(r, kPayee)),
                   "&Amount=", QueryValue(FieldAt(r, kAmount)), "&PAY_IN=1", "&WORTH_OF=",
                   QueryValue(FieldAt(r, kMetal)), "&Memo=", QueryValue(FieldAt(r, kMemo)),
                   "&IGNORE_RATE_CHANGE=y", "&PAYMENT_ID=", QueryValue(FieldAt(r, kPaymentId))});
}

}  // namespace pw::eg
