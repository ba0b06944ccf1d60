// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdint>

#include "link/protocol_driver.hpp"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#endif

namespace device_link {

void lock_receive_routine() {
  constexpr std::size_t kLockedBytes = 8192;
  const auto start = reinterpret_cast<std::uintptr_t>(&receive_byte);
  // A failure (no privilege, a low limit) only means the routine may be paged out.
#ifdef _WIN32
  VirtualLock(reinterpret_cast<LPVOID>(start), kLockedBytes);
#else
  (void)mlock(reinterpret_cast<const void*>(start), kLockedBytes);
#endif
}

}  // namespace device_link
