// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/central_push.hpp"

#include <map>
#include <optional>
#include <utility>

#include "archive/central_schema.hpp"
#include "archive/sha256.hpp"
#include "archive/stored_row.hpp"
#include "text/cp1251.hpp"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace archive {

namespace {

// The centre is asked about numbers 1024 at a time (number >> kBlockBits).
constexpr int kBlockBits = 10;
// A batch: one transaction, one COPY. Large enough that round trips cost little, small
// enough that a lock held for it is short and a push stopped loses little work.
constexpr std::size_t kBatchDocuments = 5000;
constexpr std::size_t kBatchBytes = 8 * 1024 * 1024;
constexpr std::size_t kAbsentBatch = 10000;

constexpr std::string_view kIncoming =
    "CREATE TEMPORARY TABLE IF NOT EXISTS talqen_incoming (number bigint, kind text, z_number integer, "
    "timestamp text, text bytea, fetched_at text) ON COMMIT DELETE ROWS;"
    "CREATE TEMPORARY TABLE IF NOT EXISTS talqen_incoming_absent (number bigint, checked_at text) "
    "ON COMMIT DELETE ROWS";

constexpr std::string_view kInsertDocuments =
    "INSERT INTO talqen.document (register_id, number, kind, z_number, timestamp, text, fetched_at) "
    "SELECT $1, number, kind, z_number, timestamp, text, fetched_at FROM talqen_incoming ORDER BY number "
    "ON CONFLICT (register_id, number) DO NOTHING";

// After the insert, within its transaction: the batch's documents whose stored text is
// another, each recorded once as a conflict, all of them named.
constexpr std::string_view kConflicts = R"(
WITH differing AS (
  SELECT i.number, d.sha256 AS stored, sha256(i.text) AS pushed
  FROM talqen_incoming i JOIN talqen.document d ON d.register_id = $1 AND d.number = i.number
  WHERE d.sha256 <> sha256(i.text)
), recorded AS (
  INSERT INTO talqen.conflict (register_id, number, stored_sha256, pushed_sha256, host)
  SELECT $1, number, stored, pushed, $2 FROM differing
  ON CONFLICT DO NOTHING
)
SELECT number, stored, pushed FROM differing ORDER BY number
)";

// Each block of numbers the centre holds documents in: how many, and the SHA-256 of their
// SHA-256s in number order.
constexpr std::string_view kBlocks =
    "SELECT number >> 10, count(*), sha256(string_agg(sha256, ''::bytea ORDER BY number)) "
    "FROM talqen.document WHERE register_id = $1 GROUP BY 1";

// The absent numbers the centre holds, as runs of consecutive numbers.
constexpr std::string_view kAbsentRuns =
    "SELECT min(number), max(number) FROM (SELECT number, number - row_number() OVER (ORDER BY number) AS run "
    "FROM talqen.absent WHERE register_id = $1) AS numbered GROUP BY run ORDER BY 1";

struct Stopped {};

// What a text column of the centre takes from a file: printable ASCII, else nothing.
std::string printable(std::string_view text) {
  for (const char c : text)
    if (c < 0x20 || c > 0x7e) return {};
  return std::string(text);
}

struct LocalDocument {
  ArchivedDocument document;
  std::string sha256;
};

struct Block {
  std::int64_t count = 0;
  std::string digest;
};

class Push {
 public:
  Push(const TapeArchive& archive, PostgresConnection& centre, const std::string& host, const PushEvents& events)
      : archive_(archive), centre_(centre), host_(host), events_(events) {}

  PushReport run() {
    require_central_schema(centre_);
    const RegisterIdentity identity = archive_.identity();
    report_.serial = identity.serial;
    // An archive no document has named yet holds nothing the centre could keep.
    if (identity.serial.empty()) return report_;
    if (!register_of(identity)) return report_;
    push_id_ = centre_.query("INSERT INTO talqen.push (register_id, host) VALUES ($1, $2) RETURNING id",
                             {SqlValue(register_id_), SqlValue(host_)})
                   .integer(0, 0);
    centre_.execute(kIncoming);
    read_centre_blocks();
    progress_.documents_total = archive_.held_count(1, kMaxDocumentNumber);
    try {
      archive_.visit({}, [&](const ArchivedDocument& document) { take(document); });
      settle_block();
      send_batch();
      push_absent_numbers();
      push_tape_beginning();
    } catch (const Stopped&) {
      report_.stopped = true;
    }
    centre_.query("UPDATE talqen.push SET pushed = $2, held = $3, conflicts = $4, ended_at = now() WHERE id = $1",
                  {SqlValue(push_id_), SqlValue(report_.counts.pushed), SqlValue(report_.counts.held),
                   SqlValue(report_.counts.conflicts)});
    return report_;
  }

