#include "accounts/tab_logic.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "settings/settings_store.h"
#include "ui/base/strings.h"

namespace pw {

namespace {
constexpr char kSep[] = "~";
}  // namespace

const char kUnsafeAccountMessage[] =
    "The account number contains characters that are not allowed: / \\ .. or control "
    "characters.";

double ParseAmount(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' ||
                               text[i] == '\r' || text[i] == '\v' || text[i] == '\f'))
        ++i;
    if (i < text.size() && text[i] == '+') ++i;
    double value = 0.0;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    // A lone sign after "+" ("+-1") is not a number; from_chars then leaves value at 0.
    if (first < last && *first == '+') return 0.0;
    auto res = std::from_chars(first, last, value, std::chars_format::general);
    if (res.ec != std::errc() || !std::isfinite(value)) return 0.0;
    return value;
}

std::string FormatMoney(double value) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 2);
    if (res.ec != std::errc()) return "0.00";
    return std::string(buf, res.ptr);
}

std::string FormatCents(std::int64_t cents) {
    const bool negative = cents < 0;
    // Magnitude as unsigned so the smallest value cannot overflow.
    const std::uint64_t mag = negative ? 0 - static_cast<std::uint64_t>(cents)
                                       : static_cast<std::uint64_t>(cents);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%s%llu.%02llu", negative ? "-" : "",
                  static_cast<unsigned long long>(mag / 100),
                  static_cast<unsigned long long>(mag % 100));
    return buf;
}

std::int64_t ToCents(const std::string& text) {
    const double v = ParseAmount(text) * 100.0;
    // Amounts far beyond any balance are clamped rather than overflowing.
    constexpr double kLimit = 9.0e17;
    if (!(v < kLimit)) return static_cast<std::int64_t>(kLimit);
    if (!(v > -kLimit)) return -static_cast<std::int64_t>(kLimit);
    return static_cast<std::int64_t>(std::llround(v));
}

int NumberFormatDecimals(const std::string& format) {
    if (format.size() < 4 || format.compare(0, 2, "%.") != 0 || format.back() != 'f') return -1;
    int n = 0;
    for (std::size_t i = 2; i + 1 < format.size(); ++i) {
        if (format[i] < '0' || format[i] > '9') return -1;
        n = n * 10 + (format[i] - '0');
        if (n > 20) return -1;
    }
    return n;
}

std::string CellText(const TextList& fields, int column, const std::string& format) {
    if (column < 0 || static_cast<std::size_t>(column) >= fields.size()) return std::string();
    return CellText(std::string_view(fields[static_cast<std::size_t>(column)]), format);
}

std::string CellText(std::optional<std::string_view> field, const std::string& format) {
    if (!field) return std::string();
    const std::string f(*field);
    const int decimals = NumberFormatDecimals(format);
    if (decimals < 0) return format + f;
    char buf[512];
    auto res =
        std::to_chars(buf, buf + sizeof buf, ParseAmount(f), std::chars_format::fixed, decimals);
    if (res.ec != std::errc()) return std::string();
    return std::string(buf, res.ptr);
}

std::string CellText(const TextList& fields, int column, bool money) {
    return CellText(fields, column, std::string(money ? "%.2f" : " "));
}

bool IsIncome(const std::string& amountText) { return ParseAmount(amountText) > 0.0; }

Totals SumHistory(const RowList& rows, int amountColumn) {
    Totals t;
    if (amountColumn < 0) return t;
    for (const std::string_view row : rows) {
        const std::optional<std::string_view> field = NthField(row, static_cast<std::size_t>(amountColumn));
        if (!field) continue;
        const std::string a(*field);
        const std::int64_t cents = ToCents(a);
        if (IsIncome(a))
            t.incomeCents += cents;
        else
            t.outcomeCents -= cents;
    }
    return t;
}

std::string TotalsLine(const Totals& totals) {
    return Str(144) + " : " + FormatCents(totals.incomeCents) + " -=- " + Str(145) + " : " +
           FormatCents(totals.outcomeCents) + " -=- " + Str(146) + " : " +
           FormatCents(totals.incomeCents - totals.outcomeCents);
}

ChangeNotice BuildChangeNotice(const RowList& oldRows, const RowList& newRows,
                               const std::string& prefix, const std::string& account,
                               const ChangeFields& fields) {
    ChangeNotice notice;
    const int highest = std::max({fields.currency, fields.compare, fields.report});
    if (std::min({fields.currency, fields.compare, fields.report}) < 0) return notice;
    const auto need = static_cast<std::size_t>(highest) + 1;
    const auto cur = static_cast<std::size_t>(fields.currency);
    const auto cmp = static_cast<std::size_t>(fields.compare);
    const auto rep = static_cast<std::size_t>(fields.report);
    const std::size_t n = std::min(oldRows.size(), newRows.size());
    for (std::size_t i = 0; i < n; ++i) {
        const TextList o = Split(oldRows[i], kSep);
        const TextList w = Split(newRows[i], kSep);
        if (o.size() < need || w.size() < need) continue;
        if (o[cur] != w[cur] || o[cmp] == w[cmp]) continue;
        if (!notice.changed)
            notice.text = Str(113) + " [" + prefix + "<" + account + ">]\r\n";
        notice.changed = true;
        notice.text += w[cur] + " : " + o[rep] + "/" + w[rep] + "\r\n";
    }
    return notice;
}

