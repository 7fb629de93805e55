// Edit permission by the operator's input groups, and the option rows that
// send keystrokes when an item receives its trigger value.
#include "judgement/edit_permission.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "judgement/judgement_bed.h"
#include "judgement/option_rows.h"
#include "loading/load_state.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

namespace qz::testing {
namespace {

class EditPermission : public ::testing::Test {
 protected:
  void SetUp() override {
    bed.Open();
    mine = bed.Add(JudgementBed::Numeric(3001, 1, "身長"));
    theirs = bed.Add(JudgementBed::Numeric(3002, 1, "眼底"), false, false);
    bed.Finish();
  }

  JudgementBed bed;
  std::int16_t mine = 0, theirs = 0;
};

TEST_F(EditPermission, OnlyItemsOfTheOperatorsGroupsMayBeChanged) {
  EXPECT_TRUE(Fnc_CheckEditPermission(bed.RowOf(mine)));
  EXPECT_TRUE(bed.Boxes().empty());
  EXPECT_FALSE(Fnc_CheckEditPermission(bed.RowOf(theirs)));
  EXPECT_EQ(bed.Boxes(), std::vector<std::string>{"「眼底」の\r\n入力ご担当者に連絡して下さい。"});
}

TEST_F(EditPermission, ARowWithoutItemIsRefused) {
  EXPECT_FALSE(Fnc_CheckEditPermission(bed.RowOf(theirs) + 1));
  ASSERT_EQ(bed.Boxes().size(), 1u);  // the row conversion's own report
  EXPECT_NE(bed.Boxes()[0].find("添字の計算処理でエラーが発生しました。"), std::string::npos) << bed.Boxes()[0];
}

class OptionRows : public EditPermission {
 protected:
  void SetUp() override {
    EditPermission::SetUp();
    auto& text = form.Add<ui::TextBox>("txtKeys");
    text.on_key_down = [this](int& key, int& shift) {
      keys.push_back(std::to_string(key) + "/" + std::to_string(shift));
    };
    ASSERT_TRUE(bed.shell.Drive([&] { form.Show(); }));
  }

  void Option(int n, long long code, const char* trigger, const char* keystrokes) {
    OptionInfo& o = basPublic.OptionTable[static_cast<std::size_t>(n)];
    o.KomCode = Currency(code);
    o.Syoken = trigger;
    o.KeyCode = keystrokes;
  }

  std::vector<std::string> Enter(std::int16_t item, const std::string& value) {
    keys.clear();
    EXPECT_TRUE(bed.shell.Drive([&] { Sub_CallOptionButton(item, value); }));
    return keys;
  }

  ui::Form form{"frmKeys"};
  std::vector<std::string> keys;
};

TEST_F(OptionRows, TheFirstOptionOfTheItemWithTheExactTextSendsItsKeys) {
  Option(1, 3002, "1", "{F5}");
  Option(2, 3001, "1", "");         // no keystrokes: passed over
  Option(3, 3001, "1", "^{F6}");
  Option(4, 3001, "1", "{F7}");
  EXPECT_EQ(Enter(mine, "1"), std::vector<std::string>{"117/2"});
  EXPECT_TRUE(Enter(mine, "１").empty());   // a full-width digit differs
  EXPECT_TRUE(Enter(mine, "1 ").empty());
  EXPECT_EQ(Enter(theirs, "1"), std::vector<std::string>{"116/0"});
  basPublic.OptionTable[1].Enable = 0;       // not consulted
  EXPECT_EQ(Enter(theirs, "1"), std::vector<std::string>{"116/0"});
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(OptionRows, KeystrokesInABadNotationAreReported) {
  Option(1, 3001, "x", "{NOSUCH}");
  EXPECT_TRUE(Enter(mine, "x").empty());
  ASSERT_EQ(bed.Boxes().size(), 1u);
  EXPECT_NE(bed.Boxes()[0].find("オプションボタンの呼び出しチェック処理でエラーが発生しました。"), std::string::npos)
      << bed.Boxes()[0];
}

}  // namespace
}  // namespace qz::testing
