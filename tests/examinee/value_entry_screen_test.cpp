// Values typed into the result screen of the demo data with real key events,
// then saved and read back from the results file: what is accepted is
// stored, judged and stamped as typed; what is refused leaves the value, the
// cell, the cursor and the file as they were, with its message. A value
// copied from the previous consultation ends in the same record as the same
// value typed, and the 全検査項目表示 box shows and hides the items of
// earlier consultations.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "data/define_fields.h"
#include "data/record_layouts.h"
#include "examinee/bas_public.h"
#include "examinee/screen_fixture.h"
#include "grid/item_row_map.h"
#include "kit/ui_expect.h"
#include "loading/load_state.h"
#include "platform/record/btr_access.h"
#include "platform/record/status.h"
#include "platform/text/vb.h"
#include "tools/frm_copy.h"

namespace qz::test {
namespace {

constexpr const char* kNew = "0000000004";  // no results yet today; two earlier consultations
constexpr int kToday = 20261209;
constexpr long long kUricAcid = 3015;       // only in the oldest consultation of kNew
constexpr long long kHemoglobin = 3003;     // 血色素量, digits 21, 11.6 to 14.8 for a woman
constexpr long long kAnemiaGroup = 9999999003LL;
const std::vector<std::string> kStoredFields = {"KNSACH", "HAN", "USER", "YMD", "HMS"};

class ValueEntryScreenTest : public ScreenTest {
 protected:
  static int RowOf(long long code) {
    const std::int16_t line = Fnc_FindItemRow(static_cast<std::int16_t>(ItemIndex(code)));
    return line == 0 ? 0 : Fnc_ItemToRow(line);
  }
  static KekkaData& Result(long long code) { return frmResultIn.ResultMatrix(ItemIndex(code), 0); }
  std::string Cell(int col, long long code) { return form().sprResult.TextAt(col, RowOf(code)); }
  // Types `keys` into the result cell of `code` as key events, then Enter.
  bool TypeAndEnter(long long code, const std::string& keys) {
    return Drive([&] {
      form().sprResult.TypeIntoCell(basPublic.ResultCol, RowOf(code), keys);
      form().sprResult.DeliverKeyDown(ui::kKeyReturn, 0);
    });
  }
  std::string Stored(long long code) { return StoredResult(kNew, kToday, code, kStoredFields); }
  // One field of the stored result of `code`, trimmed.
  std::string StoredField(long long code, const std::string& field) {
    const std::string text = StoredResult(kNew, kToday, code, {field});
    return text.empty() ? "(no record)" : vb::Trim(text.substr(field.size() + 1));
  }
  // Saves; the search screen comes back.
  void Save() {
    shell_.auto_answer = true;
    ASSERT_TRUE(Drive([&] { form().cmdEnd_Click(); }));
    shell_.auto_answer = false;
    ASSERT_TRUE(SearchShown());
  }
};

// Typed into the result cell of `item`; stored as `stored` with judgement
// `han`.
struct Accepted {
  long long item;
  const char* keys;
  const char* stored;
  int han;
};

TEST_F(ValueEntryScreenTest, AcceptedValuesAreStoredJudgedAndStampedAsTyped) {
  const std::vector<Accepted> cases = {
      {2001, "１２０", "120", 1},        // 収縮期血圧, digits 30: full-width digits
      {2002, "12.", "12", 1},            // 拡張期血圧: a point without decimals
      {2003, "0000000130", "130", 3},    // 脈拍, 50 to 100: ten characters, judged whole
      {3003, "１２．５", "12.5", 1},     // 血色素量, digits 21: full-width digits and point
      {3002, "-5", "-5", 3},             // 赤血球数: a minus sign, below the range
      {3006, "−５", "-5", 3},           // ＡＳＴ: the minus sign is the code page's full-width minus
  };
  BuildDemo();
  ASSERT_TRUE(StartAndChoose(kNew, kToday));
  for (const Accepted& c : cases) {
    SCOPED_TRACE(c.keys);
    ASSERT_NE(RowOf(c.item), 0);
    ASSERT_TRUE(TypeAndEnter(c.item, c.keys));
    EXPECT_SCRIPT_OK(shell_);
    EXPECT_EQ(Result(c.item).Knsach, std::string(c.stored) + " ");
    EXPECT_EQ(Cell(basPublic.ResultCol, c.item), std::string(c.stored) + " ");
    EXPECT_EQ(Result(c.item).Han, c.han);
    EXPECT_NE(form().sprResult.active_row(), RowOf(c.item)) << "the cursor moves on";
  }
  Save();
  for (const Accepted& c : cases) {
    SCOPED_TRACE(c.keys);
    EXPECT_EQ(StoredField(c.item, "KNSACH"), c.stored);
    EXPECT_EQ(StoredField(c.item, "HAN"), std::to_string(c.han));
    EXPECT_EQ(StoredField(c.item, "USER"), basPublic.LogonUserId);
    EXPECT_EQ(StoredField(c.item, "YMD"), std::to_string(kToday));
  }
}

// Typed into 脈拍 (digits 30, nothing stored yet); each is refused with
// `message` and leaves everything as it was.
struct Refused {
  const char* keys;
  const char* message;
};

std::string NotANumber(const std::string& text) { return "入力値エラー\r\n「" + text + "」は数値ではありません。"; }
std::string Digits(const std::string& text) {
  return "入力値エラー\r\n「" + text + "」\r\n\r\n整数部03桁\r\n小数部00桁　で入力して下さい。";
}

TEST_F(ValueEntryScreenTest, RefusedValuesLeaveValueCellCursorAndFileAlone) {
  const long long pulse = 2003;
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"1e2", NotANumber("1e2")},   {"1E0", NotANumber("1E0")},  {"2E1", NotANumber("2E1")},
      {"1d2", NotANumber("1d2")},   {"&O7", NotANumber("&O7")},  {"+5", NotANumber("+5")},
      {"-", NotANumber("-")},       {"+", NotANumber("+")},      {".", NotANumber(".")},
      {"ab", NotANumber("ab")},     {"１ｅ２", NotANumber("1e2")},  // converted first, then refused
      {"1,000", Digits("1,000")},   {"(12)", Digits("(12)")},    {"1234", Digits("1234")},
      {"1.5", Digits("1.5")},
      {"ー5", NotANumber("ｰ5")},  // a long-vowel mark is no minus: kept and refused, never dropped
  };
  BuildDemo();
  ASSERT_TRUE(StartAndChoose(kNew, kToday));
  const int row = RowOf(pulse);
  ASSERT_NE(row, 0);
  for (const auto& [keys, message] : cases) {
    SCOPED_TRACE(keys);
    shell_.ClearRecords();
    shell_.AnswerBox(ui::MsgResult::kOk, message);
    ASSERT_TRUE(TypeAndEnter(pulse, keys));
    EXPECT_SCRIPT_OK(shell_);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0], message);
    EXPECT_EQ(Result(pulse).Knsach, "");
    EXPECT_EQ(Result(pulse).Han, 0);
    EXPECT_EQ(Result(pulse).User, "");
    EXPECT_EQ(Cell(basPublic.ResultCol, pulse), "");
    EXPECT_EQ(form().sprResult.active_row(), row);
    EXPECT_EQ(form().sprResult.active_col(), basPublic.ResultCol);
  }
  // A key the numeric cell cannot take at all starts no edit: Enter leaves
  // a stored value where it was.
  ASSERT_TRUE(TypeAndEnter(pulse, "72"));
  ASSERT_EQ(Result(pulse).Knsach, "72 ");
  ASSERT_TRUE(TypeAndEnter(pulse, "漢"));
  EXPECT_EQ(Result(pulse).Knsach, "72 ");
  EXPECT_EQ(Cell(basPublic.ResultCol, pulse), "72 ");
  Save();
  EXPECT_EQ(StoredField(pulse, "KNSACH"), "72");
}

