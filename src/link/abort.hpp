// Giving up every wait of the link at once: the user insists on stopping (a second
// Ctrl-C, a signal while connecting). While an abort is requested, each wait ends within
// 100 ms, no request is repeated, and an exchange fails as one without a reply. A request
// is only a store to a lock-free atomic, so a signal handler may make it.
#pragma once

#include <atomic>

namespace device_link {

namespace abort_detail {
inline std::atomic<bool> requested{false};
static_assert(std::atomic<bool>::is_always_lock_free);
}  // namespace abort_detail

inline void request_abort() noexcept { abort_detail::requested.store(true, std::memory_order_relaxed); }
inline bool abort_requested() noexcept { return abort_detail::requested.load(std::memory_order_relaxed); }
inline void clear_abort() noexcept { abort_detail::requested.store(false, std::memory_order_relaxed); }

}  // namespace device_link
