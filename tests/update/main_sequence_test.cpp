#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "data/common_sub.h"
#include "kit/ui_expect.h"
#include "platform/system/instance_lock.h"
#include "update/bas_public.h"
#include "update/frm_main.h"
#include "update/path_routines.h"
#include "update/update_fixture.h"
#include "update/update_main.h"

namespace qz::update {
namespace {

using Lines = std::vector<std::string>;
const std::string kStars(70, '*');

class MainTest : public testing::UpdateTest {
 protected:
  void SetUp() override {
    UpdateTest::SetUp();
    system::SetInstanceCheckForTest([this](std::string_view) { return another_running_; });
    basPublic = BasPublic{};  // Main makes its own run log
  }
  void TearDown() override {
    TheMainForm().reset();
    system::SetInstanceCheckForTest(nullptr);
    UpdateTest::TearDown();
  }
  // The lines of the log that mark its structure, in order.
  Lines Banners() const {
    Lines out;
    for (const std::string& t : LogTexts()) {
      if (t.rfind("■", 0) == 0 || t.rfind("★", 0) == 0 || t == kStars) out.push_back(t);
    }
    return out;
  }
  bool another_running_ = false;
};

TEST_F(MainTest, ARunWithoutChecksGoesThroughEveryPhaseOnce) {
  MakeInstallation("[Setting]\r\nVersionCheck=0\r\nRunCheck=0\r\nLockCheck=0\r\nConvert_Max=1\r\nImport_Max=0\r\nQZPCNV_Max=0\r\n");
  shell_.AnswerBox(ui::MsgResult::kOk, "バージョンアップ処理が終了しました。");
  // As the executable runs it: the form's unload ends the program, and the
  // complete run gives the exit status 0.
  EXPECT_EQ(ProgramMain(shell_, "D:\\SUITE"), 0);
  EXPECT_SCRIPT_OK(shell_);
  ASSERT_EQ(shell_.boxes().size(), 1u);
  EXPECT_EQ(shell_.boxes()[0].request.text, "バージョンアップ処理が終了しました。");
  EXPECT_EQ(shell_.boxes()[0].request.icon, ui::MsgIcon::kInformation);
  EXPECT_EQ(Banners(), (Lines{"★★★★★ プログラム開始 ★★★★★", "■■■■■ バージョンアップ処理開始 ■■■■■",
                              // section 0: after its check, before the copy step, before the rebuild
                              "■■■ コンバート処理開始 ■■■", kStars, kStars, kStars, "■■■ コンバート処理終了 ■■■",
                              // section 1: after its check, before the rebuild
                              "■■■ コンバート処理開始 ■■■", kStars, kStars, "■■■ コンバート処理終了 ■■■",
                              "■■■ マスタ編集処理開始 ■■■", kStars, "■■■ マスタ編集処理終了 ■■■",
                              "■■■ 外部編集処理開始 ■■■", "■■■ 外部編集処理終了 ■■■",
                              "■■■ 終了メッセージ編集処理開始 ■■■", "■■■ 終了メッセージ編集処理終了 ■■■", kStars,
                              "■■■■■ バージョンアップ処理終了 ■■■■■"}));
  Lines log = LogTexts();
  EXPECT_EQ(log[3], "コンピュータ名 : " + qz::Fnc_GetComputerName());
  EXPECT_TRUE(Logged("セクション : Convert_001"));
  EXPECT_EQ(log[log.size() - 2], "");
  EXPECT_EQ(CurrentFolder(), "D:\\SUITE\\");
  EXPECT_FALSE(basPublic.FileSystem);  // released by the unload
  ASSERT_TRUE(TheMainForm());
  EXPECT_EQ(TheMainForm()->lblTitle.caption, "バージョンアップ処理が終了しました。");
}

// A section whose version range cannot be read fails the run (it is never
// skipped silently), whichever step it belongs to.
TEST_F(MainTest, AMalformedSectionRangeFailsItsStep) {
  struct Case {
    const char* section;
    const char* line;  // the step's failure line
  } cases[] = {
      {"[Convert_001]\r\nExport=X.INI\r\nTargetMax=1.x.0\r\n", nullptr},
      {"[Copy_001]\r\nFrom=files\r\nTo=%VLMP%\r\nTargetMin=1.100000.0\r\n", "※コピー処理が異常終了しました。"},
      {"[Import]\r\nTargetMin=1..0\r\n", "※インポート処理が異常終了しました。"},
      {"[QZPCNV]\r\nFile=A\r\nTargetMin=x\r\n", "※数値項目初期化処理が異常終了しました。"},
      {"[External]\r\nPG=edit\r\nTargetMax=1.2\r\n", "※外部編集処理が異常終了しました。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.section);
    TearDown();
    SetUp();
    MakeInstallation(std::string("[Setting]\r\nVersionFile=REL.ini\r\nTargetMin=1.0.0\r\nTargetMax=2.0.0\r\n"
                                 "RunCheck=0\r\nLockCheck=0\r\nConvert_Max=1\r\nImport_Max=0\r\nQZPCNV_Max=0\r\n") +
                     c.section);
    WriteFile("D:\\REL\\REL.ini", "[Version]\r\nNow=1.1.0\r\n");
    WriteFile("D:\\SUITE\\Version.ini", "[Version]\r\nNow=1.0.0\r\n");
    ui::ScriptedShell shell;  // a program that ended does not start again
    shell.AnswerBox(ui::MsgResult::kOk, "バージョンの書式が不正です。");
    EXPECT_FALSE(shell.Drive([] { Main("D:\\SUITE"); }));
    EXPECT_SCRIPT_OK(shell);
    bool refused = false;
    for (const std::string& t : LogTexts()) refused = refused || t.rfind("対象バージョンの指定が不正です。 : ", 0) == 0;
    EXPECT_TRUE(refused);
    if (c.line != nullptr) {
      EXPECT_TRUE(Logged(c.line));
    }
    EXPECT_FALSE(Logged("■■■ 終了メッセージ編集処理開始 ■■■"));
    EXPECT_EQ(ExitStatus(), 1);
  }
}

// The end messages and the closing box still belong to the run: a close
// request among them is refused, and the run ends complete.
TEST_F(MainTest, ACloseDuringTheEndMessagesIsRefused) {
  MakeInstallation(
      "[Setting]\r\nVersionCheck=0\r\nRunCheck=0\r\nLockCheck=0\r\nConvert_Max=-1\r\nImport_Max=-1\r\n"
      "QZPCNV_Max=-1\r\n[EndMessage]\r\nFile=end.txt\r\n");
  WriteFile("D:\\REL\\end.txt", "お知らせ", true);
  bool closed = true;
  shell_.on_box = [&](const ui::MessageBoxRequest& box) {
    if (box.text == "お知らせ") closed = ui::Shell::Require().UserCloseBox(*frmMain());
  };
  shell_.AnswerBox(ui::MsgResult::kOk, "お知らせ").AnswerBox(ui::MsgResult::kOk, "バージョンアップ処理が終了しました。");

  EXPECT_EQ(ProgramMain(shell_, "D:\\SUITE"), 0);
  EXPECT_SCRIPT_OK(shell_);
  EXPECT_FALSE(closed);
  EXPECT_TRUE(Logged("バージョンアップ処理中のため、画面を閉じることはできません。"));
}

TEST_F(MainTest, ANegativeConvertMaxRunsNoConversionSection) {
  MakeInstallation("[Setting]\r\nVersionCheck=0\r\nRunCheck=0\r\nLockCheck=0\r\nConvert_Max=-1\r\nImport_Max=-1\r\nQZPCNV_Max=-1\r\n");
  shell_.AnswerBox(ui::MsgResult::kOk);
  EXPECT_FALSE(shell_.Drive([] { Main("D:\\SUITE"); }));
  for (const std::string& b : Banners()) EXPECT_NE(b, "■■■ コンバート処理開始 ■■■");
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(MainTest, ASecondCopyEndsWithItsOwnLog) {
  MakeInstallation();
  another_running_ = true;
  shell_.AnswerBox(ui::MsgResult::kOk);
  EXPECT_FALSE(shell_.Drive([] { Main("D:\\SUITE"); }));
  ASSERT_EQ(shell_.boxes().size(), 1u);
  EXPECT_EQ(shell_.boxes()[0].request.text, "既に起動中です。");
  EXPECT_EQ(shell_.boxes()[0].request.icon, ui::MsgIcon::kCritical);
  EXPECT_EQ(shell_.boxes()[0].request.title, kTitle);
  Lines log = LogTexts();
  EXPECT_EQ(Lines(log.end() - 3, log.end()),
            (Lines{"２重起動のため、バージョンアップ処理を終了します。", "", "■■■■■ バージョンアップ処理終了 ■■■■■"}));
  EXPECT_FALSE(TheMainForm());
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(MainTest, RefusalsAtTheStartEndTheProgram) {
  struct Case {
    std::string update_ini;  // empty: no Update.INI
    std::string box;
    std::string last_line;
  } cases[] = {
      {"", "バージョンアップ定義ファイルが見つかりません。\r\n\r\nパス : D:\\REL\\Update.INI", "パス情報の編集エラーのため、バージョンアップ処理を終了します。"},
      {"[Setting]\r\nVersionFile=NONE.ini\r\n", "バージョンアップのバージョン定義ファイルが見つかりません。\r\n\r\nパス : D:\\REL\\NONE.ini",
       "バージョンアップのバージョン定義ファイルが見つかりません。 : D:\\REL\\NONE.ini"},
      {"[Setting]\r\nVersionCheck=0\r\n",
       "バントリクを「  」から「  」へバージョンアップします。\r\n\r\n他のバントリク端末は、全て電源を切って下さい。\r\n\r\n"
       "「OK」ボタンをクリックすると初期メニューが手前に表示されますので、\r\nメニューを終了して下さい。\r\n\r\n"
       "「キャンセル」をクリックするとバージョンアップを中止します。",
       "「キャンセル」を選択されたため、バージョンアップ処理を終了します。"},
  };
  for (const Case& c : cases) {
    TearDown();
    SetUp();
    MakeInstallation(c.update_ini);
    if (c.update_ini.empty()) std::filesystem::remove(Host("D:\\REL\\Update.INI"));
    ui::ScriptedShell shell;  // a program that ended does not start again
    shell.AnswerBox(ui::MsgResult::kCancel).AnswerBox(ui::MsgResult::kOk);
    EXPECT_FALSE(shell.Drive([] { Main("D:\\SUITE"); })) << c.box;
    ASSERT_FALSE(shell.boxes().empty());
    EXPECT_EQ(shell.boxes()[0].request.text, c.box);
    Lines log = LogTexts();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(Lines(log.end() - 3, log.end()), (Lines{c.last_line, "", "■■■■■ バージョンアップ処理終了 ■■■■■"}));
    EXPECT_FALSE(TheMainForm());
    EXPECT_EQ(ExitStatus(), 1) << "a refusal is no complete run";
    if (c.last_line.rfind("「キャンセル」", 0) == 0) {
      const ui::MessageBoxRequest& start = shell.boxes()[0].request;
      EXPECT_EQ(start.buttons, ui::MsgButtons::kOkCancel);
      EXPECT_EQ(start.icon, ui::MsgIcon::kInformation);
      ASSERT_EQ(shell.boxes().size(), 2u);
      EXPECT_EQ(shell.boxes()[1].request.text, "バージョンアップを中止します。");
      EXPECT_SCRIPT_OK(shell);
    }
  }
}

TEST_F(MainTest, ALogThatCannotBeMadeEndsTheProgramAtOnce) {
  std::filesystem::remove_all(Host("C:\\Vantork.Update"));
  WriteFile("C:\\Vantork.Update", "not a folder");
  shell_.AnswerBox(ui::MsgResult::kOk, "ログフォルダの作成に失敗しました。")
      .AnswerBox(ui::MsgResult::kOk, "ログの初期化に失敗しました。");
  EXPECT_FALSE(shell_.Drive([] { Main("D:\\SUITE"); }));
  EXPECT_EQ(shell_.boxes().size(), 2u);
  EXPECT_SCRIPT_OK(shell_);
}

// The main form on its own, with the start's state set by hand and the run
// and lock checks on.
class MainFormTest : public testing::UpdateTest {
 protected:
  void SetUp() override {
    UpdateTest::SetUp();
    MakeInstallation("[Setting]\r\nVersionCheck=0\r\nLockCheck=0\r\n");
    basPublic.RootPath = "D:\\REL\\";
    basPublic.ProgramPath = "D:\\SUITE\\";
    basPublic.DataPath = "D:\\DATA\\";
    basPublic.UpdateIniPath = "D:\\REL\\Update.INI";
    basPublic.RunCheck = true;
    basPublic.ConvertMax = 0;
    basPublic.ImportMax = 0;
    basPublic.QzpcnvMax = 0;
    WriteFile("D:\\SUITE\\VANTORIK.EXE", "#!/bin/sh\necho started > started.txt\n");
    ::chmod(Host("D:\\SUITE\\VANTORIK.EXE").c_str(), 0755);
  }
};

TEST_F(MainFormTest, TheClosingOfferStartsTheSuiteFromTheProgramFolder) {
  FrmMain form;
  shell_.SetMainForm(&form);
  shell_.AnswerBox(ui::MsgResult::kOk, "バージョンアップを開始します。")
      .AnswerBox(ui::MsgResult::kYes, "バージョンアップ処理が終了しました。\r\n\r\nバントリクを起動しますか？");
  EXPECT_FALSE(shell_.Drive([&] { form.Show(); }));
  EXPECT_SCRIPT_OK(shell_);
  ASSERT_EQ(shell_.boxes().size(), 2u);
  EXPECT_EQ(shell_.boxes()[1].request.buttons, ui::MsgButtons::kYesNo);
  EXPECT_EQ(shell_.boxes()[1].request.default_button, 0);
  EXPECT_TRUE(Logged("バントリクを起動します。"));
  for (int i = 0; i < 200 && !std::filesystem::exists(Host("D:\\SUITE\\started.txt")); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(std::filesystem::exists(Host("D:\\SUITE\\started.txt")));
  Lines log = LogTexts();
  EXPECT_EQ(Lines(log.end() - 4, log.end()), (Lines{"", kStars, "", "■■■■■ バージョンアップ処理終了 ■■■■■"}));
}

TEST_F(MainFormTest, DecliningTheOfferStartsNothing) {
  FrmMain form;
  shell_.SetMainForm(&form);
  shell_.AnswerBox(ui::MsgResult::kOk).AnswerBox(ui::MsgResult::kNo, "バントリクを起動しますか？");
  EXPECT_FALSE(shell_.Drive([&] { form.Show(); }));
  EXPECT_FALSE(Logged("バントリクを起動します。"));
  EXPECT_SCRIPT_OK(shell_);
  // The suite's program is not started: in the time the offer accepted
  // takes to start it, it leaves no trace.
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_FALSE(std::filesystem::exists(Host("D:\\SUITE\\started.txt")));
}

TEST_F(MainFormTest, AProgramFolderGoneAtTheEndIsAFailure) {
  FrmMain form;
  shell_.SetMainForm(&form);
  basPublic.ProgramPath = "D:\\GONE\\";
  shell_.AnswerBox(ui::MsgResult::kOk)
      .AnswerBox(ui::MsgResult::kOk, "「D:\\GONE\\」に移動できません。")
      .AnswerBox(ui::MsgResult::kOk, "バージョンアップに失敗しました。");
  EXPECT_FALSE(shell_.Drive([&] { form.Show(); }));
  EXPECT_TRUE(Logged("「D:\\GONE\\」に移動できません。"));
  EXPECT_SCRIPT_OK(shell_);
}

}  // namespace
}  // namespace qz::update
