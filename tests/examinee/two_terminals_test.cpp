// Two terminals on one data folder, as two real processes (tools/qzterm):
// of two starts for the same examinee at the same moment exactly one holds
// it; a save waits for another terminal's write and, when that lasts too
// long, keeps everything for another try.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "examinee/screen_fixture.h"
#include "grid/item_row_map.h"
#include "kit/tool_path.h"
#include "kit/tool_process.h"
#include "kit/ui_expect.h"
#include "loading/load_state.h"

namespace qz::test {
namespace {

using ui::MsgResult;

constexpr const char* kOtherTerminal = "TERM02";
constexpr const char* kShared = "0000000002";  // booked today in the demo
constexpr int kRounds = 50;

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
  int Round(bool from_search, int first, const std::string& second = kOtherTerminal) {
    testkit::ToolProcess t0("qzterm", Args(kTerminal, from_search)), t1("qzterm", Args(second, from_search));
    testkit::ToolProcess* both[2] = {&t0, &t1};
    for (testkit::ToolProcess* t : both) t->ReadUntil({"READY"});
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
    EXPECT_EQ(std::count_if(refused.begin(), refused.end(), [](const std::string& l) { return l.rfind("BOX", 0) == 0; }),
              1)
        << "its one message";
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
    testkit::ToolProcess t("qzterm", Args(computer, from_search));
    t.ReadUntil({"READY"});
    t.Send("go");
    EXPECT_EQ(t.ReadUntil({"HELD", "REFUSED", "ENDED"}).back().rfind("HELD", 0), 0u) << computer;
    t.Send("save");
    EXPECT_EQ(t.ReadUntil({"ENDED", "RUNNING"}).back(), "ENDED");
  }

  // kRounds rounds of two terminals starting at once; after the last
  // holder's save the other terminal opens the examinee.
  void PlayRounds(bool from_search) {
    BuildDemo();
    int last = -1;
    for (int round = 0; round < kRounds && !HasFailure(); ++round) {
      SCOPED_TRACE(round);
      last = Round(from_search, round % 2);
    }
    if (last >= 0) StartsAlone(last == 0 ? kOtherTerminal : kTerminal, from_search);
  }
};

TEST_F(TwoTerminalsTest, OfTwoCommandLineStartsForOneExamineeExactlyOneHoldsIt) { PlayRounds(false); }

// Without a write wait in the settings three terminals still start at the
// same moment without a failed read: exactly one holds the examinee, the
// others are told where it is used.
TEST_F(TwoTerminalsTest, OfThreeStartsWithoutAWriteWaitExactlyOneHoldsIt) {
  constexpr const char* kThird = "TERM03";
  AddLogon(4, "USER01", kThird, kToday);
  suite_.SetIni("SysInfo", "WriteWait", "0");
  BuildDemo();
  for (int round = 0; round < 20 && !HasFailure(); ++round) {
    SCOPED_TRACE(round);
    testkit::ToolProcess t0("qzterm", Args(kTerminal, false)), t1("qzterm", Args(kOtherTerminal, false)),
        t2("qzterm", Args(kThird, false));
    testkit::ToolProcess* all[3] = {&t0, &t1, &t2};
    for (testkit::ToolProcess* t : all) t->ReadUntil({"READY"});
    for (int i = 0; i < 3; ++i) all[(round + i) % 3]->Send("go");
    testkit::ToolProcess* holder = nullptr;
    for (testkit::ToolProcess* t : all) {
      const std::vector<std::string> said = t->ReadUntil({"HELD", "REFUSED", "ENDED"});
      if (said.back().rfind("HELD", 0) == 0) {
        EXPECT_EQ(holder, nullptr) << "a second holder";
        holder = t;
      } else {
        EXPECT_TRUE(Has(said, "に使用されています。")) << said.front();
        EXPECT_EQ(said.back(), "ENDED");
      }
    }
    ASSERT_NE(holder, nullptr);
    EXPECT_EQ(OnlineRows().size(), 1u);
    holder->Send("save");
    EXPECT_EQ(holder->ReadUntil({"ENDED", "RUNNING"}).back(), "ENDED");
  }
  EXPECT_TRUE(OnlineRows().empty());
}

// Two sessions of one computer (two users, or a second log-in) take the
// same examinee at once: the row of the one that runs is no row left
// behind, so exactly one holds it each time.
TEST_F(TwoTerminalsTest, OfTwoSessionsOnOneComputerExactlyOneHoldsIt) {
  BuildDemo();
  for (int round = 0; round < kRounds && !HasFailure(); ++round) {
    SCOPED_TRACE(round);
    Round(false, round % 2, kTerminal);
  }
}

// A terminal killed while it holds the examinee leaves its row: a second
// session on the same computer is refused while it lives, another terminal
// still after it was killed, and the same terminal started again takes the
// examinee under one row, which its end releases.
TEST_F(TwoTerminalsTest, AKilledTerminalTakesItsExamineeAgainUnderOneRow) {
  BuildDemo();
  const auto start = [this](testkit::ToolProcess& t) {
    t.ReadUntil({"READY"});
    t.Send("go");
    return t.ReadUntil({"HELD", "REFUSED", "ENDED"});
  };
  {
    testkit::ToolProcess t("qzterm", Args(kTerminal, false));
    ASSERT_EQ(start(t).back().rfind("HELD", 0), 0u);
    {
      testkit::ToolProcess second("qzterm", Args(kTerminal, false));
      const std::vector<std::string> said = start(second);
      EXPECT_TRUE(Has(said, std::string(kTerminal) + "で『結果入力』に使用されています。")) << said.front();
      EXPECT_EQ(said.back(), "ENDED");
    }
    ASSERT_EQ(OnlineRows().size(), 1u);
    t.Kill();
  }
  ASSERT_EQ(OnlineRows().size(), 1u);
  {
    testkit::ToolProcess other("qzterm", Args(kOtherTerminal, false));
    const std::vector<std::string> said = start(other);
    EXPECT_TRUE(Has(said, std::string(kTerminal) + "で『結果入力』に使用されています。")) << said.front();
    EXPECT_EQ(said.back(), "ENDED");
  }
  testkit::ToolProcess again("qzterm", Args(kTerminal, false));
  ASSERT_EQ(start(again).back().rfind("HELD", 0), 0u);
  EXPECT_EQ(OnlineRows().size(), 1u) << "the row left behind is replaced";
  again.Send("save");
  EXPECT_EQ(again.ReadUntil({"ENDED", "RUNNING"}).back(), "ENDED");
  EXPECT_TRUE(OnlineRows().empty());
}

TEST_F(TwoTerminalsTest, OfTwoChoicesOnTheSearchScreensExactlyOneHoldsIt) { PlayRounds(true); }

}  // namespace
}  // namespace qz::test
