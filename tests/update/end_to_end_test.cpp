// The version-up end to end, as an administrator runs it: a demo centre's
// installation, a release that widens the results file's records, and the
// suite's conversion programs as real processes (the qzpconv stand-ins on
// the record manager). A clean run keeps every record; a run whose
// conversion, import, numeric initialisation or external edit fails leaves
// the data folder, the definitions and the installed version exactly as
// they were. And the README's release run on the demo suite as the demodata
// tool writes it.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "data/create_process.h"
#include "kit/demo_data.h"
#include "kit/history_without_date_key.h"
#include "kit/pg_server.h"
#include "kit/suite_builder.h"
#include "kit/tool_path.h"
#include "kit/tool_process.h"
#include "kit/ui_expect.h"
#include "platform/path/no_case.h"
#include "platform/record/btr_access.h"
#include "platform/record/btr_file.h"
#include "platform/record/definitions.h"
#include "platform/record/status.h"
#include "platform/record/storage_location.h"
#include "platform/runtime/app.h"
#include "platform/text/cp932.h"
#include "platform/text/hex.h"
#include "platform/system/instance_lock.h"
#include "platform/ui/shell.h"
#include "update/bas_public.h"
#include "update/end_to_end_fixture.h"
#include "update/frm_main.h"
#include "update/run_log.h"
#include "update/update_fixture.h"
#include "update/update_main.h"

