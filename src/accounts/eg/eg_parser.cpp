#include "accounts/eg/eg_parser.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <utility>
#include <vector>

#include "accounts/answer_text.h"
#include "accounts/cut_text.h"

#include "accounts/eg/eg_requests.h"
#include "accounts/tab_logic.h"

namespace pw::eg {
namespace {

constexpr std::string_view kHidden = "<input type=hidden";
constexpr std::string_view kError = "<input type=hidden name=ERROR";
constexpr std::string_view kName = "hidden name=";
constexpr std::string_view kValue = "value=\"";
constexpr std::string_view kEnd = "\">";
constexpr double kGramsPerOunce = 31.103;

std::string Blank(std::string v) { return v.empty() ? std::string(" ") : v; }

enum Marker : int { kHiddenMark, kErrorMark, kNameMark, kValueMark, kEndMark };

const std::vector<std::string_view>& InputMarkers() {
    static const std::vector<std::string_view> m = {kHidden, kError, kName, kValue, kEnd};
    return m;
}

enum class Took { None, Unfinished, Value };

// The value of the first value marker left, cut out through its end marker. A value marker
// without an end marker: the rest of the text is cut (Unfinished).
Took TakeValue(CutText& x, std::string& value, std::string& scratch) {
    const std::size_t v = x.Find(kValueMark);
    if (v == CutText::npos) return Took::None;
    const std::size_t start = v + kValue.size();
    const std::size_t e = x.Find(kEndMark, start);
    if (e == CutText::npos) {
        x.Cut(v, x.Text().size());
        return Took::Unfinished;
    }
    value = x.Left(start, e, scratch);
    x.Cut(v, e + kEnd.size());
    return Took::Value;
}

// Leading integer as atoi reads it, clamped to the int range.
long long LeadingInt(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
    long long v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        if (v < 100000000000LL) v = v * 10 + (s[i] - '0');
    if (v > 2147483647LL) v = 2147483647LL;
    return neg ? -v : v;
}

std::string UtcStamp(std::time_t now) {
    std::tm tm{};
    gmtime_r(&now, &tm);
    char buf[64];
    const std::size_t n = std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return std::string(buf, n);
}

void ParseInputs(std::string_view text, const TextList& prices, std::time_t now, EgAnswer& out) {
    if (text.size() >= UINT32_MAX) return;  // far beyond any answer of the interface
    CutText x(text, InputMarkers());
    std::string scratch, value, name;
    // Errors, while an ERROR input is left.
    for (std::size_t at; (at = x.Find(kErrorMark)) != CutText::npos;) {
        x.Cut(at, at + kError.size());
        value.clear();
        const Took took = TakeValue(x, value, scratch);
        out.errors.push_back(took == Took::Value ? Blank(value) : std::string());
        if (took == Took::Unfinished) return;
    }
    // Balances, while a hidden input is left. Every pass cuts text, so the loop ends.
    while (x.Find(kHiddenMark) != CutText::npos) {
        bool cut = false;
        name.clear();
        const std::size_t n = x.Find(kNameMark);
        if (n != CutText::npos) {
            const std::size_t start = n + kName.size();
            const std::size_t blank = x.FindByte(' ', start);
            if (blank == CutText::npos) return;  // a name without its end: unfinished
            name = x.Left(start, blank, scratch);
            x.Cut(n, blank + 1);
            cut = true;
        }
        value.clear();
        const Took took = TakeValue(x, value, scratch);
        if (took == Took::Unfinished) return;
        if (!cut && took == Took::None) {
            // Neither a name nor a value: drop this input's opening so the next one is read.
            const std::size_t h = x.Find(kHiddenMark);
            x.Cut(0, h + kHidden.size());
            continue;
        }
        name = Blank(name);
        if (name.find("_Grams") != std::string::npos) continue;
        out.balances.push_back(BalanceRow(RowField(name.substr(0, name.find('_'))),
                                          RowField(Blank(value)), prices, now));
    }
}

// Appends value written "%.*lld": at least digits digits.
void AppendPadded(std::string& out, long long value, int digits) {
    if (value >= 0 && value < 100000000) {  // the usual case, without a format string
        char buf[16];
        int n = 0;
        for (long long v = value; v > 0 || n < digits; v /= 10) buf[15 - n++] = static_cast<char>('0' + v % 10);
        out.append(buf + 16 - n, static_cast<std::size_t>(n));
        return;
    }
    char buf[32];
    const int n = std::snprintf(buf, sizeof buf, "%.*lld", digits, value);
    out.append(buf, static_cast<std::size_t>(n > 0 ? n : 0));
}

// Appends the field with its date rewritten (see RewriteDate).
void AppendRewrittenDate(std::string& out, std::string_view field) {
    const std::size_t blank = field.find(' ');
    const std::string_view date = field.substr(0, blank);
    const std::size_t s1 = date.find('/');
    const std::size_t s2 = s1 == std::string_view::npos ? s1 : date.find('/', s1 + 1);
    if (blank == std::string_view::npos || field.find(' ', blank + 1) != std::string_view::npos ||
        s2 == std::string_view::npos || date.find('/', s2 + 1) != std::string_view::npos) {
        out.append(field);
        return;
    }
    AppendPadded(out, LeadingInt(date.substr(0, s1)), 2);
    out += '/';
    AppendPadded(out, LeadingInt(date.substr(s1 + 1, s2 - s1 - 1)), 2);
    out += '/';
    AppendPadded(out, LeadingInt(date.substr(s2 + 1)), 4);
    out += ' ';
    out.append(field.substr(blank + 1));
}

// Where CopyLine stopped: at the line feed, at the end of the text, at the end of the room, at
// an input or at "No Records Found".
enum class LineStop { LineFeed, TextEnd, Room, Hidden, NoRecords };

// Sixteen bytes side by side (GCC and Clang vector extensions: the compiler's SIMD on every
// machine); a comparison gives -1 in each byte where it holds, 0 elsewhere.
using Bytes16 = signed char __attribute__((vector_size(16)));

inline Bytes16 Splat(char c) {
    const auto b = static_cast<signed char>(c);
    return Bytes16{b, b, b, b, b, b, b, b, b, b, b, b, b, b, b, b};
}

// The index of the first byte of m that is -1, or 16 when none is.
inline std::size_t FirstSet(Bytes16 m) {
    std::uint64_t half[2];
    std::memcpy(half, &m, sizeof half);
    if (half[0] != 0) return static_cast<std::size_t>(std::countr_zero(half[0]) >> 3);
    if (half[1] != 0) return 8 + static_cast<std::size_t>(std::countr_zero(half[1]) >> 3);
    return 16;
}

// Bit i of the result is the top bit of byte i of m.
inline std::uint64_t TopBits(Bytes16 m) {
    constexpr std::uint64_t kTops = 0x8080808080808080ULL, kGather = 0x0002040810204081ULL;
    std::uint64_t half[2];
    std::memcpy(half, &m, sizeof half);
    return ((half[0] & kTops) * kGather) >> 56 | (((half[1] & kTops) * kGather) >> 56) << 8;
}

// The places of the first eleven "~" of row (fewer when it has fewer) written to at; how many
// there are. Sixty-four bytes at a time are gathered into one word of bits, whose set bits
// are then taken in turn.
inline std::size_t FirstTildes(std::string_view row, std::size_t (&at)[11]) {
    const Bytes16 tildes = Splat('~');
    std::size_t n = 0;
    for (std::size_t base = 0; n < std::size(at) && base < row.size();) {
        const std::size_t len = std::min<std::size_t>(row.size() - base, 64);
        const char* const p = row.data() + base;
        std::uint64_t bits = 0;
        std::size_t i = 0;
        for (; i + 16 <= len; i += 16) {
            Bytes16 v;
            std::memcpy(&v, p + i, 16);
            bits |= TopBits(v == tildes) << i;
        }
        for (; i < len; ++i) bits |= std::uint64_t{p[i] == '~'} << i;
        for (; bits != 0 && n < std::size(at); bits &= bits - 1)
            at[n++] = base + static_cast<std::size_t>(std::countr_zero(bits));
        base += len;
    }
    return n;
}

constexpr std::string_view kNoRecords = "No Records Found";

// True when the "<" at p begins "<input type=hidden" or the "F" at p is that of "No Records
// Found" (its byte 11), in text.
inline bool MarkerAt(std::string_view text, const char* p) {
    const auto at = static_cast<std::size_t>(p - text.data());
    return *p == '<' ? text.substr(at, kHidden.size()) == kHidden
                     : at >= 11 && text.substr(at - 11, kNoRecords.size()) == kNoRecords;
}

// Copies the line from p to w as its raw row takes it, up to its line feed: quotes dropped, ","
// written "~" (the fields' separator) and "~" written "-". One pass, sixteen bytes at a time,
// that also looks at each "<" and "F" for the two markers that make the text no history
// (MarkerAt). Each block is written whole while sixteen bytes of room are left, so up to
// fifteen bytes past what is kept may be written (never past room). Stops at the line feed
// (p at it), at the end of text (the line has none), when w reaches room, or at a marker
// (p at its key byte).
inline LineStop CopyLine(std::string_view text, const char*& p, char*& w, char* room) {
    const char* const end = text.data() + text.size();
    const Bytes16 commas = Splat(','), tildes = Splat('~'), feeds = Splat('\n'), quotes = Splat('"'),
                  opens = Splat('<'), effs = Splat('F');
    const Bytes16 toTilde = Splat(',' ^ '~'), toDash = Splat('~' ^ '-');
    const auto stops = [](char c) { return c == '\n' || c == '"' || c == '<' || c == 'F'; };
    for (;;) {
        bool found = false;
        if constexpr (std::endian::native == std::endian::little) {
            while (end - p >= 16 && room - w >= 16) {
                Bytes16 v;
                std::memcpy(&v, p, 16);
                const Bytes16 marked = v ^ ((v == commas) & toTilde) ^ ((v == tildes) & toDash);
                std::memcpy(w, &marked, 16);
                const std::size_t k = FirstSet((v == feeds) | (v == quotes) | (v == opens) | (v == effs));
                p += k;
                w += k;
                if (k < 16) {
                    found = true;
                    break;
                }
            }
        }
        if (!found) {
            for (; p != end && !stops(*p) && w != room; ++p) *w++ = *p == ',' ? '~' : *p == '~' ? '-' : *p;
            if (p == end) return LineStop::TextEnd;
            if (!stops(*p)) return LineStop::Room;
        }
        if (*p == '\n') return LineStop::LineFeed;
        if (*p == '"') {
            ++p;
        } else if (MarkerAt(text, p)) {
            return *p == '<' ? LineStop::Hidden : LineStop::NoRecords;
        } else {
            if (w == room) return LineStop::Room;
            *w++ = *p++;  // a "<" or "F" as any other byte
        }
    }
}

// The first blank, "," or line feed in [p, end), or end: where the date part of a first field
// ends.
inline const char* DateBreak(const char* p, const char* end) {
    if constexpr (std::endian::native == std::endian::little) {
        for (; end - p >= 8; p += 8) {
            const std::uint64_t v = scan::Load8(p);
            if (const std::uint64_t z = scan::ZeroBytes(v ^ (scan::kOnes * ' ')) |
                                        scan::ZeroBytes(v ^ (scan::kOnes * ',')) |
                                        scan::ZeroBytes(v ^ (scan::kOnes * '\n')))
                return p + (std::countr_zero(z) >> 3);
        }
    }
    for (; p != end; ++p)
        if (*p == ' ' || *p == ',' || *p == '\n') return p;
    return end;
}

// The usual start of a history line, "D/M/YYYY ": day and month of one or two plain digits, a
// year of one to four, then a blank. It is the whole date part of the first field when no
// further blank follows before the first "," or line feed.
struct UsualDate {
    int day = 0, month = 0, year = 0;  // the digits of each piece; all 0: not the usual start

