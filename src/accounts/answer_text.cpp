#include "accounts/answer_text.h"

#include <algorithm>
#include <cstring>

#include "accounts/byte_scan.h"

namespace pw {
namespace {

// Writes the UTF-8 form of a code point XML allows in a character reference at w; the end of
// what was written, or nullptr for any other number (NUL, surrogates, beyond U+10FFFF).
char* PutUtf8(char* w, unsigned long cp) {
    if (cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return nullptr;
    if (cp < 0x80) {
        *w++ = static_cast<char>(cp);
    } else if (cp < 0x800) {
        *w++ = static_cast<char>(0xC0 | (cp >> 6));
        *w++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *w++ = static_cast<char>(0xE0 | (cp >> 12));
        *w++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *w++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        *w++ = static_cast<char>(0xF0 | (cp >> 18));
        *w++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        *w++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *w++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
    return w;
}

// The length of the reference at the start of s ("&...;") when it is one this decoder
// knows, its text written at w (moved past it); 0 (w unchanged) otherwise. The text is never
// longer than the reference: a code point of n UTF-8 bytes takes more than n + 1 digits.
std::size_t DecodeReference(std::string_view s, char*& w) {
    static constexpr struct {
        std::string_view name;
        char ch;
    } kNamed[] = {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    for (const auto& e : kNamed) {
        if (s.substr(0, e.name.size()) == e.name) {
            *w++ = e.ch;
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
    char* const end = PutUtf8(w, cp);
    if (!end) return 0;
    w = end;
    return i + 1;
}

// Writes the decoded text of value at w (room for value.size() bytes); with dash, every "~"
// (also one that was &#126;) is written "-". One scan finds both kinds of byte.
char* PutXmlText(char* w, std::string_view value, bool dash) {
    const char other = dash ? '~' : '&';
    for (;;) {
        const std::size_t k = scan::FindEither(value.data(), value.size(), '&', other);
        if (k != 0) std::memcpy(w, value.data(), k);
        w += k;
        value.remove_prefix(k);
        if (value.empty()) return w;
        if (value.front() == '~') {
            *w++ = '-';
            value.remove_prefix(1);
            continue;
        }
        char* const at = w;
        const std::size_t used = DecodeReference(value, w);
        if (used == 0) {
            *w++ = '&';
            value.remove_prefix(1);
            continue;
        }
        if (dash && w - at == 1 && *at == '~') *at = '-';
        value.remove_prefix(used);
    }
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

std::string DecodeXmlText(std::string_view value) {
    std::string out(value.size(), '\0');
    out.resize(static_cast<std::size_t>(PutXmlText(out.data(), value, false) - out.data()));
    return out;
}

char* PutXmlFieldSlow(char* w, std::string_view value) { return PutXmlText(w, value, true); }

void AppendXmlField(std::string& row, std::string_view value) {
    if (value.empty()) return;
    const std::size_t start = row.size();
    row.resize(start + value.size());
    row.resize(static_cast<std::size_t>(PutXmlField(row.data() + start, value) - row.data()));
}

}  // namespace pw
