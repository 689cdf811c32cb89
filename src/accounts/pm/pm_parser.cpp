#include "accounts/pm/pm_parser.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <utility>

#include "accounts/answer_text.h"
#include "accounts/cut_text.h"

namespace pw::pm {
namespace {

constexpr std::string_view kErrorPrefix = "Error:";
constexpr std::string_view kNoRecords = "No Records Found";
constexpr std::string_view kMemoMarker = "Memo: ";

// Markers of the input pass.
enum Marker : int { kInput, kErrorInput, kNamedInput, kValue, kValueEnd, kNameEnd };

const std::vector<std::string_view>& InputMarkers() {
    static const std::vector<std::string_view> m = {"<input name=", "<input name='ERROR'",
                                                    "<input name='", "value='", "'>", "' "};
    return m;
}

std::string UtcStamp(std::time_t now) {
    std::tm tm{};
    gmtime_r(&now, &tm);
    char buf[32];
    return std::string(buf, std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm));
}

// name~value~stamp, an empty name or value written " ", in one allocation.
// Appends the row "name~value~stamp" to rows.
void AddInputRow(RowList& rows, std::string_view name, std::string_view value, std::string_view stamp) {
    if (name.empty()) name = " ";
    if (value.empty()) value = " ";
    const std::size_t size = name.size() + value.size() + 2 + stamp.size();
    char* w = PutRowField(rows.AddRow(size), name);
    *w++ = '~';
    w = PutRowField(w, value);
    *w++ = '~';
    std::memcpy(w, stamp.data(), stamp.size());
}

}  // namespace

void ReadAnyInputs(std::string_view answer, std::time_t now, PmAnswer& out) {
    if (answer.size() >= UINT32_MAX) return;  // far beyond any answer of the interface
    CutText x(answer, InputMarkers());
    std::string scratch;
    x.Cut(0, x.Find(kInput));
    for (std::size_t m; (m = x.Find(kErrorInput)) != CutText::npos;) {
        x.Cut(m, m + x.MarkerSize(kErrorInput));
        const std::size_t v = x.Find(kValue, m);
        if (v == CutText::npos) {
            out.errors.emplace_back(" ");  // an error without its text is still an error
            break;
        }
        const std::size_t start = v + x.MarkerSize(kValue);
        const std::size_t e = x.Find(kValueEnd, start);
        if (e == CutText::npos) {
            // Cut short: the error is what arrived of its text.
            const std::string_view rest = x.Left(start, answer.size(), scratch);
            out.errors.emplace_back(rest.empty() ? std::string_view(" ") : rest);
            x.Cut(v, answer.size());
            break;
        }
        const std::string_view value = x.Left(start, e, scratch);
        out.errors.emplace_back(value.empty() ? std::string_view(" ") : value);
        x.Cut(v, e + x.MarkerSize(kValueEnd));
    }
    const std::string stamp = UtcStamp(now);
    std::string name;
    for (std::size_t m; (m = x.Find(kNamedInput)) != CutText::npos;) {
        const std::size_t n = m + x.MarkerSize(kNamedInput);
        const std::size_t e = x.Find(kNameEnd, n);
        if (e == CutText::npos) break;
        name = x.Left(n, e, scratch);
        x.Cut(m, e + x.MarkerSize(kNameEnd));
        const std::size_t v = x.Find(kValue, m);
        if (v == CutText::npos) break;
        const std::size_t start = v + x.MarkerSize(kValue);
        const std::size_t ve = x.Find(kValueEnd, start);
        if (ve == CutText::npos) break;
        AddInputRow(out.inputs, name, x.Left(start, ve, scratch), stamp);
        x.Cut(v, ve + x.MarkerSize(kValueEnd));
    }
}

