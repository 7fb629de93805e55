// The on-line table: registration at the lowest free number, the holder
// check against other terminals, release, and the failures of the table.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "examinee/cls_vlmf_qzonllf.h"
#include "examinee/save_fixture.h"
#include "kit/ui_expect.h"
#include "platform/record/btr_access.h"
#include "platform/record/status.h"
#include "platform/text/cp932.h"

namespace qz::testing {
namespace {

class OnlineTable : public ::testing::Test {
 protected:
  void AddRow(int ren, const std::string& examinee, const std::string& terminal, int job = 3,
              const std::string& job_name = "結果入力") {
    bed.bed.suite.Add("QZONLLF", {{"REN", ren}, {"JYUNO", examinee}, {"TERMNAME", terminal}, {"GYONO", job},
                                  {"GYONAME", job_name}});
  }
  std::vector<std::string> Rows() const { return bed.Dump("QZONLLF"); }
  const ui::ShownBox& LastBox() const { return bed.bed.shell.boxes().back(); }

  SaveBed bed;
};

TEST_F(OnlineTable, RegistersAtTheLowestFreeNumberWithThisTerminalAndJob) {
  struct Case {
    std::vector<int> taken;
    int expected;
  };
  for (const Case& c : std::vector<Case>{{{}, 1}, {{1, 2, 3}, 4}, {{2, 3}, 1}, {{1, 3}, 2}}) {
    SaveBed fresh;
    for (int ren : c.taken) {
      fresh.bed.suite.Add("QZONLLF", {{"REN", ren}, {"JYUNO", "0000099999"}, {"TERMNAME", "TERM09"}, {"GYONO", 1}});
    }
    fresh.Open();
    std::int32_t ren = 0;
    ClsVlmfQzonllf().Sub_SetOnlineInfo(kExaminee, ren);
    EXPECT_EQ(ren, c.expected);
    auto row = fresh.Read("QZONLLF", {{"REN", c.expected}});
    ASSERT_NE(row, nullptr);
    // REN, JYUNO, TERMNAME, GYONO, GYONAME exactly as the suite's other
    // programs read them.
    const std::string expected = row->RecordBytes().substr(0, 5) + std::string(kExaminee) + "TERM01" +
                                 std::string(14, ' ') + row->RecordBytes().substr(35, 2) +
                                 text::ToCp932("結果入力") + std::string(12, ' ');
    EXPECT_EQ(row->RecordBytes(), expected);
    EXPECT_EQ(row->GetField("REN").ToLong(), c.expected);
    EXPECT_EQ(row->GetField("GYONO").ToLong(), 3);
    EXPECT_EQ(fresh.Dump("QZONLLF").size(), c.taken.size() + 1);
    EXPECT_TRUE(fresh.Boxes().empty());
  }
}

TEST_F(OnlineTable, ReportsAnExamineeHeldElsewhere) {
  AddRow(1, "0000000001", "TERM02");
  AddRow(2, std::string(kExaminee), "TERM07", 1, "受付");
  bed.Open();
  bool ok = true;
  ClsVlmfQzonllf().Sub_ReadOnlineInfo(kExaminee, ok, 0);
  EXPECT_FALSE(ok);
  ASSERT_EQ(bed.Boxes().size(), 1u);
  EXPECT_EQ(LastBox().request.text, "[受診者番号:0000012345]の受診者は､\r\nTERM07で『受付』に使用されています。");
  EXPECT_EQ(LastBox().request.title, "結果入力");
  EXPECT_EQ(LastBox().request.icon, ui::MsgIcon::kExclamation);
  EXPECT_EQ(bed.bed.shell.beeps(), 1);

  ClsVlmfQzonllf().Sub_ReadOnlineInfo(kExaminee, ok, 1);  // quiet
  EXPECT_FALSE(ok);
  EXPECT_EQ(bed.Boxes().size(), 1u);
}

// Rows of this terminal hold nothing against the program when they are the
// starting program's row of the command-line examinee or this program's own
// row left behind; every other terminal's row holds, whatever the command
// line says.
TEST_F(OnlineTable, WhoHoldsAnExamineeAgainstThisProgram) {
  AddRow(1, "0000000001", "TERM02");
  AddRow(3, std::string(kExaminee), "TERM07");
  AddRow(4, "0000000005", kTerminal, 1, "受付");
  AddRow(5, "0000000006", kTerminal);
  bed.Open();
  struct Case {
    const char* what;
    std::string patient;
    std::string start_examinee;
    bool free;
  };
  const std::vector<Case> cases = {
      {"another examinee", "0000000002", "", true},
      {"the starting program's row at this terminal", "0000000005", "0000000005", true},
      {"this program's row left behind", "0000000006", "", true},
      {"a number with trailing blanks is the same number", std::string(kExaminee) + " ", "", false},
      {"another terminal holds the command-line examinee", std::string(kExaminee), std::string(kExaminee), false},
      {"another job at this terminal, no command line", "0000000005", "", false},
  };
  for (const Case& c : cases) {
    basPublic.StartExamineeNo = c.start_examinee;
    bool ok = !c.free;
    ClsVlmfQzonllf().Sub_ReadOnlineInfo(c.patient, ok, 1);
    EXPECT_EQ(ok, c.free) << c.what;
    std::int32_t ren = -2;
    ClsVlmfQzonllf().Sub_HoldOnlineInfo(c.patient, ren);
    EXPECT_EQ(ren > 0, c.free) << c.what;
    if (ren > 0) {
      bool released = false;
      ClsVlmfQzonllf().Sub_DelOnlineInfo(std::to_string(ren), released);
      EXPECT_TRUE(released);
    }
  }
  basPublic.StartExamineeNo.clear();
  EXPECT_EQ(bed.bed.shell.beeps(), 3);  // the three holders, told by the registration only
}

TEST_F(OnlineTable, ARegistrationReplacesTheRowItLeftBehindAndTellsAHolderAfterItsTransaction) {
  AddRow(2, std::string(kExaminee), kTerminal);
  AddRow(4, "0000000007", "TERM07", 1, "受付");
  bed.Open();
  std::int32_t ren = 0;
  ClsVlmfQzonllf().Sub_HoldOnlineInfo(kExaminee, ren);
  EXPECT_EQ(ren, 1);
  EXPECT_EQ(bed.Read("QZONLLF", {{"REN", 2}}), nullptr);
  EXPECT_EQ(Rows().size(), 2u);

  std::vector<int> begin_at_box;
  bed.bed.shell.on_box = [&](const ui::MessageBoxRequest&) {
    record::BtrAccess probe;
    begin_at_box.push_back(probe.BeginTrans());
    probe.AbortTrans();
  };
  ClsVlmfQzonllf().Sub_HoldOnlineInfo("0000000007", ren);
  EXPECT_EQ(ren, 0);
  EXPECT_EQ(bed.Boxes(), std::vector<std::string>{"[受診者番号:0000000007]の受診者は､\r\nTERM07で『受付』に使用されています。"});
  EXPECT_EQ(begin_at_box, std::vector<int>{record::kStatusOk});
  EXPECT_EQ(Rows().size(), 2u);
}

// A row of this program at this terminal is left behind only when the
// session that wrote it no longer runs: another session on this computer
// (another user, a second log-in) that still holds the examinee keeps it
// until it releases the row or is killed.
TEST_F(OnlineTable, ARowOfThisProgramHereHoldsWhileItsSessionRuns) {
  bed.Open();
  for (const bool killed : {false, true}) {
    SCOPED_TRACE(killed ? "killed" : "released");
    int held[2], done[2];
    ASSERT_EQ(pipe(held), 0);
    ASSERT_EQ(pipe(done), 0);
    const pid_t pid = fork();
    if (pid == 0) {  // the other session: takes the examinee, waits, releases
      std::int32_t ren = 0;
      ClsVlmfQzonllf().Sub_HoldOnlineInfo(kExaminee, ren);
      char byte = 0;
      if (ren <= 0 || write(held[1], "h", 1) != 1 || read(done[0], &byte, 1) != 1) _exit(1);
      bool released = false;
      ClsVlmfQzonllf().Sub_DelOnlineInfo(std::to_string(ren), released);
      _exit(released ? 0 : 2);
    }
    char byte = 0;
    ASSERT_EQ(read(held[0], &byte, 1), 1);
    bool ok = true;
    ClsVlmfQzonllf().Sub_ReadOnlineInfo(kExaminee, ok, 1);
    EXPECT_FALSE(ok);
    std::int32_t ren = -2;
    ClsVlmfQzonllf().Sub_HoldOnlineInfo(kExaminee, ren);
    EXPECT_EQ(ren, 0);
    ASSERT_FALSE(bed.Boxes().empty());
    EXPECT_EQ(bed.Boxes().back(), "[受診者番号:0000012345]の受診者は､\r\nTERM01で『結果入力』に使用されています。");
    EXPECT_EQ(Rows().size(), 1u) << "the live session's row stays";
    int wstatus = 0;
    if (killed) {
      kill(pid, SIGKILL);
      waitpid(pid, &wstatus, 0);
      EXPECT_EQ(Rows().size(), 1u) << "a killed session leaves its row";
    } else {
      ASSERT_EQ(write(done[1], "d", 1), 1);
      waitpid(pid, &wstatus, 0);
      EXPECT_TRUE(WIFEXITED(wstatus) && WEXITSTATUS(wstatus) == 0);
      EXPECT_TRUE(Rows().empty());
    }
    for (int fd : {held[0], held[1], done[0], done[1]}) close(fd);
    ClsVlmfQzonllf().Sub_HoldOnlineInfo(kExaminee, ren);
    EXPECT_GT(ren, 0) << "the examinee is free again";
    EXPECT_EQ(Rows().size(), 1u);
    bool released = false;
    ClsVlmfQzonllf().Sub_DelOnlineInfo(std::to_string(ren), released);
    EXPECT_TRUE(released);
  }
}

TEST_F(OnlineTable, ReleasesOnlyItsOwnRow) {
  AddRow(1, "0000000001", "TERM02");
  AddRow(2, std::string(kExaminee), kTerminal);
  bed.Open();
  for (const char* ren : {"2", "2", "0", "-1", "77", "1"}) {
    bool ok = false;
    ClsVlmfQzonllf().Sub_DelOnlineInfo(ren, ok);
    EXPECT_TRUE(ok) << ren;
  }
  EXPECT_EQ(bed.Read("QZONLLF", {{"REN", 2}}), nullptr);
  // Row 1 is another terminal's: the number may have been reused there.
  EXPECT_NE(bed.Read("QZONLLF", {{"REN", 1}}), nullptr);
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(OnlineTable, ATableThatCannotBeReadFailsEveryOperation) {
  bed.bed.suite.Omit("QZONLLF.BTR");
  bed.Open();
  bool read = true, released = true;
  std::int32_t ren = 0;
  ClsVlmfQzonllf().Sub_ReadOnlineInfo(kExaminee, read, 0);
  ClsVlmfQzonllf().Sub_SetOnlineInfo(kExaminee, ren);
  ClsVlmfQzonllf().Sub_DelOnlineInfo("1", released);
  EXPECT_FALSE(read);
  EXPECT_EQ(ren, -1);
  EXPECT_FALSE(released);
  EXPECT_EQ(bed.Boxes(), (std::vector<std::string>{"ログオン情報のレコードが取得ができませんでした。",
                                                    "オンラインマスタのレコードの作成時にエラーが発生しました。",
                                                    "オンラインマスタのレコードの削除時にエラーが発生しました。"}));
  for (const ui::ShownBox& b : bed.bed.shell.boxes()) {
    EXPECT_EQ(b.request.title, "BTRVエラー");
    EXPECT_EQ(b.request.icon, ui::MsgIcon::kCritical);
  }
  EXPECT_EQ(bed.bed.shell.beeps(), 3);
}

TEST_F(OnlineTable, ATableWhoseReadsFailIsNoAllClear) {
  AddRow(1, "0000000001", "TERM02");
  bed.Open();
  bed.bed.DamageFile("QZONLLF.BTR");
  bool ok = true, released = true;
  std::int32_t ren = 0, held = 0;
  ClsVlmfQzonllf().Sub_ReadOnlineInfo(kExaminee, ok, 1);
  ClsVlmfQzonllf().Sub_SetOnlineInfo(kExaminee, ren);
  ClsVlmfQzonllf().Sub_HoldOnlineInfo(kExaminee, held);
  ClsVlmfQzonllf().Sub_DelOnlineInfo("1", released);
  EXPECT_FALSE(ok);
  EXPECT_EQ(ren, -1);
  EXPECT_EQ(held, -1);
  EXPECT_FALSE(released) << "a release that could not read the row is no success";
  EXPECT_EQ(bed.Boxes(), (std::vector<std::string>{"ログオン情報のレコードが取得ができませんでした。",
                                                    "連番の取得に失敗しました。",
                                                    "ログオン情報のレコードが取得ができませんでした。",
                                                    "オンラインマスタのレコードの削除時にエラーが発生しました。"}));
}

}  // namespace
}  // namespace qz::testing
