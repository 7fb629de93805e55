#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <stdexcept>

#include "kit/ui_expect.h"
#include "platform/system/window_finder.h"
#include "update/bas_public.h"
#include "update/frm_wait.h"
#include "update/process_list.h"
#include "update/steps.h"
#include "update/steps_fixture.h"

namespace qz::update {
namespace {

using testing::StepsTest;
using ui::MsgResult;

class WaitWindowTest : public StepsTest {
 protected:
  void SetUp() override {
    StepsTest::SetUp();
    frmWait.Reset();
    WriteFile("D:\\REL\\PGList.ini", "[PG]\r\nQZP140.EXE=結果入力\r\n", true);
    SetProcessListForTest([this] { return processes_; });
    system::SetWindowFinderForTest([this](std::string_view title) { return menu_open_ && title == kMenuCaption; });
  }
  void TearDown() override {
    SetProcessListForTest(nullptr);
    system::SetWindowFinderForTest(nullptr);
    frmWait.Reset();
    StepsTest::TearDown();
  }
  // A process of the installation, its folder written in other case.
  std::string InSuite(const std::string& name) const {
    std::string folder = Host("D:\\SUITE") + "/";
    std::transform(folder.begin(), folder.end(), folder.begin(), [](unsigned char c) { return std::toupper(c); });
    return folder + name;
  }
  std::vector<std::string> Listed() const {
    std::vector<std::string> names;
    for (int i = 0; i < frmWait->lstPG.list_count(); ++i) names.push_back(frmWait->lstPG.List(i));
    return names;
  }

