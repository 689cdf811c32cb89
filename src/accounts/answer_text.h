#pragma once
// Values taken from an answer on their way into a row. A row joins its fields with "~" and
// nothing escapes it, so a "~" sent by a server (in a memo, a name, an account) would split
// the row: every parser puts server text into its rows through these functions, which write
// it as "-". The XML interfaces (Liberty Reserve, V-Money) send their values escaped; those
// are decoded here, once.
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "accounts/byte_scan.h"
#include "store/row_list.h"

namespace pw {

// What a parser keeps of a history CSV: its raw records, or the table rows made of them in
// the same pass (the raw records are then never kept).
enum class CsvRows { Raw, History };

// Appends value to row with every "~" written as "-".
void AppendRowField(std::string& row, std::string_view value);
// Writes every "~" of the n bytes at p (a value already copied into a row) as "-".
inline void DashTildes(char* p, std::size_t n) {
    for (std::size_t at; (at = scan::Find(p, n, '~')) < n; n -= at + 1) {
        p[at] = '-';
        p += at + 1;
    }
}
// The value with every "~" written as "-".
std::string RowField(std::string_view value);

// The text of an XML value: the five predefined entities (&amp; &lt; &gt; &quot; &apos;) and
// numeric character references (&#233; &#xE9;, written as UTF-8) are decoded; an unknown or
// malformed reference and a lone "&" stay as they are.
std::string DecodeXmlText(std::string_view value);
// Appends the decoded value to row, every "~" (also one that was &#126;) written as "-".
void AppendXmlField(std::string& row, std::string_view value);
// AppendXmlField writing at w, which has room for value.size() bytes (decoding never makes a
// value longer); the end of what was written. A value without "&" or "~" is one scan and a
// copy; one with them goes to PutXmlFieldSlow, which scans for both together.
char* PutXmlFieldSlow(char* w, std::string_view value);
inline char* PutXmlField(char* w, std::string_view value) {
    const std::size_t n = value.size();
    if (scan::FindEither(value.data(), n, '&', '~') < n) return PutXmlFieldSlow(w, value);
    scan::Copy(w, value.data(), n);
    return w + n;
}
// PutXmlField with an empty value written as one space (room: value.size() + 1), as the XML
// interfaces' rows keep their empty values.
inline char* PutXmlValue(char* w, std::string_view value) {
    char* const end = PutXmlField(w, value);
    if (end != w) return end;
    *w = ' ';
    return w + 1;
}

// Calls found(k) for every k of [0, n) with p[k] == c, in order, while found returns true; the
// short stretches of a row are scanned eight bytes at a time, without the cost of a call.
template <class Found>
void ForEachByte(const char* p, std::size_t n, char c, Found found) {
    std::size_t k = 0;
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
        const std::uint64_t pattern = 0x0101010101010101ULL * static_cast<unsigned char>(c);
        for (; n - k >= 8; k += 8) {
            std::uint64_t w;
            std::memcpy(&w, p + k, 8);
            w ^= pattern;
            // The top bit of each byte that was c (no carry crosses a byte).
            for (std::uint64_t hit = ~(((w & kLow7) + kLow7) | w | kLow7); hit != 0; hit &= hit - 1)
                if (!found(k + static_cast<std::size_t>(std::countr_zero(hit) >> 3))) return;
        }
    }
    for (; k < n; ++k)
        if (p[k] == c && !found(k)) return;
}

// FirstFields for the rows of long tables: the "~" are found eight bytes at a time.
template <std::size_t N>
std::array<std::string_view, N> RowFields(std::string_view row, std::string_view missing = {}) {
    std::array<std::string_view, N> f;
    f.fill(missing);
    std::size_t i = 0, from = 0;
    ForEachByte(row.data(), row.size(), '~', [&](std::size_t k) {
        f[i++] = row.substr(from, k - from);
        from = k + 1;
        return i < N;
    });
    if (i < N) f[i] = row.substr(from);
    return f;
}