 private:
  // The centre's row of the register, made on its first push; false, with the refusal,
  // when the centre knows the register by another fiscal number.
  bool register_of(const RegisterIdentity& identity) {
    const std::string serial = text::to_utf8(identity.serial);
    const std::string fiscal = text::to_utf8(identity.fiscal_number);
    const std::string till = text::to_utf8(identity.till_number);
    centre_.query(
        "INSERT INTO talqen.register (serial, fiscal_number, till_number) VALUES ($1, $2, $3) "
        "ON CONFLICT (serial) DO NOTHING",
        {SqlValue(serial), SqlValue(fiscal), SqlValue(till)});
    const PostgresResult held =
        centre_.query("SELECT id, fiscal_number FROM talqen.register WHERE serial = $1", {SqlValue(serial)});
    register_id_ = held.integer(0, 0);
    const std::string held_fiscal(held.bytes(0, 1));
    if (!held_fiscal.empty() && !fiscal.empty() && held_fiscal != fiscal) {
      report_.refusal = "the centre holds register " + serial + " with fiscal number " + held_fiscal +
                        ", the archive's documents name " + fiscal + ": nothing pushed";
      return false;
    }
    // Numbers the tape named only after the first push fill in.
    centre_.query(
        "UPDATE talqen.register SET fiscal_number = CASE WHEN fiscal_number = '' THEN $2 ELSE fiscal_number END, "
        "till_number = CASE WHEN till_number = '' THEN $3 ELSE till_number END "
        "WHERE id = $1 AND ((fiscal_number = '' AND $2 <> '') OR (till_number = '' AND $3 <> ''))",
        {SqlValue(register_id_), SqlValue(fiscal), SqlValue(till)});
    return true;
  }

  void read_centre_blocks() {
    const PostgresResult blocks = centre_.query(kBlocks, {SqlValue(register_id_)});
    for (int row = 0; row < blocks.rows(); ++row)
      centre_blocks_[blocks.integer(row, 0)] = {blocks.integer(row, 1), std::string(blocks.bytes(row, 2))};
  }

  void take(const ArchivedDocument& document) {
    if (events_.stop && events_.stop()) throw Stopped{};
    ++progress_.documents_read;
    if (!document.unreadable.empty()) {
      ++report_.counts.unreadable;
      tell("document " + std::to_string(document.number) + " of the archive cannot be read (" + document.unreadable +
           "): not pushed");
      return;
    }
    const std::int64_t block = document.number >> kBlockBits;
    if (block != block_) settle_block();
    block_ = block;
    block_documents_.push_back({document, sha256(document.text)});
  }

  // The documents of one block of numbers, read: those the centre lacks or holds with
  // another text go into the batch; the rest it holds.
  void settle_block() {
    if (block_documents_.empty()) return;
    const auto centre_block = centre_blocks_.find(block_);
    if (centre_block != centre_blocks_.end()) {
      std::string digests;
      for (const LocalDocument& local : block_documents_) digests += local.sha256;
      if (centre_block->second.count == static_cast<std::int64_t>(block_documents_.size()) &&
          centre_block->second.digest == sha256(digests)) {
        report_.counts.held += static_cast<std::int64_t>(block_documents_.size());
        block_documents_.clear();
        report_progress();
        return;
      }
    }
    std::map<std::int64_t, std::string> stored;
    if (centre_block != centre_blocks_.end()) {
      const PostgresResult held = centre_.query(
          "SELECT number, sha256 FROM talqen.document WHERE register_id = $1 AND number BETWEEN $2 AND $3",
          {SqlValue(register_id_), SqlValue(block_ << kBlockBits), SqlValue(((block_ + 1) << kBlockBits) - 1)});
      for (int row = 0; row < held.rows(); ++row) stored[held.integer(row, 0)] = std::string(held.bytes(row, 1));
    }
    for (LocalDocument& local : block_documents_) {
      const auto found = stored.find(local.document.number);
      if (found != stored.end() && found->second == local.sha256) {
        ++report_.counts.held;
        continue;
      }
      batch_bytes_ += local.document.text.size();
      batch_.push_back(std::move(local.document));
      if (batch_.size() >= kBatchDocuments || batch_bytes_ >= kBatchBytes) send_batch();
    }
    block_documents_.clear();
    report_progress();
  }

  void lock_register() {
    centre_.query("SELECT pg_advisory_xact_lock($1, $2)", {SqlValue(kCentralLockClass), SqlValue(register_id_)});
  }