// A save by key or by the right button, which take no focus from the grid,
// saves what is being typed as if it had been entered; a value refused then
// keeps the screen, its cell and the file as they were.
TEST_F(ValueEntryScreenTest, ASaveTakesTheValueBeingTypedOrStopsAtItsRefusal) {
  const long long pulse = 2003;
  BuildDemo();
  ASSERT_TRUE(StartAndChoose(kNew, kToday));
  const int row = RowOf(pulse);
  ASSERT_TRUE(Drive([&] { form().sprResult.TypeIntoCell(basPublic.ResultCol, row, "1e2"); }));
  shell_.Key(ui::kKeyF12).AnswerBox(ui::MsgResult::kOk, NotANumber("1e2"));
  ASSERT_TRUE(shell_.Play());
  EXPECT_SCRIPT_OK(shell_);
  EXPECT_FALSE(SearchShown());
  EXPECT_EQ(Cell(basPublic.ResultCol, pulse), "");
  EXPECT_EQ(form().sprResult.active_row(), row);
  EXPECT_EQ(StoredField(pulse, "KNSACH"), "(no record)");

  const std::vector<std::pair<std::string, std::function<void()>>> saves = {
      {"F12", [&] { shell_.Key(ui::kKeyF12); }},
      {"right button on 保存終了", [&] {
         shell_.Click("frmResultIn", "cmdEnd", -1, 2).AnswerBox(ui::MsgResult::kOk, "強制保存します。");
       }},
  };
  for (const auto& [name, save] : saves) {
    SCOPED_TRACE(name);
    if (SearchShown()) {
      ASSERT_TRUE(Choose(kNew, kToday));
    }
    const std::string value = name == "F12" ? "107" : "49";
    ASSERT_TRUE(Drive([&] { form().sprResult.TypeIntoCell(basPublic.ResultCol, row, value); }));
    shell_.auto_answer = true;
    save();
    ASSERT_TRUE(shell_.Play());
    shell_.auto_answer = false;
    ASSERT_TRUE(SearchShown());
    EXPECT_EQ(StoredField(pulse, "KNSACH"), value);
    EXPECT_EQ(StoredField(pulse, "HAN"), "3");
    EXPECT_EQ(StoredField(pulse, "USER"), basPublic.LogonUserId);
  }
}

