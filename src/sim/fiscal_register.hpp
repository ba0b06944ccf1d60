// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated fiscal register: request bytes in, reply bytes out, for either protocol
// variant. It knows the diagnostic command of its variant and the three journal commands
// (read a document fragment, find the documents of a date span, print a range), checks
// the password where the variant sends one, and commits the faults of its plan. Time,
// the line and the log file belong to whoever serves it (talqen-sim's serving loop), so
// everything here can be driven by a test directly.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "link/frame.hpp"
#include "link/variant_policy.hpp"
#include "sim/fault_plan.hpp"
#include "sim/journal_index.hpp"
#include "sim/request_reader.hpp"

namespace sim {

struct RegisterSettings {
  std::string password = "271828";  // the register's default password
  bool service_mode = false;         // Quendar: bit 0 of the first status byte
  // Field 1 of the answer past a document's last fragment: 0, or -1 (Datecs only).
  int end_mark = 0;
  // The numbers the connection check answers with; empty: those the tape names.
  std::string answer_factory_number;
  std::string answer_fiscal_number;
};

// What the register does about one frame it received.
struct Answer {
  std::string bytes;    // sent after the working time; empty: the register stays silent
  bool works = false;   // SYN bytes go out during the working time before the bytes
  std::string log;      // SEQ, CMD, the data as hex and text, and what was answered
  std::string event;    // something the register does besides answering (printing); or empty
};

class FiscalRegister {
 public:
  FiscalRegister(const device_link::VariantPolicy& policy, RegisterSettings settings, JournalIndex journal,
                 FaultPlan faults = {});

  // Feeds bytes from the line; returns the answers to the frames they complete.
  std::vector<Answer> receive(std::string_view bytes);

  // The answer to one well-formed request; it counts as the next request for the faults.
  Answer answer(const device_link::Request& request);

  // How many document bytes one fragment carries: the most whose Base64 text, with field
  // 1, fits one reply frame.
  std::size_t fragment_bytes() const { return fragment_bytes_; }

  const device_link::VariantPolicy& policy() const { return policy_; }

  // The data text of reply fields as this variant writes it.
  std::string reply_data(const std::vector<std::string>& fields) const;

 private:
  enum class Refusal { None, InvalidCommand, WrongPassword, FieldFormat, FieldValue, NoDocuments };
  struct Outcome {
    std::vector<std::string> fields;
    Refusal refusal = Refusal::None;
    std::size_t bad_field = 0;  // 1-based position in the request data, for the field refusals
    std::string note;           // for the log
    std::string event;
  };

  Outcome execute(const device_link::Request& request) const;
  Outcome diagnostic() const;
  Outcome read_document(const std::vector<std::string>& fields, std::size_t first) const;
  Outcome find_documents(const std::vector<std::string>& fields, std::size_t first) const;
  Outcome print_documents(const std::vector<std::string>& fields, std::size_t first) const;
  std::string error_code_of(const Outcome& outcome) const;
  std::uint8_t status_bit_of(const Outcome& outcome) const;

  const device_link::VariantPolicy& policy_;
  RegisterSettings settings_;
  JournalIndex journal_;
  FaultPlan faults_;
  RequestReader reader_;
  std::size_t fragment_bytes_ = 0;
  unsigned long requests_ = 0;
};

}  // namespace sim
