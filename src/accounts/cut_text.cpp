#include "accounts/cut_text.h"

#include "accounts/byte_scan.h"

#include <algorithm>
#include <cstring>

namespace pw {
namespace {

// The first index k of [0, n) with less(k) false (n when there is none), where less is
// true up to some index and false from there: searched outward from hint, so that a search
// near the last one costs little.
template <class Less>
std::size_t Gallop(std::size_t n, std::size_t hint, Less less) {
    if (n == 0) return 0;
    hint = std::min(hint, n - 1);
    // The answer lies in [lo, hi]: lo is 0 or less(lo - 1); hi is n or !less(hi).
    std::size_t lo = 0, hi = n;
    if (less(hint)) {
        lo = hint + 1;
        for (std::size_t step = 1;; step *= 2) {
            const std::size_t probe = lo + step - 1;
            if (probe >= n) break;
            if (!less(probe)) {
                hi = probe;
                break;
            }
            lo = probe + 1;
        }
    } else {
        hi = hint;
        for (std::size_t step = 1;; step *= 2) {
            if (hi < step) break;
            const std::size_t probe = hi - step;
            if (less(probe)) {
                lo = probe + 1;
                break;
            }
            hi = probe;
        }
    }
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (less(mid))
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

bool IsTag(std::string_view m) {
    return m.size() >= 3 && m.front() == '<' && m.back() == '>' &&
           m.substr(1, m.size() - 2).find_first_of("<>") == std::string_view::npos;
}

}  // namespace

namespace {

// A hash of a tag from its first and last eight bytes and its length.
std::uint64_t TagHash(const char* p, std::size_t len) {
    std::uint64_t a = 0, b = 0;
    if (len >= 8) {
        a = scan::Load8(p);
        b = scan::Load8(p + len - 8);
    } else {
        std::memcpy(&a, p, len);
    }
    const std::uint64_t h = (a * 0x9E3779B97F4A7C15ull) ^ (b * 0xC2B2AE3D27D4EB4Full) ^ len;
    return h ^ (h >> 32);
}

}  // namespace

TagScanner::TagScanner(const std::vector<std::string_view>& markers) : markers_(markers) {
    // The tags go into a table by a hash of their bytes: a candidate "<...>" of the text is
    // hashed while it is scanned and compared with the one tag of its slot, if any.
    std::size_t tags = 0;
    for (const std::string_view m : markers_)
        if (IsTag(m)) ++tags, longest_ = std::max(longest_, m.size());
    std::size_t slots = 64;
    while (slots < 4 * tags) slots *= 2;
    table_.assign(slots, -1);
    successor_.assign(markers_.size() + 1, -1);
    words_.assign(markers_.size(), Words{});
    for (std::size_t m = 0; m < markers_.size(); ++m) {
        const std::string_view t = markers_[m];
        if (t.empty() || t.size() > 16) continue;
        Words& w = words_[m];
        const std::size_t head = std::min<std::size_t>(t.size(), 8);
        std::memcpy(&w.head, t.data(), head);
        std::memset(&w.headMask, 0xFF, head);
        if (t.size() > 8) {
            w.tailAt = t.size() - 8;
            std::memcpy(&w.tail, t.data() + w.tailAt, 8);
            w.tailMask = ~std::uint64_t{0};
        }
        w.need = std::max<std::size_t>(t.size(), 8);
    }
    for (std::size_t m = 0; m < markers_.size(); ++m) {
        if (!IsTag(markers_[m])) continue;
        std::size_t slot = TagHash(markers_[m].data(), markers_[m].size()) & (slots - 1);
        while (table_[slot] >= 0) slot = (slot + 1) & (slots - 1);
        table_[slot] = static_cast<int>(m);
    }
}

// The marker that p (a "<" with room bytes from it to the end) begins, or -1; scanned: how far
// a search may skip when there is none (no tag of the set begins before p + scanned).
int TagScanner::Lookup(const char* p, std::size_t room, std::size_t& scanned) const {
    const std::size_t limit = std::min(room, longest_);
    const std::size_t j = 1 + scan::FindEither(p + 1, limit - 1, '<', '>');
    if (j >= limit || p[j] != '>') {
        scanned = j;
        return -1;
    }
    scanned = j + 1;
    const std::size_t slots = table_.size();
    for (std::size_t slot = TagHash(p, j + 1) & (slots - 1); table_[slot] >= 0; slot = (slot + 1) & (slots - 1)) {
        const std::string_view m = markers_[static_cast<std::size_t>(table_[slot])];
        if (m.size() == j + 1 && scan::Same(p, m.data(), j + 1)) return table_[slot];
    }
    return -1;
}

TagScanner::Tag TagScanner::Next(std::string_view text, std::size_t from, int expect) {
    if (longest_ == 0) return {};
    const char* const base = text.data();
    const std::size_t n = text.size();
    std::size_t i = from;
    int& successor = successor_[static_cast<std::size_t>(last_ + 1)];
    while (i < n) {
        i += scan::Find(base + i, n - i, '<');
        if (i == n) break;
        // A whole marker at a "<" is the tag there: it holds no "<" or ">" inside.
        int m = -1;
        std::size_t scanned = 1;
        if (expect >= 0 && Begins(base + i, n - i, expect)) m = expect;
        if (m < 0) m = Lookup(base + i, n - i, scanned);
        if (m >= 0) {
            successor = m;
            last_ = m;
            return {i, m};
        }
        i += scanned;
    }
    return {};
}

CutText::CutText(const std::vector<std::string_view>& markers)
    : markers_(markers), tags_(markers), per_(markers.size()) {
    for (std::size_t m = 0; m < markers_.size(); ++m) {
        longest_ = std::max(longest_, markers_[m].size());
        if (!IsTag(markers_[m]) && !markers_[m].empty()) others_.push_back(static_cast<int>(m));
    }
}

CutText::CutText(std::string_view text, const std::vector<std::string_view>& markers) : CutText(markers) {
    Reset(text);
}

void CutText::Reset(std::string_view text) {
    text_ = text;
    all_.clear();
    cuts_.clear();
    last_ = cuts_.end();
    cutHint_ = 0;
    // The tags come by position already.
    for (std::size_t from = 0;;) {
        const TagScanner::Tag t = tags_.Next(text_, from);
        if (t.marker < 0) break;
        all_.push_back({static_cast<std::uint32_t>(t.pos), static_cast<std::uint32_t>(t.marker)});
        from = t.pos + tags_.Size(t.marker);
    }
    // Each further marker's occurrences come by position; merging them in keeps all_ sorted
    // without a sort.
    const auto byPosition = [](const Occurrence& x, const Occurrence& y) {
        return x.pos != y.pos ? x.pos < y.pos : x.marker < y.marker;
    };
    for (const int m : others_) {
        const std::string_view marker = markers_[static_cast<std::size_t>(m)];
        const std::size_t before = all_.size();
        const char* const base = text_.data();
        for (std::size_t p = 0; p + marker.size() <= text_.size(); ++p) {
            const void* hit = ::memmem(base + p, text_.size() - p, marker.data(), marker.size());
            if (!hit) break;
            p = static_cast<std::size_t>(static_cast<const char*>(hit) - base);
            all_.push_back({static_cast<std::uint32_t>(p), static_cast<std::uint32_t>(m)});
        }
        std::inplace_merge(all_.begin(), all_.begin() + static_cast<std::ptrdiff_t>(before), all_.end(), byPosition);
    }
    gone_.assign(all_.size(), 0);
    nextLive_.resize(all_.size() + 1);
    for (std::size_t i = 0; i < nextLive_.size(); ++i) nextLive_[i] = static_cast<std::uint32_t>(i);
    for (PerMarker& p : per_) p.at.clear(), p.hint = 0;
    for (std::size_t i = 0; i < all_.size(); ++i) per_[all_[i].marker].at.push_back(static_cast<std::uint32_t>(i));
    for (PerMarker& p : per_) {
        p.skip.resize(p.at.size() + 1);
        for (std::size_t i = 0; i < p.skip.size(); ++i) p.skip[i] = static_cast<std::uint32_t>(i);
    }
}

inline std::uint32_t CutText::Root(std::vector<std::uint32_t>& forest, std::uint32_t k) {
    if (forest[k] == k) return k;
    std::uint32_t root = k;
    while (forest[root] != root) root = forest[root];
    while (forest[k] != root) {
        const std::uint32_t up = forest[k];
        forest[k] = root;
        k = up;
    }
    return root;
}

std::size_t CutText::Find(int marker, std::size_t from, std::size_t to) {
    PerMarker& p = per_[static_cast<std::size_t>(marker)];
    std::uint32_t k = 0;
    if (from > 0) {
        k = static_cast<std::uint32_t>(
            Gallop(p.at.size(), p.hint, [&](std::size_t i) { return all_[p.at[i]].pos < from; }));
    }
    for (k = Root(p.skip, k); k < p.at.size(); k = Root(p.skip, k)) {
        const Occurrence& o = all_[p.at[k]];
        if (!gone_[p.at[k]]) {
            p.hint = k;
            if (to != npos && o.pos + MarkerSize(marker) > to) return npos;
            return o.pos;
        }
        p.skip[k] = k + 1;  // gone for good: never looked at again
    }
    return npos;
}

CutText::Cuts::const_iterator CutText::CutHolding(std::size_t p) const {
    auto it = cuts_.upper_bound(static_cast<std::uint32_t>(p));
    if (it == cuts_.begin()) return cuts_.end();
    --it;
    return p < it->second ? it : cuts_.end();
}

std::size_t CutText::FindByte(char c, std::size_t from) const {
    while (from < text_.size()) {
        const void* hit = std::memchr(text_.data() + from, c, text_.size() - from);
        if (!hit) return npos;
        const std::size_t p = static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data());
        if (NothingCutFrom(p)) return p;
        const auto cut = CutHolding(p);
        if (cut == cuts_.end()) return p;
        from = cut->second;
    }
    return npos;
}

void CutText::Cut(std::size_t a, std::size_t b) {
    b = std::min(b, text_.size());
    if (a >= b) return;
    // Every occurrence that overlaps [a, b) is gone.
    const std::size_t first = a + 1 > longest_ ? a + 1 - longest_ : 0;
    auto k = static_cast<std::uint32_t>(
        Gallop(all_.size(), cutHint_, [&](std::size_t i) { return all_[i].pos < first; }));
    cutHint_ = k;
    for (k = Root(nextLive_, k); k < all_.size() && all_[k].pos < b; k = Root(nextLive_, k + 1)) {
        const Occurrence& o = all_[k];
        if (o.pos + MarkerSize(static_cast<int>(o.marker)) > a) {
            gone_[k] = 1;
            nextLive_[k] = k + 1;  // gone for good: no later cut looks at it again
        }
    }
    // Merge [a, b) into the cut stretches. Cuts mostly come front to back, right after the
    // last one: then it only grows that stretch or goes in after it.
    auto lo = static_cast<std::uint32_t>(a), hi = static_cast<std::uint32_t>(b);
    if (last_ != cuts_.end() && last_->first <= lo) {
        const auto next = std::next(last_);
        if (next == cuts_.end() || hi < next->first) {
            if (lo <= last_->second)
                last_->second = std::max(last_->second, hi);
            else
                last_ = cuts_.emplace_hint(next, lo, hi);
            return;
        }
    }
    auto it = cuts_.upper_bound(lo);
    if (it != cuts_.begin()) {
        auto prev = std::prev(it);
        if (prev->second >= lo) {
            lo = prev->first;
            hi = std::max(hi, prev->second);
            it = cuts_.erase(prev);
        }
    }
    while (it != cuts_.end() && it->first <= hi) {
        hi = std::max(hi, it->second);
        it = cuts_.erase(it);
    }
    last_ = cuts_.emplace_hint(it, lo, hi);
}

bool CutText::NothingCutIn(std::size_t a, std::size_t b) const {
    if (NothingCutFrom(a)) return true;
    if (last_ == cuts_.end() || last_->second > a) return false;
    const auto next = std::next(last_);
    return next == cuts_.end() || next->first >= b;
}

std::string_view CutText::Left(std::size_t a, std::size_t b, std::string& scratch) const {
    b = std::min(b, text_.size());
    if (a >= b) return {};
    if (NothingCutIn(a, b)) return text_.substr(a, b - a);
    auto it = cuts_.upper_bound(static_cast<std::uint32_t>(a));
    if (it != cuts_.begin() && std::prev(it)->second > a) --it;
    if (it == cuts_.end() || it->first >= b) return text_.substr(a, b - a);
    scratch.clear();
    std::size_t pos = a;
    for (; it != cuts_.end() && it->first < b; ++it) {
        if (it->first > pos) scratch.append(text_.substr(pos, it->first - pos));
        pos = std::max<std::size_t>(pos, it->second);
    }
    if (pos < b) scratch.append(text_.substr(pos, b - pos));
    return scratch;
}

}  // namespace pw
