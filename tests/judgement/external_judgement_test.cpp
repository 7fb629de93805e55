// The external automatic judgement (button "自動判定") on the demo data: the
// work files, the judgement programs (the suite's stand-in, or scripts that
// record their argument), the import library, the reload and the
// auto-judged flag.
#include "judgement/external_judgement.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "examinee/screen_fixture.h"
#include "kit/tool_path.h"
#include "kit/ui_expect.h"
#include "loading/load_state.h"
#include "platform/text/vb.h"
#include "suite/call_log.h"
#include "suite/qzp149b.h"
#include "suite/qzpclr.h"

namespace qz::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kExaminee = "0000000001";

class ExternalJudgementTest : public ScreenTest {
 protected:
  ~ExternalJudgementTest() override {
    suite::SetQzpclrStatusForTest(nullptr);
    suite::SetQzp149bWorkForTest(nullptr);
  }

  std::string ProgramFile(const std::string& name) const { return suite_.paths().program + name; }

  // Installs the suite's judgement stand-in as `name` in the program folder.
  void InstallStandIn(const std::string& name) {
    const std::string tool = testkit::ToolPath("qzp149");
    ASSERT_TRUE(fs::exists(tool)) << tool;
    fs::create_symlink(tool, ProgramFile(name));
  }
  // Installs a program `name` that writes its argument into `name`.out.
  void InstallRecorder(const std::string& name) {
    const std::string path = ProgramFile(name);
    std::ofstream(path) << "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.out\"\n";
    ::chmod(path.c_str(), 0755);
  }
  // What the recorder `name` was started with; "" when it never ran.
  std::string Argument(const std::string& name) const {
    std::ifstream in(ProgramFile(name) + ".out");
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void WriteTriggers(const std::string& hokensidou, const std::string& metabo) {
    std::ofstream(ProgramFile("QZP149D.INI")) << "[KENSA_NO]\r\nHOKENSIDOU=" << hokensidou << "\r\nMETABO=" << metabo
                                              << "\r\n";
  }
  bool Click() {
    return Drive([this] { form().cmdAutoJudge.HandleClick(1, 0); });
  }
  std::vector<std::string> LibraryCalls() const {
    std::vector<std::string> calls;
    for (const std::string& c : suite::Calls()) {
      if (c.rfind("QZPCLR", 0) == 0 || c.rfind("QZP149B", 0) == 0) calls.push_back(c);
    }
    return calls;
  }
};

TEST_F(ExternalJudgementTest, TheBasicJudgementJudgesTheWorkFileAndTheScreenShowsIt) {
  BuildDemo();
  InstallStandIn("QZP149C.EXE");
  ASSERT_TRUE(Start(kExaminee));
  const std::vector<std::string> stored = StoredResults(kExaminee, kToday);
  // A value far above its range, judged wrongly on the screen.
  const int sbp = ItemIndex(2001);
  ASSERT_GT(sbp, 0);
  frmResultIn.ResultMatrix(sbp, 0).Knsach = "180 ";
  frmResultIn.ResultMatrix(sbp, 0).Han = 1;
  suite::ClearCalls();
  ASSERT_TRUE(Click());
  ASSERT_SCRIPT_OK(shell_);
  EXPECT_EQ(testkit::BoxTexts(shell_), std::vector<std::string>{});

  EXPECT_EQ(LibraryCalls(), (std::vector<std::string>{"QZPCLR QJKKKLF   ", "QZPCLR QJJRKLF   ",
                                                       "QZP149B 0000000001202612091"}));
  const KekkaData& r = frmResultIn.ResultMatrix(sbp, 0);
  EXPECT_EQ(vb::RTrim(r.User), "QZP149C");
  EXPECT_EQ(r.Han, 3);
  // The group judgement followed: the blood-pressure group item carries it.
  const int group = ItemIndex(9999999002LL);
  ASSERT_GT(group, 0);
  EXPECT_GE(frmResultIn.ResultMatrix(group, 0).Han, 3);
  EXPECT_TRUE(basPublic.AutoJudgeDone);
  // Nothing is stored until the save.
  EXPECT_EQ(StoredResults(kExaminee, kToday), stored);
}

// The reload after the judgement shows the earlier consultations as they are
// stored, also on a second run over the same work files.
TEST_F(ExternalJudgementTest, EarlierConsultationsShowWhatIsStoredAfterTheRun) {
  BuildDemo();
  InstallStandIn("QZP149C.EXE");
  ASSERT_TRUE(Start(kExaminee));
  ASSERT_GT(frmResultIn.HistoryCount(), 0);
  auto earlier = [] {
    std::vector<std::string> values;
    for (int i = 1; i <= frmResultIn.ItemCount(); ++i) {
      for (int h = 1; h <= frmResultIn.HistoryCount(); ++h) {
        const KekkaData& r = frmResultIn.ResultMatrix(i, h);
        values.push_back(std::to_string(i) + "/" + std::to_string(h) + "=" + vb::Trim(r.Knsach) + "|" +
                         vb::Trim(r.Syoken) + "|" + std::to_string(r.Han));
      }
    }
    return values;
  };
  const std::vector<std::string> before = earlier();
  for (int run = 1; run <= 2; ++run) {
    ASSERT_TRUE(Click());
    ASSERT_SCRIPT_OK(shell_);
    EXPECT_EQ(earlier(), before) << "run " << run;
  }
}

// Until the run and its follow-ups have ended the screen takes no input: a
// value typed meanwhile would be overwritten by the reload, a second click
// would start a second run over the same work files.
TEST_F(ExternalJudgementTest, TheScreenTakesNoInputDuringTheRun) {
  BuildDemo();
  InstallStandIn("QZP149C.EXE");
  ASSERT_TRUE(Start(kExaminee));
  const int sbp = ItemIndex(2001);
  frmResultIn.ResultMatrix(sbp, 0).Knsach = "180 ";  // typed before the click
  suite::ClearCalls();
  int yields = 0, taken = 0;
  for (int i = 0; i < 3; ++i) {
    shell_.Do([&] {
      ++yields;
      taken += shell_.UserType("9") + shell_.UserKey(ui::kKeyF12) + shell_.UserClick(form().cmdAutoJudge);
    }).AtYield();
  }
  ASSERT_TRUE(Click());
  ASSERT_SCRIPT_OK(shell_);
  EXPECT_EQ(yields, 3);
  EXPECT_EQ(taken, 0);
  EXPECT_EQ(LibraryCalls().size(), 3u) << "one run";
  EXPECT_EQ(vb::Trim(frmResultIn.ResultMatrix(sbp, 0).Knsach), "180");
  EXPECT_TRUE(shell_.TakesUserInput(form()));
}

TEST(SpecificJudgeMode, ByTheTriggerItemsPresent) {
  struct Case {
    std::int16_t a, b;
    const char* mode;
  };
  for (const Case& c : {Case{0, 0, ""}, Case{0, 7, "1"}, Case{5, 0, "2"}, Case{5, 7, "0"}}) {
    EXPECT_EQ(Fnc_SpecificJudgeMode(c.a, c.b), c.mode) << c.a << " " << c.b;
  }
}

TEST_F(ExternalJudgementTest, BothTriggerItemsStartTheSpecificJudgementWithModeZero) {
  BuildDemo();
  WriteTriggers("1004", "1002");
  InstallRecorder("QZP149C.EXE");
  InstallRecorder("QZP149D.EXE");
  ASSERT_TRUE(Start(kExaminee));
  ASSERT_TRUE(Click());
  ASSERT_SCRIPT_OK(shell_);
  EXPECT_EQ(frmResultIn.TriggerItemA, ItemIndex(1004));
  EXPECT_EQ(frmResultIn.TriggerItemB, ItemIndex(1002));
  EXPECT_EQ(Argument("QZP149C.EXE"), "0000000001202612091");
  EXPECT_EQ(Argument("QZP149D.EXE"), "00000000012026120910");
  EXPECT_TRUE(basPublic.AutoJudgeDone);  // both have their values
}

TEST_F(ExternalJudgementTest, WithoutTriggerItemsOnlyTheBasicJudgementRuns) {
  BuildDemo();
  WriteTriggers("8888", "");  // an item the consultation does not hold
  InstallRecorder("QZP149C.EXE");
  InstallRecorder("QZP149D.EXE");
  ASSERT_TRUE(Start(kExaminee));
  ASSERT_TRUE(Click());
  ASSERT_SCRIPT_OK(shell_);
  EXPECT_EQ(Argument("QZP149C.EXE"), "0000000001202612091");
  EXPECT_EQ(Argument("QZP149D.EXE"), "");
  EXPECT_TRUE(basPublic.AutoJudgeDone);
}

TEST_F(ExternalJudgementTest, TheSpecificJudgementSetsTheTriggerItemsLevel) {
  BuildDemo();
  WriteTriggers("5001", "");  // the chest X-ray findings item receives the level
  InstallStandIn("QZP149C.EXE");
  InstallStandIn("QZP149D.EXE");
  ASSERT_TRUE(Start(kExaminee));
  const int item = ItemIndex(5001);
  ASSERT_GT(item, 0);
  ASSERT_TRUE(Click());
  ASSERT_SCRIPT_OK(shell_);
  const KekkaData& r = frmResultIn.ResultMatrix(item, 0);
  EXPECT_EQ(vb::RTrim(r.User), "QZP149D");
  EXPECT_TRUE(r.Syoken == "情報提供" || r.Syoken == "動機付け支援" || r.Syoken == "積極的支援") << r.Syoken;
  EXPECT_TRUE(basPublic.AutoJudgeDone);
}

// The demo's specific checkup holds both level items: the whole run, with
// the suite's judgement stand-ins, ends without a message.
TEST_F(ExternalJudgementTest, TheDemosSpecificCheckupGetsBothLevels) {
  BuildDemo();
  WriteTriggers("8001", "8002");
  InstallStandIn("QZP149C.EXE");
  InstallStandIn("QZP149D.EXE");
  ASSERT_TRUE(Start("0000000005"));
  basPublic.AutoJudgeDone = false;
  ASSERT_TRUE(Click());
  ASSERT_SCRIPT_OK(shell_);
  EXPECT_EQ(testkit::BoxTexts(shell_), std::vector<std::string>{});
  for (long long code : {8001LL, 8002LL}) {
    ASSERT_GT(ItemIndex(code), 0) << code;
    const KekkaData& r = frmResultIn.ResultMatrix(ItemIndex(code), 0);
    EXPECT_EQ(vb::RTrim(r.User), "QZP149D") << code;
    EXPECT_NE(vb::Trim(r.Syoken), "") << code;
    EXPECT_GT(r.Han, 0) << code;
  }
  EXPECT_TRUE(basPublic.AutoJudgeDone);
}

TEST_F(ExternalJudgementTest, ATriggerItemLeftWithoutValueLeavesTheFlag) {
  BuildDemo();
  WriteTriggers("1004", "");
  InstallRecorder("QZP149C.EXE");
  InstallRecorder("QZP149D.EXE");
  ASSERT_TRUE(Start(kExaminee));
  basPublic.AutoJudgeDone = false;
  const int item = ItemIndex(1004);
  ASSERT_GT(item, 0);
  frmResultIn.ResultMatrix(item, 0) = KekkaData{};
  ASSERT_TRUE(Click());
  ASSERT_SCRIPT_OK(shell_);
  EXPECT_EQ(Argument("QZP149D.EXE"), "00000000012026120912");
  EXPECT_FALSE(basPublic.AutoJudgeDone);
}

TEST_F(ExternalJudgementTest, AWorkFileThatIsNotClearedEndsTheRun) {
  BuildDemo();
  InstallRecorder("QZP149C.EXE");
  ASSERT_TRUE(Start(kExaminee));
  basPublic.AutoJudgeDone = false;
  suite::SetQzpclrStatusForTest([](std::string_view file) { return file == "QJJRKLF " ? "05" : "00"; });
  shell_.AnswerBox(ui::MsgResult::kOk, "プレビュー用受診歴マスタの初期化に失敗しました。\r\nLNK AREA : QJJRKLF 05");
  ASSERT_TRUE(Click());
  ASSERT_SCRIPT_OK(shell_);
  EXPECT_EQ(Argument("QZP149C.EXE"), "");
  EXPECT_FALSE(basPublic.AutoJudgeDone);
}

TEST_F(ExternalJudgementTest, ADispatchDateThatIsNoDateRefusesTheRun) {
  BuildDemo();
  InstallRecorder("QZP149C.EXE");
  ASSERT_TRUE(Start(kExaminee));
  suite::ClearCalls();
  form().txtHassou.SetText("2026/13/45");
  shell_.AnswerBox(ui::MsgResult::kOk, "結果発送日が正しくありません。");
  ASSERT_TRUE(Click());
  ASSERT_SCRIPT_OK(shell_);
  EXPECT_TRUE(LibraryCalls().empty());
  EXPECT_EQ(Argument("QZP149C.EXE"), "");
  EXPECT_EQ(form().active_control(), &form().txtHassou);
}

// Work files that cannot be written are never judged nor read back: the
// screen keeps what was entered.
TEST_F(ExternalJudgementTest, WorkFilesThatDoNotOpenEndTheRunBeforeThePrograms) {
  BuildDemo();
  InstallRecorder("QZP149C.EXE");
  ASSERT_TRUE(Start(kExaminee));
  const int sbp = ItemIndex(2001);
  frmResultIn.ResultMatrix(sbp, 0).Knsach = "180 ";
  fs::remove(suite_.paths().work + "QJKKKLF.BTR");
  shell_.AnswerBox(ui::MsgResult::kOk, "プレビュー用受診歴マスタオープンエラー");
  ASSERT_TRUE(Click());
  ASSERT_SCRIPT_OK(shell_);
  EXPECT_EQ(Argument("QZP149C.EXE"), "");
  EXPECT_EQ(frmResultIn.ResultMatrix(sbp, 0).Knsach, "180 ");
}

// A judgement program that cannot be started is reported and the run goes
// on, but the consultation is not marked as judged.
TEST_F(ExternalJudgementTest, AProgramThatDoesNotStartLeavesTheConsultationUnjudged) {
  BuildDemo();
  ASSERT_TRUE(Start(kExaminee));
  basPublic.AutoJudgeDone = false;
  suite::ClearCalls();
  shell_.AnswerBox(ui::MsgResult::kOk, "QZP149C.EXEの実行に失敗しました。");
  ASSERT_TRUE(Click());
  ASSERT_SCRIPT_OK(shell_);
  EXPECT_EQ(LibraryCalls().size(), 3u);  // the import library still ran
  EXPECT_FALSE(basPublic.AutoJudgeDone);
}

}  // namespace
}  // namespace qz::test