namespace {

// The offsets in [p, p + n) of its first nine commas; how many there are (at most nine).
std::size_t FirstNineCommas(const char* p, std::size_t n, std::size_t (&at)[9]) {
    std::size_t found = 0;
    ForEachByte(p, n, ',', [&](std::size_t k) {
        at[found++] = k;
        return found < 9;
    });
    return found;
}

// The first line feed of [p, p + n) (n when there is none) and the offsets of the first nine
// commas before it (commas: how many, at most nine), in one pass eight bytes at a time.
std::size_t ScanLine(const char* p, std::size_t n, std::size_t (&at)[9], std::size_t& commas) {
    commas = 0;
    std::size_t k = 0;
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
        // The top bit of each byte of w that is zero (exact: no carry crosses a byte).
        const auto zeros = [](std::uint64_t w) { return ~(((w & kLow7) + kLow7) | w | kLow7); };
        for (; n - k >= 8; k += 8) {
            const std::uint64_t w = scan::Load8(p + k);
            std::uint64_t comma = zeros(w ^ (scan::kOnes * ','));
            const std::uint64_t lf = zeros(w ^ (scan::kOnes * '\n'));
            if (lf) comma &= (lf & (~lf + 1)) - 1;  // only the commas before the line feed
            for (; comma != 0 && commas < 9; comma &= comma - 1)
                at[commas++] = k + static_cast<std::size_t>(std::countr_zero(comma) >> 3);
            if (lf) return k + static_cast<std::size_t>(std::countr_zero(lf) >> 3);
            if (commas == 9) return k + 8 + scan::Find(p + k + 8, n - k - 8, '\n');
        }
    }
    for (; k < n && p[k] != '\n'; ++k)
        if (p[k] == ',' && commas < 9) at[commas++] = k;
    return k;
}

// Writes line breaks as blanks and "~" as "-" in [p, p + n) (a loop the compiler turns into
// vector code).
void BlankBreaks(char* p, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        const char c = p[i];
        p[i] = c == '\r' || c == '\n' ? ' ' : c == '~' ? '-' : c;
    }
}

}  // namespace

// The usual page is a run of inputs "<input name='NAME' ... value='VALUE'>" and no ERROR
// input. The general pass (ReadAnyInputs) cuts the text before the first "<input name=" and,
// input by input, takes the first "<input name='" left (m), the first "' " after it (e),
// cuts [m, e + 2), takes the first "value='" left at or after m and the first "'>" after
// that (ve), and cuts up to ve + 2. Here every "<input name='" of the text is one such m, and
// the next one begins at or after ve + 2 of the one before; then nothing before m is left to
// be found, nothing at or after m was cut yet, every marker between m and e + 2 is gone by
// the first cut (so the value marker is the first one at or after e + 2), and the name and
// the value are the text as sent: the same rows in the same order. Any other shape (an
// ERROR input, an input cut short, one input inside another): false, out untouched.
bool ReadUsualInputs(std::string_view answer, std::time_t now, PmAnswer& out) {
    if (answer.size() >= UINT32_MAX) return false;
    RowList rows;
    // One row per input: at most one per "<", and one per 24 bytes (its markers); a row holds
    // its name and value and a stamp of 19 bytes.
    const std::size_t most = std::min(CountByte(answer, '<'), answer.size() / 24);
    rows.reserve(most, answer.size() + most * 21);
    const std::string stamp = UtcStamp(now);
    constexpr std::size_t kNamedSize = sizeof "<input name='" - 1,
                          kValueSize = sizeof "value='" - 1;
    for (std::size_t m = answer.find("<input name='"); m != std::string_view::npos;) {
        if (StartsAt(answer, m, "<input name='ERROR'")) return false;
        const std::size_t n = m + kNamedSize;
        const std::size_t e = FindMarker(answer, "' ", n);
        if (e == std::string_view::npos) return false;
        const std::size_t v = FindMarker(answer, "value='", e + 2);
        if (v == std::string_view::npos) return false;
        const std::size_t start = v + kValueSize;
        const std::size_t ve = FindMarker(answer, "'>", start);
        if (ve == std::string_view::npos) return false;
        const std::size_t next = FindMarker(answer, "<input name='", m + 1);
        if (next < ve + 2) return false;  // npos is never below
        AddInputRow(rows, answer.substr(n, e - n), answer.substr(start, ve - start), stamp);
        m = next;
    }
    out.inputs = std::move(rows);
    return true;
}

