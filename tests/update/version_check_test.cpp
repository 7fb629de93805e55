#include <gtest/gtest.h>

#include <filesystem>

#include "kit/ui_expect.h"
#include "update/bas_public.h"
#include "update/path_set.h"
#include "update/update_fixture.h"
#include "update/version_check.h"

namespace qz::update {
namespace {

using Lines = std::vector<std::string>;

// Release 3.2.0 for installed versions 3.0.0 to 3.2.0; installed 3.1.0.
class VersionTest : public testing::UpdateTest {
 protected:
  void SetUp() override {
    UpdateTest::SetUp();
    Install("[Setting]\r\nVersionFile=NEW\\Version.ini\r\nTargetMin=3.0.0\r\nTargetMax=3.2.0\r\n", "3.2.0", "3.1.0");
  }
  void Install(const std::string& update_ini, const std::string& release, const std::string& installed) {
    MakeInstallation(update_ini);
    WriteFile("D:\\REL\\NEW\\Version.ini", "[Version]\r\nNow=" + release + "\r\n");
    WriteFile("D:\\SUITE\\Version.ini", "[Version]\r\nNow=" + installed + "\r\n");
    ASSERT_TRUE(Fnc_PathEdit("D:\\SUITE"));
    MarkLog();
  }
  void Versions(const std::string& release, const std::string& installed) {
    WriteFile("D:\\REL\\NEW\\Version.ini", "[Version]\r\nNow=" + release + "\r\n");
    WriteFile("D:\\SUITE\\Version.ini", "[Version]\r\nNow=" + installed + "\r\n");
    ASSERT_TRUE(Fnc_GetVersion());
  }
};

TEST_F(VersionTest, BothVersionsAreReadFromTheirFiles) {
  ASSERT_TRUE(Fnc_GetVersion());
  EXPECT_TRUE(basPublic.VersionCheck);
  EXPECT_EQ(basPublic.NewVersion, "3.2.0");
  EXPECT_EQ(basPublic.CurrentVersion, "3.1.0");
  EXPECT_TRUE(Logged("バージョンアップの定義ファイル : D:\\REL\\NEW\\Version.ini"));
  EXPECT_TRUE(Logged("現在のバージョンの定義ファイル : D:\\SUITE\\Version.ini"));
  Lines log = LogTexts();
  EXPECT_EQ(Lines(log.end() - 2, log.end()), (Lines{"バージョンアップのバージョン : 3.2.0", "現在のバージョン : 3.1.0"}));
  ASSERT_TRUE(Fnc_VersionCheck());
  EXPECT_EQ(basPublic.NewVersionNum, 30000200000.0);
  EXPECT_EQ(basPublic.TargetMaxNum, 30000200000.0);
  EXPECT_EQ(LogTexts().back(), "  3.1.0 -> 3.2.0 に更新します。");
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(VersionTest, AMissingVersionIsRefusedWithItsFile) {
  struct Case {
    const char* release;    // nullptr: no file
    const char* installed;  // nullptr: no file
    std::string text, file;
  } cases[] = {
      {nullptr, "3.1.0", "バージョンアップのバージョン定義ファイルが見つかりません。", "D:\\REL\\NEW\\Version.ini"},
      {"", "3.1.0", "バージョンアップのバージョンが定義されていません。", "D:\\REL\\NEW\\Version.ini"},
      {"3.2.0", nullptr, "現在のバージョンの定義ファイルが見つかりません。", "D:\\SUITE\\Version.ini"},
      {"3.2.0", "", "現在のバージョンが定義されていません。", "D:\\SUITE\\Version.ini"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(Host("D:\\REL\\NEW\\Version.ini"));
    std::filesystem::remove(Host("D:\\SUITE\\Version.ini"));
    if (c.release) WriteFile("D:\\REL\\NEW\\Version.ini", std::string("[Version]\r\nNow=") + c.release + "\r\n");
    if (c.installed) WriteFile("D:\\SUITE\\Version.ini", std::string("[Version]\r\nNow=") + c.installed + "\r\n");
    shell_.ClearRecords();
    shell_.AnswerBox(ui::MsgResult::kOk);
    EXPECT_FALSE(Fnc_GetVersion()) << c.text;
    ASSERT_EQ(shell_.boxes().size(), 1u);
    EXPECT_EQ(shell_.boxes()[0].request.text, c.text + "\r\n\r\nパス : " + c.file);
    EXPECT_EQ(shell_.boxes()[0].request.icon, ui::MsgIcon::kCritical);
    EXPECT_EQ(LogTexts().back(), c.text + " : " + c.file);
  }
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(VersionTest, ReinstallAndDowngradeAreAskedWithNoAsTheDefault) {
  struct Case {
    const char* release;
    const char* installed;
    ui::MsgResult answer;
    std::string question;
    bool goes_on;
  } cases[] = {
      {"3.2.0", "3.2.0", ui::MsgResult::kYes, "既に同じバージョンです。\r\n\r\nバージョンアップの必要はありませんが、実行しますか？", true},
      {"3.2.0", "3.2.0", ui::MsgResult::kNo, "既に同じバージョンです。\r\n\r\nバージョンアップの必要はありませんが、実行しますか？", false},
      {"3.1.0", "3.2.0", ui::MsgResult::kNo,
       "このバージョンアップよりも、新しいバージョンがセットアップされています。\r\n\r\n"
       "バージョンダウンは不都合が発生する場合がありますが、実行しますか？",
       false},
      {"3.1.0", "3.2.0", ui::MsgResult::kYes,
       "このバージョンアップよりも、新しいバージョンがセットアップされています。\r\n\r\n"
       "バージョンダウンは不都合が発生する場合がありますが、実行しますか？",
       true},
  };
  for (const Case& c : cases) {
    Versions(c.release, c.installed);
    shell_.ClearRecords();
    shell_.AnswerBox(c.answer);
    if (!c.goes_on) shell_.AnswerBox(ui::MsgResult::kOk);
    MarkLog();
    EXPECT_EQ(Fnc_VersionCheck(), c.goes_on) << c.release << " " << c.installed;
    ASSERT_EQ(shell_.boxes().size(), c.goes_on ? 1u : 2u);
    const ui::MessageBoxRequest& q = shell_.boxes()[0].request;
    EXPECT_EQ(q.text, c.question);
    EXPECT_EQ(q.buttons, ui::MsgButtons::kYesNo);
    EXPECT_EQ(q.icon, ui::MsgIcon::kQuestion);
    EXPECT_EQ(q.default_button, 1);
    EXPECT_EQ(q.title, kTitle);
    if (!c.goes_on) {
      EXPECT_EQ(shell_.boxes()[1].request.text, "バージョンアップを中止します。");
      EXPECT_EQ(shell_.boxes()[1].request.icon, ui::MsgIcon::kCritical);
      EXPECT_EQ(LogTexts().back(), "「キャンセル」を選択されたため、バージョンアップ処理を終了します。");
    }
  }
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(VersionTest, AnInstalledVersionOutsideTheRangeIsRefused) {
  for (const char* installed : {"2.9.9", "3.2.1"}) {
    Versions("3.2.0", installed);
    shell_.ClearRecords();
    shell_.AnswerBox(ui::MsgResult::kOk);
    EXPECT_FALSE(Fnc_VersionCheck());
    ASSERT_EQ(shell_.boxes().size(), 1u);
    EXPECT_EQ(shell_.boxes()[0].request.text, std::string("バージョンアップの対象ではありません。\r\n\r\n現在のバージョン : ") +
                                                  installed + "\r\n対象のバージョン : 3.0.0 ～ 3.2.0");
    EXPECT_EQ(LogTexts().back(), "バージョンアップの対象ではありません。");
  }
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(VersionTest, WithoutVersionCheckNoVersionFileIsNeeded) {
  std::filesystem::remove(Host("D:\\REL\\NEW\\Version.ini"));
  std::filesystem::remove(Host("D:\\SUITE\\Version.ini"));
  WriteFile("D:\\REL\\Update.INI", "[Setting]\r\nVersionCheck=0\r\nTargetMin=bad\r\n");
  ASSERT_TRUE(Fnc_GetVersion());
  EXPECT_FALSE(basPublic.VersionCheck);
  ASSERT_TRUE(Fnc_VersionCheck());
  EXPECT_EQ(LogTexts().back(), "バージョンチェック不要のため無視します。");
  EXPECT_EQ(basPublic.CurrentVersion, "");
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(VersionTest, SettingsFlagsAndSectionCounts) {
  struct Case {
    const char* entries;
    bool master_local, lock_check, run_check;
    std::int32_t convert, import, qzpcnv;
  } cases[] = {
      {"", false, true, true, 100, 100, 100},
      {"Master_Local=1\r\nLockCheck=0\r\nRunCheck=yes\r\nConvert_Max=3\r\nImport_Max=abc\r\nQZPCNV_Max=-1\r\n", true, false,
       false, 3, 100, -1},
      {"LockCheck=1\r\nRunCheck=1\r\nConvert_Max=2.5\r\nImport_Max=3.5\r\nQZPCNV_Max=99999999999\r\n", false, true, true, 2, 4,
       100},
  };
  for (const Case& c : cases) {
    WriteFile("D:\\REL\\Update.INI", std::string("[Setting]\r\n") + c.entries);
    Sub_GetSetting();
    EXPECT_EQ(basPublic.MasterLocal, c.master_local) << c.entries;
    EXPECT_EQ(basPublic.LockCheck, c.lock_check) << c.entries;
    EXPECT_EQ(basPublic.RunCheck, c.run_check) << c.entries;
    EXPECT_EQ(basPublic.ConvertMax, c.convert) << c.entries;
    EXPECT_EQ(basPublic.ImportMax, c.import) << c.entries;
    EXPECT_EQ(basPublic.QzpcnvMax, c.qzpcnv) << c.entries;
  }
  EXPECT_EQ(LogTexts().back(), "数値項目初期化のセクション数 : 100");
}

TEST_F(VersionTest, MasterLocalIsIgnoredWhenBothFoldersAreOne) {
  WriteFile("D:\\REL\\Update.INI", "[Setting]\r\nMaster_Local=1\r\n");
  basPublic.MasterPath = "d:\\suite\\";
  MarkLog();
  Sub_GetSetting();
  EXPECT_FALSE(basPublic.MasterLocal);
  Lines log = LogTexts();
  EXPECT_EQ(Lines(log.begin(), log.begin() + 5),
            (Lines{"", "◆◇◆ 設定の取得開始 ◆◇◆", "", "ファイルのコピー処理で%VLMP_MASTER%を%VLMP%へコピー : True",
                   "  %VLMP_MASTER%と%VLMP%が同じため、設定を無視します。"}));
}

}  // namespace
}  // namespace qz::update