TEST_F(ValueEntryScreenTest, ACopiedValueEndsInTheRecordOfTheSameValueTyped) {
  BuildDemo();
  ASSERT_TRUE(StartAndChoose(kNew, kToday));
  const int index = ItemIndex(kHemoglobin);
  const std::string earlier = vb::Trim(frmResultIn.ResultMatrix(index, 1).Knsach);
  ASSERT_FALSE(earlier.empty());

  // Copied: only the hemoglobin row of the copy dialog stays checked.
  shell_.Click("frmCopy", "cmdAllUnCheck").Do([&] {
    grid::Spread& list = frmCopy->sprList;
    for (int r = 1; r <= list.max_rows(); ++r) {
      if (list.TextAt(kCopyIndexCol, r) == std::to_string(index)) list.ClickCell(kCopyCheckCol, r);
    }
  });
  shell_.Click("frmCopy", "cmdEnter");
  int key = ui::kKeyF6;
  int shift = ui::kAltMask;
  ASSERT_TRUE(Drive([&] { form().Form_KeyDown(key, shift); }));
  ASSERT_SCRIPT_OK(shell_);
  const std::int16_t copied_group = frmResultIn.GroupItems.at(3).Han;
  Save();
  const std::string copied = Stored(kHemoglobin);
  const std::string copied_group_record = Stored(kAnemiaGroup);
  ASSERT_FALSE(copied.empty());

  // Typed: the same examinee again, the copy's done-check and value cleared
  // and the same value typed.
  ASSERT_TRUE(Choose(kNew, kToday));
  ASSERT_TRUE(Drive([&] {
    form().sprResult.ClickCell(basPublic.ChkCol, RowOf(kHemoglobin));
    form().sprResult.ClickCell(basPublic.ResultCol, RowOf(kHemoglobin));
    form().sprResult.DeliverKeyDown(ui::kKeyDelete, 0);
  }));
  ASSERT_EQ(Result(kHemoglobin).Knsach, "");
  ASSERT_TRUE(TypeAndEnter(kHemoglobin, earlier));
  EXPECT_SCRIPT_OK(shell_);
  EXPECT_EQ(frmResultIn.GroupItems.at(3).Han, copied_group);
  Save();
  EXPECT_EQ(Stored(kHemoglobin), copied);
  EXPECT_EQ(Stored(kAnemiaGroup), copied_group_record);
  EXPECT_NE(copied.find("HAN=1 "), std::string::npos) << copied;
}

