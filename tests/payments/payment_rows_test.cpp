// Payment records as list rows: due times, cells and tones.
#include "payments/payment_rows.h"

#include <gtest/gtest.h>

namespace pw {
namespace {

TEST(PaymentRows, OleDatesAsLocalDateTime) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"39904.500000", "2009-04-01 12:00"},
        {"39904.420139", "2009-04-01 10:05"},
        {"39904.999306", "2009-04-01 23:59"},
        {"45000.750000", "2023-03-15 18:00"},
        {"39904.999999", "2009-04-02 00:00"},
        {"0.000000", "1899-12-30 00:00"},
        {"39904", "2009-04-01 00:00"},
        {"", ""},
        {"abc", ""},
        {"-1.000000", ""},
        {"39904,5", ""},
        {"1e400", ""},
        {"3000000", ""},
    };
    for (const auto& [field, text] : cases) EXPECT_EQ(OleDateText(field), text) << field;
}

TEST(PaymentRows, CellsAndTonesOfRecords) {
    struct Case {
        std::string record;
        bool paymentId;
        TextList cells;
        RowTone tone;
    };
    const std::vector<Case> cases = {
        {"U1~12.5~rent~no~~no~LRUSD~no",
         false,
         {" U1", "12.50", " rent", " no", " ", " no"},
         RowTone::Normal},
        {"U1~7~m~yes~39904.500000~no~LRUSD~no",
         false,
         {" U1", "7.00", " m", " yes", " 2009-04-01 12:00", " no"},
         RowTone::Scheduled},
        {"VM2~1000000.01~m~yes~39904.500000~yes~VM1 [USD]~yes",
         false,
         {" VM2", "1000000.01", " m", " yes", " 2009-04-01 12:00", " yes"},
         RowTone::Failed},
        {"U7~100~m~77~yes~39904.500000~no~U1234567~yes",
         true,
         {" U7", "100.00", " m", " 77", " yes", " 2009-04-01 12:00", " no"},
         RowTone::Failed},
        {"7654321~0.5~m~id~no~~no~Gold~no",
         true,
         {" 7654321", "0.50", " m", " id", " no", " ", " no"},
         RowTone::Normal},
    };
    for (const Case& c : cases) {
        const ListRow row = RecordRow(Split(c.record, "~"), c.paymentId);
        EXPECT_EQ(row.cells, c.cells) << c.record;
        EXPECT_EQ(row.tone, c.tone) << c.record;
    }
}

}  // namespace
}  // namespace pw
