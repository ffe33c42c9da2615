// Counts map steps for the benchmarks. Compiled in only with VORLA_COUNT_STEPS, so the
// program's own loops carry no trace of it.
#pragma once

#include <atomic>
#include <cstdint>

namespace vorla::steps {

#ifdef VORLA_COUNT_STEPS
struct alignas(64) Slot {
    std::atomic<std::uint64_t> n{0};
};
inline Slot gSlots[64];
inline std::atomic<int> gNextSlot{0};
inline void Count() {
    // One slot per thread, so counting costs no shared cache line.
    thread_local Slot& slot = gSlots[gNextSlot.fetch_add(1) % 64];
    slot.n.fetch_add(1, std::memory_order_relaxed);
}
inline std::uint64_t Total() {
    std::uint64_t t = 0;
    for (const Slot& s : gSlots) t += s.n.load();
    return t;
}
inline void Reset() {
    for (Slot& s : gSlots) s.n.store(0);
}
#else
inline void Count() {}
inline std::uint64_t Total() {
    return 0;
}
inline void Reset() {}
#endif

}  // namespace vorla::steps
