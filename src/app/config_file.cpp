// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/config_file.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/profile_file.hpp"
#include "text/cp1251.hpp"
#include "text/wording.hpp"

using namespace text::literals;

namespace app {

void fix_program_directory(messages::ProgramState& program, const std::string& directory) {
  if (program.program_directory.empty()) program.program_directory = directory;
  program.config_path = program.program_directory;
  program.config_path += static_cast<char>(std::filesystem::path::preferred_separator);
  program.config_path += "fpinit.ini";
}

bool ensure_config_file(const std::string& path, messages::Dialogs& dialogs) {
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) return true;
  // The first key creates the file; only a file that was made is announced as created.
  if (write_profile_text(path, "CountryMode", "Country code", "0") != ProfileWrite::Written) {
    dialogs.show_message(text::say(TALQEN_PHRASE("Configuration", "Файл fpinit.ini отсутствует и не может быть создан: %1"), {path}));
    return false;
  }
  dialogs.show_message(text::say(TALQEN_PHRASE("Configuration", "Файл fpinit.ini отсутствует.\n Создание файла!")));
  write_profile_text(path, "Fiscal Printer", "ExtendedTax", "1");
  write_profile_text(path, "LogFile", "Log", "0");
  write_profile_text(path, "LogFile", "LogName", "talqen.log");
  return true;
}

const std::vector<std::string>& port_items() {
  static const std::vector<std::string> items = [] {
    std::vector<std::string> v;
    for (int i = 1; i <= 20; ++i) v.push_back("COM" + std::to_string(i));
    return v;
  }();
  return items;
}

const std::vector<std::string>& speed_items() {
  static const std::vector<std::string> items = {"110",  "300",   "600",   "1200",  "2400",  "4800",
                                                 "9600", "19200", "38400", "57600", "115200"};
  return items;
}

StoredSelection stored_port_and_speed(const std::string& path, const std::vector<std::string>& ports) {
  constexpr std::size_t kFirstPort = 0;
  constexpr std::size_t k9600 = 6;
  std::string port = read_profile_text(path, "Communication", "Port", "", kPortTextLimit);
  std::transform(port.begin(), port.end(), port.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
  const std::string speed = read_profile_text(path, "Communication", "Speed", "", kSpeedTextLimit);
  const auto index_of = [](const std::vector<std::string>& items, const std::string& value, std::size_t fallback) {
    const auto it = std::find(items.begin(), items.end(), value);
    return it == items.end() ? fallback : static_cast<std::size_t>(it - items.begin());
  };
  return {index_of(ports, port, kFirstPort), index_of(speed_items(), speed, k9600)};
}

ProfileWrite store_port_and_speed(const std::string& path, std::string_view port, std::string_view speed) {
  const ProfileWrite port_written = write_profile_text(path, "Communication", "Port", port);
  if (port_written == ProfileWrite::Unreadable) return port_written;
  const ProfileWrite speed_written = write_profile_text(path, "Communication", "Speed", speed);
  return speed_written != ProfileWrite::Written ? speed_written : port_written;
}

std::string stored_port(const std::string& path) {
  return read_profile_text(path, "Communication", "Port", "", kLogNameLimit);
}

std::optional<int> stored_speed(const std::string& path) {
  const std::string speed = read_profile_text(path, "Communication", "Speed", "", kSpeedTextLimit);
  if (speed.empty() || speed.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  const long value = std::stol(speed);
  if (value <= 0 || value > 4000000) return std::nullopt;
  return static_cast<int>(value);
}

ProtocolVariant stored_protocol(const std::string& path) {
  std::string variant = read_profile_text(path, "Fiscal Printer", "Protocol", "", kPortTextLimit);
  std::transform(variant.begin(), variant.end(), variant.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
  return variant == "quendar" ? ProtocolVariant::Quendar : ProtocolVariant::Datecs;
}

ProfileWrite store_protocol(const std::string& path, ProtocolVariant variant) {
  return write_profile_text(path, "Fiscal Printer", "Protocol", variant == ProtocolVariant::Quendar ? "quendar" : "datecs");
}

std::optional<Language> stored_language(const std::string& path) {
  return language_of_code(read_profile_text(path, "Interface", "Language", "", kPortTextLimit));
}

ProfileWrite store_language(const std::string& path, Language language) {
  return write_profile_text(path, "Interface", "Language", language_code(language));
}

render::Organisation stored_organisation(const std::string& path) {
  // A head line is 39 columns wide; a longer text is kept and overflows as the register's would.
  constexpr std::size_t kOrganisationTextLimit = 120;
  render::Organisation organisation;
  organisation.name = read_profile_text(path, "Organisation", "Name", organisation.name, kOrganisationTextLimit);
  organisation.city = read_profile_text(path, "Organisation", "City", organisation.city, kOrganisationTextLimit);
  return organisation;
}

}  // namespace app