// After a refused value the operator types again through the input method
// (characters, no key events) and clicks elsewhere: the new value is
// processed when the cell is left, never left on screen unstored.
TEST_F(ValueEntryScreenTest, AValueTypedThroughTheInputMethodAfterARefusalGoesInWhenTheCellIsLeft) {
  const long long pulse = 2003;
  BuildDemo();
  ASSERT_TRUE(StartAndChoose(kNew, kToday));
  const int row = RowOf(pulse);
  shell_.AnswerBox(ui::MsgResult::kOk, NotANumber("1e2"));
  ASSERT_TRUE(Drive([&] {
    form().sprResult.TypeIntoCell(basPublic.ResultCol, row, "1e2");
    form().sprResult.DeliverKeyDown(ui::kKeyDown, 0);
  }));
  ASSERT_EQ(form().sprResult.active_row(), row);
  shell_.Type("frmResultIn", "sprResult", "７２").Do([&] {
    form().sprResult.ClickCell(basPublic.ResultCol, RowOf(2001));
  });
  ASSERT_TRUE(shell_.Play());
  EXPECT_SCRIPT_OK(shell_);
  EXPECT_EQ(Result(pulse).Knsach, "72 ");
  EXPECT_EQ(Result(pulse).Han, 1);
  EXPECT_EQ(Result(pulse).User, basPublic.LogonUserId);
  EXPECT_EQ(form().sprResult.active_row(), RowOf(2001));
}

// Alt+F6 pressed twice and a double click on "確定": one copy dialog, one
// copy, and the keyboard back in the result screen.
TEST_F(ValueEntryScreenTest, ADoubledCopyKeyAndADoubleClickOnTheCopyCopyOnce) {
  BuildDemo();
  ASSERT_TRUE(StartAndChoose(kNew, kToday));
  const std::string earlier = vb::Trim(frmResultIn.ResultMatrix(ItemIndex(kHemoglobin), 1).Knsach);
  ASSERT_FALSE(earlier.empty());
  shell_.ClearRecords();
  bool first = false, second = true;
  shell_.Key(ui::kKeyF6, ui::kAltMask).Key(ui::kKeyF6, ui::kAltMask).Do([&] {
    first = shell_.UserClick(frmCopy->cmdEnter);
    second = shell_.UserClick(frmCopy->cmdEnter);
  });
  ASSERT_TRUE(shell_.Play());
  EXPECT_SCRIPT_OK(shell_);
  EXPECT_TRUE(first);
  EXPECT_FALSE(second);
  int dialogs = 0;
  for (const ui::ShownForm& f : shell_.shown_forms()) dialogs += f.name == "frmCopy" ? 1 : 0;
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(vb::Trim(Result(kHemoglobin).Knsach), earlier);
  EXPECT_EQ(Result(kHemoglobin).User, basPublic.LogonUserId);
  EXPECT_EQ(shell_.active_form(), &form());
  Save();
  EXPECT_EQ(StoredField(kHemoglobin, "KNSACH"), earlier);
}

// A value being typed when the copy starts goes in first: its item is no
// longer empty, and the earlier value never replaces it.
TEST_F(ValueEntryScreenTest, TheCopyKeepsTheValueBeingTyped) {
  const long long diastolic = 2002;
  BuildDemo();
  ASSERT_TRUE(StartAndChoose(kNew, kToday));
  ASSERT_FALSE(vb::Trim(frmResultIn.ResultMatrix(ItemIndex(diastolic), 1).Knsach).empty());
  ASSERT_TRUE(Drive([&] { form().sprResult.TypeIntoCell(basPublic.ResultCol, RowOf(diastolic), "88"); }));
  shell_.Key(ui::kKeyF6, ui::kAltMask).Click("frmCopy", "cmdEnter");
  ASSERT_TRUE(shell_.Play());
  EXPECT_SCRIPT_OK(shell_);
  EXPECT_EQ(Result(diastolic).Knsach, "88 ");
  EXPECT_EQ(Cell(basPublic.ResultCol, diastolic), "88 ");
  EXPECT_EQ(Result(diastolic).Han, 3);
  EXPECT_FALSE(Result(kHemoglobin).Knsach.empty()) << "the others are copied";
  Save();
  EXPECT_EQ(StoredField(diastolic, "KNSACH"), "88");
}

