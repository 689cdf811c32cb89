#pragma once
// Row lists: the "~"-joined rows of a balance or history table, kept back to back in one
// buffer. An answer of half a million rows is then two allocations instead of half a million,
// and a copy of the list is two block copies.
#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <iosfwd>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/text_list.h"

namespace pw {

class RowList {
public:
    RowList() = default;
    RowList(std::initializer_list<std::string_view> rows);
    explicit RowList(const TextList& rows);
    RowList(const RowList& other);
    RowList& operator=(const RowList& other);
    RowList(RowList&& other) noexcept = default;
    RowList& operator=(RowList&& other) noexcept = default;

    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    // The bytes of all rows together.
    std::size_t Bytes() const { return used_; }

    std::string_view operator[](std::size_t i) const {
        const std::size_t from = i == 0 ? 0 : ends_[i - 1];
        return std::string_view(data_.get() + from, ends_[i] - from);
    }
    // operator[] with a bound check: std::out_of_range past the last row.
    std::string_view at(std::size_t i) const;
    std::string_view front() const { return (*this)[0]; }
    std::string_view back() const { return (*this)[size() - 1]; }

    // Room for rows more rows of bytes more bytes in all.
    void reserve(std::size_t rows, std::size_t bytes);
    void push_back(std::string_view row);
    // A new last row: the cells joined by "~".
    void AddJoined(std::initializer_list<std::string_view> cells);
    // A new last row of n bytes, to be written at the pointer returned (valid until the next
    // change of the list).
    char* AddRow(std::size_t n) {
        if (used_ + n > capacity_) Grow(used_ + n);
        char* at = data_.get() + used_;
        used_ += n;
        ends_.push_back(used_);
        return at;
    }
    // Makes the last row n bytes long (n at most its size).
    void ShortenLast(std::size_t n) {
        const std::size_t from = ends_.size() < 2 ? 0 : ends_[ends_.size() - 2];
        used_ = std::min(used_, from + n);
        ends_.back() = used_;
    }
    void pop_back();
    void clear();

    TextList ToList() const;

    class const_iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        const_iterator() = default;
        const_iterator(const RowList* list, std::size_t i) : list_(list), i_(i) {}
        std::string_view operator*() const { return (*list_)[i_]; }
        std::string_view operator[](difference_type n) const { return (*list_)[i_ + static_cast<std::size_t>(n)]; }
        const_iterator& operator++() { ++i_; return *this; }
        const_iterator operator++(int) { const_iterator t = *this; ++i_; return t; }
        const_iterator& operator--() { --i_; return *this; }
        const_iterator operator--(int) { const_iterator t = *this; --i_; return t; }
        const_iterator& operator+=(difference_type n) { i_ = static_cast<std::size_t>(static_cast<difference_type>(i_) + n); return *this; }
        const_iterator& operator-=(difference_type n) { return *this += -n; }
        friend const_iterator operator+(const_iterator a, difference_type n) { return a += n; }
        friend const_iterator operator+(difference_type n, const_iterator a) { return a += n; }
        friend const_iterator operator-(const_iterator a, difference_type n) { return a -= n; }
        friend difference_type operator-(const const_iterator& a, const const_iterator& b) {
            return static_cast<difference_type>(a.i_) - static_cast<difference_type>(b.i_);
        }
        friend bool operator==(const const_iterator& a, const const_iterator& b) { return a.i_ == b.i_; }
        friend auto operator<=>(const const_iterator& a, const const_iterator& b) { return a.i_ <=> b.i_; }

    private:
        const RowList* list_ = nullptr;
        std::size_t i_ = 0;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    friend bool operator==(const RowList& a, const RowList& b);
    friend bool operator==(const RowList& a, const TextList& b);

private:
    void Grow(std::size_t bytes);
    void Reallocate(std::size_t capacity);

    std::unique_ptr<char[]> data_;
    std::size_t used_ = 0, capacity_ = 0;
    std::vector<std::size_t> ends_;
};

// Shown by test failures as a list of quoted rows.
void PrintTo(const RowList& rows, std::ostream* os);

}  // namespace pw
