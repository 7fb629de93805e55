// The start's fit of the forms to the work area, the work area itself and
// the menu check.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "examinee/cls_default.h"
#include "examinee/start_fixture.h"
#include "kit/scratch_dir.h"
#include "kit/ui_expect.h"
#include "platform/system/window_finder.h"
#include "platform/ui/controls.h"
#include "platform/ui/scripted_shell.h"

namespace qz::test {
namespace {

class FormLayoutTest : public ::testing::Test {
 protected:
  FormLayoutTest() : main_(MakeResultInForm()), jmp_(MakeGrpJmpForm()), start_(*main_, *jmp_) {
    basPublic = BasPublic{};
    basPublic.WorkArea = {150, 300, 19350, 14300, 19200, 14000};
  }
  ~FormLayoutTest() override { basPublic = BasPublic{}; }

  ui::Control& Main(const char* name, int index = -1) { return main_->Get<ui::Control>(name, index); }

  ui::ScriptedShell shell_;
  std::unique_ptr<ui::Form> main_;
  std::unique_ptr<ui::Form> jmp_;
  ClsDefault start_;
};

TEST_F(FormLayoutTest, HeightAndWidthFollowTheSettings) {
  struct Case {
    int form_height, form_width;
    int main_width, main_height;
    int grid_width, grid_height;  // sprResult, designed 0 x 0
    int end_left, opchk_left;     // cmdEnd, cmdOpchk, designed at 0
    int jmp_height;
  };
  const std::vector<Case> cases = {
      {0, 0, 12000, 9000, 0, 0, 0, 0, 9000},
      {1, 0, 12000, 14000, 0, 10200, 0, 0, 14000},
      {2, 0, 12000, 9000, 0, 0, 0, 0, 9000},
      {0, 1, 19200, 9000, 19070, 0, 17130, 11010, 9000},
      {0, 2, 16200, 9000, 16070, 0, 14130, 8010, 9000},  // room for the 3000 of frmGrpJmp
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("FormHeight " + std::to_string(c.form_height) + " FormWidth " + std::to_string(c.form_width));
    auto main = MakeResultInForm();
    auto jmp = MakeGrpJmpForm();
    auto Main = [&](const char* name) -> ui::Control& { return main->Get<ui::Control>(name); };
    ClsDefault start(*main, *jmp);
    basPublic.FormHeight = static_cast<std::int16_t>(c.form_height);
    basPublic.FormWidth = static_cast<std::int16_t>(c.form_width);
    start.Sub_SetFormLayout();
    EXPECT_EQ(main->left, 150);
    EXPECT_EQ(main->top, 300);
    EXPECT_EQ(main->width, c.main_width);
    EXPECT_EQ(main->height, c.main_height);
    EXPECT_EQ(Main("sprResult").width, c.grid_width);
    EXPECT_EQ(Main("sprResult").height, c.grid_height);
    EXPECT_EQ(Main("cmdEnd").left, c.end_left);
    EXPECT_EQ(Main("chkOperation").left, c.end_left);
    EXPECT_EQ(Main("cmdOpchk").left, c.opchk_left);
    EXPECT_EQ(jmp->height, c.jmp_height);
    if (c.form_height == 1) {
      EXPECT_EQ(Main("lblStatus").top, 13270);
      EXPECT_EQ(jmp->Get<ui::Control>("flxGroop").height, 11460);
      EXPECT_EQ(jmp->Get<ui::Control>("lblInfo").top, 11690);
    }
    if (c.form_width != 0) {
      EXPECT_EQ(Main("lblStatus").width, c.main_width - 90);
      EXPECT_EQ(Main("cmdPreview").left, c.main_width - 4350);
      EXPECT_EQ(Main("fraKirikae").left, c.main_width - 5430);
      EXPECT_EQ(Main("cmdChkInput").left, c.main_width - 6510);
    }
  }
}

TEST_F(FormLayoutTest, OptionalButtonsHeaderAndGrid) {
  basPublic.ColorFormBack = 0xC0C0C0;
  basPublic.OpChkDisp = 1;
  basPublic.OptionTable[2].Enable = 1;
  basPublic.OptionTable[2].Caption = "心電図";
  basPublic.OptionTable[3].Enable = 2;  // only 1 shows a button
  basPublic.OptionTable[3].Caption = "眼底";
  start_.Sub_SetFormLayout();
  EXPECT_EQ(main_->back_color, 0xC0C0C0u);
  EXPECT_EQ(Main("fraHead").back_color, 0xC0C0C0u);
  EXPECT_TRUE(Main("cmdOpchk").visible);
  EXPECT_TRUE(Main("chkOperation").visible);
  EXPECT_FALSE(Main("cmdOption", 1).visible);
  EXPECT_TRUE(Main("cmdOption", 2).visible);
  EXPECT_EQ(Main("cmdOption", 2).caption, "心電図");
  EXPECT_FALSE(Main("cmdOption", 3).visible);
  EXPECT_FALSE(Main("cmdOption", 4).visible);
  EXPECT_FALSE(Main("sprResult").visible) << "shown when a consultation is loaded";
  EXPECT_EQ(Main("lblStatus").tool_tip_text,
            "Ctrl+F1:ﾊﾞｰｼﾞｮﾝ情報,Ctrl+F3:ﾃﾞｰﾀｸﾘｱ,Ctrl+F4:ﾁｪｯｸｸﾘｱ,Ctrl+F5:全てﾁｪｯｸ,Ctrl+F8:判定欄表示,"
            "Ctrl+F9:結果再読み込,Shift+F10:ﾌﾟﾚﾋﾞｭｰ帳票選択,Ctrl+F11:更新日時表示,Alt+F3:結果削除");
  for (const char* box : {"txtID", "txtHassou", "txtKana", "txtName", "txtSex", "txtBirth", "txtAge", "txtDanname"}) {
    EXPECT_EQ(main_->Get<ui::TextBox>(box).text(), "") << box;
  }

  basPublic.OpChkDisp = 0;
  start_.Sub_SetFormLayout();
  EXPECT_FALSE(Main("cmdOpchk").visible);
  EXPECT_FALSE(Main("chkOperation").visible);
}

TEST_F(FormLayoutTest, WorkAreaInTwipsOrUntouchedWhenUnknown) {
  shell_.screen.work_area_px = {10, 20, 1290, 1000};
  shell_.screen.twips_per_pixel_x = 15;
  shell_.screen.twips_per_pixel_y = 12;
  std::int32_t l = -1, t = -1, r = -1, b = -1, w = -1, h = -1;
  EXPECT_TRUE(start_.Fnc_GetWorkArea(l, t, r, b, w, h));
  EXPECT_EQ((std::vector<std::int32_t>{l, t, r, b, w, h}),
            (std::vector<std::int32_t>{150, 240, 19350, 12000, 19200, 11760}));

  shell_.screen.work_area_ok = false;
  l = t = r = b = w = h = -1;
  EXPECT_FALSE(start_.Fnc_GetWorkArea(l, t, r, b, w, h));
  EXPECT_EQ((std::vector<std::int32_t>{l, t, r, b, w, h}), (std::vector<std::int32_t>(6, -1)));
}

TEST(MenuCheckTest, TheMenuWindowIsNeededUnlessSwitchedOff) {
  struct Case {
    const char* ini;  // nullptr: no QZP140.INI
    bool window;
    bool allowed;
  };
  const std::vector<Case> cases = {
      {nullptr, false, false},  // the default is 1
      {nullptr, true, true},
      {"[SysInfo]\r\nOther=1\r\n", false, false},
      {"[SysInfo]\r\nMenuCheck=0\r\n", false, true},
      {"[SysInfo]\r\nMenuCheck=1\r\n", true, true},
      {"[SysInfo]\r\nMenuCheck=2\r\n", false, false},
  };
  ui::ScriptedShell shell;
  auto main = MakeResultInForm();
  auto jmp = MakeGrpJmpForm();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.ini ? c.ini : "no INI file") + (c.window ? " with the window" : " without"));
    testkit::ScratchDir dir;
    dir.Enter();
    if (c.ini != nullptr) dir.Write("QZP140.INI", c.ini);
    int lookups = 0;
    system::SetWindowFinderForTest([&](std::string_view title) {
      ++lookups;
      return c.window && title == kSuiteMenuTitle;
    });
    EXPECT_EQ(ClsDefault(*main, *jmp).Fnc_MenuCheck(), c.allowed);
    EXPECT_EQ(lookups, 1) << "the window is looked for in every case";
  }
  system::SetWindowFinderForTest(nullptr);
}

}  // namespace
}  // namespace qz::test