    // The start at p in [p, end).
    static UsualDate At(const char* p, const char* end) {
        int i = 0;
        const auto piece = [&](int most, char last) {
            const int start = i;
            while (p + i != end && i - start <= most && p[i] >= '0' && p[i] <= '9') ++i;
            const int n = i - start;
            if (n == 0 || n > most || p + i == end || p[i] != last) return 0;
            ++i;
            return n;
        };
        UsualDate d;
        if ((d.day = piece(2, '/')) == 0 || (d.month = piece(2, '/')) == 0 || (d.year = piece(4, ' ')) == 0)
            return {};
        return d;
    }
    // Its bytes at the start of the line.
    std::size_t Size() const { return static_cast<std::size_t>(day + month + year + 3); }
    // Writes the start at p as AppendRewrittenDate writes it, "DD/MM/YYYY " (11 bytes), to out.
    void Put(const char* p, char* out) const {
        const auto put = [&](int width, int n, char last) {  // byte by byte, no call
            for (int k = 0; k < width; ++k) out[k] = k < width - n ? '0' : p[k - (width - n)];
            out[width] = last;
            out += width + 1;
            p += n + 1;
        };
        put(2, day, '/');
        put(2, month, '/');
        put(4, year, ' ');
    }
};
constexpr std::size_t kUsualDateSize = 11;

// How many bytes a line longer than this asks for at a time (see ReadCsvRows).
constexpr std::size_t kRowRoom = 256;

// What a history CSV turned out to be.
enum class CsvEnd {
    Rows,       // a history: the rows read
    NoRecords,  // a history without rows (it holds "No Records Found")
    Hidden,     // no history: it holds "<input type=hidden" (read as a page of inputs)
};

// What the text holds from p on, once "No Records Found" is seen before p or after it.
CsvEnd NoRecordsFrom(std::string_view text, const char* p) {
    return text.find(kHidden, static_cast<std::size_t>(p - text.data())) == std::string_view::npos
               ? CsvEnd::NoRecords
               : CsvEnd::Hidden;
}

// What the stretch [from, to) of text holds of the two markers, for the stretches CopyLine
// does not copy (the header line, a general first field, an unfinished last line); a marker
// lies within one line and one field, no quote in it.
CsvEnd MarkersIn(std::string_view text, const char* from, const char* to) {
    const std::string_view stretch(from, static_cast<std::size_t>(to - from));
    if (stretch.find(kHidden) != std::string_view::npos) return CsvEnd::Hidden;
    return HoldsText(stretch, kNoRecords, 11) ? NoRecordsFrom(text, from) : CsvEnd::Rows;
}

// The raw rows of a history CSV (header line dropped, an unfinished last line too), each
// written in one pass over its line: the first field's date rewritten, then CopyLine. Every
// byte of the text is looked at once for the markers (CsvEnd); the rows read are of no use
// unless it ends with CsvEnd::Rows. sink.Reserve() comes right before the first row (a page
// of inputs mostly shows its first input before); each row is written into sink.Start(n)
// (room for n bytes) and handed over by sink.End(size); a longer one asks for more room by
// sink.More(used, n) (its first used bytes kept); sink.Drop() takes back the room of an
// unfinished last line. A row asks for no more than the rest of the text and 24 bytes (a
// rewritten date is at most 8 bytes longer than its field: three empty pieces become
// "00/00/0000"; 16 bytes of CopyLine's room), and for more only when its line is long.
template <class Sink>
CsvEnd ReadCsvRows(std::string_view text, Sink& sink) {
    const char* const end = text.data() + text.size();
    const auto* header = static_cast<const char*>(std::memchr(text.data(), '\n', text.size()));
    if (header == nullptr) return MarkersIn(text, text.data(), end);
    if (const CsvEnd e = MarkersIn(text, text.data(), header); e != CsvEnd::Rows) return e;
    bool reserved = false;
    std::string date, head;
    for (const char* p = header + 1; p != end;) {
        UsualDate usual = UsualDate::At(p, end);
        std::string_view prefix;  // the first field's date rewritten the general way
        const char* q = p + (usual.day == 0 ? 0 : usual.Size());  // where the rest of the line begins
        const char* const at = DateBreak(q, end);
        if (at == end) return MarkersIn(text, p, end);  // no line feed left
        if (*at == ' ') {
            usual = {};
            // A first field with a blank, not the usual date: rewritten the general way.
            const auto* nl = static_cast<const char*>(std::memchr(at, '\n', static_cast<std::size_t>(end - at)));
            if (nl == nullptr) return MarkersIn(text, p, end);
            const char* const firstEnd = FindByteIn(p, nl, ',');
            if (const CsvEnd e = MarkersIn(text, p, firstEnd); e != CsvEnd::Rows) return e;
            std::string_view field(p, static_cast<std::size_t>(firstEnd - p));
            if (FindByteIn(p, firstEnd, '"') != firstEnd) {
                head.clear();
                for (const char c : field)
                    if (c != '"') head += c;
                field = head;
            }
            date.clear();
            AppendRewrittenDate(date, field);
            std::replace(date.begin(), date.end(), '~', '-');
            prefix = date;
            q = firstEnd;
        }
        const std::size_t before = usual.day == 0 ? prefix.size() : kUsualDateSize;
        std::size_t room = before + std::min(static_cast<std::size_t>(end - q), kRowRoom) + 16;
        if (!std::exchange(reserved, true)) sink.Reserve();
        char* row = sink.Start(room);
        // The usual date is written straight into the row: its bytes, stored one by one and
        // read back as words, would wait for each other.
        if (usual.day != 0)
            usual.Put(p, row);
        else
            scan::Copy(row, prefix.data(), prefix.size());
        char* w = row + before;
        for (LineStop stop; (stop = CopyLine(text, q, w, row + room)) != LineStop::LineFeed;) {
            switch (stop) {
            case LineStop::TextEnd: sink.Drop(); return CsvEnd::Rows;
            case LineStop::Hidden: return CsvEnd::Hidden;
            case LineStop::NoRecords: return NoRecordsFrom(text, q);
            default: break;
            }
            const auto used = static_cast<std::size_t>(w - row);
            room = used + std::min(static_cast<std::size_t>(end - q), std::max(used, kRowRoom)) + 16;
            row = sink.More(used, room);
            w = row + used;
        }
        sink.End(static_cast<std::size_t>(w - row));
        p = q + 1;
    }
    return CsvEnd::Rows;
}

// Room for the rows of a history CSV: about one row in 64 bytes, each about as long as its
// line (a list that outgrows it grows as any does).
void ReserveRows(RowList& rows, std::string_view text) {
    rows.reserve(text.size() / 64, text.size() + text.size() / 16 + 64);
}

// Raw rows written in place at the end of a row list.
class RawRows {
public:
    RawRows(RowList& rows, std::string_view text) : rows_(rows), text_(text) {}
    void Reserve() { ReserveRows(rows_, text_); }
    char* Start(std::size_t n) { return rows_.AddRow(n); }
    char* More(std::size_t used, std::size_t n) {
        kept_.assign(rows_.back().substr(0, used));
        rows_.pop_back();
        char* row = rows_.AddRow(n);
        std::memcpy(row, kept_.data(), used);
        return row;
    }
    void End(std::size_t size) { rows_.ShortenLast(size); }
    void Drop() { rows_.pop_back(); }

private:
    RowList& rows_;
    std::string_view text_;
    std::string kept_;
};

CsvEnd ParseCsv(std::string_view text, EgAnswer& out) {
    RawRows sink(out.rawHistory, text);
    return ReadCsvRows(text, sink);
}

// The history row of a raw row written where room(n) says; false (nothing written) when the
// raw row has fewer than eleven fields.
template <class Room>
bool WriteHistoryRow(std::string_view raw, Room room);

// Each raw row written into one buffer, used again for the next, and its history row built
// from it straight away.
class HistoryFromRaw {
public:
    HistoryFromRaw(RowList& rows, std::string_view text) : rows_(rows), text_(text) {}
    void Reserve() { ReserveRows(rows_, text_); }  // a history row is about as long as its line
    char* Start(std::size_t n) { return More(0, n); }
    char* More(std::size_t, std::size_t n) {
        if (raw_.size() < n) raw_.resize(std::max(n, 2 * raw_.size()));
        return raw_.data();
    }
    void End(std::size_t size) {
        WriteHistoryRow(std::string_view(raw_.data(), size), [this](std::size_t n) { return rows_.AddRow(n); });
    }
    void Drop() {}

private:
    RowList& rows_;
    std::string_view text_;
    std::string raw_;
};

// The history rows of a history CSV, each built from its raw row as soon as that is read.
CsvEnd ParseCsvToRows(std::string_view text, EgAnswer& out) {
    HistoryFromRaw sink(out.historyRows, text);
    return ReadCsvRows(text, sink);
}

// True when ParseAmount(value) < 0: only a text whose number begins with "-" (after the
// blanks and one "+" that ParseAmount skips) can be read as below zero.
bool BelowZero(std::string_view value) {
    std::size_t i = 0;
    while (i < value.size() && (value[i] == ' ' || value[i] == '\t' || value[i] == '\n' ||
                                value[i] == '\r' || value[i] == '\v' || value[i] == '\f'))
        ++i;
    if (i < value.size() && value[i] == '+') ++i;
    if (i >= value.size() || value[i] != '-') return false;
    return ParseAmount(std::string(value)) < 0;
}

}  // namespace

namespace {

// FloatText into buf: a view of what was written.
std::string_view FloatDigits(float value, int decimals, char (&buf)[128]) {
    // A float times 10^decimals (decimals <= 4) is exact in a double (24 + 10 significant bits),
    // so that whole number, rounded half to even as to_chars rounds, gives the digits.
    static constexpr double kScale[] = {1, 10, 100, 1000, 10000};
    if (decimals >= 0 && decimals <= 4 && std::isfinite(value)) {
        const double y = std::fabs(static_cast<double>(value) * kScale[decimals]);
        if (y < 1e15) {
            auto digits = static_cast<std::uint64_t>(y);
            const double rest = y - static_cast<double>(digits);  // exact
            if (rest > 0.5 || (rest == 0.5 && (digits & 1) != 0)) ++digits;
            char* const end = buf + sizeof buf;
            char* p = end;
            for (int i = 0; i < decimals; ++i, digits /= 10)
                *--p = static_cast<char>('0' + digits % 10);
            if (decimals > 0) *--p = '.';
            do *--p = static_cast<char>('0' + digits % 10);
            while ((digits /= 10) != 0);
            if (std::signbit(value)) *--p = '-';
            return std::string_view(p, static_cast<std::size_t>(end - p));
        }
    }
    const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value),
                                 std::chars_format::fixed, decimals);
    return r.ec == std::errc() ? std::string_view(buf, static_cast<std::size_t>(r.ptr - buf))
                               : std::string_view("0.00");
}

}  // namespace

