#include "vm_service.h"

#include <cstdio>
#include <ctime>
#include <memory>
#include <string>

#include "strict_xml.h"
#include "transfer_faults.h"
#include "vm_ledger.h"

namespace sandbox {
namespace {

using xml::Element;
using xml::Rule;

const std::vector<Rule> kAuth = {{"AccountId", true}, {"Token", true}};
const std::vector<Rule> kTransTypes = {{"TransType", true, true}};
const std::vector<Rule> kTransfer = {
    {"ID", true}, {"Payee", true}, {"Amount", true}, {"Memo", true}};
const std::vector<Rule> kTransfers = {{"Transfer", true, false, &kTransfer}};

std::vector<Rule> RequestRules(const std::string& type) {
    std::vector<Rule> r = {{"Type", true}, {"Auth", true, false, &kAuth}};
    if (type == "AccountStatus") r.push_back({"LookupAccountId", true});
    if (type == "History") {
        r.push_back({"StartDate", true});
        r.push_back({"EndDate", true});
        r.push_back({"TransTypes", true, false, &kTransTypes});
        r.push_back({"TransId", false});
    }
    if (type == "Transfer") r.push_back({"Transfers", true, false, &kTransfers});
    return r;
}

std::string Status(const std::string& code, const std::string& message) {
    return "<Status>" + Element("Code", code) + Element("Message", message) + "</Status>";
}
const std::string kOk = Status("OK", "Success");

std::string Utc(std::time_t t, const char* format) {
    std::tm tm{};
    gmtime_r(&t, &tm);
    char buf[64];
    return std::string(buf, std::strftime(buf, sizeof buf, format, &tm));
}

// "yyyy-MM-dd" of a day that exists, as the UTC second it starts at.
std::optional<std::time_t> Day(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    for (const std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
    const int y = std::stoi(text.substr(0, 4)), m = std::stoi(text.substr(5, 2)),
              d = std::stoi(text.substr(8, 2));
    if (!xml::ValidDate(y, m, d)) return std::nullopt;
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = m - 1;
    tm.tm_mday = d;
    return timegm(&tm);
}

bool Digits(const std::string& text) {
    if (text.empty() || text.size() > 18) return false;
    for (const char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// What became of a transfer request, for the faults the tests armed.
struct TransferTrace {
    bool transfer = false;  // the request reached the transfer
    bool booked = false;
    Fault fault;
};

class Service {
  public:
    std::string Answer(const httplib::Request& req, TransferTrace& trace) {
        const std::time_t now = std::time(nullptr);
        return "<Response>" + Body(req, now, trace) + "</Response>";
    }

  private:
    static std::string Bad(const std::string& why) { return Status("RequestError", why); }

    std::string Body(const httplib::Request& req, std::time_t now, TransferTrace& trace) {
        if (!req.has_param("request_data")) return Bad("request_data is missing");
        std::string why;
        const auto doc = xml::Parse(req.get_param_value("request_data"), why);
        if (!doc) return Bad("Malformed request: " + why);
        if (doc->name != "Request" || !doc->attributes.empty())
            return Bad("The document is not a Request");
        const std::string type = doc->ChildText("Type");
        if (type != "Balance" && type != "AccountStatus" && type != "History" && type != "Transfer")
            return Bad("Unknown request type");
        if (const auto problem = xml::Check(*doc, RequestRules(type)))
            return Bad("Malformed request: " + *problem);
        const xml::Node& auth = *doc->Child("Auth");
        const std::string account = auth.ChildText("AccountId");
        if (!ledger_.Authenticate(account, auth.ChildText("Token"), now))
            return Status("AuthError", "Invalid account or access token");
        if (type == "Balance")
            return kOk + Element("Balance", vm::FormatCents(ledger_.Account(account)->balance));
        if (type == "AccountStatus") return Lookup(doc->ChildText("LookupAccountId"));
        if (type == "History") return History(*doc, account);
        return Transfer(*doc->Child("Transfers")->Child("Transfer"), account, now, trace);
    }

    std::string Lookup(const std::string& wanted) const {
        const auto info = ledger_.Account(wanted);
        if (!info) return Status("LookupFailed", "Account " + wanted + " not found");
        return kOk + Element("AccountName", info->name);
    }

    std::string History(const xml::Node& doc, const std::string& account) const {
        const auto from = Day(doc.ChildText("StartDate"));
        const auto till = Day(doc.ChildText("EndDate"));
        if (!from) return Bad("StartDate is not a date");
        if (!till) return Bad("EndDate is not a date");
        vm::HistoryQuery q;
        q.from = *from;
        q.till = *till + 86399;
        for (const xml::Node* t : doc.Child("TransTypes")->Children("TransType")) {
            static const std::set<std::string> kKnown = {"received",  "sent",     "fees",
                                                         "referrals", "deposits", "withdrawals"};
            if (!kKnown.count(t->text)) return Bad("Unknown TransType " + t->text);
            q.types.insert(t->text);
        }
        if (const xml::Node* id = doc.Child("TransId")) {
            if (!Digits(id->text)) return Bad("TransId is not a number");
            q.transId = id->text;
        }
        std::string out = kOk + "<Transactions>";
        for (const vm::Line& l : ledger_.History(account, q)) {
            out += "<Transaction>" + Element("TransId", std::to_string(l.transId)) +
                   Element("Memo", l.memo) + Element("PaymentId", l.paymentId) + "<ToFromAccount>" +
                   Element("AccountId", l.party) + Element("Name", l.partyName) +
                   "</ToFromAccount>" + Element("Timestamp", Utc(l.time, "%Y-%m-%d %H:%M:%S")) +
                   Element("Amount", vm::FormatCents(l.amount)) + Element("TransType", l.type) +
                   "</Transaction>";
        }
        return out + "</Transactions>";
    }

    std::string Transfer(const xml::Node& t, const std::string& account, std::time_t now,
                         TransferTrace& trace) {
        trace.transfer = true;
        trace.fault = TakeTransferFault("VM");
        if (trace.fault.mode == FaultMode::Refuse)
            return Status("TransferFailed", "Transfer refused by the server");
        if (trace.fault.mode == FaultMode::Empty) return std::string();
        if (t.ChildText("Payee") == RefusingPayee("VM"))
            return Status("TransferFailed",
                          "Account " + t.ChildText("Payee") + " does not accept payments");
        if (!Digits(t.ChildText("ID"))) return Bad("ID is not a number");
        const auto amount = vm::ParseAmount(t.ChildText("Amount"));
        if (!amount) return Bad("Invalid amount");
        const auto result =
            ledger_.Transfer(account, t.ChildText("Payee"), *amount, t.ChildText("Memo"), now);
        if (const auto* r = std::get_if<vm::Refusal>(&result)) return Status(r->code, r->message);
        CountBooked("VM");
        trace.booked = true;
        return kOk + "<Transfer>" + Element("ID", t.ChildText("ID")) +
               Element("TransId", std::to_string(std::get<std::int64_t>(result))) + "</Transfer>";
    }

    vm::Ledger ledger_;
};

}  // namespace

void RegisterVMoney(httplib::Server& server) {
    auto service = std::make_shared<Service>();
    server.Get("/vai.php", [service](const httplib::Request& req, httplib::Response& res) {
        TransferTrace trace;
        const std::string answer = service->Answer(req, trace);
        if (trace.transfer && trace.fault.mode == FaultMode::Empty)
            res.set_content("", "text/xml; charset=utf-8");
        else if (!(trace.booked &&
                   AnswerBookedFault(trace.fault, res, answer, "text/xml; charset=utf-8")))
            res.set_content(answer, "text/xml; charset=utf-8");
    });
}

}  // namespace sandbox