  void send_batch() {
    if (batch_.empty()) return;
    PushCounts counts = report_.counts;
    std::vector<std::string> conflicts;
    {
      PostgresTransaction transaction(centre_);
      lock_register();
      CopyIn copy = centre_.copy_in("COPY talqen_incoming FROM STDIN (FORMAT binary)");
      for (const ArchivedDocument& document : batch_) {
        copy.row(6);
        copy.field(document.number);
        copy.field(document.is_z_report ? std::string_view("z-report") : std::string_view("receipt"));
        if (document.z_number)
          copy.field_integer(*document.z_number);
        else
          copy.null_field();
        copy.field(document.timestamp);
        copy.field(document.text);
        copy.field(document.fetched_at);
      }
      copy.finish();
      const std::int64_t inserted = centre_.query(kInsertDocuments, {SqlValue(register_id_)}).rows_affected();
      std::int64_t differing_count = 0;
      // Every document went in: none can differ. Otherwise the few the centre held are
      // compared, with the temporary table's figures known to the planner, so that the
      // comparison looks them up rather than reads the register's every document.
      if (inserted < static_cast<std::int64_t>(batch_.size())) {
        centre_.execute("ANALYZE talqen_incoming");
        const PostgresResult differing = centre_.query(kConflicts, {SqlValue(register_id_), SqlValue(host_)});
        differing_count = differing.rows();
        for (int row = 0; row < differing.rows(); ++row)
          conflicts.push_back("register " + text::to_utf8(report_.serial) + ", document " +
                              std::to_string(differing.integer(row, 0)) + ": the centre holds another text (SHA-256 " +
                              hex(differing.bytes(row, 1)) + ", this archive's " + hex(differing.bytes(row, 2)) +
                              "); the centre keeps its own");
      }
      counts.pushed += inserted;
      counts.conflicts += differing_count;
      // The rest a push of the same register stored in the meantime, with the same text.
      counts.held += static_cast<std::int64_t>(batch_.size()) - inserted - differing_count;
      record_counts(counts);
      transaction.commit();
    }
    report_.counts = counts;
    for (const std::string& line : conflicts) tell(line);
    progress_.bytes_sent += static_cast<std::int64_t>(batch_bytes_);
    batch_.clear();
    batch_bytes_ = 0;
  }

  void record_counts(const PushCounts& counts) {
    centre_.query("UPDATE talqen.push SET pushed = $2, held = $3, conflicts = $4 WHERE id = $1",
                  {SqlValue(push_id_), SqlValue(counts.pushed), SqlValue(counts.held), SqlValue(counts.conflicts)});
  }

  // The numbers the register said it lacks that the centre does not hold as absent yet.
  void push_absent_numbers() {
    const PostgresResult runs = centre_.query(kAbsentRuns, {SqlValue(register_id_)});
    int run = 0;
    std::vector<std::pair<std::int64_t, std::string>> missing;
    archive_.visit_absent([&](std::int64_t number, std::string_view checked_at) {
      while (run < runs.rows() && runs.integer(run, 1) < number) ++run;
      if (run < runs.rows() && runs.integer(run, 0) <= number) return;
      missing.emplace_back(number, printable(checked_at));
    });
    for (std::size_t first = 0; first < missing.size(); first += kAbsentBatch) {
      if (events_.stop && events_.stop()) throw Stopped{};
      PostgresTransaction transaction(centre_);
      lock_register();
      CopyIn copy = centre_.copy_in("COPY talqen_incoming_absent FROM STDIN (FORMAT binary)");
      for (std::size_t i = first; i < missing.size() && i < first + kAbsentBatch; ++i) {
        copy.row(2);
        copy.field(missing[i].first);
        copy.field(missing[i].second);
      }
      copy.finish();
      centre_.query(
          "INSERT INTO talqen.absent (register_id, number, checked_at) "
          "SELECT $1, number, checked_at FROM talqen_incoming_absent ON CONFLICT DO NOTHING",
          {SqlValue(register_id_)});
      transaction.commit();
    }
  }

  void push_tape_beginning() {
    const std::optional<TapeBeginning> beginning = archive_.tape_beginning();
    if (!beginning) return;
    centre_.query(
        "INSERT INTO talqen.tape_beginning (register_id, first_number, asked_at) VALUES ($1, $2, $3) "
        "ON CONFLICT DO NOTHING",
        {SqlValue(register_id_), SqlValue(beginning->first_number), SqlValue(printable(beginning->asked_at))});
  }

  void tell(const std::string& line) const {
    if (events_.tell) events_.tell(line);
  }
  void report_progress() const {
    if (events_.progress) events_.progress(progress_);
  }

  const TapeArchive& archive_;
  PostgresConnection& centre_;
  const std::string& host_;
  const PushEvents& events_;
  PushReport report_;
  PushProgress progress_;
  std::int64_t register_id_ = 0;
  std::int64_t push_id_ = 0;
  std::map<std::int64_t, Block> centre_blocks_;
  std::int64_t block_ = -1;
  std::vector<LocalDocument> block_documents_;
  std::vector<ArchivedDocument> batch_;
  std::size_t batch_bytes_ = 0;
};

}  // namespace

PushReport push_archive(const TapeArchive& archive, PostgresConnection& centre, const std::string& host,
                        const PushEvents& events) {
  return Push(archive, centre, host, events).run();
}

std::string local_host_name() {
#ifdef _WIN32
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof name;
  const std::string found = GetComputerNameA(name, &size) ? std::string(name, size) : std::string();
#else
  char name[256] = {};
  const std::string found = ::gethostname(name, sizeof name - 1) == 0 ? std::string(name) : std::string();
#endif
  const std::string shown = printable(found);
  return shown.empty() ? "unknown" : shown;
}

std::string push_line(const PushCounts& counts) {
  return "pushed " + std::to_string(counts.pushed) + ", held " + std::to_string(counts.held) + ", conflicts " +
         std::to_string(counts.conflicts);
}

}  // namespace archive
