// SPDX-License-Identifier: GPL-3.0-or-later
// The client side of the link (the real protocol driver on a scripted port and virtual
// time) talking to a simulated register, so the register is checked by what a client
// makes of its answers.
#pragma once

#include <string>

#include "link/protocol_driver.hpp"
#include "sim/fiscal_register.hpp"
#include "support/fake_serial_port.hpp"
#include "support/virtual_clock.hpp"

namespace sim_testing {

struct RegisterClient {
  explicit RegisterClient(sim::FiscalRegister& reg, int reply_count = 0)
      : port(clock), driver(reg.policy(), port, clock) {
    port.responder = [&reg](const std::string& frame) {
      std::string bytes;
      for (const sim::Answer& a : reg.receive(frame)) bytes += a.bytes;
      return bytes;
    };
    driver.open_port("COM1", 9600);
    driver.set_reply_count(reply_count);
  }

  const datecs::RetData& run(int command, const std::string& data) { return *driver.execute_command(command, data); }

  std::string field(int k) {  // 1-based, as the fields are numbered
    const datecs::RetData& r = driver.result();
    return k <= r.FieldCount && r.Fields[k - 1] ? r.Fields[k - 1] : "<none>";
  }

  testing_support::VirtualClock clock;
  testing_support::FakeSerialPort port;
  device_link::ProtocolDriver driver;
};

}  // namespace sim_testing
