// Counts the reads that SQLite makes from its files in this process, for
// tests that show how much of a file a step reads (a count, never a time).
//
// CountSqlitePageReads puts a counting layer under every SQLite connection
// that the process opens afterwards: it must run before the record manager
// opens its first file in the process (a test program calls it from a
// static initialiser). The layer only passes each call on. SqlitePageReads
// then gives the reads so far (one per page or header read from a file;
// SQLite's page cache answers the rest); 0 when the layer came too late.
// Thread-safe.
#ifndef QZ_TESTKIT_SQLITE_PAGE_READS_H_
#define QZ_TESTKIT_SQLITE_PAGE_READS_H_

#include <cstdint>

namespace qz::testkit {

void CountSqlitePageReads();
std::uint64_t SqlitePageReads();

}  // namespace qz::testkit

#endif  // QZ_TESTKIT_SQLITE_PAGE_READS_H_
