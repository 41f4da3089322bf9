// Live and peak heap bytes of the benchmark process, counted by replacing the
// global operator new and delete (include in exactly one file per program).
#pragma once

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace allocation {

inline std::atomic<long long> g_live{0};
inline std::atomic<long long> g_peak{0};

inline void note(long long delta) {
    const long long now = g_live.fetch_add(delta) + delta;
    long long peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
}

// Starts a measurement: the peak restarts from what is live now.
inline long long restartPeak() {
    const long long now = g_live.load();
    g_peak.store(now);
    return now;
}

}  // namespace allocation

void* operator new(std::size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    allocation::note(static_cast<long long>(malloc_usable_size(p)));
    return p;
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    void* p = std::malloc(size ? size : 1);
    if (p) allocation::note(static_cast<long long>(malloc_usable_size(p)));
    return p;
}
void* operator new[](std::size_t size, const std::nothrow_t& t) noexcept { return operator new(size, t); }
void operator delete(void* p) noexcept {
    if (!p) return;
    allocation::note(-static_cast<long long>(malloc_usable_size(p)));
    std::free(p);
}
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }
void operator delete[](void* p, std::size_t) noexcept { operator delete(p); }
