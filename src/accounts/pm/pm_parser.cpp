#include "accounts/pm/pm_parser.h"

#include <algorithm>

namespace pw::pm {
namespace {

constexpr std::string_view kErrorPrefix = "Error:";
constexpr std::string_view kInput = "<input name=";
constexpr std::string_view kErrorInput = "<input name='ERROR'";
constexpr std::string_view kNamedInput = "<input name='";
constexpr std::string_view kValue = "value='";
constexpr std::string_view kValueEnd = "'>";
constexpr std::string_view kNameEnd = "' ";
constexpr std::string_view kNoRecords = "No Records Found";

std::string UtcStamp(std::time_t now) {
    std::tm tm{};
    gmtime_r(&now, &tm);
    char buf[32];
    return std::string(buf, std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm));
}

std::string OrBlank(std::string s) { return s.empty() ? std::string(" ") : s; }

// Removes "value='...'>" found at or after from and returns the text between; nullopt-like
// false when either marker is missing.
bool TakeValue(std::string& text, std::size_t from, std::string& value) {
    const std::size_t v = text.find(kValue, from);
    if (v == std::string::npos) return false;
    const std::size_t e = text.find(kValueEnd, v + kValue.size());
    if (e == std::string::npos) return false;
    value = text.substr(v + kValue.size(), e - v - kValue.size());
    text.erase(v, e + kValueEnd.size() - v);
    return true;
}

void ParseInputs(std::string text, std::time_t now, PmAnswer& out) {
    text.erase(0, text.find(kInput));
    for (std::size_t m; (m = text.find(kErrorInput)) != std::string::npos;) {
        text.erase(m, kErrorInput.size());
        std::string value;
        if (!TakeValue(text, m, value)) break;
        out.errors.push_back(OrBlank(value));
    }
    const std::string stamp = UtcStamp(now);
    for (std::size_t m; (m = text.find(kNamedInput)) != std::string::npos;) {
        const std::size_t n = m + kNamedInput.size();
        const std::size_t e = text.find(kNameEnd, n);
        if (e == std::string::npos) break;
        const std::string name = text.substr(n, e - n);
        text.erase(m, e + kNameEnd.size() - m);
        std::string value;
        if (!TakeValue(text, m, value)) break;
        out.inputs.push_back(OrBlank(name) + "~" + OrBlank(value) + "~" + stamp);
    }
}

std::size_t CountFields(std::string_view line) {
    return static_cast<std::size_t>(std::count(line.begin(), line.end(), ',')) + 1;
}

}  // namespace

TextList ReadCsvRecords(std::string_view csv, bool* firstWasDropped) {
    TextList records;
    if (firstWasDropped) *firstWasDropped = false;
    if (csv.find(kNoRecords) != std::string_view::npos) return records;
    std::size_t pos = 0;
    bool first = true;
    while (pos < csv.size() && csv.find('\n', pos) != std::string_view::npos) {
        std::string record;
        bool taken = false;
        for (std::size_t lf; (lf = csv.find('\n', pos)) != std::string_view::npos;) {
            const std::string_view line = csv.substr(pos, lf + 1 - pos);
            if (taken && CountFields(line.substr(0, line.size() - 1)) >= 10) break;
            // A "~" would split the row the record becomes; it is shown as "-".
            for (const char c : line) record += (c == '\r' || c == '\n') ? ' ' : c == '~' ? '-' : c;
            pos = lf + 1;
            taken = true;
        }
        TextList f = Split(record, ",");
        if (f.size() < 10) {
            if (first && firstWasDropped) *firstWasDropped = true;
            first = false;
            continue;
        }
        first = false;
        std::string memo = f[9];
        for (std::size_t i = 10; i < f.size(); ++i) memo += "," + f[i];
        const std::size_t m = memo.find("Memo: ");
        if (m != std::string::npos) memo = memo.substr(m + 6);
        f.resize(9);
        f.push_back(memo);
        records.push_back(JoinList(f, "~"));
    }
    return records;
}

void ParseAnswer(std::string_view answer, std::time_t now, PmAnswer& out) {
    out = PmAnswer{};
    if (answer.substr(0, kErrorPrefix.size()) == kErrorPrefix) {
        out.errors.emplace_back(answer.substr(kErrorPrefix.size()));
        return;
    }
    if (answer.find(kInput) != std::string_view::npos) {
        ParseInputs(std::string(answer), now, out);
        return;
    }
    bool headerDropped = false;
    out.csv = ReadCsvRecords(answer, &headerDropped);
    // The first record is the header; it is dropped whatever its form.
    if (!headerDropped && !out.csv.empty()) out.csv.erase(out.csv.begin());
}

}  // namespace pw::pm
