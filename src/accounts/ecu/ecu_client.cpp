#include "accounts/ecu/ecu_client.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "accounts/query_value.h"
#include "accounts/tab_logic.h"
#include "settings/keys.h"
#include "settings/settings_store.h"

namespace pw {
namespace ecu {
namespace {

constexpr int kSystemIndex = 5;

std::string UtcStamp(std::time_t now) {
    std::tm tm{};
    gmtime_r(&now, &tm);
    char buf[32];
    const std::size_t n = std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return std::string(buf, n);
}

// "%.2f" of the piece read as a number and passed through a 32-bit float. A number beyond
// the float's range stays at its largest value instead of becoming infinite.
std::string FloatMoney(const std::string& piece) {
    const double d = std::clamp(ParseAmount(piece), -static_cast<double>(FLT_MAX),
                                static_cast<double>(FLT_MAX));
    return FormatMoney(static_cast<double>(static_cast<float>(d)));
}

SecureString Query(const LoginFields& login) {
    return Joined({"login=", QueryValue(login.account), "&password=", QueryValue(login.secret)});
}

}  // namespace

SecureString BalanceUrl(const std::string& host, const LoginFields& login) {
    return Joined({"https://", host, kBalancePath, Query(login)});
}

SecureString HistoryUrl(const std::string& host, const LoginFields& login) {
    return Joined({"https://", host, kHistoryPath, Query(login), "&endyear=2009"});
}

Answer ParseAnswer(std::string_view answer, AnswerKind kind, std::time_t now) {
    Answer out;
    std::string text(answer);
    static const std::string kMarker = "ERROR ";
    std::size_t at = text.find(kMarker);
    for (; at != std::string::npos && out.errors.size() < kMaxErrors; at = text.find(kMarker)) {
        text.erase(at, kMarker.size());
        out.errors.push_back(text.empty() ? std::string(" ") : text);
    }
    if (at != std::string::npos) {
        // Each error holds the whole rest of the answer: markers beyond the last error kept
        // are only taken out, in one pass.
        std::string rest;
        rest.reserve(text.size());
        std::size_t pos = 0;
        for (; at != std::string::npos; at = text.find(kMarker, pos)) {
            rest.append(text, pos, at - pos);
            pos = at + kMarker.size();
        }
        rest.append(text, pos);
        text = std::move(rest);
    }
    // An answer that reports an error holds no balances, whatever its text looks like.
    if (kind != AnswerKind::Balance || !out.errors.empty()) return out;

    const TextList pieces = Split(text, "/");
    if (pieces.size() < 2) return out;
    const TextList& currencies = EcuTraits().currencies;
    const std::string stamp = UtcStamp(now);
    for (std::size_t k = 0; k < pieces.size() && k < currencies.size(); ++k)
        out.balanceRows.push_back(currencies[k] + "~" + FloatMoney(pieces[k]) + "~" + stamp);
    return out;
}

}  // namespace ecu

EcuClient::EcuClient(std::string host) : host_(std::move(host)) {}

const SystemTraits& EcuClient::Traits() const { return EcuTraits(); }

SecureString EcuClient::BalanceUrl(const LoginFields& login, std::time_t) {
    return ecu::BalanceUrl(host_, login);
}

SecureString EcuClient::HistoryUrl(const LoginFields& login, const HistoryFilter&, int,
                                   std::time_t) {
    return ecu::HistoryUrl(host_, login);
}

void EcuClient::Parse(const std::string& answer, RequestKind kind, bool) {
    ecu::Answer parsed = ecu::ParseAnswer(
        answer, kind == RequestKind::History ? ecu::AnswerKind::History : ecu::AnswerKind::Balance,
        std::time(nullptr));
    answer_ = ParsedAnswer{};
    answer_.errors = std::move(parsed.errors);
    answer_.balanceRows = RowList(parsed.balanceRows);
}

std::string EcuClient::ErrorReport() const { return ErrorLineReport(answer_.errors); }

std::unique_ptr<EcuClient> MakeEcuClient(const SettingsStore& settings) {
    return std::make_unique<EcuClient>(SystemHost(settings, ecu::kSystemIndex));
}

}  // namespace pw
