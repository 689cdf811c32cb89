#pragma once
// Text lists: the "~"-joined rows of every table, saved account and record.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

using TextList = std::vector<std::string>;

// The elements in order with sep between each two. An empty list gives an empty text.
std::string JoinList(const TextList& list, const std::string& sep);

// The parts between separators, written into target from index 0 upward (growing it as
// needed); empty parts remain; elements beyond those written are left as they were.
void SplitText(std::string_view text, std::string_view sep, TextList& target);

// Field index of a "~"-joined row without splitting it; nullopt when the row has fewer fields.
std::optional<std::string_view> NthField(std::string_view row, std::size_t index);

// The first N fields of a "~"-joined row as views into it; a field the row lacks is missing.
template <std::size_t N>
std::array<std::string_view, N> FirstFields(std::string_view row, std::string_view missing = {}) {
    std::array<std::string_view, N> f;
    f.fill(missing);
    for (std::size_t i = 0, from = 0; i < N; ++i) {
        const std::size_t tilde = row.find('~', from);
        f[i] = row.substr(from, tilde == std::string_view::npos ? tilde : tilde - from);
        if (tilde == std::string_view::npos) break;
        from = tilde + 1;
    }
    return f;
}

// Convenience: SplitText into a fresh list.
TextList Split(std::string_view text, std::string_view sep);

// Index of the first element equal to text (exact), or -1.
int FindInList(const TextList& list, const std::string& text);

// Sorts keys ascending by their numeric value (read as floating point), moving the
// companion's elements along. The companion may be shorter; missing elements are skipped.
void SortParallel(TextList& keys, TextList& companion);

}  // namespace pw