namespace {

// Where the memo of a record begins once "Memo: " is dropped: after the first "Memo: " of
// the memo as it is written into a row (line breaks as blanks), else at its start. A "Memo:"
// followed by a line break is one as well, as the break becomes a blank.
std::size_t MemoFrom(std::string_view memo) {
    constexpr std::size_t kKey = 4;  // searched by its ":", rare in memos
    for (std::size_t from = 0;;) {
        const std::size_t at = FindText(memo.substr(from), "Memo:", kKey);
        if (at == std::string_view::npos || from + at + kMemoMarker.size() > memo.size()) return 0;
        const std::size_t end = from + at + kMemoMarker.size();
        const char c = memo[end - 1];
        if (c == ' ' || c == '\r' || c == '\n') return end;
        from += at + 1;
    }
}

// Calls done(record, commas) for each history record of csv (commas: the offsets of its first
// nine commas), without the first record when keepFirst is false.
template <class Done>
void ReadRecords(std::string_view csv, bool* firstWasDropped, bool keepFirst, Done done) {
    if (firstWasDropped) *firstWasDropped = false;
    if (HoldsText(csv, kNoRecords, 11)) return;  // by its "F" ("N" is in every "INV-")

    bool first = true;
    std::size_t pos = 0;
    // The line feed ending the line at pos (npos: none) and the line's first nine commas
    // (offsets from pos).
    std::size_t commaAt[9];
    std::size_t commas = 0;
    const auto lineEnd = [&](std::size_t from, std::size_t(&at)[9], std::size_t& found) {
        const std::size_t k = ScanLine(csv.data() + from, csv.size() - from, at, found);
        return from + k == csv.size() ? std::string_view::npos : from + k;
    };
    std::size_t lf = lineEnd(pos, commaAt, commas);
    while (lf != std::string_view::npos) {
        // The record: its first line, then every further line that does not hold ten fields.
        std::size_t end = lf + 1;
        std::size_t nextAt[9];
        std::size_t nextCommas = 0;
        std::size_t next;  // the line feed ending the line at end
        for (; (next = lineEnd(end, nextAt, nextCommas)) != std::string_view::npos; end = next + 1)
            if (nextCommas == 9) break;
        const std::string_view record = csv.substr(pos, end - pos);
        // The first nine commas of the record: those of its first line, or found across its lines.
        std::size_t recordAt[9];
        std::size_t recordCommas = commas;
        if (commas == 9 || end == lf + 1)
            std::copy(commaAt, commaAt + commas, recordAt);
        else
            recordCommas = FirstNineCommas(record.data(), record.size(), recordAt);
        pos = end;
        lf = next;
        commas = nextCommas;
        std::copy(nextAt, nextAt + nextCommas, commaAt);
        if (recordCommas < 9) {  // fewer than ten fields
            if (first && firstWasDropped) *firstWasDropped = true;
            first = false;
            continue;
        }
        if (std::exchange(first, false) && !keepFirst) continue;
        done(record, recordAt);
    }
}

// The raw record: line breaks become blanks, a "~" becomes "-", the first nine commas end
// fields 0 to 8 ("~"); the memo is all the rest, commas and all, less what a "Memo: " leads.
void AddRawRecord(std::string_view record, const std::size_t (&commas)[9], RowList& rows) {
    const std::size_t memoStart = commas[8] + 1;
    const std::size_t drop = MemoFrom(record.substr(memoStart));
    char* w = rows.AddRow(record.size() - drop);
    std::memcpy(w, record.data(), memoStart);
    std::memcpy(w + memoStart, record.data() + memoStart + drop, record.size() - memoStart - drop);
    BlankBreaks(w, record.size() - drop);
    for (const std::size_t at : commas) w[at] = '~';
}

// The table row of a record straight from its text: AddHistoryRow of its raw record.
// readOn: the text goes on at least 16 bytes past the record, so that its fields are copied
// in 16-byte moves (the row is written that much longer, then cut back).
void AddRecordRow(std::string_view record, const std::size_t (&commas)[9], bool readOn, RowList& rows) {
    std::string_view f[9];
    std::size_t from = 0;
    for (std::size_t i = 0; i < 9; from = commas[i++] + 1) f[i] = record.substr(from, commas[i] - from);
    std::string_view memo = record.substr(from);
    memo.remove_prefix(MemoFrom(memo));
    const std::string_view cells[] = {f[0], f[7], f[4], f[5], f[3], f[2], memo, f[8]};
    std::size_t size = std::size(cells) - 1;
    for (const std::string_view c : cells) size += c.size();
    char* const row = rows.AddRow(size + 16);
    std::size_t ends[std::size(cells)];
    char* w = row;
    for (std::size_t k = 0; k < std::size(cells); ++k) {
        const std::string_view c = cells[k];
        if (readOn) {
            for (std::size_t i = 0; i < c.size(); i += 16) std::memcpy(w + i, c.data() + i, 16);
        } else if (!c.empty()) {
            std::memcpy(w, c.data(), c.size());
        }
        w += c.size();
        ends[k] = static_cast<std::size_t>(w - row);
        ++w;
    }
    rows.ShortenLast(size);
    BlankBreaks(row, size);
    for (std::size_t k = 0; k + 1 < std::size(cells); ++k) row[ends[k]] = '~';
}

RowList ReadRecords(std::string_view csv, bool* firstWasDropped, bool keepFirst, CsvRows keep) {
    RowList rows;
    // A row is never longer than its record (a record holds nine commas and a line feed).
    rows.reserve(csv.size() / 64, csv.size() + 16);  // the last row is written 16 bytes longer
    if (keep == CsvRows::Raw)
        ReadRecords(csv, firstWasDropped, keepFirst,
                    [&](std::string_view r, const std::size_t(&c)[9]) { AddRawRecord(r, c, rows); });
    else
        ReadRecords(csv, firstWasDropped, keepFirst,
                    [&](std::string_view r, const std::size_t(&c)[9]) {
                        AddRecordRow(r, c, csv.data() + csv.size() - (r.data() + r.size()) >= 16, rows);
                    });
    return rows;
}

}  // namespace

