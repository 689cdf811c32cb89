#pragma once
// The demo accounts of the Liberty Reserve interface: balances in ten-thousandths, and the
// receipts of every transfer between them. All access goes through one mutex.
#include <cstdint>
#include <ctime>
#include <map>
#include <mutex>
#include <optional>
#include <variant>
#include <string>
#include <vector>

namespace sandbox::lr {

using Units = std::int64_t;  // 1/10000 of a currency unit

// "-12.3400" style text, four decimals.
std::string FormatUnits(Units v);
// "12", "12.5", "0.0001": a positive amount with at most four decimals; nullopt otherwise.
std::optional<Units> ParseAmount(const std::string& text);

struct Receipt {
    std::int64_t receiptId = 0, transferId = 0;
    std::time_t date = 0;
    std::string payer, payee, currency, memo, source;
    Units amount = 0;  // positive
    Units payerClosing = 0, payeeClosing = 0;
};

struct AccountInfo {
    std::string id, apiName, secret, name;
    std::map<std::string, Units> balances;
};

struct LrError {
    int code;
    std::string text, description;
};

struct HistoryQuery {
    std::optional<std::time_t> from, till;  // inclusive, UTC
    std::string counterpart;                // empty: any
    std::string receiptId;                  // empty: any
    int pageSize = 50, pageNumber = 1;
};

struct HistoryPage {
    std::vector<Receipt> receipts;  // newest first
    int pageSize = 50, pageCount = 1, pageNumber = 1, totalCount = 0;
};

class Ledger {
public:
    Ledger();  // the demo accounts with their seeded history

    std::optional<AccountInfo> Account(const std::string& id) const;
    // Checks the API name and the token of account at now: upper-case hex, as the program
    // builds it, of this UTC hour only.
    bool Authenticate(const std::string& account, const std::string& apiName,
                      const std::string& token, std::time_t now) const;
    HistoryPage History(const std::string& account, const HistoryQuery& q) const;
    // Moves amount from payer to payee; the receipt, or the reason it was refused.
    std::variant<Receipt, LrError> Transfer(const std::string& payer, const std::string& payee,
                                            const std::string& currency, Units amount,
                                            const std::string& memo, std::time_t now);

private:
    Receipt Book(const std::string& payer, const std::string& payee, const std::string& currency,
                 Units amount, const std::string& memo, const std::string& source,
                 std::time_t date);

    mutable std::mutex mutex_;
    std::map<std::string, AccountInfo> accounts_;
    std::vector<Receipt> receipts_;
    std::int64_t nextReceipt_ = 10000001, nextTransfer_ = 20000001;
};

}  // namespace sandbox::lr
