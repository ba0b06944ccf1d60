// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/central_schema.hpp"

#include <string>
#include <string_view>

namespace archive {

namespace {

// Schema 1. The checks keep out what no archive holds, whoever inserts it; the SHA-256
// of a text is the server's own, so no pusher can store one that does not fit.
constexpr std::string_view kSchema1 = R"(
CREATE TABLE talqen.schema_version (version integer NOT NULL);
INSERT INTO talqen.schema_version (version) VALUES (1);

CREATE TABLE talqen.register (
  id bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
  serial text NOT NULL UNIQUE CHECK (serial <> ''),
  fiscal_number text NOT NULL DEFAULT '',
  till_number text NOT NULL DEFAULT '',
  first_pushed_at timestamptz NOT NULL DEFAULT now()
);

CREATE TABLE talqen.document (
  register_id bigint NOT NULL REFERENCES talqen.register,
  number bigint NOT NULL CHECK (number BETWEEN 1 AND 2147483647),
  kind text NOT NULL CHECK (kind IN ('receipt', 'z-report')),
  z_number integer CHECK (z_number >= 0),
  timestamp text NOT NULL CHECK (timestamp ~ '^([0-9]{14})?$'),
  text bytea NOT NULL CHECK (length(text) BETWEEN 1 AND 1048576),
  sha256 bytea NOT NULL GENERATED ALWAYS AS (sha256(text)) STORED,
  fetched_at text NOT NULL CHECK (fetched_at ~ '^[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}Z$'),
  received_at timestamptz NOT NULL DEFAULT now(),
  PRIMARY KEY (register_id, number)
);
CREATE INDEX document_by_z_number ON talqen.document (register_id, z_number);
CREATE INDEX document_by_timestamp ON talqen.document (register_id, timestamp);

CREATE TABLE talqen.absent (
  register_id bigint NOT NULL REFERENCES talqen.register,
  number bigint NOT NULL CHECK (number BETWEEN 1 AND 2147483647),
  checked_at text NOT NULL,
  received_at timestamptz NOT NULL DEFAULT now(),
  PRIMARY KEY (register_id, number)
);

-- Append-only: where the register's tape begins is the row it was asked for last.
CREATE TABLE talqen.tape_beginning (
  register_id bigint NOT NULL REFERENCES talqen.register,
  first_number bigint NOT NULL CHECK (first_number BETWEEN 1 AND 2147483647),
  asked_at text NOT NULL,
  received_at timestamptz NOT NULL DEFAULT now(),
  PRIMARY KEY (register_id, asked_at)
);

-- A document pushed with a text other than the one stored: the stored one stays.
CREATE TABLE talqen.conflict (
  register_id bigint NOT NULL REFERENCES talqen.register,
  number bigint NOT NULL,
  stored_sha256 bytea NOT NULL,
  pushed_sha256 bytea NOT NULL,
  host text NOT NULL,
  detected_at timestamptz NOT NULL DEFAULT now(),
  PRIMARY KEY (register_id, number, pushed_sha256)
);

-- One row a push; ended_at stays NULL while it runs, and for ever when it was stopped.
CREATE TABLE talqen.push (
  id bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
  register_id bigint NOT NULL REFERENCES talqen.register,
  host text NOT NULL,
  pushed integer NOT NULL DEFAULT 0,
  held integer NOT NULL DEFAULT 0,
  conflicts integer NOT NULL DEFAULT 0,
  started_at timestamptz NOT NULL DEFAULT now(),
  ended_at timestamptz
);
CREATE INDEX push_by_register ON talqen.push (register_id, started_at);

-- A register is known by its tape: its numbers fill in once and never change after.
CREATE FUNCTION talqen.register_numbers_fill_in() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
  IF NEW.serial <> OLD.serial OR NEW.first_pushed_at <> OLD.first_pushed_at
     OR (OLD.fiscal_number <> '' AND NEW.fiscal_number <> OLD.fiscal_number)
     OR (OLD.till_number <> '' AND NEW.till_number <> OLD.till_number) THEN
    RAISE EXCEPTION 'register %: its numbers fill in once and never change', OLD.serial
      USING ERRCODE = 'integrity_constraint_violation';
  END IF;
  RETURN NEW;
END
$$;
CREATE TRIGGER register_numbers_fill_in BEFORE UPDATE ON talqen.register
  FOR EACH ROW EXECUTE FUNCTION talqen.register_numbers_fill_in();
)";

// The roles are the cluster's, shared by its databases: made where missing (another
// database's init may be making them at the same moment), then given this database.
constexpr std::string_view kRoles = R"(
DO $$
DECLARE
  role text;
BEGIN
  FOREACH role IN ARRAY ARRAY['talqen_push', 'talqen_read'] LOOP
    IF NOT EXISTS (SELECT FROM pg_catalog.pg_roles WHERE rolname = role) THEN
      BEGIN
        EXECUTE format('CREATE ROLE %I NOLOGIN', role);
      EXCEPTION WHEN duplicate_object OR unique_violation THEN
        NULL;
      END;
    END IF;
  END LOOP;
  EXECUTE format('GRANT CONNECT, TEMPORARY ON DATABASE %I TO talqen_push', current_database());
  EXECUTE format('GRANT CONNECT ON DATABASE %I TO talqen_read', current_database());
END
$$;
GRANT USAGE ON SCHEMA talqen TO talqen_push, talqen_read;
GRANT SELECT ON ALL TABLES IN SCHEMA talqen TO talqen_push, talqen_read;
GRANT INSERT ON talqen.register, talqen.document, talqen.absent, talqen.tape_beginning, talqen.conflict, talqen.push
  TO talqen_push;
GRANT UPDATE (fiscal_number, till_number) ON talqen.register TO talqen_push;
GRANT UPDATE (pushed, held, conflicts, ended_at) ON talqen.push TO talqen_push;
GRANT USAGE ON ALL SEQUENCES IN SCHEMA talqen TO talqen_push;
)";

