// The tape archive: one SQLite file holding one register's documents, each stored whole,
// as it arrived, in a transaction of its own, so that a run stopped in any way (a signal,
// a power cut, a pulled cable) loses nothing committed and the next run asks only for
// what is missing. A number the register does not have, up to its last one, is kept as
// absent, so that an archive that is up to date asks the register for nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "archive/archived_document.hpp"
#include "archive/sqlite_database.hpp"

namespace archive {

// The register an archive belongs to: its factory number (as the diagnostic answer and
// the documents' DAT ZN give it) and its fiscal number (DAT FN; empty until known).
struct RegisterIdentity {
  std::string serial;
  std::string fiscal_number;
};

// The schema this program writes; an archive of a later one is refused.
inline constexpr int kSchemaVersion = 1;

class TapeArchive {
 public:
  // An existing archive, to read. Throws ArchiveError for a file that is missing, is not
  // a Talqen archive, or was written by a later schema.
  static TapeArchive open_existing(const std::string& path);
  // The archive of this register, made when the file does not exist. Throws ArchiveError
  // as open_existing does, and for an archive of another register. A fiscal number
  // learnt now is kept when the archive had none.
  static TapeArchive open_for_register(const std::string& path, const RegisterIdentity& identity);

  RegisterIdentity identity() const;

  // The selected documents in the order a one-shot fetch of them would bring them, one
  // row at a time.
  void visit(const ArchiveSelection& selection, const ArchivedDocumentVisitor& visitor) const;

  // The lowest number from `from` to `last` that is neither held nor known to be absent.
  std::optional<std::int64_t> first_missing(std::int64_t from, std::int64_t last) const;
  // Counts within [first, last].
  std::int64_t held_count(std::int64_t first, std::int64_t last) const;
  std::int64_t absent_count(std::int64_t first, std::int64_t last) const;

  // Commits one document. Throws ArchiveError, storing nothing, when the document names
  // another register (a DAT ZN or FN that is not the archive's). The first fiscal number
  // seen becomes the archive's when it had none.
  void store(const ArchivedDocument& document, const RegisterIdentity& named_by_document);
  // Commits a number the register said it does not have.
  void store_absent(std::int64_t number, const std::string& checked_at);

 private:
  explicit TapeArchive(Database database) : db_(std::move(database)) {}
  // Refuses a file that is no Talqen archive or one of a later schema; path for the message.
  void check_schema(const std::string& path);
  void create_schema(const RegisterIdentity& identity);

  Database db_;
};

// "YYYY-MM-DDThh:mm:ssZ" of the present moment.
std::string utc_now();

// The default archive file of a register: "<serial>.talqen.db", the serial reduced to
// characters that are safe in a file name on every system.
std::string default_archive_name(std::string_view serial);

}  // namespace archive
