// Fills a tape archive with N generated documents, for the export rows of the benchmark
// table: the documents of the generated journal stored one by one as `archive` stores what
// arrives. Each is committed on its own (synchronously), so the table builds the file where
// a commit costs no disk write (/dev/shm) and copies it.
// Usage: archive_generator N FILE
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "archive/arrived_document.hpp"
#include "archive/tape_archive.hpp"
#include "generated_journal.hpp"
#include "sim/journal_index.hpp"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: archive_generator N FILE\n", stderr);
    return 2;
  }
  try {
    const sim::JournalIndex tape = sim::JournalIndex::from_text(bench::generated_journal(std::atoi(argv[1])));
    // The register the generated documents name.
    archive::TapeArchive archive = archive::TapeArchive::open_for_register(argv[2], {"400012345", "3012345678"});
    const std::string fetched_at = archive::utc_now();
    for (const sim::JournalDocument& d : tape.documents()) {
      const archive::ArrivedDocument arrived =
          archive::ReadArrivedDocument(static_cast<std::int32_t>(d.number), d.bytes, fetched_at);
      archive.store(arrived.document, arrived.named);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "archive_generator: %s\n", e.what());
    return 1;
  }
  return 0;
}
