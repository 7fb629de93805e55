// The item table's one way in, and the bounds of the consultation tables.
#include <gtest/gtest.h>

#include "examinee/bas_public.h"
#include "loading/find_or_add_item.h"
#include "loading/load_state.h"
#include "platform/runtime/run_time_error.h"
#include "platform/ui/scripted_shell.h"

namespace qz::testing {
namespace {

class ItemTableTest : public ::testing::Test {
 protected:
  ItemTableTest() {
    basPublic = BasPublic{};
    frmResultIn = FrmResultInState{};
    shell.auto_answer = true;
  }
  ~ItemTableTest() override {
    basPublic = BasPublic{};
    frmResultIn = FrmResultInState{};
  }
  ui::ScriptedShell shell;
};

TEST_F(ItemTableTest, FindsOrAppendsByItemNumber) {
  struct Step {
    long long code;
    bool appended;
    std::int16_t index;
    int count_after;
  };
  // The default dispatch-date item is 0: never added.
  for (const Step& s : {Step{9999999999LL, true, 1, 1}, Step{1001, true, 2, 2}, Step{9999999999LL, false, 1, 2},
                        Step{0, false, 0, 2}, Step{1001, false, 2, 2}, Step{1002, true, 3, 3}}) {
    SCOPED_TRACE(s.code);
    std::int16_t index = -1;
    EXPECT_EQ(Fnc_FindOrAddItem(Currency(s.code), index), s.appended);
    EXPECT_EQ(index, s.index);
    EXPECT_EQ(frmResultIn.ItemCount(), s.count_after);
  }
  KomInfo fresh;
  fresh.KomCode = Currency(1002);
  EXPECT_TRUE(frmResultIn.ItemTable[3] == fresh);  // only the number is set
  EXPECT_TRUE(shell.boxes().empty());
}

TEST_F(ItemTableTest, TheDispatchDateItemOfTheSettingsIsNeverAdded) {
  basPublic.HassouCode = Currency(8888);
  std::int16_t index = -1;
  EXPECT_FALSE(Fnc_FindOrAddItem(Currency(8888), index));
  EXPECT_EQ(index, 0);
  EXPECT_TRUE(Fnc_FindOrAddItem(Currency(0), index));
  EXPECT_EQ(index, 1);
}

TEST_F(ItemTableTest, AFullTableReportsTheOverflowAndStaysAsItWas) {
  std::vector<KomInfo>& entries = frmResultIn.ItemTable.Entries();
  entries.resize(kMaxItemCount);
  for (int i = 0; i < kMaxItemCount; ++i) entries[static_cast<std::size_t>(i)].KomCode = Currency(i + 1);
  std::int16_t index = -1;
  EXPECT_FALSE(Fnc_FindOrAddItem(Currency(kMaxItemCount), index));  // the last one is still found
  EXPECT_EQ(index, kMaxItemCount);
  EXPECT_FALSE(Fnc_FindOrAddItem(Currency(kMaxItemCount + 1), index));
  EXPECT_EQ(index, 0);
  EXPECT_EQ(frmResultIn.ItemCount(), kMaxItemCount);
  ASSERT_EQ(shell.boxes().size(), 1u);
  const ui::MessageBoxRequest& box = shell.boxes()[0].request;
  EXPECT_EQ(box.text.rfind("検査項目の格納処理でエラーが発生しました。\r\nエラー番号 : 6\r\n", 0), 0u) << box.text;
  EXPECT_EQ(box.icon, ui::MsgIcon::kCritical);
}

TEST_F(ItemTableTest, TablesRefuseIndexesOutsideTheirBounds) {
  ResultMatrix m;
  m.Create(2, 3);
  EXPECT_EQ(m.Rows(), 2);
  EXPECT_EQ(m.Columns(), 4);
  m(2, 3).Han = 5;
  EXPECT_EQ(m(2, 3).Han, 5);
  EXPECT_EQ(m(1, 3).Han, 0);
  m.Create(0, 1);
  EXPECT_EQ(m.Columns(), 2);
  for (auto [row, col] : {std::pair{0, 0}, std::pair{1, 0}, std::pair{-1, 0}}) {
    EXPECT_THROW(m(row, col), RunTimeError);
  }
  m.Create(1, 0);
  EXPECT_THROW(m(1, 1), RunTimeError);
  EXPECT_THROW(frmResultIn.ItemTable[1], RunTimeError);
  EXPECT_THROW(frmResultIn.CourseCodes[41], RunTimeError);
  EXPECT_THROW(frmResultIn.CourseCodes[0], RunTimeError);
}

}  // namespace
}  // namespace qz::testing
