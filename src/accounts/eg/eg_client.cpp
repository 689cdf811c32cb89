#include "accounts/eg/eg_client.h"

#include "accounts/eg/eg_requests.h"
#include "accounts/transfer_request.h"
#include "settings/keys.h"
#include "settings/settings_store.h"

namespace pw {
namespace eg {
namespace {

constexpr int kSystemIndex = 3;

}  // namespace

std::string PriceHostSetting(const SettingsStore& settings) {
    const keys::SystemKeys& k = keys::KeysOf(kSystemIndex);
    return PriceHost(SystemHost(settings, kSystemIndex), settings.GetString(k.section, keys::kEGPriceHost, ""));
}

}  // namespace eg

EgClient::EgClient(std::string host, std::string priceHost)
    : host_(std::move(host)), priceHost_(std::move(priceHost)),
      clock_([] { return std::time(nullptr); }) {}

const SystemTraits& EgClient::Traits() const { return EGoldTraits(); }

SecureString EgClient::BalanceUrl(const LoginFields& login, std::time_t) {
    return eg::BalanceUrl(host_, login);
}

SecureString EgClient::HistoryUrl(const LoginFields& login, const HistoryFilter& filter, int,
                                  std::time_t) {
    return eg::HistoryUrl(host_, login, filter);
}

void EgClient::Parse(const std::string& answer, RequestKind kind, bool) {
    eg::ParseAnswer(answer, prices_, clock_(), eg_, CsvRows::History);
    confirmation_ = kind == RequestKind::Transfer ? HiddenInputValue(answer, "PAYMENT_BATCH_NUM")
                                                  : std::string();
    answer_ = ParsedAnswer{};
    answer_.errors = eg_.errors;
    answer_.balanceRows = eg_.balances;
    answer_.historyRows = std::move(eg_.historyRows);
}

std::string EgClient::ErrorReport() const { return ErrorLineReport(eg_.errors); }

std::string EgClient::PriceUrl() const { return eg::PriceUrl(priceHost_); }

void EgClient::ReadPrices(const std::string& answer) { prices_ = eg::ParsePrices(answer); }

SecureString EgClient::TransferUrl(const LoginFields& login, const TextList& queue,
                                   const std::function<bool()>& paymentCheck, std::time_t) {
    return eg::TransferUrl(host_, login, queue, paymentCheck);
}

std::unique_ptr<EgClient> MakeEGoldClient(const SettingsStore& settings) {
    return std::make_unique<EgClient>(SystemHost(settings, eg::kSystemIndex), eg::PriceHostSetting(settings));
}

}  // namespace pw
