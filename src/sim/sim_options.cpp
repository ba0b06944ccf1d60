// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/sim_options.hpp"
#include "sim/whole_number.hpp"

#include <charconv>
#include <climits>

namespace sim {

namespace {

std::optional<long> whole_number(const std::string& s, long min, long max) {
  const std::optional<long> v = sim::whole_number(s);
  if (!v || *v < min || *v > max) return std::nullopt;
  return v;
}

std::optional<double> probability(const std::string& s) {
  try {
    std::size_t used = 0;
    const double p = std::stod(s, &used);
    if (used != s.size() || !(p >= 0.0 && p <= 1.0)) return std::nullopt;
    return p;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace

SimParse parse_sim_command_line(const std::vector<std::string>& args) {
  SimOptions o;
  bool rate_given = false;
  bool seed_given = false;
  bool end_mark_given = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= args.size()) return std::nullopt;
      return args[++i];
    };
    const auto fail = [&](const std::string& why) { return SimParse{std::nullopt, why}; };
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--sample") {
      o.sample = true;
    } else if (a == "--service-mode") {
      o.service_mode = true;
    } else if (a == "--protocol" || a == "--journal" || a == "--link" || a == "--device" || a == "--password" ||
               a == "--log" || a == "--stats" || a == "--baud" || a == "--latency" || a == "--fault" || a == "--fault-rate" ||
               a == "--seed" || a == "--end-mark" || a == "--answer-numbers" || a == "--first-number") {
      const auto v = value();
      if (!v) return fail(a + " needs a value");
      if (a == "--protocol") {
        if (*v != "datecs" && *v != "quendar") return fail("--protocol is datecs or quendar, not " + *v);
        o.quendar = *v == "quendar";
      } else if (a == "--journal") {
        o.journal = *v;
      } else if (a == "--link") {
        o.link = *v;
      } else if (a == "--device") {
        o.device = *v;
      } else if (a == "--password") {
        o.password = *v;
      } else if (a == "--log") {
        o.log = *v;
      } else if (a == "--stats") {
        o.stats = *v;
      } else if (a == "--baud") {
        const auto n = whole_number(*v, 50, 4'000'000);
        if (!n) return fail("--baud needs a speed from 50 to 4000000: " + *v);
        o.baud = static_cast<int>(*n);
      } else if (a == "--latency") {
        const auto n = whole_number(*v, 0, 60'000);
        if (!n) return fail("--latency needs milliseconds from 0 to 60000: " + *v);
        o.latency_ms = static_cast<int>(*n);
      } else if (a == "--fault") {
        const std::size_t colon = v->find(':');
        const auto n = colon == std::string::npos ? std::nullopt : whole_number(v->substr(0, colon), 1, LONG_MAX);
        const auto fault = colon == std::string::npos ? std::nullopt : parse_fault(v->substr(colon + 1));
        if (!n || !fault) return fail("--fault needs N:KIND (N from 1; KIND as in --help): " + *v);
        o.faults.emplace_back(static_cast<unsigned long>(*n), *fault);
      } else if (a == "--fault-rate") {
        const auto p = probability(*v);
        if (!p) return fail("--fault-rate needs a probability from 0 to 1: " + *v);
        o.fault_rate = *p;
        rate_given = true;
      } else if (a == "--seed") {
        const auto n = whole_number(*v, 0, UINT_MAX);
        if (!n) return fail("--seed needs a whole number: " + *v);
        o.seed = static_cast<unsigned>(*n);
        seed_given = true;
      } else if (a == "--first-number") {
        const auto n = whole_number(*v, 1, INT_MAX);
        if (!n) return fail("--first-number needs a document number from 1: " + *v);
        o.first_number = *n;
      } else if (a == "--answer-numbers") {
        const std::size_t comma = v->find(',');
        o.answer_factory_number = v->substr(0, comma);
        o.answer_fiscal_number = comma == std::string::npos ? "" : v->substr(comma + 1);
        const auto safe = [](const std::string& s) { return s.find_first_of(",;\t\r\n") == std::string::npos; };
        if (o.answer_factory_number.empty() || !safe(o.answer_factory_number) || !safe(o.answer_fiscal_number))
          return fail("--answer-numbers needs FACTORY[,FISCAL] without separators in them: " + *v);
      } else if (a == "--end-mark") {
        if (*v != "0" && *v != "-1") return fail("--end-mark is 0 or -1: " + *v);
        o.end_mark = *v == "-1" ? -1 : 0;
        end_mark_given = true;
      }
    } else {
      return fail("unknown argument: " + a);
    }
  }
  if (o.help) return {o, {}};
  if (o.sample && !o.journal.empty()) return {std::nullopt, "--journal and --sample exclude each other"};
  if (!o.link.empty() && !o.device.empty()) return {std::nullopt, "--link and --device exclude each other"};
  if (seed_given && !rate_given) return {std::nullopt, "--seed goes with --fault-rate"};
  if (end_mark_given && o.end_mark == -1 && o.quendar)
    return {std::nullopt, "--end-mark -1 is for the Datecs variant only (a Quendar client reads -1 as more data)"};
  return {o, {}};
}

std::string sim_usage_text() {
  return R"(usage: talqen-sim [--protocol datecs|quendar] [--journal FILE | --sample]
                  [--link PATH | --device PATH] [--baud N] [--password P] [--latency MS]
                  [--service-mode] [--log FILE] [--stats FILE] [--fault N:KIND]... [--fault-rate P [--seed S]]
                  [--end-mark 0|-1] [--answer-numbers FACTORY[,FISCAL]] [--first-number N]

A simulated fiscal register. By default it opens a pseudo-terminal and prints
"READY <path>"; a client opens that path as its serial port. It serves until SIGINT or
SIGTERM.

  --protocol      the protocol variant (default datecs)
  --journal FILE  the electronic control tape: a journal text like temp.xml (a DAT element
                  followed by its MAC per document); --sample: the built-in sample journal
                  (33 documents over three days); neither: an empty tape
  --first-number N
                  number the tape's documents from N in their order (the DI of each DAT
                  and MAC written anew), as a tape that begins far into the numbering
  --link PATH     also make PATH a symbolic link to the pseudo-terminal (removed at exit)
  --device PATH   serve a serial device instead (null-modem cable); speed --baud or 9600
  --baud N        pace replies as a line of N baud would (10 bits a byte), and answer a
                  client whose line is set to another speed with garbled bytes, as a
                  register at N baud would be heard; default: at once, at any speed
  --password P    the password Quendar requests must carry (default 271828)
  --latency MS    working time before each reply, filled with a SYN every 60 ms (default 0)
  --service-mode  Quendar: the register reports service mode (bit 0 of status byte 0)
  --log FILE      one line per request: time, SEQ, CMD, data, what was answered
  --stats FILE    at the end, the bytes received and sent: "bytes received R sent S"
  --fault N:KIND  misbehave on the N-th well-formed request (from 1). KIND: silence, nak,
                  bad-checksum, garbage, truncate, noise-before, syn-storm, oversize,
                  many-fields, error=CODE (four hex digits; Datecs: the general-error bit),
                  bad-number (field 1 of the reply is not a number), bad-terminator
  --fault-rate P  misbehave at random on a share P of the requests, reproducibly by --seed S
  --end-mark V    Datecs: field 1 of the answer past a document's last fragment, 0 or -1
  --answer-numbers FACTORY[,FISCAL]
                  answer the connection check with these factory and fiscal numbers
                  instead of those the tape's documents name (as a register may spell them
                  otherwise); Quendar answers with the factory number alone
)";
}

}  // namespace sim
