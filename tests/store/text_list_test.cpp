#include "store/text_list.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "temp_dir.h"

namespace pw {
namespace {

TEST(JoinList, SeparatorOnlyBetweenElements) {
    EXPECT_EQ(JoinList({"60", "80", "150"}, ";"), "60;80;150");
    EXPECT_EQ(JoinList({"60"}, ";"), "60");
    EXPECT_EQ(JoinList({"", "", ""}, "~"), "~~");
    EXPECT_EQ(JoinList({"a", "b"}, "--"), "a--b");
    EXPECT_EQ(JoinList({}, ";"), "");
}

TEST(SplitText, KeepsEveryEmptyField) {
    EXPECT_EQ(Split("60;;150", ";"), (TextList{"60", "", "150"}));
    EXPECT_EQ(Split(";", ";"), (TextList{"", ""}));
    EXPECT_EQ(Split("a~", "~"), (TextList{"a", ""}));
    EXPECT_EQ(Split("~a", "~"), (TextList{"", "a"}));
    EXPECT_EQ(Split("", ";"), (TextList{""}));
    EXPECT_EQ(Split("no separator", ";"), (TextList{"no separator"}));
}

TEST(SplitText, MultiCharacterSeparatorAndJoinRoundTrip) {
    EXPECT_EQ(Split("a\r\nb\r\n", "\r\n"), (TextList{"a", "b", ""}));
    const TextList row{"U1", "", "12.50", "memo with spaces", ""};
    EXPECT_EQ(Split(JoinList(row, "~"), "~"), row);
}

TEST(SplitText, OverwritesFromTheStartAndLeavesLaterElements) {
    TextList target{"x", "y", "z", "w"};
    SplitText("1;2", ";", target);
    EXPECT_EQ(target, (TextList{"1", "2", "z", "w"}));

    TextList shorter{"old"};
    SplitText("1;2;3", ";", shorter);
    EXPECT_EQ(shorter, (TextList{"1", "2", "3"}));
}

TEST(FindInList, ExactCaseSensitiveFirstMatch) {
    const TextList list{"English", "Russian", "english", "Russian"};
    EXPECT_EQ(FindInList(list, "Russian"), 1);
    EXPECT_EQ(FindInList(list, "english"), 2);
    EXPECT_EQ(FindInList(list, "ENGLISH"), -1);
    EXPECT_EQ(FindInList(list, "Russ"), -1);
    EXPECT_EQ(FindInList(list, ""), -1);
    EXPECT_EQ(FindInList({}, "x"), -1);
    EXPECT_EQ(FindInList({"", "a"}, ""), 0);
}

TEST(SortParallel, OrdersByNumericValueNotText) {
    TextList keys{"40180.5", "9.25", "100", "40180.25"};
    TextList records{"c", "a", "b", "d"};
    SortParallel(keys, records);
    EXPECT_EQ(keys, (TextList{"9.25", "100", "40180.25", "40180.5"}));
    EXPECT_EQ(records, (TextList{"a", "b", "d", "c"}));
}

TEST(SortParallel, KeepsPairsTogetherWithDuplicatesAndOddKeys) {
    // Non-numeric keys read as 0, as strtod reads them; a leading number counts.
    TextList keys{"3", "abc", "1", "3", "2x", "-1"};
    TextList records{"r3a", "r0", "r1", "r3b", "r2", "rm1"};
    SortParallel(keys, records);
    ASSERT_EQ(keys.size(), records.size());
    for (std::size_t i = 0; i + 1 < keys.size(); ++i)
        EXPECT_LE(std::strtod(keys[i].c_str(), nullptr), std::strtod(keys[i + 1].c_str(), nullptr));
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::string k = keys[i];
        const std::string r = records[i];
        if (k == "abc") {
            EXPECT_EQ(r, "r0");
        } else if (k == "-1") {
            EXPECT_EQ(r, "rm1");
        } else if (k == "2x") {
            EXPECT_EQ(r, "r2");
        } else if (k == "3") {
            EXPECT_TRUE(r == "r3a" || r == "r3b");
        }
    }
    EXPECT_EQ(keys.front(), "-1");
}

// Sets LC_NUMERIC to a locale whose decimal separator is a comma, built into dir with
// localedef (the machine may have none installed); false when that cannot be done.
bool UseCommaLocale(const std::string& dir) {
    const std::string cmd =
        "localedef -i de_DE -f UTF-8 '" + dir + "de_DE.UTF-8' >/dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0) return false;
    ::setenv("LOCPATH", dir.c_str(), 1);
    const bool ok = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr &&
                    std::strtod("0.5", nullptr) == 0.0;
    ::unsetenv("LOCPATH");
    if (!ok) std::setlocale(LC_NUMERIC, "C");
    return ok;
}

TEST(SortParallel, DecimalPointIsReadWhateverTheProcessLocale) {
    // The program's toolkit takes the locale from the environment; due times of one day
    // differ only after the decimal point.
    testing::TempDir dir;
    if (!UseCommaLocale(dir.Path())) GTEST_SKIP() << "no locale with a decimal comma";
    TextList keys{"45123.75", "45123.25", "45123.5"};
    TextList records{"evening", "morning", "noon"};
    SortParallel(keys, records);
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(keys, (TextList{"45123.25", "45123.5", "45123.75"}));
    EXPECT_EQ(records, (TextList{"morning", "noon", "evening"}));
}

TEST(SortParallel, ShorterCompanionAndEmptyLists) {
    TextList keys{"3", "1", "2"};
    TextList companion{"three"};
    SortParallel(keys, companion);
    EXPECT_EQ(keys, (TextList{"1", "2", "3"}));
    EXPECT_EQ(companion.size(), 1u);

    TextList none, alsoNone;
    SortParallel(none, alsoNone);
    EXPECT_TRUE(none.empty());
}

// A field read in place is the field Split gives, and missing exactly where Split has none.
TEST(TextListTest, NthFieldIsTheSplitField) {
    for (const std::string row : {"", "~", "a", "a~", "~b", "a~~c", "LRUSD~12.50~2009-03-05 10:00", "~~~"}) {
        const TextList f = Split(row, "~");
        for (std::size_t i = 0; i <= f.size() + 1; ++i) {
            const std::optional<std::string_view> got = NthField(row, i);
            if (i < f.size()) {
                ASSERT_TRUE(got.has_value()) << row << " " << i;
                EXPECT_EQ(*got, f[i]) << row << " " << i;
            } else {
                EXPECT_FALSE(got.has_value()) << row << " " << i;
            }
        }
    }
}

}  // namespace
}  // namespace pw
