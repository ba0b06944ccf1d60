// SPDX-License-Identifier: GPL-3.0-or-later
// The line talqen-sim serves: a pseudo-terminal whose other end a client opens like a
// serial port, or a real serial device (a null-modem cable to the client's computer).
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace sim {

class SimLine {
 public:
  virtual ~SimLine() = default;
  // Whatever arrived within about timeout_ms; empty when nothing did.
  virtual std::string read(int timeout_ms) = 0;
  // Bounded: bytes that cannot leave within a second (no client reading) are dropped.
  virtual void write(std::string_view bytes) = 0;
  // The path a client opens.
  virtual const std::string& path() const = 0;
  // The speed the client set its end of the line to; 0 where the line cannot tell.
  virtual int client_speed() const { return 0; }
};

// A new pseudo-terminal in raw mode; nullptr with the reason in error.
std::unique_ptr<SimLine> open_pseudo_terminal(std::string& error);

// A serial device at the given speed (8N1); nullptr with the reason in error.
std::unique_ptr<SimLine> open_serial_device(const std::string& path, int baud, std::string& error);

}  // namespace sim