  std::vector<std::string> processes_;
  bool menu_open_ = false;
};

TEST_F(WaitWindowTest, NothingRunningProceedsAtTheFirstTick) {
  processes_ = {"/elsewhere/SUITE/QZP140.EXE"};
  shell_.Advance(1000);
  ASSERT_TRUE(shell_.Drive([] { Sub_ShowWaitWindow(); }));
  EXPECT_TRUE(basPublic.WaitProceed);
  EXPECT_TRUE(Logged("「バントリク初期メニュー」が実行されていません。"));
  EXPECT_TRUE(Logged("D:\\SUITE\\で実行中のプログラムが全て終了されました。"));
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(WaitWindowTest, TheWindowWaitsMinimisedWhileTheMenuIsOpen) {
  menu_open_ = true;
  processes_ = {InSuite("QZP140.EXE"), "/elsewhere/x/QZP150.EXE", InSuite("BIN/qzp150.exe")};
  shell_.Advance(1000)
      .Do([&] {
        EXPECT_EQ(Listed(), (std::vector<std::string>{"結果入力", "qzp150.exe"}));
        EXPECT_EQ(frmWait->window_state(), ui::WindowState::kMinimized);
        EXPECT_FALSE(frmWait->HasCloseItem());
        menu_open_ = false;
      })
      .Advance(1000)
      .Do([&] {
        EXPECT_EQ(frmWait->window_state(), ui::WindowState::kNormal);
        processes_.erase(processes_.begin());
      })
      .Advance(1000)
      .Do([&] {
        EXPECT_EQ(Listed(), std::vector<std::string>{"qzp150.exe"});
        int cancel = 0;
        frmWait->Form_QueryUnload(cancel, ui::kUnloadControlMenu);
        EXPECT_EQ(cancel, 1);
        processes_.clear();
      })
      .Advance(1000);
  ASSERT_TRUE(shell_.Drive([] { Sub_ShowWaitWindow(); }));
  EXPECT_TRUE(basPublic.WaitProceed);
  EXPECT_TRUE(Logged("「バントリク初期メニュー」が終了されるまで待機します。"));
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(WaitWindowTest, TheOperatorForcesTheRunOrStopsIt) {
  struct Case {
    const char* button;
    const char* question;
    bool proceed;
    const char* log;
  } cases[] = {
      {"cmdRun", "強制実行すると、マスタの更新に失敗する可能性があります。\r\nよろしいですか？", true,
       "「強制実行」を押されたため、バージョンアップ処理を強制実行します。"},
      {"cmdCancel", "バージョンアップを中止します。\r\nよろしいですか？", false,
       "「中止」を押されたため、バージョンアップ処理を終了します。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    Fresh();
    shell_.ClearRecords();
    processes_ = {InSuite("QZP140.EXE")};
    shell_.Click("frmWait", c.button)
        .AnswerBox(MsgResult::kNo, c.question)
        .Advance(1000)
        .Do([&] { EXPECT_EQ(Listed(), std::vector<std::string>{"結果入力"}); })
        .Click("frmWait", c.button)
        .AnswerBox(MsgResult::kYes, c.question);
    ASSERT_TRUE(shell_.Drive([] { Sub_ShowWaitWindow(); }));
    EXPECT_EQ(basPublic.WaitProceed, c.proceed);
    EXPECT_TRUE(Logged(c.log));
    ASSERT_EQ(shell_.boxes().size(), 2u);
    EXPECT_EQ(shell_.boxes()[0].request.default_button, 1);
    EXPECT_EQ(shell_.boxes()[0].request.icon, ui::MsgIcon::kQuestion);
    EXPECT_SCRIPT_OK(shell_);
  }
}

TEST_F(WaitWindowTest, TheWindowHasItsSizeInsideTheWorkArea) {
  // A task bar along the top of the screen: the work area starts lower.
  shell_.screen.work_area_px = {0, 40, 1280, 1024};
  processes_ = {InSuite("QZP140.EXE")};
  shell_.Do([&] {
        const ui::Form& w = frmWait.get();
        EXPECT_GE(w.width, 3000);
        EXPECT_GE(w.height, 2000);
        EXPECT_EQ(w.left, 0);
        EXPECT_GE(w.top, 40 * 15);
        EXPECT_EQ(w.top + w.height, 1024 * 15) << "its bottom on the work area's bottom";
        const std::vector<const ui::Control*> controls = {&frmWait->lstPG, &frmWait->cmdRun, &frmWait->cmdCancel,
                                                          &frmWait->lblGuide};
        for (const ui::Control* c : controls) {
          EXPECT_GT(c->width, 0);
          EXPECT_LE(c->left + c->width, w.width);
          EXPECT_LE(c->top + c->height, w.height);
        }
        processes_.clear();
      })
      .Advance(1000);
  ASSERT_TRUE(shell_.Drive([] { Sub_ShowWaitWindow(); }));
  EXPECT_SCRIPT_OK(shell_);
}

// The program folder and the programs' paths compare as real paths: a
// program running from the installation holds the wait however either is
// named (a link, "..", a closing separator).
TEST_F(WaitWindowTest, AProgramOfTheInstallationIsSeenThroughALink) {
  namespace fs = std::filesystem;
  const std::string real = Host("D:\\SUITE");
  const std::string link = Host("D:\\LINKED");
  fs::create_directory_symlink(real, link);
  struct Case {
    std::string program_path;  // ProgramPath as the installation names it
    std::string process;       // the executable as the process list has it
  } cases[] = {
      {link + "/", real + "/QZP140.EXE"},
      {real + "/../LINKED", real + "/QZP140.EXE"},
      {real + "/", link + "/QZP140.EXE"},
      {Host("D:\\REL") + "/../SUITE//", link + "/./QZP140.EXE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program_path + " " + c.process);
    frmWait.Reset();
    shell_.ClearRecords();
    basPublic.ProgramPath = c.program_path;
    processes_ = {c.process};
    shell_.Advance(1000)
        .Do([&] {
          EXPECT_EQ(Listed(), std::vector<std::string>{"結果入力"});
          EXPECT_FALSE(basPublic.WaitProceed);
          processes_.clear();
        })
        .Advance(1000);
    ASSERT_TRUE(shell_.Drive([] { Sub_ShowWaitWindow(); }));
    EXPECT_TRUE(basPublic.WaitProceed);
    EXPECT_SCRIPT_OK(shell_);
  }
}

// The program itself runs from the release folder, which may lie under the
// program folder: it is never waited for.
TEST_F(WaitWindowTest, TheUpdateProgramItselfIsNotListed) {
  const std::string self = OwnExecutablePath();
  ASSERT_FALSE(self.empty());
  basPublic.ProgramPath = self.substr(0, self.rfind('/') + 1);
  processes_ = {self};
  shell_.Advance(1000);
  ASSERT_TRUE(shell_.Drive([] { Sub_ShowWaitWindow(); }));
  EXPECT_TRUE(basPublic.WaitProceed);
  EXPECT_SCRIPT_OK(shell_);
}

// A process query that fails is no answer that nothing runs: the window
// keeps waiting until a query answers.
TEST_F(WaitWindowTest, AFailingProcessQueryKeepsWaiting) {
  bool failing = true;
  SetProcessListForTest([&]() -> std::vector<std::string> {
    if (failing) throw std::runtime_error("no process list");
    return {};
  });
  shell_.Advance(1000)
      .Advance(1000)
      .Do([&] {
        EXPECT_FALSE(basPublic.WaitProceed);
        EXPECT_TRUE(frmWait.loaded());
        EXPECT_EQ(frmWait->window_state(), ui::WindowState::kNormal);
        failing = false;
      })
      .Advance(1000);
  ASSERT_TRUE(shell_.Drive([] { Sub_ShowWaitWindow(); }));
  EXPECT_TRUE(basPublic.WaitProceed);
  EXPECT_TRUE(Logged("実行中のプログラムを取得できません。待機を続けます。"));
  EXPECT_SCRIPT_OK(shell_);
}

}  // namespace
}  // namespace qz::update
