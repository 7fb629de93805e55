#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "kit/ui_expect.h"
#include "update/bas_public.h"
#include "update/file_routines.h"
#include "update/update_fixture.h"

namespace qz::update {
namespace {

using testing::UpdateTest;
namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

TEST_F(UpdateTest, CopyIfNewerComparesWriteTimesToTheSecond) {
  struct Case {
    int destination_offset;  // seconds relative to the source
    std::int16_t result;
    Lines log;
  } cases[] = {
      {0, kSkipped, {"  更新日時が同じです。 : 2026/12/09 10:00:00", "    スキップします。"}},
      {-1, kCopied, {"  コピーが正常終了しました。"}},
      {5, kSkipped,
       {"  コピー先の方が新しいです。", "  コピー先更新日時 : 2026/12/09 10:00:05",
        "  コピー元更新日時 : 2026/12/09 10:00:00", "    スキップします。"}},
  };
  for (const Case& c : cases) {
    WriteFile("D:\\REL\\A.EXE", "new");
    WriteFile("D:\\SUITE\\A.EXE", "old");
    SetWriteTime("D:\\REL\\A.EXE", 0);
    SetWriteTime("D:\\SUITE\\A.EXE", c.destination_offset);
    MarkLog();
    EXPECT_EQ(Fnc_FileCopy("D:\\REL\\A.EXE", "D:\\SUITE\\A.EXE", kCopyIfNewer, false), c.result);
    Lines log = LogTexts();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0], "コピー : D:\\REL\\A.EXE -> D:\\SUITE\\A.EXE");
    EXPECT_EQ(Lines(log.begin() + 1, log.end()), c.log) << c.destination_offset;
    EXPECT_EQ(ReadFile("D:\\SUITE\\A.EXE"), c.result == kCopied ? "new" : "old");
  }
}

TEST_F(UpdateTest, CopyIfMissingKeepsAnExistingDestination) {
  WriteFile("D:\\REL\\A.INI", "new");
  WriteFile("D:\\SUITE\\A.INI", "old");
  EXPECT_EQ(Fnc_FileCopy("D:\\REL\\A.INI", "D:\\SUITE\\A.INI", kCopyIfMissing, true), kSkipped);
  EXPECT_TRUE(Logged("  コピー先に存在するため、スキップします。"));
  EXPECT_EQ(ReadFile("D:\\SUITE\\A.INI"), "old");
  EXPECT_EQ(Fnc_FileCopy("D:\\REL\\A.INI", "D:\\SUITE\\B.INI", kCopyIfMissing, true), kCopied);
  EXPECT_EQ(ReadFile("D:\\SUITE\\B.INI"), "new");
}

TEST_F(UpdateTest, AFolderEntryOnlyMakesItsFolder) {
  fs::create_directories(Host("D:\\A"));
  EXPECT_EQ(Fnc_FileCopy("D:\\REL\\NEW\\", "D:\\A\\NEW\\", kAlwaysCopy, true), kFolderCreated);
  EXPECT_TRUE(Logged("フォルダ「D:\\A\\NEW\\」を作成しました。"));
  EXPECT_TRUE(fs::is_directory(Host("D:\\A\\NEW")));
  EXPECT_TRUE(fs::is_empty(Host("D:\\A\\NEW")));
  EXPECT_EQ(Fnc_FileCopy("D:\\REL\\NEW\\", "D:\\A\\NEW\\", kAlwaysCopy, true), kSkipped);
  EXPECT_TRUE(Logged("フォルダ「D:\\A\\NEW\\」は存在します。"));
}

TEST_F(UpdateTest, AMissingDestinationFolderIsMadeForAFile) {
  WriteFile("D:\\REL\\BIN\\A.EXE", "new");
  EXPECT_EQ(Fnc_FileCopy("D:\\REL\\BIN\\A.EXE", "D:\\SUITE\\BIN\\SUB\\A.EXE", kAlwaysCopy, true), kCopied);
  EXPECT_EQ(ReadFile("D:\\SUITE\\BIN\\SUB\\A.EXE"), "new");
}

