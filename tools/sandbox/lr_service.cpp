#include "lr_service.h"

#include <atomic>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <variant>

#include "lr_ledger.h"
#include "lr_xml.h"

namespace sandbox {
namespace {

using lr::LrError;
using lrxml::Element;

// Every date this interface writes, in the root's attribute and in the Date elements alike, is
// year, day, month (the same order the history filters arrive in).
constexpr char kDateFormat[] = "%Y-%d-%m %H:%M:%S";

std::string Utc(std::time_t t, const char* format) {
    std::tm tm{};
    gmtime_r(&t, &tm);
    char buf[64];
    const std::size_t n = std::strftime(buf, sizeof buf, format, &tm);
    return std::string(buf, n);
}

std::string ErrorXml(const LrError& e) {
    return "<Error>" + Element("Code", std::to_string(e.code)) + Element("Text", e.text) +
           Element("Description", e.description) + "</Error>";
}

LrError BadData(const std::string& element) {
    return {301, "Invalid data format", element + " element is empty or contains invalid data"};
}

std::string Text(std::string_view xml, std::string_view name) {
    const auto v = lrxml::Inner(xml, name);
    return v ? lrxml::Unescape(*v) : std::string();
}

// "yyyy-dd-MM HH:mm:ss" (year, day, month) as UTC seconds.
std::optional<std::time_t> YearDayMonth(const std::string& text) {
    int y, d, m, hh, mm, ss;
    char tail;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &y, &d, &m, &hh, &mm, &ss, &tail) != 6)
        return std::nullopt;
    if (m < 1 || m > 12 || d < 1 || d > 31 || hh > 23 || mm > 59 || ss > 59 || y < 1970)
        return std::nullopt;
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = m - 1;
    tm.tm_mday = d;
    tm.tm_hour = hh;
    tm.tm_min = mm;
    tm.tm_sec = ss;
    return timegm(&tm);
}