// Called after the first row of a list read from a text, the row taken from record bytes with
// rest bytes of the text after them: room for rows at the same rate for the rest of the text,
// so that a long list is not copied while it grows (a reservation only: rows still fit when
// the rate changes).
inline void ReserveLikeFirst(RowList& rows, std::size_t record, std::size_t rest) {
    if (rows.size() != 1 || record == 0) return;
    const std::size_t count = rest / record + 1, size = rows.back().size();
    rows.reserve(count, count * (size + size / 8 + 1));
}

// How many bytes c text holds: memchr from one to the next, for bytes some way apart (the line
// feeds of a CSV text, to reserve its rows).
inline std::size_t CountByte(std::string_view text, char c) {
    std::size_t count = 0;
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p != end) {
        const void* hit = std::memchr(p, c, static_cast<std::size_t>(end - p));
        if (!hit) break;
        ++count;
        p = static_cast<const char*>(hit) + 1;
    }
    return count;
}

// The first occurrence of part in text, or npos; searched for the byte of part at
// index key, which the caller picks as one that is rare in such texts (a search by the first
// byte costs a call at every occurrence of that byte).
inline std::size_t FindText(std::string_view text, std::string_view part, std::size_t key) {
    if (part.empty()) return 0;
    if (text.size() < part.size() || key >= part.size()) return std::string_view::npos;
    const char* p = text.data() + key;
    const char* const last = text.data() + (text.size() - part.size()) + key;  // key byte's last place
    while (p <= last) {
        const std::size_t room = static_cast<std::size_t>(last - p) + 1;
        const std::size_t hit = scan::Find(p, room, part[key]);
        if (hit == room) return std::string_view::npos;
        p += hit;
        if (std::memcmp(p - key, part.data(), part.size()) == 0)
            return static_cast<std::size_t>(p - key - text.data());
        ++p;
    }
    return std::string_view::npos;
}

// True when text holds part (FindText).
inline bool HoldsText(std::string_view text, std::string_view part, std::size_t key) {
    return FindText(text, part, key) != std::string_view::npos;
}

// The first byte c in [p, end), or end.
inline const char* FindByteIn(const char* p, const char* end, char c) {
    return p + scan::Find(p, static_cast<std::size_t>(end - p), c);
}

// The first occurrence of marker (a literal) at or after from in text, or npos; meant for the
// short hops between the markers of one element.
template <std::size_t N>
std::size_t FindMarker(std::string_view text, const char (&marker)[N], std::size_t from) {
    static_assert(N >= 2, "a marker of at least one byte");
    constexpr std::size_t n = N - 1;
    const char* const end = text.data() + text.size();
    while (from + n <= text.size()) {
        const char* p = FindByteIn(text.data() + from, end - (n - 1), marker[0]);
        if (p == end - (n - 1)) return std::string_view::npos;
        if (scan::Same(p + 1, marker + 1, n - 1)) return static_cast<std::size_t>(p - text.data());
        from = static_cast<std::size_t>(p - text.data()) + 1;
    }
    return std::string_view::npos;
}

// True when marker (a literal) begins at pos in text.
template <std::size_t N>
bool StartsAt(std::string_view text, std::size_t pos, const char (&marker)[N]) {
    return pos <= text.size() && text.size() - pos >= N - 1 && scan::Same(text.data() + pos, marker, N - 1);
}

// Writes value to w with every "~" written as "-" (w holds value.size() bytes); the end of
// what was written. For rows built in one allocation of their exact size.
inline char* PutRowField(char* w, std::string_view value) {
    if (value.empty()) return w;
    std::memcpy(w, value.data(), value.size());
    ForEachByte(w, value.size(), '~', [w](std::size_t k) {
        w[k] = '-';
        return true;
    });
    return w + value.size();
}

}  // namespace pw
