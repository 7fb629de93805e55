// The launch of the findings search from the result grid: what refuses it,
// what the dialog is given, the modal and the polled dialog, and a typed
// code that names one finding.
#include <gtest/gtest.h>

#include <functional>

#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "examinee/frm_result_in.h"
#include "grid/cell_kinds.h"
#include "grid/findings_search_launch.h"
#include "judgement/frm_syo_comb.h"
#include "judgement/syo_search_fixture.h"
#include "judgement/syo_search_handoff.h"
#include "kit/scratch_dir.h"
#include "kit/ui_expect.h"
#include "loading/group_forms.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"

namespace qz {
namespace {

// Grid rows: 4 a findings item of type 12, 5 the judgement item 200102, 6
// the summary-findings item, 7 a numeric item, 8 an item only earlier
// consultations have, 9 the judgement item 200104.
class FindingsSearchLaunchTest : public testkit::SyoSearchTest {
 protected:
  void SetUp() override {
    testkit::SyoSearchTest::SetUp();
    frmResultIn = FrmResultInState{};
    frmResultInForm.Reset();
    frmResultInForm.get();
    syoSearchSteps = SyoSearchSteps{};
    findingsSearchChecks = FindingsSearchChecks{};
    basPublic.LogonUserId = "U01";
    frmResultIn.DefaultColorLetter = "B";
    dir.Enter();
    dir.Write("QZP140.INI", "[SougouSyoken]\r\nKomCode=900\r\n102=2\r\n");

    struct Item {
      long long code;
      const char* name;
      std::int16_t ksyub, past;
    } items[] = {{100, "胸部所見", kKsyubFindings, 0}, {200102, "胸部判定", kKsyubGroupJudgement, 0},
                 {900, "総合所見", kKsyubFindings, 0},  {300, "身長", kKsyubNumeric, 0},
                 {400, "旧所見", kKsyubFindings, 2},    {200104, "腹部判定", kKsyubGroupJudgement, 0}};
    for (const Item& it : items) {
      KomInfo kom;
      kom.KomCode = Currency(it.code);
      kom.KomName = it.name;
      kom.Ksyub = it.ksyub;
      kom.Past = it.past;
      kom.Skomcd = Currency(12);
      frmResultIn.ItemTable.Append(kom);
      frmResultIn.RowItems.Append(static_cast<std::int16_t>(frmResultIn.ItemTable.Count()));
    }
    frmResultIn.ResultMatrix.Create(6, 0);
    grid::Spread& spr = Grid();
    spr.SetMaxCols(12);
    spr.SetMaxRows(9);
    Sub_SprSet();
    Sub_LockSet();
  }
  void TearDown() override {
    syoSearchSteps = DefaultSyoSearchSteps();
    findingsSearchChecks = DefaultFindingsSearchChecks();
    frmResultInForm.Reset();
    frmGrpSel.Reset();
    frmResultIn = FrmResultInState{};
    testkit::SyoSearchTest::TearDown();
  }

  grid::Spread& Grid() { return *frmResultIn.sprResult; }
  // F5 with the cursor on (col, row).
  void Search(int row, int col = -1) {
    Grid().MoveActiveCell(col < 0 ? basPublic.ResultCol : col, row);
    ASSERT_TRUE(shell.Drive([] { cmdSearch_Click(); }));
  }
  bool RowLocked(int row) {
    for (int col : {basPublic.SyoCodeCol, basPublic.ResultCol, basPublic.ChkCol}) {
      if (!Grid().FormatAt(col, row).lock) return false;
    }
    return true;
  }
  std::string Status() { return frmResultInForm->lblStatus.caption; }

