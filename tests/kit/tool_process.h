// ToolProcess: one command-line helper of this build (tools/<name>) run as
// a second process, spoken to line by line over its standard input and
// output. For tests that need two real processes. Any test may use it.
//
//   testkit::ToolProcess t("qzterm", {"lock", path});
//   t.ReadUntil({"LOCKED"});
//   ...
//   t.Send("");                 // the tool goes on
#ifndef QZ_TESTS_KIT_TOOL_PROCESS_H_
#define QZ_TESTS_KIT_TOOL_PROCESS_H_

#include <sys/types.h>

#include <string>
#include <vector>

namespace qz::testkit {

class ToolProcess {
 public:
  // Starts tools/<name> with `args`.
  ToolProcess(const std::string& name, const std::vector<std::string>& args);
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

 private:
  std::string ReadLine();

  pid_t pid_ = -1;
  int in_ = -1, out_ = -1;
  std::string buffer_;
};

}  // namespace qz::testkit

#endif  // QZ_TESTS_KIT_TOOL_PROCESS_H_
