#include <gtest/gtest.h>

#include <filesystem>

#include "update/bas_public.h"
#include "update/run_journal.h"
#include "update/run_log.h"
#include "update/update_fixture.h"

namespace qz::update {
namespace {

namespace fs = std::filesystem;

class RunJournalTest : public testing::UpdateTest {
 protected:
  void SetUp() override {
    UpdateTest::SetUp();
    ClearRunJournal();
  }
  void TearDown() override {
    ClearRunJournal();
    UpdateTest::TearDown();
  }
  bool Exists(std::string_view suite_path) const { return fs::exists(Host(suite_path)); }
};

// What a run did to an installation, undone: replaced files come back from
// their first backup, added files and the folders made for them go.
TEST_F(RunJournalTest, TheRollBackUndoesWhatTheRunChanged) {
  WriteFile("D:\\SUITE\\A.EXE", "old A");
  ASSERT_TRUE(Fnc_FileBackup("D:\\SUITE\\A.EXE"));
  WriteFile("D:\\SUITE\\A.EXE", "new A");
  ASSERT_TRUE(Fnc_FileBackup("D:\\SUITE\\A.EXE"));  // a second backup keeps the first version
  WriteFile("D:\\SUITE\\A.EXE", "newer A");

  WriteFile("D:\\SUITE\\NEW\\DEEP\\B.TXT", "added");
  NoteAddedFolder("D:\\SUITE\\NEW");
  NoteAddedFolder("D:\\SUITE\\NEW\\DEEP");
  NoteAddedFile("D:\\SUITE\\NEW\\DEEP\\B.TXT");
  // A folder the run made that the centre has put a file of its own in
  // meanwhile stays.
  WriteFile("D:\\SUITE\\KEEP\\MINE.TXT", "the centre's");
  NoteAddedFolder("D:\\SUITE\\KEEP");

  EXPECT_TRUE(Fnc_RollBack());
  EXPECT_EQ(ReadFile("D:\\SUITE\\A.EXE"), "old A");
  EXPECT_FALSE(Exists("D:\\SUITE\\NEW"));
  EXPECT_EQ(ReadFile("D:\\SUITE\\KEEP\\MINE.TXT"), "the centre's");
  EXPECT_TRUE(Logged("※バックアップからの復元が正常終了しました。"));
  EXPECT_TRUE(RunJournalEmpty());
}

// A file that was there before the run (it has a backup) is put back, never
// removed, even when the run also noted it as added (it was moved aside
// and copied anew in between).
TEST_F(RunJournalTest, AFileWithABackupIsPutBackNotRemoved) {
  WriteFile("D:\\SUITE\\QZPCSV.INI", "the centre's definition");
  NoteAddedFile("D:\\SUITE\\QZPCSV.INI");
  ASSERT_TRUE(Fnc_FileBackup("D:\\SUITE\\QZPCSV.INI"));
  WriteFile("D:\\SUITE\\QZPCSV.INI", "the release's definition");

  EXPECT_TRUE(Fnc_RollBack());
  EXPECT_EQ(ReadFile("D:\\SUITE\\QZPCSV.INI"), "the centre's definition");
}

// The run folder is the run's record: nothing in it is noted or removed.
TEST_F(RunJournalTest, FilesOfTheRunFolderAreNotNoted) {
  NoteAddedFile(basPublic.LogFolder + "External\\edit.ini");
  EXPECT_TRUE(RunJournalEmpty());
}

TEST_F(RunJournalTest, ABackupThatCannotBePutBackIsReported) {
  WriteFile("D:\\SUITE\\A.EXE", "old A");
  ASSERT_TRUE(Fnc_FileBackup("D:\\SUITE\\A.EXE"));
  fs::remove(Host(BackupPathOf("D:\\SUITE\\A.EXE")));
  WriteFile("D:\\SUITE\\A.EXE", "new A");

  EXPECT_FALSE(Fnc_RollBack());
  EXPECT_EQ(ReadFile("D:\\SUITE\\A.EXE"), "new A");
  EXPECT_TRUE(Logged("  復元に失敗しました。 : D:\\SUITE\\A.EXE"));
  EXPECT_TRUE(Logged("※バックアップからの復元が異常終了しました。"));
}

}  // namespace
}  // namespace qz::update