namespace qz::update {
namespace {

namespace fs = std::filesystem;
using testing::UpdateTest;
using ui::MsgResult;

using testing::EndToEndTest;
using testing::Records;
using testing::Slurp;
using testing::Snapshot;
using testing::Spit;
using testing::kNewLength;
using testing::kOldLength;

TEST_F(EndToEndTest, ACleanRunConvertsEveryRecordIntoTheWiderLayout) {
  const Records before = ReadRecords(paths_.spec_file);
  ASSERT_GT(before.at("QZKKKLF.BTR").size(), 50u);
  const std::string p140_ini = Slurp(program_ / "QZP140.INI");
  const std::vector<std::string> storage = StorageOf(paths_.spec_file);
  shell_.AnswerBox(MsgResult::kOk, "バージョンアップ処理が終了しました。");

  EXPECT_EQ(RunUpdate(), 0);

  EXPECT_SCRIPT_OK(shell_);
  EXPECT_TRUE(Logged("※コンバート②処理が正常終了しました。"));
  EXPECT_TRUE(Logged("※数値項目初期化処理が正常終了しました。"));
  EXPECT_TRUE(Logged("※外部編集処理が正常終了しました。"));
  EXPECT_EQ(Slurp(program_ / "Version.ini"), "[Version]\r\nNow=3.2.0\r\n");
  // The release's definitions, with the folders kept on their engines.
  const std::string spec = Slurp(program_ / "CPFSPEC.INI");
  const std::string released = Slurp(release_ / "files" / "CPFSPEC.INI");
  EXPECT_EQ(spec.substr(0, released.size()), released);
  EXPECT_EQ(StorageOf(paths_.spec_file), storage);
  EXPECT_EQ(spec.size() == released.size(), !OnServer());
  EXPECT_EQ(Slurp(program_ / "QZP140.INI"), p140_ini + "[Edited]\r\nBy=edit\r\n");

  const Records after = ReadRecords((program_ / "CPFSPEC.INI").string());
  ASSERT_EQ(after.size(), before.size());
  for (const auto& [file, rows] : before) {
    const std::vector<std::string>& now = after.at(file);
    ASSERT_EQ(now.size(), rows.size()) << file;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      std::string expected = rows[i];
      if (file == "QZKKKLF.BTR") {
        // The old record, then the new numeric field initialised to zeros.
        ASSERT_EQ(expected.size(), static_cast<std::size_t>(kOldLength));
        expected += std::string(kNewLength - kOldLength, '0');
      } else if (file == "QZSYOLF.BTR" && i == 0) {
        expected = ChangedFindingsRecord();  // replaced by the release's master row
      }
      EXPECT_EQ(text::ToHex(now[i]), text::ToHex(expected)) << file << " record " << i + 1;
    }
  }
}

// One step made to fail: the program that fails (QZ_STANDIN_FAIL), the
// step's failure line, its own box ("" none) and the answer to it.
struct FailingStep {
  const char* name;
  const char* fail;
  const char* line;
  const char* box;
  MsgResult answer;
};

void PrintTo(const FailingStep& step, std::ostream* os) { *os << step.fail; }

class FailingStepTest : public EndToEndTest, public ::testing::WithParamInterface<FailingStep> {};

TEST_P(FailingStepTest, LeavesTheInstallationAsItWas) {
  const FailingStep& c = GetParam();
  const Installed before = Take();
  setenv("QZ_STANDIN_FAIL", c.fail, 1);
  if (*c.box != '\0') shell_.AnswerBox(c.answer, c.box);
  shell_.AnswerBox(MsgResult::kOk, "バージョンアップ前の状態に戻しました。");

  EXPECT_NE(RunUpdate(), 0);

  EXPECT_SCRIPT_OK(shell_);
  EXPECT_TRUE(Logged(c.line));
  EXPECT_TRUE(Logged("※バックアップからの復元が正常終了しました。"));
  const Installed after = Take();
  EXPECT_EQ(after.data, before.data);
  EXPECT_EQ(after.spec, before.spec);
  EXPECT_EQ(after.csv_ini, before.csv_ini);
  EXPECT_EQ(after.version, before.version);
  EXPECT_EQ(after.p140_ini, before.p140_ini);
  EXPECT_EQ(after.program, before.program);  // no file of the release left behind
  EXPECT_EQ(after.csv, before.csv);
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, FailingStepTest,
    ::testing::Values(
        // The conversion: the re-import, the rebuild and the export.
        FailingStep{"Reimport", "QZPGENCNV:QZKKKLF", "※コンバート②処理が異常終了しました。",
                    "「QZKKKLF」のインポートに失敗しました。", MsgResult::kOk},
        FailingStep{"Rebuild", "QZPCLR:QZKKKLF", "※コンバート②処理が異常終了しました。",
                    "マスタクリアプログラムが異常終了しました。", MsgResult::kOk},
        FailingStep{"Export", "QZPCSV:QZKKKLF", "※コンバート①処理が異常終了しました。",
                    "CSV作成プログラムが異常終了しました。", MsgResult::kOk},
        // The master import, not continued.
        FailingStep{"MasterImport", "QZPGENCNV:QZSYOLF2", "※インポート処理が異常終了しました。",
                    "「QZSYOLF」のインポートに失敗しました。", MsgResult::kNo},
        FailingStep{"NumericInitialisation", "QZPCNV", "※数値項目初期化処理が異常終了しました。", "", MsgResult::kOk},
        FailingStep{"ExternalEdit", "EDIT", "※外部編集処理が異常終了しました。", "", MsgResult::kOk}),
    [](const ::testing::TestParamInfo<FailingStep>& info) { return std::string(info.param.name); });

// A master import that writes part of the file and fails, and that the
// operator goes on from: the master is as it was before the import, the
// rest of the release is done, and the run says it is not complete.
TEST_F(EndToEndTest, AFailedMasterImportPassedOverLeavesTheMasterAsItWas) {
  // The findings master as the conversion left it, taken just before its
  // import.
  const fs::path before_import = fs::path(centre_) / "QZSYOLF.before";
  WrapProgram("QZPGENCNV", "[ \"$1\" = QZSYOLF2 ] && cp \"" + (data_ / "QZSYOLF.BTR").string() + "\" \"" +
                               before_import.string() + "\"");
  const Records before = ReadRecords(paths_.spec_file);
  setenv("QZ_STANDIN_FAIL", "QZPGENCNV:QZSYOLF2", 1);
  shell_.AnswerBox(MsgResult::kYes, "「QZSYOLF」のインポートに失敗しました。\r\n\r\n続行しますか？")
      .AnswerBox(MsgResult::kOk, "失敗した処理を続行したため、バージョンアップは完了していません。");

  EXPECT_EQ(RunUpdate(), 2);

  EXPECT_SCRIPT_OK(shell_);
  EXPECT_TRUE(Logged("※失敗した処理を続行したため、バージョンアップは完了していません。"));
  EXPECT_TRUE(Logged("※外部編集処理が正常終了しました。"));
  EXPECT_EQ(Slurp(program_ / "Version.ini"), "[Version]\r\nNow=3.2.0\r\n");
  const Records after = ReadRecords((program_ / "CPFSPEC.INI").string());
  EXPECT_EQ(after.at("QZSYOLF.BTR"), before.at("QZSYOLF.BTR"));  // the release's row is not in
  if (!OnServer()) {
    ASSERT_TRUE(fs::exists(before_import));
    EXPECT_EQ(Slurp(data_ / "QZSYOLF.BTR"), Slurp(before_import));
  }
}

// A master import killed in the middle of a write after a first part was
// committed leaves the record manager's journal of the unfinished part next
// to the file: the file put back as it was before the import must not have
// that journal played into it when it is next opened.
TEST_F(EndToEndTest, AMasterImportKilledMidWriteIsUndoneWithoutItsJournal) {
  if (OnServer()) GTEST_SKIP() << "the server keeps no journal beside the file";
  const fs::path master = data_ / "QZSYOLF.BTR";
  WrapProgram("QZPGENCNV", "[ \"$1\" = QZSYOLF2 ] && { sqlite3 \"" + master.string() +
                               "\" 'DELETE FROM records WHERE id = (SELECT min(id) FROM records)';"
                               " printf 'BEGIN;\\nDELETE FROM records;\\n.shell kill -KILL $PPID\\n' | sqlite3 \"" +
                               master.string() + "\"; exit 3; }");
  const Records before = ReadRecords(paths_.spec_file);
  shell_.AnswerBox(MsgResult::kYes, "「QZSYOLF」のインポートに失敗しました。\r\n\r\n続行しますか？")
      .AnswerBox(MsgResult::kOk, "失敗した処理を続行したため、バージョンアップは完了していません。");

  EXPECT_EQ(RunUpdate(), 2);

  EXPECT_SCRIPT_OK(shell_);
  EXPECT_FALSE(fs::exists(master.string() + "-journal"));
  const Records after = ReadRecords((program_ / "CPFSPEC.INI").string());
  EXPECT_EQ(after.at("QZSYOLF.BTR"), before.at("QZSYOLF.BTR"));
}

// A file of the installation that the copy cannot replace (read-only),
// passed over, and a later step failing: the roll-back leaves that file
// alone, says it put everything back, and the installation is as it was.
TEST_F(EndToEndTest, AReadOnlyFileTheCopyCouldNotReplaceIsNoRestoreFailure) {
  const fs::path viewer = program_ / "QZP140B.EXE";
  Spit(viewer, "the centre's viewer");
  fs::permissions(viewer, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  const Installed before = Take();
  setenv("QZ_STANDIN_FAIL", "QZPCLR:QZKKKLF", 1);
  shell_.AnswerBox(MsgResult::kYes, "「QZP140B.EXE」のコピーに失敗しました。\r\n\r\n続行しますか？")
      .AnswerBox(MsgResult::kOk, "マスタクリアプログラムが異常終了しました。")
      .AnswerBox(MsgResult::kOk, "バージョンアップ前の状態に戻しました。");

  EXPECT_EQ(RunUpdate(), 1);

  EXPECT_SCRIPT_OK(shell_);
  EXPECT_TRUE(Logged("※バックアップからの復元が正常終了しました。"));
  const Installed after = Take();
  EXPECT_EQ(after.data, before.data);
  EXPECT_EQ(after.program, before.program);
  EXPECT_EQ(after.csv, before.csv);
  fs::permissions(viewer, fs::perms::owner_write, fs::perm_options::add);
}

// After a failed run has put everything back, the same release runs again,
// in a run folder of its own, and completes.
TEST_F(EndToEndTest, TheSameReleaseRunsAgainAfterAFailedRun) {
  const Records before = ReadRecords(paths_.spec_file);
  setenv("QZ_STANDIN_FAIL", "QZPCLR:QZKKKLF", 1);
  shell_.AnswerBox(MsgResult::kOk, "マスタクリアプログラムが異常終了しました。");
  shell_.AnswerBox(MsgResult::kOk, "バージョンアップ前の状態に戻しました。");
  ASSERT_NE(RunUpdate(), 0);
  EXPECT_SCRIPT_OK(shell_);
  const std::string failed_run = basPublic.LogFolder;
  unsetenv("QZ_STANDIN_FAIL");

  ui::ScriptedShell again;  // a program that ended does not start again
  again.AnswerBox(MsgResult::kOk, "バージョンアップ処理が終了しました。");
  EXPECT_EQ(ProgramMain(again, program_.string()), 0);

  EXPECT_SCRIPT_OK(again);
  EXPECT_NE(basPublic.LogFolder, failed_run);
  EXPECT_EQ(Slurp(program_ / "Version.ini"), "[Version]\r\nNow=3.2.0\r\n");
  const Records after = ReadRecords((program_ / "CPFSPEC.INI").string());
  for (const auto& [file, rows] : before) EXPECT_EQ(after.at(file).size(), rows.size()) << file;
  EXPECT_EQ(after.at("QZKKKLF.BTR").front().size(), static_cast<std::size_t>(kNewLength));
}

TEST_F(EndToEndTest, NeitherACloseNorASignalEndsTheRunDuringTheRebuild) {
  // The rebuild program takes a moment, as on a centre's data; while it
  // runs the operator tries to close the progress window, then to end the
  // program from its terminal.
  WrapProgram("QZPCLR", "sleep 0.3");
  const Records before = ReadRecords(paths_.spec_file);
  bool asked = false;
  bool closed = false;
  SetCreateProcessHooks(CreateProcessHooks{
      {},
      [&] {
        const std::vector<std::string> log = LogTexts();
        const bool rebuilding =
            !log.empty() && log.back().rfind("マスタクリア処理を呼び出します。", 0) == 0;
        if (rebuilding && !asked && frmMain() != nullptr) {
          asked = true;
          closed = ui::Shell::Require().UserCloseBox(*frmMain());
          std::raise(SIGTERM);
        }
        ui::DoEvents();
      }});
  shell_.AnswerBox(MsgResult::kOk, "バージョンアップ処理が終了しました。");

  EXPECT_EQ(RunUpdate(), 0);

  EXPECT_SCRIPT_OK(shell_);
  EXPECT_TRUE(asked);
  EXPECT_FALSE(closed);
  EXPECT_TRUE(Logged("バージョンアップ処理中のため、画面を閉じることはできません。"));
  EXPECT_TRUE(Logged("バージョンアップ処理中のため、終了要求（シグナル 15）を受け付けません。"));
  const Records after = ReadRecords((program_ / "CPFSPEC.INI").string());
  for (const auto& [file, rows] : before) EXPECT_EQ(after.at(file).size(), rows.size()) << file;
}

// A conversion program killed by a signal has failed like one that exits
// with an error: its step fails and the run puts everything back.
TEST_F(EndToEndTest, AProgramKilledByASignalFailsItsStep) {
  WrapProgram("QZPGENCNV", "[ \"$1\" = QZKKKLF ] && kill -KILL $$");
  const Installed before = Take();
  shell_.AnswerBox(MsgResult::kOk, "「QZKKKLF」のインポートに失敗しました。");
  shell_.AnswerBox(MsgResult::kOk, "バージョンアップ前の状態に戻しました。");

  EXPECT_NE(RunUpdate(), 0);

  EXPECT_SCRIPT_OK(shell_);
  EXPECT_TRUE(Logged("  プログラムがエラーで終了しました。 : QZPGENCNV.EXE 終了コード 137"));
  EXPECT_TRUE(Logged("※コンバート②処理が異常終了しました。"));
  const Installed after = Take();
  EXPECT_EQ(after.data, before.data);
  EXPECT_EQ(after.version, before.version);
  EXPECT_EQ(after.spec, before.spec);
}

// A backup that cannot be put back is reported as such, with the run folder
// where the others stay; the run never claims to have restored.
TEST_F(EndToEndTest, ARestoreThatFailsSaysSo) {
  setenv("QZ_STANDIN_FAIL", "QZPCLR:QZKKKLF", 1);
  WrapProgram("QZPCLR", "sleep 0.3");
  const Snapshot before = DataState();
  SetCreateProcessHooks(CreateProcessHooks{{}, [&] {
                                             // The backup of the results is lost while the rebuild runs.
                                             const fs::path backup = path::ResolveSuitePath(
                                                 BackupPathOf((data_ / "QZKKKLF.BTR").string()));
                                             if (fs::is_regular_file(backup)) {
                                               fs::remove(backup);
                                               fs::create_directory(backup);
                                             }
                                             ui::DoEvents();
                                           }});
  shell_.AnswerBox(MsgResult::kOk, "マスタクリアプログラムが異常終了しました。");
  shell_.AnswerBox(MsgResult::kOk, "バージョンアップ前の状態に戻せませんでした。");

  EXPECT_NE(RunUpdate(), 0);

  EXPECT_SCRIPT_OK(shell_);
  ASSERT_FALSE(shell_.boxes().empty());
  EXPECT_NE(shell_.boxes().back().request.text.find(basPublic.LogFolder), std::string::npos);
  EXPECT_TRUE(Logged("※バックアップからの復元が異常終了しました。"));
  EXPECT_FALSE(Logged("バージョンアップ前の状態に戻しました。"));
  EXPECT_EQ(DataState().at("QZKOSLF.BTR"), before.at("QZKOSLF.BTR"));  // the other files are back
  EXPECT_EQ(Slurp(program_ / "Version.ini"), "[Version]\r\nNow=3.1.0\r\n");
}

// The conversion programs on their own: an import is all or nothing, and a
// bad parameter or definition is a failure with a non-zero exit status.
TEST_F(EndToEndTest, TheConversionProgramsFailWholeAndSaySo) {
  const fs::path csv = csv_ / "QZSYOLF.CSV";
  // The new definition, whose numeric field lies past the old record.
  Spit(program_ / "QZPCSV.INI", Definition(true));
  auto run = [&](const std::string& command) {
    const std::string line = "cd '" + program_.string() + "' && ./" + command + " 2>/dev/null";
    const int status = std::system(line.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  ASSERT_EQ(run("QZPCSV.EXE QZSYOLF"), 0);
  const std::string exported = Slurp(csv);
  const Snapshot data = DataState();
  // Every record again: the first duplicate key stops the import, and the
  // records before it are not kept either.
  Spit(csv, exported + exported.substr(exported.find("\r\n") + 2));
  EXPECT_EQ(run("QZPGENCNV.EXE QZSYOLF"), 2);
  EXPECT_EQ(run("QZPGENCNV.EXE QZSYOLF1"), 2);
  EXPECT_EQ(DataState(), data);
  struct Case {
    const char* command;
    int status;
  } cases[] = {
      {"QZPGENCNV.EXE QZSYOLF9", 2},   // no such mode
      {"QZPGENCNV.EXE NOSUCH", 2},     // no such file ID
      {"QZPCNV.EXE QZKKKLF", 2},       // a numeric range outside the record
      {"QZPCSV.EXE", 1},               // no file ID
      {"QZPCLR.EXE A B", 1},           // one parameter only
  };
  for (const Case& c : cases) EXPECT_EQ(run(c.command), c.status) << c.command;
  EXPECT_EQ(DataState(), data);
}

// The release of the README's "Trying it on the demo suite", run as written
// on the suite that the demodata tool writes (what `qz140 demo` makes, with
// the conversion stand-ins it links): the folder is an installation that
// Update brings to the release, its boxes answered as the README says.
class DemoReleaseTest : public testing::UpdateTest {
 protected:
  void SetUp() override {
    UpdateTest::SetUp();
    system::SetInstanceCheckForTest([](std::string_view) { return false; });
  }
  void TearDown() override {
    TheMainForm().reset();
    system::SetInstanceCheckForTest(nullptr);
    // A demo written on the server keeps its schemas: they go with the test.
    if (const auto defs = record::Definitions::Load((program_ / "CPFSPEC.INI").string())) {
      for (const std::string& folder : {(demo_ / "DATA").string() + "/", (demo_ / "SVWORK").string() + "/"}) {
        const std::string* entry = defs->FindStorage(folder);
        const auto location = entry ? record::ParseStorage(*entry) : std::nullopt;
        if (location) testkit::DropPgSchema(location->schema);
      }
    }
    UpdateTest::TearDown();
  }

  // The demo suite in `folder` (QZP140 its program folder), written by the
  // demodata tool as `as` when given, with the conversion stand-ins linked.
  // Returns the day of its consultations (yyyymmdd).
  std::string WriteDemo(const fs::path& folder, const std::optional<testkit::Operator>& as = std::nullopt) {
    const std::string qzpconv = testkit::ToolPath("qzpconv");
    EXPECT_TRUE(fs::exists(testkit::ToolPath("demodata")) && fs::exists(qzpconv));
    demo_ = folder;
    program_ = demo_ / "QZP140";
    testkit::ToolProcess demodata("demodata", {demo_.string(), "TERM01"}, as);
    const std::string said = demodata.ReadUntil({"  terminal "}).back();
    for (const char* p : {"QZPCSV", "QZPCBR85", "QZPCLR", "QZPGENCNV", "QZPCNV"}) {
      fs::create_symlink(qzpconv, program_ / (std::string(p) + ".EXE"));
    }
    return said.substr(said.size() - 8);
  }
  // The release of the README (the results file's records widened to 300
  // bytes, version 1.1.0) in `rel`; App() names it and the shell answers
  // its boxes as the README says.
  void MakeRelease(const fs::path& rel) {
    Spit(rel / "files" / "Version.ini", "[Version]\r\nNow=1.1.0\r\n");
    std::string spec = Slurp(program_ / "CPFSPEC.INI");
    const std::size_t at = spec.find("\nQZKKKLF.BTR=288");
    ASSERT_NE(at, std::string::npos);
    spec.replace(at, 16, "\nQZKKKLF.BTR=300");
    Spit(rel / "files" / "CPFSPEC.INI", spec);
    fs::copy_file(program_ / "QZPCSV.INI", rel / "CONVERT.INI");
    Spit(rel / "Update.INI",
         "[Setting]\r\nVersionFile=files\\Version.ini\r\nTargetMin=1.0.0\r\nTargetMax=1.0.9\r\nConvert_Max=0\r\n"
         "Import_Max=0\r\nQZPCNV_Max=0\r\n[Convert]\r\nExport=CONVERT.INI\r\nImport=CONVERT.INI\r\n[Copy_001]\r\n"
         "From=files\r\nTo=%VLMP%\r\n");
    App().path = rel.string();
    App().exe_name = "Update";
    shell_.AnswerBox(MsgResult::kOk, "」から「 1.1.0 」へバージョンアップします。")
        .Advance(1000)
        .AnswerBox(MsgResult::kOk, "バージョンアップを開始します。")
        .AnswerBox(MsgResult::kNo, "バントリクを起動しますか？");
  }

  fs::path demo_, program_;
};

TEST_F(DemoReleaseTest, TheReadmesReleaseBringsTheDemoSuiteToItsVersion) {
  WriteDemo(dir_.Path("qz-demo"));
  EXPECT_EQ(Slurp(program_ / "Version.ini"), "[Version]\r\nNow=1.0.0\r\n");
  MakeRelease(dir_.Path("qz-rel"));

  EXPECT_EQ(ProgramMain(shell_, program_.string()), 0);

  EXPECT_SCRIPT_OK(shell_);
  EXPECT_EQ(Slurp(program_ / "Version.ini"), "[Version]\r\nNow=1.1.0\r\n");
  EXPECT_TRUE(Logged("※コンバート②処理が正常終了しました。"));
}

// The README's advice for a centre's operators, a group and a umask of 002,
// holds for the record files: on the data folder that the first operator
// made (in the group's set-group-id folder) a second operator of the group
// saves, and again after the first has run a version-up, which rebuilt the
// files. The two are other user ids than the test's own.
TEST_F(DemoReleaseTest, ASecondOperatorOfTheGroupSavesOnTheFirstOnesFilesAlsoAfterAVersionUp) {
  if (::geteuid() != 0) GTEST_SKIP() << "two operators of a group need root to be played";
  ASSERT_TRUE(fs::exists(testkit::ToolPath("qzterm")));
  constexpr gid_t kOperators = 64100;
  const testkit::Operator first{64101, 64101, {kOperators}, 002}, second{64102, 64102, {kOperators}, 002};
  // The centre's folder as an administrator makes it for the group.
  const fs::path centre = dir_.Path("centre");
  fs::create_directory(centre);
  ASSERT_EQ(::chmod(dir_.path().c_str(), 0755) | ::chown(centre.c_str(), first.uid, kOperators) |
                ::chmod(centre.c_str(), 02775),
            0);
  const std::string today = WriteDemo(centre / "qz-demo", first);
  const std::string examinee = "0000000002";  // booked that day
  const fs::path log = demo_ / "LOG" / "QZP140_TERM01.log";
  // No previous results copied at the load, whose confirmation would stop F12.
  std::string ini = Slurp(program_ / "QZP140.INI");
  ASSERT_EQ(ini.rfind("[SysInfo]\r\n", 0), 0u);
  std::ofstream(program_ / "QZP140.INI", std::ios::binary | std::ios::trunc) << ini.insert(11, "AutoPastCopy=0\r\n");

  const auto save_as_second = [&](int saves) {
    testkit::ToolProcess terminal("qzterm", {program_.string(), "TERM01", today, "command", examinee + today}, second);
    terminal.ReadUntil({"READY"});
    terminal.Send("go");
    std::vector<std::string> said = terminal.ReadUntil({"HELD", "ENDED", "REFUSED"});
    if (said.back().rfind("HELD", 0) == 0) {
      terminal.Send("");
      const std::vector<std::string> more = terminal.ReadUntil({"ENDED", "RUNNING"});
      said.insert(said.end(), more.begin(), more.end());
    }
    std::string all;
    for (const std::string& line : said) all += line + "\n";
    EXPECT_EQ(all.find("BOX"), std::string::npos) << all;
    EXPECT_EQ(said.back(), "ENDED") << all;
    const std::string text = Slurp(log);
    int saved = 0;
    for (std::size_t at = 0; (at = text.find(" saved examinee=" + examinee, at)) != std::string::npos; ++at) ++saved;
    EXPECT_EQ(saved, saves) << text;
  };
  save_as_second(1);

  // The version-up, run by the first operator.
  MakeRelease(dir_.Path("qz-rel"));
  for (const auto& e : fs::recursive_directory_iterator(dir_.Path("C"))) {
    ASSERT_EQ(::lchown(e.path().c_str(), first.uid, first.gid), 0);
  }
  ASSERT_EQ(::chown(dir_.Path("C").c_str(), first.uid, first.gid), 0);
  const pid_t pid = ::fork();
  if (pid == 0) {
    const bool ran = testkit::BecomeOperator(first) && ProgramMain(shell_, program_.string()) == 0;
    ::_exit(ran && testkit::ScriptOk(shell_) ? 0 : 1);
  }
  int status = -1;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the version-up failed: " << status;
  EXPECT_EQ(Slurp(program_ / "Version.ini"), "[Version]\r\nNow=1.1.0\r\n");
  struct stat rebuilt {};
  if (::stat((demo_ / "DATA" / "QZKKKLF.BTR").c_str(), &rebuilt) == 0) {  // SQLite: a file of the group's
    EXPECT_EQ(rebuilt.st_uid, first.uid);
    EXPECT_EQ(rebuilt.st_gid, kOperators);
    EXPECT_EQ(rebuilt.st_mode & 0777, 0664u);
  }
  save_as_second(2);
}


// A release of this version's definitions (the history's date key among
// them) run on a centre made before that key: whether its conversion
// rebuilds the history or, as the README's release, only the results file,
// the history opens afterwards with every record, by the date key once
// rebuilt.
class NewDefinitionsReleaseTest : public DemoReleaseTest, public ::testing::WithParamInterface<bool> {};

TEST_P(NewDefinitionsReleaseTest, OnACentreWithoutTheDateKeyLeavesAHistoryThatOpens) {
  const bool rebuilds_history = GetParam();
  const std::string today = WriteDemo(dir_.Path("qz-demo"));
  const std::string spec = (program_ / "CPFSPEC.INI").string();
  const std::string data = (demo_ / "DATA").string() + "/";
  // The consultations of the history; -1 when it does not open.
  const auto consultations = [&] {
    record::BtrAccess history;
    if (!history.OpenFile("QZJRKLF.BTR", "QZJRKLF", data, spec)) return -1;
    int n = 0;
    for (int s = history.GetFirst("QZJRKLF"); s == record::kStatusOk; s = history.GetNext()) ++n;
    return n;
  };
  const int before = consultations();
  std::string release_spec = Slurp(spec);
  ASSERT_EQ(testkit::MakeHistoryWithoutDateKey(spec, data, false), "");
  const fs::path rel = dir_.Path("qz-rel");
  MakeRelease(rel);
  release_spec.replace(release_spec.find("\nQZKKKLF.BTR=288"), 16, "\nQZKKKLF.BTR=300");
  Spit(rel / "files" / "CPFSPEC.INI", release_spec.substr(0, release_spec.find("\r\n[STORAGE]")));
  if (!rebuilds_history) {
    Spit(rel / "CONVERT.INI", "[SysInfo]\r\nVersion=1\r\n[QZKKKLF]\r\nInFile=QZKKKLF.BTR\r\nOutFile=QZKKKLF.CSV\r\n");
  }

  EXPECT_EQ(ProgramMain(shell_, program_.string()), 0);

  EXPECT_SCRIPT_OK(shell_);
  EXPECT_NE(Slurp(program_ / "CPFSPEC.INI").find("QZJRK2LF=QZJRKLF.BTR,1"), std::string::npos);
  EXPECT_GT(before, 0);
  EXPECT_EQ(consultations(), before);
  record::BtrAccess history;
  ASSERT_TRUE(history.OpenFile("QZJRKLF.BTR", "QZJRKLF", data, spec));
  history.DefineAlphaField("CODE", 1, 10);
  history.DefineNumericField("JDATE", 11, 8, 0);
  history.SetField("JDATE", today);
  EXPECT_EQ(history.GetGreaterOrEqual("QZJRK2LF"), rebuilds_history ? record::kStatusOk : record::kStatusInvalidKey);
}

INSTANTIATE_TEST_SUITE_P(Conversions, NewDefinitionsReleaseTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "OfTheWholeDataFolder" : "OfTheResultsFileOnly");
                         });

}  // namespace
}  // namespace qz::update
