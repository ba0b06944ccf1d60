// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/centre_address.hpp"

#include <cstdlib>
#include <fstream>
#include <map>
#include <set>

namespace archive {

namespace {

// How long a centre that does not answer is waited for, and how a connection that falls
// silent is found dead: a shop PC's nightly job must end, whatever the line does.
const std::vector<std::pair<std::string, std::string>> kBoundedWaits = {
    {"connect_timeout", "10"},       // seconds, for each address of the host
    {"keepalives", "1"},
    {"keepalives_idle", "30"},       // seconds of silence before the first probe
    {"keepalives_interval", "10"},
    {"keepalives_count", "3"},
    {"tcp_user_timeout", "60000"},   // milliseconds that sent data may stay unacknowledged
};

// A statement (a batch of a push, a lock another push holds) that runs longer than this
// is given up; and the server ends a session of ours that sits idle in a transaction
// this long, so that a stopped push never holds a register's lock for others.
constexpr std::string_view kStatementTimeout = "300s";
constexpr std::string_view kIdleInTransactionTimeout = "120s";

// The environment variables through which libpq takes a keyword too.
const std::map<std::string, std::string> kEnvironmentOf = {{"connect_timeout", "PGCONNECT_TIMEOUT"}};

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The keywords a service of one pg_service.conf sets; nothing when the file has no such service.
std::optional<std::set<std::string>> service_keywords(const std::string& file, const std::string& service) {
  std::ifstream in(file);
  std::string line;
  bool inside = false, found = false;
  std::set<std::string> keywords;
  while (std::getline(in, line)) {
    line = trimmed(line);
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '[') {
      inside = line == "[" + service + "]";
      found = found || inside;
      continue;
    }
    const std::size_t equals = line.find('=');
    if (inside && equals != std::string::npos) keywords.insert(trimmed(line.substr(0, equals)));
  }
  if (!found) return std::nullopt;
  return keywords;
}

// The keywords the named service sets, where libpq looks for it: the user's service file
// first, then the system's.
std::set<std::string> keywords_of_service(const std::string& service) {
  std::vector<std::string> files;
  if (const std::string named = environment("PGSERVICEFILE"); !named.empty()) {
    files.push_back(named);
  } else {
#ifdef _WIN32
    files.push_back(environment("APPDATA") + "\\postgresql\\.pg_service.conf");
#else
    files.push_back(environment("HOME") + "/.pg_service.conf");
#endif
  }
  const std::string system_folder = environment("PGSYSCONFDIR");
#ifdef _WIN32
  if (!system_folder.empty()) files.push_back(system_folder + "\\pg_service.conf");
#else
  files.push_back((system_folder.empty() ? std::string("/etc/postgresql-common") : system_folder) + "/pg_service.conf");
#endif
  for (const std::string& file : files)
    if (std::optional<std::set<std::string>> keywords = service_keywords(file, service)) return *keywords;
  return {};
}

}  // namespace

bool names_centre(std::string_view value) {
  return value.starts_with("postgresql://") || value.starts_with("postgres://") || value.starts_with("service=");
}

std::optional<CentreAddress> centre_address(const std::string& value, std::string& error) {
  std::string reason;
  const std::optional<std::map<std::string, std::string>> set = connection_keywords(value, reason);
  if (!set) {
    error = "cannot read the centre's address: " + reason;
    return std::nullopt;
  }
  if (set->contains("password") && !set->at("password").empty()) {
    error = "the centre's address holds a password, which others can read on a command line: keep it in the "
            "password file (~/.pgpass, or the file PGPASSFILE names; %APPDATA%\\postgresql\\pgpass.conf on "
            "Windows) or in the service's entry of pg_service.conf, and give the address without it";
    return std::nullopt;
  }
  std::set<std::string> chosen;
  for (const auto& [keyword, given] : *set) chosen.insert(keyword);
  std::string service = set->contains("service") ? set->at("service") : environment("PGSERVICE");
  if (!service.empty()) chosen.merge(keywords_of_service(service));

  CentreAddress address{value, {}};
  for (const auto& [keyword, bound] : kBoundedWaits) {
    const auto env = kEnvironmentOf.find(keyword);
    const bool in_environment = env != kEnvironmentOf.end() && !environment(env->second.c_str()).empty();
    if (!chosen.contains(keyword) && !in_environment) address.defaults.emplace_back(keyword, bound);
  }
  // Used only where neither the address, the service nor PGAPPNAME names the program.
  address.defaults.emplace_back("fallback_application_name", "talqen-cli");
  return address;
}

PostgresConnection connect_to_centre(const CentreAddress& address) {
  // Text travels as UTF-8 (the registers' numbers, the server's messages).
  std::vector<std::pair<std::string, std::string>> keywords = address.defaults;
  keywords.emplace_back("client_encoding", "UTF8");
  PostgresConnection connection(keywords, address.conninfo, address.conninfo);
  // A bound the server, the database or the role sets is theirs to choose.
  connection.query(
      "SELECT (SELECT set_config(name, $1, false) FROM (VALUES ('statement_timeout')) AS s (name) "
      "        WHERE current_setting(name) = '0'), "
      "       (SELECT set_config(name, $2, false) FROM (VALUES ('idle_in_transaction_session_timeout')) AS s (name) "
      "        WHERE current_setting(name) = '0')",
      {SqlValue(kStatementTimeout), SqlValue(kIdleInTransactionTimeout)});
  return connection;
}

}  // namespace archive
