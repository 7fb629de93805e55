#include <gtest/gtest.h>

#include <filesystem>

#include "kit/ui_expect.h"
#include "update/bas_public.h"
#include "update/copy_step.h"
#include "update/frm_main.h"
#include "update/run_journal.h"
#include "update/steps_fixture.h"

namespace qz::update {
namespace {

using testing::StepsTest;
using ui::MsgResult;
namespace fs = std::filesystem;

class CopyStepTest : public StepsTest {
 protected:
  void SetUp() override {
    StepsTest::SetUp();
    basCopy = BasCopy{};
  }
};

TEST_F(CopyStepTest, EverySectionUpToTheHundredthIsListedThenCopied) {
  WriteUpdateIni("[Copy_005]\r\nFrom=files\r\nTo=%VLMP%\\BIN\r\n");
  WriteFile("D:\\REL\\files\\a.txt", "new a");
  WriteFile("D:\\REL\\files\\sub\\b.txt", "new b");
  fs::create_directories(Host("D:\\REL\\files\\empty"));
  WriteFile("D:\\SUITE\\BIN\\a.txt", "old a");
  FrmMain form;

  ASSERT_TRUE(Fnc_CopyMain());
  ASSERT_EQ(basCopy.CopyList.size(), 5u);
  EXPECT_EQ(basCopy.CopyList[1].From, "D:\\REL\\files\\");
  EXPECT_EQ(basCopy.CopyList[1].To, "D:\\SUITE\\BIN\\");
  EXPECT_EQ(basCopy.CopyCount, 2);
  EXPECT_EQ(ReadFile("D:\\SUITE\\BIN\\a.txt"), "new a");
  EXPECT_EQ(ReadFile("D:\\SUITE\\BIN\\sub\\b.txt"), "new b");
  EXPECT_TRUE(fs::is_directory(Host("D:\\SUITE\\BIN\\empty")));
  EXPECT_EQ(ReadFile(basPublic.LogFolder + "D$\\SUITE\\BIN\\a.txt"), "old a");
  EXPECT_TRUE(Logged("フォルダ「D:\\SUITE\\BIN\\empty\\」を作成しました。"));
  EXPECT_EQ(LogFrom("セクション : Copy_005", "Mask : *.*"),
            (std::vector<std::string>{"セクション : Copy_005", "対象バージョンのチェック開始 : Copy_005",
                                      "  バージョンチェック不要のため無視します。", "From : files",
                                      "    -> D:\\REL\\files\\", "To   : %VLMP%\\BIN", "  -> : D:\\SUITE\\BIN\\",
                                      "OverWrite : 1", "Mask : *.*"}));
  EXPECT_TRUE(Logged("※コピー処理が正常終了しました。"));
  EXPECT_EQ(form.lblCopyCount.caption, "2");
  EXPECT_EQ(form.lblCount.caption, "( 4 / 4 )");
  EXPECT_TRUE(form.lblCopyCount.visible);
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(CopyStepTest, TheOverwriteModeDecidesWhetherAnExistingFileIsReplaced) {
  struct Case {
    const char* mode;
    int destination_age;  // seconds after the source was written
    bool copied;
    const char* log;
  } cases[] = {
      {"2", 1, false, "  コピー先の方が新しいです。"},
      {"2", -1, true, "  コピーが正常終了しました。"},
      {"3", -1, false, "  コピー先に存在するため、スキップします。"},
      {"x", 1, true, "  コピーが正常終了しました。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.mode) + " " + std::to_string(c.destination_age));
    Fresh();
    WriteUpdateIni(std::string("[Copy_001]\r\nFrom=files\r\nTo=%VLMP%\r\nOverWrite=") + c.mode + "\r\n");
    WriteFile("D:\\REL\\files\\a.ini", "new");
    WriteFile("D:\\SUITE\\a.ini", "old");
    SetWriteTime("D:\\REL\\files\\a.ini", 0);
    SetWriteTime("D:\\SUITE\\a.ini", c.destination_age);
    ASSERT_TRUE(Fnc_CopyMain());
    EXPECT_EQ(ReadFile("D:\\SUITE\\a.ini"), c.copied ? "new" : "old");
    EXPECT_EQ(basCopy.CopyCount, c.copied ? 1 : 0);
    EXPECT_TRUE(Logged(c.log));
  }
}

TEST_F(CopyStepTest, MasterLocalCopiesWhatGoesToTheMasterToTheProgramsToo) {
  struct Case {
    const char* to;
    std::vector<const char*> destinations;
  } cases[] = {
      {"%VLMP_MASTER%BIN", {"M:\\MASTER\\BIN\\", "D:\\SUITE\\BIN\\"}},
      {"%VLMP%BIN", {"D:\\SUITE\\BIN\\"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.to);
    Fresh();
    basPublic.MasterLocal = true;
    WriteUpdateIni(std::string("[Copy_001]\r\nFrom=files\r\nTo=") + c.to + "\r\n");
    WriteFile("D:\\REL\\files\\a.exe", "aa");
    WriteFile("D:\\REL\\files\\b.exe", "bb");
    ASSERT_TRUE(Fnc_CopyMain());
    ASSERT_EQ(basCopy.CopyList.size(), 1 + 2 * c.destinations.size());
    for (std::size_t d = 0; d < c.destinations.size(); ++d) {
      EXPECT_EQ(basCopy.CopyList[1 + 2 * d].To, c.destinations[d]);
      EXPECT_EQ(basCopy.CopyList[2 + 2 * d].File, "b.exe");
      EXPECT_EQ(ReadFile(std::string(c.destinations[d]) + "a.exe"), "aa");
    }
  }
}

TEST_F(CopyStepTest, ASectionOutsideItsVersionRangeAddsNothing) {
  basPublic.VersionCheck = true;
  basPublic.CurrentVersionNum = 10000200003;  // 1.2.3
  basPublic.TargetMin = "1.0.0";
  basPublic.TargetMax = "9.0.0";
  WriteUpdateIni("[Copy_001]\r\nFrom=files\r\nTo=%VLMP%\r\nTargetMin=2.0.0\r\n[Copy_002]\r\nFrom=more\r\nTo=%VLMP%\r\n");
  WriteFile("D:\\REL\\files\\a.exe", "aa");
  WriteFile("D:\\REL\\more\\b.exe", "bb");
  ASSERT_TRUE(Fnc_CopyMain());
  ASSERT_EQ(basCopy.CopyList.size(), 2u);
  EXPECT_EQ(basCopy.CopyList[1].File, "b.exe");
  EXPECT_FALSE(Exists("D:\\SUITE\\a.exe"));
}

TEST_F(CopyStepTest, AFailedCopyAsksWhetherToGoOn) {
  for (MsgResult answer : {MsgResult::kYes, MsgResult::kNo}) {
    SCOPED_TRACE(static_cast<int>(answer));
    Fresh();
    shell_.ClearRecords();
    WriteUpdateIni("[Copy_001]\r\nFrom=files\r\nTo=%VLMP%\r\n");
    WriteFile("D:\\REL\\files\\a.exe", "x");  // one byte: counts as missing
    WriteFile("D:\\REL\\files\\b.exe", "bb");
    shell_.AnswerBox(answer, "「a.exe」のコピーに失敗しました。\r\n\r\n続行しますか？");

    EXPECT_EQ(Fnc_CopyMain(), answer == MsgResult::kYes);
    ASSERT_EQ(shell_.boxes().size(), 1u);
    EXPECT_EQ(shell_.boxes()[0].request.buttons, ui::MsgButtons::kYesNo);
    EXPECT_EQ(shell_.boxes()[0].request.icon, ui::MsgIcon::kCritical);
    EXPECT_EQ(shell_.boxes()[0].request.default_button, 1);
    EXPECT_EQ(Exists("D:\\SUITE\\b.exe"), answer == MsgResult::kYes);
    EXPECT_EQ(Logged("※コピー処理が正常終了しました。"), answer == MsgResult::kYes);
    EXPECT_EQ(Logged("コピーエラーで続行キャンセルを選択されたため、終了します。"), answer == MsgResult::kNo);
    EXPECT_TRUE(Logged("◆◇◆ コピー処理終了 ◆◇◆"));
    EXPECT_SCRIPT_OK(shell_);
  }
}

// The folder made for a copy that then fails is the run's too: a failed run
// takes it away again.
TEST_F(CopyStepTest, TheFolderOfAFailedCopyGoesWithTheRollBack) {
  ClearRunJournal();
  WriteUpdateIni("[Copy_001]\r\nFrom=files\r\nTo=%VLMP%NEWBIN\\DEEP\r\n");
  WriteFile("D:\\REL\\files\\a.exe", "x");  // one byte: counts as missing
  shell_.AnswerBox(MsgResult::kNo, "「a.exe」のコピーに失敗しました。");

  EXPECT_FALSE(Fnc_CopyMain());
  ASSERT_TRUE(fs::is_directory(Host("D:\\SUITE\\NEWBIN\\DEEP")));
  EXPECT_TRUE(Fnc_RollBack());
  EXPECT_FALSE(Exists("D:\\SUITE\\NEWBIN"));
  EXPECT_SCRIPT_OK(shell_);
}

// Which engine holds each folder is the centre's choice: the release's
// definitions file takes the installation's [STORAGE] entries, over its own
// for the same folder however spelt; a rollback puts the old file back.
TEST_F(CopyStepTest, ANewDefinitionsFileKeepsTheCentresStorageEntries) {
  ClearRunJournal();
  WriteUpdateIni("[Copy_001]\r\nFrom=files\r\nTo=%VLMP%\r\n");
  const std::string installed =
      "[FILES]\r\nA.BTR=10\r\n[STORAGE]\r\nD:\\DATA=POSTGRESQL host=db schema=data\r\nD:\\WORK\\=SQLITE\r\n";
  WriteFile("D:\\SUITE\\CPFSPEC.INI", installed);
  WriteFile("D:\\REL\\files\\CPFSPEC.INI", "[FILES]\r\nA.BTR=20\r\n[STORAGE]\r\nd:\\work=POSTGRESQL host=x schema=w\r\n");

  ASSERT_TRUE(Fnc_CopyMain());
  EXPECT_EQ(ReadFile("D:\\SUITE\\CPFSPEC.INI"),
            "[FILES]\r\nA.BTR=20\r\n[STORAGE]\r\nd:\\work=SQLITE\r\nD:\\DATA=POSTGRESQL host=db schema=data\r\n");
  EXPECT_TRUE(Logged("  保存先の設定を引き継ぎました。 : D:\\DATA"));
  EXPECT_TRUE(Fnc_RollBack());
  EXPECT_EQ(ReadFile("D:\\SUITE\\CPFSPEC.INI"), installed);
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(CopyStepTest, AReleaseOnTheNetworkIsRefused) {
  basPublic.RootPath = "\\\\SV\\REL\\";
  shell_.AnswerBox(MsgResult::kOk, "「\\\\SV\\REL\\」に移動できません。");
  EXPECT_FALSE(Fnc_CopyMain());
  EXPECT_TRUE(Logged("  ネットワークパスは無効です。"));
  EXPECT_SCRIPT_OK(shell_);
}

}  // namespace
}  // namespace qz::update
