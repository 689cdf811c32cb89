// The answer parsers against their plain references (reference_parsers.h) on every sample
// answer and on many generated and mutated ones: reordered, missing and doubled elements,
// answers cut short, random bytes, huge values, "~", NUL bytes and invalid UTF-8.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "answer_generators.h"
#include "reference_parsers.h"

namespace pw {
namespace {

constexpr std::time_t kNow = 1260108309;
const TextList kPrices = {"900.00", "12.50", "1100.00", "300.00"};

using testing::Mutate;

int gdpDirect = 0;  // answers the GDP direct path took

void Same(const std::string& a) {
    {
        lr::LrAnswer got;
        lr::ParseAnswer(a, true, got);
        const lr::LrAnswer want = reference::Lr::Parse(a);
        ASSERT_EQ(got.responseId, want.responseId) << a;
        ASSERT_EQ(got.errors, want.errors) << a;
        ASSERT_EQ(got.balances, want.balances) << a;
        ASSERT_EQ(got.pagers, want.pagers) << a;
        ASSERT_EQ(got.accountNames, want.accountNames) << a;
        ASSERT_EQ(got.receipts, want.receipts) << a;
        ASSERT_EQ(got.transfers, want.transfers) << a;
    }
    {
        vm::VmAnswer got;
        vm::ParseAnswer(a, kNow, got);
        const vm::VmAnswer want = reference::Vm::Parse(a, kNow);
        ASSERT_EQ(got.errors, want.errors) << a;
        ASSERT_EQ(got.balances, want.balances) << a;
        ASSERT_EQ(got.transactions, want.transactions) << a;
        ASSERT_EQ(got.accountNames, want.accountNames) << a;
    }
    {
        pm::PmAnswer got;
        pm::ParseAnswer(a, kNow, got);
        const pm::PmAnswer want = reference::Pm::Parse(a, kNow);
        ASSERT_EQ(got.errors, want.errors) << a;
        ASSERT_EQ(got.inputs, want.inputs) << a;
        ASSERT_EQ(got.csv, want.csv) << a;
    }
    {
        eg::EgAnswer got;
        eg::ParseAnswer(a, kPrices, kNow, got);
        const eg::EgAnswer want = reference::Eg::Parse(a, kPrices, kNow);
        ASSERT_EQ(got.errors, want.errors) << a;
        ASSERT_EQ(got.balances, want.balances) << a;
        ASSERT_EQ(got.rawHistory, want.rawHistory) << a;
    }
    {
        const gdp::Answer got = gdp::ParseAnswer(a, kNow);
        const gdp::Answer want = reference::Gdp(a, kNow);
        ASSERT_EQ(got.errors, want.errors) << a;
        ASSERT_EQ(got.balanceRows, want.balanceRows) << a;
        // The direct path gives what the general one gives whenever it takes an answer.
        gdp::Answer direct;
        if (gdp::ReadUsualShape(a, kNow, direct)) {
            ++gdpDirect;
            const gdp::Answer general = gdp::ReadByCutting(a, kNow);
            ASSERT_EQ(direct.errors, general.errors) << a;
            ASSERT_EQ(direct.balanceRows, general.balanceRows) << a;
        }
    }
    for (const auto kind : {ecu::AnswerKind::Balance, ecu::AnswerKind::History}) {
        const ecu::Answer got = ecu::ParseAnswer(a, kind, kNow);
        const ecu::Answer want = reference::Ecu(a, kind, kNow);
        ASSERT_EQ(got.errors, want.errors) << a;
        ASSERT_EQ(got.balanceRows, want.balanceRows) << a;
    }
}

TEST(Differential, SampleAnswers) {
    for (const auto& e : std::filesystem::directory_iterator(std::string(PW_TEST_DATA_DIR) + "/samples")) {
        std::ifstream in(e.path(), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        SCOPED_TRACE(e.path().string());
        Same(ss.str());
    }
}

TEST(Differential, GeneratedAnswersOfEverySystem) {
    std::mt19937 rng(19);
    for (int i = 0; i < 150; ++i) {
        for (const testing::System s : testing::kSystems) {
            const std::string a = testing::Generate(s, rng, 1 + static_cast<int>(rng() % 6));
            SCOPED_TRACE(i);
            Same(a);
            if (::testing::Test::HasFatalFailure()) return;
        }
    }
}

TEST(Differential, GdpDirectPathTakesManyAnswers) {
    gdpDirect = 0;
    std::mt19937 rng(29);
    for (int i = 0; i < 300; ++i) {
        std::string a = testing::Generate(testing::System::Gdp, rng, 1 + static_cast<int>(rng() % 4));
        if (i % 2) a = Mutate(a, testing::System::Gdp, rng);
        Same(a);
        if (::testing::Test::HasFatalFailure()) return;
    }
    EXPECT_GT(gdpDirect, 60);  // both paths are compared, not only the general one
}

TEST(Differential, MutatedAnswersOfEverySystem) {
    std::mt19937 rng(23);
    for (int i = 0; i < 400; ++i) {
        for (const testing::System s : testing::kSystems) {
            std::string a = testing::Generate(s, rng, 1 + static_cast<int>(rng() % 4));
            const int rounds = 1 + static_cast<int>(rng() % 4);
            for (int r = 0; r < rounds; ++r) a = Mutate(a, s, rng);
            SCOPED_TRACE(i);
            Same(a);
            if (::testing::Test::HasFatalFailure()) return;
        }
    }
}

}  // namespace
}  // namespace pw
