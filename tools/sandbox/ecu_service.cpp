#include "ecu_service.h"

#include <ctime>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace sandbox {
namespace {

struct EcuAccount {
    std::string password;
    std::string balances;  // "USD/EUR"
    // "date;counterpart;amount;currency;batch;memo", each with its year in front.
    std::vector<std::pair<int, std::string>> history;
};

const std::map<std::string, EcuAccount>& Accounts() {
    static const std::map<std::string, EcuAccount> accounts = {
        {"E1000100",
         {"ecu pass#1",
          "12.34/5.67",
          {{2008, "2008-11-30 08:00:00;E2000200;20.00;USD;5001;Opening"},
           {2009, "2009-02-11 09:30:00;E2000200;-5.00;USD;5002;Coffee"},
           {2009, "2009-06-01 12:00:00;E2000200;2.67;EUR;5003;Refund"}}}},
        {"E2000200", {"demo", "1500.00/0.00", {}}},
    };
    return accounts;
}

void Answer(httplib::Response& res, const std::string& text) {
    res.set_content(text, "text/plain; charset=utf-8");
}

// "ERROR <reason>" for a request that may not be answered, or empty; account is then set.
std::string Check(const httplib::Request& req, const std::set<std::string>& allowed,
                  const EcuAccount*& account) {
    std::set<std::string> seen;
    for (const auto& [name, value] : req.params) {
        (void)value;
        if (!allowed.count(name)) return "ERROR Unknown parameter " + name;
        if (!seen.insert(name).second) return "ERROR Parameter " + name + " is given twice";
    }
    const auto it = Accounts().find(req.get_param_value("login"));
    if (it == Accounts().end() || !req.has_param("password") ||
        req.get_param_value("password") != it->second.password)
        return "ERROR Invalid login or password";
    account = &it->second;
    return std::string();
}

// A four-digit year no later than this one.
bool ValidYear(const std::string& text, int& year) {
    if (text.size() != 4) return false;
    year = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        year = year * 10 + (c - '0');
    }
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&now, &tm);
    return year >= 1998 && year <= tm.tm_year + 1900;
}

void Balance(const httplib::Request& req, httplib::Response& res) {
    const EcuAccount* account = nullptr;
    const std::string error = Check(req, {"login", "password"}, account);
    Answer(res, error.empty() ? account->balances : error);
}

void History(const httplib::Request& req, httplib::Response& res) {
    const EcuAccount* account = nullptr;
    std::string error = Check(req, {"login", "password", "endyear"}, account);
    int year = 0;
    if (error.empty() && !ValidYear(req.get_param_value("endyear"), year))
        error = "ERROR Invalid year";
    if (!error.empty()) return Answer(res, error);
    std::string text;
    for (const auto& [y, line] : account->history)
        if (y <= year) text += line + "\n";
    Answer(res, text);
}

}  // namespace

void RegisterEcuMoney(httplib::Server& server) {
    server.Get("/sci/balance.pl", Balance);
    server.Get("/sci/history.pl", History);
}

}  // namespace sandbox
