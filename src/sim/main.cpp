// SPDX-License-Identifier: GPL-3.0-or-later
// talqen-sim: a simulated fiscal register on a pseudo-terminal or a serial device.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "sim/fiscal_register.hpp"
#include "sim/journal_index.hpp"
#include "sim/sample_journal.hpp"
#include "sim/serving_loop.hpp"
#include "sim/sim_line.hpp"
#include "sim/sim_options.hpp"

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitFailed = 1;
constexpr int kDefaultDeviceBaud = 9600;

volatile std::sig_atomic_t g_stop = 0;

extern "C" void on_stop_signal(int) { g_stop = 1; }

void install_signal_handlers() {
  struct sigaction sa {};
  sa.sa_handler = on_stop_signal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = 0;  // no restart: a pending poll returns at once
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
  std::signal(SIGPIPE, SIG_IGN);  // a reader of stdout that has gone must not kill us
}

int fail(int code, const std::string& message) {
  std::fprintf(stderr, "talqen-sim: %s\n", message.c_str());
  return code;
}

// A link left behind by a simulator that was killed is replaced; anything else at that
// path is not ours to touch.
bool make_link(const std::string& link, const std::string& target, std::string& error) {
  struct stat st {};
  if (::lstat(link.c_str(), &st) == 0) {
    if (!S_ISLNK(st.st_mode)) {
      error = link + " exists and is not a symbolic link";
      return false;
    }
    ::unlink(link.c_str());
  }
  if (::symlink(target.c_str(), link.c_str()) != 0) {
    error = "cannot create the link " + link + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const sim::SimParse parsed = sim::parse_sim_command_line(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.options) {
    std::fprintf(stderr, "talqen-sim: %s\n%s", parsed.error.c_str(), sim::sim_usage_text().c_str());
    return kExitUsage;
  }
  const sim::SimOptions& o = *parsed.options;
  if (o.help) {
    std::fputs(sim::sim_usage_text().c_str(), stdout);
    return 0;
  }
  install_signal_handlers();

  std::string journal_text;
  if (o.sample) {
    journal_text = sim::sample_journal_text();
  } else if (!o.journal.empty()) {
    std::ifstream in(o.journal, std::ios::binary);
    if (!in) return fail(kExitFailed, "cannot read the journal " + o.journal);
    std::ostringstream content;
    content << in.rdbuf();
    journal_text = content.str();
  } else {
    journal_text = "<?xml version=\"1.0\" encoding=\"windows-1251\"?><RQ V=\"1\"></RQ>";
  }
  sim::JournalIndex journal;
  try {
    journal = sim::JournalIndex::from_text(journal_text, o.first_number);
  } catch (const sim::JournalError& e) {
    return fail(kExitFailed, (o.journal.empty() ? std::string("journal") : o.journal) + ": " + e.what());
  }

  sim::FaultPlan faults;
  for (const auto& [request, fault] : o.faults) faults.add(request, fault);
  if (o.fault_rate > 0) faults.set_random(o.fault_rate, o.seed);

  sim::RegisterSettings settings;
  settings.password = o.password;
  settings.service_mode = o.service_mode;
  settings.end_mark = o.end_mark;
  settings.answer_factory_number = o.answer_factory_number;
  settings.answer_fiscal_number = o.answer_fiscal_number;
  sim::FiscalRegister reg(o.quendar ? device_link::kQuendarPolicy : device_link::kDatecsPolicy, settings,
                          std::move(journal), std::move(faults));

  std::string error;
  const bool device = !o.device.empty();
  std::unique_ptr<sim::SimLine> line =
      device ? sim::open_serial_device(o.device, o.baud > 0 ? o.baud : kDefaultDeviceBaud, error)
             : sim::open_pseudo_terminal(error);
  if (!line) return fail(kExitFailed, error);
  if (!o.link.empty() && !make_link(o.link, line->path(), error)) return fail(kExitFailed, error);

  std::FILE* log = nullptr;
  if (!o.log.empty()) {
    log = std::fopen(o.log.c_str(), "w");
    if (!log) {
      if (!o.link.empty()) ::unlink(o.link.c_str());
      return fail(kExitFailed, "cannot write the log " + o.log);
    }
  }

  std::printf("READY %s\n", line->path().c_str());
  std::fflush(stdout);

  sim::ServingSettings serving;
  serving.latency_ms = o.latency_ms;
  serving.baud = device ? 0 : o.baud;  // a real line keeps its own pace
  serving.garble_at_other_speeds = !device && o.baud > 0;
  const sim::LineTotals totals = sim::serve(*line, reg, serving, g_stop, log, stderr);

  if (log) std::fclose(log);
  if (!o.stats.empty())
    if (std::FILE* stats = std::fopen(o.stats.c_str(), "w")) {
      std::fprintf(stats, "bytes received %llu sent %llu\n", static_cast<unsigned long long>(totals.received),
                   static_cast<unsigned long long>(totals.sent));
      std::fclose(stats);
    }
  if (!o.link.empty()) ::unlink(o.link.c_str());
  return 0;
}
