// The version-up killed as a power cut kills it, then started again: the
// real program as a process of its own (tools/qzupdate), on the end-to-end
// centre of end_to_end_fixture.h.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "kit/tool_process.h"
#include "platform/text/cp932.h"
#include "update/end_to_end_fixture.h"
#include "update/run_log.h"

namespace qz::update {
namespace {

namespace fs = std::filesystem;
using testing::EndToEndTest;
using testing::Records;
using testing::Slurp;
using testing::Spit;
using testing::kNewLength;

// The power failing at one change of the run: the program (the real one,
// as a process of its own) kills itself once that change is in its journal,
// before the change is made (tools/qzupdate).
struct KillPoint {
  const char* name;
  const char* kind;  // of the journal entry: B backup, A file added, D folder added, R moved aside,
                     // X program started, E the end before the journal goes
  const char* text;  // in its path or parameters
  int n;             // the n-th such entry
};

void PrintTo(const KillPoint& k, std::ostream* os) { *os << k.name; }

class KilledRunFixture : public EndToEndTest {
 protected:
  void SetUp() override {
    // The centre is made on a thread of its own, as every read below (see
    // Apart), so that no session of this test holds its data folder.
    std::thread([this] { EndToEndTest::SetUp(); }).join();
    if (HasFatalFailure()) return;
    // The run folder of the fixture's log is no run under way of the
    // processes below.
    ReleaseRunFolder();
    // The processes find the run folders and their lock where this test does.
    const fs::path runtime = dir_.Path("runtime");
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all, fs::perm_options::replace);
    setenv("QZ_RUNTIME_DIR", runtime.c_str(), 1);
    setenv("QZ_DRIVE_ROOT_C", dir_.Path("C").c_str(), 1);
  }
  void TearDown() override {
    unsetenv("QZ_RUNTIME_DIR");
    unsetenv("QZ_DRIVE_ROOT_C");
    EndToEndTest::TearDown();
  }
  // `read` on a thread of its own: a session of the server lasts as long as
  // its thread (the main thread's as long as the process), and one of this
  // test would hold the data folder in use for the program's lock check.
  template <typename Read>
  auto Apart(Read read) const {
    decltype(read()) result;
    std::thread([&] { result = read(); }).join();
    return result;
  }
  // `update` goes on to the end of the release: its closing box, answered,
  // and status 0, with the release's version and every one of `records` in
  // the wider layout.
  void ExpectTheReleaseCompletes(testkit::ToolProcess& update, const Records& records) const {
    EXPECT_EQ(update.ReadUntil({"BOX", "ENDED"}).back(), "BOX バージョンアップ処理が終了しました。");
    update.Send("");
    EXPECT_EQ(update.ReadUntil({"ENDED"}).back(), "ENDED 0");
    EXPECT_EQ(Slurp(program_ / "Version.ini"), "[Version]\r\nNow=3.2.0\r\n");
    const Records done = ReadRecords((program_ / "CPFSPEC.INI").string());
    for (const auto& [file, rows] : records) EXPECT_EQ(done.at(file).size(), rows.size()) << file;
    EXPECT_EQ(done.at("QZKKKLF.BTR").front().size(), static_cast<std::size_t>(kNewLength));
  }
  // The names at the top of the centre (a data folder renamed away shows).
  std::vector<std::string> Top() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(centre_)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  // Runs the program and kills it at `k`.
  void Kill(const KillPoint& k) {
    testkit::ToolProcess killed("qzupdate", {release_.string(), program_.string(), k.kind, k.text, std::to_string(k.n)});
    const std::vector<std::string> lines = killed.ReadUntil({"KILL", "BOX", "ENDED"});
    ASSERT_EQ(lines.back().rfind(std::string("KILL ") + k.kind, 0), 0u) << lines.back();
  }
  // The journals left in the run folders.
  std::vector<fs::path> Journals() const {
    std::vector<fs::path> found;
    for (const auto& e : fs::recursive_directory_iterator(dir_.Path("C"))) {
      if (e.path().filename() == "Update.journal") found.push_back(e.path());
    }
    return found;
  }
};

// The names whose bytes differ between two snapshots (a diff of the bytes
// themselves would be too large to show).
std::vector<std::string> Differing(const testing::Snapshot& a, const testing::Snapshot& b) {
  std::vector<std::string> names;
  for (const auto& [name, bytes] : a) {
    if (!b.count(name) || b.at(name) != bytes) names.push_back(name);
  }
  for (const auto& [name, bytes] : b) {
    if (!a.count(name)) names.push_back(name);
  }
  return names;
}

class KilledRunTest : public KilledRunFixture, public ::testing::WithParamInterface<KillPoint> {};

TEST_P(KilledRunTest, TheNextStartPutsTheInstallationBackThenTheReleaseCompletes) {
  const KillPoint& k = GetParam();
  const Installed before = Apart([&] { return Take(); });
  const std::vector<std::string> top = Top();
  const Records records = Apart([&] { return ReadRecords(paths_.spec_file); });
  ASSERT_NO_FATAL_FAILURE(Kill(k));
  testkit::ToolProcess again("qzupdate", {release_.string(), program_.string()});
  std::vector<std::string> lines = again.ReadUntil({"BOX", "ENDED"});
  ASSERT_EQ(lines.back().rfind("BOX 前回のバージョンアップが完了していませんでした。||バージョンアップ前の状態に戻しました。", 0),
            0u)
      << lines.back();
  // As the operator reads the box: the installation as before the first run.
  const Installed after = Apart([&] { return Take(); });
  EXPECT_EQ(after.data, before.data);
  EXPECT_EQ(after.program, before.program);
  EXPECT_EQ(after.csv, before.csv);
  EXPECT_EQ(Top(), top);
  bool logged = false;
  for (const auto& e : fs::recursive_directory_iterator(dir_.Path("C"))) {
    logged = logged || (e.path().filename() == "Update.log" &&
                        Slurp(e.path()).find(text::ToCp932("前回のバージョンアップ前の状態に戻しました。")) != std::string::npos);
  }
  EXPECT_TRUE(logged);

  again.Send("");
  ExpectTheReleaseCompletes(again, records);
}

// A second start while a run is under way, where the per-user test of a
// running copy cannot see it (another operator, or a runtime folder of its
// own): the run's journal is that of a live run, not of a killed one. The
// second start is refused as a second copy and leaves the run alone, which
// then completes.
TEST_F(KilledRunFixture, ASecondStartWhileARunIsUnderWayIsRefusedAndLeavesTheRunAlone) {
  const fs::path started = dir_.Path("clear_started"), go = dir_.Path("clear_go");
  WrapProgram("QZPCLR", "touch '" + started.string() + "'; i=0; while [ ! -e '" + go.string() +
                            "' ] && [ $i -lt 600 ]; do sleep 0.1; i=$((i+1)); done");
  const Records records = Apart([&] { return ReadRecords(paths_.spec_file); });
  testkit::ToolProcess first("qzupdate", {release_.string(), program_.string()});
  for (int i = 0; i < 300 && !fs::exists(started); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  ASSERT_TRUE(fs::exists(started)) << "the run reaches its rebuild";

  const fs::path other_runtime = dir_.Path("runtime_of_another");
  fs::create_directories(other_runtime);
  fs::permissions(other_runtime, fs::perms::owner_all, fs::perm_options::replace);
  const std::string runtime = std::getenv("QZ_RUNTIME_DIR");
  setenv("QZ_RUNTIME_DIR", other_runtime.c_str(), 1);
  {
    testkit::ToolProcess second("qzupdate", {release_.string(), program_.string()});
    setenv("QZ_RUNTIME_DIR", runtime.c_str(), 1);
    EXPECT_EQ(second.ReadUntil({"BOX", "ENDED"}).back(), "BOX 既に起動中です。");
    second.Send("");
    EXPECT_EQ(second.ReadUntil({"ENDED"}).back(), "ENDED 1");
  }

  Spit(go, "");
  ExpectTheReleaseCompletes(first, records);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKindOfChange, KilledRunTest,
    ::testing::Values(KillPoint{"LockCheck", "R", ".Check_", 1},
                      KillPoint{"FirstBackup", "B", ".BTR", 1},
                      KillPoint{"ResultsBackup", "B", "QZKKKLF.BTR", 1},
                      KillPoint{"ExportDefinition", "R", "QZPCSV.INI", 1},
                      KillPoint{"ExportedFiles", "A", ".CSV", 1},
                      KillPoint{"Export", "X", "QZPCSV.EXE", 1},
                      KillPoint{"CopyBackup", "B", "Version.ini", 1},
                      KillPoint{"DefinitionsCopy", "B", "CPFSPEC.INI", 1},
                      KillPoint{"CopyNewFolder", "D", "manual", 1},
                      KillPoint{"CopyNewFile", "A", "QZPNEW.INI", 1},
                      KillPoint{"ImportDefinition", "R", "QZPCSV.INI", 2},
                      KillPoint{"Rebuild", "X", "QZPCBR85.EXE", 1},
                      KillPoint{"Clear", "X", "QZPCLR.EXE", 1},
                      KillPoint{"FirstReimport", "X", "QZPGENCNV.EXE", 1},
                      KillPoint{"ResultsReimport", "X", "QZPGENCNV.EXE QZKKKLF", 1},
                      KillPoint{"LastReimport", "X", "QZPGENCNV.EXE QZUSRLF", 1},
                      KillPoint{"MasterCsvAside", "R", "QZSYOLF.CSV", 1},
                      KillPoint{"MasterImport", "X", "QZSYOLF2", 1},
                      KillPoint{"NumericInitialisation", "X", "QZPCNV.EXE", 1},
                      KillPoint{"ExternalBackup", "B", "QZP140.INI", 1},
                      KillPoint{"ExternalEdit", "X", "/REL/edit", 1},
                      KillPoint{"AfterTheLastChange", "E", "", 1}),
    [](const ::testing::TestParamInfo<KillPoint>& info) { return std::string(info.param.name); });

// A journal that is not as this program writes it: a line that is no
// entry, the journal of another release of the program, entries naming
// what lies outside the installation or a backup outside the run folder. The
// start cannot know what the killed run did: it puts nothing back and goes
// no further, says so and keeps the journal; nothing outside the
// installation is deleted or written.
struct Damage {
  const char* name;
  // The journal text made of the killed run's `text`; `victim` is a file
  // outside the installation, `run` the run folder, which holds a file
  // "forged".
  std::string (*damage)(const std::string& text, const fs::path& victim, const fs::path& program, const fs::path& run);
};

void PrintTo(const Damage& d, std::ostream* os) { *os << d.name; }

class DamagedJournalTest : public KilledRunFixture, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedJournalTest, TheStartPutsNothingBackAndStops) {
  ASSERT_NO_FATAL_FAILURE(Kill(KillPoint{"ResultsReimport", "X", "QZPGENCNV.EXE QZKKKLF", 1}));
  const std::vector<fs::path> journals = Journals();
  ASSERT_EQ(journals.size(), 1u);
  const fs::path journal = journals.front();
  const fs::path victim = fs::path(dir_.Path("outside")) / "victim.txt";
  Spit(victim, "not the installation's");
  Spit(journal.parent_path() / "forged", "forged bytes");
  Spit(journal, GetParam().damage(Slurp(journal), victim, program_, journal.parent_path()));
  const std::string damaged = Slurp(journal);
  const Installed killed = Apart([&] { return Take(); });
  const std::vector<std::string> top = Top();

