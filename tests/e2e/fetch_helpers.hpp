// SPDX-License-Identifier: GPL-3.0-or-later
// What the end-to-end tests of retrievals share: the simulator's sample journal, the
// journal texts and lines a retrieval of its documents gives, and one talqen-cli run.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "link/variant_policy.hpp"
#include "retrieval/journal_pipeline.hpp"
#include "sim/fiscal_register.hpp"
#include "sim/journal_index.hpp"
#include "sim/sample_journal.hpp"
#include "sim_process.hpp"
#include "support/run_program.hpp"
#include "support/temp_dir.hpp"
#include "text/cp1251.hpp"

namespace e2e {

using testing_support::read_file;
using testing_support::run_program;
using testing_support::TempDir;
using testing_support::write_file;

struct Variant {
  const char* protocol;
  const device_link::VariantPolicy& policy;
};
inline const Variant kVariants[] = {{"datecs", device_link::kDatecsPolicy}, {"quendar", device_link::kQuendarPolicy}};

inline const std::string kFailure1 = "Непредвиденный сбой в структуре получаемой информации!";
inline const std::string kFailure2 = "Попробуйте выбрать другой диапазон номеров или дат!";
// fpinit.ini of a client that repeats a Quendar request once (the default), and of one
// that does not, so that a lost reply stays lost.
inline const std::string kRepeatOnce = "[Fiscal Printer]\r\nReply=1\r\n";
inline const std::string kNoRepeats = "[Fiscal Printer]\r\nReply=0\r\n";

inline const sim::JournalIndex& sample() {
  static const sim::JournalIndex index = sim::JournalIndex::from_text(sim::sample_journal_text());
  return index;
}

// temp.xml after a retrieval of these sample documents (numbered from 1).
inline std::string journal_text_of(const std::vector<long>& documents) {
  std::string text = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<RQ V=\"1\">\r\n";
  for (long n : documents) text += sample().documents().at(static_cast<std::size_t>(n - 1)).bytes + "\r\n";
  return text + "</RQ>\r\n";
}

inline std::vector<long> numbers(long first, long last) {
  std::vector<long> v;
  for (long n = first; n <= last; ++n) v.push_back(n);
  return v;
}

// The lines a fresh window shows for a journal text, in UTF-8, a line each.
inline std::string shown_lines(const std::string& journal_text, render::DocumentKind kind = render::DocumentKind::Both) {
  render::LineList lines;
  retrieval::RenderJournalText(journal_text, kind, lines);
  std::string out;
  for (const std::string& line : lines) out += text::to_utf8(line) + "\n";
  return out;
}

// The request that asks for a fragment of a sample document, counting the connection
// check as request 1.
inline unsigned long request_of(const Variant& v, long document, long fragment) {
  const std::size_t per_fragment =
      sim::FiscalRegister(v.policy, {}, sim::JournalIndex::from_text("<RQ/>")).fragment_bytes();
  unsigned long request = 1;
  for (long n = 1; n < document; ++n)
    request += (sample().documents().at(static_cast<std::size_t>(n - 1)).bytes.size() + per_fragment - 1) /
                   per_fragment + 1;
  return request + static_cast<unsigned long>(fragment) + 1;
}

struct CliRun {
  int exit_code;
  std::string out, err, temp_xml;
  double seconds;
};

// One talqen-cli command in a fresh directory of its own (fpinit.ini, temp.xml).
inline CliRun cli(const SimProcess& sim, const Variant& v, const std::string& arguments,
                  const std::string& config = kRepeatOnce) {
  TempDir dir;
  write_file(dir.file("fpinit.ini"), config);
  const auto start = std::chrono::steady_clock::now();
  const auto run = run_program("cd " + dir.path().string() + " && " + TALQEN_CLI + " --port " + sim.port() +
                               " --protocol " + v.protocol + " " + arguments + " 2>" + dir.file("err.txt"));
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  return {run.exit_code, run.output, read_file(dir.file("err.txt")), read_file(dir.file("temp.xml")), took.count()};
}

struct CliOutcome {
  int exit_code;
  std::string out, err;
};

// talqen-cli with the arguments in dir (its fpinit.ini, temp.xml and archive).
inline CliOutcome talqen_cli(const TempDir& dir, const std::string& arguments) {
  const auto run = run_program("cd " + dir.path().string() + " && " + TALQEN_CLI + " " + arguments + " 2>err.txt");
  return {run.exit_code, run.output, read_file(dir.file("err.txt"))};
}

inline SimProcess start_sim(const Variant& v, std::vector<std::string> extra = {}) {
  std::vector<std::string> args = {"--protocol", v.protocol, "--sample"};
  args.insert(args.end(), extra.begin(), extra.end());
  return SimProcess(args);
}

inline std::string fault(unsigned long request, const std::string& kind) { return std::to_string(request) + ":" + kind; }

inline bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace e2e
