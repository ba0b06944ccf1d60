// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the fuzz targets' seed corpora from what the tests use: the simulated
// register's replies and requests over its sample journal, the journals of the render
// tests, Base64 fragments and configuration files.
// Usage: seed_corpus DIRECTORY [GOLDEN_JOURNAL]
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "archive/arrived_document.hpp"
#include "archive/tape_archive.hpp"
#include "link/command_data.hpp"
#include "link/frame.hpp"
#include "retrieval/base64.hpp"
#include "sim/fiscal_register.hpp"
#include "sim/sample_journal.hpp"

namespace fs = std::filesystem;

namespace {

void seed(const fs::path& dir, const std::string& target, int n, const std::string& bytes) {
  fs::create_directories(dir / target);
  std::ofstream(dir / target / ("seed-" + std::to_string(n)), std::ios::binary) << bytes;
}

// The sample tape as `talqen-cli archive` keeps it, the file's bytes.
std::string sample_archive(const fs::path& dir, const sim::JournalIndex& index) {
  const fs::path file = dir / "sample.talqen.db";
  fs::remove(file);
  {
    archive::TapeArchive tape = archive::TapeArchive::open_for_register(file.string(), {"4102345678", ""});
    for (const sim::JournalDocument& d : index.documents()) {
      const archive::ArrivedDocument arrived =
          archive::ReadArrivedDocument(static_cast<std::int32_t>(d.number), d.bytes, "2026-12-10T06:00:00Z");
      tape.store(arrived.document, arrived.named);
    }
  }
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  fs::remove(file);
  return bytes.str();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const fs::path dir = argv[1];
  const std::string journal = sim::sample_journal_text();
  const sim::JournalIndex index = sim::JournalIndex::from_text(journal);
  int n = 0;
  for (const auto* policy : {&device_link::kDatecsPolicy, &device_link::kQuendarPolicy}) {
    sim::FiscalRegister reg(*policy, {}, index);
    const std::string sep = "\xFF";
    std::string stream(1, policy == &device_link::kQuendarPolicy ? '\x01' : '\x00');
    std::string assembly = stream;
    for (int fragment = 0; fragment < 4; ++fragment) {
      const std::string request = device_link::build_request_frame(
          0xA7, device_link::command_data(*policy, "271828", {1, 2, fragment}), static_cast<std::uint8_t>(fragment + 1));
      const sim::Answer answer = reg.receive(request).front();
      stream += std::string(1, '\x87') + answer.bytes + sep;
      seed(dir, "sim_request_fuzz", n++, std::string(stream.substr(0, 1)) + request);
      const std::string chunk = fragment < 3 ? retrieval::base64_encode(index.documents()[1].bytes.substr(
                                                   static_cast<std::size_t>(fragment) * 100, 100))
                                             : std::string();
      assembly += std::string(1, fragment < 3 ? '\x10' : '\x00') + "1" + std::string(1, policy->data_separator) +
                  chunk + sep;
      seed(dir, "base64_fuzz", n++, chunk);
    }
    seed(dir, "reply_stream_fuzz", n++, stream);
    seed(dir, "assembly_fuzz", n++, assembly);
  }
  seed(dir, "archive_file_fuzz", n++, sample_archive(dir, index));
  seed(dir, "journal_text_fuzz", n++, journal);
  seed(dir, "journal_text_fuzz", n++, journal.substr(0, 1200) + "</DAT></RQ>");
  if (argc > 2) {
    std::ifstream golden(argv[2], std::ios::binary);
    std::ostringstream text;
    text << golden.rdbuf();
    seed(dir, "journal_text_fuzz", n++, text.str());
  }
  const std::string ini = "[CountryMode]\r\nCountry code=0\r\n[Fiscal Printer]\r\nExtendedTax=1\r\n[LogFile]\r\nLog=0\r\n"
                          "LogName=talqen.log\r\n[Communication]\r\nPort=COM4\r\nSpeed=19200\r\n";
  seed(dir, "profile_file_fuzz", n++, ini + "\xFF" "Communication\xFF" "Port\xFF" "COM7");
  seed(dir, "profile_file_fuzz", n++, std::string("\xFF" "Fiscal Printer\xFF" "Reply\xFF" "0"));
  return 0;
}
