// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/register_probe.hpp"

#include <algorithm>
#include <string>

#include "app/config_file.hpp"
#include "app/connection_procedure.hpp"
#include "link/abort.hpp"
#include "link/command_data.hpp"
#include "link/protocol_driver.hpp"
#include "messages/error_codes.hpp"

namespace app {

std::vector<int> probe_speeds() {
  std::vector<int> speeds = {115200, 9600, 19200, 38400, 57600};
  for (const std::string& item : speed_items()) {
    const int speed = std::stoi(item);
    if (std::find(speeds.begin(), speeds.end(), speed) == speeds.end()) speeds.push_back(speed);
  }
  return speeds;
}

std::optional<FoundRegister> RegisterProbe::find(const std::vector<std::string>& ports, const Progress& before_attempt) {
  for (const std::string& port : ports) {
    bool port_opens = true;
    for (const int speed : probe_speeds()) {
      for (const bool datecs : {true, false}) {
        const ProbeAttempt attempt{port, speed, datecs};
        if (before_attempt && !before_attempt(attempt)) return std::nullopt;
        if (device_link::abort_requested()) return std::nullopt;
        if (const auto identity = try_one(attempt, port_opens)) return FoundRegister{port, speed, datecs, *identity};
        if (!port_opens) break;
      }
      if (!port_opens) break;
    }
  }
  return std::nullopt;
}

std::optional<std::string> RegisterProbe::try_one(const ProbeAttempt& attempt, bool& opened) {
  const device_link::VariantPolicy& policy = attempt.datecs ? device_link::kDatecsPolicy : device_link::kQuendarPolicy;
  const std::unique_ptr<device_link::SerialPort> port = make_port_();
  device_link::ProtocolDriver driver(policy, *port, clock_);
  opened = driver.open_port(attempt.port, attempt.speed) == 0;
  if (!opened) return std::nullopt;
  driver.set_silent_reads(kProbeSilentReads);
  driver.set_reply_count(0);
  // Only the two diagnostic commands ever go out.
  std::optional<std::string> identity;
  if (attempt.datecs) {
    driver.send(device_link::kDatecsDiagnostic, "");
    identity = DatecsIdentity(driver.result());
  } else {
    const datecs::RetData* result = driver.execute_command(
        device_link::kQuendarDiagnostic, device_link::command_data(policy, kCheckPassword, {}));
    std::string error;
    if (messages::ReplyAccepted(*result, error)) identity = QuendarIdentity(*result);
  }
  driver.close_port();
  return identity;
}

}  // namespace app