std::string RecordText(const std::string& row, const RecordDescription& description, bool hide,
                       int hideCount) {
    return RenderRecord(description, row, Masking{hide, hideCount});
}

std::string FirstWord(const std::string& text) { return text.substr(0, text.find(' ')); }

TabMessage LoginProblem(const LoginFields& login, const SystemTraits& traits) {
    if (login.account.empty()) return traits.msgNoAccount;
    if (traits.hasApiName && login.apiName.empty()) return traits.msgNoApiName;
    if (login.secret.empty()) return traits.msgNoSecret;
    return {};
}

bool IsSafeAccount(const std::string& account) {
    if (account.find("..") != std::string::npos) return false;
    for (unsigned char c : account)
        if (c == '/' || c == '\\' || c < 0x20 || c == 0x7f) return false;
    return true;
}

FilterCheck CheckHistoryFilter(HistoryFilter& filter, const SystemTraits& traits,
                               bool hasGetLast) {
    FilterCheck check;
    if (hasGetLast && !filter.getLast && !filter.fromTo && !filter.byAccount && !filter.byBatch) {
        check.messages.push_back(114);
        filter.getLast = true;
        check.forcedGetLast = true;
    }
    if (filter.count > 50) {
        check.messages.push_back(115);
        filter.count = 50;
    }
    if (filter.byAccount && filter.counterpart.empty()) {
        check.messages.push_back(traits.msgNoCounterpart);
        check.stop = true;
        return check;
    }
    if (filter.byBatch && filter.batch.empty()) {
        check.messages.push_back(traits.msgNoBatch);
        check.stop = true;
    }
    return check;
}

std::string FormatSettingsDate(const Date& d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d.day, d.month, d.year);
    return buf;
}

std::optional<Date> ParseSettingsDate(const std::string& text) {
    int day = 0, month = 0, year = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%d/%d/%d%c", &day, &month, &year, &tail) != 3)
        return std::nullopt;
    if (year < 1900 || year > 9999 || month < 1 || month > 12 || day < 1) return std::nullopt;
    static const int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int maxDay = (month == 2 && !leap) ? 28 : kDays[month - 1];
    if (day > maxDay) return std::nullopt;
    return Date{year, month, day};
}

std::string AutoRefreshItemText(int minutes) {
    if (minutes > 0) return Str(118) + " " + std::to_string(minutes) + " " + Str(119);
    return Str(118) + " ...";
}

std::string HistoryForAccountItemText(const std::string* counterpart) {
    if (counterpart == nullptr) return Str(147);
    return Str(147) + " " + *counterpart;
}

namespace {

// The texts joined by "~" in one buffer of the final size (a saved row holds passwords: no
// grown-out buffer is left behind).
std::string JoinedRow(const TextList& fields) {
    std::size_t size = fields.empty() ? 0 : fields.size() - 1;
    for (const std::string& f : fields) size += f.size();
    std::string out;
    out.reserve(size);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i != 0) out += kSep;
        out += fields[i];
    }
    return out;
}

// Split with the list sized first: no text of it is moved into a grown buffer.
TextList SplitRow(const std::string& text) {
    TextList out;
    out.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), kSep[0])) + 1);
    SplitText(text, kSep, out);
    return out;
}

}  // namespace

void WipeTexts(TextList& texts) {
    for (std::string& t : texts) WipeString(t);
    texts.clear();
}

TextList SavedRowsFromColumns(const TextList& columns) {
    TextList rows;
    if (columns.empty() || columns[0].empty()) return rows;
    std::vector<TextList> split;
    split.reserve(columns.size());
    for (const std::string& c : columns) split.push_back(SplitRow(c));
    const std::size_t count = split[0].size();
    rows.reserve(count);
    TextList fields;
    fields.reserve(split.size());
    for (std::size_t r = 0; r < count; ++r) {
        // (a conditional of a const element and a new text would copy through a temporary)
        for (const TextList& col : split) {
            if (r < col.size())
                fields.push_back(col[r]);
            else
                fields.emplace_back();
        }
        rows.push_back(JoinedRow(fields));
        WipeTexts(fields);
    }
    for (TextList& col : split) WipeTexts(col);
    return rows;
}

TextList ColumnsFromSavedRows(const TextList& rows, std::size_t columnCount) {
    std::vector<TextList> cols(columnCount);
    for (TextList& c : cols) c.reserve(rows.size());
    for (const std::string& row : rows) {
        TextList f = SplitRow(row);
        for (std::size_t c = 0; c < columnCount; ++c) {
            if (c < f.size())
                cols[c].push_back(f[c]);
            else
                cols[c].emplace_back();
        }
        WipeTexts(f);
    }
    TextList out;
    out.reserve(columnCount);
    for (TextList& c : cols) {
        out.push_back(JoinedRow(c));
        WipeTexts(c);
    }
    return out;
}

bool HoldsFieldSeparator(const std::string& text) { return text.find('~') != std::string::npos; }

}  // namespace pw
