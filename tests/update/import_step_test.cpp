#include <gtest/gtest.h>

#include <filesystem>

#include "kit/ui_expect.h"
#include "update/bas_public.h"
#include "update/import_step.h"
#include "update/run_log.h"
#include "update/steps_fixture.h"

namespace qz::update {
namespace {

using testing::StepsTest;
using ui::MsgResult;

constexpr const char* kDefinition = "[A]\r\nInFile=A.BTR\r\nOutFile=A.CSV\r\n[B]\r\nInFile=B.BTR\r\nOutFile=B.CSV\r\n";

class ImportStepTest : public StepsTest {
 protected:
  void SetUp() override {
    StepsTest::SetUp();
    WriteFile("D:\\REL\\IMP.INI", kDefinition);
    WriteFile("D:\\SUITE\\QZPCSV.INI", kDefinition);
    WriteFile("D:\\DATA\\A.BTR", "old A");
    WriteFile("D:\\DATA\\B.BTR", "old B");
    WriteFile("D:\\REL\\data\\A.csv", "rows of A");
    WriteFile("D:\\REL\\data\\B.csv", "rows of B");
    // The converter records the CSV it was given, as it reads it.
    WriteProgram("D:\\SUITE\\qzpgencnv", "id=$(echo \"$1\" | cut -c1); cat \"$CSV$id.CSV\" >> \"$DATA$id.BTR\"");
  }
};

TEST_F(ImportStepTest, EachFileKeyIsImportedWithItsMode) {
  WriteUpdateIni(
      "[Import_002]\r\nINI=IMP.INI\r\nTargetMin=\r\nA=data\\A.csv;1;ignored\r\nB=data\\B.csv\r\n");
  WriteFile("D:\\CSV\\A.CSV", "csv already there");

  ASSERT_TRUE(Fnc_ImportSection(1));  // absent: done, nothing run
  EXPECT_TRUE(Calls().empty());
  ASSERT_TRUE(Fnc_ImportSection(2));
  EXPECT_EQ(Calls(), (std::vector<std::string>{"qzpgencnv A1", "qzpgencnv B"}));
  EXPECT_EQ(ReadFile("D:\\DATA\\A.BTR"), "old Arows of A");
  EXPECT_EQ(ReadFile(basPublic.LogFolder + "D$\\DATA\\A.BTR"), "old A");
  EXPECT_EQ(ReadFile("D:\\CSV\\A.CSV"), "csv already there");
  EXPECT_FALSE(Exists("D:\\CSV\\B.CSV"));
  EXPECT_FALSE(Exists("D:\\CSV\\A.CSV.Import_20261209142233"));
  EXPECT_EQ(ReadFile("D:\\SUITE\\QZPCSV.INI"), kDefinition);
  EXPECT_TRUE(Logged("インポート元CSVファイルのパス : data\\A.csv"));
  EXPECT_TRUE(Logged("モード : 1"));
  EXPECT_TRUE(Logged("インポートコピー元 : D:\\REL\\data\\A.csv"));
  EXPECT_TRUE(Logged("インポート処理を呼び出します。 : QZPGENCNV.EXE A1"));
  EXPECT_TRUE(Logged("コピーしたCSVファイルを削除しました。 : D:\\CSV\\B.CSV"));
  EXPECT_EQ(LogTexts().back(), "◆◇◆ インポート処理終了 ◆◇◆");
  EXPECT_TRUE(Logged("※インポート処理が正常終了しました。"));
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(ImportStepTest, ASectionOutsideItsRangeReadsNoKeys) {
  basPublic.VersionCheck = true;
  basPublic.CurrentVersionNum = 10000200003;
  basPublic.TargetMin = "1.0.0";
  basPublic.TargetMax = "1.0.0";
  WriteUpdateIni("[Import]\r\nINI=IMP.INI\r\nA=data\\A.csv\r\n");
  ASSERT_TRUE(Fnc_ImportSection(0));
  EXPECT_TRUE(Calls().empty());
  EXPECT_FALSE(Logged("◆ 処理対象ファイルの取得 ◆"));
  EXPECT_TRUE(Logged("※インポート処理が正常終了しました。"));
}

TEST_F(ImportStepTest, AFailedImportAsksWhetherToGoOn) {
  for (MsgResult answer : {MsgResult::kYes, MsgResult::kNo}) {
    SCOPED_TRACE(static_cast<int>(answer));
    Fresh();
    shell_.ClearRecords();
    WriteUpdateIni("[Import]\r\nINI=IMP.INI\r\nX=data\\X.csv\r\nB=data\\B.csv\r\n");
    shell_.AnswerBox(MsgResult::kOk, "CSVファイル名が定義されていません。\r\n\r\nファイルID : X")
        .AnswerBox(answer, "「X」のインポートに失敗しました。\r\n\r\n続行しますか？");
    EXPECT_EQ(Fnc_ImportSection(0), answer == MsgResult::kYes);
    EXPECT_EQ(Calls().size(), answer == MsgResult::kYes ? 1u : 0u);
    EXPECT_EQ(Logged("インポートエラーで続行キャンセルを選択されたため、終了します。"), answer == MsgResult::kNo);
    EXPECT_EQ(ReadFile("D:\\SUITE\\QZPCSV.INI"), kDefinition);
    EXPECT_SCRIPT_OK(shell_);
  }
}

// A converter that writes part of the file and then fails: the file is put
// back as it was before the import before the operator is asked, so going
// on keeps the file whole, and so does stopping.
TEST_F(ImportStepTest, AConverterThatFailsAfterWritingIsUndoneBeforeTheQuestion) {
  for (MsgResult answer : {MsgResult::kYes, MsgResult::kNo}) {
    SCOPED_TRACE(static_cast<int>(answer));
    Fresh();
    shell_.ClearRecords();
    WriteUpdateIni("[Import]\r\nINI=IMP.INI\r\nA=data\\A.csv\r\nB=data\\B.csv\r\n");
    // A was changed earlier in the run: the import starts from that.
    ASSERT_TRUE(Fnc_FileBackup("D:\\DATA\\A.BTR"));
    WriteFile("D:\\DATA\\A.BTR", "converted A");
    WriteProgram("D:\\SUITE\\qzpgencnv",
                 "id=$(echo \"$1\" | cut -c1); cat \"$CSV$id.CSV\" >> \"$DATA$id.BTR\"; [ \"$id\" = A ] && exit 3; exit 0");
    std::string in_the_box;
    shell_.on_box = [&](const ui::MessageBoxRequest&) { in_the_box = ReadFile("D:\\DATA\\A.BTR"); };
    shell_.AnswerBox(answer, "「A」のインポートに失敗しました。\r\n\r\n続行しますか？");

    EXPECT_EQ(Fnc_ImportSection(0), answer == MsgResult::kYes);

    shell_.on_box = nullptr;
    EXPECT_EQ(in_the_box, "converted A");
    EXPECT_EQ(ReadFile("D:\\DATA\\A.BTR"), "converted A");
    EXPECT_EQ(ReadFile("D:\\DATA\\B.BTR"), answer == MsgResult::kYes ? "old Brows of B" : "old B");
    EXPECT_TRUE(Logged("  インポート前の状態に戻しました。 : D:\\DATA\\A.BTR"));
    EXPECT_EQ(Logged("インポートエラーで続行を選択されたため、インポート前の状態で続行します。 : A"),
              answer == MsgResult::kYes);
    EXPECT_FALSE(Exists("D:\\CSV\\A.CSV"));
    EXPECT_EQ(ReadFile("D:\\SUITE\\QZPCSV.INI"), kDefinition);
    EXPECT_SCRIPT_OK(shell_);
  }
}

// The record file cannot be copied aside before its import (a full disk,
// here a folder where the copy goes): the converter never runs, the file is
// as it was, and the operator is asked as for any failed import.
TEST_F(ImportStepTest, AFileThatCannotBeCopiedAsideIsNotImported) {
  WriteUpdateIni("[Import]\r\nINI=IMP.INI\r\nA=data\\A.csv\r\n");
  WriteProgram("D:\\SUITE\\qzpgencnv", "echo ran > \"$DATA\"ran");
  std::filesystem::create_directories(Host(basPublic.LogFolder + "Import\\A.BTR"));
  shell_.AnswerBox(MsgResult::kNo, "「A」のインポートに失敗しました。\r\n\r\n続行しますか？");

  EXPECT_FALSE(Fnc_ImportSection(0));

  EXPECT_EQ(ReadFile("D:\\DATA\\A.BTR"), "old A");
  EXPECT_FALSE(Exists("D:\\DATA\\ran"));
  EXPECT_FALSE(Exists("D:\\CSV\\A.CSV"));
  EXPECT_TRUE(Logged("  エラーが発生しました。"));
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(ImportStepTest, AFailedCopyPutsTheEarlierCsvBack) {
  WriteUpdateIni("[Import]\r\nINI=IMP.INI\r\nA=data\\missing.csv\r\n");
  WriteFile("D:\\CSV\\A.CSV", "csv already there");
  shell_.AnswerBox(MsgResult::kNo, "「A」のインポートに失敗しました。");
  EXPECT_FALSE(Fnc_ImportSection(0));
  EXPECT_EQ(ReadFile("D:\\CSV\\A.CSV"), "csv already there");
  EXPECT_TRUE(Calls().empty());
  EXPECT_TRUE(Logged("※インポート処理が異常終了しました。"));
  EXPECT_SCRIPT_OK(shell_);
}

// Without its converter the import fails and the CSV it copied goes again.
TEST_F(ImportStepTest, AMissingConverterLeavesNoCopiedCsv) {
  WriteUpdateIni("[Import]\r\nINI=IMP.INI\r\nB=data\\B.csv\r\n");
  std::filesystem::remove(Host("D:\\SUITE\\qzpgencnv"));
  shell_.AnswerBox(MsgResult::kOk, "汎用コンバートプログラムが見つかりません。")
      .AnswerBox(MsgResult::kNo, "「B」のインポートに失敗しました。");
  EXPECT_FALSE(Fnc_ImportSection(0));
  EXPECT_FALSE(Exists("D:\\CSV\\B.CSV"));
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(ImportStepTest, NumericInitialisationChecksEveryFileThenRunsOnce) {
  WriteUpdateIni("[QZPCNV]\r\nINI=IMP.INI\r\n[QZPCNV_001]\r\nINI=IMP.INI\r\nFile=A,B\r\n");
  WriteFile("D:\\SUITE\\QZPCSV.INI", "[A]\r\nInFile=A.BTR\r\n[B]\r\nInFile=B.BTR\r\n");
  WriteProgram("D:\\SUITE\\QZPCNV", "cat \"$(dirname \"$0\")/QZPCSV.INI\" > \"${DATA}seen.txt\"");

  ASSERT_TRUE(Fnc_NumInit(0));
  EXPECT_TRUE(Logged("処理対象ファイルが指定されていません。"));
  EXPECT_TRUE(Calls().empty());

  ASSERT_TRUE(Fnc_NumInit(1));
  EXPECT_EQ(Calls(), std::vector<std::string>{"QZPCNV A,B"});
  EXPECT_EQ(ReadFile("D:\\DATA\\seen.txt"), kDefinition);  // the swapped-in definition
  EXPECT_EQ(ReadFile("D:\\SUITE\\QZPCSV.INI"), "[A]\r\nInFile=A.BTR\r\n[B]\r\nInFile=B.BTR\r\n");
  EXPECT_EQ(ReadFile(basPublic.LogFolder + "D$\\DATA\\B.BTR"), "old B");
  EXPECT_TRUE(Logged("数値項目初期化処理を呼び出します。 : QZPCNV.EXE A,B"));
  EXPECT_TRUE(Logged("※数値項目初期化処理が正常終了しました。"));
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(ImportStepTest, NumericInitialisationFailures) {
  struct Case {
    const char* file;
    bool program;
    const char* box;
  } cases[] = {
      {"A,C", true, "Btrieveファイル名が定義されていません。\r\n\r\nファイルID : C"},
      {"A", false, "数値項目初期化プログラムが見つかりません。\r\n\r\nプログラム : QZPCNV.EXE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box);
    Fresh();
    shell_.ClearRecords();
    WriteUpdateIni(std::string("[QZPCNV]\r\nINI=IMP.INI\r\nFile=") + c.file + "\r\n");
    if (c.program) WriteProgram("D:\\SUITE\\qzpcnv");
    shell_.AnswerBox(MsgResult::kOk, c.box);
    EXPECT_FALSE(Fnc_NumInit(0));
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(ReadFile("D:\\SUITE\\QZPCSV.INI"), kDefinition);
    EXPECT_TRUE(Logged("※数値項目初期化処理が異常終了しました。"));
    EXPECT_SCRIPT_OK(shell_);
  }
}

}  // namespace
}  // namespace qz::update
