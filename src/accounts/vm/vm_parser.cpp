#include "accounts/vm/vm_parser.h"

#include <optional>

#include "accounts/request_text.h"

namespace pw::vm {
namespace {

// Cuts the first <name>value</name> out of text and returns the value (an empty one as " ").
// An opening tag without a closing tag is cut alone and gives nullopt; no tag: nullopt.
std::optional<std::string> Take(std::string& text, std::string_view name) {
    const std::string open = "<" + std::string(name) + ">";
    const std::string close = "</" + std::string(name) + ">";
    const std::size_t s = text.find(open);
    if (s == std::string::npos) return std::nullopt;
    const std::size_t v = s + open.size();
    const std::size_t e = text.find(close, v);
    if (e == std::string::npos) {
        text.erase(s, open.size());
        return std::nullopt;
    }
    std::string value = text.substr(v, e - v);
    text.erase(s, e + close.size() - s);
    if (value.empty()) value = " ";
    return value;
}

std::string TakeOrBlank(std::string& text, std::string_view name) {
    return Take(text, name).value_or(" ");
}

// Removes the first occurrence of marker; false when there is none.
bool Cut(std::string& text, std::string_view marker) {
    const std::size_t p = text.find(marker);
    if (p == std::string::npos) return false;
    text.erase(p, marker.size());
    return true;
}

bool IsErrorCode(const std::string& code) {
    return code.find("Error") != std::string::npos || code.find("Fail") != std::string::npos ||
           code.find("Partial") != std::string::npos;
}

}  // namespace

std::string PartyOf(std::string toFromAccount) {
    std::string out;
    while (toFromAccount.find("<AccountId>") != std::string::npos) {
        const auto account = Take(toFromAccount, "AccountId");
        if (!account) continue;  // unclosed: its tag is gone, look again
        const std::string name = TakeOrBlank(toFromAccount, "Name");
        if (!out.empty()) out += ", ";
        out += *account == "Fee Account" ? *account : *account + " (" + name + ")";
    }
    return out.empty() ? std::string(" ") : out;
}

void ParseAnswer(std::string_view answer, std::time_t now, VmAnswer& out) {
    out = VmAnswer{};
    if (answer.find("<Response>") == std::string_view::npos) return;
    std::string text(answer);

    while (Cut(text, "<Status>")) {
        const std::string code = TakeOrBlank(text, "Code");
        const std::string message = TakeOrBlank(text, "Message");
        if (IsErrorCode(code)) out.errors.push_back(code + "~" + message);
    }
    const std::string updated = UtcText("%Y-%m-%d %H:%M:%S", now);
    while (text.find("<Balance>") != std::string::npos) {
        if (const auto value = Take(text, "Balance"))
            out.balances.push_back("USD~" + *value + "~" + updated);
    }
    while (Cut(text, "<Transaction>")) {
        TextList f;
        f.push_back(TakeOrBlank(text, "TransId"));
        f.push_back(TakeOrBlank(text, "Memo"));
        f.push_back(TakeOrBlank(text, "PaymentId"));
        const auto party = Take(text, "ToFromAccount");
        f.push_back(party ? PartyOf(*party) : std::string(" "));
        f.push_back(TakeOrBlank(text, "Timestamp"));
        f.push_back(TakeOrBlank(text, "Amount"));
        f.push_back(TakeOrBlank(text, "TransType"));
        out.transactions.push_back(JoinList(f, "~"));
    }
    while (text.find("<AccountName>") != std::string::npos) {
        if (const auto name = Take(text, "AccountName")) out.accountNames.push_back(*name);
    }
}

}  // namespace pw::vm
