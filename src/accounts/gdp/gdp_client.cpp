#include "accounts/gdp/gdp_client.h"

#include <algorithm>
#include <bit>
#include <bitset>
#include <cstdint>
#include <cstring>
#include <vector>

#include "accounts/answer_text.h"
#include "accounts/byte_scan.h"
#include "accounts/cut_text.h"
#include "accounts/query_value.h"
#include "settings/keys.h"
#include "settings/settings_store.h"

namespace pw {
namespace gdp {
namespace {

constexpr int kSystemIndex = 4;

std::string UtcStamp(std::time_t now) {
    std::tm tm{};
    gmtime_r(&now, &tm);
    char buf[32];
    const std::size_t n = std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return std::string(buf, n);
}

// The errors, and the text without them (a view of text when it holds no error, else of
// rest). The elements are taken front to back in one pass; an opening tag without its
// closing tag ends the pass.
std::string_view TakeErrors(std::string_view text, TextList& errors, std::string& rest) {
    static constexpr std::string_view kOpen = "<error>", kClose = "</error>";
    std::size_t pos = 0;
    for (;;) {
        const std::size_t at = text.find(kOpen, pos);
        if (at == std::string_view::npos) break;
        const std::size_t end = text.find(kClose, at + kOpen.size());
        if (end == std::string_view::npos) break;
        const std::string_view value = text.substr(at + kOpen.size(), end - at - kOpen.size());
        errors.push_back(value.empty() ? std::string(" ") : std::string(value));  // a text, not a row
        if (pos == 0) rest.reserve(text.size());
        rest.append(text.substr(pos, at - pos));
        pos = end + kClose.size();
    }
    if (pos == 0) return text;
    rest.append(text.substr(pos));
    return rest;
}

// True when the n bytes at p, which may be read 32 bytes on (n at most 32), hold a "~".
// A value is short: its word or two are tested, no more.
inline bool HoldsTilde32(const char* p, std::size_t n) {
    constexpr std::uint64_t kTildes = scan::kOnes * static_cast<unsigned char>('~');
    std::uint64_t hits = 0;
    for (std::size_t i = 0; i < n; i += 8) {
        // ZeroBytes marks every zero byte (and at worst a few more above one): no mark, no "~".
        std::uint64_t z = scan::ZeroBytes(scan::Load8(p + i) ^ kTildes);
        if (n - i < 8) z &= (std::uint64_t{1} << (8 * (n - i))) - 1;
        hits |= z;
    }
    return hits != 0;
}

// The rows "currency~value~stamp" of one answer (an empty value written " "), written straight
// into the row list. The head "C~" of each currency and the tail "~stamp" are made once,
// padded, so that a row is put together by fixed-size moves; a value of more than 32 bytes, one
// that may not be read 32 bytes on (too near the end of its text) or one holding a "~" goes
// the plain way.
class BalanceRows {
public:
    BalanceRows(const TextList& currencies, const std::string& stamp) : currencies_(currencies), stamp_(stamp) {
        fixed_ = stamp.size() < sizeof tail_;
        for (const std::string& c : currencies) fixed_ = fixed_ && c.size() < sizeof(Head::bytes);
        if (!fixed_) return;
        for (const std::string& c : currencies) {
            Head h{};
            std::memcpy(h.bytes, c.data(), c.size());
            h.bytes[c.size()] = '~';
            h.size = c.size() + 1;
            h.rowSize = c.size() + 2 + stamp.size();
            heads_.push_back(h);
        }
        tail_[0] = '~';
        std::memcpy(tail_ + 1, stamp.data(), stamp.size());
    }

    // The size of the row of currency (an index into the list) with value.
    std::size_t RowSize(std::size_t currency, std::string_view value) const {
        return currencies_[currency].size() + 2 + std::max<std::size_t>(value.size(), 1) + stamp_.size();
    }

