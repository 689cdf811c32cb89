#include "accounts/lr/lr_requests.h"

#include <cstdio>

#include "crypto/cipher.h"

namespace pw::lr {
namespace {

SecureString Element(const char* name, std::string_view value) { return XmlElement(name, value); }

// The request element with its id attribute and the authentication block.
SecureString Head(const char* root, const LoginFields& login, std::time_t now) {
    SecureString out = "<";
    out += root;
    out += " id=\"";
    out += XmlEscape(login.account);
    out += "_";
    out += RequestStamp(now);
    out += "\">";
    out += "<Auth>";
    out += Element("ApiName", login.apiName);
    out += Element("Token", AuthToken(login.secret, now));
    out += "</Auth>";
    return out;
}

// "%Y-%d-%m" of a date without time: year, day, month.
std::string YearDayMonth(const Date& d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.day, d.month);
    return buf;
}

}  // namespace

std::string RequestStamp(std::time_t now) { return LocalText("%d%m%y%H%M%S", now); }

std::string AuthToken(std::string_view secret, std::time_t now) {
    return PasswordHash(Joined({secret, ":", UtcText("%Y%m%d:%H", now)}));
}

SecureString BuildBalanceRequest(const LoginFields& login, const TextList& currencies,
                                 std::time_t now) {
    SecureString doc = Head("BalanceRequest", login, now);
    for (const std::string& currency : currencies) {
        doc += "<Balance>";
        doc += Element("CurrencyId", currency);
        doc += Element("AccountId", login.account);
        doc += "</Balance>";
    }
    doc += "</BalanceRequest>";
    return doc;
}

SecureString BuildHistoryRequest(const LoginFields& login, const HistoryFilter& filter, int page,
                                 std::time_t now) {
    SecureString doc = Head("HistoryRequest", login, now);
    doc += "<History>";
    doc += Element("AccountId", login.account);
    if (filter.getLast) {
        doc += "<Pager>";
        doc += "<PageSize>" + std::to_string(filter.count) + "</PageSize>";
        doc += "<PageNumber>1</PageNumber></Pager>";
    } else {
        if (filter.fromTo) {
            doc += Element("From", YearDayMonth(filter.from) + " 00:00:00");
            doc += Element("Till", YearDayMonth(filter.to) + " 23:59:59");
        }
        if (filter.byAccount) doc += Element("CorrespondingAccountId", filter.counterpart);
        if (filter.byBatch) doc += Element("ReceiptId", filter.batch);
        if (page > 0) {
            doc += "<Pager><PageSize>50</PageSize>";
            doc += "<PageNumber>" + std::to_string(page) + "</PageNumber>";
            doc += "</Pager>";
        }
    }
    doc += "</History></HistoryRequest>";
    return doc;
}

SecureString BuildTransferRequest(const LoginFields& login, const TextList& queue,
                                  const std::function<bool()>& paymentCheck, std::time_t now) {
    if (paymentCheck && !paymentCheck()) return {};
    SecureString doc = Head("TransferRequest", login, now);
    for (const std::string& record : queue) {
        const TextList f = Split(record, "~");
        const auto field = [&f](std::size_t i) -> std::string_view {
            return i < f.size() ? std::string_view(f[i]) : std::string_view();
        };
        doc += "<Transfer><TransferId></TransferId><TransferType>transfer</TransferType>";
        doc += Element("Payer", login.account);
        doc += Element("Payee", field(0));
        doc += Element("CurrencyId", field(6));
        doc += Element("Amount", field(1));
        doc += Element("Memo", field(2));
        doc += "<Anonymous>false</Anonymous></Transfer>";
    }
    doc += "</TransferRequest>";
    return doc;
}

SecureString BuildAccountNameRequest(const LoginFields& login, const std::string& accountToRetrieve,
                                     std::time_t now) {
    SecureString doc = Head("AccountNameRequest", login, now);
    doc += "<AccountName>";
    doc += Element("AccountId", login.account);
    doc += Element("AccountToRetrieve", accountToRetrieve);
    doc += "</AccountName>";
    doc += "</AccountNameRequest>";
    return doc;
}

SecureString MakeUrl(const std::string& host, const char* path, std::string_view document) {
    return Joined({"https://", host, path, PercentEncode(document)});
}

}  // namespace pw::lr
