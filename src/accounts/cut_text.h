#pragma once
// An answer from which stretches are taken out, without moving a byte. The answer parsers of
// the interfaces read "the first <Code> left in the text", take its value and cut it out,
// again and again; doing that on a string costs the rest of the text for every element.
// Here the markers are found once, by position, and a cut only marks what it covers as gone,
// so a whole parse stays linear in the answer. A marker that a cut splits is gone; text made
// to look like a marker by joining the two sides of a cut is not one.
#include <cstdint>
#include <map>
#include <memory_resource>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "accounts/byte_scan.h"

namespace pw {

// Finds the tags of a text that are among a set of markers ("<name>", "</name>"; markers of
// any other form are left out), in order. An occurrence is a "<" followed by one marker's
// bytes; tags never overlap, as a marker holds no "<" or ">" between its ends. Answers
// repeat their tags in the same order, so the tag that followed the same tag last time is
// tried first by a plain comparison, and only a miss is looked up by hash.
class TagScanner {
public:
    static constexpr std::size_t npos = std::string_view::npos;
    struct Tag {
        std::size_t pos = npos;  // npos: there is none
        int marker = -1;
    };

    explicit TagScanner(const std::vector<std::string_view>& markers);

    bool Empty() const { return longest_ == 0; }
    std::string_view Marker(int marker) const { return markers_[static_cast<std::size_t>(marker)]; }
    std::size_t Size(int marker) const { return Marker(marker).size(); }
    // The first tag of the set in text at or after from.
    Tag Next(std::string_view text, std::size_t from) {
        return Next(text, from, successor_[static_cast<std::size_t>(last_ + 1)]);
    }
    // The same, when the caller expects the tag expect (a tag of the set, or -1 for no guess):
    // it is tried first at each "<", in place of the tag that followed last time.
    Tag Next(std::string_view text, std::size_t from, int expect);
    // True when marker begins at p, which has room bytes after it in its text. A marker of
    // at most 16 bytes is compared as two words without a loop (a shorter one masked), when
    // the text has room for them.
    bool Begins(const char* p, std::size_t room, int marker) const {
        const Words& w = words_[static_cast<std::size_t>(marker)];
        if (room >= w.need)
            return (((scan::Load8(p) ^ w.head) & w.headMask) | ((scan::Load8(p + w.tailAt) ^ w.tail) & w.tailMask)) == 0;
        const std::string_view m = Marker(marker);
        return m.size() <= room && scan::Same(p, m.data(), m.size());
    }

private:
    int Lookup(const char* p, std::size_t room, std::size_t& scanned) const;

    // A marker as words: its first eight bytes (fewer, masked, for a shorter one) and its last
    // eight; need: the room Begins needs to compare them (past any marker longer than 16 bytes).
    struct Words {
        std::uint64_t head = 0, headMask = 0, tail = 0, tailMask = 0;
        std::size_t tailAt = 0, need = SIZE_MAX;
    };

    std::vector<std::string_view> markers_;
    std::vector<Words> words_;
    std::size_t longest_ = 0;
    std::vector<int> table_;      // marker of each slot of the hash table, -1: free
    std::vector<int> successor_;  // per marker (and one for the start): the tag that came next last time
    int last_ = -1;               // the marker found by the last call, -1 at the start
};

// The tags of one text, read forward; a tag looked at and not taken is put back and handed
// out by the next call.
class TagReader {
public:
    TagReader(std::string_view text, const std::vector<std::string_view>& markers) : text_(text), tags_(markers) {}

