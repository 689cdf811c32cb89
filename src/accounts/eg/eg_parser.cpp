#include "accounts/eg/eg_parser.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

void ParseCsv(std::string_view text, EgAnswer& out) {
    if (text.find("No Records Found") != std::string_view::npos) return;
    // Every line that ends in a line feed is a row, the first (the header) excepted.
    const char* const base = text.data();
    const std::size_t n = text.size();
    const auto nextLf = [&](std::size_t from) -> std::size_t {
        if (from >= n) return std::string_view::npos;
        const void* hit = std::memchr(base + from, '\n', n - from);
        return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - base) : std::string_view::npos;
    };
    std::size_t lines = 0;
    for (std::size_t lf = nextLf(0); lf != std::string_view::npos; lf = nextLf(lf + 1)) ++lines;
    if (lines < 2) return;
    out.rawHistory.reserve(lines - 1);
    std::string date;
    for (std::size_t pos = nextLf(0) + 1, nl; (nl = nextLf(pos)) != std::string_view::npos; pos = nl + 1) {
        const std::string_view line = text.substr(pos, nl - pos);
        std::string row;
        // The first field's date is rewritten; quotes are dropped, "," separates the fields.
        const std::size_t comma = line.find(',');
        const std::string_view head = line.substr(0, comma);
        std::size_t from = 0;
        if (std::memchr(head.data(), ' ', head.size()) != nullptr) {
            std::string_view field = head;
            if (std::memchr(head.data(), '"', head.size()) != nullptr) {
                date.clear();
                for (const char c : head)
                    if (c != '"') date += c;
                field = date;
            }
            row.reserve(line.size() + 8);
            AppendRewrittenDate(row, field);
            std::replace(row.begin(), row.end(), '~', '-');
            from = head.size();
        }
        const std::size_t start = row.size();
        row.resize(start + line.size() - from);
        char* w = row.data() + start;
        for (std::size_t i = from; i < line.size(); ++i) {
            const char c = line[i];
            if (c == '"') continue;
            *w++ = c == ',' ? '~' : c == '~' ? '-' : c;
        }
        row.resize(static_cast<std::size_t>(w - row.data()));
        out.rawHistory.push_back(std::move(row));
    }
}

}  // namespace

std::string FloatText(float value, int decimals) {
    char buf[128];
    const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value),
                                 std::chars_format::fixed, decimals);
    return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string("0.00");
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

std::string BalanceRow(const std::string& metal, const std::string& ounces,
                       const TextList& prices, std::time_t now) {
    const double oz = ParseAmount(ounces);
    const int index = FindInList(Metals(), metal);
    const std::string rate = index >= 0 && static_cast<std::size_t>(index) < prices.size()
                                 ? prices[static_cast<std::size_t>(index)]
                                 : std::string();
    return JoinList({metal, ounces, FloatText(static_cast<float>(oz * kGramsPerOunce), 4), rate,
                     FloatText(static_cast<float>(oz * ParseAmount(rate)), 2), UtcStamp(now)},
                    "~");
}

void ParseAnswer(std::string_view answer, const TextList& prices, std::time_t now,
                 EgAnswer& out) {
    out = EgAnswer{};
    const std::size_t at = answer.find(kHidden);
    if (at != std::string_view::npos)
        ParseInputs(answer.substr(at), prices, now, out);
    else
        ParseCsv(answer, out);
}

std::string HistoryRow(const std::string& rawRow) {
    const TextList f = Split(rawRow, "~");
    if (f.size() < 11) return std::string();
    const std::string amount = ParseAmount(f[4]) < 0 ? "-" + f[7] : f[7];
    const std::string counterpart = f[6].empty() ? f[5] : f[5] + " (" + f[6] + ")";
    return JoinList({f[0], f[1], f[3], f[4], amount, counterpart, f[8], f[9], f[2], f[10]}, "~");
}

TextList HistoryRows(const TextList& rawRows) {
    TextList rows;
    for (const std::string& raw : rawRows) {
        std::string row = HistoryRow(raw);
        if (!row.empty()) rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace pw::eg
