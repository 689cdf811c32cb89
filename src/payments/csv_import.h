#pragma once
// Import of payments from a CSV file: one payment per line, fields separated by ";" (To;
// Amount; Memo, and Payment ID on the systems that have one). Lines that cannot become a
// payment are skipped and counted by their line number, so the user is told about them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

// A larger file is refused as a whole.
inline constexpr std::size_t kCsvImportMaxBytes = 4u * 1024u * 1024u;

struct CsvPayment {
    std::string to;          // blanks removed, never empty
    std::int64_t cents = 0;  // above 0
    std::string memo;
    std::string paymentId;  // empty unless the variant reads one
};

struct CsvImport {
    std::vector<CsvPayment> payments;  // in file order
    std::vector<int> skippedLines;     // 1-based numbers of the lines that were skipped
    std::string error;                 // set when nothing could be read (file too large, ...)
};

// minFields: 3 (To;Amount;Memo) or 4 (with Payment ID). Lines end with CR LF or LF; a last line
// without a line end counts; a UTF-8 byte-order mark at the start is skipped; empty lines are
// neither payments nor skipped lines. A line is skipped when it has fewer fields than
// minFields, when To is empty once its blanks are removed, when a field holds "~", or when the
// amount (blanks and minus signs trimmed from both ends, "," read as ".") is not a plain
// number with at most two decimals, or is 0.
CsvImport ParseCsvPayments(std::string_view text, int minFields);

// Reads and parses the file; an unreadable file or one over kCsvImportMaxBytes imports nothing
// and says why in error.
CsvImport ReadCsvPayments(const std::string& path, int minFields);

// The amount rule of an import line: the amount in whole cents, or -1 when it is not a plain
// number with at most two decimals (after trimming and "," to ".").
std::int64_t CsvAmountCents(std::string_view field);

// "N payments imported, M lines skipped (lines 3, 7, ...)" (the error instead when set). At most
// kCsvReportedLines numbers are listed.
inline constexpr std::size_t kCsvReportedLines = 20;
std::string CsvImportSummary(const CsvImport& result);

}  // namespace pw
