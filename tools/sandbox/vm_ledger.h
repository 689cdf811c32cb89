#pragma once
// The demo accounts of the V-Money interface: one USD balance in cents each, and the
// statement lines of every movement. All access goes through one mutex.
//
// Demo accounts (Account ID / PIN / password, name, opening balance):
//   VM100001 / 1234 / demopass   "Demo Holder"   750.00 USD, 48 seeded lines from 2009-02-01
//   VM100002 / 5678 / payeepass  "Payee Store"  12000.00 USD
//   VM100003 / 9012 / thirdpass  "Third & Sons"  3000.00 USD
#include <cstdint>
#include <ctime>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <variant>
#include <vector>

namespace sandbox::vm {

using Cents = std::int64_t;

// "-12.30" style text.
std::string FormatCents(Cents v);
// "12", "12.5", "0.01": a positive plain amount with at most two decimals; nullopt otherwise.
std::optional<Cents> ParseAmount(const std::string& text);

struct Line {
    std::int64_t transId = 0;
    std::time_t time = 0;
    std::string type;   // received, sent, fees, referrals, deposits, withdrawals
    std::string party;  // account id, or "Fee Account"
    std::string partyName;
    Cents amount = 0;  // positive
    std::string memo, paymentId;
};

struct AccountInfo {
    std::string id, pin, password, name;
    Cents balance = 0;
};

struct HistoryQuery {
    std::time_t from = 0, till = 0;  // inclusive, UTC
    std::set<std::string> types;
    std::string transId;  // empty: any
};

struct Refusal {
    std::string code, message;
};

class Ledger {
  public:
    Ledger();

    std::optional<AccountInfo> Account(const std::string& id) const;
    // The access token of account at now, as the program builds it (lower-case hex, this UTC
    // hour only); false for an unknown account.
    bool Authenticate(const std::string& account, const std::string& token, std::time_t now) const;
    std::vector<Line> History(const std::string& account,
                              const HistoryQuery& q) const;  // newest first
    std::variant<std::int64_t, Refusal> Transfer(const std::string& payer, const std::string& payee,
                                                 Cents amount, const std::string& memo,
                                                 std::time_t now);

  private:
    std::int64_t Book(const std::string& payer, const std::string& payee, Cents amount,
                      const std::string& memo, std::time_t when);

    mutable std::mutex mutex_;
    std::map<std::string, AccountInfo> accounts_;
    std::map<std::string, std::vector<Line>> lines_;
    std::int64_t nextTrans_ = 5000001;
};

}  // namespace sandbox::vm
