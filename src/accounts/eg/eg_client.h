#pragma once
// The e-gold client: its traits (columns with their cell formats and colours, table files,
// keys, labels, messages, record text, change notice) and a client that builds the requests,
// keeps the metal prices and parses the answers. No widgets.
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "accounts/account_client.h"
#include "accounts/eg/eg_parser.h"
#include "accounts/eg/eg_requests.h"
#include "net/transport.h"

namespace pw {

class SettingsStore;

namespace eg {

// The host of the price page ("EGPriceHost", or the interface's host on port 80).
std::string PriceHostSetting(const SettingsStore& settings);

}  // namespace eg

// Prefix, columns, table files, metals, labels and messages of the e-gold tab.
const SystemTraits& EGoldTraits();

class EgClient : public AccountClient {
public:
    EgClient(std::string host, std::string priceHost);

    const SystemTraits& Traits() const override;
    SecureString BalanceUrl(const LoginFields& login, std::time_t now) override;
    SecureString HistoryUrl(const LoginFields& login, const HistoryFilter& filter, int page,
                            std::time_t now) override;
    // Every parse starts afresh; the answer's history rows are built from its CSV rows.
    void Parse(const std::string& answer, RequestKind kind, bool clear) override;
    const ParsedAnswer& Answer() const override { return answer_; }
    std::vector<int> FurtherPages(const HistoryFilter&) const override { return {}; }
    std::string ErrorReport() const override;

    // The metal price list: read from the answer of the price page (PriceUrl, plain HTTP),
    // emptied by ClearPrices (ChangeAccount).
    const TextList& Prices() const { return prices_; }
    void ReadPrices(const std::string& answer);
    void ClearPrices() { prices_.clear(); }
    std::string PriceUrl() const;

    SecureString TransferUrl(const LoginFields& login, const TextList& queue,
                             const std::function<bool()>& paymentCheck, std::time_t now) override;
    // PAYMENT_BATCH_NUM of the last transfer answer.
    std::string TransferConfirmation() const override { return confirmation_; }

    const eg::EgAnswer& Eg() const { return eg_; }
    // The clock for the balance rows' UpdateDate (tests fix it).
    void SetClock(std::function<std::time_t()> clock) { clock_ = std::move(clock); }

private:
    std::string host_, priceHost_;
    TextList prices_;
    eg::EgAnswer eg_;
    ParsedAnswer answer_;
    std::function<std::time_t()> clock_;
    std::string confirmation_;
};

std::unique_ptr<EgClient> MakeEGoldClient(const SettingsStore& settings);

}  // namespace pw
