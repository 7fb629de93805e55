// The progress window: designed texts at every loading, the blink of the
// guide line, the gauge.
#include "examinee/frm_guide.h"

#include <gtest/gtest.h>

#include "examinee/bas_public.h"
#include "kit/ui_expect.h"
#include "platform/runtime/app.h"
#include "platform/ui/form.h"
#include "platform/ui/scripted_shell.h"

namespace qz {
namespace {

class FrmGuideTest : public ::testing::Test {
 protected:
  void SetUp() override {
    basPublic = BasPublic{};
    frmGuide.Reset();
    App().major = 1;
    App().minor = 2;
    App().revision = 15;
    ASSERT_TRUE(shell.Drive([&] { main.Show(); }));
  }
  void TearDown() override {
    frmGuide.Reset();
    App() = AppInfo{};
  }
  // Shows the window as a caller does: modeless, owned by the main form,
  // then a yield so that it paints.
  void ShowGuide() {
    ASSERT_TRUE(shell.Drive([&] {
      frmGuide->Show(false, &main);
      ui::DoEvents();
    }));
  }

  ui::ScriptedShell shell;
  ui::Form main{"frmResultIn"};
};

TEST_F(FrmGuideTest, LoadShowsTheVersionCopyrightAndAnEmptyGauge) {
  basPublic.CopyRight = "Copyright (C) 健診システム";
  basPublic.GuideInterval = 300;
  ShowGuide();
  FrmGuide& g = *frmGuide;
  EXPECT_EQ(g.lblVersion.caption, "Ver.1.2.15");
  EXPECT_EQ(g.lblCopyRight.caption, "Copyright (C) 健診システム");
  EXPECT_EQ(g.lblGuide.caption, "データ読み込み中です．．．");
  EXPECT_EQ(g.lblState.caption, "処理状況");
  EXPECT_EQ(g.lblGage.width, 0);
  EXPECT_EQ(g.lblGuide.font.name, "ＭＳ ゴシック");
  EXPECT_EQ(g.lblVersion.font.name, "ＭＳ Ｐゴシック");
  EXPECT_EQ(g.owner(), &main);
  EXPECT_FALSE(g.HasCloseItem()) << "the window takes no input and has no close box";
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(FrmGuideTest, TheGuideLineBlinksEveryIntervalOrStaysWhenItIsZero) {
  struct Case {
    int interval;
    std::vector<bool> visible_at_100ms_steps;
  } cases[] = {
      {300, {true, true, false, false, false, true, true, true, false}},
      {0, {true, true, true, true, true, true, true, true, true}},
  };
  for (const Case& c : cases) {
    frmGuide.Reset();
    basPublic.GuideInterval = c.interval;
    ShowGuide();
    std::vector<bool> seen;
    for (int i = 0; i < 9; ++i) {
      shell.AdvanceTime(100);
      seen.push_back(frmGuide->lblGuide.visible);
    }
    EXPECT_EQ(seen, c.visible_at_100ms_steps) << "interval " << c.interval;
    EXPECT_EQ(frmGuide->tmrGuide.enabled, c.interval != 0);
    ASSERT_TRUE(shell.Drive([] { frmGuide->Unload(); }));
  }
}

TEST_F(FrmGuideTest, UnloadingAndShowingAgainStartsFromTheDesignedWindow) {
  basPublic.GuideInterval = 300;
  ShowGuide();
  ASSERT_TRUE(shell.Drive([&] {
    frmGuide->lblGuide.caption = "終了処理中です．．．";
    frmGuide->lblState.caption = "ファイルクローズ中";
    frmGuide->SetGauge(3, 4);
  }));
  shell.AdvanceTime(300);
  EXPECT_FALSE(frmGuide->lblGuide.visible);
  ASSERT_TRUE(shell.Drive([] { frmGuide->Unload(); }));
  EXPECT_FALSE(frmGuide.loaded());
  ShowGuide();
  EXPECT_EQ(frmGuide->lblGuide.caption, "データ読み込み中です．．．");
  EXPECT_EQ(frmGuide->lblState.caption, "処理状況");
  EXPECT_EQ(frmGuide->lblGage.width, 0);
  EXPECT_TRUE(frmGuide->lblGuide.visible);
}

TEST_F(FrmGuideTest, TheGaugeReachesTheStateLineWidthAtTheLastStep) {
  ShowGuide();
  FrmGuide& g = *frmGuide;
  g.lblState.width = 5281;
  for (int total : {1, 7, 20, 22}) {
    int last = -1;
    for (int k = 1; k <= total; ++k) {
      g.SetGauge(k, total);
      EXPECT_GE(g.lblGage.width, last);
      last = g.lblGage.width;
    }
    EXPECT_EQ(g.lblGage.width, g.lblState.width) << total;
  }
  g.SetGauge(0, 0);
  EXPECT_EQ(g.lblGage.width, 0);
}

TEST_F(FrmGuideTest, ItsTimerYieldsSoOtherTimersRunInsideTheTick) {
  basPublic.GuideInterval = 100;
  auto& poll = main.Add<ui::Timer>("tmrPoll");
  poll.interval = 100;
  bool guide_ticking_when_polled = false;
  bool in_guide_tick = false;
  ShowGuide();
  frmGuide->tmrGuide.on_timer = [&] {
    in_guide_tick = true;
    frmGuide->tmrGuide_Timer();
    in_guide_tick = false;
  };
  poll.on_timer = [&] { guide_ticking_when_polled = guide_ticking_when_polled || in_guide_tick; };
  shell.AdvanceTime(100);
  EXPECT_TRUE(guide_ticking_when_polled);
}

}  // namespace
}  // namespace qz
