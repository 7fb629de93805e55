#include "kit/pg_server.h"

#include <libpq-fe.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

namespace qz::testkit {

namespace {

using Conn = std::unique_ptr<PGconn, decltype(&PQfinish)>;

Conn Connect() {
  auto info = PgServer();
  return Conn(info ? PQconnectdb(info->c_str()) : nullptr, PQfinish);
}

}  // namespace

std::optional<std::string> PgServer() {
  const char* v = std::getenv("QZ_TEST_PG");
  if (!v || !*v) return std::nullopt;
  return std::string(v);
}

std::string PgUnavailable() {
  if (!PgServer()) {
    return "PostgreSQL cases need a server: set QZ_TEST_PG to its connection string (scripts/test does)";
  }
  Conn c = Connect();
  if (PQstatus(c.get()) != CONNECTION_OK) {
    return "PostgreSQL server of QZ_TEST_PG not reachable: " + std::string(PQerrorMessage(c.get()));
  }
  return {};
}

std::string NewPgSchema() {
  static int serial = 0;
  return "t" + std::to_string(getpid()) + "_" + std::to_string(++serial);
}

bool DropPgSchema(const std::string& schema) {
  Conn c = Connect();
  if (PQstatus(c.get()) != CONNECTION_OK) return false;
  PGresult* r = PQexec(c.get(), ("SET client_min_messages = warning; DROP SCHEMA IF EXISTS \"" + schema + "\" CASCADE").c_str());
  const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
  PQclear(r);
  return ok;
}

std::string PgStorage(const std::string& schema) {
  return "POSTGRESQL " + PgServer().value_or("") + " schema=" + schema;
}

}  // namespace qz::testkit
