#include "accounts/request_text.h"

#include <array>

namespace pw {
namespace {

std::string Format(const char* format, const std::tm& tm) {
    std::array<char, 128> buf{};
    const std::size_t n = std::strftime(buf.data(), buf.size(), format, &tm);
    return std::string(buf.data(), n);
}

}  // namespace

SecureString XmlEscape(std::string_view text) {
    SecureString out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

SecureString PercentEncode(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    SecureString out;
    out.reserve(text.size() * 3);
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                                (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' ||
                                c == '~';
        if (unreserved) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

SecureString XmlElement(std::string_view name, std::string_view value) {
    const SecureString escaped = XmlEscape(value);
    SecureString out;
    out.reserve(escaped.size() + 2 * name.size() + 5);
    out += '<';
    out += name;
    out += '>';
    out += escaped;
    out += "</";
    out += name;
    out += '>';
    return out;
}

std::string UtcText(const char* format, std::time_t now) {
    std::tm tm{};
    gmtime_r(&now, &tm);
    return Format(format, tm);
}

std::string LocalText(const char* format, std::time_t now) {
    std::tm tm{};
    localtime_r(&now, &tm);
    return Format(format, tm);
}

}  // namespace pw
