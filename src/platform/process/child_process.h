// Starting another program as a child process and waiting for it.
//
// A program is named the suite's way ("QZP149C.EXE", "C:\VLMP\QZPCSV.EXE")
// or this machine's way; without a folder it is looked for in the current
// folder. The name is matched without regard to case and with or without
// ".EXE", so "QZP149C.EXE" finds a file "qzp149c" or "QZP149C.exe"; any
// executable file will do (a script with a "#!" line runs). Parameters are
// split as the platform splits a command line (command_line.h) and passed
// straight to the program, never through a shell.
//
// Every child is reaped: one that is not waited for to its end is handed, when
// its ChildProcess goes, to a background reaper, so no zombie stays behind.
// A ChildProcess belongs to one thread at a time.
#ifndef QZ_PLATFORM_PROCESS_CHILD_PROCESS_H_
#define QZ_PLATFORM_PROCESS_CHILD_PROCESS_H_

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

namespace qz::process {

// The executable file that `file` names (rules above), or nullopt.
std::optional<std::string> FindProgram(std::string_view file);

enum class WaitResult {
  kExited,   // the program has ended; exit_status() holds its status
  kTimeout,  // still running when the time was up
  kFailed,   // there is no child to wait for (never started, or lost)
};

class ChildProcess {
 public:
  // Starts `file` with `parameters` in the current folder. Check started():
  // a program that cannot be found or run gives a ChildProcess that is not
  // started, with the reason in start_error() (an errno value).
  static ChildProcess Start(std::string_view file, std::string_view parameters);

  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&& other) noexcept;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  // A child still running is handed to the background reaper.
  ~ChildProcess();

  bool started() const { return pid_ > 0; }
  int start_error() const { return start_error_; }
  pid_t pid() const { return pid_; }

  // Waits up to `timeout_ms` milliseconds for the program to end: -1 (or any
  // negative value) waits without limit, 0 only looks. Returns kExited as
  // soon as it has ended (also on every call after that).
  WaitResult Wait(int timeout_ms);

  // The program's exit status after kExited: its exit code, or 128 plus the
  // signal number when a signal ended it. -1 before.
  int exit_status() const { return exit_status_; }

 private:
  ChildProcess() = default;
  void Release();
  bool Reap(int options);  // true when the child was reaped (or is gone)

  pid_t pid_ = -1;
  int pidfd_ = -1;
  int start_error_ = 0;
  bool reaped_ = false;
  bool lost_ = false;
  int exit_status_ = -1;
};

}  // namespace qz::process

#endif  // QZ_PLATFORM_PROCESS_CHILD_PROCESS_H_
