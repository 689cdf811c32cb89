#include "accounts/eg/eg_parser.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <optional>

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

// Value of the first value marker in text, removed from text through its end marker.
// nullopt when there is no value marker, or it has no end marker (then text loses the rest).
std::optional<std::string> TakeValue(std::string& text, bool& unfinished) {
    unfinished = false;
    const std::size_t v = text.find(kValue);
    if (v == std::string::npos) return std::nullopt;
    const std::size_t start = v + kValue.size();
    const std::size_t e = text.find(kEnd, start);
    if (e == std::string::npos) {
        unfinished = true;
        text.erase(v);
        return std::nullopt;
    }
    std::string value = text.substr(start, e - start);
    text.erase(v, e + kEnd.size() - v);
    return value;
}

// Leading integer as atoi reads it, clamped to the int range.
long long LeadingInt(const std::string& s) {
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

void ParseInputs(std::string text, const TextList& prices, std::time_t now, EgAnswer& out) {
    // Errors, while an ERROR input is left.
    for (std::size_t at; (at = text.find(kError)) != std::string::npos;) {
        text.erase(at, kError.size());
        bool unfinished = false;
        const auto value = TakeValue(text, unfinished);
        out.errors.push_back(value ? Blank(*value) : std::string());
        if (unfinished) return;
    }
    // Balances, while a hidden input is left. Every pass removes text, so the loop ends.
    while (text.find(kHidden) != std::string::npos) {
        const std::size_t before = text.size();
        std::string name;
        const std::size_t n = text.find(kName);
        if (n != std::string::npos) {
            const std::size_t start = n + kName.size();
            const std::size_t blank = text.find(' ', start);
            if (blank == std::string::npos) return;  // a name without its end: unfinished
            name = text.substr(start, blank - start);
            text.erase(n, blank + 1 - n);
        }
        bool unfinished = false;
        const std::string value = TakeValue(text, unfinished).value_or(std::string());
        if (unfinished) return;
        if (text.size() == before) {
            // Neither a name nor a value: drop this input's opening so the next one is read.
            text.erase(0, text.find(kHidden) + kHidden.size());
            continue;
        }
        name = Blank(name);
        if (name.find("_Grams") != std::string::npos) continue;
        out.balances.push_back(BalanceRow(name.substr(0, name.find('_')), Blank(value), prices, now));
    }
}

void ParseCsv(std::string_view text, EgAnswer& out) {
    if (text.find("No Records Found") != std::string_view::npos) return;
    std::size_t pos = 0;
    for (std::size_t nl; (nl = text.find('\n', pos)) != std::string_view::npos; pos = nl + 1) {
        std::string line;
        line.reserve(nl - pos);
        for (std::size_t i = pos; i < nl; ++i)
            if (text[i] != '"') line += text[i];
        TextList fields = Split(line, ",");
        fields[0] = RewriteDate(fields[0]);
        out.rawHistory.push_back(JoinList(fields, "~"));
    }
    if (!out.rawHistory.empty()) out.rawHistory.erase(out.rawHistory.begin());
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
    const TextList parts = Split(field, " ");
    if (parts.size() != 2) return field;
    const TextList dmy = Split(parts[0], "/");
    if (dmy.size() != 3) return field;
    char buf[96];
    std::snprintf(buf, sizeof buf, "%.2lld/%.2lld/%.4lld ", LeadingInt(dmy[0]), LeadingInt(dmy[1]),
                  LeadingInt(dmy[2]));
    return buf + parts[1];
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
        ParseInputs(std::string(answer.substr(at)), prices, now, out);
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
