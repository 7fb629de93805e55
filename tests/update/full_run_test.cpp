#include <gtest/gtest.h>

#include "kit/ui_expect.h"
#include "platform/system/instance_lock.h"
#include "update/bas_public.h"
#include "update/frm_main.h"
#include "update/steps_fixture.h"
#include "update/update_main.h"

namespace qz::update {
namespace {

using testing::StepsTest;
using ui::MsgResult;

class FullRunTest : public StepsTest {
 protected:
  void SetUp() override {
    StepsTest::SetUp();
    system::SetInstanceCheckForTest([](std::string_view) { return false; });
  }
  void TearDown() override {
    TheMainForm().reset();
    system::SetInstanceCheckForTest(nullptr);
    StepsTest::TearDown();
  }
};

// One run of the program through every step, with the suite's programs
// standing in: the export, the copy of the release's files, the rebuild and
// re-import, a master import, an external edit and the closing message.
TEST_F(FullRunTest, EveryStepRunsInOrderAndLeavesTheInstallationUpdated) {
  MakeInstallation(
      "[Setting]\r\nVersionCheck=0\r\nRunCheck=0\r\nConvert_Max=0\r\nImport_Max=0\r\nQZPCNV_Max=0\r\n"
      "[Convert]\r\nExport=EXP.INI\r\nImport=EXP.INI\r\n"
      "[Copy_001]\r\nFrom=files\r\nTo=%VLMP%\r\n"
      "[Import]\r\nINI=EXP.INI\r\nA=data\\A.csv;2\r\n"
      "[External]\r\nPG=edit\r\nParam=%VLMF%\r\n"
      "[EndMessage]\r\nFile=end.txt\r\n");
  const char* definition = "[SysInfo]\r\nV=1\r\n[A]\r\nInFile=A.BTR\r\nOutFile=A.CSV\r\n";
  WriteFile("D:\\REL\\EXP.INI", definition);
  WriteFile("D:\\SUITE\\QZPCSV.INI", "installed definition");
  WriteFile("D:\\DATA\\A.BTR", "old A");
  WriteFile("D:\\REL\\files\\NEW.EXE", "new program");
  WriteFile("D:\\REL\\data\\A.csv", "master rows");
  WriteFile("D:\\REL\\end.txt", "お疲れ様でした。\r\n", true);
  WriteProgram("D:\\SUITE\\qzpcsv", "echo \"csv $1\" > \"${CSV}$1.CSV\"");
  WriteProgram("D:\\SUITE\\qzpcbr85");
  WriteProgram("D:\\SUITE\\qzpclr", "echo new > \"${DATA}$1.BTR\"");
  WriteProgram("D:\\SUITE\\qzpgencnv", "cat \"${CSV}A.CSV\" >> \"${DATA}A.BTR\"");
  WriteProgram("D:\\REL\\edit");
  shell_.AnswerBox(MsgResult::kOk, "お疲れ様でした。").AnswerBox(MsgResult::kOk, "バージョンアップ処理が終了しました。");

  EXPECT_FALSE(shell_.Drive([] { Main("D:\\SUITE"); }));
  EXPECT_SCRIPT_OK(shell_);
  EXPECT_EQ(Calls(), (std::vector<std::string>{"qzpcsv A", "qzpcbr85 ", "qzpclr A", "qzpgencnv A", "qzpgencnv A2",
                                               "edit " + Host("D:\\DATA") + "/"}));
  EXPECT_EQ(ReadFile("D:\\DATA\\A.BTR"), "new\ncsv A\nmaster rows");
  EXPECT_EQ(ReadFile("D:\\SUITE\\NEW.EXE"), "new program");
  EXPECT_EQ(ReadFile("D:\\SUITE\\QZPCSV.INI"), "installed definition");
  EXPECT_EQ(ReadFile("D:\\CSV\\A.CSV"), "csv A\n");
  EXPECT_TRUE(Logged("ロック状態の確認が正常終了しました。"));
  for (const char* done : {"※コンバート①処理が正常終了しました。", "※コピー処理が正常終了しました。",
                           "※コンバート②処理が正常終了しました。", "※インポート処理が正常終了しました。",
                           "※外部編集処理が正常終了しました。", "※終了メッセージ編集処理が正常終了しました。"}) {
    EXPECT_TRUE(Logged(done)) << done;
  }
  EXPECT_FALSE(Logged("※コンバート①処理が異常終了しました。"));
}

}  // namespace
}  // namespace qz::update
