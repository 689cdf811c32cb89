#pragma once
// The GDP client: the two requests of the "/api.htm?method=get" page, the parser of its
// XML-like answers, the tab's traits and the texts the tab traces into the event log.
#include <array>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "accounts/account_client.h"
#include "store/row_list.h"
#include "store/text_list.h"

namespace pw {

class SettingsStore;

namespace gdp {

inline constexpr const char kPage[] = "/api.htm?method=get";

// Trace texts of the Login button, in the order they are written; the answer of the balance
// request is logged between kSendData and kTransformXml.
inline constexpr const char kLoginStart[] = "OnBnClickedButton1:start";
inline constexpr const char kLoginSaveDlgValue[] = "OnBnClickedButton1:SaveDlgValue";
inline constexpr const char kLoginFormXmlBalance[] = "OnBnClickedButton1:FormXML_Balance";
inline constexpr const char kLoginSendData[] = "OnBnClickedButton1:SendData";
inline constexpr const char kLoginTransformXml[] = "OnBnClickedButton1:TransformXML";
inline constexpr const char kLoginBalanceReceived[] = "OnBnClickedButton1:BalanceReceived";
inline constexpr const char kLoginSetTimer[] = "OnBnClickedButton1:SetTimer";
inline constexpr const char kLoginShowBanner[] = "OnBnClickedButton1:ShowBanner";
inline constexpr const char kLoginFillTable[] = "OnBnClickedButton1:FillTable_Account";
inline constexpr std::array<const char*, 9> kLoginTraces = {
    kLoginStart,        kLoginSaveDlgValue,    kLoginFormXmlBalance,
    kLoginSendData,     kLoginTransformXml,    kLoginBalanceReceived,
    kLoginSetTimer,     kLoginShowBanner,      kLoginFillTable};
// Trace of the Get History button, followed by the answer.
inline constexpr const char kHistorySendData[] = "OnBnClickedButton2:SendData";

// "https://" host "/api.htm?method=get&apicheck=<key>&balance=1&account=<account>".
// login.apiName is the Store ID, login.secret the GDP-Key.
SecureString BalanceUrl(const std::string& host, const LoginFields& login);
// "...&apicheck=<key>&history=1&account=<account>&store_id=<store>"; no filter is sent.
SecureString HistoryUrl(const std::string& host, const LoginFields& login);

struct Answer {
    TextList errors;       // error texts (" " for an empty element)
    RowList balanceRows;   // currency~value~update time (UTC "%Y-%m-%d %H:%M:%S")
};

// Errors: every "<error>...</error>" element, in order. Balances: for each "<balance>" part,
// one row per currency of the list, in the list's order, from its "<USD>...</USD>" element;
// a missing element gives no row. An element without its closing tag gives nothing and ends
// its search, so every pass ends. A "~" in a value is written "-". Time and memory grow
// linearly with the answer.
Answer ParseAnswer(std::string_view answer, std::time_t now);

// The usual balance answer in one forward pass: "<balance>" parts, each holding a whole
// "<C>value</C>" element of the same currencies as the first part (in any order, each once),
// no currency element outside a part, no marker inside a value ("<error>" elements are taken
// out first, as ParseAnswer does). Gives exactly what ParseAnswer gives; false (out cleared)
// for an answer of any other shape, which ParseAnswer then reads by ReadAnyShape.
bool ReadUsualShape(std::string_view answer, std::time_t now, Answer& out);
// ParseAnswer by the general engine alone: what every answer gives.
Answer ReadAnyShape(std::string_view answer, std::time_t now);

}  // namespace gdp

// Prefix, columns, table files ("GBPBalance.set", "GBPHistory.set"), currencies (USD, EUR,
// GBP), labels and messages of the GDP tab.
const SystemTraits& GdpTraits();

class GdpClient : public AccountClient {
public:
    explicit GdpClient(std::string host);
    const SystemTraits& Traits() const override;
    SecureString BalanceUrl(const LoginFields& login, std::time_t now) override;
    SecureString HistoryUrl(const LoginFields& login, const HistoryFilter& filter, int page,
                            std::time_t now) override;
    // Parses a balance answer (the history answer is only logged).
    void Parse(const std::string& answer, RequestKind kind, bool clear) override;
    const ParsedAnswer& Answer() const override { return answer_; }
    std::vector<int> FurtherPages(const HistoryFilter&) const override { return {}; }
    std::string ErrorReport() const override;

private:
    std::string host_;
    ParsedAnswer answer_;
};

std::unique_ptr<GdpClient> MakeGdpClient(const SettingsStore& settings);

}  // namespace pw
