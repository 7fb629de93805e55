#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "update/bas_public.h"
#include "kit/ui_expect.h"
#include "update/file_routines.h"
#include "update/journal_file.h"
#include "update/run_journal.h"
#include "update/run_log.h"
#include "update/unfinished_run.h"
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

// Whether a file goes or comes back depends on what the run saw first: a
// backup before it was noted as added means it was there before the run
// (deleted and made anew in between); an added file that a later step backed
// up is the run's own (a new file of the release that an edit changed).
TEST_F(RunJournalTest, AFileIsPutBackOnlyWhenItWasThereBeforeTheRun) {
  WriteFile("D:\\SUITE\\QZPCSV.INI", "the centre's definition");
  ASSERT_TRUE(Fnc_FileBackup("D:\\SUITE\\QZPCSV.INI"));
  NoteAddedFile("D:\\SUITE\\QZPCSV.INI");
  WriteFile("D:\\SUITE\\QZPCSV.INI", "the release's definition");

  WriteFile("D:\\SUITE\\NEW.INI", "the release's settings");
  NoteAddedFile("D:\\SUITE\\NEW.INI");
  ASSERT_TRUE(Fnc_FileBackup("D:\\SUITE\\NEW.INI"));
  WriteFile("D:\\SUITE\\NEW.INI", "the release's settings, edited");

  EXPECT_TRUE(Fnc_RollBack());
  EXPECT_EQ(ReadFile("D:\\SUITE\\QZPCSV.INI"), "the centre's definition");
  EXPECT_FALSE(Exists("D:\\SUITE\\NEW.INI"));
}

// The run folder is the run's record: nothing in it is noted or removed.
TEST_F(RunJournalTest, FilesOfTheRunFolderAreNotNoted) {
  NoteAddedFile(basPublic.LogFolder + "External\\edit.ini");
  EXPECT_TRUE(RunJournalEmpty());
}

