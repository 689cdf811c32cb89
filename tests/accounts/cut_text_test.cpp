// CutText against a plain model (a flag per byte) under random cuts and searches; the tag
// scanner and the short searches against plain loops.
#include "accounts/cut_text.h"

#include "accounts/byte_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace pw {
namespace {

struct Model {
    std::string text;
    std::vector<bool> cut;
    std::size_t Find(std::string_view m, std::size_t from, std::size_t to) const {
        for (std::size_t p = from; p + m.size() <= text.size(); ++p) {
            if (text.compare(p, m.size(), m) != 0) continue;
            bool whole = true;
            for (std::size_t i = p; i < p + m.size(); ++i) whole = whole && !cut[i];
            if (!whole) continue;
            return to != CutText::npos && p + m.size() > to ? CutText::npos : p;
        }
        return CutText::npos;
    }
    std::string Left(std::size_t a, std::size_t b) const {
        std::string s;
        for (std::size_t i = a; i < b && i < text.size(); ++i)
            if (!cut[i]) s += text[i];
        return s;
    }
};

TEST(CutText, AgreesWithAFlagPerByte) {
    const std::vector<std::string_view> markers = {"<a>", "</a>", "<ab>", "b'", "'>", "b"};
    const std::string pieces[] = {"<a>", "</a>", "<ab>", "b'", "'>", "x", "<", ">", "b", "'"};
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        Model m;
        for (int i = static_cast<int>(rng() % 40); i > 0; --i) m.text += pieces[rng() % std::size(pieces)];
        m.cut.assign(m.text.size(), false);
        CutText x(m.text, markers);
        std::string scratch;
        for (int op = 0; op < 30; ++op) {
            const std::size_t n = m.text.size();
            std::size_t a = rng() % (n + 1), b = rng() % (n + 1);
            if (a > b) std::swap(a, b);
            switch (rng() % 4) {
            case 0:
                x.Cut(a, b);
                for (std::size_t i = a; i < b; ++i) m.cut[i] = true;
                break;
            case 1: {
                const int k = static_cast<int>(rng() % markers.size());
                const std::size_t to = rng() % 3 == 0 ? b : CutText::npos;
                ASSERT_EQ(x.Find(k, a, to), m.Find(markers[static_cast<std::size_t>(k)], a, to))
                    << m.text << " marker " << k << " from " << a;
                break;
            }
            case 2:
                ASSERT_EQ(std::string(x.Left(a, b, scratch)), m.Left(a, b)) << m.text;
                break;
            default: {
                const std::size_t got = x.FindByte('\'', a);
                std::size_t want = CutText::npos;
                for (std::size_t i = a; i < n; ++i)
                    if (!m.cut[i] && m.text[i] == '\'') {
                        want = i;
                        break;
                    }
                ASSERT_EQ(got, want) << m.text;
            }
            }
        }
    }
}

// Every tag of the set, by a plain look at every position, against the scanner; the same
// scanner serves every text, so that the tag it predicts is often wrong.
TEST(TagScanner, FindsEveryTagOfTheSetAndNothingElse) {
    const std::string_view longTag = "<B c=\"long value\">";  // compared past its first 16 bytes
    const std::vector<std::string_view> markers = {"<A>", "</A>", "<Amount>", "</Amount>", "<Am>", "x~y", longTag};
    TagScanner scanner(markers);
    std::mt19937 rng(7);
    const std::string pieces[] = {"<A>", "</A>", "<Amount>", "</Amount", "<Am>", "<Amounts>", "<", ">", "/",
                                  "A", "m", "<<A>", "x~y", std::string(longTag), "<B c=\"long valu>", "<B>", "ount>", " "};
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        for (int k = static_cast<int>(rng() % 12); k > 0; --k) text += pieces[rng() % std::size(pieces)];
        std::vector<std::pair<std::size_t, int>> want, got;
        for (std::size_t p = 0; p < text.size(); ++p)
            for (int m = 0; m < 5; ++m)  // the tags of the set; "x~y" is no tag, longTag is one
                if (text.compare(p, markers[static_cast<std::size_t>(m)].size(), markers[static_cast<std::size_t>(m)]) == 0)
                    want.emplace_back(p, m);
        for (std::size_t p = 0; p < text.size(); ++p)
            if (text.compare(p, longTag.size(), longTag) == 0) want.emplace_back(p, 6);
        std::sort(want.begin(), want.end());
        for (std::size_t from = 0;;) {
            const TagScanner::Tag t = scanner.Next(text, from);
            if (t.marker < 0) break;
            got.emplace_back(t.pos, t.marker);
            from = t.pos + scanner.Size(t.marker);
        }
        ASSERT_EQ(got, want) << text;
        // Told which tag to expect, right or wrong, the scanner and a reader find the same tags.
        for (int way = 0; way < 2; ++way) {
            got.clear();
            TagReader reader(text, markers);
            for (std::size_t from = 0;;) {
                const int expect = way == 0 ? static_cast<int>(rng() % 6) - 1 : static_cast<int>(rng() % 5);
                const TagScanner::Tag t =
                    way == 0 ? scanner.Next(text, from, expect) : reader.NextExpecting(from, expect);
                if (t.marker < 0) break;
                got.emplace_back(t.pos, t.marker);
                from = t.pos + scanner.Size(t.marker);
            }
            ASSERT_EQ(got, want) << text;
        }
    }
}

TEST(ByteScan, ShortSearchesAgreeWithPlainLoops) {
    std::mt19937 rng(11);
    for (int round = 0; round < 20000; ++round) {
        std::string text(rng() % 150, 'a');
        for (char& c : text) c = "ab~&<>"[rng() % (rng() % 8 == 0 ? 6 : 2)];
        const std::string_view v(text);
        const std::size_t n = text.size();
        EXPECT_EQ(scan::Find(text.data(), n, '~'), std::min(v.find('~'), n)) << text;
        EXPECT_EQ(scan::FindEither(text.data(), n, '<', '>'), std::min(v.find_first_of("<>"), n)) << text;
        const std::string other = text.substr(0, n / 2) + (n % 3 == 0 ? "~" : "") + text.substr(n / 2);
        EXPECT_EQ(scan::Same(text.data(), other.data(), n), other.compare(0, n, text) == 0) << text;
        std::string copy(n + 16, '#');
        scan::Copy(copy.data() + 8, text.data(), n);
        EXPECT_EQ(copy, std::string(8, '#') + text + std::string(8, '#'));  // nothing written around it
    }
}

}  // namespace
}  // namespace pw
