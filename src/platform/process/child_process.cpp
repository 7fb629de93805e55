#include "platform/process/child_process.h"

#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/path/host_path.h"
#include "platform/path/no_case.h"
#include "platform/process/command_line.h"

extern char** environ;

namespace qz::process {
namespace {

bool IsProgram(const std::string& p) {
  struct stat st;
  return ::stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(p.c_str(), X_OK) == 0;
}

bool EndsWithExe(std::string_view name) {
  return name.size() >= 4 && path::EqualNoCase(name.substr(name.size() - 4), ".exe");
}

int OpenPidFd(pid_t pid) {
#ifdef SYS_pidfd_open
  return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
  (void)pid;
  return -1;
#endif
}

}  // namespace

std::optional<std::string> FindProgram(std::string_view file) {
  std::string host = path::ToHostPath(file);
  if (host.empty() || host.back() == '/') return std::nullopt;
  std::vector<std::string> names{host};
  if (EndsWithExe(host)) {
    names.push_back(host.substr(0, host.size() - 4));
  } else {
    names.push_back(host + ".exe");
  }
  for (const std::string& n : names) {
    std::string p = path::ResolveNoCase(n);
    if (p.find('/') == std::string::npos) p = "./" + p;
    if (IsProgram(p)) return p;
  }
  return std::nullopt;
}

ChildProcess ChildProcess::Start(std::string_view file, std::string_view parameters) {
  ChildProcess child;
  std::optional<std::string> program = FindProgram(file);
  if (!program) {
    child.start_error_ = ENOENT;
    return child;
  }
  std::vector<std::string> args = SplitCommandLine(parameters);
  std::vector<char*> argv;
  argv.push_back(program->data());
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  int rc = ::posix_spawn(&pid, program->c_str(), nullptr, nullptr, argv.data(), environ);
  if (rc != 0) {
    child.start_error_ = rc;
    return child;
  }
  child.pid_ = pid;
  child.pidfd_ = OpenPidFd(pid);
  return child;
}

ChildProcess::ChildProcess(ChildProcess&& o) noexcept { *this = std::move(o); }

ChildProcess& ChildProcess::operator=(ChildProcess&& o) noexcept {
  if (this != &o) {
    Release();
    pid_ = o.pid_;
    pidfd_ = o.pidfd_;
    start_error_ = o.start_error_;
    reaped_ = o.reaped_;
    lost_ = o.lost_;
    exit_status_ = o.exit_status_;
    o.pid_ = -1;
    o.pidfd_ = -1;
    o.reaped_ = false;
  }
  return *this;
}

ChildProcess::~ChildProcess() { Release(); }

void ChildProcess::Release() {
  if (pidfd_ >= 0) ::close(pidfd_);
  pidfd_ = -1;
  if (pid_ > 0 && !reaped_ && !lost_) {
    pid_t pid = pid_;
    std::thread([pid] {
      int status;
      while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  }
  pid_ = -1;
}

bool ChildProcess::Reap(int options) {
  int status = 0;
  pid_t r;
  do {
    r = ::waitpid(pid_, &status, options);
  } while (r < 0 && errno == EINTR);
  if (r == 0) return false;
  if (r < 0) {
    lost_ = true;
    return true;
  }
  reaped_ = true;
  if (WIFEXITED(status)) {
    exit_status_ = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    exit_status_ = 128 + WTERMSIG(status);
  }
  return true;
}

WaitResult ChildProcess::Wait(int timeout_ms) {
  auto done = [this] { return reaped_ ? WaitResult::kExited : WaitResult::kFailed; };
  if (pid_ <= 0 || lost_) return WaitResult::kFailed;
  if (reaped_) return WaitResult::kExited;
  if (timeout_ms < 0) {
    Reap(0);
    return done();
  }
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    if (Reap(WNOHANG)) return done();
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return WaitResult::kTimeout;
    if (pidfd_ >= 0) {
      pollfd p{pidfd_, POLLIN, 0};
      ::poll(&p, 1, static_cast<int>(left));
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(std::min<long long>(left, 2)));
    }
  }
}

}  // namespace qz::process
