// The PostgreSQL server that tests may use: the one whose connection
// string is in the environment variable QZ_TEST_PG (scripts/test starts a
// throwaway server and sets it). Tests make a schema of their own on it and
// drop it when done. Any test may call these; one thread.
#ifndef QZ_TESTS_KIT_PG_SERVER_H_
#define QZ_TESTS_KIT_PG_SERVER_H_

#include <optional>
#include <string>

namespace qz::testkit {

// The connection string of the test server; nullopt when none is set.
std::optional<std::string> PgServer();

// Why a PostgreSQL case cannot run here; empty when it can. Under CI
// (CI=true) a missing server is a failure, not a skip: see PG_OR_SKIP.
std::string PgUnavailable();

// A new schema name, unique on the server for this process.
std::string NewPgSchema();

// Drops `schema` with everything in it. False when it could not.
bool DropPgSchema(const std::string& schema);

// The [STORAGE] value that puts a folder into `schema` of the test server.
std::string PgStorage(const std::string& schema);

}  // namespace qz::testkit

// In a test body or SetUp: skips the test when no server is set, fails it
// when none is set under CI.
#define QZ_PG_OR_SKIP()                                                  \
  do {                                                                   \
    const std::string qz_why = ::qz::testkit::PgUnavailable();           \
    if (!qz_why.empty()) {                                               \
      const char* qz_ci = std::getenv("CI");                             \
      if (qz_ci && std::string(qz_ci) == "true") FAIL() << qz_why;       \
      GTEST_SKIP() << qz_why;                                            \
    }                                                                    \
  } while (0)

#endif  // QZ_TESTS_KIT_PG_SERVER_H_