std::string FloatText(float value, int decimals) {
    char buf[128];
    return std::string(FloatDigits(value, decimals, buf));
}

TextList ParsePrices(std::string_view answer) {
    TextList pieces = Split(std::string(answer), ",");
    TextList prices;
    for (std::size_t i = 1; i < pieces.size(); ++i)
        prices.push_back(FloatText(static_cast<float>(ParseAmount(pieces[i])), 2));
    return prices;
}

std::string RewriteDate(const std::string& field) {
    std::string out;
    AppendRewrittenDate(out, field);
    return out;
}

namespace {

// ParseAmount(text), read straight for a plain decimal ("1.500000"): at most 15 digits, so
// the digits are a whole number below 2^53 and 10^k is exact, and their quotient is the
// correctly rounded value from_chars gives.
double Amount(std::string_view text) {
    static constexpr double kPow10[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    std::uint64_t digits = 0;
    std::size_t count = 0, point = std::string::npos;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9' && count < 15) {
            digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
            ++count;
        } else if (c == '.' && point == std::string::npos && i > 0 && i + 1 < text.size()) {
            point = i;
        } else {
            return ParseAmount(std::string(text));
        }
    }
    if (count == 0) return ParseAmount(std::string(text));
    const std::size_t decimals = point == std::string::npos ? 0 : text.size() - point - 1;
    return static_cast<double>(digits) / kPow10[decimals];
}

