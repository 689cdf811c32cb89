#pragma once
// The Perfect Money client: request URLs, the answer parser's lists and history rows. No
// widgets.
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "accounts/account_client.h"
#include "accounts/pm/pm_parser.h"
#include "net/transport.h"

namespace pw {

class SettingsStore;

// Prefix, columns, table files, labels and messages of the Perfect Money tab.
const SystemTraits& PerfectMoneyTraits();

namespace pm {

// The table rows of CSV records (AddHistoryRow of each).
RowList HistoryRows(const RowList& csvRecords);

// "PM_" and the member number.
std::string AccountTag(const std::string& accountId);

// An amount text ("-10.05", "7", "0.1") in whole cents, exactly; nullopt when it is not a
// plain number of at most two decimals.
std::optional<std::int64_t> ExactCents(const std::string& amount);

}  // namespace pm

class PmClient : public AccountClient {
public:
    explicit PmClient(std::string host);

    const SystemTraits& Traits() const override;
    SecureString BalanceUrl(const LoginFields& login, std::time_t now) override;
    SecureString HistoryUrl(const LoginFields& login, const HistoryFilter& filter, int page,
                            std::time_t now) override;
    void Parse(const std::string& answer, RequestKind kind, bool clear) override;
    const ParsedAnswer& Answer() const override { return answer_; }
    std::vector<int> FurtherPages(const HistoryFilter&) const override { return {}; }
    std::string ErrorReport() const override;

    const pm::PmAnswer& Pm() const { return pm_; }
    const std::string& Host() const { return host_; }

    SecureString TransferUrl(const LoginFields& login, const TextList& queue,
                             const std::function<bool()>& paymentCheck, std::time_t now) override;
    // PAYMENT_BATCH_NUM of the last transfer answer.
    std::string TransferConfirmation() const override { return confirmation_; }

  private:
    std::string host_;
    pm::PmAnswer pm_;
    ParsedAnswer answer_;
    std::string confirmation_;
};

std::unique_ptr<PmClient> MakePerfectMoneyClient(const SettingsStore& settings);

}  // namespace pw