  testkit::ScratchDir dir;
};

TEST_F(FindingsSearchLaunchTest, RowsThatCannotBeSearchedOpenNothing) {
  struct Case {
    const char* what;
    int row, col;
    const char* status;
    int beeps;
  } cases[] = {
      {"right of the search columns", 4, 6, "", 0},
      {"an item of earlier consultations only", 8, -1, "", 0},
      {"a numeric item", 7, -1, "  この項目の所見検索はできません。", 1},
  };
  for (const Case& c : cases) {
    frmResultInForm->lblStatus.caption.clear();
    shell.ClearRecords();
    Search(c.row, c.col);
    EXPECT_EQ(Status(), c.status) << c.what;
    EXPECT_EQ(shell.beeps(), c.beeps) << c.what;
    EXPECT_TRUE(shell.boxes().empty()) << c.what;
    EXPECT_FALSE(frmSyoComb.loaded()) << c.what;
    EXPECT_FALSE(basPublic.SyoSearchOpen) << c.what;
  }
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(FindingsSearchLaunchTest, ARefusedChangePutsTheResultCellBack) {
  shell.auto_answer = true;
  KekkaData& r = frmResultIn.ResultMatrix(1, 0);
  r.Syoken = " 胆石 ";
  struct Case {
    const char* what;
    std::function<void()> arrange;
    const char* box;
  } cases[] = {
      {"no edit permission", [] { findingsSearchChecks.edit_permission = [](std::int32_t) { return false; }; },
       ""},
      {"a done-checked result", [&r] { r.Hekbn = 1; }, "「胸部所見」は\r\nチェックがついてるため変更できません。"},
      {"the overall judgement made", [] { findingsSearchChecks.overall_judged = [](std::int16_t) { return true; }; },
       ""},
      {"a list to pick from, and no list",
       [] {
         basPublic.ListHissuKomCode.Count = 1;
         basPublic.ListHissuKomCode.Items = {Currency(0), Currency(100)};
       },
       "「胸部所見」は\r\nリストから選択して下さい。"},
  };
  for (const Case& c : cases) {
    findingsSearchChecks = FindingsSearchChecks{};
    r.Hekbn = 0;
    basPublic.ListHissuKomCode = CodeList{};
    c.arrange();
    Grid().SetText(basPublic.ResultCol, 4, "打ちかけ");
    Grid().SetText(basPublic.SyoCodeCol, 4, "A0");
    shell.ClearRecords();
    Search(4);
    EXPECT_EQ(Grid().TextAt(basPublic.ResultCol, 4), "胆石") << c.what;
    EXPECT_EQ(Grid().TextAt(basPublic.SyoCodeCol, 4), "A0") << c.what;
    EXPECT_EQ(testkit::BoxTexts(shell), c.box[0] ? std::vector<std::string>{c.box} : std::vector<std::string>{})
        << c.what;
    EXPECT_FALSE(frmSyoComb.loaded()) << c.what;
    EXPECT_FALSE(RowLocked(4)) << c.what;
  }
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(FindingsSearchLaunchTest, TheProgramsChecksAreAsked) {
  findingsSearchChecks = DefaultFindingsSearchChecks();
  shell.AnswerBox(ui::MsgResult::kOk, "「胸部所見」の\r\n入力ご担当者に連絡して下さい。");
  Search(4);
  EXPECT_FALSE(frmSyoComb.loaded());
  // Permitted, but the overall judgement is made and locks the others.
  frmResultIn.ItemTable[1].Editable = true;
  frmResultIn.OverallItem = 3;
  frmResultIn.SouChk = "1";
  frmResultIn.ResultMatrix(3, 0).Hekbn = 1;
  shell.AnswerBox(ui::MsgResult::kOk, "総合判定済みのため変更できません。");
  Search(4);
  EXPECT_FALSE(frmSyoComb.loaded());
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(FindingsSearchLaunchTest, ASecondSearchNamesTheItemBeingSearched) {
  shell.auto_answer = true;
  basPublic.SyoSearchOpen = true;
  frmResultIn.SyoSearchItem = 2;
  frmResultIn.ResultMatrix(1, 0).Syoken = "前";
  Grid().SetText(basPublic.ResultCol, 4, "途中");
  Search(4);
  EXPECT_EQ(testkit::BoxTexts(shell), std::vector<std::string>{"所見検索画面は「胸部判定」で開かれています。"});
  EXPECT_EQ(Grid().TextAt(basPublic.ResultCol, 4), "前");
  EXPECT_EQ(frmResultIn.SyoSearchItem, 2);
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(FindingsSearchLaunchTest, TheModalSearchLocksTheRowAndAppliesTheDecision) {
  frmResultIn.ResultMatrix(1, 0).Han = 2;
  Grid().SetText(basPublic.ResultCol, 4, "前の所見");
  Grid().SetText(basPublic.SyoCodeCol, 4, " A0 ");
  bool checked = false;
  shell.Do([&] {
    // While the dialog is up: its inputs, the locked row, the flag.
    EXPECT_EQ(basPublic.SyoSearchKomCode, Currency(12));
    EXPECT_EQ(basPublic.SyoSearchRcode, "A0");
    EXPECT_EQ(basPublic.SyoSearchMaxLen, 100);  // the item sets no length
    EXPECT_EQ(basPublic.SyoSearchText, "前の所見");
    EXPECT_EQ(basPublic.SyoSearchHan, 2);
    EXPECT_EQ(basPublic.SyoSearchTab, 0);
    EXPECT_TRUE(basPublic.SyoSearchOpen);
    EXPECT_TRUE(RowLocked(4));
    EXPECT_FALSE(frmGrpSel->cmdSelectEnd.enabled);
    EXPECT_EQ(frmResultIn.SyoSearchRow, 4);
    EXPECT_EQ(frmResultIn.SyoSearchItem, 1);
    checked = true;
    frmSyoComb->flexSyoList.ClickCell(3, 1);  // A02 軽度肥大, judgement 2
  });
  shell.Click("frmSyoComb", "cmdDecision");
  Search(4);
  EXPECT_TRUE(checked);
  EXPECT_EQ(frmResultIn.ResultMatrix(1, 0).Syoken, "前の所見  軽度肥大");
  EXPECT_EQ(Grid().TextAt(basPublic.ResultCol, 4), "前の所見  軽度肥大");
  EXPECT_FALSE(basPublic.SyoSearchOpen);
  EXPECT_FALSE(RowLocked(4));
  EXPECT_TRUE(frmGrpSel->cmdSelectEnd.enabled);
  EXPECT_EQ(frmResultIn.SyoSearchItem, 0);
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(FindingsSearchLaunchTest, TheModelessSearchIsPolledAndGivesTheCellBackWhenClosed) {
  basPublic.SearchModal = 0;
  frmResultIn.ItemTable[1].Keta = 20;
  frmResultIn.ResultMatrix(1, 0).Syoken = "前の所見";
  const KekkaData before = frmResultIn.ResultMatrix(1, 0);
  Grid().SetText(basPublic.ResultCol, 4, "前の所見");
  Search(4);
  ASSERT_TRUE(frmSyoComb.loaded());
  EXPECT_TRUE(frmSyoComb->visible());
  EXPECT_EQ(basPublic.SyoSearchMaxLen, 20);
  EXPECT_EQ(Grid().TextAt(basPublic.ResultCol, 4), "所見検索中です");
  EXPECT_TRUE(RowLocked(4));
  ui::Timer& timer = frmResultInForm->tmrSyoSearch;
  EXPECT_TRUE(timer.enabled);
  EXPECT_EQ(timer.interval, 1000);

  ASSERT_TRUE(shell.Drive([] { frmSyoComb->cmdClose_Click(); }));
  ASSERT_TRUE(shell.Drive([&] { timer.on_timer(); }));
  EXPECT_FALSE(timer.enabled);
  EXPECT_EQ(Grid().TextAt(basPublic.ResultCol, 4), "前の所見");
  EXPECT_EQ(frmResultIn.ResultMatrix(1, 0), before);
  // The cells take back the locks of their kinds: the done-check never
  // takes typing.
  EXPECT_FALSE(Grid().FormatAt(basPublic.SyoCodeCol, 4).lock);
  EXPECT_FALSE(Grid().FormatAt(basPublic.ResultCol, 4).lock);
  EXPECT_TRUE(Grid().FormatAt(basPublic.ChkCol, 4).lock);
  EXPECT_FALSE(basPublic.SyoSearchOpen);

  // A judgement item's cell keeps its mark: nothing would give it back.
  syoSearchSteps.find_summary_item = [](std::int16_t) -> std::int16_t { return 3; };
  Grid().SetText(basPublic.ResultCol, 5, "Ｂ");
  Search(5);
  EXPECT_TRUE(frmSyoComb->visible());
  EXPECT_EQ(Grid().TextAt(basPublic.ResultCol, 5), "Ｂ");
  ASSERT_TRUE(shell.Drive([] { frmSyoComb->cmdClose_Click(); }));
  ASSERT_TRUE(shell.Drive([&] { timer.on_timer(); }));
  EXPECT_EQ(Grid().TextAt(basPublic.ResultCol, 5), "Ｂ");
  // A judgement item takes no findings code.
  EXPECT_TRUE(Grid().FormatAt(basPublic.SyoCodeCol, 5).lock);
  EXPECT_FALSE(Grid().FormatAt(basPublic.ResultCol, 5).lock);
  EXPECT_TRUE(Grid().FormatAt(basPublic.ChkCol, 5).lock);
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(FindingsSearchLaunchTest, AReadingCodeSearchedForIsNotLeftUnenteredWhenTheCursorWentOn) {
  basPublic.SearchModal = 0;
  ui::Timer& timer = frmResultInForm->tmrSyoSearch;
  const struct {
    const char* close;
    std::function<void()> step;
  } closes[] = {{"戻る", [] { frmSyoComb->cmdClose_Click(); }},
                {"decided", [] {
                   frmSyoComb->flexSyoList.ClickCell(3, 1);  // A02 軽度肥大
                   frmSyoComb->cmdDecision_Click();
                 }}};
  for (const auto& c : closes) {
    SCOPED_TRACE(c.close);
    // The reading code typed into the findings-code cell, then F5 there.
    Grid().SetText(basPublic.SyoCodeCol, 4, "A0");
    Search(4, basPublic.SyoCodeCol);
    ASSERT_TRUE(frmSyoComb.loaded() && frmSyoComb->visible());
    Grid().MoveActiveCell(basPublic.ResultCol, 7);
    ASSERT_TRUE(shell.Drive(c.step));
    ASSERT_TRUE(shell.Drive([&] { timer.on_timer(); }));
    ASSERT_FALSE(basPublic.SyoSearchOpen);
    // No cursor is there to enter it: the cell shows what is kept (no code).
    EXPECT_EQ(Grid().TextAt(basPublic.SyoCodeCol, 4), "");
  }
  EXPECT_EQ(frmResultIn.ResultMatrix(1, 0).Syoken, "軽度肥大");
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(FindingsSearchLaunchTest, AJudgementItemSearchesItsSummaryItemOnTheTabOfTheSettings) {
  int finds = 0;
  syoSearchSteps.find_summary_item = [&finds](std::int16_t) -> std::int16_t {
    ++finds;
    return 3;
  };
  frmResultIn.ResultMatrix(3, 0).Syoken = "要観察";
  frmResultIn.ResultMatrix(3, 0).Han = 3;
  std::vector<std::int16_t> tabs;
  std::vector<std::string> texts;
  for (int row : {5, 5, 9}) {
    shell.Do([&] {
      tabs.push_back(basPublic.SyoSearchTab);
      texts.push_back(basPublic.SyoSearchText);
      EXPECT_EQ(basPublic.SyoSearchHan, 3);
    });
    shell.Click("frmSyoComb", "cmdClose");
    Search(row);
  }
  // Closed without a decision, a search takes no summary item: each one
  // finds the free item afresh.
  EXPECT_EQ(frmResultIn.ItemTable[2].SougouDest, 0);
  EXPECT_EQ(finds, 3);
  EXPECT_EQ(tabs, (std::vector<std::int16_t>{2, 2, 0}));  // key "102"; no key "104"
  EXPECT_EQ(texts, (std::vector<std::string>{"要観察", "要観察", "要観察"}));
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(FindingsSearchLaunchTest, AJudgementItemWithEverySummaryItemInUseOpensNothing) {
  syoSearchSteps.find_summary_item = [](std::int16_t) -> std::int16_t { return 0; };
  Search(5);
  EXPECT_EQ(Status(), "  総合所見欄がいっぱいです。");
  EXPECT_EQ(frmResultIn.ItemTable[2].SougouDest, 0);
  EXPECT_FALSE(frmSyoComb.loaded());
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(FindingsSearchLaunchTest, ATypedCodeOfOneFindingIsSetWithoutTheDialog) {
  Grid().SetText(basPublic.SyoCodeCol, 4, "2");  // findings code 2: 軽度肥大, judgement 2
  Search(4);
  EXPECT_FALSE(frmSyoComb.loaded());
  EXPECT_EQ(frmResultIn.ResultMatrix(1, 0).Syoken, "軽度肥大");
  EXPECT_EQ(frmResultIn.ResultMatrix(1, 0).Han, 2);
  EXPECT_EQ(Grid().TextAt(basPublic.HanCol, 4), "Ｂ");
  EXPECT_FALSE(RowLocked(4));
  EXPECT_FALSE(basPublic.SyoSearchOpen);
  EXPECT_EQ(frmResultIn.SyoSearchRow, 0);
  EXPECT_EQ(Grid().TextAt(basPublic.SyoCodeCol, 4), "") << "the code is not kept";
  // The code of a heading is refused; nothing is set.
  Grid().SetText(basPublic.SyoCodeCol, 4, "4");
  shell.AnswerBox(ui::MsgResult::kOk, "タイトル用所見は選択できません。");
  Search(4);
  EXPECT_FALSE(frmSyoComb.loaded());
  EXPECT_FALSE(RowLocked(4));
  EXPECT_EQ(frmResultIn.ResultMatrix(1, 0).Syoken, "軽度肥大");
  EXPECT_EQ(frmResultIn.ResultMatrix(1, 0).Han, 2);
  // A findings type without findings: nothing is shown or set.
  frmResultIn.ItemTable[1].Skomcd = Currency(99);
  shell.AnswerBox(ui::MsgResult::kOk, "所見マスタが登録されていません");
  Search(4);
  EXPECT_FALSE(frmSyoComb.loaded());
  EXPECT_FALSE(RowLocked(4));
  EXPECT_EQ(frmResultIn.ResultMatrix(1, 0).Syoken, "軽度肥大");
  EXPECT_SCRIPT_OK(shell);
}

TEST(ResultCellTextTest, TheCellShowsTheStoredFindingOrJudgement) {
  frmResultIn = FrmResultInState{};
  KomInfo findings;
  findings.Ksyub = kKsyubFindings;
  frmResultIn.ItemTable.Append(findings);
  frmResultIn.ResultMatrix.Create(1, 0);
  KekkaData& r = frmResultIn.ResultMatrix(1, 0);
  r.Syoken = " 胆石 ";
  EXPECT_EQ(ResultCellText(1), "胆石");
  r.Sokutei = kSokuteiNotPerformed;
  EXPECT_EQ(ResultCellText(1), "(未実施)");
  r.Sokutei = kSokuteiBelow;
  EXPECT_EQ(ResultCellText(1), "(＜胆石)");
  frmResultIn = FrmResultInState{};
}

}  // namespace
}  // namespace qz