    // Appends the row of currency to rows.
    void Add(RowList& rows, std::size_t currency, std::string_view value, bool mayReadOn32) const {
        static constexpr char kBlank[32 + 1] = "                                ";
        const std::size_t size = value.empty() ? 1 : value.size();
        const char* const from = value.empty() ? kBlank : value.data();
        if (fixed_ && size <= 32 && (mayReadOn32 || value.empty()) && !HoldsTilde32(from, size)) {
            // Written whole words past the row's end, then cut back to its size.
            const Head& h = heads_[currency];
            char* const w = rows.AddRow(sizeof h.bytes + 32 + sizeof tail_);
            std::memcpy(w, h.bytes, sizeof h.bytes);
            std::memcpy(w + h.size, from, 32);
            std::memcpy(w + h.size + size, tail_, sizeof tail_);
            rows.ShortenLast(h.rowSize + size);
            return;
        }
        AddPlain(rows, currency, value);
    }

private:
    // Add for any value, byte by byte.
    [[gnu::noinline]] void AddPlain(RowList& rows, std::size_t currency, std::string_view value) const {
        char* w = rows.AddRow(RowSize(currency, value));
        const std::string& c = currencies_[currency];
        std::memcpy(w, c.data(), c.size());
        w += c.size();
        *w++ = '~';
        if (value.empty()) {
            *w++ = ' ';
        } else {
            std::memcpy(w, value.data(), value.size());
            DashTildes(w, value.size());
            w += value.size();
        }
        *w++ = '~';
        std::memcpy(w, stamp_.data(), stamp_.size());
    }

