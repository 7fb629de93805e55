#include <gtest/gtest.h>

#include <filesystem>

#include "update/bas_public.h"
#include "update/path_routines.h"
#include "update/update_fixture.h"

namespace qz::update {
namespace {

using testing::UpdateTest;
using Lines = std::vector<std::string>;

TEST_F(UpdateTest, FullPathsCountFromTheCurrentFolder) {
  std::filesystem::create_directories(Host("D:\\REL\\SUB"));
  ASSERT_TRUE(Fnc_ChangeDir("D:\\REL\\SUB", false));
  struct Case {
    const char* path;
    const char* full;
  } cases[] = {
      {"Version.ini", "D:\\REL\\SUB\\Version.ini"},
      {"..\\NEW\\Version.ini", "D:\\REL\\NEW\\Version.ini"},
      {".\\BIN\\", "D:\\REL\\SUB\\BIN\\"},
      {"E:\\X\\..\\Y", "E:\\Y"},
      {"E:\\..\\..\\Y", "E:\\Y"},
      {"\\TOP.INI", "D:\\TOP.INI"},
      {"\\\\SV\\share\\A.EXE", "\\\\SV\\share\\A.EXE"},
      {"/srv/a/../b", "/srv/b"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Fnc_FullPath(c.path), c.full) << c.path;
}

TEST_F(UpdateTest, FileAndFolderPartsOfPaths) {
  struct Case {
    const char* path;
    const char* file;
    const char* folder;
  } cases[] = {
      {"C:\\Prog\\A.EXE", "A.EXE", "C:\\Prog"},
      {"C:\\A\\NEW\\", "NEW\\", "C:\\A\\NEW"},
      {"C:\\B", "B", "C:\\"},
      {"C:\\", "C:\\", "C:\\"},
      {"\\\\SV\\share\\A.EXE", "A.EXE", "\\\\SV\\share"},
      {"/srv/a.txt", "a.txt", "/srv"},
      {"/a", "a", "/"},
      {"A.TXT", "A.TXT", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Fnc_FileName(c.path), c.file) << c.path;
    EXPECT_EQ(Fnc_FolderName(c.path), c.folder) << c.path;
  }
  EXPECT_EQ(Fnc_CutNull(std::string("AB\0CD", 5)), "AB");
}

TEST_F(UpdateTest, ChangeDirRefusesNetworkPathsAndLogsItsMoves) {
  std::filesystem::create_directories(Host("D:\\SUITE"));
  MarkLog();
  EXPECT_FALSE(Fnc_ChangeDir("\\\\SV\\share\\", false));
  EXPECT_TRUE(Fnc_ChangeDir("d:\\suite\\", false));
  EXPECT_FALSE(Fnc_ChangeDir("D:\\NONE\\", false));
  EXPECT_EQ(LogTexts(), (Lines{"カレントを移動します。 : \\\\SV\\share\\", "  ネットワークパスは無効です。",
                               "カレントを移動します。 : d:\\suite\\", "  カレントの移動に成功しました。",
                               "カレントを移動します。 : D:\\NONE\\"}));
  EXPECT_EQ(CurrentFolder(), "d:\\suite\\");
  EXPECT_EQ(std::filesystem::current_path().string(), Host("D:\\SUITE"));
}

TEST_F(UpdateTest, PathMacrosExpandToTheInstallationsFolders) {
  basPublic.MasterPath = "M:\\MASTER\\";
  basPublic.ProgramPath = "D:\\SUITE\\";
  basPublic.DataPath = "D:\\DATA\\";
  basPublic.CsvPath = "D:\\CSV\\";
  struct Case {
    const char* text;
    bool closing, full;
    const char* result;
  } cases[] = {
      {"%VLMP_MASTER%DATA", false, false, "M:\\MASTER\\DATA"},
      {"%VLMP_MASTER%DATA", true, true, "M:\\MASTER\\DATA\\"},
      {"%VLMP%BIN", false, false, "D:\\SUITE\\BIN"},
      {"%VLMP%\\BIN", false, false, "D:\\SUITE\\BIN"},
      {"%VLMF%", true, false, "D:\\DATA\\"},
      {"%CSV%\\..\\OUT", true, true, "D:\\OUT\\"},
      {"%vlmp%BIN", false, false, "%vlmp%BIN"},
      {"%VLMP%A;%VLMF%B", false, false, "D:\\SUITE\\A;D:\\DATA\\B"},
  };
  for (const Case& c : cases) EXPECT_EQ(Fnc_PathMacro(c.text, c.closing, c.full), c.result) << c.text;
}

}  // namespace
}  // namespace qz::update
