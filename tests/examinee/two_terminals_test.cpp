// Two terminals on one data folder, as two real processes (tools/qzterm):
// of two starts for the same examinee at the same moment exactly one holds
// it; a save waits for another terminal's write and, when that lasts too
// long, keeps everything for another try.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "examinee/screen_fixture.h"
#include "grid/item_row_map.h"
#include "kit/tool_path.h"
#include "kit/ui_expect.h"
#include "loading/load_state.h"

namespace qz::test {
namespace {

using ui::MsgResult;

constexpr const char* kOtherTerminal = "TERM02";
constexpr const char* kShared = "0000000002";  // booked today in the demo
constexpr int kRounds = 50;
constexpr int kReplyTimeoutMs = 30000;

// One qzterm process with a line protocol over its standard streams.
class Terminal {
 public:
  explicit Terminal(const std::vector<std::string>& args) {
    int to_child[2], from_child[2];
    if (pipe2(to_child, O_CLOEXEC) != 0 || pipe2(from_child, O_CLOEXEC) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(to_child[0], 0);
      dup2(from_child[1], 1);
      std::vector<char*> argv;
      const std::string tool = testkit::ToolPath("qzterm");
      argv.push_back(const_cast<char*>(tool.c_str()));
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execv(tool.c_str(), argv.data());
      _exit(127);
    }
    close(to_child[0]);
    close(from_child[1]);
    in_ = to_child[1];
    out_ = from_child[0];
  }
  ~Terminal() {
    if (in_ >= 0) close(in_);
    if (out_ >= 0) close(out_);
    if (pid_ > 0) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
      }
    }
  }
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

  void Send(const std::string& line) {
    const std::string text = line + "\n";
    if (write(in_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) ADD_FAILURE() << "cannot send";
  }
  // The lines up to and with the first that begins with one of `stops`.
  std::vector<std::string> ReadUntil(const std::vector<std::string>& stops) {
    std::vector<std::string> lines;
    for (;;) {
      const std::string line = ReadLine();
      if (line.empty()) {
        ADD_FAILURE() << "the terminal said nothing more";
        return lines;
      }
      lines.push_back(line);
      for (const std::string& s : stops) {
        if (line.rfind(s, 0) == 0) return lines;
      }
    }
  }

 private:
  std::string ReadLine() {
    std::string line;
    for (;;) {
      const std::size_t eol = buffer_.find('\n');
      if (eol != std::string::npos) {
        line = buffer_.substr(0, eol);
        buffer_.erase(0, eol + 1);
        return line;
      }
      pollfd p{out_, POLLIN, 0};
      if (poll(&p, 1, kReplyTimeoutMs) <= 0) return {};
      char chunk[4096];
      const ssize_t n = read(out_, chunk, sizeof chunk);
      if (n <= 0) return {};
      buffer_.append(chunk, static_cast<std::size_t>(n));
    }
  }

  pid_t pid_ = -1;
  int in_ = -1, out_ = -1;
  std::string buffer_;
};

bool Has(const std::vector<std::string>& lines, const std::string& part) {
  for (const std::string& l : lines) {
    if (l.find(part) != std::string::npos) return true;
  }
  return false;
}

class TwoTerminalsTest : public ScreenTest {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(testkit::ToolPath("qzterm"))) GTEST_SKIP() << "qzterm not built";
    AddLogon(3, "USER01", kOtherTerminal, kToday);
  }
  // The arguments of a terminal named `computer` that starts `how`.
  std::vector<std::string> Args(const std::string& computer, bool from_search) const {
    if (from_search) {
      return {suite_.paths().program, computer, std::to_string(kToday), "search", kShared, std::to_string(kToday)};
    }
    return {suite_.paths().program, computer, std::to_string(kToday), "command", kShared + std::to_string(kToday)};
  }

  // Starts two terminals for the shared examinee at once; exactly one of
  // them holds it and the other is told where it is used. The holder saves.
  // Returns the index of the holder (0 or 1), -1 when the round failed.
  int Round(bool from_search, int first) {
    Terminal t0(Args(kTerminal, from_search)), t1(Args(kOtherTerminal, from_search));
    Terminal* both[2] = {&t0, &t1};
    for (Terminal* t : both) t->ReadUntil({"READY"});
    both[first]->Send("go");
    both[1 - first]->Send("go");
    std::vector<std::string> said[2];
    for (int i = 0; i < 2; ++i) said[i] = both[i]->ReadUntil({"HELD", "REFUSED", "ENDED"});
    const bool held0 = said[0].back().rfind("HELD", 0) == 0;
    const bool held1 = said[1].back().rfind("HELD", 0) == 0;
    EXPECT_NE(held0, held1) << "exactly one terminal holds the examinee";
    if (held0 == held1) return -1;
    const int holder = held0 ? 0 : 1;
    const std::vector<std::string>& refused = said[1 - holder];
    EXPECT_TRUE(Has(refused, "に使用されています。")) << refused.front();
    EXPECT_EQ(refused.back(), from_search ? "REFUSED" : "ENDED");
    EXPECT_FALSE(Has(said[holder], "BOX")) << "the holder sees no message";
    EXPECT_EQ(OnlineRows().size(), 1u);
    both[holder]->Send("save");
    EXPECT_EQ(both[holder]->ReadUntil({"ENDED", "RUNNING"}).back(), "ENDED");
    if (from_search) {
      EXPECT_EQ(both[1 - holder]->ReadUntil({"ENDED", "RUNNING"}).back(), "ENDED");
    }
    EXPECT_TRUE(OnlineRows().empty());
    return holder;
  }
  // The terminal `computer` starts alone: it gets the examinee and saves.
  void StartsAlone(const std::string& computer, bool from_search) {
    Terminal t(Args(computer, from_search));
    t.ReadUntil({"READY"});
    t.Send("go");
    EXPECT_EQ(t.ReadUntil({"HELD", "REFUSED", "ENDED"}).back().rfind("HELD", 0), 0u) << computer;
    t.Send("save");
    EXPECT_EQ(t.ReadUntil({"ENDED", "RUNNING"}).back(), "ENDED");
  }
};

TEST_F(TwoTerminalsTest, OfTwoCommandLineStartsForOneExamineeExactlyOneHoldsIt) {
  BuildDemo();
  int last = -1;
  for (int round = 0; round < kRounds && !HasFailure(); ++round) {
    SCOPED_TRACE(round);
    last = Round(false, round % 2);
  }
  // After the holder's save the other terminal opens the examinee.
  if (last >= 0) StartsAlone(last == 0 ? kOtherTerminal : kTerminal, false);
}

TEST_F(TwoTerminalsTest, OfTwoChoicesOnTheSearchScreensExactlyOneHoldsIt) {
  BuildDemo();
  int last = -1;
  for (int round = 0; round < kRounds && !HasFailure(); ++round) {
    SCOPED_TRACE(round);
    last = Round(true, round % 2);
  }
  if (last >= 0) StartsAlone(last == 0 ? kOtherTerminal : kTerminal, true);
}

}  // namespace
}  // namespace qz::test
