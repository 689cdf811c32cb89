#include "pm_service.h"

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "transfer_faults.h"

namespace sandbox {
namespace {

using Cents = std::int64_t;

struct Account {
    std::string id, member, currency, name;
    Cents balance = 0;
};

struct Member {
    std::string id, passPhrase;
};

struct Payment {
    std::time_t time = 0;
    std::int64_t batch = 0;
    std::string payer, payee, currency, paymentId, memo;
    Cents amount = 0, fee = 0;
};

std::string FormatCents(Cents v) {
    const bool negative = v < 0;
    const Cents a = negative ? -v : v;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%s%lld.%02lld", negative ? "-" : "",
                  static_cast<long long>(a / 100), static_cast<long long>(a % 100));
    return buf;
}

// "12", "12.5", "12.50": a positive amount of at most two decimals.
std::optional<Cents> ParseAmount(const std::string& text) {
    const std::size_t dot = text.find('.');
    const std::string whole = text.substr(0, dot);
    const std::string frac = dot == std::string::npos ? "" : text.substr(dot + 1);
    const auto digits = [](const std::string& s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (whole.empty() || whole.size() > 12 || !digits(whole) || !digits(frac)) return std::nullopt;
    if (dot != std::string::npos && (frac.empty() || frac.size() > 2)) return std::nullopt;
    std::string f = frac;
    f.resize(2, '0');
    const Cents v = std::stoll(whole) * 100 + std::stoll(f);
    if (v <= 0) return std::nullopt;
    return v;
}

// A number of 1 to 4 digits without a leading zero.
std::optional<int> ParseNumber(const std::string& text) {
    if (text.empty() || text.size() > 4 || text[0] == '0') return std::nullopt;
    for (const char c : text)
        if (c < '0' || c > '9') return std::nullopt;
    return std::stoi(text);
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

// Seconds of midnight UTC of a date that exists, from 1970 on.
std::optional<std::time_t> DayStart(int y, int m, int d) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1970 || m < 1 || m > 12 || d < 1) return std::nullopt;
    if (d > kDays[m - 1] + (m == 2 && IsLeap(y) ? 1 : 0)) return std::nullopt;
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = m - 1;
    tm.tm_mday = d;
    return timegm(&tm);
}

std::time_t At(int y, int m, int d, int hh, int mm) { return *DayStart(y, m, d) + hh * 3600 + mm * 60; }

std::string CsvTime(std::time_t t) {
    std::tm tm{};
    gmtime_r(&t, &tm);
    char buf[32];
    return std::string(buf, std::strftime(buf, sizeof buf, "%m/%d/%Y %H:%M", &tm));
}

std::string HtmlValue(const std::string& v) {
    std::string out;
    for (const char c : v) {
        if (c == '\'') out += "&#39;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '&') out += "&amp;";
        else out += c;
    }
    return out;
}

std::string Input(const std::string& name, const std::string& value) {
    return "<input name='" + name + "' type='hidden' value='" + HtmlValue(value) + "'>\n";
}

// The page of a refused balance or transfer request, in the form the interface writes it.
std::string ErrorPage(const std::string& title, const std::string& text) {
    return "<html>\n\n<head>\n  <title>" + title + "</title>\n</head>\n\n<body>\n\n<h1>" + title +
           "</h1>\n\nError: " + HtmlValue(text) + "\n" + Input("ERROR", text) +
           "</body>\n\n</html>\n";
}

class Service {
public:
    Service() {
        members_ = {{"1234567", "demo-pass"}, {"7654321", "second-pass"}};
        accounts_ = {
            {"U1234567", "1234567", "USD", "Demo Member", 5000000},
            {"E1234567", "1234567", "EUR", "Demo Member", 25050},
            {"G1234567", "1234567", "OAU", "Demo Member", 325},
            {"U7654321", "7654321", "USD", "Second Member", 10000},
            {"E7654321", "7654321", "EUR", "Second Member", 0},
        };
        payments_ = {
            {At(2025, 3, 15, 10, 30), 500001, "U7654321", "U1234567", "USD", "INV-1",
             "first, second\nline", 2500, 13},
            {At(2025, 11, 2, 8, 5), 500002, "U1234567", "U7654321", "USD", "",
             "Order 7 Memo: rent, November", 1000, 5},
            {At(2026, 1, 20, 16, 45), 500003, "E7654321", "E1234567", "EUR", "77",
             "plain", 5050, 25},
        };
    }