TEST_F(UpdateTest, ASourceOfOneByteCountsAsMissing) {
  WriteFile("D:\\REL\\ONE.TXT", "x");
  MarkLog();
  EXPECT_EQ(Fnc_FileCopy("D:\\REL\\ONE.TXT", "D:\\SUITE\\ONE.TXT", kAlwaysCopy, true), kCopyError);
  EXPECT_EQ(LogTexts(), Lines{"コピー元「D:\\REL\\ONE.TXT」が見つかりません。"});
  EXPECT_FALSE(fs::exists(Host("D:\\SUITE\\ONE.TXT")));
}

TEST_F(UpdateTest, AReplacedFileIsBackedUpFirst) {
  WriteFile("D:\\REL\\A.EXE", "new");
  WriteFile("D:\\SUITE\\A.EXE", "o");  // even a one-byte file is kept
  EXPECT_EQ(Fnc_FileCopy("D:\\REL\\A.EXE", "D:\\SUITE\\A.EXE", kAlwaysCopy, true), kCopied);
  EXPECT_EQ(ReadFile("D:\\SUITE\\A.EXE"), "new");
  EXPECT_EQ(ReadFile(basPublic.LogFolder + "D$\\SUITE\\A.EXE"), "o");
}

TEST_F(UpdateTest, AFailedBackupStopsTheCopy) {
  WriteFile("D:\\REL\\A.EXE", "new");
  WriteFile("D:\\SUITE\\A.EXE", "old");
  WriteFile(basPublic.LogFolder + "D$", "blocks the backup folder");
  shell_.AnswerBox(ui::MsgResult::kOk, "ファイルのバックアップに失敗しました。");
  EXPECT_EQ(Fnc_FileCopy("D:\\REL\\A.EXE", "D:\\SUITE\\A.EXE", kAlwaysCopy, true), kCopyError);
  ASSERT_EQ(shell_.boxes().size(), 1u);
  EXPECT_EQ(shell_.boxes()[0].request.text, "ファイルのバックアップに失敗しました。\r\n\r\nファイル : D:\\REL\\A.EXE");
  EXPECT_TRUE(Logged("ファイルのバックアップに失敗しました。 : D:\\REL\\A.EXE"));
  EXPECT_EQ(ReadFile("D:\\SUITE\\A.EXE"), "old");
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(UpdateTest, CopyErrorsAreLoggedInFourLines) {
  WriteFile("D:\\REL\\A.EXE", "new");
  WriteFile("D:\\SUITE\\A.EXE", "old");
  ::chmod(Host("D:\\SUITE\\A.EXE").c_str(), 0444);
  MarkLog();
  EXPECT_EQ(Fnc_FileCopy("D:\\REL\\A.EXE", "D:\\SUITE\\A.EXE", kAlwaysCopy, false), kCopyError);
  Lines log = LogTexts();
  ASSERT_EQ(log.size(), 5u);
  EXPECT_EQ(Lines(log.begin() + 1, log.end()),
            (Lines{"  エラーが発生しました。", "  モジュール : Fnc_FileCopy", "  エラー番号 : 70",
                   "  エラー内容 : 書き込みできません。"}));
  EXPECT_EQ(ReadFile("D:\\SUITE\\A.EXE"), "old");

  basPublic.FileSystem.reset();
  ::chmod(Host("D:\\SUITE\\A.EXE").c_str(), 0644);
  EXPECT_EQ(Fnc_FileCopy("D:\\REL\\A.EXE", "D:\\SUITE\\A.EXE", kAlwaysCopy, false), kCopyError);
  EXPECT_TRUE(Logged("  エラー番号 : 424"));
}

TEST_F(UpdateTest, RenameReplacesAnExistingTargetOnlyWhenTheSourceExists) {
  WriteFile("D:\\DATA\\A.BTR", "source");
  WriteFile("D:\\DATA\\B.BTR", "target");
  MarkLog();
  EXPECT_TRUE(Fnc_ReName("D:\\DATA\\A.BTR", "D:\\DATA\\B.BTR"));
  EXPECT_EQ(LogTexts(), (Lines{"ファイルを削除します。 : D:\\DATA\\B.BTR", "  ファイルの削除が成功しました。",
                               "ファイル名を変更しました。 : D:\\DATA\\A.BTR -> D:\\DATA\\B.BTR"}));
  EXPECT_EQ(ReadFile("D:\\DATA\\B.BTR"), "source");

  MarkLog();
  EXPECT_FALSE(Fnc_ReName("D:\\DATA\\GONE.BTR", "D:\\DATA\\B.BTR"));
  EXPECT_EQ(LogTexts(), (Lines{"  エラーが発生しました。", "  モジュール : Fnc_ReName", "  エラー番号 : 53",
                               "  エラー内容 : ファイルが見つかりません。"}));
  EXPECT_EQ(ReadFile("D:\\DATA\\B.BTR"), "source");
}

TEST_F(UpdateTest, FoldersAreRenamedAndNeverOntoAnotherFolder) {
  WriteFile("D:\\DATA\\A.BTR", "data");
  fs::create_directories(Host("D:\\OTHER"));
  EXPECT_FALSE(Fnc_ReName("D:\\DATA", "D:\\OTHER"));
  EXPECT_TRUE(Fnc_ReName("D:\\DATA", "D:\\DATA.Check_20261209142233"));
  EXPECT_EQ(ReadFile("D:\\DATA.Check_20261209142233\\A.BTR"), "data");
}

TEST_F(UpdateTest, DeletingAMissingFileIsNoFailure) {
  MarkLog();
  EXPECT_TRUE(Fnc_FileDel("D:\\NONE.TXT"));
  EXPECT_EQ(LogTexts(), (Lines{"ファイルを削除します。 : D:\\NONE.TXT", "  ファイルが存在しません。"}));
}

TEST_F(UpdateTest, FileExistsWantsAPlainFileOfTwoBytes) {
  WriteFile("D:\\F\\EMPTY", "");
  WriteFile("D:\\F\\ONE", "1");
  WriteFile("D:\\F\\TWO", "12");
  struct Case {
    const char* path;
    bool exists;
  } cases[] = {
      {"D:\\F\\EMPTY", false}, {"D:\\F\\ONE", false}, {"D:\\F\\TWO", true}, {"d:\\f\\two", true},
      {"D:\\F", false},        {"D:\\F\\T*", false},  {"D:\\F\\NONE", false}, {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(Fnc_FileExists(c.path), c.exists) << c.path;
}

TEST_F(UpdateTest, MakeDirMakesEveryMissingLevel) {
  fs::create_directories(Host("C:\\A"));
  EXPECT_TRUE(Fnc_MakeDir("C:\\A\\B\\C\\"));
  EXPECT_TRUE(fs::is_directory(Host("C:\\A\\B\\C")));
  EXPECT_TRUE(Fnc_MakeDir("C:\\A\\B\\C"));
  WriteFile("C:\\A\\FILE", "xx");
  EXPECT_FALSE(Fnc_MakeDir("C:\\A\\FILE\\D\\"));
}

TEST_F(UpdateTest, FileListsWalkSubFoldersAfterTheirOwnEntry) {
  WriteFile("D:\\REL\\a.txt", "aa");
  WriteFile("D:\\REL\\sub\\b.txt", "bb");
  WriteFile("D:\\REL\\sub\\c.dat", "cc");
  fs::create_directories(Host("D:\\REL\\empty"));
  struct Case {
    const char* mask;
    bool recurse;
    Lines list;
  } cases[] = {
      {"*.*", true, {"", "a.txt", "empty\\", "sub\\", "sub\\b.txt", "sub\\c.dat"}},
      {"*.*", false, {"", "a.txt", "empty", "sub"}},
      {"*.TXT", true, {"", "a.txt"}},  // a folder must match the mask to be walked
      {"s*", true, {"", "sub\\"}},
  };
  for (const Case& c : cases) {
    Lines list{"stale"};
    Sub_FileList(" D:\\REL ", c.mask, c.recurse, list);
    EXPECT_EQ(list, c.list) << c.mask << " " << c.recurse;
  }
  Lines list;
  Sub_FileList("D:\\NOWHERE\\", "*.*", true, list);
  EXPECT_EQ(list, Lines{""});
}

TEST_F(UpdateTest, MasksMatchWithoutRegardToCase) {
  struct Case {
    const char* mask;
    const char* name;
    bool match;
  } cases[] = {
      {"*.*", "README", true}, {"*.EXE", "qzp140.exe", true}, {"QZP???.EXE", "QZP140.EXE", true},
      {"QZP???.EXE", "QZP1400.EXE", false}, {"*.INI", "A.INI.BAK", false}, {"A*B*C", "AxxBxxC", true},
  };
  for (const Case& c : cases) EXPECT_EQ(MaskMatches(c.mask, c.name), c.match) << c.mask << " " << c.name;
}

}  // namespace
}  // namespace qz::update
