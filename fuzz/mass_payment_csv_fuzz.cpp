// The mass-payment CSV import: every line rule on any bytes, with and without Payment ID.
#include <cstdint>

#include "fuzz_input.h"
#include "payments/csv_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string content = pw::fuzz::Text(data, size);
    for (const int minFields : {3, 4}) {
        const pw::CsvImport result = pw::ParseCsvPayments(content, minFields);
        for (const pw::CsvPayment& p : result.payments) {
            // What the import hands on must be a payment the record can hold.
            if (p.to.empty() || p.cents <= 0 || p.to.find('~') != std::string::npos ||
                p.memo.find('~') != std::string::npos)
                __builtin_trap();
        }
        (void)pw::CsvImportSummary(result);
    }
    (void)pw::ReadCsvPayments(pw::fuzz::WriteScratch("Sample/LR_Import.csv", content), 3);
    return 0;
}
