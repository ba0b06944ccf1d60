// SPDX-License-Identifier: GPL-3.0-or-later
// Giving up every wait of the link at once: the user insists on stopping (a second
// Ctrl-C, a signal while connecting). While an abort is requested, each wait ends within
// 100 ms, no request is repeated, and an exchange fails as one without a reply. A request
// is only a store to a lock-free atomic, so a signal handler may make it.
#pragma once

#include <atomic>

namespace device_link {

namespace abort_detail {
inline std::atomic<bool> requested{false};
inline std::atomic<bool> when_quiet{false};
static_assert(std::atomic<bool>::is_always_lock_free);
}  // namespace abort_detail

inline void request_abort() noexcept { abort_detail::requested.store(true, std::memory_order_relaxed); }
inline bool abort_requested() noexcept { return abort_detail::requested.load(std::memory_order_relaxed); }

// The gentler form, for a first stop during a retrieval: a reply that is arriving is
// received whole, but a line that has stayed quiet for kQuietReadsBeforeGivingUp reads is
// not waited for any longer, and nothing is repeated. So a stop ends within about 0.3 s
// even when the register has gone silent.
inline constexpr int kQuietReadsBeforeGivingUp = 3;
inline void request_stop_when_quiet() noexcept { abort_detail::when_quiet.store(true, std::memory_order_relaxed); }
inline bool stop_when_quiet_requested() noexcept { return abort_detail::when_quiet.load(std::memory_order_relaxed); }

// True when a wait that finds the line quiet may be given up: an abort or a quiet stop.
inline bool giving_up_quiet_waits() noexcept { return abort_requested() || stop_when_quiet_requested(); }

inline void clear_abort() noexcept {
  abort_detail::requested.store(false, std::memory_order_relaxed);
  abort_detail::when_quiet.store(false, std::memory_order_relaxed);
}

}  // namespace device_link
