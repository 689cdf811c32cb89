#pragma once
// A string for texts that hold a secret (request URLs and documents with credentials, form
// bodies, passwords on their way through): every buffer it lets go of is overwritten first,
// the buffers it outgrows as well as the last one, and so is the object's own inline storage
// of short texts. Copies taken out of it as std::string are the taker's to wipe.
#include <openssl/crypto.h>

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

namespace pw {

// Overwrites each block before giving it back.
template <class T>
struct WipingAllocator {
    using value_type = T;
    WipingAllocator() noexcept = default;
    template <class U>
    WipingAllocator(const WipingAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) { return std::allocator<T>().allocate(n); }
    void deallocate(T* p, std::size_t n) noexcept {
        OPENSSL_cleanse(p, n * sizeof(T));
        std::allocator<T>().deallocate(p, n);
    }
    template <class U>
    bool operator==(const WipingAllocator<U>&) const noexcept {
        return true;
    }
};

class SecureString : public std::basic_string<char, std::char_traits<char>, WipingAllocator<char>> {
    using Base = std::basic_string<char, std::char_traits<char>, WipingAllocator<char>>;

  public:
    SecureString() = default;
    SecureString(const char* text) : Base(text) {}
    SecureString(std::string_view text) : Base(text.data(), text.size()) {}
    SecureString(const std::string& text) : Base(text.data(), text.size()) {}
    // What the base type's operations give (operator+ of a SecureString and a text): taken
    // over, and the inline storage of the temporary wiped.
    SecureString(Base&& other) noexcept : Base(std::move(other)) {
        OPENSSL_cleanse(other.data(), other.capacity());
        other.clear();
    }
    SecureString(const SecureString& other) : Base(other) {}
    // The moved-from object's inline storage may still hold a short text: wiped.
    SecureString(SecureString&& other) noexcept : Base(std::move(other)) { other.Wipe(); }
    SecureString& operator=(const SecureString& other) {
        if (this != &other) {
            Wipe();
            Base::operator=(other);
        }
        return *this;
    }
    SecureString& operator=(SecureString&& other) noexcept {
        if (this != &other) {
            Wipe();
            Base::operator=(std::move(other));
            other.Wipe();
        }
        return *this;
    }
    ~SecureString() { Wipe(); }

    // Overwrites the whole buffer, then empties the text.
    void Wipe() noexcept {
        OPENSSL_cleanse(data(), capacity());
        clear();
    }
    std::string_view View() const noexcept { return {data(), size()}; }

    // Comparisons with plain texts (the base type only compares with its own kind).
    friend bool operator==(const SecureString& a, const SecureString& b) noexcept {
        return a.View() == b.View();
    }
    friend bool operator==(const SecureString& a, const std::string& b) noexcept {
        return a.View() == std::string_view(b);
    }
    friend bool operator==(const SecureString& a, const char* b) noexcept {
        return a.View() == std::string_view(b);
    }
};

// The parts one after the other, in one buffer of the final size: a request text assembled
// from its pieces never passes through a plain temporary.
inline SecureString Joined(std::initializer_list<std::string_view> parts) {
    std::size_t size = 0;
    for (const std::string_view p : parts) size += p.size();
    SecureString out;
    out.reserve(size);
    for (const std::string_view p : parts) out.append(p.data(), p.size());
    return out;
}

}  // namespace pw
