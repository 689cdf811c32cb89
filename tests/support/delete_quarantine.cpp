// Linked into the executables that scan their memory for secrets: the blocks the C++ code
// frees are held back from reuse for a while (a quarantine, as AddressSanitizer keeps one),
// so a block that held a secret and was let go of unwiped still shows it when the scan runs,
// instead of being overwritten by chance by the next allocation of its size.
#include <atomic>
#include <cstdlib>
#include <new>

#if !defined(__SANITIZE_ADDRESS__)

namespace {

constexpr std::size_t kHeld = std::size_t{1} << 18;  // blocks held before the oldest is freed
void* held[kHeld];
std::size_t next = 0;
std::atomic_flag busy = ATOMIC_FLAG_INIT;

void Quarantine(void* p) noexcept {
    if (p == nullptr) return;
    while (busy.test_and_set(std::memory_order_acquire)) {
    }
    void* oldest = held[next];
    held[next] = p;
    next = (next + 1) % kHeld;
    busy.clear(std::memory_order_release);
    std::free(oldest);
}

}  // namespace

void operator delete(void* p) noexcept { Quarantine(p); }
void operator delete(void* p, std::size_t) noexcept { Quarantine(p); }
void operator delete[](void* p) noexcept { Quarantine(p); }
void operator delete[](void* p, std::size_t) noexcept { Quarantine(p); }

#endif
