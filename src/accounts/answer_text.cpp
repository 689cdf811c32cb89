#include "accounts/answer_text.h"

#include <algorithm>
#include <cstring>

#include "accounts/byte_scan.h"

namespace pw {
namespace {

// Appends the UTF-8 form of a code point XML allows in a character reference; false for
// any other number (NUL, surrogates, beyond U+10FFFF).
bool AppendUtf8(std::string& out, unsigned long cp) {
    if (cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return false;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return true;
}

// The length of the reference at the start of s ("&...;") when it is one this decoder
// knows, its text appended to out; 0 (out unchanged) otherwise.
std::size_t DecodeReference(std::string_view s, std::string& out) {
    static constexpr struct {
        std::string_view name;
        char ch;
    } kNamed[] = {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    for (const auto& e : kNamed) {
        if (s.substr(0, e.name.size()) == e.name) {
            out += e.ch;
            return e.name.size();
        }
    }
    if (s.size() < 4 || s[1] != '#') return 0;
    const bool hex = s[2] == 'x' || s[2] == 'X';
    std::size_t i = hex ? 3 : 2;
    const std::size_t digitsFrom = i;
    unsigned long cp = 0;
    for (; i < s.size() && i < digitsFrom + 8; ++i) {
        const char c = s[i];
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else break;
        cp = cp * (hex ? 16 : 10) + static_cast<unsigned long>(d);
    }
    if (i == digitsFrom || i >= s.size() || s[i] != ';') return 0;
    const std::size_t before = out.size();
    if (!AppendUtf8(out, cp)) {
        out.resize(before);
        return 0;
    }
    return i + 1;
}

}  // namespace

void AppendRowField(std::string& row, std::string_view value) {
    if (value.empty()) return;
    const std::size_t start = row.size();
    row.append(value);
    DashTildes(row.data() + start, value.size());
}

std::string RowField(std::string_view value) {
    std::string out;
    AppendRowField(out, value);
    return out;
}

namespace {

// Appends the decoded text of value to out.
void AppendXmlText(std::string& out, std::string_view value) {
    std::size_t pos = 0;
    for (;;) {
        const void* amp = std::memchr(value.data() + pos, '&', value.size() - pos);
        if (!amp) break;
        const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(amp) - value.data());
        out.append(value.substr(pos, at - pos));
        const std::size_t used = DecodeReference(value.substr(at), out);
        if (used == 0) {
            out += '&';
            pos = at + 1;
        } else {
            pos = at + used;
        }
    }
    out.append(value.substr(pos));
}

}  // namespace

std::string DecodeXmlText(std::string_view value) {
    std::string out;
    if (value.empty()) return out;
    out.reserve(value.size());
    AppendXmlText(out, value);
    return out;
}

void AppendXmlField(std::string& row, std::string_view value) {
    if (value.empty()) return;
    if (!scan::HoldsEither(value.data(), value.size(), '&', '~')) {
        row.append(value);
        return;
    }
    if (!scan::HoldsEither(value.data(), value.size(), '&', '&')) {
        AppendRowField(row, value);
        return;
    }
    // Decoded in place; a "~" (also one written &#126;) becomes "-" afterwards.
    const std::size_t start = row.size();
    AppendXmlText(row, value);
    for (char* p = row.data() + start; (p = static_cast<char*>(std::memchr(p, '~', static_cast<std::size_t>(row.data() + row.size() - p))));)
        *p++ = '-';
}

}  // namespace pw