    void Balance(const httplib::Request& req, httplib::Response& res) {
        std::lock_guard lock(mutex_);
        std::string error;
        const Member* m = Login(req, {}, {}, error);
        if (!m) return Html(res, ErrorPage("Balance", error));
        std::string table, inputs;
        for (const Account& a : accounts_) {
            if (a.member != m->id) continue;
            table += "<tr><td>" + a.id + "</td><td>" + FormatCents(a.balance) + "</td></tr>\n";
            inputs += Input(a.id, FormatCents(a.balance));
        }
        Html(res, "<html>\n<head>\n  <title>Balance</title>\n</head>\n<body>\n<h1>Balance</h1>\n"
                  "<table border=1>\n<tr><td><b>Account No.</b></td><td><b>Balance</b></td></tr>" +
                      table + "</table>\n" + inputs + "</body>\n</html>\n");
    }

    void History(const httplib::Request& req, httplib::Response& res) {
        std::lock_guard lock(mutex_);
        static const std::set<std::string> kDates = {"startmonth", "startday", "startyear",
                                                     "endmonth",   "endday",   "endyear"};
        std::string error;
        const Member* m = Login(req, kDates, {"counterfilter", "batchfilter", "desc"}, error);
        if (!m) return Text(res, "Error: " + error);
        const auto num = [&req](const char* k) { return ParseNumber(req.get_param_value(k)); };
        const auto sm = num("startmonth"), sd = num("startday"), sy = num("startyear");
        const auto em = num("endmonth"), ed = num("endday"), ey = num("endyear");
        if (!sm || !sd || !sy || !em || !ed || !ey) return Text(res, "Error: Invalid date");
        const auto from = DayStart(*sy, *sm, *sd);
        const auto to = DayStart(*ey, *em, *ed);
        if (!from || !to) return Text(res, "Error: Invalid date");
        const std::string desc = req.has_param("desc") ? req.get_param_value("desc") : "0";
        if (desc != "0" && desc != "1") return Text(res, "Error: Invalid desc");
        const bool byCounter = req.has_param("counterfilter");
        const std::string counter = req.get_param_value("counterfilter");
        const bool byBatch = req.has_param("batchfilter");
        const std::string batch = req.get_param_value("batchfilter");
        const bool batchDigits = !batch.empty() && batch.size() <= 12 &&
                                 std::all_of(batch.begin(), batch.end(),
                                             [](char c) { return c >= '0' && c <= '9'; });
        if (byBatch && !batchDigits) return Text(res, "Error: Invalid batchfilter");

        std::vector<std::string> lines;
        for (const Payment& p : payments_) {
            const bool in = Owns(*m, p.payee), out = Owns(*m, p.payer);
            if (!in && !out) continue;
            if (p.time < *from || p.time >= *to + 86400) continue;
            if (byCounter && counter != (out ? p.payee : p.payer)) continue;
            if (byBatch && batch != std::to_string(p.batch)) continue;
            lines.push_back(CsvTime(p.time) + (out ? ",Spend," : ",Income,") +
                            std::to_string(p.batch) + "," + p.currency + "," +
                            FormatCents(out ? -p.amount : p.amount) + "," + FormatCents(p.fee) +
                            "," + p.payer + "," + p.payee + "," + p.paymentId + "," + p.memo +
                            "\n");
        }
        if (desc == "1") std::reverse(lines.begin(), lines.end());
        if (lines.empty()) return Text(res, "No Records Found.");
        std::string body =
            "Time,Type,Batch,Currency,Amount,Fee,Payer Account,Payee Account,Payment ID,Memo\n";
        for (const std::string& l : lines) body += l;
        Text(res, body);
    }