    std::string_view Text() const { return text_; }
    std::size_t Size(int marker) const { return tags_.Size(marker); }
    // The first tag at or after from.
    TagScanner::Tag Next(std::size_t from) {
        if (back_.marker >= 0 && back_.pos >= from) return std::exchange(back_, TagScanner::Tag{});
        return tags_.Next(text_, from);
    }
    // The same, when the caller expects the tag expect (one of the set): the first "<" at or
    // after from is compared with it here, without a call; a marker holds no "<" after its
    // first byte and ends with its only ">", so when that "<" begins expect, no other tag of
    // the set begins at it or before it.
    TagScanner::Tag NextExpecting(std::size_t from, int expect) {
        if (back_.marker >= 0 && back_.pos >= from) return std::exchange(back_, TagScanner::Tag{});
        const std::size_t n = text_.size();
        const std::size_t lt = from + scan::Find(text_.data() + from, n - from, '<');
        if (tags_.Begins(text_.data() + lt, n - lt, expect)) return {lt, expect};
        return tags_.Next(text_, lt, expect);
    }
    // t, just read, is read again by the next call that starts at or before it.
    void PutBack(const TagScanner::Tag& t) { back_ = t; }

private:
    std::string_view text_;
    TagScanner tags_;
    TagScanner::Tag back_;
};

class CutText {
public:
    static constexpr std::size_t npos = std::string_view::npos;

    // markers: the texts searched for, named by their index. A marker of the form "<name>"
    // or "</name>" is found by one scan over the tags of the text; any other by its own scan.
    // text must stay alive and is at most 4 GB - 1.
    CutText(std::string_view text, const std::vector<std::string_view>& markers);
    // Without a text yet: Reset gives it one.
    explicit CutText(const std::vector<std::string_view>& markers);
    CutText(const CutText&) = delete;
    CutText& operator=(const CutText&) = delete;

    // Starts over on another text with the same markers, nothing cut (keeps the memory).
    void Reset(std::string_view text);

    std::string_view Text() const { return text_; }
    std::size_t MarkerSize(int marker) const { return markers_[static_cast<std::size_t>(marker)].size(); }

    // Start of the first whole occurrence of marker at or after from that ends by to; npos if
    // there is none.
    std::size_t Find(int marker, std::size_t from = 0, std::size_t to = npos);
    // The first byte c left at or after from; npos if there is none.
    std::size_t FindByte(char c, std::size_t from) const;

    // Takes [a, b) out.
    void Cut(std::size_t a, std::size_t b);

    // What is left of [a, b): a view into the text when nothing of it was cut, else the bytes
    // left, gathered into scratch.
    std::string_view Left(std::size_t a, std::size_t b, std::string& scratch) const;

private:
    struct Occurrence {
        std::uint32_t pos;
        std::uint32_t marker;
    };
    struct PerMarker {
        std::vector<std::uint32_t> at;    // indexes into all_, by position
        std::vector<std::uint32_t> skip;  // forest: the next occurrence that may be whole
        std::size_t hint = 0;             // where the last search ended
    };
    using Cuts = std::pmr::map<std::uint32_t, std::uint32_t>;

    static inline std::uint32_t Root(std::vector<std::uint32_t>& forest, std::uint32_t k);
    // The cut stretch holding byte p, or cuts_.end().
    Cuts::const_iterator CutHolding(std::size_t p) const;
    // True when no stretch was cut at or after p.
    bool NothingCutFrom(std::size_t p) const { return cuts_.empty() || std::prev(cuts_.end())->second <= p; }
    // True when nothing of [a, b) was cut (cheap near the last cut).
    bool NothingCutIn(std::size_t a, std::size_t b) const;

    std::string_view text_;
    std::vector<std::string_view> markers_;
    std::size_t longest_ = 0;
    TagScanner tags_;
    std::vector<int> others_;    // markers that are not tags
    std::vector<Occurrence> all_;          // every occurrence, by position
    std::vector<std::uint8_t> gone_;       // per occurrence of all_
    std::vector<std::uint32_t> nextLive_;  // forest over all_: skips what a cut has passed
    std::vector<PerMarker> per_;
    std::size_t cutHint_ = 0;  // index into all_ where the last cut began its search
    std::pmr::unsynchronized_pool_resource pool_;
    Cuts cuts_{&pool_};  // start -> end, disjoint, not touching
    Cuts::iterator last_ = cuts_.end();  // the stretch the last cut made or grew
};

}  // namespace pw
