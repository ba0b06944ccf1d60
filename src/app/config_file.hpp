// SPDX-License-Identifier: GPL-3.0-or-later
// fpinit.ini: the last port and speed that connected, the Quendar reply count and the
// exchange-log switch. It lives in the program directory, fixed at first use.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/language.hpp"
#include "app/profile_file.hpp"
#include "messages/dialogs.hpp"
#include "messages/status_reporter.hpp"
#include "render/render_context.hpp"

namespace app {

inline constexpr std::size_t kPortTextLimit = 9;
inline constexpr std::size_t kSpeedTextLimit = 9;
inline constexpr std::size_t kLogNameLimit = 299;

// Fixes the program directory on first use (directory: the current working directory)
// and sets the configuration path: that directory, the platform's separator, fpinit.ini.
void fix_program_directory(messages::ProgramState& program, const std::string& directory);

// Creates the file with its four defaults when it is missing, telling the user so; a
// file that cannot be created is reported as such. False when there is no file.
bool ensure_config_file(const std::string& path, messages::Dialogs& dialogs);

// The items of the main window's port and speed boxes.
const std::vector<std::string>& port_items();
const std::vector<std::string>& speed_items();

// The stored port and speed as indices into the port box's items and the speed items:
// the first port item and 9600 when the stored value names no item.
struct StoredSelection {
  std::size_t port;
  std::size_t speed;
};
StoredSelection stored_port_and_speed(const std::string& path, const std::vector<std::string>& ports = port_items());

// The port and speed that connected, stored for the next start. A file that cannot be
// read is left as it is (Unreadable, nothing written); otherwise both keys are written
// and the result is the worse of the two.
ProfileWrite store_port_and_speed(const std::string& path, std::string_view port, std::string_view speed);

// The stored port as written (a device path may be longer than the port box's limit),
// empty when none is stored.
std::string stored_port(const std::string& path);
// The stored speed when it is a whole number the line can use.
std::optional<int> stored_speed(const std::string& path);

// [Fiscal Printer] Protocol=datecs|quendar, in any case; Datecs when absent or unknown.
enum class ProtocolVariant { Datecs, Quendar };
ProtocolVariant stored_protocol(const std::string& path);
ProfileWrite store_protocol(const std::string& path, ProtocolVariant variant);

// [Interface] Language=ru|uk, in any case: the language the user chose for the desktop
// program; nothing when absent or unknown (the system's language then).
std::optional<Language> stored_language(const std::string& path);
ProfileWrite store_language(const std::string& path, Language language);

// [Organisation] Name= and City= (Windows-1251): the organisation at the head of every
// rendered document; an absent key keeps the register's own line.
render::Organisation stored_organisation(const std::string& path);

}  // namespace app
