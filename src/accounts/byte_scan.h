#pragma once
// Searches over the short stretches of an answer (a value, the gap between two tags), eight
// bytes at a time without a call; long stretches go to the C library.
#include <bit>
#include <cstdint>
#include <cstring>

namespace pw::scan {

inline std::uint64_t Load8(const char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHighs = 0x8080808080808080ull;

// The high bit of each byte of v that is zero, exact for the lowest such byte.
inline std::uint64_t ZeroBytes(std::uint64_t v) { return (v - kOnes) & ~v & kHighs; }

// The index of the first c in [p, p + n), or n. The first 32 bytes are looked at here, as the
// next tag or separator is usually near; beyond them the C library's search takes over.
inline std::size_t Find(const char* p, std::size_t n, char c) {
    const std::uint64_t pattern = kOnes * static_cast<unsigned char>(c);
    std::size_t i = 0;
    for (const std::size_t head = n < 32 ? n : 32; i + 8 <= head; i += 8) {
        if (const std::uint64_t z = ZeroBytes(Load8(p + i) ^ pattern))
            return i + static_cast<std::size_t>(std::countr_zero(z)) / 8;
    }
    if (n - i >= 8) {
        const void* hit = std::memchr(p + i, c, n - i);
        return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - p) : n;
    }
    for (; i < n; ++i)
        if (p[i] == c) return i;
    return n;
}

// The index of the first a or b in [p, p + n), or n; for short stretches.
inline std::size_t FindEither(const char* p, std::size_t n, char a, char b) {
    const std::uint64_t pa = kOnes * static_cast<unsigned char>(a);
    const std::uint64_t pb = kOnes * static_cast<unsigned char>(b);
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        const std::uint64_t v = Load8(p + i);
        if (const std::uint64_t z = ZeroBytes(v ^ pa) | ZeroBytes(v ^ pb))
            return i + static_cast<std::size_t>(std::countr_zero(z)) / 8;
    }
    for (; i < n; ++i)
        if (p[i] == a || p[i] == b) return i;
    return n;
}

// memcpy(d, s, n) for the short values of an answer (up to 64 bytes) without the cost of a
// call: overlapping word or block copies that stay inside both stretches; longer ones go to
// the C library.
inline void Copy(char* d, const char* s, std::size_t n) {
    if (n > 64) {
        std::memcpy(d, s, n);
    } else if (n >= 16) {
        const auto copy16 = [](char* t, const char* f) {
            char block[16];
            std::memcpy(block, f, 16);
            std::memcpy(t, block, 16);
        };
        for (std::size_t i = 0; i + 16 < n; i += 16) copy16(d + i, s + i);
        copy16(d + n - 16, s + n - 16);
    } else if (n >= 8) {
        const std::uint64_t a = Load8(s), b = Load8(s + n - 8);
        std::memcpy(d, &a, 8);
        std::memcpy(d + n - 8, &b, 8);
    } else if (n >= 4) {
        std::uint32_t a, b;
        std::memcpy(&a, s, 4);
        std::memcpy(&b, s + n - 4, 4);
        std::memcpy(d, &a, 4);
        std::memcpy(d + n - 4, &b, 4);
    } else {
        for (std::size_t i = 0; i < n; ++i) d[i] = s[i];
    }
}

// memcmp(a, b, n) == 0 for the short texts of markers.
inline bool Same(const char* a, const char* b, std::size_t n) {
    if (n < 8) {
        for (std::size_t i = 0; i < n; ++i)
            if (a[i] != b[i]) return false;
        return true;
    }
    std::size_t i = 0;
    for (; i + 8 < n; i += 8)
        if (Load8(a + i) != Load8(b + i)) return false;
    return Load8(a + n - 8) == Load8(b + n - 8);
}

}  // namespace pw::scan
