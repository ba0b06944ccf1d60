// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes on the simulated register's line: its request reader and its answers never
// overrun, and every answer to a request it took is a reply frame or a NAK.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "sim/fiscal_register.hpp"
#include "sim/sample_journal.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static const sim::JournalIndex journal = sim::JournalIndex::from_text(sim::sample_journal_text());
  const auto& policy = (data[0] & 1) ? device_link::kQuendarPolicy : device_link::kDatecsPolicy;
  sim::FiscalRegister reg(policy, {}, journal);
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  for (std::size_t at = 0; at < bytes.size(); at += 7)
    for (const sim::Answer& a : reg.receive(bytes.substr(at, 7)))
      if (a.bytes.empty() || (a.bytes.size() > 1 && a.bytes.front() != 0x01)) __builtin_trap();
  return 0;
}