    void Confirm(const httplib::Request& req, httplib::Response& res) {
        std::lock_guard lock(mutex_);
        std::string error;
        const Member* m = Login(req, {"Payer_Account", "Payee_Account", "Amount"},
                                {"Memo", "PAYMENT_ID"}, error);
        if (!m) return Html(res, ErrorPage("Spend", error));
        const Fault fault = TakeTransferFault("PM");
        if (fault.mode == FaultMode::Refuse)
            return Html(res, ErrorPage("Spend", "Transfer refused by the server"));
        if (fault.mode == FaultMode::Empty) return Html(res, "");
        if (req.get_param_value("Payee_Account") == RefusingPayee("PM"))
            return Html(res, ErrorPage("Spend", "Payee account does not accept payments"));
        const auto amount = ParseAmount(req.get_param_value("Amount"));
        if (!amount) return Html(res, ErrorPage("Spend", "Invalid Amount"));
        Account* payer = Find(req.get_param_value("Payer_Account"));
        if (!payer || payer->member != m->id)
            return Html(res, ErrorPage("Spend", "Invalid Payer_Account"));
        Account* payee = Find(req.get_param_value("Payee_Account"));
        if (!payee || payee == payer) return Html(res, ErrorPage("Spend", "Invalid Payee_Account"));
        if (payee->currency != payer->currency)
            return Html(res, ErrorPage("Spend", "Wrong Payee_Account currency"));
        const Cents fee = (*amount * 5 + 500) / 1000;  // 0.5 percent, paid by the payer
        if (payer->balance < *amount + fee)
            return Html(res, ErrorPage("Spend", "Not enough money to pay"));
        payer->balance -= *amount + fee;
        payee->balance += *amount;
        const std::int64_t batch = nextBatch_++;
        payments_.push_back({std::time(nullptr), batch, payer->id, payee->id, payer->currency,
                             req.get_param_value("PAYMENT_ID"), req.get_param_value("Memo"),
                             *amount, fee});
        CountBooked("PM");
        const std::string page =
            "<html>\n<head>\n  <title>Spend</title>\n</head>\n<body>\n<h1>Spend</h1>\n" +
            Input("Payee_Account_Name", payee->name) + Input("Payee_Account", payee->id) +
            Input("Payer_Account", payer->id) + Input("PAYMENT_AMOUNT", FormatCents(*amount)) +
            Input("PAYMENT_BATCH_NUM", std::to_string(batch)) +
            Input("PAYMENT_ID", req.get_param_value("PAYMENT_ID")) + "</body>\n</html>\n";
        if (!AnswerBookedFault(fault, res, page, "text/html")) Html(res, page);
    }

private:
    // The member of AccountID and PassPhrase, after every parameter was checked: each one at
    // most once, each one known, the required ones present.
    const Member* Login(const httplib::Request& req, const std::set<std::string>& required,
                        const std::set<std::string>& optional, std::string& error) const {
        // The names as sent: the server's own reading merges repeated identical pairs.
        std::vector<std::string> names;
        const std::size_t q = req.target.find('?');
        for (std::size_t p = q; p != std::string::npos && p < req.target.size();) {
            const std::size_t end = std::min(req.target.find('&', p + 1), req.target.size());
            const std::string pair = req.target.substr(p + 1, end - p - 1);
            if (!pair.empty()) names.push_back(httplib::detail::decode_url(
                                   pair.substr(0, pair.find('=')), true));
            p = end;
        }
        std::set<std::string> seen;
        for (const std::string& name : names) {
            if (name != "AccountID" && name != "PassPhrase" && !required.count(name) &&
                !optional.count(name)) {
                error = "Invalid parameter " + name;
                return nullptr;
            }
            if (!seen.insert(name).second) {
                error = "Duplicate parameter " + name;
                return nullptr;
            }
        }
        for (const std::string& k : {std::string("AccountID"), std::string("PassPhrase")})
            if (!seen.count(k)) {
                error = "Missing parameter " + k;
                return nullptr;
            }
        for (const std::string& k : required)
            if (!seen.count(k)) {
                error = "Missing parameter " + k;
                return nullptr;
            }
        const std::string id = req.get_param_value("AccountID");
        const std::string pass = req.get_param_value("PassPhrase");
        for (const Member& m : members_)
            if (m.id == id && m.passPhrase == pass) return &m;
        error = "Can not login with passed AccountID and PassPhrase";
        return nullptr;
    }

    bool Owns(const Member& m, const std::string& account) const {
        const auto it = std::find_if(accounts_.begin(), accounts_.end(),
                                     [&](const Account& a) { return a.id == account; });
        return it != accounts_.end() && it->member == m.id;
    }

    Account* Find(const std::string& id) {
        for (Account& a : accounts_)
            if (a.id == id) return &a;
        return nullptr;
    }

    static void Html(httplib::Response& res, const std::string& body) {
        res.set_content(body, "text/html");
    }
    static void Text(httplib::Response& res, const std::string& body) {
        res.set_content(body, "text/plain");
    }

    std::mutex mutex_;
    std::vector<Member> members_;
    std::vector<Account> accounts_;
    std::vector<Payment> payments_;
    std::int64_t nextBatch_ = 600001;
};

}  // namespace

void RegisterPerfectMoney(httplib::Server& server) {
    auto service = std::make_shared<Service>();
    server.Get("/acct/balance.asp", [service](const httplib::Request& req, httplib::Response& res) {
        service->Balance(req, res);
    });
    server.Get("/acct/historycsv.asp",
               [service](const httplib::Request& req, httplib::Response& res) {
                   service->History(req, res);
               });
    server.Get("/acct/confirm.asp", [service](const httplib::Request& req, httplib::Response& res) {
        service->Confirm(req, res);
    });
}

}  // namespace sandbox
