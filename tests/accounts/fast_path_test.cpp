// The one-pass readers of the Perfect Money and e-gold answers: they take the usual answers
// (the benchmark's, the samples', small pages) and, on every generated and mutated answer
// they take, give exactly the rows of the general reading. The e-gold history rows and the
// float texts against their plain forms.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

#include "../../bench/answer_texts.h"
#include "accounts/answer_text.h"
#include "accounts/eg/eg_parser.h"
#include "accounts/pm/pm_parser.h"
#include "accounts/tab_logic.h"
#include "answer_generators.h"
#include "reference_parsers.h"

namespace pw {
namespace {

constexpr std::time_t kNow = 1260108309;
const TextList kPrices = {"900.00", "12.50", "1100.00", "300.00"};

// Whether each one-pass reader takes a; when it does, its rows must be the general ones.
struct Taken {
    bool pm = false, eg = false;
    std::size_t rows = 0;  // rows compared
};
Taken SameAsGeneral(const std::string& a) {
    Taken taken;
    pm::PmAnswer usual, general;
    taken.pm = pm::ReadUsualInputs(a, kNow, usual);
    if (taken.pm) {
        pm::ReadAnyInputs(a, kNow, general);
        EXPECT_EQ(usual.inputs, general.inputs) << a;
        EXPECT_EQ(usual.errors, general.errors) << a;
        taken.rows += usual.inputs.size();
    }
    eg::EgAnswer egUsual, egGeneral;
    taken.eg = eg::ReadUsualBalances(a, kPrices, kNow, egUsual);
    if (taken.eg) {
        eg::ReadAnyBalances(a, kPrices, kNow, egGeneral);
        EXPECT_EQ(egUsual.balances, egGeneral.balances) << a;
        EXPECT_EQ(egUsual.errors, egGeneral.errors) << a;
        taken.rows += egUsual.balances.size();
    }
    return taken;
}

TEST(UsualShape, TheUsualPagesAreTaken) {
    std::ifstream in(std::string(PW_TEST_DATA_DIR) + "/samples/pm_balance.html", std::ios::binary);
    std::stringstream sample;
    sample << in.rdbuf();
    const struct {
        std::string page;
        bool pm, eg;
    } cases[] = {
        {bench::PmBalancePage(1 << 16), true, false},
        {bench::EgBalancePage(1 << 16), true, true},  // no input of the other kind: none read
        {sample.str(), true, false},
        {"<input name='' type='hidden' value=''>", true, false},
        {"<input name='a~b' value='c~d'>x<input name='e' value=''>", true, false},
        {"<form method=post>\n<input type=hidden name=Gold_Ounces value=\"1.5\">\n</form>", true,
         true},
        {"<input type=hidden name= value=\"\">", true, true},
        {"<input type=hidden name=Gold value=\"<b>\">", true, true},
        // Not the usual shape: the general reading takes them.
        {"<input name='ERROR' type='hidden' value='x'>", false, false},
        {"<input name='a' value='1'><input name='b' value='2'", false, false},
        {"<input name='a<input name='b' value='2'>", false, false},
        {"<input type=hidden name=ERROR value=\"x\">", true, false},
        {"<input type=hidden name=Gold_Ounces value=\"1\"> value=\"2\">", true, false},
        {"<input type=hidden name=Gold value=\"<input type=hidden name=ERROR\">", true, false},
        {"<input type=hidden name=Gold  value=\"1\">", true, false},
    };
    for (const auto& c : cases) {
        const Taken t = SameAsGeneral(c.page);
        EXPECT_EQ(t.pm, c.pm) << c.page;
        EXPECT_EQ(t.eg, c.eg) << c.page;
    }
}

TEST(UsualShape, GeneratedAndMutatedAnswersGiveTheGeneralRows) {
    std::mt19937 rng(31);
    std::size_t rows = 0;
    for (int i = 0; i < 3000; ++i) {
        const testing::System s = i % 2 ? testing::System::Pm : testing::System::Eg;
        std::string a = testing::Generate(s, rng, 1 + static_cast<int>(rng() % 5));
        for (int r = static_cast<int>(rng() % 3); r > 0; --r) a = testing::Mutate(a, s, rng);
        const Taken t = SameAsGeneral(a);
        rows += t.rows;
        if (::testing::Test::HasFailure()) return;
    }
    EXPECT_GT(rows, 1000u);  // the comparison ran on many rows
}

TEST(EgHistoryCsv, EveryFirstFieldIsRewrittenAsTheReferenceRewritesIt) {
    const std::string fields[] = {"1/2/2009 10:11:12", "01/02/2009 1:2:3", "12/31/2009 x", "0/0/0 0",
                                  "123/4/2009 x", "1/2/20090 x", "1/2/2009  x", "1/2/2009 a b", "1/2/2009",
                                  "/2/2009 x", "1//2009 x", "1/2/ x", "+1/2/2009 x", " 1/2/2009 x",
                                  "1/2/2009 ~x", "1/2/2009 \"x\"", "\"1/2/2009 x\"", "1\"/2/2009 x",
                                  "a/b/c d", "1/2/3/4 x", "99/99/9999 x", "1/2/2009 x~y", "1/2/2009 ",
                                  "-1/2/2009 x", "1/2/2009\r", "1/2/2009 x\r", ""};
    std::string csv = "Date,Type\n";
    for (const std::string& f : fields) csv += f + ",Payment Received,\"a,b\",~\n";
    eg::EgAnswer got;
    eg::ParseAnswer(csv, {}, kNow, got);
    EXPECT_EQ(got.rawHistory, reference::Eg::Parse(csv, {}, kNow).rawHistory);
}

// Lines of every length up to well past the room a row first asks for, with quotes, "," and
// "~" at every place (the copy goes sixteen bytes at a time), after short lines whose rows are
// longer (the list then fills up), the last line with or without its line feed: raw and
// history rows as the reference reads them.
TEST(EgHistoryCsv, LinesOfEveryLengthAsTheReferenceReadsThem) {
    std::mt19937 rng(41);
    const std::string bytes = "ab,~\" /1\r";
    const std::string starts[] = {"1/2/2009 10:11:12,", "", "1/2/2009 x y,", "12/31/2009 1\"2,"};
    for (std::size_t n = 0; n < 1200; n += 1 + n / 32) {
        std::string csv = "Date,Type\n";
        for (std::size_t line = 0; line < n / 4 + n % 61; ++line) csv += "1/2/3 x\n";
        for (int line = 0; line < 4; ++line) {
            csv += starts[rng() % std::size(starts)];
            for (std::size_t i = 0; i < n; ++i) csv += bytes[rng() % bytes.size()];
            csv += line < 3 || n % 2 ? "\n" : "";
        }
        eg::EgAnswer raw, rows;
        eg::ParseAnswer(csv, {}, kNow, raw);
        eg::ParseAnswer(csv, {}, kNow, rows, CsvRows::History);
        const RowList want = reference::Eg::Parse(csv, {}, kNow).rawHistory;
        ASSERT_EQ(raw.rawHistory, want) << csv;
        ASSERT_EQ(rows.historyRows, eg::HistoryRows(want)) << csv;
    }
}

// Perfect Money records of every length, their commas, line feeds and memo markers at every
// place of the eight-byte words the line scan reads, in both modes against the reference.
TEST(PmHistoryCsv, LinesOfEveryLengthAsTheReferenceReadsThem) {
    std::mt19937 rng(43);
    const std::string pieces[] = {",", ",", "~", "\r", "\n", "a", "b ", "Memo:", "Memo: ", "\"", "x,y"};
    for (std::size_t n = 0; n < 400; n += 1 + n / 40) {
        std::string csv = "h,h,h,h,h,h,h,h,h,h\n";
        for (int line = 0; line < 6; ++line) {
            csv += line % 2 ? "1,2,3,4,5,6,7,8,9," : "";
            for (std::size_t i = 0; i < n; ++i) csv += pieces[rng() % std::size(pieces)];
            csv += line < 5 || n % 2 ? "\n" : "";
        }
        pm::PmAnswer raw, rows;
        pm::ParseAnswer(csv, kNow, raw);
        pm::ParseAnswer(csv, kNow, rows, CsvRows::History);
        const pm::PmAnswer want = reference::Pm::Parse(csv, kNow);
        ASSERT_EQ(raw.csv, want.csv) << csv;
        ASSERT_EQ(rows.historyRows, reference::Pm::HistoryRows(want.csv)) << csv;
    }
}

// "No Records Found" and an input at every place of a history: in the header, in a first field,
// in any field at any place of the copy's blocks, cut by a quote or a line feed, in an
// unfinished last line. The answer is read as the reference reads it.
TEST(EgHistoryCsv, MarkersAnywhereAsTheReferenceFindsThem) {
    const std::string markers[] = {"No Records Found", "<input type=hidden name=Gold_Ounces value=\"1\">",
                                   "No Records \"Found", "<input type=\nhidden", "<input type=hidde",
                                   "o Records Found", "FFF<<<"};
    const std::string line = "1/2/2009 10:11:12,Payment Received,1,Gold,0.5,7654321,\"Payee Shop\",450.00,USD,"
                             "900.00,\"m\"\n";
    const std::string base = "Date,Type\n" + line + line + "1/2/2009 x y,a\n" + line + "unfinished";
    for (const std::string& m : markers) {
        for (std::size_t at = 0; at <= base.size(); ++at) {
            const std::string csv = base.substr(0, at) + m + base.substr(at);
            const eg::EgAnswer want = reference::Eg::Parse(csv, kPrices, kNow);
            eg::EgAnswer raw, rows;
            eg::ParseAnswer(csv, kPrices, kNow, raw);
            eg::ParseAnswer(csv, kPrices, kNow, rows, CsvRows::History);
            ASSERT_EQ(raw.rawHistory, want.rawHistory) << csv;
            ASSERT_EQ(rows.historyRows, eg::HistoryRows(want.rawHistory)) << csv;
            for (const eg::EgAnswer* got : {&raw, &rows}) {
                ASSERT_EQ(got->balances, want.balances) << csv;
                ASSERT_EQ(got->errors, want.errors) << csv;
            }
        }
    }
}

TEST(RowScans, ScansFindWhatStdFinds) {
    const std::string texts[] = {"", "~", "a", "No Records Found", "xNo Records Foun", "~~~~~~~~~",
                                 "ab~cdefgh~ijklmnopq~rs", "No Records Foundx", std::string(70, 'F') + "~",
                                 "xx\x7f\x7e\xfe~\x80~~' value='v'>", "a~cMemo~c"};
    for (const std::string& t : texts) {
        EXPECT_EQ(HoldsText(t, "No Records Found", 11), t.find("No Records Found") != std::string::npos) << t;
        EXPECT_EQ(FindText(t, "No Records Found", 11), t.find("No Records Found")) << t;
        EXPECT_EQ(FindText(t, "~c", 0), t.find("~c")) << t;
        EXPECT_EQ(FindText(t, "e='", 2), t.find("e='")) << t;
        EXPECT_EQ(CountByte(t, '~'), static_cast<std::size_t>(std::count(t.begin(), t.end(), '~'))) << t;
        for (std::size_t from = 0; from <= t.size(); ++from) {
            EXPECT_EQ(FindMarker(t, "~", from), t.find("~", from)) << t << from;
            EXPECT_EQ(FindMarker(t, "value='", from), t.find("value='", from)) << t << from;
        }
        std::string row(t.size(), '\0');
        EXPECT_EQ(PutRowField(row.data(), t), row.data() + t.size());
        EXPECT_EQ(row, RowField(t));
    }
}

// The history row the plain way: split at "~", pick and join.
std::string PlainHistoryRow(const std::string& raw) {
    const TextList f = Split(raw, "~");
    if (f.size() < 11) return std::string();
    const std::string amount = ParseAmount(f[4]) < 0 ? "-" + f[7] : f[7];
    const std::string counterpart = f[6].empty() ? f[5] : f[5] + " (" + f[6] + ")";
    return JoinList({f[0], f[1], f[3], f[4], amount, counterpart, f[8], f[9], f[2], f[10]}, "~");
}

TEST(EgHistoryRows, RowsAreThoseOfThePlainSplit) {
    std::mt19937 rng(37);
    const TextList pieces = {"", "x", "-0.5", " -1", "+-2", "-0", "-nan", "-1e999", "Shop", "a b"};
    TextList raws;
    for (int i = 0; i < 4000; ++i) {
        std::string raw;
        for (int n = static_cast<int>(rng() % 14); n >= 0; --n)
            raw += pieces[rng() % pieces.size()] + "~";
        raw.resize(raw.size() - (rng() % 2));  // with or without a last empty field
        raws.push_back(raw);
        EXPECT_EQ(eg::HistoryRow(raw), PlainHistoryRow(raw)) << raw;
    }
    TextList plain;
    for (const std::string& raw : raws)
        if (const std::string row = PlainHistoryRow(raw); !row.empty()) plain.push_back(row);
    EXPECT_EQ(eg::HistoryRows(RowList(raws)), plain);
}

// "%.*f" of a float the plain way.
std::string PlainFloatText(float value, int decimals) {
    char buf[128];
    const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value),
                                 std::chars_format::fixed, decimals);
    return std::string(buf, r.ptr);
}

