// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/fault_plan.hpp"

#include <algorithm>
#include <array>

#include "link/frame.hpp"

namespace sim {

namespace {

struct KindName {
  FaultKind kind;
  std::string_view name;
};

constexpr std::array<KindName, 12> kKinds = {{
    {FaultKind::Silence, "silence"},
    {FaultKind::Nak, "nak"},
    {FaultKind::BadChecksum, "bad-checksum"},
    {FaultKind::Garbage, "garbage"},
    {FaultKind::Truncate, "truncate"},
    {FaultKind::NoiseBefore, "noise-before"},
    {FaultKind::SynStorm, "syn-storm"},
    {FaultKind::Oversize, "oversize"},
    {FaultKind::ManyFields, "many-fields"},
    {FaultKind::Error, "error"},
    {FaultKind::BadNumber, "bad-number"},
    {FaultKind::BadTerminator, "bad-terminator"},
}};

// A random fault of kind Error carries this code: group 1, detail 1 (printer failure).
constexpr std::string_view kRandomErrorCode = "0101";
constexpr std::size_t kSynStormLength = 500;
constexpr std::size_t kOversizeData = 400;

bool is_error_code(std::string_view code) {
  return code.size() == 4 &&
         std::all_of(code.begin(), code.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); });
}

}  // namespace

std::optional<Fault> parse_fault(std::string_view text) {
  if (text.starts_with("error=")) {
    const std::string_view code = text.substr(6);
    if (!is_error_code(code)) return std::nullopt;
    return Fault{FaultKind::Error, std::string(code)};
  }
  for (const KindName& k : kKinds)
    if (k.kind != FaultKind::Error && k.name == text) return Fault{k.kind, {}};
  return std::nullopt;
}

std::string fault_name(const Fault& fault) {
  for (const KindName& k : kKinds)
    if (k.kind == fault.kind)
      return fault.kind == FaultKind::Error ? std::string(k.name) + "=" + fault.error_code : std::string(k.name);
  return "?";
}

void FaultPlan::set_random(double rate, std::uint32_t seed) {
  rate_ = std::clamp(rate, 0.0, 1.0);
  rng_.seed(seed);
}

std::optional<Fault> FaultPlan::fault_for(unsigned long request) {
  if (const auto it = fixed_.find(request); it != fixed_.end()) return it->second;
  if (rate_ <= 0) return std::nullopt;
  if (std::uniform_real_distribution<double>(0.0, 1.0)(rng_) >= rate_) return std::nullopt;
  const KindName& k = kKinds[std::uniform_int_distribution<std::size_t>(0, kKinds.size() - 1)(rng_)];
  return Fault{k.kind, k.kind == FaultKind::Error ? std::string(kRandomErrorCode) : std::string()};
}

std::string FaultPlan::junk(std::size_t min_length, std::size_t max_length) {
  // Bytes of 0x20 and above only: junk must not look like a preamble, terminator or NAK,
  // so that what the client makes of it does not depend on chance.
  std::uniform_int_distribution<std::size_t> length(min_length, max_length);
  std::uniform_int_distribution<int> byte(0x20, 0xFF);
  std::string s(length(rng_), ' ');
  for (char& c : s) c = static_cast<char>(byte(rng_));
  return s;
}

std::string FaultPlan::disturb(const Fault& fault, const std::string& frame, std::uint8_t sequence,
                               std::uint8_t command) {
  using namespace device_link;
  switch (fault.kind) {
    case FaultKind::Silence:
      return {};
    case FaultKind::Nak:
      return std::string(1, static_cast<char>(kNak));
    case FaultKind::BadChecksum: {
      std::string bad = frame;
      bad[bad.size() - 2] = static_cast<char>(bad[bad.size() - 2] ^ 0x01);  // stays a digit 0x30..0x3F
      return bad;
    }
    case FaultKind::Garbage:
      return junk(32, 96);
    case FaultKind::Truncate:
      return frame.substr(0, frame.size() / 2);
    case FaultKind::BadTerminator: {
      std::string bad = frame;
      bad.back() = '!';
      return bad;
    }
    case FaultKind::NoiseBefore:
      return junk(8, 40) + frame;
    case FaultKind::SynStorm:
      return std::string(kSynStormLength, static_cast<char>(kSyn)) + frame;
    case FaultKind::Oversize: {
      // Claims the longest length, then carries far more than it: a client must neither
      // overrun a buffer nor take it for a good reply.
      std::string burst;
      burst += static_cast<char>(kPreamble);
      burst += static_cast<char>(0xFF);
      burst += static_cast<char>(sequence);
      burst += static_cast<char>(command);
      burst += std::string(kOversizeData, 'X');
      burst += static_cast<char>(kStatusMark);
      burst += std::string(6, static_cast<char>(0x80));
      burst += static_cast<char>(kPostamble);
      burst += checksum_digits(byte_sum(std::string_view(burst).substr(1)));
      burst += static_cast<char>(kTerminator);
      return burst;
    }
    case FaultKind::ManyFields:
    case FaultKind::Error:
    case FaultKind::BadNumber:
      return frame;
  }
  return frame;
}

}  // namespace sim
