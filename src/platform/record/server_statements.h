// How many statements this process has sent to a database server, for the
// tests and benchmarks that count a step's round trips (a statement
// prepared and then run counts twice). Thread-safe.
#ifndef QZ_PLATFORM_RECORD_SERVER_STATEMENTS_H_
#define QZ_PLATFORM_RECORD_SERVER_STATEMENTS_H_

#include <cstdint>

namespace qz::record {

// The statements sent so far, by every thread of the process.
std::uint64_t ServerStatements();

namespace internal {

// Counts one statement sent (the PostgreSQL engine calls it).
void CountServerStatement();

}  // namespace internal

}  // namespace qz::record

#endif  // QZ_PLATFORM_RECORD_SERVER_STATEMENTS_H_
