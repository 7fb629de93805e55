// The item lines on a small table set up in memory: the range warning and
// an item kind without colour letter.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "examinee/bas_public.h"
#include "loading/find_or_add_item.h"
#include "loading/group_forms.h"
#include "loading/item_filter.h"
#include "loading/item_rows.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"
#include "platform/ui/scripted_shell.h"

namespace qz::testing {
namespace {

class ItemRows : public ::testing::Test {
 protected:
  ItemRows() : spr(std::make_unique<grid::Spread>(nullptr, "sprResult")) {
    basPublic = BasPublic{};
    frmResultIn = FrmResultInState{};
    frmResultIn.sprResult = spr.get();
    frmResultIn.SysColors = {"A", "B", "R", "K", "P"};
    spr->SetMaxCols(12);
    shell.auto_answer = true;
    frmResultIn.InputGroups.Append(NgrpInfo{10, "group", 1});
    frmGrpSel->flxGroop.AddItem("group");
    frmGrpSel->flxGroop.SetCellBackColorAt(0, 0, static_cast<ui::Color>(basPublic.ColorNgrpSelect));
    frmGrpJmp->flxGroop.AddItem("group");
  }
  ~ItemRows() override {
    frmResultIn = FrmResultInState{};
    frmGrpSel.Reset();
    frmGrpJmp.Reset();
  }
  // Appends item `code` of group 10.
  static KomInfo& Add(long long code, std::int16_t ksyub) {
    std::int16_t index = 0;
    Fnc_FindOrAddItem(Currency(code), index);
    KomInfo& item = frmResultIn.ItemTable[index];
    item.Ngrp = 10;
    item.Ksyub = ksyub;
    item.KomName = "item " + std::to_string(code);
    item.Stype = "31";
    return item;
  }
  ui::ScriptedShell shell;
  std::unique_ptr<grid::Spread> spr;
};

// A range the digit format cannot hold, or a digit format that is
// no number, warns and leaves the range cell empty; the lines after it
// follow.
TEST_F(ItemRows, ARangeThatCannotBeEditedWarnsAndLeavesItsCellEmpty) {
  for (const char* spec : {"00", "", "  ", "x1"}) {
    SCOPED_TRACE(std::string("'") + spec + "'");
    frmResultIn.ItemTable.Clear();
    shell.ClearRecords();
    KomInfo& bad = Add(1, 1);
    bad.Stype = spec;
    bad.StdLow = "3";
    bad.StdHigh = "99999.9999";
    KomInfo& good = Add(2, 1);
    good.StdLow = "0";
    good.StdHigh = "99999.9999";
    ASSERT_TRUE(Sub_JkoInfo());
    ASSERT_EQ(shell.boxes().size(), 1u);
    EXPECT_EQ(shell.boxes()[0].request.text,
              "基準値の編集でエラーが発生しました。\r\n項目名 : item 1\r\n高値 : 99999.9999\r\n低値 : 3");
    EXPECT_EQ(shell.boxes()[0].request.icon, ui::MsgIcon::kExclamation);
    const int first = basPublic.DataRow;
    EXPECT_EQ(spr->TextAt(basPublic.StdCol, first), "");
    EXPECT_EQ(spr->TextAt(basPublic.ItemCol, first), "item 1");
    // Both words together: no lower and no upper bound.
    EXPECT_EQ(spr->TextAt(basPublic.ItemCol, first + 1), "item 2");
    EXPECT_EQ(spr->TextAt(basPublic.StdCol, first + 1), "   ～ ～   ");
    EXPECT_EQ(frmResultIn.RowCount(), 2);
  }
}

// The name of every line takes the colour of its kind's letter; a letter
// the colour table does not know leaves the grid's colour. Rows of items
// booked only earlier take their back colour, over the group items' one.
TEST_F(ItemRows, ItemNamesTakeTheColourLetterOfTheirKind) {
  for (std::size_t i = 0; i < basPublic.ColorTable.size(); ++i) {
    basPublic.ColorTable[i] = static_cast<std::int32_t>(0x101010 * (i + 1));
  }
  frmResultIn.SysColors = {"A", "B", " R ", "X", "P"};
  basPublic.ColorPast = 0x123456;
  const ui::Color untouched = spr->ForeColorAt(basPublic.ItemCol, basPublic.DataRow + 3);
  const struct {
    std::int16_t ksyub;
    ui::Color color;
  } cases[] = {
      {0, 0x606060},  // A, entry 5
      {1, 0x101010},  // B, entry 0
      {2, 0x202020},  // R with blanks around
      {3, untouched}, // no such letter
      {4, 0x303030},  // P, entry 2
  };
  long long code = 1;
  for (const auto& c : cases) {
    KomInfo& item = Add(code++, c.ksyub);
    item.Past = kPastBookedEarlier;  // their rows take the back colour of earlier items
  }
  displayChoices.chkPastDisp = true;
  ASSERT_TRUE(Sub_JkoInfo());
  displayChoices = DisplayChoices{};
  EXPECT_TRUE(shell.boxes().empty());
  ASSERT_EQ(frmResultIn.RowCount(), 5);
  for (int k = 0; k < 5; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(spr->ForeColorAt(basPublic.ItemCol, basPublic.DataRow + k), cases[k].color);
    EXPECT_EQ(spr->BackColorAt(basPublic.UnitCol, basPublic.DataRow + k),
              static_cast<ui::Color>(basPublic.ColorPast));
  }
}

TEST_F(ItemRows, AnItemKindWithoutColourLetterEndsTheLines) {
  Add(1, 1);
  Add(2, 7);
  Add(3, 1);
  EXPECT_TRUE(Sub_JkoInfo());
  ASSERT_EQ(shell.boxes().size(), 1u);
  EXPECT_EQ(shell.boxes()[0].request.text.rfind("受診項目情報の表示処理でエラーが発生しました。\r\n", 0), 0u);
  EXPECT_EQ(shell.boxes()[0].request.icon, ui::MsgIcon::kCritical);
  // The lines built so far stay; the item without letter has its line but
  // no cells.
  EXPECT_EQ(frmResultIn.RowCount(), 2);
  EXPECT_EQ(spr->TextAt(basPublic.ItemCol, basPublic.DataRow + 1), "");
  EXPECT_EQ(frmGrpJmp->flxGroop.TextMatrix(0, 1), "1");
}

}  // namespace
}  // namespace qz::testing
