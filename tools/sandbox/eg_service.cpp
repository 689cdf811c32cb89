#include "eg_service.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
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

using Micro = std::int64_t;  // millionths of a troy ounce
using Cents = std::int64_t;

const std::vector<std::string> kMetals = {"Gold", "Silver", "Platinum", "Palladium"};
const std::map<std::string, Cents> kPrices = {
    {"Gold", 90000}, {"Silver", 1250}, {"Platinum", 110000}, {"Palladium", 20000}};

// The eight kinds of operation and the history parameter that selects each.
const std::vector<std::pair<std::string, std::string>> kKinds = {
    {"Payment Received", "paymentsreceived"}, {"Payment Made", "paymentsmade"},
    {"In Exchange", "inexchanges"},           {"Out Exchange", "outexchanges"},
    {"Bailment", "bailments"},                {"Redemption", "redemptions"},
    {"Fee", "fees"},                          {"Incentive", "incentives"}};

struct Account {
    std::string passphrase, name;
    std::map<std::string, Micro> metals;
};

// One line of an account's history, seen from that account.
struct Entry {
    std::int64_t batch = 0;
    std::time_t date = 0;
    std::string kind, account, counterpart, metal, memo;
    Micro weight = 0;  // signed: below 0 when metal left the account
    Cents usd = 0, rate = 0;
};

std::string Fixed(std::int64_t v, int decimals) {
    std::int64_t scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    const bool negative = v < 0;
    const std::uint64_t m = negative ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s%llu.%0*llu", negative ? "-" : "",
                  static_cast<unsigned long long>(m / static_cast<std::uint64_t>(scale)), decimals,
                  static_cast<unsigned long long>(m % static_cast<std::uint64_t>(scale)));
    return buf;
}

std::time_t Utc(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = mo - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_min = mi;
    tm.tm_sec = s;
    return timegm(&tm);
}

// "1/2/2009 10:11:12": month and day without leading zeros.
std::string CsvDate(std::time_t t) {
    std::tm tm{};
    gmtime_r(&t, &tm);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d/%d/%d %02d:%02d:%02d", tm.tm_mon + 1, tm.tm_mday,
                  tm.tm_year + 1900, tm.tm_hour, tm.tm_min, tm.tm_sec);
    return buf;
}

std::string HtmlValue(const std::string& v) {
    std::string out;
    for (const char c : v) {
        if (c == '"') out += "&quot;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '&') out += "&amp;";
        else out += c;
    }
    return out;
}

std::string Input(const std::string& name, const std::string& value) {
    return "<input type=hidden name=" + name + " value=\"" + HtmlValue(value) + "\">\n";
}

std::string Page(const std::string& title, const std::string& inputs) {
    return "<html><head><title>" + title + "</title></head><body>\n<form method=post>\n" +
           inputs + "</form>\n</body></html>\n";
}

std::string ErrorPage(const std::vector<std::string>& errors) {
    std::string inputs;
    for (const std::string& e : errors) inputs += Input("ERROR", e);
    return Page("e-gold Account Access Error", inputs);
}

