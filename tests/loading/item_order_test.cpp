// The display order of the item table and the group-jump list's column
// width, on tables set up in memory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "loading/find_or_add_item.h"
#include "loading/group_forms.h"
#include "loading/input_groups.h"
#include "loading/item_order.h"
#include "loading/load_state.h"
#include "platform/ui/scripted_shell.h"

namespace qz::testing {
namespace {

struct Entry {
  long long code;
  std::int32_t ngrp;
  std::int16_t hjyun;
};

void FillTable(const std::vector<Entry>& entries) {
  for (const Entry& e : entries) {
    std::int16_t index = 0;
    ASSERT_TRUE(Fnc_FindOrAddItem(Currency(e.code), index));
    KomInfo& item = frmResultIn.ItemTable[index];
    item.Ngrp = e.ngrp;
    item.Hjyun = e.hjyun;
    item.KomName = "item " + std::to_string(e.code);
    item.Editable = e.code % 2 == 0;
  }
}

std::vector<long long> Codes() {
  std::vector<long long> out;
  for (const KomInfo& k : frmResultIn.ItemTable) out.push_back(k.KomCode.whole());
  return out;
}

class ItemOrder : public ::testing::Test {
 protected:
  ItemOrder() {
    basPublic = BasPublic{};
    frmResultIn = FrmResultInState{};
  }
  ~ItemOrder() override {
    frmResultIn = FrmResultInState{};
    frmGrpSel.Reset();
    frmGrpJmp.Reset();
  }
  ui::ScriptedShell shell;
};

TEST_F(ItemOrder, SortsByGroupThenOrderThenNumber) {
  struct Case {
    const char* what;
    std::vector<Entry> in;
    std::vector<long long> out;
  };
  const std::vector<Case> cases = {
      {"group 10 orders 2 and 1, group 5 order 9", {{101, 10, 2}, {102, 10, 1}, {103, 5, 9}}, {103, 102, 101}},
      {"one group and order: item numbers ascending", {{305, 7, 1}, {301, 7, 1}, {9999999999LL, 7, 1}, {303, 7, 1}},
       {301, 303, 305, 9999999999LL}},
      {"group 0 first, order 0 first", {{1, 3, 0}, {2, 0, 5}, {3, 3, -1}}, {2, 3, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    frmResultIn = FrmResultInState{};
    FillTable(c.in);
    const std::vector<KomInfo> before = frmResultIn.ItemTable.Entries();
    ASSERT_TRUE(Sub_SortItems());
    EXPECT_EQ(Codes(), c.out);
    // Every record comes back whole, only its place changes.
    for (const KomInfo& moved : frmResultIn.ItemTable) {
      bool same = false;
      for (const KomInfo& b : before) same = same || b == moved;
      EXPECT_TRUE(same) << moved.KomCode.ToString();
    }
  }
}

TEST_F(ItemOrder, SortsMoreItemsThanTheSortGridHeld) {
  std::vector<Entry> in;
  for (int k = 0; k < 1200; ++k) in.push_back({100000 - k, 1 + k % 3, 0});
  FillTable(in);
  ASSERT_TRUE(Sub_SortItems());
  for (int i = 2; i <= frmResultIn.ItemCount(); ++i) {
    const KomInfo& a = frmResultIn.ItemTable[i - 1];
    const KomInfo& b = frmResultIn.ItemTable[i];
    ASSERT_TRUE(a.Ngrp < b.Ngrp || (a.Ngrp == b.Ngrp && a.KomCode < b.KomCode)) << i;
  }
}

TEST_F(ItemOrder, JumpListNameWidthFollowsTheRowsThatFit) {
  struct Case {
    std::int16_t dsp_kbn;
    int height;
    int groups;
    int width;
  };
  const Case cases[] = {
      {1, 2890, 9, 2500},   // 2890 / 289 = 10 > 9
      {1, 2890, 10, 2200},  // 10 is not greater than 10
      {1, 2891, 10, 2500},  // a twip more is a fraction more
      {1, 2890, 0, 2500},
      {0, 2890, 10, 3000},
      {0, 2890, 30, 3000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.groups) + " groups, class " + std::to_string(c.dsp_kbn));
    frmResultIn = FrmResultInState{};
    basPublic.UserDspKbn = c.dsp_kbn;
    for (int g = 1; g <= c.groups; ++g) frmResultIn.InputGroups.Append(NgrpInfo{g, "group", 1});
    frmGrpSel->flxGroop.SetRows(0);
    for (int g = 0; g < c.groups; ++g) {
      frmGrpSel->flxGroop.AddItem("group");
      frmGrpSel->flxGroop.SetCellBackColorAt(g, 0, static_cast<ui::Color>(basPublic.ColorNgrpSelect));
    }
    frmGrpJmp->flxGroop.height = c.height;
    ASSERT_TRUE(Sub_NgrpJmpSet());
    EXPECT_EQ(frmGrpJmp->flxGroop.rows(), c.groups);
    EXPECT_EQ(frmGrpJmp->flxGroop.ColWidth(0), c.width);
  }
}

}  // namespace
}  // namespace qz::testing
