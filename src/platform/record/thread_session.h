// The per-thread state of an engine (internal to the record manager).
//
// ThreadSession<S>() is the calling thread's S, made on first use. The main
// thread's lives to the end of the process (objects in static storage may
// close files after thread-local storage is gone); another thread's is
// freed when the thread ends. ForkGeneration() changes in a forked child,
// whose sessions must not go on with the parent's connections.
#ifndef QZ_PLATFORM_RECORD_THREAD_SESSION_H_
#define QZ_PLATFORM_RECORD_THREAD_SESSION_H_

#include <unistd.h>

namespace qz::record::internal {

int ForkGeneration();

template <class Session>
Session& ThreadSession() {
  thread_local Session* session = nullptr;
  struct Reaper {
    ~Reaper() {
      delete session;
      session = nullptr;
    }
  };
  if (!session) {
    session = new Session;
    if (gettid() != getpid()) {
      thread_local Reaper reaper;
      (void)reaper;
    }
  }
  return *session;
}

}  // namespace qz::record::internal

#endif  // QZ_PLATFORM_RECORD_THREAD_SESSION_H_
