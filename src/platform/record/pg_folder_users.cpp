// FolderUsers of the PostgreSQL engine (pg_store.h): who else holds a
// folder's lock or one of its tables.
#include <libpq-fe.h>

#include <string>
#include <vector>

#include "platform/record/pg_connection.h"
#include "platform/record/pg_store.h"
#include "platform/record/status.h"

namespace qz::record::internal::pg {

int FolderUsers(const Location& location, std::vector<FolderUser>* users) {
  users->clear();
  int status = kStatusOk;
  auto conn = Connect(location.conninfo, &status);
  if (!conn) return status;
  // The exclusive lock, had and given back at once: no other session holds
  // the shared one. This session's own never stands in the way.
  Result r = RunText(*conn, "SELECT pg_try_advisory_lock" + kFolderKey, location.schema, &status);
  if (!r) return status;
  const bool free = PQntuples(r.get()) == 1 && *PQgetvalue(r.get(), 0, 0) != 0;
  if (free) {
    r = RunText(*conn, "SELECT pg_advisory_unlock" + kFolderKey, location.schema, &status);
    if (!r) return status;
  }
  const std::string here = " AND l.pid <> pg_backend_pid()"
                           " AND l.database = (SELECT oid FROM pg_database WHERE datname = current_database())";
  const std::string who = "COALESCE(a.application_name, '') || ' ' || COALESCE(host(a.client_addr), 'local')";
  r = RunText(*conn,
              "SELECT DISTINCT l.pid::int8, " + who + ", ''::text FROM pg_locks l LEFT JOIN pg_stat_activity a ON a.pid = l.pid"
              " WHERE l.locktype = 'advisory' AND l.classid = " + std::to_string(kFolderLockClass) +
                  " AND l.objsubid = 2 AND l.objid = (hashtext($1)::int8 & 4294967295)::oid" + here +
                  " UNION SELECT DISTINCT l.pid::int8, " + who +
                  ", c.relname::text FROM pg_locks l JOIN pg_class c ON c.oid = l.relation"
                  " JOIN pg_namespace n ON n.oid = c.relnamespace LEFT JOIN pg_stat_activity a ON a.pid = l.pid"
                  " WHERE l.locktype = 'relation' AND n.nspname = $1" + here + " ORDER BY 1, 3",
              location.schema, &status);
  if (!r) return status;
  for (int i = 0; i < PQntuples(r.get()); ++i) {
    users->push_back(FolderUser{Int8At(r.get(), i, 0),
                                std::string(PQgetvalue(r.get(), i, 1), static_cast<std::size_t>(PQgetlength(r.get(), i, 1))),
                                std::string(PQgetvalue(r.get(), i, 2), static_cast<std::size_t>(PQgetlength(r.get(), i, 2)))});
  }
  // The lock taken between the two questions still counts.
  if (!free && users->empty()) users->push_back(FolderUser{0, "", ""});
  return kStatusOk;
}

}  // namespace qz::record::internal::pg
