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
  int Round(bool from_search, int first) {
    testkit::ToolProcess t0("qzterm", Args(kTerminal, from_search)), t1("qzterm", Args(kOtherTerminal, from_search));
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

TEST_F(TwoTerminalsTest, OfTwoChoicesOnTheSearchScreensExactlyOneHoldsIt) { PlayRounds(true); }

}  // namespace
}  // namespace qz::test
