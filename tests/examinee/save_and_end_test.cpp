// Saving, force-saving and refusing to save the examinee on the result
// screen, and the end of the cycle that follows a save.
#include "examinee/save_and_end.h"

#include <gtest/gtest.h>

#include "data/define_fields.h"
#include "data/record_layouts.h"
#include "examinee/bas_public.h"
#include "examinee/screen_fixture.h"
#include "grid/item_row_map.h"
#include "kit/ui_expect.h"
#include "loading/load_state.h"
#include "platform/record/btr_access.h"
#include "platform/record/status.h"
#include "tools/frm_chk_input.h"

namespace qz::test {
namespace {

using ui::MsgResult;

// Examinee 4 has today's consultation booked and nothing entered yet.
constexpr const char* kNew = "0000000004";
constexpr long long kHeight = 1001;  // 身長, numeric, digits "31"

class SaveAndEndTest : public ScreenTest {
 protected:
  // Starts, loads examinee 4 and enters the height `value` into the result
  // matrix as the grid would.
  void LoadAndEnter(const std::string& value) {
    ASSERT_TRUE(StartAndChoose(kNew, kToday));
    if (value.empty()) return;
    for (int i = 1; i <= frmResultIn.ItemCount(); ++i) {
      if (frmResultIn.ItemTable[i].KomCode != Currency(kHeight)) continue;
      frmResultIn.ResultMatrix(i, 0).Knsach = value + " ";
      // The cell shows it too, as after an entry: a cell left with another
      // text would be taken as typed.
      const std::int16_t line = Fnc_FindItemRow(static_cast<std::int16_t>(i));
      if (line != 0) form().sprResult.SetText(basPublic.ResultCol, Fnc_ItemToRow(line), value + " ");
      return;
    }
    FAIL() << "no height item";
  }
  // The stored results of today that hold a value (the save writes a
  // record for every booked item).
  std::vector<std::string> StoredNow() const {
    std::vector<std::string> valued;
    for (const std::string& r : StoredResults(kNew, kToday)) {
      if (r.back() != '=') valued.push_back(r);
    }
    return valued;
  }
  bool AnythingStored() const { return !StoredResults(kNew, kToday).empty(); }
};

TEST_F(SaveAndEndTest, ASaveWritesTheResultsAndEndsTheCycle) {
  BuildDemo();
  LoadAndEnter("168.5");
  ASSERT_TRUE(Drive([&] { form().cmdEnd_Click(); }));
  EXPECT_EQ(StoredNow(), std::vector<std::string>{"1001=168.5"});
  EXPECT_TRUE(OnlineRows().empty());
  EXPECT_TRUE(SearchShown());
  EXPECT_FALSE(form().sprResult.visible);
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

TEST_F(SaveAndEndTest, AScreenWithNothingToSaveEndsWithoutWriting) {
  BuildDemo();
  LoadAndEnter("");
  ASSERT_TRUE(Drive([&] { form().cmdEnd_Click(); }));
  EXPECT_FALSE(AnythingStored());
  EXPECT_TRUE(SearchShown());
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

TEST_F(SaveAndEndTest, ADispatchDateThatIsNoDateKeepsTheExamineeUnsaved) {
  BuildDemo();
  LoadAndEnter("168.5");
  form().txtHassou.SetText("2026/13/01");
  shell_.AnswerBox(MsgResult::kOk, "結果発送日が正しくありません。");
  ASSERT_TRUE(Drive([&] { form().cmdEnd_Click(); }));
  EXPECT_FALSE(AnythingStored());
  EXPECT_EQ(form().active_control(), &form().txtHassou);
  EXPECT_TRUE(form().sprResult.visible);
  EXPECT_EQ(OnlineRows().size(), 1u);
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

TEST_F(SaveAndEndTest, TheForcedSaveSkipsTheDoneCheckTestAndLastsOneSave) {
  suite_.SetIni("SysInfo", "ChkKomCode", "1001");
  BuildDemo();
  LoadAndEnter("168.5");
  shell_.AnswerBox(MsgResult::kOk, "の済チェックが未入力です。");
  ASSERT_TRUE(Drive([&] { form().cmdEnd_Click(); }));
  EXPECT_TRUE(StoredNow().empty());

  shell_.AnswerBox(MsgResult::kCancel, "入力チェックをせずに強制保存します。");
  ASSERT_TRUE(Drive([&] { form().cmdEnd_MouseUp(2, 0, 0, 0); }));
  EXPECT_TRUE(StoredNow().empty());
  EXPECT_FALSE(frmResultIn.ForceSave);

  shell_.AnswerBox(MsgResult::kOk, "入力チェックをせずに強制保存します。\r\nよろしいですか？");
  ASSERT_TRUE(Drive([&] { form().cmdEnd_MouseUp(2, 0, 0, 0); }));
  EXPECT_EQ(StoredNow(), std::vector<std::string>{"1001=168.5"});
  EXPECT_FALSE(frmResultIn.ForceSave);
  EXPECT_TRUE(SearchShown());
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

TEST_F(SaveAndEndTest, BackInTheConfirmationListKeepsTheExamineeUnsaved) {
  suite_.SetIni("SysInfo", "DecisionCheck", "1");
  BuildDemo();
  LoadAndEnter("168.5");
  shell_.Click("frmChkInput", "cmdClose");
  ASSERT_TRUE(Drive([&] { form().cmdEnd_Click(); }));
  EXPECT_TRUE(StoredNow().empty());
  EXPECT_TRUE(form().enabled());
  EXPECT_TRUE(form().sprResult.visible);

  // Save and end in the list goes on to the write-back.
  shell_.Click("frmChkInput", "cmdSave");
  ASSERT_TRUE(Drive([&] { form().cmdEnd_Click(); }));
  EXPECT_EQ(StoredNow(), std::vector<std::string>{"1001=168.5"});
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

TEST_F(SaveAndEndTest, AWriteBackThatFailsKeepsTheExamineeOnScreen) {
  BuildDemo();
  LoadAndEnter("168.5");
  // The examinee master record disappears meanwhile: the save is refused
  // with its warning, and everything stays on screen for another save.
  const data::FileLayout& layout = data::QzjsnlfLayout();
  std::string kept;
  {
    record::BtrAccess obj;
    ASSERT_TRUE(obj.OpenFile(layout.file, layout.definition, suite_.paths().data, suite_.paths().spec_file));
    DefineLayoutFields(obj, layout);
    obj.SetField("CODE", kNew);
    ASSERT_EQ(obj.GetEqual(layout.definition), record::kStatusOk);
    kept = obj.RecordBytes();
    ASSERT_EQ(obj.Delete(), record::kStatusOk);
  }
  shell_.Key(ui::kKeyF12).AnswerBox(MsgResult::kOk, "受診者マスタが見つかりません。");
  ASSERT_TRUE(shell_.Play());
  EXPECT_TRUE(form().loaded());
  EXPECT_TRUE(form().sprResult.visible);
  EXPECT_EQ(basPublic.ExamineeNo, kNew);
  EXPECT_TRUE(StoredNow().empty());
  EXPECT_EQ(OnlineRows().size(), 1u);

  // The record is back: the same F12 now stores the entry and ends.
  {
    record::BtrAccess obj;
    ASSERT_TRUE(obj.OpenFile(layout.file, layout.definition, suite_.paths().data, suite_.paths().spec_file));
    DefineLayoutFields(obj, layout);
    obj.SetRecordBytes(kept);
    ASSERT_EQ(obj.Insert(layout.definition), record::kStatusOk);
  }
  shell_.Key(ui::kKeyF12);
  ASSERT_TRUE(shell_.Play());
  EXPECT_EQ(StoredNow(), std::vector<std::string>{"1001=168.5"});
  EXPECT_TRUE(OnlineRows().empty());
  EXPECT_TRUE(SearchShown());
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

}  // namespace
}  // namespace qz::test
