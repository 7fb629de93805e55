// The findings search dialog: what its load lists and whether it shows,
// the tabs, picking and combining findings, and its buttons.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/imm_on_off.h"
#include "examinee/bas_public.h"
#include "judgement/frm_syo_comb.h"
#include "judgement/syo_search_fixture.h"
#include "kit/ui_expect.h"
#include "platform/ui/shell.h"
#include "suite/call_log.h"

namespace qz {
namespace {

class FrmSyoCombTest : public testkit::SyoSearchTest {
 protected:
  // The hand-off inputs as the launch fills them.
  void Inputs(long long type, std::string rcode = "", std::string text = "", std::int16_t han = 0,
              std::int16_t tab = 0) {
    basPublic.SyoSearchKomCode = Currency(type);
    basPublic.SyoSearchRcode = std::move(rcode);
    basPublic.SyoSearchText = std::move(text);
    basPublic.SyoSearchHan = han;
    basPublic.SyoSearchTab = tab;
    basPublic.SyoSearchMaxLen = 100;
  }
  void LoadDialog() { ASSERT_TRUE(shell.Drive([] { frmSyoComb->Load(); })); }
  void ShowDialog() {
    LoadDialog();
    ASSERT_EQ(frmSyoComb->tag, "");
    ASSERT_TRUE(shell.Drive([] { frmSyoComb->Show(); }));
  }
  // The typed codes of the data rows, in list order.
  std::vector<std::string> Codes() {
    std::vector<std::string> codes;
    FrmSyoComb& f = *frmSyoComb;
    for (int r = 1; r < f.NextRow; ++r) codes.push_back(f.flexSyoList.TextMatrix(r, kSyoColRcode));
    return codes;
  }
  // Decides with F12 after the queued steps: `text` and `han` handed back.
  void ExpectDecidedWithF12(const std::string& text, std::int16_t han) {
    shell.Key(ui::kKeyF12);
    ASSERT_TRUE(shell.Play());
    EXPECT_TRUE(basPublic.SyoSearchDecided);
    EXPECT_EQ(basPublic.SyoSearchText, text);
    EXPECT_EQ(basPublic.SyoSearchHan, han);
    EXPECT_SCRIPT_OK(shell);
  }
  int RowOf(const std::string& code) {
    FrmSyoComb& f = *frmSyoComb;
    for (int r = 1; r < f.NextRow; ++r) {
      if (f.flexSyoList.TextMatrix(r, kSyoColRcode) == code) return r;
    }
    ADD_FAILURE() << code;
    return 1;
  }
};

using CodeList = std::vector<std::string>;

TEST_F(FrmSyoCombTest, LoadListsTheDefaultTabSortedWithMarksAndTitleRows) {
  Inputs(12, "", "既往", 2);
  LoadDialog();
  FrmSyoComb& f = *frmSyoComb;
  EXPECT_EQ(f.tag, "");
  ASSERT_EQ(f.tabSyoList.count(), 3);
  EXPECT_EQ(f.tabSyoList.tab(1).caption, "胸部");
  EXPECT_EQ(f.tabSyoList.tab(2).tag, "2");
  EXPECT_EQ(f.tabSyoList.tab(3).caption, "全て");
  EXPECT_EQ(f.tabSyoList.tab(3).tag, "");
  EXPECT_EQ(f.tabSyoList.selected_index(), 1);
  EXPECT_EQ(Codes(), (CodeList{"A00", "A01", "A02", "A03", "C02"}));
  const int a03 = RowOf("A03");
  EXPECT_EQ(f.flexSyoList.TextMatrix(a03, kSyoColSykn), "要精査");
  EXPECT_EQ(f.flexSyoList.TextMatrix(a03, kSyoColScode), "3");
  EXPECT_EQ(f.flexSyoList.TextMatrix(a03, kSyoColHan), "4");
  EXPECT_EQ(f.flexSyoList.TextMatrix(a03, kSyoColSort), "01/A03");
  EXPECT_EQ(f.flexSyoList.TextMatrix(a03, kSyoColMark), "Ｄ");
  EXPECT_EQ(f.flexSyoList.CellForeColorAt(a03, kSyoColMark), 0x700u);  // letter K
  const int title = RowOf("A00");
  EXPECT_EQ(f.flexSyoList.TextMatrix(title, kSyoColTitle), "1");
  for (int c = 0; c < kSyoColCount; ++c) EXPECT_EQ(f.flexSyoList.CellBackColorAt(title, c), 0xFFC8FFu);
  EXPECT_EQ(f.flexSyoList.TextMatrix(0, kSyoColSykn), "所見");
  EXPECT_EQ(f.flexSyoList.ColWidth(kSyoColSykn), 8600);
  EXPECT_EQ(f.txtSyoken.text(), "既往");
  EXPECT_EQ(f.CombinedHan, 2);
  EXPECT_FALSE(basPublic.SyoSearchDecided);
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(FrmSyoCombTest, TheAllTabListsEveryTabByTabThenCode) {
  Inputs(12, "", "", 0, 3);
  LoadDialog();
  EXPECT_EQ(frmSyoComb->tabSyoList.selected_index(), 3);
  EXPECT_EQ(Codes(), (CodeList{"A00", "A01", "A02", "A03", "C02", "B01", "B02", "C01"}));
  // A first tab the strip does not have lists every tab too.
  frmSyoComb->Unload();
  Inputs(12, "", "", 0, 9);
  LoadDialog();
  EXPECT_EQ(frmSyoComb->tabSyoList.selected_index(), 3);
  EXPECT_EQ(Codes().size(), 8u);
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(FrmSyoCombTest, ATypeWithoutFindingsIsNotShown) {
  Inputs(99);
  shell.AnswerBox(ui::MsgResult::kOk, "所見マスタが登録されていません");
  LoadDialog();
  EXPECT_EQ(frmSyoComb->tag, "1");
  EXPECT_EQ(shell.beeps(), 1);
  EXPECT_EQ(shell.boxes().at(0).request.title, "ﾒｯｾｰｼﾞ");
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(FrmSyoCombTest, ATypedCodeSearchesWithinTheTab) {
  Inputs(12, "A0");
  LoadDialog();
  EXPECT_EQ(Codes(), (CodeList{"A00", "A01", "A02", "A03"}));
  EXPECT_EQ(frmSyoComb->txtRCode.text(), "A0");
  // A text that is no number and matches nothing: shown with an empty list.
  frmSyoComb->Unload();
  Inputs(12, "ZZ");
  LoadDialog();
  EXPECT_EQ(frmSyoComb->tag, "");
  EXPECT_EQ(frmSyoComb->NextRow, 1);
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(FrmSyoCombTest, ANumericTextFindsFindingsByCode) {
  // Code 5 is one finding: handed back as the choice, the list not shown.
  Inputs(12, "5", "前の所見", 1);
  LoadDialog();
  EXPECT_EQ(frmSyoComb->tag, "1");
  EXPECT_EQ(basPublic.SyoSearchText, "胆石");
  EXPECT_EQ(basPublic.SyoSearchHan, 3);
  EXPECT_TRUE(basPublic.SyoSearchDecided);
  // Code 7 has two rows: the dialog shows them.
  frmSyoComb->Unload();
  Inputs(12, "7", "前の所見", 1);
  LoadDialog();
  EXPECT_EQ(frmSyoComb->tag, "");
  EXPECT_EQ(Codes(), (CodeList{"C01", "C02"}));
  EXPECT_FALSE(basPublic.SyoSearchDecided);
  EXPECT_EQ(basPublic.SyoSearchText, "前の所見");
  // Code 4 is a heading: refused, nothing handed back, the list not shown.
  frmSyoComb->Unload();
  Inputs(12, "4", "前の所見", 1);
  shell.AnswerBox(ui::MsgResult::kOk, "タイトル用所見は選択できません。");
  LoadDialog();
  EXPECT_EQ(frmSyoComb->tag, "1");
  EXPECT_FALSE(basPublic.SyoSearchDecided);
  EXPECT_EQ(basPublic.SyoSearchText, "前の所見");
  EXPECT_EQ(basPublic.SyoSearchHan, 1);
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(FrmSyoCombTest, ATabClickSearchesThatTab) {
  Inputs(12);
  ShowDialog();
  shell.Do([] { frmSyoComb->tabSyoList.ClickTab(2); });
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(Codes(), (CodeList{"B01", "B02", "C01"}));
  EXPECT_EQ(frmSyoComb->LastTabIndex, 2);
  EXPECT_TRUE(frmSyoComb->flexSyoList.visible);
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(FrmSyoCombTest, MousePicksCombineFindingsAndKeepTheHighestJudgement) {
  Inputs(12, "", "", 0, 3);
  ShowDialog();
  FrmSyoComb& f = *frmSyoComb;
  const int b01 = RowOf("B01"), a01 = RowOf("A01"), title = RowOf("A00");
  shell.Do([&] { f.flexSyoList.ClickCell(b01, 1); });   // 胆石, judgement 3
  shell.Do([&] { f.flexSyoList.ClickCell(a01, 1); });   // 所見なし, judgement 1: lower
  shell.Do([&] { f.flexSyoList.ClickCell(title, 1); }); // a title row: beep only
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(f.txtSyoken.text(), "胆石  所見なし");
  EXPECT_EQ(f.CombinedHan, 3);
  EXPECT_EQ(shell.beeps(), 1);
  EXPECT_EQ(f.Label1.caption, "現在    8 桁目です. あと   93 文字入力できます.");
  EXPECT_EQ(f.active_control(), &f.txtSyoken);
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(FrmSyoCombTest, EnterInTheListAppendsBehindAMeasurementText) {
  Inputs(12, "", "(未実施)", 0, 3);
  ShowDialog();
  FrmSyoComb& f = *frmSyoComb;
  const int b02 = RowOf("B02");
  shell.Do([&] {
    f.SetFocusTo(&f.flexSyoList);
    f.flexSyoList.SetRow(b02);
  });
  shell.Key(ui::kKeyReturn);
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(f.txtSyoken.text(), "(未実施)  ポリープ");
  EXPECT_EQ(f.CombinedHan, 2);
  EXPECT_EQ(f.active_control(), &f.flexSyoList);
  // A mouse pick replaces the measurement text instead.
  f.txtSyoken.SetText("(未実施)");
  shell.Do([&] { f.flexSyoList.ClickCell(b02, 1); });
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(f.txtSyoken.text(), "ポリープ");
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(FrmSyoCombTest, TheCounterFollowsAnInputMethodCommitAtOnce) {
  Inputs(12);
  ShowDialog();
  FrmSyoComb& f = *frmSyoComb;
  shell.Do([&] { f.txtSyoken.SetFocus(); }).Do([] { ui::Shell::Current()->UserCommit("あいうえお"); });
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(f.txtSyoken.text(), "あいうえお");
  EXPECT_EQ(f.Label1.caption, "現在    6 桁目です. あと   95 文字入力できます.");
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(FrmSyoCombTest, TypingResetsTheJudgementWhenTheSettingSaysSo) {
  basPublic.SyoCombHatErase = 1;
  Inputs(12, "", "胆石", 3);
  ShowDialog();
  shell.Type("frmSyoComb", "txtSyoken", "あり");
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(frmSyoComb->CombinedHan, 0);

  frmSyoComb->Unload();
  basPublic.SyoCombHatErase = 0;
  Inputs(12, "", "胆石", 3);
  ShowDialog();
  shell.Type("frmSyoComb", "txtSyoken", "あり");
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(frmSyoComb->CombinedHan, 3);
  EXPECT_EQ(frmSyoComb->txtSyoken.text(), "胆石あり");
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(FrmSyoCombTest, TypingBackToTheSameTextKeepsTheCombinedJudgement) {
  basPublic.SyoCombHatErase = 1;
  Inputs(12, "", "", 0, 3);
  ShowDialog();
  FrmSyoComb& f = *frmSyoComb;
  const int b01 = RowOf("B01");
  shell.Do([&] { f.flexSyoList.ClickCell(b01, 1); });  // 胆石, judgement 3
  shell.Type("frmSyoComb", "txtSyoken", "あ");
  shell.Do([&] { EXPECT_EQ(f.CombinedHan, 0) << "a changed text"; });
  shell.Type("frmSyoComb", "txtSyoken", "\b");
  ExpectDecidedWithF12("胆石", 3);
}

TEST_F(FrmSyoCombTest, CaretKeysBetweenPicksKeepTheCombinedJudgement) {
  basPublic.SyoCombHatErase = 1;
  Inputs(12, "", "", 0, 3);
  ShowDialog();
  FrmSyoComb& f = *frmSyoComb;
  const int b01 = RowOf("B01"), a01 = RowOf("A01");
  shell.Do([&] { f.flexSyoList.ClickCell(b01, 1); });  // 胆石, judgement 3
  shell.Key(ui::kKeyRight).Key(ui::kKeyHome).Key(ui::kKeyEnd);
  shell.Do([&] { EXPECT_EQ(f.active_control(), &f.txtSyoken); });
  shell.Do([&] { f.flexSyoList.ClickCell(a01, 1); });  // 所見なし, judgement 1
  ExpectDecidedWithF12("胆石  所見なし", 3);
}

TEST_F(FrmSyoCombTest, DecideHandsBackTheTextAndJudgement) {
  basPublic.SyoSearchOpen = true;
  Inputs(12, "", "", 1, 3);
  ShowDialog();
  shell.Do([] { frmSyoComb->flexSyoList.ClickCell(1 + 5, 1); });  // B01 胆石, judgement 3
  shell.Key(ui::kKeyF12);
  ASSERT_TRUE(shell.Play());
  EXPECT_FALSE(frmSyoComb.loaded());
  EXPECT_TRUE(basPublic.SyoSearchDecided);
  EXPECT_EQ(basPublic.SyoSearchText, "胆石");
  EXPECT_EQ(basPublic.SyoSearchHan, 3);
  EXPECT_FALSE(basPublic.SyoSearchOpen);
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(FrmSyoCombTest, DecideRefusesATextOverTheLimit) {
  Inputs(12);
  basPublic.SyoSearchMaxLen = 2;
  ShowDialog();
  frmSyoComb->txtSyoken.SetText("胆石あり");
  shell.Click("frmSyoComb", "cmdDecision");
  shell.AnswerBox(ui::MsgResult::kOk, "文字数が多すぎます。");
  ASSERT_TRUE(shell.Play());
  EXPECT_TRUE(frmSyoComb.loaded());
  EXPECT_FALSE(basPublic.SyoSearchDecided);
  EXPECT_EQ(basPublic.SyoSearchText, "");
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(FrmSyoCombTest, BackAsksBeforeDroppingAChangeAndReturnsNothing) {
  basPublic.SyoSearchOpen = true;
  Inputs(12, "", "胆石", 3);
  ShowDialog();
  frmSyoComb->txtSyoken.SetText("胆石あり");
  shell.Click("frmSyoComb", "cmdClose");
  shell.AnswerBox(ui::MsgResult::kCancel, "所見を変更せずに終了します。よろしいですか？");
  ASSERT_TRUE(shell.Play());
  EXPECT_TRUE(frmSyoComb.loaded());
  shell.Click("frmSyoComb", "cmdClose");
  shell.AnswerBox(ui::MsgResult::kOk);
  ASSERT_TRUE(shell.Play());
  EXPECT_FALSE(frmSyoComb.loaded());
  EXPECT_FALSE(basPublic.SyoSearchDecided);
  EXPECT_EQ(basPublic.SyoSearchText, "胆石");
  EXPECT_FALSE(basPublic.SyoSearchOpen);
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(FrmSyoCombTest, CancelRestoresTheEntryTextAndTheWholeTab) {
  Inputs(12, "A0", "胆石", 3);
  ShowDialog();
  FrmSyoComb& f = *frmSyoComb;
  f.txtSyoken.SetText("別の所見");
  f.CombinedHan = 4;
  shell.Key(ui::kKeyF9);
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(f.txtSyoken.text(), "胆石");
  EXPECT_EQ(f.CombinedHan, 3);
  EXPECT_EQ(f.txtRCode.text(), "");
  EXPECT_EQ(Codes(), (CodeList{"A00", "A01", "A02", "A03", "C02"}));
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(FrmSyoCombTest, TheTypedCodeBoxTakesSingleByteCharactersAndEnterSearches) {
  Inputs(12);
  ShowDialog();
  // With the input method open for kana, the code box composes nothing (a
  // typed 1 stays 1) while the findings text takes Japanese.
  frmSyoComb->ime.open = true;
  frmSyoComb->ime.conversion = kImeCmodeFullShape | kImeCmodeNative;
  EXPECT_EQ(Fnc_FieldIme(frmSyoComb->txtRCode), FieldIme{});
  EXPECT_EQ(Fnc_FieldIme(frmSyoComb->txtSyoken), (FieldIme{true, true}));
  shell.Type("frmSyoComb", "txtRCode", "aＡｶ");
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(frmSyoComb->txtRCode.text(), "aｶ");
  frmSyoComb->txtRCode.SetText("A02");
  shell.Key(ui::kKeyReturn);
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(Codes(), (CodeList{"A02"}));
  EXPECT_EQ(frmSyoComb->active_control(), &frmSyoComb->flexSyoList);
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(FrmSyoCombTest, RegisterHandsTheLibraryItsArea) {
  Inputs(12, "", "", 0, 2);
  ShowDialog();
  frmSyoComb->txtSyoken.SetText("新しい所見");
  shell.Click("frmSyoComb", "cmdMaster");
  ASSERT_TRUE(shell.Play());
  ASSERT_EQ(suite::Calls().size(), 1u);
  const std::string area = suite::Calls()[0].substr(7);
  EXPECT_EQ(area.substr(0, 12 + 15), "000000001202新しい所見");
  EXPECT_EQ(suite::Calls()[0].size(), 7 + 12 + 15 + 190u);  // 5 full-width (10 bytes) + 190 blanks
  // A text the area cannot hold is refused.
  std::string longer;
  for (int i = 0; i < 101; ++i) longer += "所";
  frmSyoComb->txtSyoken.SetText(longer);
  shell.Click("frmSyoComb", "cmdMaster");
  shell.AnswerBox(ui::MsgResult::kOk, "文字数が多すぎます。");
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(suite::Calls().size(), 1u);
  EXPECT_SCRIPT_OK(shell);
}

}  // namespace
}  // namespace qz