// A file backed up that the run then could not replace (read-only) is as
// it was: it is left alone, and the roll-back is no failure.
TEST_F(RunJournalTest, AFileTheRunNeverChangedIsLeftAlone) {
  WriteFile("D:\\SUITE\\LOCKED.EXE", "the centre's");
  ASSERT_TRUE(Fnc_FileBackup("D:\\SUITE\\LOCKED.EXE"));
  fs::permissions(Host("D:\\SUITE\\LOCKED.EXE"), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  WriteFile("D:\\SUITE\\A.EXE", "old A");
  ASSERT_TRUE(Fnc_FileBackup("D:\\SUITE\\A.EXE"));
  WriteFile("D:\\SUITE\\A.EXE", "new A");

  EXPECT_TRUE(Fnc_RollBack());
  EXPECT_EQ(ReadFile("D:\\SUITE\\LOCKED.EXE"), "the centre's");
  EXPECT_EQ(ReadFile("D:\\SUITE\\A.EXE"), "old A");
  EXPECT_TRUE(Logged("  変更されていないため戻しません。 : D:\\SUITE\\LOCKED.EXE"));
  EXPECT_TRUE(Logged("※バックアップからの復元が正常終了しました。"));
  fs::permissions(Host("D:\\SUITE\\LOCKED.EXE"), fs::perms::owner_write, fs::perm_options::add);
}

// A file of the installation that is a link to a shared file, replaced by
// a copy and then rolled back: the link is there again, and the shared
// file the run never wrote is as it was.
TEST_F(RunJournalTest, ALinkedFileComesBackAsTheLink) {
  WriteFile("D:\\SHARED\\PGList.ini", "shared list");
  fs::create_directories(Host("D:\\SUITE"));
  fs::create_symlink(Host("D:\\SHARED\\PGList.ini"), Host("D:\\SUITE\\PGList.ini"));
  WriteFile("D:\\REL\\PGList.ini", "release list");
  ASSERT_EQ(Fnc_FileCopy("D:\\REL\\PGList.ini", "D:\\SUITE\\PGList.ini", kAlwaysCopy, true), kCopied);

  EXPECT_TRUE(Fnc_RollBack());
  EXPECT_TRUE(fs::is_symlink(Host("D:\\SUITE\\PGList.ini")));
  EXPECT_EQ(ReadFile("D:\\SUITE\\PGList.ini"), "shared list");
  EXPECT_EQ(ReadFile("D:\\SHARED\\PGList.ini"), "shared list");
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

// The journal of an earlier run, killed: written as the run writes it.
class UnfinishedRunTest : public RunJournalTest {
 protected:
  void SetUp() override {
    RunJournalTest::SetUp();
    MakeInstallation();
    basPublic.ProgramPath = "D:\\SUITE\\";
  }
  // Notes `entry` in the journal of run folder `run` for `installation`.
  void Note(const std::string& run, const std::string& installation, const JournalEntry& entry) {
    fs::create_directories(Host("C:\\Vantork.Update\\" + run));
    AppendJournalEntry(Journal(run), installation, entry);
  }
  std::string Journal(const std::string& run) const {
    return Host("C:\\Vantork.Update\\" + run + "\\" + kJournalFileName);
  }
};

// The killed run of this installation is put back and its journal goes; a
// line the run did not finish writing describes a change not begun; the
// journal of another installation is that one's.
TEST_F(UnfinishedRunTest, TheKilledRunOfThisInstallationIsPutBack) {
  const std::string backup = "C:\\Vantork.Update\\20261208_100000\\D$\\SUITE\\A.EXE";
  WriteFile(backup, "old A");
  WriteFile("D:\\SUITE\\A.EXE", "new A");
  Note("20261208_100000", "D:\\SUITE\\", JournalEntry{JournalEntry::kBackedUp, "D:\\SUITE\\A.EXE", backup, {}, {}});
  Note("20261208_100000", "D:\\SUITE\\", JournalEntry{JournalEntry::kAddedFile, "D:\\SUITE\\NEW.EXE", {}, {}, {}});
  WriteFile("D:\\SUITE\\NEW.EXE", "the release's");
  WriteFile("D:\\SUITE\\MINE.EXE", "the centre's");
  std::ofstream(Journal("20261208_100000"), std::ios::app) << "A\tD:\\\\SUITE\\\\MINE.EXE\t\t";
  WriteFile("D:\\OTHER\\B.EXE", "another installation's");
  Note("20261208_090000", "D:\\OTHER\\", JournalEntry{JournalEntry::kAddedFile, "D:\\OTHER\\B.EXE", {}, {}, {}});
  shell_.AnswerBox(ui::MsgResult::kOk, "前回のバージョンアップが完了していませんでした。\r\n\r\nバージョンアップ前の状態に戻しました。");

  EXPECT_TRUE(Fnc_PutBackUnfinishedRun());

  EXPECT_SCRIPT_OK(shell_);
  EXPECT_EQ(ReadFile("D:\\SUITE\\A.EXE"), "old A");
  EXPECT_FALSE(Exists("D:\\SUITE\\NEW.EXE"));
  EXPECT_EQ(ReadFile("D:\\SUITE\\MINE.EXE"), "the centre's");
  EXPECT_FALSE(fs::exists(Journal("20261208_100000")));
  EXPECT_EQ(ReadFile("D:\\OTHER\\B.EXE"), "another installation's");
  EXPECT_TRUE(fs::exists(Journal("20261208_090000")));
  EXPECT_TRUE(Logged("前回のバージョンアップが完了していません。 : C:\\Vantork.Update\\20261208_100000\\"));
  EXPECT_TRUE(Logged("前回のバージョンアップ前の状態に戻しました。"));
}

// A run that cannot be put back stops the start, says where its backups
// are, and keeps its journal for the next try.
TEST_F(UnfinishedRunTest, ARunThatCannotBePutBackStopsTheStart) {
  WriteFile("D:\\SUITE\\A.EXE", "new A");
  Note("20261208_100000", "D:\\SUITE\\",
       JournalEntry{JournalEntry::kBackedUp, "D:\\SUITE\\A.EXE", "C:\\Vantork.Update\\20261208_100000\\gone", {}, {}});
  shell_.AnswerBox(ui::MsgResult::kOk, "バージョンアップ前の状態に戻せませんでした。\r\n\r\nバックアップ : C:\\Vantork.Update\\20261208_100000\\");

  EXPECT_FALSE(Fnc_PutBackUnfinishedRun());

  EXPECT_SCRIPT_OK(shell_);
  EXPECT_TRUE(fs::exists(Journal("20261208_100000")));
  EXPECT_TRUE(Logged("前回のバージョンアップ前の状態に戻せなかったため、バージョンアップ処理を終了します。"));
}

// The journal follows the process's umask like the run's other files, so
// that another operator of the group can read a killed run's journal and
// put that run back.
TEST_F(UnfinishedRunTest, TheJournalTakesTheUmasksRights) {
  const mode_t before = ::umask(002);
  Note("20261208_100000", "D:\\SUITE\\", JournalEntry{JournalEntry::kAddedFile, "D:\\SUITE\\NEW.EXE", {}, {}, {}});
  ::umask(before);
  EXPECT_EQ(fs::status(Journal("20261208_100000")).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::group_write |
                fs::perms::others_read);
}

}  // namespace
}  // namespace qz::update
