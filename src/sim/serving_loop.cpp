// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/serving_loop.hpp"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <string>
#include <thread>

#include "link/frame.hpp"

namespace sim {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

std::string wall_time() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  const auto ms = std::chrono::duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
  ::localtime_r(&t, &local);
  char buf[40];
  const std::size_t n = std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &local);
  std::snprintf(buf + n, sizeof buf - n, ".%03d", static_cast<int>(ms));
  return buf;
}

void work(SimLine& line, int latency_ms, const volatile std::sig_atomic_t& stop, std::uint64_t& sent) {
  const auto end = Clock::now() + milliseconds(latency_ms);
  const std::string syn(1, static_cast<char>(device_link::kSyn));
  while (!stop && Clock::now() < end) {
    line.write(syn);
    ++sent;
    std::this_thread::sleep_until(std::min(end, Clock::now() + milliseconds(kSynIntervalMs)));
  }
}

void send_paced(SimLine& line, std::string_view bytes, int baud, const volatile std::sig_atomic_t& stop) {
  if (baud <= 0) {
    line.write(bytes);
    return;
  }
  // Pieces of about a millisecond's worth, each sent when the line would be ready for it.
  const std::size_t piece = std::max<std::size_t>(1, static_cast<std::size_t>(baud) / 10000);
  const auto start = Clock::now();
  for (std::size_t sent = 0; sent < bytes.size() && !stop;) {
    const std::size_t n = std::min(piece, bytes.size() - sent);
    line.write(bytes.substr(sent, n));
    sent += n;
    std::this_thread::sleep_until(start + std::chrono::microseconds(static_cast<long long>(sent) * 10'000'000 / baud));
  }
}

}  // namespace

std::string garbled(std::string_view bytes, bool client_faster) {
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    // A faster receiver samples each bit twice; a slower one merges two bytes into one.
    if (!client_faster && i % 2 == 1) continue;
    for (int k = 0; k < (client_faster ? 2 : 1); ++k) {
      auto b = static_cast<unsigned char>(static_cast<unsigned char>(bytes[i]) * 73u + 41u + static_cast<unsigned>(k));
      if (b < 0x20) b = static_cast<unsigned char>(b | 0x80);  // never a preamble, terminator, NAK or SYN
      out += static_cast<char>(b);
    }
  }
  return out;
}

LineTotals serve(SimLine& line, FiscalRegister& reg, const ServingSettings& settings,
                 const volatile std::sig_atomic_t& stop, std::FILE* request_log, std::FILE* events) {
  std::uint64_t received = 0;
  std::uint64_t sent = 0;
  while (!stop) {
    const std::string got = line.read(kPollMs);
    if (got.empty()) continue;
    received += got.size();
    const std::string received_at = wall_time();
    for (const Answer& a : reg.receive(got)) {
      if (a.works && settings.latency_ms > 0) work(line, settings.latency_ms, stop, sent);
      if (stop) break;
      std::string bytes = a.bytes;
      const int client = settings.garble_at_other_speeds ? line.client_speed() : 0;
      if (client != 0 && client != settings.baud) bytes = garbled(bytes, client > settings.baud);
      send_paced(line, bytes, settings.baud, stop);
      sent += bytes.size();
      if (request_log) std::fprintf(request_log, "%s %s\n", received_at.c_str(), a.log.c_str());
      if (events && !a.event.empty()) std::fprintf(events, "talqen-sim: %s\n", a.event.c_str());
    }
    if (request_log) std::fflush(request_log);
  }
  return {received, sent};
}

}  // namespace sim
