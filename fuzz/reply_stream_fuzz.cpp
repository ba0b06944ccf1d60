// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes from the line, as the replies to a sequence of exchanges through the real
// driver of either variant on a scripted port: the receiver, the repeats and the result
// building may meet anything, and nothing may leave its buffer or hang.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fuzz_input.hpp"
#include "link/protocol_driver.hpp"
#include "support/fake_serial_port.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace device_link;
  fuzzing::Input in(data, size);
  const std::uint8_t setup = in.byte();
  const VariantPolicy& policy = (setup & 1) ? kQuendarPolicy : kDatecsPolicy;
  testing_support::VirtualClock clock;
  testing_support::FakeSerialPort port(clock);
  ProtocolDriver driver(policy, port, clock);
  driver.open_port("COM1", 9600);
  driver.set_reply_count((setup >> 1) & 3);
  for (int exchange = 0; exchange < 8 && !in.empty(); ++exchange) {
    const int command = 0x20 + in.byte() % 0xE0;
    port.script(in.chunk());
    const datecs::RetData* r = driver.execute_command(command, "1,2,3");
    if (r->FieldCount < 0 || r->FieldCount > datecs::kMaxFields) __builtin_trap();
    for (int i = 0; i < r->FieldCount; ++i)
      if (r->Fields[i] == nullptr || std::strlen(r->Fields[i]) > ReplyReceiver::kReplyDataSize) __builtin_trap();
    if (std::strlen(r->ReplyText) > 200 || !driver.idle()) __builtin_trap();
  }
  return 0;
}
