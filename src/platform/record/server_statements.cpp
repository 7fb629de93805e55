#include "platform/record/server_statements.h"

#include <atomic>

namespace qz::record {

namespace {

std::atomic<std::uint64_t> g_statements{0};

}  // namespace

std::uint64_t ServerStatements() { return g_statements.load(std::memory_order_relaxed); }

void internal::CountServerStatement() { g_statements.fetch_add(1, std::memory_order_relaxed); }

}  // namespace qz::record
