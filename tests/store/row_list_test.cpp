#include "store/row_list.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

namespace pw {
namespace {

// Every change of a row list against the same changes of a plain list of strings: rows of
// any size (empty ones and ones holding NUL bytes too), rows written in place and cut back,
// rows taken off, copies and moves; the two must hold the same rows throughout.
TEST(RowList, FollowsAPlainListThroughEveryChange) {
    std::mt19937 rng(7);
    RowList rows;
    TextList plain;
    const auto text = [&](std::size_t n) {
        std::string s(n, '\0');
        for (char& c : s) c = static_cast<char>(rng() % 4 == 0 ? '\0' : 'a' + rng() % 26);
        return s;
    };
    for (int step = 0; step < 20000; ++step) {
        const std::size_t n = rng() % 3 == 0 ? 0 : rng() % (step % 100 == 0 ? 5000 : 40);
        switch (rng() % 8) {
            case 0:
            case 1:
            case 2: {
                const std::string s = text(n);
                rows.push_back(s);
                plain.push_back(s);
                break;
            }
            case 3:
            case 4: {  // written in place with room to spare, then cut back
                const std::string s = text(n);
                char* w = rows.AddRow(n + 17);
                std::copy(s.begin(), s.end(), w);
                rows.ShortenLast(n);
                plain.push_back(s);
                break;
            }
            case 5:
                if (!plain.empty()) {
                    rows.pop_back();
                    plain.pop_back();
                }
                break;
            case 6: {
                RowList copy(rows);
                rows = std::move(copy);
                break;
            }
            case 7:
                if (step % 1000 == 7) {
                    rows.clear();
                    plain.clear();
                } else {
                    rows.reserve(rng() % 10, rng() % 100);
                }
                break;
        }
        ASSERT_EQ(rows.size(), plain.size()) << "step " << step;
        if (!plain.empty()) {
            ASSERT_EQ(rows.back(), plain.back()) << "step " << step;
        }
        if (step % 100 == 0) {
            ASSERT_EQ(rows, plain) << "step " << step;
        }
    }
    EXPECT_EQ(RowList(plain), rows);
    EXPECT_EQ(RowList(plain).ToList(), plain);
    std::size_t bytes = 0;
    for (const std::string& s : plain) bytes += s.size();
    EXPECT_EQ(rows.Bytes(), bytes);
}

TEST(RowList, ComparesAndReadsLikeAList) {
    const RowList rows{"a~b", "", std::string_view("x\0y", 3)};
    EXPECT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows.front(), "a~b");
    EXPECT_EQ(rows.back(), std::string_view("x\0y", 3));
    EXPECT_EQ(rows.at(1), "");
    EXPECT_THROW(rows.at(3), std::out_of_range);
    EXPECT_EQ(rows.end() - rows.begin(), 3);
    EXPECT_NE(rows, (RowList{"a~b", "", "x"}));
    EXPECT_NE(rows, (RowList{"a~b", "x\0y"}));
    EXPECT_NE((RowList{"ab", "c"}), (RowList{"a", "bc"}));  // same bytes, other rows
    EXPECT_EQ(RowList{}, TextList{});
}

}  // namespace
}  // namespace pw
