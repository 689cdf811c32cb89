#pragma once
// Counts the copies of a secret in the writable memory of this process (heap, stacks,
// anonymous mappings), read through /proc/self/mem. The secret is handled masked (each byte
// xor kMask) so that the scan's own needle is no copy.
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace pw::test {

// The secret is kept only masked (each byte xor kMask), so the scan's own needle is no copy.
constexpr unsigned char kMask = 0x5A;
inline std::string Masked(const std::string& plain) {
    std::string out = plain;
    for (char& c : out) c = static_cast<char>(c ^ kMask);
    return out;
}

// A secret written in a test, masked while the program is compiled: only the masked bytes
// are in the executable, so the scan finds nothing until the secret has been unmasked.
template <std::size_t N>
consteval std::array<char, N - 1> MaskedAtCompileTime(const char (&plain)[N]) {
    std::array<char, N - 1> out{};
    for (std::size_t i = 0; i + 1 < N; ++i) out[i] = static_cast<char>(plain[i] ^ kMask);
    return out;
}
template <std::size_t N>
std::string MaskedText(const std::array<char, N>& masked) {
    return std::string(masked.begin(), masked.end());
}

inline std::size_t CountIn(const char* data, std::size_t size, const std::string& masked) {
    std::size_t found = 0;
    const char first = static_cast<char>(masked[0] ^ kMask);
    const char* end = data + size;
    for (const char* p = data; p + masked.size() <= end; ++p) {
        p = static_cast<const char*>(std::memchr(p, first, end - p - masked.size() + 1));
        if (!p) break;
        std::size_t i = 1;
        while (i < masked.size() && static_cast<char>(p[i] ^ kMask) == masked[i]) ++i;
        if (i == masked.size()) ++found;
    }
    return found;
}

// Occurrences of the secret in the writable memory of the process (heap, stacks, anonymous
// mappings), read through /proc/self/mem.
inline std::size_t CopiesInMemory(const std::string& masked) {
    std::ifstream maps("/proc/self/maps");
    const int mem = ::open("/proc/self/mem", O_RDONLY | O_CLOEXEC);
    if (mem < 0) return 0;
    std::vector<char> chunk(1 << 20);
    const auto chunkStart = reinterpret_cast<std::uintptr_t>(chunk.data());
    std::size_t found = 0;
    std::string line;
    while (std::getline(maps, line)) {
        std::istringstream fields(line);
        std::string range, perms;
        fields >> range >> perms;
        if (perms.size() < 2 || perms[0] != 'r' || perms[1] != 'w') continue;
        if (line.find("[vvar]") != std::string::npos) continue;
        const std::uintptr_t from = std::stoull(range.substr(0, range.find('-')), nullptr, 16);
        const std::uintptr_t to = std::stoull(range.substr(range.find('-') + 1), nullptr, 16);
        const std::size_t overlap = masked.size() - 1;
        for (std::uintptr_t at = from; at < to;) {
            const std::size_t want = std::min<std::uintptr_t>(chunk.size(), to - at);
            const ssize_t got = ::pread(mem, chunk.data(), want, static_cast<off_t>(at));
            if (got <= 0) break;
            // The scan buffer itself holds what was just read: not counted.
            if (at + got > chunkStart && at < chunkStart + chunk.size()) {
                at += static_cast<std::uintptr_t>(got);
                continue;
            }
            found += CountIn(chunk.data(), static_cast<std::size_t>(got), masked);
            if (static_cast<std::size_t>(got) <= overlap || at + got >= to) {
                at += static_cast<std::uintptr_t>(got);
            } else {
                at += static_cast<std::uintptr_t>(got) - overlap;
            }
        }
    }
    ::close(mem);
    return found;
}

}  // namespace pw::test
