// The window-free logic of the account tab: cells, totals, the change notice, the copied
// record, the filter corrections and the stored columns of saved accounts.
#include "accounts/tab_logic.h"

#include <gtest/gtest.h>

#include <clocale>

#include "ui/base/strings.h"

namespace pw {
namespace {

TEST(TabLogicNumbers, AmountsReadLikeAtofWhateverTheLocale) {
    EXPECT_DOUBLE_EQ(ParseAmount("12.50"), 12.5);
    EXPECT_DOUBLE_EQ(ParseAmount(" -10.00"), -10.0);
    EXPECT_DOUBLE_EQ(ParseAmount("+3.25abc"), 3.25);
    EXPECT_DOUBLE_EQ(ParseAmount("16.0900"), 16.09);
    EXPECT_DOUBLE_EQ(ParseAmount(""), 0.0);
    EXPECT_DOUBLE_EQ(ParseAmount(" "), 0.0);
    EXPECT_DOUBLE_EQ(ParseAmount("garbage"), 0.0);
    EXPECT_DOUBLE_EQ(ParseAmount("++1"), 0.0);
    // A locale with a decimal comma does not change how amounts are read or written.
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr) {
        EXPECT_DOUBLE_EQ(ParseAmount("12.50"), 12.5);
        EXPECT_EQ(FormatMoney(12.5), "12.50");
        std::setlocale(LC_NUMERIC, "C");
    }
}

TEST(TabLogicNumbers, SingleValuesKeepDoublePrecisionAndSumsStayExact) {
    EXPECT_EQ(FormatMoney(10.0), "10.00");
    EXPECT_EQ(FormatMoney(-3.3), "-3.30");
    // As a 32-bit float 1000000.10 would be 1000000.125 and 16777217 would be 16777216.
    EXPECT_EQ(FormatMoney(ParseAmount("1000000.10")), "1000000.10");
    EXPECT_EQ(FormatMoney(ParseAmount("16777217.00")), "16777217.00");
    EXPECT_EQ(FormatMoney(ParseAmount("0.045")), "0.04");  // 0.045 is just below as a double
    EXPECT_EQ(FormatCents(ToCents("1000000.10")), "1000000.10");
    EXPECT_EQ(FormatCents(-5), "-0.05");
    EXPECT_EQ(FormatCents(0), "0.00");
    EXPECT_EQ(FormatCents(INT64_MIN), "-92233720368547758.08");
    EXPECT_EQ(ToCents("0.005"), 1);
    EXPECT_EQ(ToCents("-0.005"), -1);
    EXPECT_GT(ToCents("1e300"), 0);  // clamped, no overflow
    EXPECT_EQ(ToCents("1e300"), ToCents("9e300"));
    EXPECT_EQ(ToCents("-1e300"), -ToCents("1e300"));
    EXPECT_EQ(ToCents("nan"), 0);
    EXPECT_EQ(ToCents("inf"), 0);
}

TEST(TabLogicCells, MoneyColumnsFormattedOthersPrefixedWithASpace) {
    const TextList f = Split("LRUSD~12.5~2009-03-05 10:00", "~");
    EXPECT_EQ(CellText(f, 0, false), " LRUSD");
    EXPECT_EQ(CellText(f, 1, true), "12.50");
    EXPECT_EQ(CellText(f, 2, false), " 2009-03-05 10:00");
    EXPECT_EQ(CellText(f, 3, false), "");  // the row is short: an empty cell
    EXPECT_EQ(CellText(f, -1, true), "");
    // A large value shows every cent it has.
    EXPECT_EQ(CellText(Split("LRUSD~16777217.01", "~"), 1, true), "16777217.01");
}

TEST(TabLogicCells, EveryColumnFormat) {
    const struct {
        const char* field;
        const char* format;
        const char* cell;
    } cases[] = {
        {"1.5", "%.6f", "1.500000"},
        {"0.123456", "%.6f", "0.123456"},
        {"46.65453", "%.4f", "46.6545"},
        {"1350", "%.2f", "1350.00"},
        {"-0.5", "%.2f", "-0.50"},
        {"abc", "%.2f", "0.00"},
        {"Gold", " ", " Gold"},
        {"memo", "", "memo"},
        {"7", "%d", "%d7"},
        {"7", "%.f", "%.f7"},  // not "%.Nf": text
        {"7", "%.99f", "%.99f7"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CellText(TextList{c.field}, 0, std::string(c.format)), c.cell)
            << c.field << " " << c.format;
    EXPECT_EQ(NumberFormatDecimals("%.0f"), 0);
    EXPECT_EQ(CellText(TextList{"2.5"}, 0, std::string("%.0f")), "2");
}

TEST(TabLogicTotals, IncomeOutcomeAndDifferenceInWholeCents) {
    const TextList rows = {"d~a~10.00", "d~a~-3.30", "d~a~0.00", "d~a~0.10", "d~a~0.20",
                           "short"};
    const Totals t = SumHistory(RowList(rows), 2);
    EXPECT_EQ(t.incomeCents, 1030);
    EXPECT_EQ(t.outcomeCents, 330);
    EXPECT_EQ(TotalsLine(t), "Income : 10.30 -=- Outcome : 3.30 -=- Difference : 7.00");
    EXPECT_FALSE(IsIncome("0.00"));
    EXPECT_FALSE(IsIncome(" "));
    EXPECT_TRUE(IsIncome("0.01"));
}

TEST(TabLogicTotals, ManySmallAmountsDoNotDrift) {
    TextList rows;
    for (int i = 0; i < 100000; ++i) rows.push_back("d~a~0.01");
    rows.push_back("d~a~1000000.10");
    EXPECT_EQ(TotalsLine(SumHistory(RowList(rows), 2)),
              "Income : 1001000.10 -=- Outcome : 0.00 -=- Difference : 1001000.10");
}

TEST(TabLogicNotice, ChangedValueOfTheSameCurrencyIsReported) {
    const ChangeNotice n = BuildChangeNotice({"LRUSD~10.00~d1~U1234567", "LREUR~1.00~d1~U1234567"},
                                             {"LRUSD~12.50~d2~U1234567", "LREUR~1.00~d2~U1234567"},
                                             "LR", "U1234567");
    EXPECT_TRUE(n.changed);
    EXPECT_EQ(n.text, "Balance is changed [LR<U1234567>]\r\nLRUSD : 10.00/12.50\r\n");
}

TEST(TabLogicNotice, PositionsAreComparedNotCurrencies) {
    // Swapped order: no currency is equal at its position, so nothing is reported.
    const ChangeNotice swapped =
        BuildChangeNotice({"LRUSD~10.00", "LREUR~2.00"}, {"LREUR~2.00", "LRUSD~12.50"}, "LR", "U1");
    EXPECT_FALSE(swapped.changed);
    EXPECT_EQ(swapped.text, "");
    // Rows beyond the old list, and rows without a value field, are not compared.
    const ChangeNotice extra =
        BuildChangeNotice({"LRUSD~10.00", "broken"}, {"LRUSD~10.00", "LREUR~3", "x"}, "LR", "U1");
    EXPECT_FALSE(extra.changed);
    const ChangeNotice two =
        BuildChangeNotice({"LRUSD~1", "LREUR~2"}, {"LRUSD~3", "LREUR~4"}, "PM", "U9");
    EXPECT_EQ(two.text, "Balance is changed [PM<U9>]\r\nLRUSD : 1/3\r\nLREUR : 2/4\r\n");
}

TEST(TabLogicNotice, TheSystemNamesTheComparedAndTheReportedField) {
    const ChangeFields ouncesUsd{0, 1, 4};
    const ChangeNotice n = BuildChangeNotice(
        {"Gold~1.5~46.6545~900~1350.00~d"}, {"Gold~2~62.206~900~1800.00~d"}, "EG", "77", ouncesUsd);
    EXPECT_EQ(n.text, "Balance is changed [EG<77>]\r\nGold : 1350.00/1800.00\r\n");
    // USD alone changed (a new price): Ounces are equal, nothing is reported.
    EXPECT_FALSE(
        BuildChangeNotice({"Gold~2~x~900~1800.00"}, {"Gold~2~x~950~1900.00"}, "EG", "77", ouncesUsd)
            .changed);
    // Rows too short for the reported field are not compared.
    EXPECT_FALSE(BuildChangeNotice({"Gold~1"}, {"Gold~2"}, "EG", "77", ouncesUsd).changed);
}

TEST(TabLogicRecord, CounterpartMasking) {
    EXPECT_EQ(MaskCounterpart("U1234567 (Name)", 3), "U1234*** (Name)");
    EXPECT_EQ(MaskCounterpart("U1234567 (John  Smith)", 1), "U123456* (John  Smith)");
    EXPECT_EQ(MaskCounterpart("U12", 10), "**********");  // shorter than N: N asterisks
    EXPECT_EQ(MaskCounterpart("U1234567 (Name)", 0), "U1234567 (Name)");
    EXPECT_EQ(MaskCounterpart("U1234567", -4), "U1234567");
    EXPECT_EQ(MaskCounterpart("", 3), "");
}

TEST(TabLogicRecord, ClipboardTextOfARow) {
    const std::string row =
        "2009-03-05 10:00~U1234567 (Name)~-10.00~0.10~90.00~LRUSD~777~rent~false~api";
    EXPECT_EQ(RecordText(row, LibertyReserveRecord(), true, 3),
              "Date : 2009-03-05 10:00\r\nFrom/To Account : U1234*** (Name)\r\n"
              "Amount : -10.00\r\nCurrency : LRUSD\r\nBatch : 777\r\nMemo : rent");
    EXPECT_EQ(RecordText(row, LibertyReserveRecord(), false, 3).substr(25, 40),
              "From/To Account : U1234567 (Name)\r\nAmoun");
    // A short row gives empty fields, not a fault.
    EXPECT_EQ(RecordText("only", LibertyReserveRecord(), true, 3),
              "Date : only\r\nFrom/To Account : \r\nAmount : \r\nCurrency : \r\nBatch : "
              "\r\nMemo : ");
    // A system's own lines and trailer; only the counterpart field is masked.
    RecordDescription vm;
    vm.lines = {{"Date : %s", {0}}, {"From/To Account : %s", {1}}, {"Batch : %s", {6}},
                {"Memo : %s", {7}}};
    vm.endsWithLineBreak = true;
    EXPECT_EQ(RecordText(row, vm, true, 3),
              "Date : 2009-03-05 10:00\r\nFrom/To Account : U1234*** (Name)\r\nBatch : 777\r\n"
              "Memo : rent\r\n");
    EXPECT_EQ(FirstWord("U1234567 (Name)"), "U1234567");
    EXPECT_EQ(FirstWord("U1"), "U1");
}

TEST(TabLogicLogin, MessagesAndUnsafeAccounts) {
    SystemTraits t;
    EXPECT_EQ(LoginProblem({"", "api", "pw"}, t), 110);
    EXPECT_EQ(LoginProblem({"U1", "", "pw"}, t), 111);
    EXPECT_EQ(LoginProblem({"U1", "api", ""}, t), 112);
    EXPECT_EQ(LoginProblem({"U1", "api", "pw"}, t), 0);
    t.hasApiName = false;
    EXPECT_EQ(LoginProblem({"U1", "", "pw"}, t), 0);
    t.msgNoSecret = "Enter the pass phrase.";
    EXPECT_EQ(LoginProblem({"U1", "", ""}, t).Text(), "Enter the pass phrase.");
    EXPECT_EQ(TabMessage(112).Text(), Str(112));
    EXPECT_TRUE(LoginProblem({"U1", "", "pw"}, t).Empty());

    EXPECT_TRUE(IsSafeAccount("U1234567"));
    EXPECT_TRUE(IsSafeAccount("a.b"));
    for (const std::string& bad : std::vector<std::string>{"a/b", "a\\b", "..", "U1..2", std::string("U1\0x", 4),
                                  std::string("U1\tx"), std::string("U1\x7f")})
        EXPECT_FALSE(IsSafeAccount(bad)) << bad;
}

TEST(TabLogicFilter, CorrectionsAndStops) {
    SystemTraits t;
    HistoryFilter none;
    none.getLast = false;
    FilterCheck c = CheckHistoryFilter(none, t, true);
    EXPECT_EQ(c.messages, std::vector<TabMessage>{114});
    EXPECT_TRUE(c.forcedGetLast);
    EXPECT_TRUE(none.getLast);
    EXPECT_FALSE(c.stop);

    HistoryFilter many;
    many.count = 60;
    c = CheckHistoryFilter(many, t, true);
    EXPECT_EQ(c.messages, std::vector<TabMessage>{115});
    EXPECT_EQ(many.count, 50);
    HistoryFilter fifty;
    fifty.count = 50;
    EXPECT_TRUE(CheckHistoryFilter(fifty, t, true).messages.empty());

    HistoryFilter byAccount;
    byAccount.getLast = false;
    byAccount.byAccount = true;
    byAccount.byBatch = true;
    c = CheckHistoryFilter(byAccount, t, true);
    EXPECT_EQ(c.messages, std::vector<TabMessage>{116});
    EXPECT_TRUE(c.stop);
    byAccount.counterpart = "U1";
    c = CheckHistoryFilter(byAccount, t, true);
    EXPECT_EQ(c.messages, std::vector<TabMessage>{117});
    EXPECT_TRUE(c.stop);

    // Without a "Get last" option nothing can be switched on.
    HistoryFilter noOption;
    noOption.getLast = false;
    c = CheckHistoryFilter(noOption, t, false);
    EXPECT_FALSE(c.forcedGetLast);
    EXPECT_FALSE(noOption.getLast);
    EXPECT_TRUE(c.messages.empty());  // 114 belongs to tabs with "Get last"
}

TEST(TabLogicDates, SettingsDatesDayMonthYear) {
    EXPECT_EQ(FormatSettingsDate({2009, 3, 5}), "05/03/2009");
    EXPECT_EQ(ParseSettingsDate("05/03/2009"), (Date{2009, 3, 5}));
    EXPECT_EQ(ParseSettingsDate("5/3/2009"), (Date{2009, 3, 5}));
    EXPECT_EQ(ParseSettingsDate("29/02/2008"), (Date{2008, 2, 29}));
    for (const char* bad : {"", "29/02/2009", "31/04/2009", "00/01/2009", "1/13/2009",
                            "05/03/2009x", "garbage", "05-03-2009"})
        EXPECT_FALSE(ParseSettingsDate(bad).has_value()) << bad;
}

TEST(TabLogicMenus, ItemTexts) {
    EXPECT_EQ(AutoRefreshItemText(0), "AutoRefresh every ...");
    EXPECT_EQ(AutoRefreshItemText(-3), "AutoRefresh every ...");
    EXPECT_EQ(AutoRefreshItemText(5), "AutoRefresh every 5 min");
    EXPECT_EQ(HistoryForAccountItemText(nullptr), "Get history for account");
    const std::string c = "U1234567 (Name)";
    EXPECT_EQ(HistoryForAccountItemText(&c), "Get history for account U1234567 (Name)");
}

TEST(TabLogicSavedAccounts, StoredColumnByColumn) {
    const TextList rows = {"U1~api1~true~s1", "U2~api2~false~"};
    const TextList cols = ColumnsFromSavedRows(rows, 4);
    EXPECT_EQ(cols, (TextList{"U1~U2", "api1~api2", "true~false", "s1~"}));
    EXPECT_EQ(SavedRowsFromColumns(cols), rows);
    EXPECT_TRUE(SavedRowsFromColumns({"", "", "", ""}).empty());
    EXPECT_TRUE(SavedRowsFromColumns({}).empty());
    // Ragged columns (a damaged settings file) give empty fields, not a fault.
    EXPECT_EQ(SavedRowsFromColumns({"U1~U2", "a"}), (TextList{"U1~a", "U2~"}));
    EXPECT_EQ(ColumnsFromSavedRows({}, 3), (TextList{"", "", ""}));
}

}  // namespace
}  // namespace pw