// A balance row with the metal's rate (rate, read as rateValue) and the stamp worked out,
// written where room(n) says.
template <class Room>
void WriteBalanceRow(Room room, std::string_view metal, std::string_view ounces, std::string_view rate,
                     double rateValue, std::string_view stamp) {
    const double oz = Amount(ounces);
    char gramsBuf[128], usdBuf[128];
    const std::string_view grams = FloatDigits(static_cast<float>(oz * kGramsPerOunce), 4, gramsBuf);
    const std::string_view usd = FloatDigits(static_cast<float>(oz * rateValue), 2, usdBuf);
    const std::string_view fields[] = {metal, ounces, grams, rate, usd, stamp};
    std::size_t size = 5;
    for (const std::string_view f : fields) size += f.size();
    char* w = room(size);
    for (std::size_t k = 0; k < std::size(fields); ++k) {
        if (k > 0) *w++ = '~';
        scan::Copy(w, fields[k].data(), fields[k].size());
        w += fields[k].size();
    }
}

void AddBalanceRow(RowList& rows, std::string_view metal, std::string_view ounces, std::string_view rate,
                   double rateValue, std::string_view stamp) {
    WriteBalanceRow([&](std::size_t n) { return rows.AddRow(n); }, metal, ounces, rate, rateValue, stamp);
}