  testkit::ToolProcess again("qzupdate", {release_.string(), program_.string()});
  std::vector<std::string> lines = again.ReadUntil({"BOX", "ENDED"});
  EXPECT_EQ(lines.back().rfind("BOX 前回のバージョンアップが完了していませんでした。||バージョンアップ前の状態に戻せませんでした。", 0), 0u)
      << lines.back();
  while (lines.back().rfind("ENDED", 0) != 0) {
    again.Send("");
    lines = again.ReadUntil({"BOX", "ENDED"});
  }
  EXPECT_EQ(lines.back(), "ENDED 1");
  EXPECT_EQ(Slurp(victim), "not the installation's");
  EXPECT_EQ(Slurp(journal), damaged);
  const Installed after = Apart([&] { return Take(); });
  EXPECT_EQ(Differing(after.data, killed.data), std::vector<std::string>{});
  EXPECT_EQ(Differing(after.program, killed.program), std::vector<std::string>{});
  EXPECT_EQ(Differing(after.csv, killed.csv), std::vector<std::string>{});
  EXPECT_EQ(Top(), top);
}

INSTANTIATE_TEST_SUITE_P(
    Journals, DamagedJournalTest,
    ::testing::Values(
        Damage{"ALineThatIsNoEntry",
               [](const std::string& text, const fs::path&, const fs::path&, const fs::path&) {
                 std::size_t at = 0;
                 for (int line = 0; line < 3; ++line) at = text.find('\n', at) + 1;
                 return text.substr(0, at) + "garbage\n" + text.substr(at);
               }},
        Damage{"AnotherRelease",
               [](const std::string& text, const fs::path&, const fs::path&, const fs::path&) {
                 return "QZUPDATE-JOURNAL 2" + text.substr(text.find('\n'));
               }},
        Damage{"AFileOutside",
               [](const std::string& text, const fs::path& victim, const fs::path&, const fs::path&) {
                 return text + "A\t" + victim.string() + "\t\t\t\n";
               }},
        Damage{"APathClimbingOut",
               [](const std::string& text, const fs::path& victim, const fs::path& program, const fs::path&) {
                 return text + "A\t" + (program / fs::relative(victim, program)).string() + "\t\t\t\n";
               }},
        Damage{"ABackupOverAFileOutside",
               [](const std::string& text, const fs::path& victim, const fs::path&, const fs::path& run) {
                 return text + "B\t" + victim.string() + "\t" + (run / "forged").string() + "\t\t\n";
               }},
        Damage{"ABackupFromOutsideTheRunFolder",
               [](const std::string& text, const fs::path& victim, const fs::path& program, const fs::path&) {
                 return text + "B\t" + (program / "Version.ini").string() + "\t" + victim.string() + "\t\t\n";
               }},
        Damage{"AFileMovedInFromOutside",
               [](const std::string& text, const fs::path& victim, const fs::path& program, const fs::path&) {
                 return text + "R\t" + (program / "QZP140.INI").string() + "\t" + victim.string() + "\t\t\n";
               }}),
    [](const ::testing::TestParamInfo<Damage>& info) { return std::string(info.param.name); });

// Makes `folder` keep its names (none made, none removed) or lets it again:
// the immutable flag for root, who writes past every mode, the mode for
// anyone else. False when it cannot.
bool KeepNames(const fs::path& folder, bool keep) {
  if (::geteuid() != 0) {
    std::error_code ec;
    fs::permissions(folder, keep ? fs::perms::owner_read | fs::perms::owner_exec : fs::perms::owner_all,
                    fs::perm_options::replace, ec);
    return !ec;
  }
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  int flags = 0;
  bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  flags = keep ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
  ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  ::close(fd);
  return ok;
}

// A run that completed and told the operator so, whose journal could not be
// removed at the end (its run folder no longer takes changes): the next
// start does not take it for a killed run and put the release back.
TEST_F(KilledRunFixture, ACompletedRunWhoseJournalStaysIsNotPutBack) {
  testkit::ToolProcess run("qzupdate", {release_.string(), program_.string(), "E", "", "1", "hold"});
  std::vector<std::string> lines = run.ReadUntil({"HOLD", "BOX", "ENDED"});
  ASSERT_EQ(lines.back().rfind("HOLD E", 0), 0u) << lines.back();
  ASSERT_EQ(Journals().size(), 1u);
  const fs::path folder = Journals().front().parent_path();
  if (!KeepNames(folder, true)) GTEST_SKIP() << "this file system keeps no folder from changes: " << folder;
  struct Let {
    fs::path folder;
    ~Let() { KeepNames(folder, false); }
  } let{folder};
  run.Send("");
  lines = run.ReadUntil({"BOX", "ENDED"});
  ASSERT_EQ(lines.back(), "BOX バージョンアップ処理が終了しました。");
  run.Send("");
  ASSERT_EQ(run.ReadUntil({"ENDED"}).back(), "ENDED 0");
  const Installed done = Apart([&] { return Take(); });
  ASSERT_EQ(done.version, "[Version]\r\nNow=3.2.0\r\n");

  testkit::ToolProcess again("qzupdate", {release_.string(), program_.string()});
  lines = again.ReadUntil({"BOX", "ENDED"});
  // 3.2.0 stays: above the release's range.
  EXPECT_EQ(lines.back(), "BOX バージョンアップの対象ではありません。||現在のバージョン : 3.2.0|対象のバージョン : 3.0.0 ～ 3.1.9");
  while (lines.back().rfind("ENDED", 0) != 0) {
    again.Send("");
    lines = again.ReadUntil({"BOX", "ENDED"});
  }
  const Installed after = Apart([&] { return Take(); });
  EXPECT_EQ(Differing(after.data, done.data), std::vector<std::string>{});
  EXPECT_EQ(Differing(after.program, done.program), std::vector<std::string>{});
  EXPECT_EQ(Differing(after.csv, done.csv), std::vector<std::string>{});
}

}  // namespace
}  // namespace qz::update