    struct Head {
        char bytes[16];
        std::size_t size;     // of "C~"
        std::size_t rowSize;  // of the row without its value
    };
    const TextList& currencies_;
    const std::string& stamp_;
    bool fixed_ = false;  // every head fits 16 bytes, the tail 32
    std::vector<Head> heads_;
    char tail_[32] = {};
};

// The markers of the balance parts: "<balance>", then "<C>" and "</C>" of each currency C.
const std::vector<std::string>& Markers() {
    static const std::vector<std::string> markers = [] {
        std::vector<std::string> m = {"<balance>"};
        for (const std::string& c : GdpTraits().currencies) {
            m.push_back("<" + c + ">");
            m.push_back("</" + c + ">");
        }
        return m;
    }();
    return markers;
}

// The markers of the direct read (and "<error>", the last), each of at most 16 bytes,
// compared as two words under a mask; empty when some marker is longer.
struct MarkerWords {
    std::uint64_t word[2], mask[2];
    std::size_t size;
};
const std::vector<MarkerWords>& Words() {
    static const std::vector<MarkerWords> words = [] {
        std::vector<MarkerWords> w;
        std::vector<std::string> all = Markers();
        all.push_back("<error>");
        for (const std::string& m : all) {
            if (m.size() > 16) return std::vector<MarkerWords>{};
            char bytes[16] = {}, mask[16] = {};
            std::memcpy(bytes, m.data(), m.size());
            std::memset(mask, 0xFF, m.size());
            MarkerWords x{};
            std::memcpy(x.word, bytes, 16);
            std::memcpy(x.mask, mask, 16);
            x.size = m.size();
            w.push_back(x);
        }
        return w;
    }();
    return words;
}

constexpr int kNoMarker = -1;

// True when x begins at p, which may be read 16 bytes on.
inline bool Begins16(const char* p, const MarkerWords& x) {
    return ((scan::Load8(p) & x.mask[0]) ^ x.word[0]) == 0 && ((scan::Load8(p + 8) & x.mask[1]) ^ x.word[1]) == 0;
}

// The pairs of bytes that follow '<' in the markers and "<error>" (as read from a
// little-endian word).
const std::bitset<65536>& MarkerPairs() {
    static const std::bitset<65536> pairs = [] {
        std::bitset<65536> p;
        for (const MarkerWords& x : Words()) p.set((x.word[0] >> 8) & 0xFFFF);
        return p;
    }();
    return pairs;
}

// The index (in words) of the marker starting at text[at], or kNoMarker. Bytes past the end
// read as NUL, which no marker holds.
inline int MarkerAt(std::string_view text, std::size_t at, const MarkerWords* words, std::size_t count,
                    std::size_t likely) {
    std::uint64_t w0 = 0, w1 = 0;
    if (at + 16 <= text.size()) {
        std::memcpy(&w0, text.data() + at, 8);
        std::memcpy(&w1, text.data() + at + 8, 8);
    } else {
        char bytes[16] = {};
        std::memcpy(bytes, text.data() + at, text.size() - at);
        std::memcpy(&w0, bytes, 8);
        std::memcpy(&w1, bytes + 8, 8);
    }
    const auto is = [&](const MarkerWords& x) {
        return (w0 & x.mask[0]) == x.word[0] && (w1 & x.mask[1]) == x.word[1];
    };
    if (is(words[likely])) return static_cast<int>(likely);
    // The two bytes after '<' rule out most texts that are no marker at once.
    if constexpr (std::endian::native == std::endian::little) {
        if (!MarkerPairs()[(w0 >> 8) & 0xFFFF]) return kNoMarker;
    }
    for (std::size_t m = 0; m < count; ++m) {
        const MarkerWords& x = words[m];
        if ((w0 & x.mask[0]) == x.word[0] && (w1 & x.mask[1]) == x.word[1]) return static_cast<int>(m);
    }
    return kNoMarker;
}

enum class Scan { Read, ErrorTag, OtherShape };

// The direct read of the balance parts of text (the answer without its errors). Every '<' of
// the text is looked at once, so every marker is seen where it stands. Why the rows are the
// general path's: the shape accepted is junk, then parts, each "<balance>" followed by whole
// elements "<C>value</C>" (with junk between); junk and values hold no marker, every part
// holds the same set S of currencies, each once. Then every marker belongs to one part. The
// general path's pass k finds part k's "<balance>" first (those of earlier parts were cut,
// junk has none); for each currency of S in list order the first "<C>" left is part k's
// (earlier parts' elements were cut whole) and the first "</C>" after it closes it (a value
// holds no marker); nothing was cut inside that element, so the value is its bytes as they
// stand. A currency outside S has no marker at all: gone in the first pass, no row. So pass k
// gives part k's elements of S in list order, and no "<balance>" is left after the last part.
// With errorsCount, an "<error>" anywhere stops the read (ErrorTag); without, it is junk.
Scan ScanBalances(std::string_view text, bool errorsCount, const BalanceRows& make, RowList& rows) {
    const TextList& currencies = GdpTraits().currencies;
    if (Words().empty() || currencies.size() > 63 || text.size() >= UINT32_MAX) return Scan::OtherShape;
    const std::size_t errorTag = Words().size() - 1;
    std::vector<std::string_view> values(currencies.size());
    std::uint64_t set = 0, seen = 0;  // S (once the first part is read); this part's currencies
    std::size_t firstAt = CutText::npos;  // where the first part began
    bool firstPart = true;
    int open = -1;                        // currency whose element is open
    std::size_t valueFrom = 0;
    const auto endPart = [&](std::size_t at) {
        if (open >= 0 || (!firstPart && seen != set)) return false;
        if (firstPart) {
            // S, and room for as many parts as the first one fits into the text (a part of
            // k rows takes at least 9 + 11k bytes: at most one row per 11 bytes).
            set = seen;
            firstPart = false;
            const std::size_t parts = (text.size() - firstAt) / std::max<std::size_t>(at - firstAt, 1) + 1;
            std::size_t bytes = 0;
            for (std::size_t i = 0; i < currencies.size(); ++i)
                if (seen >> i & 1) bytes += make.RowSize(i, values[i]);
            // The last row is written a whole padded stretch long before it is cut back.
            rows.reserve(parts * static_cast<std::size_t>(__builtin_popcountll(set)), parts * bytes + 96);
        }
        for (std::uint64_t left = seen; left != 0; left &= left - 1) {
            const auto i = static_cast<std::size_t>(std::countr_zero(left));
            const std::string_view v = values[i];
            make.Add(rows, i, v, static_cast<std::size_t>(text.data() + text.size() - v.data()) >= 32);
        }
        seen = 0;
        return true;
    };
    const MarkerWords* const words = Words().data();
    const std::size_t count = errorsCount ? errorTag + 1 : errorTag;
    std::size_t pos = 0, likely = 0;
    while (pos < text.size()) {
        const std::size_t at = text[pos] == '<' ? pos : pos + scan::Find(text.data() + pos, text.size() - pos, '<');
        if (at == text.size()) break;
        // The marker after the last one in the usual order is tried first.
        const int m = MarkerAt(text, at, words, count, likely);
        if (m == kNoMarker) {
            pos = at + 1;
            continue;
        }
        likely = static_cast<std::size_t>(m) + 1 < errorTag ? static_cast<std::size_t>(m) + 1 : 0;
        if (static_cast<std::size_t>(m) == errorTag) return Scan::ErrorTag;
        pos = at + words[m].size;
        if (m == 0) {
            if (firstAt != CutText::npos && !endPart(at)) return Scan::OtherShape;
            if (firstAt == CutText::npos) firstAt = at;
            continue;
        }
        const int currency = (m - 1) / 2;
        const std::uint64_t bit = std::uint64_t{1} << currency;
        if (m % 2 == 1) {  // "<C>"
            if (firstAt == CutText::npos || open >= 0 || (seen & bit)) return Scan::OtherShape;
            seen |= bit;
            // Its value runs to the next "<", which is usually its closing tag: taken here
            // at once. Anything else there is left to the next round, which sees that "<".
            const std::size_t end = pos + scan::Find(text.data() + pos, text.size() - pos, '<');
            const std::size_t close = static_cast<std::size_t>(m) + 1;
            if (end + 16 <= text.size() && Begins16(text.data() + end, words[close])) {
                values[static_cast<std::size_t>(currency)] = std::string_view(text.data() + pos, end - pos);
                pos = end + words[close].size;
                likely = close + 1 < errorTag ? close + 1 : 0;
                continue;
            }
            open = currency;
            valueFrom = pos;
        } else {  // "</C>"
            if (open != currency) return Scan::OtherShape;
            values[static_cast<std::size_t>(currency)] = text.substr(valueFrom, at - valueFrom);
            open = -1;
        }
    }
    if (firstAt != CutText::npos && !endPart(text.size())) return Scan::OtherShape;
    return Scan::Read;
}

}  // namespace

SecureString BalanceUrl(const std::string& host, const LoginFields& login) {
    return Joined({"https://", host, kPage, "&apicheck=", QueryValue(login.secret),
                   "&balance=1&account=", QueryValue(login.account)});
}

SecureString HistoryUrl(const std::string& host, const LoginFields& login) {
    return Joined({"https://", host, kPage, "&apicheck=", QueryValue(login.secret),
                   "&history=1&account=", QueryValue(login.account),
                   "&store_id=", QueryValue(login.apiName)});
}

bool ReadUsualShape(std::string_view answer, std::time_t now, Answer& out) {
    out = Answer{};
    const std::string stamp = UtcStamp(now);
    const BalanceRows make(GdpTraits().currencies, stamp);
    Scan scan = ScanBalances(answer, true, make, out.balanceRows);
    std::string rest;
    if (scan == Scan::ErrorTag) {  // rare: the errors first, then the text without them
        out.balanceRows.clear();
        scan = ScanBalances(TakeErrors(answer, out.errors, rest), false, make, out.balanceRows);
    }
    if (scan == Scan::Read) return true;
    out = Answer{};
    return false;
}

Answer ReadAnyShape(std::string_view answer, std::time_t now) {
    Answer out;
    std::string rest;
    const std::string_view text = TakeErrors(answer, out.errors, rest);
    if (text.size() >= UINT32_MAX) return out;  // far beyond any answer of the interface
    const std::string stamp = UtcStamp(now);
    const TextList& currencies = GdpTraits().currencies;
    const BalanceRows make(currencies, stamp);
    const std::vector<std::string_view> markers(Markers().begin(), Markers().end());
    CutText x(text, markers);
    std::string scratch;
    // A currency whose element is missing or unclosed is not searched for again.
    std::vector<bool> gone(currencies.size(), false);
    std::size_t live = currencies.size();
    for (std::size_t at = x.Find(0); at != CutText::npos && live > 0; at = x.Find(0)) {
        x.Cut(at, at + x.MarkerSize(0));
        for (std::size_t i = 0; i < currencies.size(); ++i) {
            if (gone[i]) continue;
            const int open = static_cast<int>(1 + 2 * i), close = open + 1;
            const std::size_t s = x.Find(open);
            const std::size_t e = s == CutText::npos ? s : x.Find(close, s + x.MarkerSize(open));
            if (e == CutText::npos) {
                gone[i] = true;
                --live;
                continue;
            }
            make.Add(out.balanceRows, i, x.Left(s + x.MarkerSize(open), e, scratch), false);
            x.Cut(s, e + x.MarkerSize(close));
        }
    }
    return out;
}

Answer ParseAnswer(std::string_view answer, std::time_t now) {
    Answer out;
    if (ReadUsualShape(answer, now, out)) return out;
    return ReadAnyShape(answer, now);
}

}  // namespace gdp

GdpClient::GdpClient(std::string host) : host_(std::move(host)) {}

const SystemTraits& GdpClient::Traits() const { return GdpTraits(); }

SecureString GdpClient::BalanceUrl(const LoginFields& login, std::time_t) {
    return gdp::BalanceUrl(host_, login);
}

SecureString GdpClient::HistoryUrl(const LoginFields& login, const HistoryFilter&, int,
                                   std::time_t) {
    return gdp::HistoryUrl(host_, login);
}

void GdpClient::Parse(const std::string& answer, RequestKind, bool) {
    gdp::Answer parsed = gdp::ParseAnswer(answer, std::time(nullptr));
    answer_ = ParsedAnswer{};
    answer_.errors = std::move(parsed.errors);
    answer_.balanceRows = RowList(parsed.balanceRows);
}

std::string GdpClient::ErrorReport() const { return ErrorLineReport(answer_.errors); }

std::unique_ptr<GdpClient> MakeGdpClient(const SettingsStore& settings) {
    return std::make_unique<GdpClient>(SystemHost(settings, gdp::kSystemIndex));
}

}  // namespace pw
