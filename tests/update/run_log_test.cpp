#include <gtest/gtest.h>

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>

#include "kit/ui_expect.h"
#include "platform/path/host_path.h"
#include "platform/runtime/app.h"
#include "platform/text/cp932.h"
#include "update/bas_public.h"
#include "update/frm_main.h"
#include "update/run_log.h"
#include "update/update_fixture.h"

namespace qz::update {
namespace {

using testing::UpdateTest;
namespace fs = std::filesystem;

TEST_F(UpdateTest, LogLinesCarryTheTimeABlankAndEndInCrLfInCp932) {
  Sub_Log("◆◇◆ 設定の取得開始 ◆◇◆");
  Sub_Log("");
  std::string expected = text::ToCp932("2026/12/09 14:22:33 ◆◇◆ 設定の取得開始 ◆◇◆") + "\r\n" +
                         text::ToCp932("2026/12/09 14:22:33 ") + "\r\n";
  EXPECT_EQ(ReadFile("C:\\Vantork.Update\\20261209_142233\\Update.log"), expected);
  EXPECT_EQ(basPublic.LogFile, "C:\\Vantork.Update\\20261209_142233\\Update.log");
}

TEST_F(UpdateTest, ASecondRunInTheSameSecondGetsItsOwnFolderAndLeavesTheFirstLog) {
  Sub_Log("first run");
  BasPublic second;
  basPublic = second;
  ASSERT_TRUE(Fnc_LogInit());
  EXPECT_EQ(basPublic.LogFolder, "C:\\Vantork.Update\\20261209_142233_2\\");
  Sub_Log("second run");
  EXPECT_EQ(text::FromCp932(ReadFile("C:\\Vantork.Update\\20261209_142233\\Update.log")),
            "2026/12/09 14:22:33 first run\r\n");
  EXPECT_EQ(LogTexts(), std::vector<std::string>{"second run"});
}

TEST_F(UpdateTest, TheLogRootIsASettingOfTheRelease) {
  App().path = Host("D:\\REL");
  App().exe_name = "Update";
  WriteFile("D:\\REL\\Update.INI", "[Setting]\r\nLogRoot=D:\\LOGS\r\n");
  basPublic = BasPublic{};
  ASSERT_TRUE(Fnc_LogInit());
  EXPECT_EQ(basPublic.LogFolder, "D:\\LOGS\\20261209_142233\\");
  Sub_Log("here");
  EXPECT_EQ(LogTexts(), std::vector<std::string>{"here"});
  // A relative root counts from the release folder.
  WriteFile("D:\\REL\\Update.INI", "[Setting]\r\nLogRoot=logs\r\n");
  EXPECT_EQ(LogRootFolder(), Host("D:\\REL") + "/logs/");
}

// Where drive C means nothing on this machine, the runs go to the user's
// home folder: nothing is written at the root of the file system.
TEST_F(UpdateTest, WithoutADriveCTheLogRootIsInTheHomeFolder) {
  path::SetDriveRoot('C', std::nullopt);
  const char* env = std::getenv("QZ_DRIVE_ROOT_C");
  const std::string saved_env = env != nullptr ? env : "";
  const char* home = std::getenv("HOME");
  const std::string saved_home = home != nullptr ? home : "";
  unsetenv("QZ_DRIVE_ROOT_C");
  setenv("HOME", Host("D:\\home").c_str(), 1);
  EXPECT_EQ(LogRootFolder(), Host("D:\\home") + "/Vantork.Update/");
  basPublic = BasPublic{};
  EXPECT_TRUE(Fnc_LogInit());
  EXPECT_TRUE(fs::is_directory(Host("D:\\home") + "/Vantork.Update/20261209_142233"));
  setenv("HOME", saved_home.c_str(), 1);
  if (env != nullptr) setenv("QZ_DRIVE_ROOT_C", saved_env.c_str(), 1);
  path::SetDriveRoot('C', dir_.Path("C"));
}

TEST_F(UpdateTest, ARunFolderThatCannotBeMadeIsReported) {
  fs::remove_all(Host("C:\\Vantork.Update"));
  WriteFile("C:\\Vantork.Update", "not a folder");
  basPublic = BasPublic{};
  shell_.AnswerBox(ui::MsgResult::kOk);
  EXPECT_FALSE(Fnc_LogInit());
  ASSERT_EQ(shell_.boxes().size(), 1u);
  EXPECT_EQ(shell_.boxes()[0].request.text,
            "ログフォルダの作成に失敗しました。\r\n\r\nパス : C:\\Vantork.Update\\20261209_142233\\");
  EXPECT_EQ(shell_.boxes()[0].request.icon, ui::MsgIcon::kCritical);
  EXPECT_EQ(shell_.boxes()[0].request.title, kTitle);
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(UpdateTest, BackupPathsAreMadeFromTheFilesFullPath) {
  const std::string run = basPublic.LogFolder;
  struct Case {
    const char* file;
    std::string backup;
  } cases[] = {
      {"C:\\Prog\\A.EXE", run + "C$\\Prog\\A.EXE"},
      {"\\\\SV\\x\\A.DAT", run + "$$SV\\x\\A.DAT"},
      {"D:\\A\\B.INI", run + "D$\\A\\B.INI"},
      {"D:\\ROOT.INI", run + "D$\\ROOT.INI"},
  };
  for (const Case& c : cases) EXPECT_EQ(BackupPathOf(c.file), c.backup) << c.file;
}

TEST_F(UpdateTest, TheFirstBackupOfARunIsKept) {
  FrmMain form;
  WriteFile("D:\\SUITE\\A.EXE", "version 1");
  ASSERT_TRUE(Fnc_FileBackup("D:\\SUITE\\A.EXE"));
  WriteFile("D:\\SUITE\\A.EXE", "version 2");
  MarkLog();
  ASSERT_TRUE(Fnc_FileBackup("D:\\SUITE\\A.EXE"));
  EXPECT_EQ(ReadFile(basPublic.LogFolder + "D$\\SUITE\\A.EXE"), "version 1");
  EXPECT_EQ(LogTexts(), (std::vector<std::string>{
                            "  バックアップ : D:\\SUITE\\A.EXE -> " + basPublic.LogFolder + "D$\\SUITE\\A.EXE",
                            "    既にバックアップ済みです。"}));
  EXPECT_EQ(form.lblBackup.caption, "");
}

TEST_F(UpdateTest, ABackupWhoseFolderCannotBeMadeFails) {
  WriteFile("D:\\SUITE\\A.EXE", "version 1");
  WriteFile(basPublic.LogFolder + "D$", "a file where the folder should be");
  MarkLog();
  EXPECT_FALSE(Fnc_FileBackup("D:\\SUITE\\A.EXE"));
  EXPECT_EQ(LogTexts(), std::vector<std::string>{"  バックアップ先フォルダの作成に失敗しました。 : " +
                                                 basPublic.LogFolder + "D$\\SUITE\\"});
}

}  // namespace
}  // namespace qz::update