CentralError refused(PostgresConnection& centre, const std::string& why) {
  return CentralError(centre.shown() + " " + why, CentralError::Cause::Refused);
}

void refuse_later_schema(PostgresConnection& centre, std::int64_t version) {
  if (version > kCentralSchemaVersion)
    throw refused(centre, "holds central schema " + std::to_string(version) + ", written by a later Talqen; this one knows up to " +
                              std::to_string(kCentralSchemaVersion));
}

}  // namespace

CentralInit initialise_centre(PostgresConnection& centre) {
  PostgresTransaction transaction(centre);
  // Two inits at once: the second waits, then finds the schema made.
  centre.query("SELECT pg_advisory_xact_lock($1, 0)", {SqlValue(kCentralLockClass)});
  const PostgresResult found = centre.query(
      "SELECT n.oid IS NOT NULL, to_regclass('talqen.schema_version') IS NOT NULL, "
      "       (SELECT count(*) FROM pg_catalog.pg_class c WHERE c.relnamespace = n.oid) "
      "FROM (SELECT NULL) AS one LEFT JOIN pg_catalog.pg_namespace n ON n.nspname = 'talqen'");
  const bool schema = found.bytes(0, 0) == std::string_view("\1", 1);
  const bool versioned = found.bytes(0, 1) == std::string_view("\1", 1);
  if (versioned) {
    const PostgresResult version = centre.query("SELECT max(version) FROM talqen.schema_version");
    if (version.is_null(0, 0)) throw refused(centre, "holds a schema talqen whose version is not recorded");
    refuse_later_schema(centre, version.integer(0, 0));
    if (version.integer(0, 0) < 1) throw refused(centre, "holds a schema talqen of no version Talqen wrote");
    transaction.commit();
    return CentralInit::AlreadyThere;
  }
  // A schema made beforehand (by an administrator, for its owner) is used while empty.
  if (schema && found.integer(0, 2) != 0)
    throw refused(centre, "holds a schema talqen with tables that Talqen did not make");
  if (!schema) centre.execute("CREATE SCHEMA talqen");
  centre.execute(kSchema1);
  centre.execute(kRoles);
  transaction.commit();
  return CentralInit::Created;
}

void require_central_schema(PostgresConnection& centre) {
  try {
    const PostgresResult version = centre.query("SELECT max(version) FROM talqen.schema_version");
    if (version.is_null(0, 0)) throw refused(centre, "holds a schema talqen whose version is not recorded");
    refuse_later_schema(centre, version.integer(0, 0));
  } catch (const CentralError& e) {
    if (!e.no_schema()) throw;
    throw CentralError(centre.shown() + " holds no Talqen central schema: make it with talqen-cli central init --to " +
                           centre.shown(),
                       CentralError::Cause::Refused, e.sqlstate());
  }
}

}  // namespace archive
