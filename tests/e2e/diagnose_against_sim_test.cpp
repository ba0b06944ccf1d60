// SPDX-License-Identifier: GPL-3.0-or-later
// talqen-cli diagnose against talqen-sim: the connection check in both variants, with
// the right and the wrong variant, in service mode, with a wrong password and silence.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim_process.hpp"
#include "support/run_program.hpp"
#include "support/temp_dir.hpp"

namespace {

using e2e::SimProcess;
using testing_support::read_file;
using testing_support::run_program;
using testing_support::TempDir;
using testing_support::write_file;

const std::string kWrongVariant = "Подключения нет. Возможно использование не того протокола обмена данными";
const std::string kCheckHeading = "Проверка состояния регистратора:\n  ";

struct Diagnosis {
  int exit_code;
  std::string out, err, config;
};

// One diagnose run in a fresh directory (its fpinit.ini), stdout and stderr apart.
Diagnosis diagnose(const SimProcess& sim, const std::string& protocol, const std::string& config = "") {
  TempDir dir;
  if (!config.empty()) write_file(dir.file("fpinit.ini"), config);
  const auto run = run_program("cd " + dir.path().string() + " && " + TALQEN_CLI + " --port " + sim.port() +
                               " --speed 19200 --protocol " + protocol + " diagnose 2>" + dir.file("err.txt"));
  return {run.exit_code, run.output, read_file(dir.file("err.txt")), read_file(dir.file("fpinit.ini"))};
}

TEST(DiagnoseAgainstSim, ChecksOfBothVariants) {
  struct Case {
    const char* what;
    std::string sim_protocol, client_protocol;
    std::vector<std::string> sim_extra;
    int exit_code;
    std::string out_starts, out_ends, err_has;
  };
  const Case cases[] = {
      {"datecs", "datecs", "datecs", {}, 0, "", "", ""},
      {"quendar", "quendar", "quendar", {}, 0, "   Модель:", ".\n", ""},
      {"quendar in service mode", "quendar", "quendar", {"--service-mode"}, 0, "   Модель:", ". Сервис.реж.\n", ""},
      {"datecs client, quendar register", "quendar", "datecs", {}, 1, kWrongVariant, "\n", ""},
      {"quendar client, datecs register", "datecs", "quendar", {}, 1, kWrongVariant, "\n", kCheckHeading},
      {"wrong password", "quendar", "quendar", {"--password", "999999"}, 1, kWrongVariant, "\n",
       kCheckHeading + "Неверный пароль доступа!"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"--protocol", c.sim_protocol, "--sample"};
    args.insert(args.end(), c.sim_extra.begin(), c.sim_extra.end());
    SimProcess sim(args);
    ASSERT_TRUE(sim.ready()) << c.what;
    const Diagnosis d = diagnose(sim, c.client_protocol);
    EXPECT_EQ(d.exit_code, c.exit_code) << c.what << "\n" << d.out << d.err;
    // The identity is the output; a failed check is told on stderr.
    if (c.exit_code == 0) {
      EXPECT_EQ(d.out.substr(0, c.out_starts.size()), c.out_starts) << c.what;
      ASSERT_GE(d.out.size(), c.out_ends.size()) << c.what;
      EXPECT_EQ(d.out.substr(d.out.size() - c.out_ends.size()), c.out_ends) << c.what << ": " << d.out;
    } else {
      EXPECT_EQ(d.out, "") << c.what;
      EXPECT_NE(d.err.find(c.out_starts), std::string::npos) << c.what << ": " << d.err;
    }
    EXPECT_NE(d.err.find(c.err_has), std::string::npos) << c.what << ": " << d.err;
    // The file is created with its message; port and speed are stored after a passed check only.
    EXPECT_NE(d.err.find("Файл fpinit.ini отсутствует."), std::string::npos) << c.what;
    EXPECT_EQ(d.config.find("Port=" + sim.port()) != std::string::npos, c.exit_code == 0) << c.what;
    EXPECT_EQ(d.config.find("Speed=19200") != std::string::npos, c.exit_code == 0) << c.what;
  }
}

TEST(DiagnoseAgainstSim, DatecsStatusShowsFieldsOneAndSeven) {
  SimProcess sim({"--protocol", "datecs", "--sample"});
  ASSERT_TRUE(sim.ready());
  const auto raw = run_program(std::string(TALQEN_CLI) + " --port " + sim.port() + " raw 0x5A");
  const auto field = [&](int n) {
    const std::string key = "Field" + std::to_string(n) + ": ";
    const std::size_t at = raw.output.find(key) + key.size();
    return raw.output.substr(at, raw.output.find('\n', at) - at);
  };
  const Diagnosis d = diagnose(sim, "datecs");
  EXPECT_EQ(d.out, field(1) + "    " + field(7) + "\n");
}

TEST(DiagnoseAgainstSim, SilentDatecsRegister) {
  SimProcess sim({"--protocol", "datecs", "--fault", "1:silence"});
  ASSERT_TRUE(sim.ready());
  const Diagnosis d = diagnose(sim, "datecs");
  EXPECT_EQ(d.exit_code, 1);
  EXPECT_NE(d.err.find("Таймаут\n"), std::string::npos) << d.err;
  EXPECT_NE(d.err.find(kWrongVariant + "\n"), std::string::npos) << d.err;
  EXPECT_NE(d.err.find("talqen-cli detect"), std::string::npos) << d.err;  // a time-out may be a wrong speed
  EXPECT_EQ(d.out, "");
}

TEST(DiagnoseAgainstSim, SilentQuendarRegister) {
  SimProcess sim({"--protocol", "quendar", "--fault", "1:silence"});
  ASSERT_TRUE(sim.ready());
  // No repeat, so the check costs one silent wait.
  const Diagnosis d = diagnose(sim, "quendar", "[Fiscal Printer]\r\nReply=0\r\n");
  EXPECT_EQ(d.exit_code, 1);
  EXPECT_NE(d.err.find(kCheckHeading + "Таймаут устройства! Ошибка!"), std::string::npos) << d.err;
  EXPECT_NE(d.err.find(kWrongVariant + "\n"), std::string::npos) << d.err;
  EXPECT_EQ(d.out, "");
  EXPECT_EQ(d.config.find("Port="), std::string::npos);
}

TEST(DiagnoseAgainstSim, PortThatCannotBeOpened) {
  TempDir dir;
  const auto run = run_program("cd " + dir.path().string() + " && " + TALQEN_CLI +
                               " --port /dev/no-such-port diagnose 2>&1");
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_NE(run.output.find("Невозможно подключить порт\n/dev/no-such-port"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("No such file or directory"), std::string::npos) << run.output;
}

}  // namespace
