// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/central_command.hpp"

#include <optional>

#include "archive/central_schema.hpp"
#include "archive/centre_address.hpp"
#include "cli/command_arguments.hpp"
#include "cli/raw_command.hpp"
#include "text/cp1251.hpp"

namespace cli {

void tell_centre_error(const Terminal& terminal, const std::string& command, const std::string& utf8) {
  terminal.error(text::from_utf8("talqen-cli " + command + ": " + utf8));
}

int run_central(const Options& options, const Terminal& terminal) {
  const auto usage = [&](const std::string& problem) { return usage_error(terminal, "central", problem); };
  std::string error;
  const auto args = parse_command_arguments(options.arguments, {"--to"}, error);
  if (!args) return usage(error);
  if (args->positional.size() != 1 || args->positional[0] != "init") return usage("takes init --to CENTRE");
  const std::string* to = args->value("--to");
  if (!to || to->empty()) return usage("init needs --to CENTRE (postgresql://..., postgres://... or service=NAME)");
  if (!archive::names_centre(*to))
    return usage("--to " + *to + " names no central database (postgresql://..., postgres://... or service=NAME)");
  const std::optional<archive::CentreAddress> address = archive::centre_address(*to, error);
  if (!address) return usage(error);
  try {
    archive::PostgresConnection centre = archive::connect_to_centre(*address);
    const archive::CentralInit done = archive::initialise_centre(centre);
    const std::string schema = "central schema " + std::to_string(archive::kCentralSchemaVersion);
    terminal.error(text::from_utf8(done == archive::CentralInit::Created
                                       ? "talqen-cli central init: made the " + schema +
                                             " in " + *to + ", for the roles talqen_push and talqen_read"
                                       : "talqen-cli central init: " + *to + " holds the " + schema +
                                             " already; nothing changed"));
    return kExitDone;
  } catch (const archive::CentralError& e) {
    tell_centre_error(terminal, "central init", e.what());
    return kExitUsage;
  }
}

}  // namespace cli
