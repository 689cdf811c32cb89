// The import of payment lists: line rules, exact amounts, line ends, and what the user is told.
#include "payments/csv_import.h"

#include <gtest/gtest.h>

#include <fstream>

#include "../store/temp_dir.h"

namespace pw {
namespace {

struct Line {
    const char* what;
    std::string text;  // the whole file
    int minFields;
    // The payments as "to|cents|memo|paymentId", then the skipped line numbers.
    std::vector<std::string> payments;
    std::vector<int> skipped;
};

std::string Show(const CsvPayment& p) {
    return p.to + "|" + std::to_string(p.cents) + "|" + p.memo + "|" + p.paymentId;
}

TEST(CsvImport, LineRules) {
    const std::vector<Line> cases = {
        {"blanks out of To, minus and comma",
         "U123 456;-12,5;rent\r\n",
         3,
         {"U123456|1250|rent|"},
         {}},
        {"amount 0 skipped", "U1;0;a\r\nU2;0.00;b\r\nU3;1;c\r\n", 3, {"U3|100|c|"}, {1, 2}},
        {"empty To skipped", " ;5;a\r\nU2;5;b\r\n", 3, {"U2|500|b|"}, {1}},
        {"two fields skipped", "U1;5\r\nU2;5;\r\n", 3, {"U2|500||"}, {1}},
        {"payment ID needs four", "U1;5;m\r\nU2;5;m;77\r\n", 4, {"U2|500|m|77"}, {1}},
        {"fields beyond ignored", "U1;5;m;x;y\r\n", 3, {"U1|500|m|"}, {}},
        {"LF line ends", "U1;1;a\nU2;2;b\n", 3, {"U1|100|a|", "U2|200|b|"}, {}},
        {"last line without break", "U1;1;a\r\nU2;2;b", 3, {"U1|100|a|", "U2|200|b|"}, {}},
        {"byte-order mark", "\xEF\xBB\xBFU1;1;a\n", 3, {"U1|100|a|"}, {}},
        {"tilde skipped", "U1;1;a~b\r\nU~2;1;a\r\nU3;1;c\r\n", 3, {"U3|100|c|"}, {1, 2}},
        {"exact large amount", "U1;1000000.01;a\r\n", 3, {"U1|100000001|a|"}, {}},
        {"thousands separator refused", "U1;1,234.56;a\r\nU2;1.234,56;b\r\n", 3, {}, {1, 2}},
        {"not plain numbers",
         "U1;12abc;a\nU2;1e3;a\nU3;12.345;a\nU4; ;a\nU5;.;a\n",
         3,
         {},
         {1, 2, 3, 4, 5}},
        {"blanks and minus on both ends",
         "U1; -7.5- ;a\nU2;.5;b\nU3;3.;c\n",
         3,
         {"U1|750|a|", "U2|50|b|", "U3|300|c|"},
         {}},
        {"empty lines not counted", "\r\nU1;1;a\r\n  \r\n\r\nx\r\n", 3, {"U1|100|a|"}, {5}},
        {"header line reported", "To;Amount;Memo\r\nU1;1;a\r\n", 3, {"U1|100|a|"}, {1}},
        {"too many digits", "U1;12345678901234;a\r\n", 3, {}, {1}},
        {"memo kept as written", "U1;1; Rent, January \r\n", 3, {"U1|100| Rent, January |"}, {}},
        {"empty file", "", 3, {}, {}},
    };
    for (const Line& c : cases) {
        const CsvImport r = ParseCsvPayments(c.text, c.minFields);
        std::vector<std::string> got;
        for (const CsvPayment& p : r.payments) got.push_back(Show(p));
        EXPECT_EQ(got, c.payments) << c.what;
        EXPECT_EQ(r.skippedLines, c.skipped) << c.what;
        EXPECT_EQ(r.error, "") << c.what;
    }
}

TEST(CsvImport, SummaryNamesSkippedLines) {
    CsvImport r;
    EXPECT_EQ(CsvImportSummary(r), "0 payments imported, 0 lines skipped.");
    r.payments.resize(1);
    r.skippedLines = {4};
    EXPECT_EQ(CsvImportSummary(r), "1 payment imported, 1 line skipped (line 4).");
    r.payments.resize(12);
    r.skippedLines = {3, 7};
    EXPECT_EQ(CsvImportSummary(r), "12 payments imported, 2 lines skipped (lines 3, 7).");
    r.skippedLines.clear();
    for (int i = 1; i <= 25; ++i) r.skippedLines.push_back(i);
    const std::string many = CsvImportSummary(r);
    EXPECT_NE(many.find("25 lines skipped (lines 1, 2,"), std::string::npos) << many;
    EXPECT_NE(many.find(", 20, \u2026)."), std::string::npos) << many;
    r.error = "too large";
    EXPECT_EQ(CsvImportSummary(r), "too large");
}

TEST(CsvImport, FilesTooLargeOrMissingImportNothingAndSayWhy) {
    testing::TempDir dir;
    const std::string ok = dir / "ok.csv", big = dir / "big.csv";
    std::ofstream(ok, std::ios::binary) << "U1;1;a\r\nU2;x;b";
    {
        std::ofstream out(big, std::ios::binary);
        const std::string line = "U1;1;a\r\n";
        for (std::size_t n = 0; n <= kCsvImportMaxBytes; n += line.size()) out << line;
    }
    const CsvImport read = ReadCsvPayments(ok, 3);
    EXPECT_EQ(read.payments.size(), 1u);
    EXPECT_EQ(CsvImportSummary(read), "1 payment imported, 1 line skipped (line 2).");
    const CsvImport tooLarge = ReadCsvPayments(big, 3);
    EXPECT_TRUE(tooLarge.payments.empty());
    EXPECT_NE(tooLarge.error.find("larger than 4 MB"), std::string::npos);
    const CsvImport missing = ReadCsvPayments(dir / "none.csv", 3);
    EXPECT_TRUE(missing.payments.empty());
    EXPECT_NE(missing.error.find("cannot be read"), std::string::npos);
}

TEST(CsvImport, ShippedSamplesImportWhole) {
    const std::string dir = std::string(PW_TEST_DATA_DIR) + "/../../res/Sample/";
    for (const auto& [file, minFields] :
         std::vector<std::pair<std::string, int>>{{"LR_Import.csv", 3},
                                                  {"PM_Import.csv", 4},
                                                  {"EG_Import.csv", 4},
                                                  {"VM_Import.csv", 3}}) {
        const CsvImport r = ReadCsvPayments(dir + file, minFields);
        EXPECT_FALSE(r.payments.empty()) << file;
        EXPECT_TRUE(r.skippedLines.empty()) << file;
        EXPECT_EQ(r.error, "") << file;
    }
}

}  // namespace
}  // namespace pw
