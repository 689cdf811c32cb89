#include "accounts/vm/vm_requests.h"

#include <openssl/crypto.h>

#include <cstdio>

#include "accounts/request_text.h"
#include "crypto/cipher.h"

namespace pw::vm {
namespace {

// "<Request><Type>type</Type><Auth><AccountId>..</AccountId><Token>..</Token>"; the caller
// closes the Auth element (the balance request closes Request with it).
SecureString Head(const char* type, const LoginFields& login, std::time_t now) {
    SecureString out = "<Request><Type>";
    out += type;
    out += "</Type><Auth>";
    out += XmlElement("AccountId", login.account);
    out += XmlElement("Token", AccessToken(login.account, login.apiName, login.secret, now));
    return out;
}

std::string IsoDate(const Date& d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

}  // namespace

std::string AccessToken(std::string_view account, std::string_view pin, std::string_view password,
                        std::time_t now) {
    // The password's digest with the PIN makes every token: it is wiped like the password.
    std::string passwordDigest = Md5HexLower(password);
    std::string token =
        Md5HexLower(Joined({account, passwordDigest, pin, UtcText("%Y%m%d%H", now)}));
    OPENSSL_cleanse(passwordDigest.data(), passwordDigest.size());
    return token;
}

SecureString BuildBalanceRequest(const LoginFields& login, std::time_t now) {
    return Head("Balance", login, now) + "</Auth></Request>";
}

SecureString BuildAccountStatusRequest(const LoginFields& login, const std::string& lookup,
                                       std::time_t now) {
    return Head("AccountStatus", login, now) + "</Auth>" + XmlElement("LookupAccountId", lookup) +
           "</Request>";
}

SecureString BuildHistoryRequest(const LoginFields& login, const HistoryFilter& filter,
                                 std::time_t now) {
    SecureString doc = Head("History", login, now) + "</Auth>";
    doc += XmlElement("StartDate", IsoDate(filter.from));
    doc += XmlElement("EndDate", IsoDate(filter.to));
    doc += "<TransTypes>";
    for (const char* type : kTransTypes) doc += XmlElement("TransType", type);
    doc += "</TransTypes>";
    if (filter.byBatch) doc += XmlElement("TransId", filter.batch);
    doc += "</Request>";
    return doc;
}

SecureString BuildTransferRequest(const LoginFields& login, const TextList& queue,
                                  const std::function<bool()>& paymentCheck, std::time_t now) {
    if (queue.empty()) return {};
    if (paymentCheck && !paymentCheck()) return {};
    const TextList f = Split(queue.front(), "~");
    const auto field = [&f](std::size_t i) -> std::string_view {
        return i < f.size() ? std::string_view(f[i]) : std::string_view();
    };
    SecureString doc = Head("Transfer", login, now) + "</Auth>";
    doc += "<Transfers><Transfer><ID>1</ID>";
    doc += XmlElement("Payee", field(0));
    doc += XmlElement("Amount", field(1));
    doc += XmlElement("Memo", field(2));
    doc += "</Transfer></Transfers></Request>";
    return doc;
}

SecureString MakeUrl(const std::string& host, std::string_view document) {
    return Joined({"https://", host, kEndpoint, PercentEncode(document)});
}

}  // namespace pw::vm