RowList ReadCsvRecords(std::string_view csv, bool* firstWasDropped) {
    return ReadRecords(csv, firstWasDropped, true, CsvRows::Raw);
}

void AddHistoryRow(std::string_view record, RowList& rows) {
    // Fields 0 to 8, then the memo: the rest of the record (fields 9 on).
    std::size_t tilde[9];
    std::size_t tildes = 0;
    ForEachByte(record.data(), record.size(), '~', [&](std::size_t k) {
        tilde[tildes++] = k;
        return tildes < 9;
    });
    if (tildes < 9) return;
    std::string_view f[9];
    std::size_t from = 0;
    for (std::size_t i = 0; i < 9; from = tilde[i++] + 1) f[i] = record.substr(from, tilde[i] - from);
    const std::string_view cells[] = {f[0], f[7], f[4], f[5], f[3], f[2], record.substr(from), f[8]};
    std::size_t size = std::size(cells) - 1;
    for (const std::string_view c : cells) size += c.size();
    char* w = rows.AddRow(size);
    for (std::size_t k = 0; k < std::size(cells); ++k) {
        if (k > 0) *w++ = '~';
        std::memcpy(w, cells[k].data(), cells[k].size());
        if (k == 6) DashTildes(w, cells[k].size());  // the memo's fields joined by "-"
        w += cells[k].size();
    }
}

void ParseAnswer(std::string_view answer, std::time_t now, PmAnswer& out, CsvRows keep) {
    out = PmAnswer{};
    if (answer.substr(0, kErrorPrefix.size()) == kErrorPrefix) {
        out.errors.emplace_back(answer.substr(kErrorPrefix.size()));
        return;
    }
    if (answer.find("<input name=") != std::string_view::npos) {
        if (!ReadUsualInputs(answer, now, out)) ReadAnyInputs(answer, now, out);
        return;
    }
    // The first record is the header; it is dropped whatever its form.
    if (keep == CsvRows::Raw)
        out.csv = ReadRecords(answer, nullptr, false, CsvRows::Raw);
    else
        out.historyRows = ReadRecords(answer, nullptr, false, CsvRows::History);
}

}  // namespace pw::pm
