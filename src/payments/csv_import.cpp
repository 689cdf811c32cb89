#include "payments/csv_import.h"

#include "payments/amount.h"
#include "store/file_io.h"
#include "ui/base/tr.h"

namespace pw {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t sep = line.find(';', start);
        fields.push_back(line.substr(start, sep == std::string_view::npos ? sep : sep - start));
        if (sep == std::string_view::npos) return fields;
        start = sep + 1;
    }
}

bool ParseLine(std::string_view line, int minFields, CsvPayment& out) {
    if (line.find('~') != std::string_view::npos) return false;
    const std::vector<std::string_view> f = Fields(line);
    if (f.size() < static_cast<std::size_t>(minFields) || f.size() < 3) return false;
    out = CsvPayment{};
    for (const char c : f[0])
        if (!IsBlank(c)) out.to.push_back(c);
    if (out.to.empty()) return false;
    out.cents = CsvAmountCents(f[1]);
    if (out.cents <= 0) return false;
    out.memo = std::string(f[2]);
    if (minFields >= 4) out.paymentId = std::string(f[3]);
    return true;
}

}  // namespace

std::int64_t CsvAmountCents(std::string_view field) {
    auto trimmed = [](char c) { return IsBlank(c) || c == '-'; };
    while (!field.empty() && trimmed(field.front())) field.remove_prefix(1);
    while (!field.empty() && trimmed(field.back())) field.remove_suffix(1);
    return ExactAmount(field).value_or(-1);
}

CsvImport ParseCsvPayments(std::string_view text, int minFields) {
    CsvImport result;
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        bool empty = true;
        for (const char c : line) empty = empty && IsBlank(c);
        if (empty) continue;
        CsvPayment payment;
        if (ParseLine(line, minFields, payment))
            result.payments.push_back(std::move(payment));
        else
            result.skippedLines.push_back(number);
    }
    return result;
}

CsvImport ReadCsvPayments(const std::string& path, int minFields) {
    std::string data;
    CsvImport result;
    if (!ReadFileBounded(path, kCsvImportMaxBytes + 1, data)) {
        result.error = Purseward::tr("The file %1 cannot be read. Nothing was imported.")
                           .arg(QString::fromStdString(path))
                           .toStdString();
        return result;
    }
    if (data.size() > kCsvImportMaxBytes) {
        result.error = Purseward::tr(
                           "The file %1 is larger than 4 MB, too large for a payment "
                           "list. Nothing was imported.")
                           .arg(QString::fromStdString(path))
                           .toStdString();
        return result;
    }
    return ParseCsvPayments(data, minFields);
}

std::string CsvImportSummary(const CsvImport& result) {
    if (!result.error.empty()) return result.error;
    const std::size_t n = result.payments.size(), m = result.skippedLines.size();
    std::string text =
        ((n == 1 ? Purseward::tr("%1 payment imported") : Purseward::tr("%1 payments imported"))
             .arg(n) +
         QStringLiteral(", ") +
         (m == 1 ? Purseward::tr("%1 line skipped") : Purseward::tr("%1 lines skipped")).arg(m))
            .toStdString();
    if (m == 0) return text + ".";
    text += (m == 1 ? Purseward::tr(" (line ") : Purseward::tr(" (lines ")).toStdString();
    for (std::size_t i = 0; i < m && i < kCsvReportedLines; ++i)
        text += (i ? ", " : "") + std::to_string(result.skippedLines[i]);
    if (m > kCsvReportedLines) text += ", \u2026";
    return text + ").";
}

}  // namespace pw
