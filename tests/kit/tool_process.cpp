#include "kit/tool_process.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/stat.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "kit/tool_path.h"

namespace qz::testkit {

namespace {

constexpr int kReplyTimeoutMs = 30000;

}  // namespace

bool BecomeOperator(const Operator& op) {
  if (::setgroups(op.groups.size(), op.groups.data()) != 0 || ::setresgid(op.gid, op.gid, op.gid) != 0 ||
      ::setresuid(op.uid, op.uid, op.uid) != 0) {
    return false;
  }
  ::umask(op.umask);
  return true;
}

ToolProcess::ToolProcess(const std::string& name, const std::vector<std::string>& args,
                         const std::optional<Operator>& as) {
  int to_child[2], from_child[2];
  if (pipe2(to_child, O_CLOEXEC) != 0) return;
  if (pipe2(from_child, O_CLOEXEC) != 0) {
    close(to_child[0]);
    close(to_child[1]);
    return;
  }
  const std::string tool = ToolPath(name);
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(tool.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_ = fork();
  if (pid_ == 0) {
    dup2(to_child[0], 0);
    dup2(from_child[1], 1);
    if (as && !BecomeOperator(*as)) _exit(126);
    execv(tool.c_str(), argv.data());
    _exit(127);
  }
  close(to_child[0]);
  close(from_child[1]);
  in_ = to_child[1];
  out_ = from_child[0];
  if (pid_ < 0) ADD_FAILURE() << "cannot start " << tool;
}

ToolProcess::~ToolProcess() {
  if (in_ >= 0) close(in_);
  if (out_ >= 0) close(out_);
  if (pid_ <= 0) return;
  int status = 0;
  for (int i = 0; i < 200 && waitpid(pid_, &status, WNOHANG) == 0; ++i) usleep(10000);
  if (waitpid(pid_, &status, WNOHANG) == 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, &status, 0);
  }
}

void ToolProcess::Kill() {
  if (pid_ <= 0) return;
  kill(pid_, SIGKILL);
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
}

void ToolProcess::Send(const std::string& line) {
  const std::string text = line + "\n";
  if (in_ < 0 || write(in_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
    ADD_FAILURE() << "cannot write to the tool";
  }
}

std::vector<std::string> ToolProcess::ReadUntil(const std::vector<std::string>& stops) {
  std::vector<std::string> lines;
  for (;;) {
    const std::string line = ReadLine();
    if (line.empty()) {
      ADD_FAILURE() << "the tool said nothing more";
      return lines;
    }
    lines.push_back(line);
    for (const std::string& s : stops) {
      if (line.rfind(s, 0) == 0) return lines;
    }
  }
}

std::string ToolProcess::ReadLine() {
  for (;;) {
    const std::size_t eol = buffer_.find('\n');
    if (eol != std::string::npos) {
      std::string line = buffer_.substr(0, eol);
      buffer_.erase(0, eol + 1);
      return line;
    }
    if (out_ < 0) return {};
    pollfd p{out_, POLLIN, 0};
    if (poll(&p, 1, kReplyTimeoutMs) <= 0) return {};
    char chunk[4096];
    const ssize_t n = read(out_, chunk, sizeof chunk);
    if (n <= 0) return {};
    buffer_.append(chunk, static_cast<std::size_t>(n));
  }
}

}  // namespace qz::testkit
