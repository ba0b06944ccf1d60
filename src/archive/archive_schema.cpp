// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/archive_schema.hpp"

#include <map>
#include <string>
#include <vector>

#include "archive/tape_archive.hpp"

namespace archive {

namespace {

// Schema 1: the register known by its answer to the connection check.
constexpr std::string_view kSchema1 = R"(
CREATE TABLE register_identity (
  id INTEGER PRIMARY KEY CHECK (id = 1),
  serial TEXT NOT NULL,
  fiscal_number TEXT NOT NULL,
  begun_at TEXT NOT NULL
);
CREATE TABLE document (
  number INTEGER PRIMARY KEY,
  kind TEXT NOT NULL CHECK (kind IN ('receipt', 'z-report')),
  timestamp TEXT NOT NULL,
  z_number INTEGER,
  text BLOB NOT NULL,
  fetched_at TEXT NOT NULL
);
CREATE INDEX document_by_z_number ON document (z_number);
CREATE INDEX document_by_timestamp ON document (timestamp);
CREATE TABLE absent (
  number INTEGER PRIMARY KEY,
  checked_at TEXT NOT NULL
);
)";

// Schema 1 kept the connection check's numbers as the archive's identity.
constexpr std::string_view kUpgradeFromSchema1 = R"(
ALTER TABLE register_identity RENAME COLUMN serial TO answer_serial;
ALTER TABLE register_identity RENAME COLUMN fiscal_number TO answer_fiscal_number;
ALTER TABLE register_identity ADD COLUMN serial TEXT NOT NULL DEFAULT '';
ALTER TABLE register_identity ADD COLUMN fiscal_number TEXT NOT NULL DEFAULT '';
ALTER TABLE register_identity ADD COLUMN till_number TEXT NOT NULL DEFAULT '';
)";

// Schema 2 did not keep where the register's tape begins.
constexpr std::string_view kUpgradeFromSchema2 = R"(
CREATE TABLE tape_beginning (
  id INTEGER PRIMARY KEY CHECK (id = 1),
  first_number INTEGER NOT NULL,
  asked_at TEXT NOT NULL
);
)";

// One table or index of a file as its shape: what the file's SQL makes of it, column by
// column, in words that can be shown.
struct SchemaObject {
  std::string type;  // "table", "index", "view", "trigger"
  std::vector<std::string> shape;
};

std::string column_shape(const Statement& column) {
  // name, type, notnull, dflt_value, pk, hidden
  std::string shape = std::string(column.text(0)) + " " + std::string(column.text(1));
  if (column.integer(2) != 0) shape += " NOT NULL";
  if (!column.is_null(3)) shape += " DEFAULT " + std::string(column.text(3));
  if (column.integer(4) != 0) shape += " PRIMARY KEY";
  if (column.integer(5) != 0) shape += " (generated or hidden)";
  return shape;
}

