// The relay that the benchmarks reach the database server through
// (tests/kit/tcp_relay.h): whatever its delay in each direction, every byte
// goes on, in order, both ways: requests and answers larger than one read
// of the relay, an answer that streams row by row, and the closing of a
// connection. Times are the benchmark's to measure; here only what arrives
// counts.
#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "kit/pg_server.h"
#include "kit/tcp_relay.h"

namespace qz::test {
namespace {

using std::chrono::microseconds;

// The text of the single value of `sql`'s result on `c`; "" on failure.
std::string Value(PGconn* c, const std::string& sql) {
  PGresult* r = PQexec(c, sql.c_str());
  std::string out = PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) == 1 ? PQgetvalue(r, 0, 0) : "";
  PQclear(r);
  return out;
}

class RelayDelay : public ::testing::TestWithParam<int> {};

TEST_P(RelayDelay, EveryByteGoesOnInOrderBothWays) {
  QZ_PG_OR_SKIP();
  testkit::TcpRelay relay(*testkit::PgServer());
  ASSERT_NE(relay.port(), 0);
  relay.SetDelay(microseconds(GetParam()));
  for (int connection = 0; connection < 2; ++connection) {  // the first one's closing passes too
    PGconn* c = PQconnectdb(relay.ConnInfo().c_str());
    ASSERT_EQ(PQstatus(c), CONNECTION_OK) << PQerrorMessage(c);
    // An answer of many reads of the relay, and a request as long.
    const std::string big = Value(c, "SELECT string_agg(lpad(g::text, 6, '0'), ',') FROM generate_series(1, 40000) g");
    ASSERT_EQ(big.size(), 40000u * 7 - 1);
    EXPECT_EQ(big.substr(0, 13), "000001,000002");
    EXPECT_EQ(big.substr(big.size() - 6), "040000");
    EXPECT_EQ(Value(c, "SELECT length('" + std::string(200000, 'q') + "')"), "200000");
    // An answer that streams for a while, row by row (each row more than
    // the server buffers): the rows come whole and in order.
    ASSERT_EQ(PQsendQuery(c, "SELECT repeat(lpad(g::text, 6, '0'), 3000), pg_sleep(0.0005) "
                             "FROM generate_series(1, 100) g"), 1);
    PGresult* r = PQgetResult(c);
    ASSERT_EQ(PQresultStatus(r), PGRES_TUPLES_OK) << PQerrorMessage(c);
    ASSERT_EQ(PQntuples(r), 100);
    for (int row = 0; row < 100; ++row) {
      char number[8];
      std::snprintf(number, sizeof(number), "%06d", row + 1);
      ASSERT_EQ(std::string(PQgetvalue(r, row, 0)), [&] {
        std::string s;
        for (int k = 0; k < 3000; ++k) s += number;
        return s;
      }()) << "row " << row + 1;
    }
    PQclear(r);
    while ((r = PQgetResult(c)) != nullptr) PQclear(r);
    PQfinish(c);
  }
}

INSTANTIATE_TEST_SUITE_P(Delays, RelayDelay, ::testing::Values(0, 100, 600));

}  // namespace
}  // namespace qz::test