// The rate of a metal from the prices: empty when it has none.
std::string_view Rate(std::string_view metal, const TextList& prices) {
    const TextList& metals = Metals();
    for (std::size_t i = 0; i < metals.size() && i < prices.size(); ++i)
        if (metals[i] == metal) return prices[i];
    return {};
}

}  // namespace

std::string BalanceRow(const std::string& metal, const std::string& ounces,
                       const TextList& prices, std::time_t now) {
    const std::string_view rate = Rate(metal, prices);
    std::string row;
    WriteBalanceRow(
        [&](std::size_t n) {
            row.resize(n);
            return row.data();
        },
        metal, ounces, rate, ParseAmount(std::string(rate)), UtcStamp(now));
    return row;
}

// The usual page is a run of inputs '<input type=hidden name=NAME value="VALUE">', no ERROR
// input, and between them (and after the last) text without "hidden name=" or 'value="'.
// The general pass (ParseInputs, by ReadAnyBalances) takes every marker "the first left",
// front to back: here the first "<input type=hidden" left is the next input (the name cut
// overlaps it and the value cut takes every marker inside the value), the first "hidden
// name=" left is the one of that input, the first blank after it ends the name (a name holds
// no blank, so no other marker begins in it but 'value="', which the name cut takes), the
// first 'value="' left is the one right after the blank, and the first '">' after it ends
// the value; no marker reaches from the text between the inputs into an input (none holds
// "<" past its start). So the general pass gives the same names, values and rows. Any other
// shape: false, out untouched.
bool ReadUsualBalances(std::string_view answer, const TextList& prices, std::time_t now,
                       EgAnswer& out) {
    constexpr std::string_view kOpen = "<input type=hidden name=";
    const std::size_t at = answer.find(kHidden);
    if (at == std::string_view::npos) return false;
    const std::string_view text = answer.substr(at);
    if (text.size() >= UINT32_MAX) return false;
    const TextList& metals = Metals();
    std::vector<double> rateValues;
    for (std::size_t i = 0; i < metals.size() && i < prices.size(); ++i)
        rateValues.push_back(ParseAmount(prices[i]));
    const std::string stamp = UtcStamp(now);
    RowList rows;  // half the inputs or so (the grams are left out): not counted first
    std::string metalField, ouncesField;  // for the few texts that hold a "~"
    for (std::size_t h = 0; h != std::string_view::npos;) {
        const std::size_t start = h + kOpen.size();
        if (!StartsAt(text, h, "<input type=hidden name=") || StartsAt(text, start, "ERROR"))
            return false;
        const std::size_t blank = FindMarker(text, " ", start);
        if (blank == std::string_view::npos || !StartsAt(text, blank + 1, "value=\"")) return false;
        const std::size_t v = blank + 1 + kValue.size();
        const std::size_t e = FindMarker(text, "\">", v);
        if (e == std::string_view::npos) return false;
        const std::string_view value = text.substr(v, e - v);
        if (FindByteIn(value.data(), value.data() + value.size(), '<') !=
                value.data() + value.size() &&
            value.find(kError) != std::string_view::npos)
            return false;
        const std::size_t end = e + kEnd.size();
        const std::size_t next = FindMarker(text, "<input type=hidden", end);
        const std::string_view between = text.substr(end, next - end);
        if (FindByteIn(between.data(), between.data() + between.size(), '=') !=
                between.data() + between.size() &&
            (between.find(kName) != std::string_view::npos ||
             between.find(kValue) != std::string_view::npos))
            return false;
        h = next;
        std::string_view name = text.substr(start, blank - start);
        if (name.empty()) name = " ";
        const std::size_t underscore =
            static_cast<std::size_t>(FindByteIn(name.data(), name.data() + name.size(), '_') - name.data());
        if (underscore < name.size() && FindMarker(name, "_Grams", underscore) != std::string_view::npos)
            continue;
        // The texts as RowField writes them, copied only when they hold a "~".
        const auto field = [](std::string_view text, std::string& copy) {
            if (FindByteIn(text.data(), text.data() + text.size(), '~') == text.data() + text.size())
                return text;
            copy = RowField(text);
            return std::string_view(copy);
        };
        const std::string_view metal = field(name.substr(0, underscore), metalField);
        const std::string_view ounces = field(value.empty() ? std::string_view(" ") : value, ouncesField);
        std::size_t index = 0;
        while (index < rateValues.size() && metals[index] != metal) ++index;
        if (index < rateValues.size())
            AddBalanceRow(rows, metal, ounces, prices[index], rateValues[index], stamp);
        else
            AddBalanceRow(rows, metal, ounces, {}, 0.0, stamp);
    }
    out.balances = std::move(rows);
    return true;
}