// A CSV field in double quotes (a quote inside doubled).
std::string Quoted(const std::string& v) {
    std::string out = "\"";
    for (const char c : v) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::optional<std::int64_t> Digits(const std::string& s, std::size_t maxLen) {
    if (s.empty() || s.size() > maxLen) return std::nullopt;
    std::int64_t v = 0;
    for (const char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

// "12", "12.5", "12.50": a positive USD amount with at most two decimals.
std::optional<Cents> ParseUsd(const std::string& s) {
    const std::size_t dot = s.find('.');
    // ".5" is a plain number too; "." and "5." are not.
    const auto whole = dot == 0 && s.size() > 1 ? std::optional<std::int64_t>(0) : Digits(s.substr(0, dot), 9);
    if (!whole) return std::nullopt;
    Cents v = *whole * 100;
    if (dot != std::string::npos) {
        const std::string frac = s.substr(dot + 1);
        const auto f = Digits(frac, 2);
        if (!f) return std::nullopt;
        v += frac.size() == 1 ? *f * 10 : *f;
    }
    if (v <= 0) return std::nullopt;
    return v;
}

// The day of y-m-d at midnight UTC, when that day exists.
std::optional<std::time_t> Day(const std::string& y, const std::string& m, const std::string& d) {
    const auto yy = Digits(y, 4), mm = Digits(m, 2), dd = Digits(d, 2);
    if (!yy || !mm || !dd || *yy < 1970 || *mm < 1 || *mm > 12 || *dd < 1) return std::nullopt;
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (*yy % 4 == 0 && *yy % 100 != 0) || *yy % 400 == 0;
    const int days = kDays[*mm - 1] + (*mm == 2 && leap ? 1 : 0);
    if (*dd > days) return std::nullopt;
    return Utc(static_cast<int>(*yy), static_cast<int>(*mm), static_cast<int>(*dd));
}

class Service {
public:
    Service() {
        accounts_["1234567"] = {"demopass1", "Demo Holder",
                                {{"Gold", 1500000}, {"Silver", 100000000}, {"Platinum", 250000}, {"Palladium", 0}}};
        accounts_["7654321"] = {"payeepass2", "Payee Shop",
                                {{"Gold", 2000000}, {"Silver", 10000000}, {"Platinum", 0}, {"Palladium", 1000000}}};
        accounts_["5550001"] = {"thirdpass3", "Third Party",
                                {{"Gold", 100000}, {"Silver", 0}, {"Platinum", 0}, {"Palladium", 0}}};
        const std::string me = "1234567";
        Seed(me, "Payment Received", "7654321", "Gold", 500000, 45000, "Invoice 17", Utc(2009, 1, 2, 10, 11, 12));
        Seed(me, "Payment Made", "5550001", "Gold", -100000, 9000, "Rent January", Utc(2009, 1, 15, 8, 0, 0));
        Seed(me, "In Exchange", "", "Silver", 20000000, 25000, "Exchange in", Utc(2009, 2, 1, 9, 30, 0));
        Seed(me, "Out Exchange", "", "Silver", -5000000, 6250, "Exchange out", Utc(2009, 2, 3, 14, 0, 0));
        Seed(me, "Bailment", "", "Platinum", 250000, 27500, "Bailment", Utc(2009, 2, 10, 11, 0, 0));
        Seed(me, "Redemption", "", "Gold", -50000, 4500, "Redemption", Utc(2009, 2, 20, 12, 0, 0));
        Seed(me, "Fee", "", "Gold", -1000, 90, "Storage fee", Utc(2009, 3, 1, 0, 5, 0));
        Seed(me, "Incentive", "7654321", "Gold", 2000, 180, "Incentive", Utc(2009, 3, 20, 16, 45, 0));
    }

    std::string Balance(const httplib::Request& req) {
        std::vector<std::string> errors;
        const auto p = Params(req, {"AccountID", "Passphrase"}, {}, errors);
        std::lock_guard<std::mutex> lock(mutex_);
        const Account* a = errors.empty() ? Login(p, "Passphrase", errors) : nullptr;
        if (!a) return ErrorPage(errors);
        std::string inputs;
        for (const std::string& metal : kMetals) {
            const Micro oz = a->metals.at(metal);
            inputs += Input(metal + "_Ounces", Fixed(oz, 6));
            inputs += Input(metal + "_Grams", Fixed((oz * 31103 + 500) / 1000, 4));
        }
        return Page("e-gold Account Balance", inputs);
    }

    std::string History(const httplib::Request& req) {
        std::vector<std::string> required = {"AccountID", "PassPhrase", "startmonth", "startday",
                                             "startyear", "endmonth", "endday", "endyear"};
        for (const auto& k : kKinds) required.push_back(k.second);
        std::vector<std::string> errors;
        const auto p = Params(req, required, {"counterfilter", "batchfilter", "desc"}, errors);
        std::lock_guard<std::mutex> lock(mutex_);
        if (errors.empty()) Login(p, "PassPhrase", errors);
        const auto from = Day(Get(p, "startyear"), Get(p, "startmonth"), Get(p, "startday"));
        const auto to = Day(Get(p, "endyear"), Get(p, "endmonth"), Get(p, "endday"));
        if (errors.empty() && !from) errors.push_back("Invalid start date");
        if (errors.empty() && !to) errors.push_back("Invalid end date");
        std::set<std::string> kinds;
        for (const auto& k : kKinds) {
            const std::string v = Get(p, k.second);
            if (v == "1") kinds.insert(k.first);
            else if (v != "0" && errors.empty()) errors.push_back("Invalid value of " + k.second);
        }
        const std::string desc = p.count("desc") ? p.at("desc") : "0";
        if (desc != "0" && desc != "1" && errors.empty()) errors.push_back("Invalid value of desc");
        if (p.count("batchfilter") && !Digits(p.at("batchfilter"), 18) && errors.empty())
            errors.push_back("Invalid batch number");
        if (!errors.empty()) return ErrorPage(errors);

        const std::string me = p.at("AccountID");
        std::vector<const Entry*> rows;
        for (const Entry& e : entries_) {
            if (e.account != me || !kinds.count(e.kind)) continue;
            if (e.date < *from || e.date >= *to + 86400) continue;
            if (p.count("counterfilter") && e.counterpart != p.at("counterfilter")) continue;
            if (p.count("batchfilter") && std::to_string(e.batch) != p.at("batchfilter")) continue;
            rows.push_back(&e);
        }
        if (rows.empty()) return "No Records Found.\n";
        if (desc == "1") std::reverse(rows.begin(), rows.end());
        std::string csv =
            "Date,Type,Batch,Metal,Weight,Counterparty,Counterparty Name,USD Value,Currency,"
            "Rate,Memo\n";
        for (const Entry* e : rows) {
            const auto c = accounts_.find(e->counterpart);
            csv += CsvDate(e->date) + "," + e->kind + "," + std::to_string(e->batch) + "," +
                   e->metal + "," + Fixed(e->weight, 6) + "," + e->counterpart + "," +
                   Quoted(c == accounts_.end() ? "" : c->second.name) + "," + Fixed(e->usd, 2) +
                   ",USD," + Fixed(e->rate, 2) + "," + Quoted(e->memo) + "\n";
        }
        return csv;
    }

    // The page of a transfer; fault: what the tests armed for it (transfer_faults.h).
    std::string Confirm(const httplib::Request& req, const Fault& fault) {
        std::vector<std::string> errors;
        const auto p = Params(req, {"AccountID", "PassPhrase", "Payee_Account", "Amount", "PAY_IN",
                                    "WORTH_OF", "Memo", "IGNORE_RATE_CHANGE", "PAYMENT_ID"},
                              {}, errors);
        std::lock_guard<std::mutex> lock(mutex_);
        Account* payer = errors.empty() ? Login(p, "PassPhrase", errors) : nullptr;
        if (!payer) return ErrorPage(errors);
        if (fault.mode == FaultMode::Refuse) return ErrorPage({"Transfer refused by the server"});
        if (fault.mode == FaultMode::Empty) return std::string();
        if (p.at("Payee_Account") == RefusingPayee("EG"))
            return ErrorPage({"Payee account does not accept payments"});
        const std::string metal = p.at("WORTH_OF");
        const auto usd = ParseUsd(p.at("Amount"));
        const auto payee = accounts_.find(p.at("Payee_Account"));
        if (payee == accounts_.end()) errors.push_back("Invalid Payee_Account");
        else if (&payee->second == payer) errors.push_back("Payer and payee are the same account");
        if (!usd) errors.push_back("Invalid Amount");
        if (p.at("PAY_IN") != "1") errors.push_back("Invalid PAY_IN");
        if (!kPrices.count(metal)) errors.push_back("Invalid WORTH_OF");
        if (p.at("IGNORE_RATE_CHANGE") != "y") errors.push_back("Invalid IGNORE_RATE_CHANGE");
        if (!errors.empty()) return ErrorPage(errors);
        const Cents rate = kPrices.at(metal);
        const Micro weight = (*usd * 1000000 + rate / 2) / rate;
        if (weight > payer->metals.at(metal)) return ErrorPage({"Insufficient funds"});
        const std::time_t now = std::time(nullptr);
        payer->metals[metal] -= weight;
        payee->second.metals[metal] += weight;
        const std::int64_t batch = nextBatch_++;
        entries_.push_back({batch, now, "Payment Made", p.at("AccountID"), payee->first, metal,
                            p.at("Memo"), -weight, *usd, rate});
        entries_.push_back({batch, now, "Payment Received", payee->first, p.at("AccountID"),
                            metal, p.at("Memo"), weight, *usd, rate});
        CountBooked("EG");
        return Page("e-gold Spend Confirmation",
                    Input("Payer_Account", p.at("AccountID")) + Input("Payee_Account", payee->first) +
                        Input("PAYMENT_AMOUNT", Fixed(*usd, 2)) +
                        Input("PAYMENT_METAL_ID", metal) + Input("PAYMENT_ID", p.at("PAYMENT_ID")) +
                        Input("PAYMENT_BATCH_NUM", std::to_string(batch)));
    }

    std::string Prices(const httplib::Request& req) const {
        if (req.params.size() != 1 || !req.has_param("LATEST") || req.get_param_value("LATEST") != "1")
            return "ERROR: unsupported query\n";
        std::string line = CsvDate(std::time(nullptr));
        for (const std::string& metal : kMetals) line += "," + Fixed(kPrices.at(metal), 2);
        return line + "\n";
    }

private:
    using ParamMap = std::map<std::string, std::string>;

    // The query as a map; an unknown, repeated or missing parameter is an error.
    static ParamMap Params(const httplib::Request& req, const std::vector<std::string>& required,
                           const std::set<std::string>& optional, std::vector<std::string>& errors) {
        ParamMap p;
        const std::set<std::string> known(required.begin(), required.end());
        for (const auto& [name, value] : req.params) {
            if (!known.count(name) && !optional.count(name)) {
                errors.push_back("Unknown parameter " + name);
                continue;
            }
            if (!p.emplace(name, value).second) errors.push_back("Repeated parameter " + name);
        }
        for (const std::string& name : required)
            if (!p.count(name)) errors.push_back("Missing parameter " + name);
        return p;
    }

    static std::string Get(const ParamMap& p, const std::string& key) {
        const auto it = p.find(key);
        return it == p.end() ? std::string() : it->second;
    }

    Account* Login(const ParamMap& p, const char* passKey, std::vector<std::string>& errors) {
        const auto it = accounts_.find(Get(p, "AccountID"));
        if (it == accounts_.end() || it->second.passphrase != Get(p, passKey)) {
            errors.push_back("Invalid AccountID or PassPhrase");
            return nullptr;
        }
        return &it->second;
    }

    void Seed(const std::string& account, const std::string& kind, const std::string& counterpart,
              const std::string& metal, Micro weight, Cents usd, const std::string& memo,
              std::time_t date) {
        entries_.push_back({nextBatch_++, date, kind, account, counterpart, metal, memo, weight,
                            usd, kPrices.at(metal)});
    }

    std::mutex mutex_;
    std::map<std::string, Account> accounts_;
    std::vector<Entry> entries_;  // oldest first
    std::int64_t nextBatch_ = 40000001;
};

}  // namespace

void RegisterEGold(httplib::Server& https, httplib::Server& http) {
    auto service = std::make_shared<Service>();
    const auto html = [](httplib::Response& res, const std::string& body) {
        res.set_content(body, "text/html");
    };
    https.Get("/acct/balance.asp", [service, html](const httplib::Request& req, httplib::Response& res) {
        html(res, service->Balance(req));
    });
    https.Get("/acct/historycsv.asp", [service](const httplib::Request& req, httplib::Response& res) {
        const std::string body = service->History(req);
        res.set_content(body, body.rfind("<html>", 0) == 0 ? "text/html" : "text/plain");
    });
    https.Get("/acct/confirm.asp",
              [service, html](const httplib::Request& req, httplib::Response& res) {
                  const Fault fault = TakeTransferFault("EG");
                  const std::string page = service->Confirm(req, fault);
                  const bool booked = page.find("PAYMENT_BATCH_NUM") != std::string::npos;
                  if (!(booked && AnswerBookedFault(fault, res, page, "text/html")))
                      html(res, page);
              });
    http.Get("/unsecure/metaldata.asp", [service](const httplib::Request& req, httplib::Response& res) {
        res.set_content(service->Prices(req), "text/plain");
    });
}

}  // namespace sandbox
