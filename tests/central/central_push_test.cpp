// SPDX-License-Identifier: GPL-3.0-or-later
// talqen-cli push against a real server, from archives of generated tapes: a push sends
// only what the centre lacks, pushes at once or one killed in the middle never store a
// document twice or lose one, a stored text is never overwritten, and a centre that
// cannot be had ends the push within its bounded wait.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "archive/arrived_document.hpp"
#include "archive/sha256.hpp"
#include "archive/sqlite_database.hpp"
#include "archive/tape_archive.hpp"
#include "e2e/cli_process.hpp"
#include "support/generated_tape.hpp"
#include "support/run_program.hpp"
#include "support/temp_dir.hpp"
#include "support/test_centre.hpp"

namespace {

using testing_support::read_file;
using testing_support::run_program;
using testing_support::TempDir;

constexpr const char* kRegister = "4000000001";

// The archive at path holds the first `documents` of a generated tape of the register,
// each text passed through `change` first; documents it held already stay as they are.
void write_archive(const std::string& path, long documents, const std::string& serial = kRegister,
                   const std::string& fiscal_number = "3000000001",
                   const std::function<void(long, std::string&)>& change = {}) {
  archive::TapeArchive tape = archive::TapeArchive::open_for_register(path, {serial, fiscal_number});
  long number = 0;
  testing_support::GeneratedTape({static_cast<int>(documents / 9 + 1), 6, 0, serial, fiscal_number},
                                 [&](std::string&& text) {
                                   if (number >= documents) return;
                                   ++number;
                                   if (change) change(number, text);
                                   const archive::ArrivedDocument arrived =
                                       archive::ReadArrivedDocument(static_cast<std::int32_t>(number), std::move(text),
                                                                    "2024-06-01T10:00:00Z");
                                   tape.store(arrived.document, arrived.named);
                                 });
}

struct Outcome {
  int exit_code;
  std::string out, err;
  double seconds;
};

class CentralPush : public testing::Test {
 protected:
  void SetUp() override {
    std::string why_not;
    found_ = testing_support::TestCentre::open(why_not);
    if (!found_) GTEST_SKIP() << why_not;
    database_ = found_->fresh_database();
    to_ = found_->uri(database_);
    const Outcome init = cli("central init --to '" + to_ + "'");
    ASSERT_EQ(init.exit_code, 0) << init.err;
  }

  Outcome cli(const std::string& arguments) const {
    const auto start = std::chrono::steady_clock::now();
    const auto run = run_program("cd " + dir.path().string() + " && " + TALQEN_CLI + " " + arguments + " 2>err.txt");
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return {run.exit_code, run.output, read_file(dir.file("err.txt")), took.count()};
  }
  Outcome push(const std::string& archive) const { return cli("push --db " + archive + " --to '" + to_ + "'"); }

  archive::PostgresConnection centre() const { return found_->connect(database_); }
  std::int64_t count(const std::string& query) const { return centre().query(query).integer(0, 0); }
  std::int64_t documents_of(const std::string& serial) const {
    return centre()
        .query("SELECT count(*) FROM talqen.document d JOIN talqen.register r ON r.id = d.register_id WHERE r.serial = $1",
               {archive::SqlValue(serial)})
        .integer(0, 0);
  }

  // An archive commits each document to the disk: made in memory, where there is a
  // folder of it, the test's archives take seconds, not minutes.
  static std::filesystem::path memory_folder() {
    std::error_code ec;
    return std::filesystem::is_directory("/dev/shm", ec) ? std::filesystem::path("/dev/shm")
                                                         : std::filesystem::temp_directory_path();
  }

