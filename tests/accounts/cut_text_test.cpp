// CutText against a plain model (a flag per byte) under random cuts and searches.
#include "accounts/cut_text.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace pw