TEST(EgFloatText, EveryFloatIsWrittenAsToCharsWritesIt) {
    std::mt19937 rng(41);
    std::vector<float> values = {0.f,    -0.f,     0.125f,    0.375f, -0.125f,  2.5f,
                                 3.5f,   0.00005f, -0.00001f, 1e14f,  1e15f,    3.4e38f,
                                 1e-45f, INFINITY, -INFINITY, NAN,    46.6545f, 1.5f * 31.103f};
    for (int i = 0; i < 200000; ++i) {
        std::uint32_t bits = static_cast<std::uint32_t>(rng());
        float f;
        std::memcpy(&f, &bits, sizeof f);
        values.push_back(f);
        values.push_back(static_cast<float>(rng() % 2000000) / 16.f);  // many halves and ties
    }
    for (const float v : values)
        for (int d = 0; d <= 4; ++d)
            ASSERT_EQ(eg::FloatText(v, d), PlainFloatText(v, d)) << v << " " << d;
}

TEST(EgBalanceRow, OuncesAreReadAsParseAmountReadsThem) {
    const TextList ounces = {
        "1.500000", "0",  "0.1", "123456789012345",   "1234567890123456", "1.", ".5",   "1e3", " 1",
        "+1",       "-1", "1-5", "0.000000000000001", "99999999999999.9", "",   "1..2", "x"};
    for (const std::string& o : ounces) {
        const double oz = ParseAmount(o);
        const std::string want =
            "Gold~" + o + "~" + PlainFloatText(static_cast<float>(oz * 31.103), 4) + "~900.00~" +
            PlainFloatText(static_cast<float>(oz * 900.0), 2) + "~2009-12-06 14:05:09";
        EXPECT_EQ(eg::BalanceRow("Gold", o, kPrices, kNow), want) << o;
    }
}

}  // namespace
}  // namespace pw
