// The keyboard map, the buttons and check boxes and the preview of the
// result screen, on a loaded consultation of the demo data.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "examinee/save_fixture.h"
#include "examinee/screen_fixture.h"
#include "judgement/frm_syo_comb.h"
#include "kit/ui_expect.h"
#include "loading/group_forms.h"
#include "loading/load_state.h"
#include "platform/text/vb.h"
#include "platform/ui/shell.h"
#include "suite/qzpclr.h"
#include "tools/frm_opchk.h"

namespace qz::test {
namespace {

using ui::MsgResult;

// Examinee 1: today's consultation with body measurement and blood
// pressure entered this morning.
constexpr const char* kFirst = "0000000001";
constexpr long long kHeight = 1001;

class ScreenControlsTest : public ScreenTest {
 protected:
  void Load() {
    BuildDemo();
    ASSERT_TRUE(StartAndChoose(kFirst, kToday));
    height_ = ItemIndex(kHeight);
    ASSERT_GT(height_, 0);
  }
  // Presses `key` with `shift` through the form's keyboard map; returns
  // the key code and shift state that go on to the grid.
  std::pair<int, int> Press(int key, int shift) {
    std::pair<int, int> after{key, shift};
    EXPECT_TRUE(Drive([&] { form().Form_KeyDown(after.first, after.second); }));
    return after;
  }
  KekkaData& Height() { return frmResultIn.ResultMatrix(height_, 0); }
  int height_ = 0;
};

TEST_F(ScreenControlsTest, CancelOnTheClearQuestionChangesNothingAndPassesTheKeyOn) {
  Load();
  const std::string before = Height().Knsach;
  ASSERT_FALSE(before.empty());
  shell_.AnswerBox(MsgResult::kCancel, "検査結果をクリアします。よろしいですか？");
  EXPECT_EQ(Press(ui::kKeyF3, ui::kCtrlMask), std::make_pair(int{ui::kKeyF3}, int{ui::kCtrlMask}));
  EXPECT_EQ(Height().Knsach, before);

  shell_.AnswerBox(MsgResult::kOk, "検査結果をクリアします。");
  EXPECT_EQ(Press(ui::kKeyF3, ui::kCtrlMask), std::make_pair(0, 0));
  EXPECT_TRUE(Height().Knsach.empty());
  EXPECT_TRUE(form().visible());
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

TEST_F(ScreenControlsTest, CtrlF4ThenCtrlF5LeavesEveryItemDoneChecked) {
  Load();
  EXPECT_EQ(Press(ui::kKeyF4, ui::kCtrlMask), std::make_pair(0, 0));
  for (int i = 1; i <= frmResultIn.ItemCount(); ++i) EXPECT_EQ(frmResultIn.ResultMatrix(i, 0).Hekbn, 0);
  EXPECT_EQ(Press(ui::kKeyF5, ui::kCtrlMask), std::make_pair(0, 0));
  for (int i = 1; i <= frmResultIn.ItemCount(); ++i) EXPECT_EQ(frmResultIn.ResultMatrix(i, 0).Hekbn, 1);
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

TEST_F(ScreenControlsTest, F2AndF9DependOnTheGridsEditMode) {
  Load();
  // Outside edit mode F2 starts editing and still reaches the grid.
  EXPECT_EQ(Press(ui::kKeyF2, 0), std::make_pair(int{ui::kKeyF2}, 0));
  EXPECT_TRUE(form().sprResult.edit_mode());
  // In edit mode F2 goes no further and F9 does nothing.
  EXPECT_EQ(Press(ui::kKeyF2, ui::kShiftMask), std::make_pair(0, int{ui::kShiftMask}));
  EXPECT_EQ(Press(ui::kKeyF9, 0), std::make_pair(int{ui::kKeyF9}, 0));
  EXPECT_TRUE(shell_.boxes().empty());

  form().sprResult.SetEditMode(false);
  shell_.AnswerBox(MsgResult::kCancel, "保存せずに終了します。よろしいですか？");
  EXPECT_EQ(Press(ui::kKeyF9, 0), std::make_pair(int{ui::kKeyF9}, 0));
  EXPECT_TRUE(form().sprResult.visible);
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

TEST_F(ScreenControlsTest, OnlyShiftF10AsksForTheReportSelection) {
  Load();
  struct Case {
    int shift;
    bool selection;
    bool swallowed;
  } cases[] = {{ui::kShiftMask, true, true}, {0, false, false}, {ui::kCtrlMask, false, false}, {ui::kAltMask, false, false}};
  for (const Case& c : cases) {
    bool selection_seen = !c.selection;
    shell_.Do([&] { selection_seen = basPublic.PrintSelect; }).Click("frmQZPprint", "cmdCancel");
    const auto after = Press(ui::kKeyF10, c.shift);
    EXPECT_EQ(selection_seen, c.selection) << c.shift;
    EXPECT_EQ(after.first == 0, c.swallowed) << c.shift;
    EXPECT_FALSE(basPublic.PrintSelect) << c.shift;
    EXPECT_TRUE(form().enabled());
  }
  EXPECT_EQ(shell_.pending_actions(), 0u);
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

TEST_F(ScreenControlsTest, ThePreviewFillsTheWorkFilesAndWritesNothingReal) {
  Load();
  const auto stored = StoredResults(kFirst, kToday);
  Height().Knsach = "175.2 ";
  shell_.Click("frmQZPprint", "cmdCancel");
  ASSERT_TRUE(Drive([&] { form().cmdPreview_Click(); }));
  EXPECT_GT(CountRecords(data::QjjrklfLayout()), 0);
  EXPECT_GT(CountRecords(data::QjkkklfLayout()), 0);
  EXPECT_EQ(StoredResults(kFirst, kToday), stored);
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

// Every preview starts from emptied work files, and a row already in a work
// file (one the clearing did not reach) is replaced, never doubled.
TEST_F(ScreenControlsTest, APreviewNeverDoublesTheRowsOfTheWorkFiles) {
  Load();
  shell_.Click("frmQZPprint", "cmdCancel");
  ASSERT_TRUE(Drive([&] { form().cmdPreview_Click(); }));
  const int results = CountRecords(data::QjkkklfLayout());
  const int history = CountRecords(data::QjjrklfLayout());
  ASSERT_GT(history, 1) << "the demo examinee has earlier consultations";
  for (const bool emptied : {true, false}) {
    // Without the clearing the rows of the last preview stay in the files.
    if (!emptied) suite::SetQzpclrStatusForTest([](std::string_view) { return "00"; });
    shell_.Click("frmQZPprint", "cmdCancel");
    ASSERT_TRUE(Drive([&] { form().cmdPreview_Click(); }));
    EXPECT_EQ(CountRecords(data::QjkkklfLayout()), results) << emptied;
    EXPECT_EQ(CountRecords(data::QjjrklfLayout()), history) << emptied;
  }
  suite::SetQzpclrStatusForTest(nullptr);
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

// A work-file write that fails is reported after it was undone; no report
// is offered on half-filled files and the screen keeps every entry.
TEST_F(ScreenControlsTest, AWorkFileWriteThatFailsStopsThePreviewAndKeepsTheScreen) {
  Load();
  Height().Knsach = "175.2 ";
  const std::string results = suite_.paths().work + "QJKKKLF.BTR";
  testing::FailWritesAfter(results, {"INSERT", "UPDATE"}, 3);
  shell_.AnswerBox(MsgResult::kOk, "検査結果マスタの書き込みに失敗しました。");
  ASSERT_TRUE(Drive([&] { form().cmdPreview_Click(); }));
  testing::HealWrites(results, {"INSERT", "UPDATE"});
  EXPECT_FALSE(WasShown("frmQZPprint"));
  EXPECT_EQ(CountRecords(data::QjkkklfLayout()), 0) << "nothing of the undone write stays";
  EXPECT_TRUE(form().loaded());
  EXPECT_TRUE(form().sprResult.visible);
  EXPECT_EQ(vb::Trim(Height().Knsach), "175.2");
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

// A work file that does not open stops the preview with its one message
// (here the results file, after the history file opened): nothing is
// written into the other, no second report follows, and the screen keeps
// what was entered.
TEST_F(ScreenControlsTest, AWorkFileThatDoesNotOpenStopsThePreviewWithItsOneMessage) {
  Load();
  Height().Knsach = "175.2 ";
  std::filesystem::remove(suite_.paths().work + "QJKKKLF.BTR");
  shell_.ClearRecords();
  shell_.auto_answer = true;
  shell_.Key(ui::kKeyF10);
  ASSERT_TRUE(shell_.Play());
  shell_.auto_answer = false;
  EXPECT_EQ(Boxes(), std::vector<std::string>{"プレビュー用受診歴マスタオープンエラー"});
  EXPECT_FALSE(WasShown("frmQZPprint"));
  EXPECT_EQ(CountRecords(data::QjjrklfLayout()), 0);
  EXPECT_TRUE(form().sprResult.visible);
  EXPECT_EQ(vb::Trim(Height().Knsach), "175.2");
}

TEST_F(ScreenControlsTest, AWorkFileThatDoesNotClearStopsThePreview) {
  Load();
  suite::SetQzpclrStatusForTest([](std::string_view file) { return file == "QJKKKLF " ? "05" : "00"; });
  basPublic.PrintSelect = true;
  shell_.AnswerBox(MsgResult::kOk,
                   "プレビュー用検査結果マスタの初期化に失敗しました。\r\nLNK AREA : QJKKKLF 05");
  ASSERT_TRUE(Drive([&] { form().cmdPreview_Click(); }));
  suite::SetQzpclrStatusForTest(nullptr);
  EXPECT_FALSE(WasShown("frmQZPprint"));
  EXPECT_FALSE(basPublic.PrintSelect);
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

TEST_F(ScreenControlsTest, AnOpenFindingsSearchRefusesTheButtons) {
  Load();
  basPublic.SyoSearchOpen = true;
  frmResultIn.SyoSearchItem = static_cast<std::int16_t>(height_);
  basPublic.SyoSearchKomCode = Currency(401);  // hearing findings of the demo
  frmSyoComb->Show();
  const std::string refusal = "所見検索画面が「" + frmResultIn.ItemTable[height_].KomName + "」で開かれています。";
  for (auto click : {&FrmResultIn::cmdPreview_Click, &FrmResultIn::cmdAgain_Click, &FrmResultIn::cmdEnd_Click,
                     &FrmResultIn::cmdOpchk_Click, &FrmResultIn::cmdChkInput_Click, &FrmResultIn::cmdGrpSel_Click}) {
    shell_.AnswerBox(MsgResult::kOk, refusal);
    ASSERT_TRUE(Drive([&] { (form().*click)(); }));
  }
  EXPECT_EQ(shell_.boxes().size(), 6u);
  EXPECT_EQ(OnlineRows().size(), 1u);
  EXPECT_TRUE(form().sprResult.visible);
  EXPECT_EQ(ui::Shell::Require().forms().front(), &*frmSyoComb);
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

}  // namespace
}  // namespace qz::test

namespace qz::test {
namespace {

using ui::MsgResult;

class ScreenButtonsTest : public ScreenTest {
 protected:
  void Load(const char* examinee = "0000000001") {
    BuildDemo();
    ASSERT_TRUE(StartAndChoose(examinee, kToday));
  }
};

TEST_F(ScreenButtonsTest, TheUnperformedListShowsOpenItemsAndItsEndButtonEndsWithoutSaving) {
  Load("0000000004");
  // Two items flagged for the performed-check: one still open, one done
  // ("2"), and an open one of the other sex.
  const int open = ItemIndex(1001), done = ItemIndex(1002), other_sex = ItemIndex(1003);
  ASSERT_TRUE(open > 0 && done > 0 && other_sex > 0);
  for (int i = 1; i <= frmResultIn.ItemCount(); ++i) frmResultIn.ItemTable[i].Opchk = "0";
  for (int i : {open, done, other_sex}) frmResultIn.ItemTable[i].Opchk = "1";
  frmResultIn.ResultMatrix(done, 0).Opflg = "2";
  frmResultIn.ItemTable[other_sex].Sex = frmResultIn.ExamineeSex == 1 ? 2 : 1;
  frmResultIn.ResultMatrix(open, 0).Knsach = "170.0 ";

  std::vector<std::string> listed;
  shell_.Do([&] {
    const grid::ListGrid& list = frmOpchk->flxOpchk;
    for (int r = list.fixed_rows(); r < list.rows(); ++r) {
      if (!list.TextMatrix(r, 0).empty()) listed.push_back(list.TextMatrix(r, 0));
    }
  }).Click("frmOpchk", "cmdSave");
  ASSERT_TRUE(Drive([&] { form().cmdOpchk_Click(); }));
  EXPECT_EQ(listed, std::vector<std::string>{frmResultIn.ItemTable[open].KomName});
  EXPECT_TRUE(StoredResults("0000000004", kToday).empty());
  EXPECT_TRUE(OnlineRows().empty());
  EXPECT_TRUE(SearchShown());
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

TEST_F(ScreenButtonsTest, AMissingOptionProgramIsNamedWithItsPath) {
  Load();
  basPublic.OptionTable[2].PgName = "OPTION2.EXE";
  shell_.AnswerBox(MsgResult::kOk, "プログラムが見つかりません。\r\n" + suite_.paths().program + "OPTION2.EXE");
  ASSERT_TRUE(Drive([&] { form().cmdOption_Click(2); }));
  EXPECT_EQ(form().active_control(), &form().sprResult);
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

TEST_F(ScreenButtonsTest, TheGroupJumpWindowStandsBesideTheFormWhenItFits) {
  Load();
  FrmGrpJmp& jmp = *frmGrpJmp;
  basPublic.WorkArea.Right = form().left + form().width + jmp.width;
  ASSERT_TRUE(Drive([&] { form().cmdGrpJmp_Click(); }));
  EXPECT_EQ(jmp.left, form().left + form().width);
  EXPECT_EQ(jmp.top, form().top);

  basPublic.WorkArea.Right = form().left + form().width + jmp.width - 1;
  ASSERT_TRUE(Drive([&] { form().cmdGrpJmp_Click(); }));
  EXPECT_EQ(jmp.left, basPublic.WorkArea.Right - jmp.width);
  EXPECT_EQ(jmp.top, basPublic.WorkArea.Top);
  EXPECT_EQ(shell_.active_form(), &jmp);
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

TEST_F(ScreenButtonsTest, TheSubMenuRunsTheChosenTool) {
  Load();
  shell_.Click("frmSubMenu", "cmdMenu", 4);
  ASSERT_TRUE(Drive([&] { form().cmdSubMenu_Click(); }));
  for (int i = 1; i <= frmResultIn.ItemCount(); ++i) EXPECT_EQ(frmResultIn.ResultMatrix(i, 0).Hekbn, 0);
  shell_.Click("frmSubMenu", "cmdMenu", 5);
  ASSERT_TRUE(Drive([&] { form().cmdSubMenu_Click(); }));
  for (int i = 1; i <= frmResultIn.ItemCount(); ++i) EXPECT_EQ(frmResultIn.ResultMatrix(i, 0).Hekbn, 1);
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

TEST_F(ScreenButtonsTest, TheSwitchesSayWhatUntickingOrTickingDoes) {
  Load();
  ASSERT_TRUE(Drive([&] { form().chkOperation.SetValue(1); }));
  EXPECT_EQ(form().chkOperation.tool_tip_text, "チェックをはずすと未実施検査項目のチェックを行いません");
  ASSERT_TRUE(Drive([&] { form().chkSokutei.SetValue(1); }));
  EXPECT_EQ(form().chkSokutei.tool_tip_text, "チェックをはずすと測定区分欄を非表示にします");
  EXPECT_EQ(form().sprResult.ColWidth(basPublic.SokuteiCol), basPublic.WidthSokutei);
  ASSERT_TRUE(Drive([&] { form().chkPastDisp.SetValue(1); }));
  EXPECT_EQ(form().chkPastDisp.tool_tip_text, "チェックをはずすと過去に受診した検査項目を全て非表示にします");
  EXPECT_TRUE(form().sprResult.visible);
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

}  // namespace
}  // namespace qz::test