  TempDir dir{memory_folder()};
  std::optional<testing_support::TestCentre> found_;
  std::string database_, to_;
};

TEST_F(CentralPush, ASecondPushSendsNothingAndALaterOneOnlyWhatCameSince) {
  const std::string archive = dir.file("tape.db");
  write_archive(archive, 1500);
  {
    archive::TapeArchive tape = archive::TapeArchive::open_for_register(archive, {kRegister, "3000000001"});
    for (const std::int64_t n : {1501, 1502}) tape.store_absent(n, "2024-06-01T10:00:01Z");
    tape.store_tape_beginning({1, "2024-06-01T09:59:00Z"});
  }
  struct Step {
    long documents;  // the archive after the fill before this push
    const char* line;
  };
  const Step steps[] = {
      {1500, "pushed 1500, held 0, conflicts 0\n"},
      {1500, "pushed 0, held 1500, conflicts 0\n"},
      {2100, "pushed 600, held 1500, conflicts 0\n"},
  };
  for (const Step& step : steps) {
    write_archive(archive, step.documents);
    const std::string bytes_before = read_file(archive);
    const Outcome pushed = push(archive);
    EXPECT_EQ(pushed.exit_code, 0) << pushed.err;
    EXPECT_EQ(pushed.out, step.line);
    EXPECT_EQ(read_file(archive), bytes_before) << "the push changed the archive";
  }
  EXPECT_EQ(documents_of(kRegister), 2100);
  EXPECT_EQ(count("SELECT count(*) FROM talqen.absent"), 2);
  EXPECT_EQ(count("SELECT count(*) FROM talqen.tape_beginning"), 1);
  EXPECT_EQ(count("SELECT count(*) FROM talqen.push WHERE ended_at IS NOT NULL"), 3);

  // Byte for byte the archive's texts, and the server's digest of them is the program's.
  const archive::TapeArchive tape = archive::TapeArchive::open_existing(archive);
  archive::PostgresConnection connection = centre();
  const archive::PostgresResult stored =
      connection.query("SELECT number, text, sha256 FROM talqen.document ORDER BY number");
  int row = 0;
  tape.visit({}, [&](const archive::ArchivedDocument& document) {
    ASSERT_LT(row, stored.rows());
    EXPECT_EQ(stored.integer(row, 0), document.number);
    EXPECT_EQ(stored.bytes(row, 1), document.text);
    EXPECT_EQ(stored.bytes(row, 2), archive::sha256(document.text));
    ++row;
  });
  EXPECT_EQ(row, 2100);
}

TEST_F(CentralPush, FourPushesAtOnceTwoOfOneRegisterStoreEveryDocumentOnce) {
  struct Archive {
    const char* file;
    const char* serial;
    long documents;
  };
  const Archive archives[] = {
      {"a.db", "4000000001", 3000}, {"a-copy.db", "4000000001", 3000}, {"b.db", "4000000002", 2000}, {"c.db", "4000000003", 1000}};
  std::string together;
  for (const Archive& a : archives) {
    write_archive(dir.file(a.file), a.documents, a.serial);
    together += std::string("( ") + TALQEN_CLI + " push --db " + a.file + " --to '" + to_ + "' >" + a.file + ".out 2>" +
                a.file + ".err; echo $? >" + a.file + ".status ) & ";
  }
  run_program("cd " + dir.path().string() + " && { " + together + "wait; }");
  std::int64_t pushed_of_first = 0;
  for (const Archive& a : archives) {
    EXPECT_EQ(read_file(dir.file(std::string(a.file) + ".status")), "0\n") << read_file(dir.file(std::string(a.file) + ".err"));
    const std::string line = read_file(dir.file(std::string(a.file) + ".out"));
    long pushed = -1, held = -1, conflicts = -1;
    ASSERT_EQ(std::sscanf(line.c_str(), "pushed %ld, held %ld, conflicts %ld", &pushed, &held, &conflicts), 3) << line;
    EXPECT_EQ(pushed + held, a.documents) << a.file;
    EXPECT_EQ(conflicts, 0);
    if (std::string(a.serial) == kRegister) pushed_of_first += pushed;
  }
  EXPECT_EQ(pushed_of_first, 3000) << "the two pushes of one register stored a document twice or lost one";
  for (const Archive& a : archives) EXPECT_EQ(documents_of(a.serial), a.documents) << a.serial;
  EXPECT_EQ(count("SELECT count(*) FROM talqen.register"), 3);
}

TEST_F(CentralPush, APushKilledInTheMiddleIsCompletedByTheNextWithNothingTwice) {
  const std::string archive = dir.file("tape.db");
  constexpr long kDocuments = 20000;
  write_archive(archive, kDocuments);
  std::int64_t stored_when_killed = 0;
  {
    e2e::CliProcess running(dir.path().string(), {"push", "--db", archive, "--to", to_});
    archive::PostgresConnection watching = centre();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (stored_when_killed == 0 && std::chrono::steady_clock::now() < deadline) {
      stored_when_killed = watching.query("SELECT count(*) FROM talqen.document").integer(0, 0);
      if (stored_when_killed == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    running.signal(SIGKILL);
    EXPECT_EQ(running.wait(10000), -1);
  }
  const std::int64_t stored = count("SELECT count(*) FROM talqen.document");
  ASSERT_GT(stored, 0);
  ASSERT_LT(stored, kDocuments) << "the push ended before it could be killed";
  EXPECT_EQ(count("SELECT count(*) FROM talqen.push WHERE ended_at IS NULL"), 1);

  const Outcome again = push(archive);
  EXPECT_EQ(again.exit_code, 0) << again.err;
  EXPECT_EQ(again.out, "pushed " + std::to_string(kDocuments - stored) + ", held " + std::to_string(stored) +
                           ", conflicts 0\n");
  EXPECT_EQ(count("SELECT count(DISTINCT number) FROM talqen.document"), kDocuments);
  EXPECT_EQ(count("SELECT count(*) FROM talqen.document"), kDocuments);
}

TEST_F(CentralPush, AnotherTextOfAStoredDocumentIsAConflictAndTheStoredOneStays) {
  write_archive(dir.file("first.db"), 1200);
  ASSERT_EQ(push("first.db").exit_code, 0);
  const std::string stored_text(
      centre().query("SELECT text FROM talqen.document WHERE number = 1100").bytes(0, 0));

  struct Case {
    const char* file;
    std::string fiscal_number;
    std::function<void(long, std::string&)> change;
    const char* line;  // stdout; empty: none
    const char* told;  // on stderr
  };
  const auto another_amount = [](long n, std::string& text) {
    if (n == 1100) text.replace(text.find("</TS>") - 2, 2, "59");
  };
  const Case cases[] = {
      {"changed.db", "3000000001", another_amount, "pushed 0, held 1199, conflicts 1\n",
       "register 4000000001, document 1100: the centre holds another text"},
      {"other-fiscal-number.db", "3000000002", {}, "pushed 0, held 0, conflicts 0\n", "fiscal number 3000000001"},
  };
  for (const Case& c : cases) {
    write_archive(dir.file(c.file), 1200, kRegister, c.fiscal_number, c.change);
    for (int attempt = 0; attempt < 2; ++attempt) {
      const Outcome pushed = push(c.file);
      EXPECT_EQ(pushed.exit_code, 1) << c.file << pushed.err;
      EXPECT_EQ(pushed.out, c.line) << c.file;
      EXPECT_NE(pushed.err.find(c.told), std::string::npos) << pushed.err;
    }
  }
  EXPECT_EQ(centre().query("SELECT text FROM talqen.document WHERE number = 1100").bytes(0, 0), stored_text);
  EXPECT_EQ(count("SELECT count(*) FROM talqen.conflict WHERE number = 1100 AND stored_sha256 <> pushed_sha256"), 1);
  EXPECT_EQ(documents_of(kRegister), 1200);
}

TEST_F(CentralPush, ARowOfTheArchiveThatCannotBeReadIsNamedAndNotPushed) {
  const std::string file = dir.file("tape.db");
  write_archive(file, 300);
  archive::Database(file, archive::Database::Mode::ReadWriteCreate)
      .execute("UPDATE document SET fetched_at = 'yesterday' WHERE number = 7");
  const Outcome pushed = push("tape.db");
  EXPECT_EQ(pushed.exit_code, 1);
  EXPECT_EQ(pushed.out, "pushed 299, held 0, conflicts 0\n");
  EXPECT_NE(pushed.err.find("document 7 of the archive cannot be read"), std::string::npos) << pushed.err;
  EXPECT_EQ(count("SELECT count(*) FROM talqen.document WHERE number = 7"), 0);
}

// A port on the loopback address whose connections the kernel takes and no one answers:
// a server that has hung, or a line that swallows what is sent.
class SilentPort {
 public:
  SilentPort() {
    socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (::bind(socket_, reinterpret_cast<sockaddr*>(&address), size) != 0 || ::listen(socket_, 16) != 0 ||
        ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
      ADD_FAILURE() << "no loopback port to listen on";
    port_ = ntohs(address.sin_port);
  }
  ~SilentPort() { ::close(socket_); }
  int port() const { return port_; }

 private:
  int socket_ = -1;
  int port_ = 0;
};

TEST_F(CentralPush, ACentreThatCannotBeHadEndsThePushWithinItsWait) {
  write_archive(dir.file("tape.db"), 50);
  const std::string bytes_before = read_file(dir.file("tape.db"));
  const std::string bare = found_->fresh_database();
  const SilentPort silent;
  struct Case {
    std::string to;
    const char* told;
    double seconds;  // at most
  };
  const Case cases[] = {
      // A port where nothing listens: refused at once.
      {"postgresql://127.0.0.1:1/chain", "cannot reach", 5},
      // A server that never answers, and no time-out set by the user: the program's own
      // ten seconds end the wait.
      {"postgresql://127.0.0.1:" + std::to_string(silent.port()) + "/chain?sslmode=disable", "timeout", 14},
      {found_->uri(bare), "talqen-cli central init", 5},
  };
  for (const Case& c : cases) {
    const Outcome pushed = cli("push --db tape.db --to '" + c.to + "'");
    EXPECT_EQ(pushed.exit_code, 2) << c.to << pushed.err;
    EXPECT_EQ(pushed.out, "");
    EXPECT_NE(pushed.err.find(c.told), std::string::npos) << pushed.err;
    EXPECT_LT(pushed.seconds, c.seconds) << c.to;
  }
  EXPECT_EQ(read_file(dir.file("tape.db")), bytes_before);
}

}  // namespace
