#include <gtest/gtest.h>

#include <filesystem>

#include "kit/ui_expect.h"
#include "update/bas_public.h"
#include "update/ini_routines.h"
#include "update/org_ini.h"
#include "update/update_fixture.h"

namespace qz::update {
namespace {

using testing::UpdateTest;
namespace fs = std::filesystem;

class OrgIniTest : public UpdateTest {
 protected:
  void SetUp() override {
    UpdateTest::SetUp();
    basPublic.RootPath = "D:\\REL\\";
    basPublic.UpdateIniPath = "D:\\REL\\Update.INI";
    basPublic.CsvIniPath = "D:\\SUITE\\QZPCSV.INI";
    WriteFile("D:\\REL\\Update.INI", "[Convert]\r\nOrgINI=NEW\\QZPCSV.INI\r\n[Import]\r\nOrgINI=\r\n");
    WriteFile("D:\\REL\\NEW\\QZPCSV.INI", "release copy");
    WriteFile("D:\\SUITE\\QZPCSV.INI", "installed copy");
  }
};

TEST_F(OrgIniTest, TheReleaseCopyStandsInUntilItIsPutBack) {
  std::string moved;
  ASSERT_TRUE(Fnc_OrgINI("Convert", "OrgINI", moved));
  EXPECT_EQ(moved, "D:\\SUITE\\QZPCSV.INI.Original_20261209142233");
  EXPECT_EQ(ReadFile("D:\\SUITE\\QZPCSV.INI"), "release copy");
  EXPECT_EQ(ReadFile(moved), "installed copy");
  EXPECT_TRUE(Logged("オリジナルQZPCSV.INI : D:\\REL\\NEW\\QZPCSV.INI"));

  ASSERT_TRUE(Fnc_ReNameBack(moved, basPublic.CsvIniPath));
  EXPECT_EQ(ReadFile("D:\\SUITE\\QZPCSV.INI"), "installed copy");
  EXPECT_FALSE(fs::exists(Host(moved)));
  EXPECT_TRUE(Logged("リネームしたファイル名を元に戻します。 : " + moved + " -> D:\\SUITE\\QZPCSV.INI"));

  MarkLog();
  EXPECT_FALSE(Fnc_ReNameBack(moved, basPublic.CsvIniPath));
  EXPECT_TRUE(Logged("リネーム後のファイルが見つかりません。 : " + moved));
  EXPECT_TRUE(Fnc_ReNameBack("", basPublic.CsvIniPath));
}

TEST_F(OrgIniTest, AnEmptyKeyLeavesTheInstalledFile) {
  std::string moved = "stale";
  EXPECT_TRUE(Fnc_OrgINI("Import", "OrgINI", moved));
  EXPECT_TRUE(Fnc_OrgINI("Absent", "OrgINI", moved));
  EXPECT_EQ(moved, "");
  EXPECT_EQ(ReadFile("D:\\SUITE\\QZPCSV.INI"), "installed copy");
}

TEST_F(OrgIniTest, MissingFilesAreRefusedBeforeAnythingMoves) {
  struct Case {
    const char* remove;
    std::string box;
  } cases[] = {
      {"D:\\REL\\NEW\\QZPCSV.INI", "オリジナルファイルが見つかりません。\r\n\r\nファイル : D:\\REL\\NEW\\QZPCSV.INI"},
      {"D:\\SUITE\\QZPCSV.INI", "QZPCSV.INIが見つかりません。\r\n\r\nファイル : D:\\SUITE\\QZPCSV.INI"},
  };
  for (const Case& c : cases) {
    WriteFile("D:\\REL\\NEW\\QZPCSV.INI", "release copy");
    WriteFile("D:\\SUITE\\QZPCSV.INI", "installed copy");
    fs::remove(Host(c.remove));
    shell_.ClearRecords();
    shell_.AnswerBox(ui::MsgResult::kOk);
    std::string moved;
    EXPECT_FALSE(Fnc_OrgINI("Convert", "OrgINI", moved));
    EXPECT_EQ(moved, "");
    ASSERT_EQ(shell_.boxes().size(), 1u);
    EXPECT_EQ(shell_.boxes()[0].request.text, c.box);
    EXPECT_EQ(shell_.boxes()[0].request.icon, ui::MsgIcon::kCritical);
  }
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(UpdateTest, IniWritesAndSectionNames) {
  fs::create_directories(Host("D:\\SUITE"));
  ASSERT_TRUE(Fnc_PutIni("External", "Done", "1", "D:\\SUITE\\NEW.INI"));
  ASSERT_TRUE(Fnc_PutIni("Copy_001", "From", "BIN", "D:\\SUITE\\NEW.INI"));
  std::vector<std::string> names;
  std::int16_t count = -1;
  Sub_GetSectionNames("d:\\suite\\new.ini", names, count);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(names, (std::vector<std::string>{"", "External", "Copy_001"}));
  Sub_GetSectionNames("D:\\SUITE\\NONE.INI", names, count);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(names, std::vector<std::string>{""});
}

}  // namespace
}  // namespace qz::update