std::optional<int> Number(const std::string& text) {
    if (text.empty() || text.size() > 6) return std::nullopt;
    int v = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

class Service {
public:
    void Handle(const httplib::Request& req, httplib::Response& res, const char* request,
                const char* response) {
        const std::time_t now = std::time(nullptr);
        std::string body;
        const std::string doc = req.has_param("req") ? req.get_param_value("req") : std::string();
        std::string account;
        if (const auto error = Authenticate(doc, request, now, account)) {
            body = ErrorXml(*error);
        } else {
            const std::string name = request;
            if (name == "BalanceRequest") body = Balance(doc, account, now);
            else if (name == "HistoryRequest") body = History(doc, account);
            else if (name == "TransferRequest") body = Transfer(doc, account, now);
            else body = AccountName(doc, account, now);
        }
        const std::string answer = std::string("<") + response + " id=\"" +
                                   std::to_string(nextId_++) + "\" date=\"" +
                                   Utc(now, kDateFormat) + "\">" + body + "</" + response +
                                   ">";
        res.set_content(answer, "text/xml; charset=utf-8");
    }

private:
    std::optional<LrError> Authenticate(const std::string& doc, const char* root, std::time_t now,
                                        std::string& account) const {
        const auto id = lrxml::Attribute(doc, root, "id");
        const auto auth = lrxml::Inner(doc, "Auth");
        if (!id || !auth) return LrError{100, "Invalid request", std::string(root) + " is missing or malformed"};
        const std::string idText = lrxml::Unescape(*id);
        const std::size_t cut = idText.rfind('_');
        account = idText.substr(0, cut == std::string::npos ? idText.size() : cut);
        if (!ledger_.Authenticate(account, Text(*auth, "ApiName"), Text(*auth, "Token"), now))
            return LrError{201, "Authentication failed", "Invalid API name or security token"};
        return std::nullopt;
    }

    std::string Balance(const std::string& doc, const std::string& account, std::time_t now) const {
        const auto info = ledger_.Account(account);
        const auto items = lrxml::All(doc, "Balance");
        if (items.empty()) return ErrorXml(BadData("Balance"));
        std::string out;
        for (const std::string_view item : items) {
            const std::string currency = Text(item, "CurrencyId");
            if (Text(item, "AccountId") != account) {
                out += ErrorXml(BadData("AccountId"));
                continue;
            }
            const auto it = info->balances.find(currency);
            if (it == info->balances.end()) {
                out += ErrorXml(BadData("CurrencyId"));
                continue;
            }
            out += "<Balance>" + Element("CurrencyId", currency) + Element("AccountId", account) +
                   Element("Date", Utc(now, kDateFormat)) +
                   Element("Value", lr::FormatUnits(it->second)) + "</Balance>";
        }
        return out;
    }

    std::string ReceiptXml(const lr::Receipt& r, const std::string& viewer) const {
        const bool paid = r.payer == viewer;
        const auto payer = ledger_.Account(r.payer), payee = ledger_.Account(r.payee);
        return "<Receipt>" + Element("ReceiptId", std::to_string(r.receiptId)) +
               Element("Date", Utc(r.date, kDateFormat)) +
               Element("PayerName", payer ? payer->name : "") +
               Element("PayeeName", payee ? payee->name : "") +
               Element("Amount", lr::FormatUnits(paid ? -r.amount : r.amount)) +
               Element("Fee", "0.0000") +
               Element("ClosingBalance", lr::FormatUnits(paid ? r.payerClosing : r.payeeClosing)) +
               "<Transfer>" + Element("TransferId", std::to_string(r.transferId)) +
               Element("TransferType", "transfer") + Element("Payer", r.payer) +
               Element("Payee", r.payee) + Element("CurrencyId", r.currency) +
               Element("Amount", lr::FormatUnits(r.amount)) + Element("Memo", r.memo) +
               Element("Anonymous", "false") + Element("Source", r.source) + "</Transfer></Receipt>";
    }

    std::string History(const std::string& doc, const std::string& account) const {
        const auto history = lrxml::Inner(doc, "History");
        if (!history) return ErrorXml(BadData("History"));
        if (Text(*history, "AccountId") != account) return ErrorXml(BadData("AccountId"));
        lr::HistoryQuery q;
        if (const auto from = lrxml::Inner(*history, "From")) {
            q.from = YearDayMonth(lrxml::Unescape(*from));
            if (!q.from) return ErrorXml(BadData("From"));
        }
        if (const auto till = lrxml::Inner(*history, "Till")) {
            q.till = YearDayMonth(lrxml::Unescape(*till));
            if (!q.till) return ErrorXml(BadData("Till"));
        }
        q.counterpart = Text(*history, "CorrespondingAccountId");
        q.receiptId = Text(*history, "ReceiptId");
        if (const auto pager = lrxml::Inner(*history, "Pager")) {
            const auto size = Number(Text(*pager, "PageSize"));
            const auto number = Number(Text(*pager, "PageNumber"));
            if (!size || *size < 1) return ErrorXml(BadData("PageSize"));
            if (!number || *number < 1) return ErrorXml(BadData("PageNumber"));
            q.pageSize = *size;
            q.pageNumber = *number;
        }
        const lr::HistoryPage page = ledger_.History(account, q);
        std::string out = "<Pager>" + Element("PageSize", std::to_string(page.pageSize)) +
                          Element("PageCount", std::to_string(page.pageCount)) +
                          Element("PageNumber", std::to_string(page.pageNumber)) +
                          Element("TotalCount", std::to_string(page.totalCount)) + "</Pager>";
        for (const lr::Receipt& r : page.receipts) out += ReceiptXml(r, account);
        return out;
    }

    std::string Transfer(const std::string& doc, const std::string& account, std::time_t now) {
        const auto items = lrxml::All(doc, "Transfer");
        if (items.empty()) return ErrorXml(BadData("Transfer"));
        std::string out;
        for (const std::string_view item : items) {
            if (Text(item, "Payer") != account) {
                out += ErrorXml(BadData("Payer"));
                continue;
            }
            const auto amount = lr::ParseAmount(Text(item, "Amount"));
            if (!amount) {
                out += ErrorXml(BadData("Amount"));
                continue;
            }
            const auto result = ledger_.Transfer(account, Text(item, "Payee"),
                                                 Text(item, "CurrencyId"), *amount,
                                                 Text(item, "Memo"), now);
            if (const auto* e = std::get_if<LrError>(&result)) out += ErrorXml(*e);
            else out += ReceiptXml(std::get<lr::Receipt>(result), account);
        }
        return out;
    }

    std::string AccountName(const std::string& doc, const std::string& account,
                            std::time_t now) const {
        const auto item = lrxml::Inner(doc, "AccountName");
        if (!item) return ErrorXml(BadData("AccountName"));
        const std::string wanted = Text(*item, "AccountToRetrieve");
        const auto info = ledger_.Account(wanted);
        if (!info) return ErrorXml({302, "Account not found", "Account " + wanted + " does not exist"});
        return "<AccountName>" + Element("AccountId", account) +
               Element("AccountToRetrieve", wanted) +
               Element("Date", Utc(now, kDateFormat)) + Element("Name", info->name) +
               "</AccountName>";
    }

    lr::Ledger ledger_;
    std::atomic<long long> nextId_{1307901139};
};

}  // namespace

void RegisterLibertyReserve(httplib::Server& server) {
    auto service = std::make_shared<Service>();
    const auto route = [&server, service](const char* path, const char* request,
                                          const char* response) {
        server.Get(path, [service, request, response](const httplib::Request& req,
                                                      httplib::Response& res) {
            service->Handle(req, res, request, response);
        });
    };
    route("/xml/balance.aspx", "BalanceRequest", "BalanceResponse");
    route("/xml/history.aspx", "HistoryRequest", "HistoryResponse");
    route("/xml/transfer.aspx", "TransferRequest", "TransferResponse");
    route("/xml/accountname.aspx", "AccountNameRequest", "AccountNameResponse");
}

}  // namespace sandbox