void ReadAnyBalances(std::string_view answer, const TextList& prices, std::time_t now,
                     EgAnswer& out) {
    const std::size_t at = answer.find(kHidden);
    if (at != std::string_view::npos) ParseInputs(answer.substr(at), prices, now, out);
}

void ParseAnswer(std::string_view answer, const TextList& prices, std::time_t now,
                 EgAnswer& out, CsvRows keep) {
    out = EgAnswer{};
    // Read as a history, which looks at every byte for an input on the way.
    const CsvEnd read = keep == CsvRows::Raw ? ParseCsv(answer, out) : ParseCsvToRows(answer, out);
    if (read == CsvEnd::Rows) return;
    out = EgAnswer{};
    if (read == CsvEnd::Hidden && !ReadUsualBalances(answer, prices, now, out))
        ReadAnyBalances(answer, prices, now, out);
}

namespace {

template <class Room>
bool WriteHistoryRow(std::string_view rawRow, Room room) {
    // The fields 0 to 10 of the raw row; what follows an eleventh "~" is not used.
    std::size_t tilde[11];
    const std::size_t tildes = FirstTildes(rawRow, tilde);
    if (tildes < 10) return false;
    if (tildes == 10) tilde[10] = rawRow.size();
    std::string_view f[11];
    for (std::size_t i = 0, from = 0; i < 11; from = tilde[i++] + 1)
        f[i] = rawRow.substr(from, tilde[i] - from);
    // Date~Type~E-Metal~Weight~Amount~From/To~Currency~Rate~Batch~Memo, built in one allocation.
    const bool negative = BelowZero(f[4]);
    const std::size_t size = f[0].size() + f[1].size() + f[3].size() + f[4].size() + negative +
                             f[7].size() + f[5].size() + (f[6].empty() ? 0 : f[6].size() + 3) +
                             f[8].size() + f[9].size() + f[2].size() + f[10].size() + 9;
    char* w = room(size);
    const auto put = [&w](std::string_view v) {
        scan::Copy(w, v.data(), v.size());
        w += v.size();
    };
    const auto field = [&](std::string_view v) {
        put(v);
        *w++ = '~';
    };
    // Fields that stay side by side go in one copy, their "~" with them.
    const std::string_view raw = rawRow;
    field(raw.substr(0, tilde[1]));             // Date~Type
    field(raw.substr(tilde[2] + 1, tilde[4] - tilde[2] - 1));  // E-Metal~Weight
    if (negative) *w++ = '-';
    field(f[7]);
    put(f[5]);
    if (!f[6].empty()) {
        put(" (");
        put(f[6]);
        put(")");
    }
    *w++ = '~';
    field(raw.substr(tilde[7] + 1, tilde[9] - tilde[7] - 1));  // Currency~Rate
    field(f[2]);
    put(f[10]);
    return true;
}

}  // namespace

std::string HistoryRow(std::string_view rawRow) {
    std::string row;
    WriteHistoryRow(rawRow, [&](std::size_t n) {
        row.resize(n);
        return row.data();
    });
    return row;
}

RowList HistoryRows(const RowList& rawRows) {
    RowList rows;
    rows.reserve(rawRows.size(), rawRows.Bytes() + rawRows.Bytes() / 8);
    for (const std::string_view raw : rawRows)
        WriteHistoryRow(raw, [&](std::size_t n) { return rows.AddRow(n); });
    return rows;
}

}  // namespace pw::eg