TEST_F(ValueEntryScreenTest, TheDisplaySwitchShowsAndHidesEarlierOnlyItems) {
  BuildDemo();
  ASSERT_TRUE(StartAndChoose(kNew, kToday));
  const int index = ItemIndex(kUricAcid);
  ASSERT_NE(index, 0);
  EXPECT_EQ(RowOf(kUricAcid), 0);

  ASSERT_TRUE(Drive([&] { form().chkPastDisp.SetValue(1); }));
  EXPECT_SCRIPT_OK(shell_);
  const int row = RowOf(kUricAcid);
  ASSERT_NE(row, 0);
  // Its line takes nothing: no value, class or judgement.
  for (int col : {basPublic.ResultCol, basPublic.SokuteiCol, basPublic.HanCol}) {
    EXPECT_TRUE(form().sprResult.FormatAt(col, row).lock) << col;
  }

  ASSERT_TRUE(Drive([&] { form().chkPastDisp.SetValue(0); }));
  EXPECT_EQ(RowOf(kUricAcid), 0);
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(ValueEntryScreenTest, PastDispStartsTheScreenWithEarlierOnlyItems) {
  suite_.SetIni("SysInfo", "PastDisp", "1");
  BuildDemo();
  ASSERT_TRUE(StartAndChoose(kNew, kToday));
  EXPECT_EQ(form().chkPastDisp.value(), 1);
  EXPECT_NE(RowOf(kUricAcid), 0);
  EXPECT_SCRIPT_OK(shell_);
}

}  // namespace
}  // namespace qz::test

namespace qz::test {
namespace {

TEST_F(ValueEntryScreenTest, TheDisplayModeButtonsChooseTheLines) {
  BuildDemo();
  ASSERT_TRUE(StartAndChoose(kNew, kToday));
  const int lines = frmResultIn.RowCount();
  ASSERT_GT(lines, 0);
  // Every demo item is a result item (MONFLG 0): "結果表示" shows none of
  // them, and an empty screen reports nothing; "問診＋結果表示" all again.
  ASSERT_TRUE(Drive([&] { form().optKirikae[1]->SetValue(true); }));
  EXPECT_EQ(frmResultIn.RowCount(), 0);
  ASSERT_TRUE(Drive([&] { form().optKirikae[2]->SetValue(true); }));
  EXPECT_EQ(frmResultIn.RowCount(), lines);
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(ValueEntryScreenTest, AUserWithoutAGroupOfTheConsultationLoadsItQuietly) {
  BuildDemo();
  suite_.Add("QZUSRLF", {{"ID", "USER03"}, {"EXPLAIN", "眼科 三郎"}, {"1STGRP", 70}, {"INPGRP_1", 70}});
  suite_.Add("QZLOGLF", {{"REN", 3}, {"UNAME", "USER03"}, {"TNAME", kTerminal}, {"DATE", kToday}});
  ASSERT_TRUE(StartAndChoose(kNew, kToday));
  EXPECT_EQ(basPublic.LogonUserId, "USER03");
  EXPECT_EQ(frmResultIn.RowCount(), 0);
  EXPECT_SCRIPT_OK(shell_);
  EXPECT_TRUE(Boxes().empty()) << ::testing::PrintToString(Boxes());
}

}  // namespace
}  // namespace qz::test

namespace qz::test {
namespace {

TEST_F(ValueEntryScreenTest, ACycleOfCalculatedItemsIsReportedAtTheLoad) {
  BuildDemo();
  {  // The BMI made an operand of itself in the item master.
    record::BtrAccess obj;
    const data::FileLayout& layout = data::QzkomlfLayout();
    ASSERT_TRUE(obj.OpenFile(layout.file, layout.definition, suite_.paths().data, suite_.paths().spec_file));
    DefineLayoutFields(obj, layout);
    for (int s = obj.GetFirst(layout.definition); s == record::kStatusOk; s = obj.GetNext()) {
      if (obj.GetField("CODE").ToCurrency() != Currency(1003)) continue;
      obj.SetField("KTAINO_2", 1003);
      ASSERT_EQ(obj.Update(), record::kStatusOk);
    }
    obj.CloseFile();
  }
  shell_.AnswerBox(ui::MsgResult::kOk, "計算項目の定義が循環しています。\r\n項目名 : ＢＭＩ");
  ASSERT_TRUE(StartAndChoose(kNew, kToday));
  EXPECT_SCRIPT_OK(shell_);
  EXPECT_GT(frmResultIn.RowCount(), 0) << "the load goes on";
  // A change of the other operand ends: the BMI is computed once.
  shell_.auto_answer = true;
  ASSERT_TRUE(TypeAndEnter(1001, "160"));
  EXPECT_EQ(Result(1001).Knsach, "160.0 ");
}

}  // namespace
}  // namespace qz::test
