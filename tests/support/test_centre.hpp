// SPDX-License-Identifier: GPL-3.0-or-later
// The tests' PostgreSQL server (tests/support/postgres-server, started once for the suite
// by CTest): how to reach it, and a fresh database on it for each test.
#pragma once

#include <unistd.h>

#include <fstream>
#include <map>
#include <optional>
#include <string>

#include "archive/centre_address.hpp"
#include "archive/postgres_database.hpp"

namespace testing_support {

class TestCentre {
 public:
  // The server the environment file of the suite names; nothing, with the reason, when
  // there is none to be had (the tests then skip).
  static std::optional<TestCentre> open(std::string& why_not) {
    std::ifstream in(TALQEN_CENTRE_ENV);
    if (!in) {
      why_not = std::string("no test server: ") + TALQEN_CENTRE_ENV + " is missing (CTest's fixture starts it)";
      return std::nullopt;
    }
    std::map<std::string, std::string> values;
    for (std::string line; std::getline(in, line);) {
      const std::size_t equals = line.find('=');
      if (equals == std::string::npos) continue;
      std::string value = line.substr(equals + 1);
      if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'') value = value.substr(1, value.size() - 2);
      values[line.substr(0, equals)] = value;
    }
    if (values.contains("TALQEN_CENTRE_UNAVAILABLE")) {
      why_not = values["TALQEN_CENTRE_UNAVAILABLE"];
      return std::nullopt;
    }
    return TestCentre(values["PGHOST"], values["PGPORT"], values["PGUSER"], values["TALQEN_CENTRE_TCP"]);
  }

  // A URI of a database on the server, through its socket, as the superuser unless `user` is given.
  std::string uri(const std::string& database, const std::string& user = {}) const {
    return "postgresql:///" + database + "?host=" + socket_folder_ + "&port=" + port_ + "&user=" +
           (user.empty() ? superuser_ : user);
  }
  // The same over TCP on the loopback address.
  std::string tcp_uri(const std::string& database) const {
    return "postgresql://" + superuser_ + "@" + tcp_address_ + ":" + port_ + "/" + database;
  }
  const std::string& port() const { return port_; }

  // A database of its own for one test, empty; its name.
  std::string fresh_database() const {
    static int counter = 0;
    const std::string name = "test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
    archive::PostgresConnection admin = connect("postgres");
    admin.execute("DROP DATABASE IF EXISTS " + name);
    admin.execute("CREATE DATABASE " + name);
    return name;
  }

  archive::PostgresConnection connect(const std::string& database, const std::string& user = {}) const {
    std::string error;
    const std::optional<archive::CentreAddress> address = archive::centre_address(uri(database, user), error);
    if (!address) throw archive::CentralError(error, archive::CentralError::Cause::Unreachable);
    return archive::connect_to_centre(*address);
  }

 private:
  TestCentre(std::string socket_folder, std::string port, std::string superuser, std::string tcp_address)
      : socket_folder_(std::move(socket_folder)),
        port_(std::move(port)),
        superuser_(std::move(superuser)),
        tcp_address_(std::move(tcp_address)) {}

  std::string socket_folder_, port_, superuser_, tcp_address_;
};

}  // namespace testing_support

// Skips the test, saying why, where no server can be had.
#define TALQEN_REQUIRE_CENTRE(centre)                                                     \
  std::string centre##_why_not;                                                           \
  const std::optional<testing_support::TestCentre> centre##_found =                       \
      testing_support::TestCentre::open(centre##_why_not);                                \
  if (!centre##_found) GTEST_SKIP() << centre##_why_not;                                  \
  const testing_support::TestCentre& centre = *centre##_found