// Every object of the file but SQLite's own bookkeeping (statistics, sequences). The
// SQL of the objects is never run: only SQLite's description of what it makes is read.
std::map<std::string, SchemaObject> objects_of(const Database& db) {
  std::map<std::string, SchemaObject> objects;
  Statement listed = db.prepare("SELECT type, name, tbl_name, sql FROM sqlite_schema ORDER BY type, name");
  std::vector<std::pair<std::string, std::string>> tables;  // name, sql
  while (listed.step()) {
    const std::string type(listed.text(0)), name(listed.text(1));
    if (name.starts_with("sqlite_stat") || name == "sqlite_sequence") continue;
    SchemaObject& object = objects[name];
    object.type = type;
    if (type == "index") object.shape.push_back("on " + std::string(listed.text(2)));
    if (type == "table") tables.emplace_back(name, std::string(listed.text(3)));
  }
  for (const auto& [name, sql] : tables) {
    SchemaObject& table = objects[name];
    // A virtual table's columns come from its module, which a file from elsewhere may name.
    if (sql.size() >= 20 && sql.compare(0, 20, "CREATE VIRTUAL TABLE") == 0) {
      table.type = "virtual table";
      continue;
    }
    Statement kind = db.prepare("SELECT wr, strict FROM pragma_table_list(?1) WHERE schema = 'main'");
    kind.bind(1, name);
    if (kind.step()) {
      if (kind.integer(0) != 0) table.shape.push_back("WITHOUT ROWID");
      if (kind.integer(1) != 0) table.shape.push_back("STRICT");
      while (kind.step()) {
      }
    }
    Statement columns = db.prepare("SELECT name, type, \"notnull\", dflt_value, pk, hidden FROM pragma_table_xinfo(?1)");
    columns.bind(1, name);
    while (columns.step()) table.shape.push_back("column " + column_shape(columns));
  }
  for (auto& [name, object] : objects) {
    if (object.type != "index") continue;
    Statement flags = db.prepare("SELECT \"unique\", partial FROM pragma_index_list(?1) WHERE name = ?2");
    flags.bind(1, object.shape.front().substr(3));
    flags.bind(2, name);
    while (flags.step()) {
      if (flags.integer(0) != 0) object.shape.push_back("UNIQUE");
      if (flags.integer(1) != 0) object.shape.push_back("WHERE ...");
    }
    Statement keys = db.prepare("SELECT name, \"desc\", coll FROM pragma_index_xinfo(?1) WHERE key = 1 ORDER BY seqno");
    keys.bind(1, name);
    while (keys.step()) {
      std::string key = keys.is_null(0) ? std::string("(an expression)") : std::string(keys.text(0));
      if (keys.integer(1) != 0) key += " DESC";
      if (keys.text(2) != "BINARY") key += " COLLATE " + std::string(keys.text(2));
      object.shape.push_back("key " + key);
    }
  }
  return objects;
}

std::string a_or_an(const std::string& word) {
  return (word.front() == 'i' || word.front() == 'a' ? "an " : "a ") + word;
}

// The tables of schema `version`, made in memory the way a file of that version got them.
Database expected_schema(int version) {
  Database memory(":memory:", Database::Mode::ReadWriteCreate);
  memory.execute(kSchema1);
  for (int from = 1; from < version; ++from) memory.execute(upgrade_statements(from));
  return memory;
}

}  // namespace

std::string schema_statements() {
  // A new file goes the way every older one went, so the two can never differ.
  std::string statements(kSchema1);
  for (int from = 1; from < kSchemaVersion; ++from) statements += upgrade_statements(from);
  return statements;
}

std::string_view upgrade_statements(int from) {
  switch (from) {
    case 1: return kUpgradeFromSchema1;
    case 2: return kUpgradeFromSchema2;
    default: return {};
  }
}

std::optional<std::string> schema_difference(const Database& file, int version) {
  const std::map<std::string, SchemaObject> found = objects_of(file);
  const std::map<std::string, SchemaObject> expected = objects_of(expected_schema(version));
  // What a file brings of its own is told first, code (views, triggers) before data:
  // that is what a hostile one would add.
  for (const std::string_view kind : {"view", "trigger", "virtual table", ""})
    for (const auto& [name, object] : found)
      if ((kind.empty() || object.type == kind) && (!expected.contains(name) || expected.at(name).type != object.type))
        return "it holds " + a_or_an(object.type) + " named " + name + ", which no Talqen archive has";
  for (const auto& [name, object] : expected)
    if (!found.contains(name)) return "it lacks the " + object.type + " " + name;
  for (const auto& [name, object] : expected) {
    const std::vector<std::string>& shape = found.at(name).shape;
    if (shape == object.shape) continue;
    std::size_t i = 0;
    while (i < shape.size() && i < object.shape.size() && shape[i] == object.shape[i]) ++i;
    const std::string want = i < object.shape.size() ? object.shape[i] : "nothing more";
    const std::string got = i < shape.size() ? shape[i] : "nothing more";
    return "its " + object.type + " " + name + " is not as Talqen makes it (" + want + " expected, " + got + " found)";
  }
  return std::nullopt;
}

}  // namespace archive
