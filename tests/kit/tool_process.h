// ToolProcess: one command-line helper of this build (tools/<name>) run as
// a second process, spoken to line by line over its standard input and
// output. For tests that need two real processes. Any test may use it.
//
//   testkit::ToolProcess t("qzterm", {"lock", definitions, folder, file});
//   t.ReadUntil({"LOCKED"});
//   ...
//   t.Send("");                 // the tool goes on
#ifndef QZ_TESTS_KIT_TOOL_PROCESS_H_
#define QZ_TESTS_KIT_TOOL_PROCESS_H_

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace qz::testkit {

// Another operator of this machine, for a process of a test that runs as
// root: the user and group ids (no account needed), the further groups and
// the umask of the operator's session.
struct Operator {
  uid_t uid = 0;
  gid_t gid = 0;
  std::vector<gid_t> groups;
  mode_t umask = 022;
};

// Makes this process `op` (groups, group, user, umask); false when it
// cannot (not root). For a child process: there is no way back.
bool BecomeOperator(const Operator& op);

class ToolProcess {
 public:
  // Starts tools/<name> with `args`, as `as` when given (a child that cannot
  // become it ends with status 126).
  ToolProcess(const std::string& name, const std::vector<std::string>& args,
              const std::optional<Operator>& as = std::nullopt);
  // Closes its input and waits for it; one still running is killed.
  ~ToolProcess();

  ToolProcess(const ToolProcess&) = delete;
  ToolProcess& operator=(const ToolProcess&) = delete;

  // Writes `line` and a line break to its input (a test failure when it
  // cannot).
  void Send(const std::string& line);
  // The lines it writes up to and with the first that begins with one of
  // `stops`. A tool that says nothing for 30 seconds or ends first is a
  // test failure; the lines read so far are returned.
  std::vector<std::string> ReadUntil(const std::vector<std::string>& stops);
  // Ends it at once with SIGKILL, as a crash or a power cut would, and
  // waits for it.
  void Kill();

 private:
  std::string ReadLine();

  pid_t pid_ = -1;
  int in_ = -1, out_ = -1;
  std::string buffer_;
};

}  // namespace qz::testkit

#endif  // QZ_TESTS_KIT_TOOL_PROCESS_H_
