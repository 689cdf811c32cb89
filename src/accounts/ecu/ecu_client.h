#pragma once
// The ECUMoney client: the balance and history pages, the parser of their plain-text answers
// and the tab's traits.
#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "accounts/account_client.h"
#include "store/text_list.h"

namespace pw {

class SettingsStore;

namespace ecu {

inline constexpr const char kBalancePath[] = "/sci/balance.pl?";
inline constexpr const char kHistoryPath[] = "/sci/history.pl?";

// Shown when "ECU-Account" is ticked and its edit is empty; the string table has no such
// text for this system.
inline constexpr const char kNoCounterpartMessage[] =
    "You are checked option for select on ECU-number, but don't entered it";

// "https://" host "/sci/balance.pl?login=<account>&password=<password>".
SecureString BalanceUrl(const std::string& host, const LoginFields& login);
// "https://" host "/sci/history.pl?login=<account>&password=<password>&endyear=2009". The
// interface takes no count, dates or filters: none is ever sent.
SecureString HistoryUrl(const std::string& host, const LoginFields& login);

enum class AnswerKind { Balance, History };

// Most errors one answer gives.
inline constexpr std::size_t kMaxErrors = 10;

struct Answer {
    TextList errors;       // one entry per "ERROR " marker
    TextList balanceRows;  // currency~value ("%.2f" through a 32-bit float)~update time
};

// Errors: for each "ERROR " marker, the marker is deleted and the whole remaining answer is
// one error (" " when nothing remains); after kMaxErrors errors the further markers are only
// deleted, so time and memory stay linear in the answer. Balances (balance answers without
// errors only; an error is never shown as a result): the remaining answer split at "/"; with two pieces or more, piece k gives the row of currency k (USD, EUR);
// pieces beyond the currencies are ignored.
Answer ParseAnswer(std::string_view answer, AnswerKind kind, std::time_t now);

}  // namespace ecu

// Prefix, columns, table files, currencies (USD, EUR), labels and messages of the ECUMoney
// tab; msgNoCounterpart is the fixed text ecu::kNoCounterpartMessage.
const SystemTraits& EcuTraits();

class EcuClient : public AccountClient {
public:
    explicit EcuClient(std::string host);
    const SystemTraits& Traits() const override;
    SecureString BalanceUrl(const LoginFields& login, std::time_t now) override;
    SecureString HistoryUrl(const LoginFields& login, const HistoryFilter& filter, int page,
                            std::time_t now) override;
    // RequestKind::History parses a history answer (errors only); any other kind a balance
    // answer.
    void Parse(const std::string& answer, RequestKind kind, bool clear) override;
    const ParsedAnswer& Answer() const override { return answer_; }
    std::vector<int> FurtherPages(const HistoryFilter&) const override { return {}; }
    std::string ErrorReport() const override;

private:
    std::string host_;
    ParsedAnswer answer_;
};

std::unique_ptr<EcuClient> MakeEcuClient(const SettingsStore& settings);

}  // namespace pw
