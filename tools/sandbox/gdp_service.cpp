#include "gdp_service.h"

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace sandbox {
namespace {

struct GdpAccount {
    std::string store;
    std::string key;
    // Currency elements in the order the balance answer writes them.
    std::vector<std::pair<std::string, std::string>> balances;
    std::vector<std::string> history;  // <item> elements
};

const std::map<std::string, GdpAccount>& Accounts() {
    static const std::map<std::string, GdpAccount> accounts = {
        {"GDP1001",
         {"ST-77",
          "gdp+key&1",
          {{"USD", "125.50"}, {"EUR", "40.00"}, {"GBP", "7.25"}},
          {"<item><date>2009-03-01 10:00:00</date><from>GDP2002</from><amount>25.00</amount>"
           "<currency>USD</currency><batch>7001</batch><memo>Invoice 12</memo></item>",
           "<item><date>2009-03-04 16:20:00</date><from>GDP2002</from><amount>-4.75</amount>"
           "<currency>GBP</currency><batch>7002</batch><memo>Books</memo></item>"}}},
        {"GDP2002",
         {"ST-88", "k2", {{"GBP", "99.99"}, {"USD", "3.10"}}, {}}},
    };
    return accounts;
}

std::string Response(const std::string& body) {
    return "<?xml version=\"1.0\"?>\n<response>" + body + "</response>";
}

std::string Error(const std::string& text) { return "<error>" + text + "</error>"; }

// The error of a request, or empty when it may be answered.
std::string Check(const httplib::Request& req, const GdpAccount*& account) {
    std::set<std::string> seen;
    for (const auto& [name, value] : req.params) {
        (void)value;
        if (!seen.insert(name).second) return Error("Parameter " + name + " is given twice");
    }
    if (req.get_param_value("method") != "get") return Error("Unknown method");
    const bool balance = req.has_param("balance");
    const bool history = req.has_param("history");
    if (balance == history) return Error("Ask for either balance or history");
    if ((balance && req.get_param_value("balance") != "1") ||
        (history && req.get_param_value("history") != "1"))
        return Error("Invalid request value");
    const std::set<std::string> allowed =
        balance ? std::set<std::string>{"method", "apicheck", "balance", "account"}
                : std::set<std::string>{"method", "apicheck", "history", "account", "store_id"};
    for (const std::string& name : seen)
        if (!allowed.count(name)) return Error("Unknown parameter " + name);
    const auto it = Accounts().find(req.get_param_value("account"));
    if (it == Accounts().end() || !req.has_param("apicheck") ||
        req.get_param_value("apicheck") != it->second.key)
        return Error("Invalid account or API key");
    if (history && req.get_param_value("store_id") != it->second.store)
        return Error("Invalid store ID");
    account = &it->second;
    return std::string();
}

void Handle(const httplib::Request& req, httplib::Response& res) {
    const GdpAccount* account = nullptr;
    std::string body = Check(req, account);
    if (body.empty() && req.has_param("balance")) {
        body = "<balance>";
        for (const auto& [currency, value] : account->balances)
            body += "<" + currency + ">" + value + "</" + currency + ">";
        body += "</balance>";
    } else if (body.empty()) {
        body = "<history>";
        for (const std::string& item : account->history) body += item;
        body += "</history>";
    }
    res.set_content(Response(body), "text/xml; charset=utf-8");
}

}  // namespace

void RegisterGdp(httplib::Server& server) { server.Get("/api.htm", Handle); }

}  // namespace sandbox
