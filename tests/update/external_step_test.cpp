#include <gtest/gtest.h>

#include <filesystem>

#include "data/ini_access.h"
#include "kit/ui_expect.h"
#include "update/bas_public.h"
#include "update/external_step.h"
#include "update/import_step.h"
#include "update/steps_fixture.h"

namespace qz::update {
namespace {

using testing::StepsTest;
using ui::MsgResult;

class ExternalStepTest : public StepsTest {};

TEST_F(ExternalStepTest, CurDirStandsForTheReleaseFolderWithOrWithoutABackslash) {
  for (const char* param : {"%CURDIR%\\setup.ini /s", "%CURDIR%setup.ini /s"}) {
    EXPECT_EQ(ResolveCurDir(param), "D:\\REL\\setup.ini /s") << param;
  }
}

TEST_F(ExternalStepTest, TheProgramRunsFromItsFolderWithItsParameters) {
  WriteUpdateIni(
      "[External_003]\r\nPG=tools\\edit\r\nComment=設定の編集\r\nParam=%CURDIR%\\a.ini %VLMF%x\r\n"
      "Backup050=%VLMP%QZP140.INI\r\n");
  WriteFile("D:\\SUITE\\QZP140.INI", "settings");
  WriteProgram("D:\\REL\\tools\\edit", "pwd >> \"${DATA}pwd.txt\"");

  ASSERT_TRUE(Fnc_External(0));  // absent: nothing logged
  EXPECT_FALSE(Logged("◆◇◆ 外部編集処理開始 ◆◇◆"));
  ASSERT_TRUE(Fnc_External(3));
  // The program gets paths it can open on this machine.
  const std::string parameters = Host("D:\\REL") + "/a.ini " + Host("D:\\DATA") + "/x";
  EXPECT_EQ(Calls(), std::vector<std::string>{"edit " + parameters});
  EXPECT_EQ(ReadFile("D:\\DATA\\pwd.txt"), Host("D:\\REL\\tools") + "\n");
  EXPECT_EQ(ReadFile(basPublic.LogFolder + "D$\\SUITE\\QZP140.INI"), "settings");
  EXPECT_TRUE(Logged("外部編集プログラムを呼び出します。 : D:\\REL\\tools\\edit " + parameters));
  EXPECT_EQ(LogFrom("◆◇◆ 外部編集処理開始 ◆◇◆", "セクション : External_003").back(), "セクション : External_003");
  EXPECT_TRUE(Logged("※外部編集処理が正常終了しました。"));
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(ExternalStepTest, ThePreparedSettingsCopyIsPassedWhenThereIsNoParam) {
  WriteUpdateIni(
      "[External]\r\nPG=edit\r\nSetting=conf\\edit.ini\r\n[External_001]\r\nPG=edit\r\n");
  WriteFile("D:\\REL\\conf\\edit.ini", "[Files]\r\nData=%VLMF%data\r\nSelf=%CURDIR%x.txt\r\n[Path]\r\nBase=old\r\n");
  WriteProgram("D:\\REL\\edit");
  // The suite's path file as a centre names it.
  WriteFile("D:\\SUITE\\QZPPATH.ini", "[FILE_PATH]\r\n");

  ASSERT_TRUE(Fnc_External(0));
  ASSERT_TRUE(Fnc_External(1));
  const std::string copy = basPublic.LogFolder + "External\\edit.ini";
  const std::string passed = Host(copy);
  EXPECT_EQ(Calls(), (std::vector<std::string>{"edit " + passed, "edit " + passed}));
  EXPECT_EQ(Fnc_GetIni("Files", "Data", "", copy), Host("D:\\DATA") + "/data");
  EXPECT_EQ(Fnc_GetIni("Files", "Self", "", copy), Host("D:\\REL") + "/x.txt");
  std::vector<std::string> keys, values;
  std::int16_t count = 0;
  Sub_GetSection(copy, "Path", keys, values, count);
  ASSERT_EQ(count, 8);
  EXPECT_EQ(keys, (std::vector<std::string>{"", "Base", "QZPPATH", "VLMP_MASTER", "VLMP", "VLMF", "CSV", "CPFSPEC", "Work"}));
  EXPECT_EQ(values, (std::vector<std::string>{"", Host("D:\\REL") + "/", Host("D:\\SUITE") + "/QZPPATH.ini",
                                              Host("M:\\MASTER") + "/", Host("D:\\SUITE") + "/", Host("D:\\DATA") + "/",
                                              Host("D:\\CSV") + "/", Host("D:\\SUITE") + "/CPFSPEC.INI",
                                              Host(basPublic.LogFolder + "External") + "/"}));
  EXPECT_EQ(ReadFile("D:\\REL\\conf\\edit.ini").find("D:\\"), std::string::npos);  // the original stays
}

TEST_F(ExternalStepTest, FailuresEndTheSectionAbnormally) {
  struct Case {
    const char* ini;
    const char* box;
  } cases[] = {
      {"[External]\r\nPG=missing\r\n", "「D:\\REL\\missing」が見つかりません。"},
      {"[External]\r\nPG=edit\r\nSetting=none.ini\r\n", "「D:\\REL\\none.ini」が見つかりません。"},
      {"[External]\r\nPG=edit\r\nBackup001=%VLMP%gone\\x.ini\r\n",
       "ファイルのバックアップに失敗しました。\r\n\r\nファイル : D:\\SUITE\\gone\\x.ini"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box);
    Fresh();
    shell_.ClearRecords();
    WriteUpdateIni(c.ini);
    WriteProgram("D:\\REL\\edit");
    shell_.AnswerBox(MsgResult::kOk, c.box);
    EXPECT_FALSE(Fnc_External(0));
    EXPECT_TRUE(Calls().empty());
    EXPECT_TRUE(Logged("※外部編集処理が異常終了しました。"));
    EXPECT_SCRIPT_OK(shell_);
  }
}

TEST_F(ExternalStepTest, AProgramThatCannotBeStartedIsAFailure) {
  WriteUpdateIni("[External]\r\nPG=edit\r\n");
  WriteFile("D:\\REL\\edit", "#!/nonexistent/interpreter\n");
  std::filesystem::permissions(Host("D:\\REL\\edit"), std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add);
  shell_.AnswerBox(MsgResult::kOk, "の実行に失敗しました。");
  EXPECT_FALSE(Fnc_External(0));
  EXPECT_TRUE(Logged("※外部編集処理が異常終了しました。"));
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(ExternalStepTest, ReadTextDropsTrailingLineBreaksOnly) {
  struct Case {
    const char* bytes;
    bool ok;
    const char* text;
  } cases[] = {
      {"\r\n終了しました。\r\n\r\n続けて下さい。\r\n\r\n\r\n", true, "\r\n終了しました。\r\n\r\n続けて下さい。"},
      {"a\n", true, "a\n"},
      {"  \r\n \r\n", false, ""},
      {"", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    WriteFile("D:\\REL\\msg.txt", c.bytes, true);
    std::string text = "before";
    EXPECT_EQ(Fnc_ReadText("D:\\REL\\msg.txt", text), c.ok);
    EXPECT_EQ(text, c.text);
  }
  std::string text;
  EXPECT_FALSE(Fnc_ReadText("D:\\REL\\none.txt", text));
  EXPECT_TRUE(Logged("「D:\\REL\\none.txt」が見つかりません。"));
}

TEST_F(ExternalStepTest, EndMessagesAreShownUnlessBlank) {
  WriteUpdateIni("[EndMessage]\r\nFile=D:\\REL\\end.txt\r\n[EndMessage_001]\r\nFile=D:\\REL\\blank.txt\r\n");
  WriteFile("D:\\REL\\end.txt", "再起動して下さい。\r\n\r\n", true);
  WriteFile("D:\\REL\\blank.txt", " \r\n");
  shell_.AnswerBox(MsgResult::kOk, "再起動して下さい。");

  ASSERT_TRUE(Fnc_EndMessage(0));
  EXPECT_FALSE(Fnc_EndMessage(1));
  EXPECT_TRUE(Fnc_EndMessage(2));  // absent
  ASSERT_EQ(shell_.boxes().size(), 1u);
  EXPECT_EQ(shell_.boxes()[0].request.text, "再起動して下さい。");
  EXPECT_EQ(shell_.boxes()[0].request.icon, ui::MsgIcon::kInformation);
  EXPECT_EQ(shell_.boxes()[0].request.title, kTitle);
  EXPECT_TRUE(Logged("※終了メッセージ編集処理が正常終了しました。"));
  EXPECT_TRUE(Logged("※終了メッセージ編集処理が異常終了しました。"));
  EXPECT_EQ(LogTexts().back(), "◆◇◆ 終了メッセージ編集処理終了 ◆◇◆");
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(ExternalStepTest, SectionsOutsideTheirVersionRangeAreDoneWithoutRunning) {
  basPublic.VersionCheck = true;
  basPublic.CurrentVersionNum = 10000200003;  // 1.2.3
  basPublic.TargetMin = "1.0.0";
  basPublic.TargetMax = "9.9.9";
  WriteUpdateIni(
      "[External]\r\nPG=edit\r\nTargetMax=1.2.2\r\n[EndMessage]\r\nFile=end.txt\r\nTargetMin=1.2.4\r\n"
      "[QZPCNV]\r\nFile=A\r\nTargetMin=2.0.0\r\n");
  WriteProgram("D:\\REL\\edit");
  WriteFile("D:\\REL\\end.txt", "message");
  EXPECT_TRUE(Fnc_External(0));
  EXPECT_TRUE(Fnc_EndMessage(0));
  EXPECT_TRUE(Fnc_NumInit(0));
  EXPECT_TRUE(Calls().empty());
  EXPECT_TRUE(shell_.boxes().empty());
  EXPECT_TRUE(Logged("※外部編集処理が正常終了しました。"));
  EXPECT_TRUE(Logged("※終了メッセージ編集処理が正常終了しました。"));
  EXPECT_TRUE(Logged("◆◇◆ 数値項目初期化処理終了 ◆◇◆"));
  EXPECT_SCRIPT_OK(shell_);
}

}  // namespace
}  // namespace qz::update
