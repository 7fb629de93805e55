#include "platform/record/thread_session.h"

#include <pthread.h>

#include <atomic>

namespace qz::record::internal {

namespace {
std::atomic<int> g_fork_generation{0};
}  // namespace

int ForkGeneration() {
  static const bool registered = [] {
    pthread_atfork(nullptr, nullptr, [] { ++g_fork_generation; });
    return true;
  }();
  (void)registered;
  return g_fork_generation.load(std::memory_order_relaxed);
}

}  // namespace qz::record::internal
