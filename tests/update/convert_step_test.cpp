#include <gtest/gtest.h>

#include <filesystem>

#include "kit/ui_expect.h"
#include "update/bas_public.h"
#include "update/convert_step.h"
#include "update/step_support.h"
#include "update/steps_fixture.h"

namespace qz::update {
namespace {

using testing::StepsTest;
using ui::MsgResult;

constexpr const char* kDefinition =
    "[SysInfo]\r\nVersion=1\r\n[A]\r\nInFile=A.BTR\r\nOutFile=A.CSV\r\n[B]\r\nInFile=B.BTR\r\nOutFile=B.CSV\r\n";

// Stand-ins that behave as the suite's programs: the export writes one CSV
// per listed ID, the clear program recreates each listed file, the converter
// appends to the file of its ID.
constexpr const char* kExport = "for id in $(echo \"$1\" | tr , ' '); do echo \"csv $id\" > \"$CSV$id.CSV\"; done";
constexpr const char* kClear = "for id in $(echo \"$1\" | tr , ' '); do echo \"new $id\" > \"$DATA$id.BTR\"; done";
constexpr const char* kConvert = "echo imported >> \"$DATA$1.BTR\"";

class ConvertStepTest : public StepsTest {
 protected:
  void SetUp() override {
    StepsTest::SetUp();
    WriteUpdateIni("[Convert]\r\nExport=EXP.INI\r\nImport=IMP.INI\r\n[Convert_001]\r\nImport=IMP.INI\r\n");
    WriteFile("D:\\REL\\EXP.INI", kDefinition);
    WriteFile("D:\\REL\\IMP.INI", kDefinition);
    WriteFile("D:\\SUITE\\QZPCSV.INI", "installed definition");
    WriteFile("D:\\DATA\\A.BTR", "old A");
    WriteFile("D:\\DATA\\B.BTR", "old B");
  }
  void WriteAllPrograms() {
    WriteProgram("D:\\SUITE\\qzpcsv", kExport);
    WriteProgram("D:\\SUITE\\QZPCBR85.EXE");
    WriteProgram("D:\\SUITE\\qzpclr.exe", kClear);
    WriteProgram("D:\\SUITE\\QzpGenCnv", kConvert);
  }
};

TEST_F(ConvertStepTest, ExportRebuildAndImportCarryEveryFileAcross) {
  WriteAllPrograms();
  WriteFile("D:\\CSV\\A.CSV", "csv of an earlier run");

  ASSERT_TRUE(Fnc_Convert1("Convert"));
  ASSERT_EQ(basPublic.RenameBackList.size(), 3u);
  const RenameBackEntry& a = basPublic.RenameBackList[1];
  EXPECT_EQ(a.FileId, "A");
  EXPECT_EQ(a.BtrName, "D:\\DATA\\A.BTR");
  EXPECT_EQ(a.OwnName, "D:\\CSV\\A.CSV");
  EXPECT_EQ(a.MovedName, "D:\\CSV\\A.CSV.Convert_20261209142233");
  EXPECT_EQ(basPublic.RenameBackList[2].MovedName, "");
  EXPECT_EQ(ReadFile(a.MovedName), "csv of an earlier run");
  EXPECT_EQ(ReadFile("D:\\CSV\\A.CSV"), "csv A\n");
  EXPECT_EQ(ReadFile("D:\\SUITE\\QZPCSV.INI"), "installed definition");
  EXPECT_EQ(ReadFile(basPublic.LogFolder + "D$\\DATA\\B.BTR"), "old B");
  EXPECT_TRUE(Logged("CSV作成処理を呼び出します。 : QZPCSV.EXE A,B"));
  EXPECT_TRUE(Logged("※コンバート①処理が正常終了しました。"));

  ASSERT_TRUE(Fnc_Convert2("Convert"));
  EXPECT_EQ(Calls(), (std::vector<std::string>{"qzpcsv A,B", "QZPCBR85.EXE ", "qzpclr.exe A,B", "QzpGenCnv A",
                                               "QzpGenCnv B"}));
  EXPECT_EQ(ReadFile("D:\\DATA\\A.BTR"), "new A\nimported\n");
  EXPECT_EQ(ReadFile("D:\\DATA\\B.BTR"), "new B\nimported\n");
  EXPECT_EQ(ReadFile("D:\\SUITE\\QZPCSV.INI"), "installed definition");
  EXPECT_EQ(LogFrom("◆ マスタクリア開始 ◆", "マスタが正常に作成されました。").back(), "マスタが正常に作成されました。");
  EXPECT_TRUE(Logged("※コンバート②処理が正常終了しました。"));
  EXPECT_TRUE(shell_.boxes().empty());
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(ConvertStepTest, ASectionWithoutExportConvertsNothing) {
  WriteAllPrograms();
  ASSERT_TRUE(Fnc_Convert1("Convert_001"));
  EXPECT_TRUE(Logged("変換用のQZPCSV.INIが指定されていません。"));
  EXPECT_FALSE(Logged("※コンバート①処理が正常終了しました。"));
  ASSERT_TRUE(Fnc_Convert2("Convert_001"));
  EXPECT_TRUE(Logged("コンバート①が行われていません。"));
  EXPECT_TRUE(Calls().empty());
  EXPECT_EQ(ReadFile("D:\\DATA\\A.BTR"), "old A");
  EXPECT_EQ(ReadFile("D:\\SUITE\\QZPCSV.INI"), "installed definition");
}

TEST_F(ConvertStepTest, TheFirstFailedCheckStopsThePhaseWithAPartEntry) {
  WriteAllPrograms();
  WriteFile("D:\\REL\\EXP.INI", std::string(kDefinition) + "[C]\r\nInFile=C.BTR\r\nOutFile=C.CSV\r\n");
  WriteFile("D:\\DATA\\B.BTR", "");  // files of fewer than 2 bytes count as missing
  shell_.AnswerBox(MsgResult::kOk, "Btrieveファイルが見つかりません。\r\n\r\nファイル : D:\\DATA\\B.BTR");

  EXPECT_FALSE(Fnc_Convert1("Convert"));
  ASSERT_EQ(basPublic.RenameBackList.size(), 3u);
  EXPECT_EQ(basPublic.RenameBackList[1].OwnName, "D:\\CSV\\A.CSV");
  EXPECT_EQ(basPublic.RenameBackList[2].BtrName, "D:\\DATA\\B.BTR");
  EXPECT_EQ(basPublic.RenameBackList[2].OwnName, "");
  EXPECT_TRUE(Logged("Btrieveファイルが見つかりません。 : D:\\DATA\\B.BTR"));
  EXPECT_TRUE(Logged("※コンバート①処理が異常終了しました。"));
  EXPECT_TRUE(Calls().empty());
  EXPECT_EQ(ReadFile("D:\\SUITE\\QZPCSV.INI"), "installed definition");
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(ConvertStepTest, AnExportThatLeavesNoCsvFails) {
  struct Case {
    const char* export_body;  // nullptr: no export program
    const char* box;
  } cases[] = {
      {nullptr, "CSV作成プログラムが見つかりません。\r\n\r\nプログラム : QZPCSV.EXE"},
      {"echo x > \"${CSV}A.CSV\"", "CSVファイルの作成に失敗しました。\r\n\r\nファイルID : B"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box);
    Fresh();
    if (c.export_body != nullptr) WriteProgram("D:\\SUITE\\qzpcsv", c.export_body);
    shell_.ClearRecords();
    shell_.AnswerBox(MsgResult::kOk, c.box);
    EXPECT_FALSE(Fnc_Convert1("Convert"));
    EXPECT_TRUE(Logged("※コンバート①処理が異常終了しました。"));
    EXPECT_EQ(ReadFile("D:\\SUITE\\QZPCSV.INI"), "installed definition");
    EXPECT_SCRIPT_OK(shell_);
  }
}

TEST_F(ConvertStepTest, AFailedRebuildPutsTheDataBackFromTheBackups) {
  struct Case {
    const char* name;
    const char* clear_body;      // nullptr: no clear program
    const char* convert_body;    // nullptr: no converter, "": one that cannot start
    std::vector<const char*> boxes;
  } cases[] = {
      {"clear program missing", nullptr, kConvert,
       {"マスタクリアプログラムが見つかりません。\r\n\r\nプログラム : QZPCLR.EXE"}},
      {"a file not recreated", "echo new > \"${DATA}A.BTR\"", kConvert,
       {"マスタクリアに失敗しました。\r\n\r\nファイル : B"}},
      {"converter missing", kClear, nullptr,
       {"汎用コンバートプログラムが見つかりません。\r\n\r\nプログラム : QZPGENCNV.EXE", "「A」のインポートに失敗しました。"}},
      {"converter cannot start", kClear, "", {"の実行に失敗しました。", "「A」のインポートに失敗しました。"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    WriteProgram("D:\\SUITE\\qzpcsv", kExport);
    WriteProgram("D:\\SUITE\\qzpcbr85");
    if (c.clear_body != nullptr) WriteProgram("D:\\SUITE\\qzpclr", c.clear_body);
    if (c.convert_body != nullptr && *c.convert_body != '\0') WriteProgram("D:\\SUITE\\qzpgencnv", c.convert_body);
    if (c.convert_body != nullptr && *c.convert_body == '\0') {
      WriteFile("D:\\SUITE\\qzpgencnv", "#!/nonexistent/interpreter\n");
      std::filesystem::permissions(Host("D:\\SUITE\\qzpgencnv"), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add);
    }
    ASSERT_TRUE(Fnc_Convert1("Convert"));
    shell_.ClearRecords();
    for (const char* b : c.boxes) shell_.AnswerBox(MsgResult::kOk, b);

    EXPECT_FALSE(Fnc_Convert2("Convert"));
    EXPECT_EQ(ReadFile("D:\\DATA\\A.BTR"), "old A");
    EXPECT_EQ(ReadFile("D:\\DATA\\B.BTR"), "old B");
    EXPECT_EQ(ReadFile("D:\\SUITE\\QZPCSV.INI"), "installed definition");
    EXPECT_TRUE(Logged("※コンバート②処理が異常終了しました。"));
    EXPECT_EQ(shell_.boxes().size(), c.boxes.size());
    EXPECT_SCRIPT_OK(shell_);
  }
}

TEST(FileNameOfDefinitionTest, OnlyNamesInsideTheirFolderAreTaken) {
  struct Case {
    const char* name;
    bool inside;
  } cases[] = {
      {"A.BTR", true},          {"sub\\A.BTR", true},     {"a..b.csv", true},
      {"", false},              {"..\\SUITE\\x", false}, {"sub\\..\\..\\x", false},
      {"D:\\SUITE\\x", false}, {"\\x", false},         {"/etc/x", false},
      {"sub/../../x", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsNameInsideFolder(c.name), c.inside) << c.name;
}

TEST_F(ConvertStepTest, ADefinitionNamingAFileOutsideItsFolderIsRefused) {
  WriteAllPrograms();
  WriteFile("D:\\REL\\EXP.INI", "[A]\r\nInFile=..\\SUITE\\QZPCSV.INI\r\nOutFile=A.CSV\r\n");
  shell_.AnswerBox(MsgResult::kOk, "Btrieveファイル名が不正です。\r\n\r\nファイルID : A");
  EXPECT_FALSE(Fnc_Convert1("Convert"));
  EXPECT_EQ(ReadFile("D:\\SUITE\\QZPCSV.INI"), "installed definition");
  EXPECT_TRUE(Calls().empty());
  EXPECT_SCRIPT_OK(shell_);
}

}  // namespace
}  // namespace qz::update
