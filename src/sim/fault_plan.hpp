// SPDX-License-Identifier: GPL-3.0-or-later
// Faults the simulated register commits on purpose, so that tests can see how a client
// copes with a register that misbehaves: by request number (--fault N:KIND) or at random
// with a fixed seed (--fault-rate P --seed S), reproducibly either way.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <string_view>

namespace sim {

enum class FaultKind {
  Silence,      // no answer at all
  Nak,          // a NAK instead of the reply
  BadChecksum,  // the reply with one checksum digit changed
  Garbage,      // printable junk instead of the reply
  Truncate,     // the first half of the reply, nothing more
  NoiseBefore,  // printable junk, then the reply
  SynStorm,     // a long run of SYN bytes, then the reply
  Oversize,     // a burst of 400+ bytes that starts like a frame, instead of the reply
  ManyFields,   // reply data with 30 field separators
  Error,        // the register refuses: the given error code (Datecs: general-error bit)
  BadNumber,    // a well-formed reply whose field 1 is not a number
  BadTerminator,  // the reply with another byte in place of its terminator
};

struct Fault {
  FaultKind kind = FaultKind::Silence;
  std::string error_code;  // four hexadecimal digits, for FaultKind::Error
};

// "silence", "nak", ..., "error=0006"; nullopt for anything else.
std::optional<Fault> parse_fault(std::string_view text);
// The text parse_fault reads.
std::string fault_name(const Fault& fault);

class FaultPlan {
 public:
  // Request numbers count the well-formed requests from 1. A second fault for the same
  // request replaces the first.
  void add(unsigned long request, Fault fault) { fixed_[request] = std::move(fault); }
  // Every request without a fixed fault gets a random one with probability rate.
  void set_random(double rate, std::uint32_t seed);

  // The fault for the given request; asked once per request, in order.
  std::optional<Fault> fault_for(unsigned long request);

  // The bytes sent instead of a reply frame under a fault that disturbs the line (the
  // frame itself for ManyFields, Error and BadNumber, which change what the frame holds).
  std::string disturb(const Fault& fault, const std::string& frame, std::uint8_t sequence, std::uint8_t command);

 private:
  std::string junk(std::size_t min_length, std::size_t max_length);

  std::map<unsigned long, Fault> fixed_;
  double rate_ = 0;
  std::mt19937 rng_{1};
};

}  // namespace sim
