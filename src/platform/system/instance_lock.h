// Whether another copy of a program already runs for this user on this
// machine (the runtime's previous-instance test).
//
// The first ask takes a lock held by this process until it ends: an flock'ed
// file "<program>.lock" in the user's runtime folder (user_runtime_dir.h).
// A copy that finds the lock taken is the second one. The lock goes with
// the process, so a crashed copy never blocks the next start.
//
// Test programs run side by side: a test that reaches the check must replace
// the answer (SetInstanceCheckForTest) or point the runtime folder at a
// folder of its own, or a parallel test could see its lock. Single-threaded
// use, like the program.
#ifndef QZ_PLATFORM_SYSTEM_INSTANCE_LOCK_H_
#define QZ_PLATFORM_SYSTEM_INSTANCE_LOCK_H_

#include <functional>
#include <string_view>

namespace qz::system {

// True when another process holds the lock of `program` (names compare
// without regard to case). Otherwise this process takes the lock (once; later
// asks keep it) and the answer is false. A runtime folder or lock file that
// cannot be made gives false: the program starts rather than refusing.
bool AnotherInstanceRunning(std::string_view program);

// Gives up the lock of `program` taken by this process (nothing when none).
void ReleaseInstanceLock(std::string_view program);

// Replaces the answer of AnotherInstanceRunning (nullptr: the lock again).
void SetInstanceCheckForTest(std::function<bool(std::string_view program)> check);

}  // namespace qz::system

#endif  // QZ_PLATFORM_SYSTEM_INSTANCE_LOCK_H_
