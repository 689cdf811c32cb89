#include "lr_service.h"

#include <atomic>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <variant>

#include "lr_ledger.h"
#include "strict_xml.h"
#include "transfer_faults.h"

namespace sandbox {
namespace {

using lr::LrError;
using xml::Element;
using xml::Node;
using xml::Rule;

const std::vector<Rule> kAuth = {{"ApiName", true}, {"Token", true}};
const std::vector<Rule> kBalance = {{"CurrencyId", true}, {"AccountId", true}};
const std::vector<Rule> kPager = {{"PageSize", true}, {"PageNumber", true}};
const std::vector<Rule> kHistory = {
    {"AccountId", true},        {"From"},      {"Till"},
    {"CorrespondingAccountId"}, {"ReceiptId"}, {"Pager", false, false, &kPager}};
const std::vector<Rule> kTransfer = {{"TransferId", true}, {"TransferType", true}, {"Payer", true},
                                     {"Payee", true},      {"CurrencyId", true},   {"Amount", true},
                                     {"Memo", true},       {"Anonymous", true}};
const std::vector<Rule> kAccountName = {{"AccountId", true}, {"AccountToRetrieve", true}};

// The children each request element may have.
std::vector<Rule> RequestRules(const std::string& root) {
    std::vector<Rule> r = {{"Auth", true, false, &kAuth}};
    if (root == "BalanceRequest") r.push_back({"Balance", true, true, &kBalance});
    if (root == "HistoryRequest") r.push_back({"History", true, false, &kHistory});
    if (root == "TransferRequest") r.push_back({"Transfer", true, true, &kTransfer});
    if (root == "AccountNameRequest") r.push_back({"AccountName", true, false, &kAccountName});
    return r;
}

// The request stamp of an id: "%d%m%y%H%M%S" of a moment that exists.
bool ValidStamp(const std::string& s) {
    if (s.size() != 12) return false;
    for (const char c : s)
        if (c < '0' || c > '9') return false;
    const auto two = [&s](std::size_t i) { return (s[i] - '0') * 10 + (s[i + 1] - '0'); };
    return xml::ValidDate(2000 + two(4), two(2), two(0)) && two(6) < 24 && two(8) < 60 &&
           two(10) < 60;
}

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

// "yyyy-dd-MM HH:mm:ss" (year, day, month) as UTC seconds.
std::optional<std::time_t> YearDayMonth(const std::string& text) {
    static constexpr char kShape[] = "dddd-dd-dd dd:dd:dd";
    if (text.size() != sizeof kShape - 1) return std::nullopt;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (kShape[i] == 'd' ? (text[i] < '0' || text[i] > '9') : text[i] != kShape[i])
            return std::nullopt;
    const auto num = [&text](std::size_t at, std::size_t n) {
        return std::stoi(text.substr(at, n));
    };
    const int y = num(0, 4), d = num(5, 2), m = num(8, 2), hh = num(11, 2), mm = num(14, 2),
              ss = num(17, 2);
    if (!xml::ValidDate(y, m, d) || hh > 23 || mm > 59 || ss > 59) return std::nullopt;
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

// What became of a transfer request, for the faults the tests armed.
struct TransferTrace {
    bool transfer = false;
    bool booked = false;
    Fault fault;
};

class Service {
  public:
    void Handle(const httplib::Request& req, httplib::Response& res, const char* request,
                const char* response) {
        const std::time_t now = std::time(nullptr);
        std::string body;
        TransferTrace trace;
        const std::string doc = req.has_param("req") ? req.get_param_value("req") : std::string();
        std::string account, why;
        const auto root = xml::Parse(doc, why);
        if (!root) {
            body = ErrorXml({100, "Invalid request", "Malformed document: " + why});
        } else if (const auto error = Authenticate(*root, request, now, account)) {
            body = ErrorXml(*error);
        } else {
            const std::string name = request;
            if (name == "BalanceRequest")
                body = Balance(*root, account, now);
            else if (name == "HistoryRequest")
                body = History(*root->Child("History"), account);
            else if (name == "TransferRequest")
                body = Transfer(*root, account, now, trace);
            else
                body = AccountName(*root->Child("AccountName"), account, now);
        }
        const std::string answer = std::string("<") + response + " id=\"" +
                                   std::to_string(nextId_++) + "\" date=\"" +
                                   Utc(now, kDateFormat) + "\">" + body + "</" + response + ">";
        if (trace.transfer && trace.fault.mode == FaultMode::Empty)
            res.set_content("", "text/xml; charset=utf-8");
        else if (!(trace.booked &&
                   AnswerBookedFault(trace.fault, res, answer, "text/xml; charset=utf-8")))
            res.set_content(answer, "text/xml; charset=utf-8");
    }

  private:
    // The document's shape, its id ("account_stamp") and its authentication block.
    std::optional<LrError> Authenticate(const Node& doc, const char* root, std::time_t now,
                                        std::string& account) const {
        const auto invalid = [root](const std::string& why) {
            return LrError{100, "Invalid request", std::string(root) + ": " + why};
        };
        if (doc.name != root) return invalid("the document is a " + doc.name);
        const std::string* id = doc.Attribute("id");
        if (!id || doc.attributes.size() != 1) return invalid("the id attribute alone is expected");
        if (const auto problem = xml::Check(doc, RequestRules(root))) return invalid(*problem);
        const std::size_t cut = id->rfind('_');
        if (cut == std::string::npos || cut == 0 || !ValidStamp(id->substr(cut + 1)))
            return invalid("the id is not an account and a request stamp");
        account = id->substr(0, cut);
        const Node& auth = *doc.Child("Auth");
        if (!ledger_.Authenticate(account, auth.ChildText("ApiName"), auth.ChildText("Token"), now))
            return LrError{201, "Authentication failed", "Invalid API name or security token"};
        return std::nullopt;
    }

    std::string Balance(const Node& doc, const std::string& account, std::time_t now) const {
        const auto info = ledger_.Account(account);
        std::string out;
        for (const Node* item : doc.Children("Balance")) {
            const std::string currency = item->ChildText("CurrencyId");
            if (item->ChildText("AccountId") != account) {
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
               Element("Anonymous", "false") + Element("Source", r.source) +
               "</Transfer></Receipt>";
    }

    std::string History(const Node& history, const std::string& account) const {
        if (history.ChildText("AccountId") != account) return ErrorXml(BadData("AccountId"));
        lr::HistoryQuery q;
        if (const Node* from = history.Child("From")) {
            q.from = YearDayMonth(from->text);
            if (!q.from) return ErrorXml(BadData("From"));
        }
        if (const Node* till = history.Child("Till")) {
            q.till = YearDayMonth(till->text);
            if (!q.till) return ErrorXml(BadData("Till"));
        }
        q.counterpart = history.ChildText("CorrespondingAccountId");
        q.receiptId = history.ChildText("ReceiptId");
        if (const Node* pager = history.Child("Pager")) {
            const auto size = Number(pager->ChildText("PageSize"));
            const auto number = Number(pager->ChildText("PageNumber"));
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

    std::string Transfer(const Node& doc, const std::string& account, std::time_t now,
                         TransferTrace& trace) {
        std::string out;
        trace.transfer = true;
        trace.fault = TakeTransferFault("LR");
        if (trace.fault.mode == FaultMode::Refuse)
            return ErrorXml({305, "Transfer refused", "Transfer refused by the server"});
        for (const Node* item : doc.Children("Transfer")) {
            const char* bad = nullptr;
            const auto amount = lr::ParseAmount(item->ChildText("Amount"));
            const std::string anonymous = item->ChildText("Anonymous");
            if (item->ChildText("Payer") != account)
                bad = "Payer";
            else if (item->ChildText("TransferType") != "transfer")
                bad = "TransferType";
            else if (anonymous != "true" && anonymous != "false")
                bad = "Anonymous";
            else if (!amount)
                bad = "Amount";
            if (bad) {
                out += ErrorXml(BadData(bad));
                continue;
            }
            if (item->ChildText("Payee") == RefusingPayee("LR")) {
                out += ErrorXml({305, "Transfer refused", "The payee does not accept payments"});
                continue;
            }
            const auto result =
                ledger_.Transfer(account, item->ChildText("Payee"), item->ChildText("CurrencyId"),
                                 *amount, item->ChildText("Memo"), now);
            if (const auto* e = std::get_if<LrError>(&result))
                out += ErrorXml(*e);
            else {
                CountBooked("LR");
                trace.booked = true;
                out += ReceiptXml(std::get<lr::Receipt>(result), account);
            }
        }
        return out;
    }

    std::string AccountName(const Node& item, const std::string& account, std::time_t now) const {
        if (item.ChildText("AccountId") != account) return ErrorXml(BadData("AccountId"));
        const std::string wanted = item.ChildText("AccountToRetrieve");
        const auto info = ledger_.Account(wanted);
        if (!info)
            return ErrorXml({302, "Account not found", "Account " + wanted + " does not exist"});
        return "<AccountName>" + Element("AccountId", account) +
               Element("AccountToRetrieve", wanted) + Element("Date", Utc(now, kDateFormat)) +
               Element("Name", info->name) + "</AccountName>";
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
