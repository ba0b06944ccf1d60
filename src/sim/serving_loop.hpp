// SPDX-License-Identifier: GPL-3.0-or-later
// talqen-sim's loop: reads the line, lets the register answer, and sends the answers
// with the register's timing: SYN bytes while it works, the reply at the line's speed.
#pragma once

#include <csignal>
#include <cstdint>
#include <string>
#include <string_view>
#include <cstdio>

#include "sim/fiscal_register.hpp"
#include "sim/sim_line.hpp"

namespace sim {

inline constexpr int kSynIntervalMs = 60;
// How long one read of the line waits, and so how soon a stop request is seen.
inline constexpr int kPollMs = 50;

struct ServingSettings {
  int latency_ms = 0;  // working time before each reply, filled with SYN bytes
  int baud = 0;        // replies leave at this speed, 10 bits a byte; 0: at once
  // A client whose line runs at another speed than baud gets what a receiver at the
  // wrong speed reads: garbled bytes, never a frame.
  bool garble_at_other_speeds = false;
};

// What a receiver at another speed makes of the bytes: other bytes, about half as many
// or twice as many, none of them a control byte of the frame.
std::string garbled(std::string_view bytes, bool client_faster);

// Every byte both ways: what the clients put on the line.
struct LineTotals {
  std::uint64_t received = 0;
  std::uint64_t sent = 0;  // SYN bytes included
};

// Serves until stop becomes non-zero (set by a signal handler). Writes one line per
// frame to request_log (may be null) and what the register does besides answering, such
// as printing, to events (may be null).
LineTotals serve(SimLine& line, FiscalRegister& reg, const ServingSettings& settings,
                 const volatile std::sig_atomic_t& stop, std::FILE* request_log, std::FILE* events);

}  // namespace sim
