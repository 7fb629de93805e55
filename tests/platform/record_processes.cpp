#include "record_processes.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/record/btr_access.h"

namespace qz::record::testing {

int InChild(const std::function<int()>& body) {
  pid_t pid = fork();
  if (pid == 0) _exit(body());
  int wstatus = 0;
  waitpid(pid, &wstatus, 0);
  return WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
}

WaitingChild::WaitingChild(const std::function<int()>& body) {
  if (pipe(go_) != 0) std::abort();
  pid_ = fork();
  if (pid_ == 0) {
    close(go_[1]);
    char byte = 0;
    if (read(go_[0], &byte, 1) != 1) _exit(21);
    _exit(body());
  }
  close(go_[0]);
}

void WaitingChild::Go() {
  if (write(go_[1], "g", 1) != 1) std::abort();
  close(go_[1]);
}

bool WaitingChild::AwaitEndOr(const std::function<bool()>& reached) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (std::chrono::steady_clock::now() < deadline) {
    if (Ended() || reached()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return false;
}

int WaitingChild::Wait() {
  if (!ended_) Reap(0);
  return status_;
}

bool WaitingChild::Ended() {
  if (!ended_) Reap(WNOHANG);
  return ended_;
}

void WaitingChild::Reap(int options) {
  int wstatus = 0;
  if (waitpid(pid_, &wstatus, options) != pid_) return;
  ended_ = true;
  status_ = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
}

bool ACommitWaitsForFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct flock probe {};
  probe.l_type = F_RDLCK;
  probe.l_whence = SEEK_SET;
  probe.l_start = 0x40000000;
  probe.l_len = 1;
  const bool waits = fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type == F_WRLCK;
  close(fd);
  return waits;
}

HoldingChild::HoldingChild(const std::function<bool()>& take) {
  if (pipe(held_) != 0 || pipe(done_) != 0) std::abort();
  pid_ = fork();
  if (pid_ == 0) {
    close(held_[0]);
    close(done_[1]);
    if (!take()) _exit(1);
    char byte = 0;
    if (write(held_[1], "h", 1) != 1 || read(done_[0], &byte, 1) != 1) _exit(2);
    BtrAccess().AbortTrans();
    _exit(0);
  }
  close(held_[1]);
  close(done_[0]);
}

bool HoldingChild::Held() {
  char byte = 0;
  return read(held_[0], &byte, 1) == 1;
}

int HoldingChild::Release() {
  if (write(done_[1], "d", 1) != 1) std::abort();
  close(done_[1]);
  close(held_[0]);
  int wstatus = 0;
  waitpid(pid_, &wstatus, 0);
  return WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
}

}  // namespace qz::record::testing
