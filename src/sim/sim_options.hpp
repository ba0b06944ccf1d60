// SPDX-License-Identifier: GPL-3.0-or-later
// The command line of talqen-sim.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sim/fault_plan.hpp"

namespace sim {

struct SimOptions {
  bool quendar = false;     // --protocol quendar; Datecs otherwise
  std::string journal;      // --journal FILE
  bool sample = false;      // --sample
  std::optional<long> first_number;  // --first-number N: the tape's documents numbered from N
  std::string link;         // --link PATH: a symbolic link to the pseudo-terminal
  std::string device;       // --device PATH: serve a serial device instead
  int baud = 0;             // --baud N; 0: not given
  std::string password = "271828";
  int latency_ms = 0;
  bool service_mode = false;
  std::string log;          // --log FILE
  std::string stats;        // --stats FILE: the bytes of both ways, written at the end
  std::vector<std::pair<unsigned long, Fault>> faults;
  double fault_rate = 0;
  unsigned seed = 1;
  int end_mark = 0;         // --end-mark 0|-1
  // --answer-numbers FACTORY[,FISCAL]: the numbers the connection check answers with,
  // spelled otherwise than the tape spells them; empty: the tape's
  std::string answer_factory_number;
  std::string answer_fiscal_number;
  bool help = false;
};

struct SimParse {
  std::optional<SimOptions> options;
  std::string error;
};

SimParse parse_sim_command_line(const std::vector<std::string>& args);

std::string sim_usage_text();

}  // namespace sim
