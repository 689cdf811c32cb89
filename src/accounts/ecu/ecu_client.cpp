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
std::string FloatMoney(std::string_view piece) {
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
    static constexpr std::string_view kMarker = "ERROR ";
    if (std::size_t at = answer.find(kMarker); at != std::string_view::npos) {
        std::string text(answer);
        for (; at != std::string::npos && out.errors.size() < kMaxErrors; at = text.find(kMarker)) {
            text.erase(at, kMarker.size());
            out.errors.push_back(text.empty() ? std::string(" ") : text);
        }
        // Each error holds the whole rest of the answer: markers beyond the last error kept
        // are only taken out, and that leaves nothing to read, as an answer that reports an
        // error holds no balances, whatever its text looks like.
        return out;
    }
    if (kind != AnswerKind::Balance) return out;

    // The answer split at "/": with two pieces or more, piece k is the balance of currency k.
    // A number holds no "/", so the number a piece begins with is the one the rest of the
    // answer from that piece on begins with: the end of the last piece read is never looked for.
    const TextList& currencies = EcuTraits().currencies;
    const std::string stamp = UtcStamp(now);
    std::size_t from = 0;
    for (std::size_t k = 0; k < currencies.size(); ++k) {
        const bool last = k + 1 == currencies.size();
        const std::size_t slash = last && k > 0 ? std::string_view::npos : answer.find('/', from);
        if (k == 0 && slash == std::string_view::npos) break;  // one piece: no balances
        out.balanceRows.push_back(currencies[k] + "~" + FloatMoney(answer.substr(from)) + "~" + stamp);
        if (slash == std::string_view::npos) break;
        from = slash + 1;
    }
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
