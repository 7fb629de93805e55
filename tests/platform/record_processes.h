// Other terminals as child processes of a record-manager test: a body run
// in a child, a child that waits for its go, a child that holds a lock of
// another terminal until it is released, and a look at whether another
// process's commit waits for a file.
//
// A child is forked: it must use record objects of its own, never the
// parent's, and starts before the parent takes any lock (a forked child
// must not inherit one).
#ifndef QZ_TESTS_PLATFORM_RECORD_PROCESSES_H_
#define QZ_TESTS_PLATFORM_RECORD_PROCESSES_H_

#include <sys/types.h>

#include <functional>
#include <string>

namespace qz::record::testing {

// Runs `body` in a child process; returns its result (or -1 when it died).
int InChild(const std::function<int()>& body);

// A child process that waits for Go() before it runs `body`.
class WaitingChild {
 public:
  explicit WaitingChild(const std::function<int()>& body);
  WaitingChild(const WaitingChild&) = delete;
  WaitingChild& operator=(const WaitingChild&) = delete;

  // Lets the child run its body. Once only.
  void Go();
  // Waits until the child has ended or `reached()` holds, polling for at
  // most a minute; false when neither came about.
  bool AwaitEndOr(const std::function<bool()>& reached);
  // Waits for the child's end; its exit status (-1 when it died).
  int Wait();
  // True once the child has ended (without waiting for it).
  bool Ended();

 private:
  void Reap(int options);

  int go_[2] = {-1, -1};
  pid_t pid_ = -1;
  bool ended_ = false;
  int status_ = -1;
};

// True when another process's commit of the SQLite file `path` waits for
// its readers to go: it holds the file's pending lock (the byte SQLite
// locks at 1 GiB while it waits to write). False for a file that does not
// exist (the server engine's files live on the server).
bool ACommitWaitsForFile(const std::string& path);

// A child process that takes a lock of another terminal (`take` returns
// true once it holds it) and keeps it until Release(), which aborts the
// child's transaction and gives its exit status (-1 when it died).
class HoldingChild {
 public:
  explicit HoldingChild(const std::function<bool()>& take);
  HoldingChild(const HoldingChild&) = delete;
  HoldingChild& operator=(const HoldingChild&) = delete;

  // Waits until the child holds its lock; false when it could not take it.
  bool Held();
  // Lets the child go; its exit status.
  int Release();

 private:
  int held_[2] = {-1, -1}, done_[2] = {-1, -1};
  pid_t pid_ = -1;
};

}  // namespace qz::record::testing

#endif  // QZ_TESTS_PLATFORM_RECORD_PROCESSES_H_
