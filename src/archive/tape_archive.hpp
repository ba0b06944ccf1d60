// SPDX-License-Identifier: GPL-3.0-or-later
// The tape archive: one SQLite file holding one register's documents, each stored whole,
// as it arrived, in a transaction of its own, so that a run stopped in any way (a signal,
// a power cut, a pulled cable) loses nothing committed and the next run asks only for
// what is missing. A number the register does not have, up to its last one, is kept as
// absent, so that an archive that is up to date asks the register for nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "archive/archived_document.hpp"
#include "archive/sqlite_database.hpp"
#include "archive/tape_store.hpp"

namespace archive {

// The register as it answered the connection check: the factory number and, where the
// answer gives one, the fiscal number, spelled as the answer spells them. Compared only
// with the answer an earlier run stored, to tell another register on the line before
// anything is asked.
struct ConnectionAnswer {
  std::string factory_number;
  std::string fiscal_number;  // empty when the answer gives none
};

// The schema this program writes; an archive of a later one is refused, one of an earlier
// one is brought to this one when opened.
inline constexpr int kSchemaVersion = 3;

class TapeArchive final : public TapeStore {
 public:
  // An existing archive, to read. Throws ArchiveError for a file that is missing, is not
  // a Talqen archive, or was written by a later schema.
  static TapeArchive open_existing(const std::string& path);
  // The same, read exactly as it is: an archive of an earlier schema is not brought to
  // this one, so the file is never changed.
  static TapeArchive open_unchanged(const std::string& path);
  // What SQLite's quick check finds damaged in the file, in its words; nothing when the
  // file is whole, and nothing for a file that is no database (open_existing refuses it).
  static std::optional<std::string> damage(const std::string& path);
  // The archive of the register that gave this answer, made when the file does not exist.
  // Throws ArchiveError as open_existing does, and when the archive stored another
  // answer (another register on the line). A fiscal number the stored answer lacked is
  // taken from this one.
  static TapeArchive open_for_register(const std::string& path, const ConnectionAnswer& answer);

  RegisterIdentity identity() const override;
  ConnectionAnswer connection_answer() const;

  void visit(const ArchiveSelection& selection, const ArchivedDocumentVisitor& visitor) const override;

  // Each number the register said it does not have, in order, with when it said so
  // (empty where the file holds no text for it).
  void visit_absent(const std::function<void(std::int64_t number, std::string_view checked_at)>& visitor) const;

  // The lowest number from `from` to `last` that is neither held nor known to be absent.
  std::optional<std::int64_t> first_missing(std::int64_t from, std::int64_t last) const;
  // Documents held within [first, last].
  std::int64_t held_count(std::int64_t first, std::int64_t last) const;
  std::int64_t absent_count(std::int64_t first, std::int64_t last) const override;
  std::optional<std::int64_t> lowest_held() const override;

  // Commits one document. Throws ArchiveError, storing nothing, when the document names
  // another register (a DAT ZN or FN that is not the archive's). The first ZN, FN and TN
  // seen become the archive's while it has none.
  void store(const ArchivedDocument& document, const RegisterIdentity& named_by_document);
  // Commits a number the register said it does not have.
  void store_absent(std::int64_t number, const std::string& checked_at);

  std::optional<TapeBeginning> tape_beginning() const override;
  // Commits where the register's tape begins, in place of what was kept before.
  void store_tape_beginning(const TapeBeginning& beginning);

 private:
  explicit TapeArchive(Database database) : db_(std::move(database)) {}
  // The schema of the file; refuses one that is no Talqen archive or of a later schema.
  // path for the message.
  int check_schema(const std::string& path);
  void create_schema(const ConnectionAnswer& answer);
  // Brings an archive of an earlier schema to this one in one transaction. From schema 1,
  // whose identity was the connection check's: the answer kept as it was, the tape's
  // identity read from its documents. From schema 2: the table of where the tape begins.
  void upgrade();
  void adopt_identity_of_documents();
  // Fills the fields of the tape's identity that the archive does not have yet.
  void adopt_identity(const RegisterIdentity& held, const RegisterIdentity& named);
  std::int64_t count_between(std::string_view table, std::int64_t first, std::int64_t last) const;

  Database db_;
  int schema_ = kSchemaVersion;  // an archive that could not be upgraded (a file kept from writing) is read as it is
};

// "YYYY-MM-DDThh:mm:ssZ" of the present moment.
std::string utc_now();

// The default archive file of a register: "<factory number>.talqen.db", the factory
// number of its connection check's answer reduced to characters that are safe in a file
// name on every system.
std::string default_archive_name(std::string_view factory_number);

}  // namespace archive
