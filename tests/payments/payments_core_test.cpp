// Payment records, exact amounts, the Perfect Money fee and due times, table-driven.
#include <gtest/gtest.h>

#include "payments/amount.h"
#include "payments/ole_date.h"
#include "payments/payment_record.h"

namespace pw {
namespace {

TEST(Amount, OnlyPlainDecimalsOfAtMostTwoPlaces) {
    const struct {
        const char* typed;
        std::optional<Cents> cents;
    } cases[] = {
        {"12", 1200},
        {"12.5", 1250},
        {"12,5", 1250},
        {"12,50", 1250},
        {"0.01", 1},
        {".5", 50},
        {"7.", 700},
        {"0", 0},
        {"1000000.01", 100000001},
        {"9999999999999.99", 999999999999999},
        {"12abc", {}},
        {"1e3", {}},
        {"12.345", {}},
        {"", {}},
        {" ", {}},
        {" 12", {}},
        {"12 ", {}},
        {"-3", {}},
        {"+3", {}},
        {".", {}},
        {",", {}},
        {"1.2.3", {}},
        {"1,2.3", {}},
        {"0x10", {}},
        {"inf", {}},
        {"nan", {}},
        {"12~", {}},
        {"99999999999999", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(ExactAmount(c.typed), c.cents) << c.typed;
    EXPECT_EQ(AmountWithPoint("1,2,3"), "1.2.3");
}

TEST(Amount, BalancesAndTexts) {
    EXPECT_EQ(ParseBalance("100.00"), 10000);
    EXPECT_EQ(ParseBalance("-0.50"), -50);
    EXPECT_EQ(ParseBalance("1,00"), std::nullopt);
    EXPECT_EQ(ParseBalance("-"), std::nullopt);
    EXPECT_EQ(ParseBalance("abc"), std::nullopt);
    const struct {
        Cents cents;
        const char* text;
    } texts[] = {{0, "0.00"},
                 {5, "0.05"},
                 {10050, "100.50"},
                 {-5, "-0.05"},
                 {100000001, "1000000.01"},
                 {-123456, "-1234.56"}};
    for (const auto& t : texts) EXPECT_EQ(FormatCents(t.cents), t.text) << t.cents;
}

TEST(Amount, PmFeeIsHalfAPercentRoundedHalfUp) {
    const struct {
        Cents amount, fee;
    } cases[] = {{10000, 50},
                 {1, 0},
                 {99, 0},
                 {100, 1},
                 {300, 2},
                 {299, 1},
                 {10050, 50},
                 {10100, 51},
                 {100000001, 500000},
                 {999999999999999, 5000000000000}};
    for (const auto& c : cases) EXPECT_EQ(PmFee(c.amount), c.fee) << c.amount;
    // 100 costs 100.50; 1000000.01 stays exact where single precision would not.
    EXPECT_EQ(FormatCents(10000 + PmFee(10000)), "100.50");
    EXPECT_EQ(FormatCents(*ExactAmount("1000000.01")), "1000000.01");
}

TEST(OleDates, DaysSince30December1899InLocalTime) {
    const struct {
        LocalDateTime t;
        const char* text;
    } cases[] = {
        {{1899, 12, 30, 0, 0, 0}, "0.000000"},      {{1899, 12, 31, 0, 0, 0}, "1.000000"},
        {{1900, 1, 1, 6, 0, 0}, "2.250000"},        {{1900, 3, 1, 0, 0, 0}, "61.000000"},
        {{2009, 3, 6, 12, 0, 0}, "39878.500000"},   {{2026, 12, 9, 0, 1, 0}, "46365.000694"},
        {{2000, 2, 29, 23, 59, 0}, "36585.999306"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OleText(c.t), c.text) << c.text;
        // The text read back is the same second.
        EXPECT_EQ(DueSeconds(c.text), OleSeconds(c.t)) << c.text;
    }
}

TEST(OleDates, DueTextsThatAreNotPlainNumbersAreNeverDue) {
    for (const char* bad :
         {"", "abc", "-1.5", "1e5", " 39878.5", "39878.5x", "1.2.3", "nan", "99999999.0"})
        EXPECT_EQ(DueSeconds(bad), std::nullopt) << bad;
    EXPECT_EQ(DueSeconds("39878.5"), 39878LL * 86400 + 43200);
}

TEST(Records, LayoutPerSystem) {
    PaymentRecord r{"U1234567",     "12.5", "rent",  "inv-7", true,
                    "39878.500000", true,   "LRUSD", false};
    const struct {
        int system;
        const char* text;
    } cases[] = {
        {0, "U1234567~12.5~rent~yes~39878.500000~yes~LRUSD~no"},
        {1, "U1234567~12.5~rent~inv-7~yes~39878.500000~yes~LRUSD~no"},
        {2, "U1234567~12.5~rent~yes~39878.500000~yes~LRUSD~no"},
        {3, "U1234567~12.5~rent~inv-7~yes~39878.500000~yes~LRUSD~no"},
    };
    for (const auto& c : cases) {
        const PaymentVariant& v = *PaymentVariantOf(c.system);
        EXPECT_EQ(RecordText(r, v), c.text);
        PaymentRecord back = *ParseRecord(c.text, v);
        if (!v.paymentId) back.paymentId = r.paymentId;
        EXPECT_EQ(back, r) << c.text;
        EXPECT_EQ(Split(c.text, "~")[static_cast<std::size_t>(v.DueField())], "39878.500000");
        // A record of the other length is not this system's.
        EXPECT_FALSE(ParseRecord(RecordText(r, *PaymentVariantOf(c.system ^ 1)), v));
    }
    EXPECT_EQ(PaymentVariantOf(4), nullptr);
    EXPECT_EQ(PaymentVariantOf(-1), nullptr);
}

TEST(Records, NotScheduledIgnoresDueAndRetry) {
    PaymentRecord r{"X", "1", "", "", false, "39878.5", true, "EUR", false};
    EXPECT_EQ(RecordText(r, *PaymentVariantOf(0)), "X~1~~no~~no~EUR~no");
    r.failed = true;
    r.scheduled = true;
    EXPECT_EQ(RecordText(r, *PaymentVariantOf(3)), "X~1~~~yes~39878.5~yes~EUR~yes");
}

TEST(Records, PayerAndBalanceOfTheRow) {
    const struct {
        int system;
        const char* row;
        const char* from;
        const char* balance;
        const char* source;
    } cases[] = {
        {0, "LRUSD~1234.5~2026-12-09~U1", "U1 [LRUSD]", "1234.50", "LRUSD"},
        {1, "U7654321~100~~x", "U7654321", "100.00", "U7654321"},
        {2, "USD~7.126", "U1 [USD]", "7.13", "U1 [USD]"},
        {3, "Gold~1~2~3~402.1", "U1 [Gold]", "402.10", "Gold"},
        {3, "Gold", "U1 [Gold]", "0.00", "Gold"},
    };
    for (const auto& c : cases) {
        const PayerView p = PayerOf(*PaymentVariantOf(c.system), "U1", c.row);
        EXPECT_EQ(p.from, c.from) << c.row;
        EXPECT_EQ(p.balance, c.balance) << c.row;
        EXPECT_EQ(p.source, c.source) << c.row;
    }
    EXPECT_TRUE(FitsRecordField("any text at all"));
    for (const char* bad : {"a~b", "~", "line\nbreak", "cr\r"}) EXPECT_FALSE(FitsRecordField(bad));
}

}  // namespace
}  // namespace pw
