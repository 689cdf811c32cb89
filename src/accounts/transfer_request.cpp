#include "accounts/transfer_request.h"

#include <cctype>

namespace pw {
namespace {

std::string Trimmed(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return std::string(s);
}

// The attribute value that starts at s (after "name=" or "value="): quoted or up to a blank
// or ">".
std::string_view AttributeValue(std::string_view s) {
    if (s.empty()) return s;
    if (s.front() == '\'' || s.front() == '"') {
        const char q = s.front();
        s.remove_prefix(1);
        const std::size_t end = s.find(q);
        return end == std::string_view::npos ? std::string_view() : s.substr(0, end);
    }
    const std::size_t end = s.find_first_of(" \t\r\n>");
    return s.substr(0, end == std::string_view::npos ? s.size() : end);
}

}  // namespace

TransferResult SendTransfer(AccountClient& client, Transport& transport, const LoginFields& login,
                            const TextList& queue, const std::function<bool()>& paymentCheck,
                            std::time_t now, TransferControl* control) {
    TransferResult r;
    const SecureString url = client.TransferUrl(login, queue, paymentCheck, now);
    if (url.empty()) return r;
    r.exchange = transport.Exchange(url, true, control);
    const bool answered = r.exchange.outcome == Outcome::Answered;
    client.Parse(answered ? r.exchange.body : std::string(), RequestKind::Transfer, true);
    if (!answered) {
        r.state = r.exchange.outcome == Outcome::NotSent ? TransferState::NotSent
                                                         : TransferState::Unknown;
        return r;
    }
    r.confirmation = client.TransferConfirmation();
    if (!client.Answer().errors.empty()) r.errorReport = client.ErrorReport();
    if (!r.confirmation.empty())
        r.state = TransferState::Confirmed;
    else if (!r.errorReport.empty())
        r.state = TransferState::Refused;
    else
        r.state = TransferState::Unknown;
    return r;
}

std::string HiddenInputValue(std::string_view page, std::string_view name) {
    for (std::size_t at = 0; (at = page.find("<input", at)) != std::string_view::npos;) {
        const std::size_t end = page.find('>', at);
        if (end == std::string_view::npos) return std::string();
        const std::string_view tag = page.substr(at, end - at);
        at = end;
        const std::size_t n = tag.find("name=");
        if (n == std::string_view::npos || AttributeValue(tag.substr(n + 5)) != name) continue;
        const std::size_t v = tag.find("value=");
        if (v == std::string_view::npos) return std::string();
        return Trimmed(AttributeValue(tag.substr(v + 6)));
    }
    return std::string();
}

std::string ElementText(std::string_view xml, std::string_view element, std::string_view within) {
    if (!within.empty()) {
        const std::size_t w = xml.find(within);
        if (w == std::string_view::npos) return std::string();
        xml.remove_prefix(w);
    }
    const std::string open = std::string("<").append(element).append(">");
    const std::string close = std::string("</").append(element).append(">");
    const std::size_t a = xml.find(open);
    if (a == std::string_view::npos) return std::string();
    const std::size_t b = xml.find(close, a + open.size());
    if (b == std::string_view::npos) return std::string();
    return Trimmed(xml.substr(a + open.size(), b - a - open.size()));
}

}  // namespace pw
