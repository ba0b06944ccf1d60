// SPDX-License-Identifier: GPL-3.0-or-later
// A retrieval of three documents from a register that answers the read-document
// command with anything: well-formed replies with any fields and error code, or any
// bytes. The assembly keeps or leaves out documents, fails with the failure lines, but
// never crashes, overruns or hangs.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_input.hpp"
#include "link/command_data.hpp"
#include "link/datecs.hpp"
#include "link/frame.hpp"
#include "link/quendar.hpp"
#include "retrieval/journal_window_logic.hpp"
#include "support/fake_serial_port.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace device_link;
  static const std::string temp_xml = "/tmp/talqen-assembly-fuzz-" + std::to_string(::getpid()) + ".xml";
  fuzzing::Input in(data, size);
  const bool datecs_variant = (in.byte() & 1) != 0;
  const VariantPolicy& policy = datecs_variant ? kDatecsPolicy : kQuendarPolicy;
  testing_support::VirtualClock clock;
  testing_support::FakeSerialPort port(clock);
  ProtocolDriver driver(policy, port, clock);
  driver.open_port("COM1", 9600);
  driver.set_reply_count(0);
  int answers = 0;
  port.responder = [&](const std::string& frame) -> std::string {
    const auto request = parse_request_frame(frame);
    // Past the input, or after a few hundred answers, the register ends every document.
    const std::uint8_t how = in.empty() || ++answers > 300 ? 0 : in.byte();
    const std::string payload = how == 0 ? std::string(policy.data_fields_terminated ? "0;" : "0,") : in.chunk();
    if (how == 1) return payload;  // raw bytes
    const std::array<std::uint8_t, 6> status = {0x80, 0x80, 0x80, 0x80, 0x80, static_cast<std::uint8_t>(0x80 | (how >> 4))};
    const std::string code = how % 7 == 2 ? "0101" : "0000";
    std::string data = payload.substr(0, max_reply_data(policy));
    return build_reply_frame(policy, request ? request->sequence : 0x20, kReadDocument, code, data, status);
  };
  if (datecs_variant)
    datecs::set_program_driver(&driver);
  else
    quendar::set_program_driver(&driver);

  messages::ProgramState program;
  messages::SilentDialogs dialogs;
  retrieval::NoAttentionWindow attention;
  retrieval::NoWindowFrame frame;
  retrieval::JournalWindowLogic window({program, dialogs, attention, frame, [=] { return datecs_variant; }, clock},
                                  temp_xml);
  window.document_kind = render::DocumentKindOfItem(2);
  window.fields.first_number = "1";
  window.fields.last_number = "3";
  const auto result = window.RetrieveByNumbers();
  if (result.outcome == retrieval::RetrievalResult::Outcome::Failed && window.rendered_lines.size() < 2) __builtin_trap();
  if (window.journal_lines.size() > 2 + 3 + 1) __builtin_trap();
  datecs::set_program_driver(nullptr);
  quendar::set_program_driver(nullptr);
  return 0;
}
