#include "store/row_list.h"

#include <algorithm>
#include <cstring>
#include <ostream>
#include <stdexcept>
#include <utility>

namespace pw {

RowList::RowList(std::initializer_list<std::string_view> rows) {
    std::size_t bytes = 0;
    for (const std::string_view r : rows) bytes += r.size();
    reserve(rows.size(), bytes);
    for (const std::string_view r : rows) push_back(r);
}

RowList::RowList(const TextList& rows) {
    std::size_t bytes = 0;
    for (const std::string& r : rows) bytes += r.size();
    reserve(rows.size(), bytes);
    for (const std::string& r : rows) push_back(r);
}

RowList::RowList(const RowList& other) : used_(other.used_), capacity_(other.used_), ends_(other.ends_) {
    if (used_ > 0) {
        data_.reset(new char[used_]);
        std::memcpy(data_.get(), other.data_.get(), used_);
    }
}

RowList& RowList::operator=(const RowList& other) {
    if (this != &other) *this = RowList(other);
    return *this;
}

std::string_view RowList::at(std::size_t i) const {
    if (i >= size()) throw std::out_of_range("RowList::at");
    return (*this)[i];
}

void RowList::Reallocate(std::size_t capacity) {
    std::unique_ptr<char[]> data(new char[capacity]);
    if (used_ > 0) std::memcpy(data.get(), data_.get(), used_);
    data_ = std::move(data);
    capacity_ = capacity;
}

void RowList::Grow(std::size_t bytes) {
    if (bytes > capacity_) Reallocate(std::max({bytes, capacity_ * 2, std::size_t{64}}));
}

void RowList::reserve(std::size_t rows, std::size_t bytes) {
    ends_.reserve(ends_.size() + rows);
    // An exact size: a list reserved once grows no further.
    if (used_ + bytes > capacity_) Reallocate(used_ + bytes);
}

void RowList::push_back(std::string_view row) {
    char* at = AddRow(row.size());
    if (!row.empty()) std::memcpy(at, row.data(), row.size());
}

void RowList::AddJoined(std::initializer_list<std::string_view> cells) {
    std::size_t size = cells.size() == 0 ? 0 : cells.size() - 1;
    for (const std::string_view c : cells) size += c.size();
    char* w = AddRow(size);
    bool first = true;
    for (const std::string_view c : cells) {
        if (!std::exchange(first, false)) *w++ = '~';
        if (!c.empty()) std::memcpy(w, c.data(), c.size());
        w += c.size();
    }
}

void RowList::pop_back() {
    ends_.pop_back();
    used_ = ends_.empty() ? 0 : ends_.back();
}

void RowList::clear() {
    ends_.clear();
    used_ = 0;
}

TextList RowList::ToList() const {
    TextList out;
    out.reserve(size());
    for (const std::string_view r : *this) out.emplace_back(r);
    return out;
}

bool operator==(const RowList& a, const RowList& b) {
    return a.ends_ == b.ends_ && (a.used_ == 0 || std::memcmp(a.data_.get(), b.data_.get(), a.used_) == 0);
}

bool operator==(const RowList& a, const TextList& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

void PrintTo(const RowList& rows, std::ostream* os) {
    *os << '{';
    for (std::size_t i = 0; i < rows.size(); ++i) *os << (i == 0 ? " \"" : ", \"") << rows[i] << '"';
    *os << " }";
}

}  // namespace pw
