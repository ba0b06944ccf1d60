// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the register: which port, speed and protocol variant it answers on. Each
// candidate is tried with its variant's diagnostic command only, judged as the
// connection check judges it, with a short wait: a line that stays silent for about
// 300 ms has no register of that speed and variant.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/clock.hpp"
#include "link/serial_port.hpp"

namespace app {

struct ProbeAttempt {
  std::string port;
  int speed = 0;
  bool datecs = true;
};

struct FoundRegister {
  std::string port;
  int speed = 0;
  bool datecs = true;
  std::string identity;  // what the status bar shows after a connection
};

// Silent reads of 100 ms that end one attempt.
inline constexpr int kProbeSilentReads = 3;

// The speeds in the order they are tried: the most common first, then the rest of the
// main window's list.
std::vector<int> probe_speeds();

class RegisterProbe {
 public:
  using PortFactory = std::function<std::unique_ptr<device_link::SerialPort>()>;
  // before_attempt is told each attempt before it is made; false stops the search.
  using Progress = std::function<bool(const ProbeAttempt&)>;

  RegisterProbe(PortFactory make_port, device_link::Clock& clock) : make_port_(std::move(make_port)), clock_(clock) {}

  // The first register that answers cleanly; nothing when none does. A port that
  // cannot be opened is passed over at once.
  std::optional<FoundRegister> find(const std::vector<std::string>& ports, const Progress& before_attempt = {});

 private:
  // The identity the register gave, or nothing; opened tells whether the port opened.
  std::optional<std::string> try_one(const ProbeAttempt& attempt, bool& opened);

  PortFactory make_port_;
  device_link::Clock& clock_;
};

}  // namespace app
