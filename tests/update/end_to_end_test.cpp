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
#include <chrono>
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
#include "update/frm_main.h"
#include "update/run_log.h"
#include "update/update_fixture.h"
#include "update/update_main.h"

namespace qz::update {
namespace {

namespace fs = std::filesystem;
using testing::UpdateTest;
using ui::MsgResult;

constexpr const char* kStandIns[] = {"QZPCSV.EXE", "QZPCBR85.EXE", "QZPCLR.EXE", "QZPGENCNV.EXE", "QZPCNV.EXE"};
constexpr int kOldLength = 288;  // the results record before the release
constexpr int kNewLength = 300;  // and after: 12 bytes of a numeric field added

std::string Slurp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

void Spit(const fs::path& file, const std::string& bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

// Every file of a folder tree with its bytes.
using Snapshot = std::map<std::string, std::string>;

Snapshot Files(const fs::path& folder) {
  Snapshot s;
  for (const auto& e : fs::recursive_directory_iterator(folder)) {
    const std::string name = fs::relative(e.path(), folder).string();
    s[name] = e.is_regular_file() ? Slurp(e.path()) : "<folder>";
  }
  return s;
}

// Every record of every data file, in key order, by definition name.
using Records = std::map<std::string, std::vector<std::string>>;

class EndToEndTest : public UpdateTest {
 protected:
  void SetUp() override {
    UpdateTest::SetUp();
    system::SetInstanceCheckForTest([](std::string_view) { return false; });
    const std::string tool = testkit::ToolPath("qzpconv");
    ASSERT_TRUE(fs::exists(tool)) << "the conversion stand-ins are built with the tests: " << tool;
    centre_ = dir_.Path("centre");
    testkit::SuiteBuilder builder(centre_);
    testkit::AddDemoData(builder, testkit::DemoOptions{"DEMO-PC", 20261209});
    paths_ = builder.Build();
    MakeInstallation(tool);
    MakeRelease();
    App().path = release_.string();
    App().exe_name = "Update";
  }

  void TearDown() override {
    unsetenv("QZ_STANDIN_FAIL");
    SetCreateProcessHooks({});
    TheMainForm().reset();
    system::SetInstanceCheckForTest(nullptr);
    // The schemas of the folders on the server go with the centre.
    for (const std::string& entry : StorageOf(paths_.spec_file)) {
      const auto location = record::ParseStorage(entry);
      if (!entry.empty() && location) testkit::DropPgSchema(location->schema);
    }
    std::error_code ec;
    fs::remove_all(centre_, ec);
    UpdateTest::TearDown();
  }


  // The centre as installed: the folders the version-up needs, the
  // installed version, the conversion definition of every data file and the
  // five conversion programs in the program folder.
  void MakeInstallation(const std::string& tool) {
    program_ = paths_.program;
    data_ = paths_.data;
    csv_ = fs::path(centre_) / "CSV";
    fs::create_directories(csv_);
    std::string path_ini = Slurp(paths_.path_ini);
    path_ini += "VLMP_MASTER=" + paths_.program + "\r\nCSV=" + csv_.string() + "/\r\n";
    Spit(paths_.path_ini, path_ini);
    Spit(program_ / "Version.ini", "[Version]\r\nNow=3.1.0\r\n");
    Spit(program_ / "QZPCSV.INI", Definition(false));
    for (const char* program : kStandIns) fs::copy_file(tool, program_ / program);
  }

  // The record-manager files of the data folder, in name order, on the
  // folder's engine.
  std::vector<std::string> DataFiles() const {
    const auto defs = record::Definitions::Load(paths_.spec_file);
    std::vector<std::string> files;
    for (const auto& [name, file] : defs->files()) {
      if (record::RecordFileExists(*defs, name, data_.string())) files.push_back(name);
    }
    return files;
  }

  // The [STORAGE] entries of the data and work folders in the definitions
  // file `spec` ("" for a folder without one: an SQLite folder).
  std::vector<std::string> StorageOf(const std::string& spec) const {
    const auto defs = record::Definitions::Load(spec);
    std::vector<std::string> entries;
    for (const std::string& folder : {paths_.data, paths_.work}) {
      const std::string* entry = defs->FindStorage(folder);
      entries.push_back(entry ? *entry : "");
    }
    return entries;
  }

  bool OnServer() const { return !StorageOf(paths_.spec_file).front().empty(); }

  // What the data folder holds: every file with its bytes and, for a folder
  // on the server, every record of each record file by the file's name.
  Snapshot DataState() const {
    Snapshot s = Files(data_);
    if (!OnServer()) return s;
    for (const std::string& file : DataFiles()) {
      record::BtrAccess obj;
      if (!obj.OpenFile(file, KeyOrder(file), data_.string(), paths_.spec_file)) {
        s[file] = "<unreadable>";
        continue;
      }
      int status = obj.GetFirst(KeyOrder(file));
      for (; status == record::kStatusOk; status = obj.GetNext()) s[file] += text::ToHex(obj.RecordBytes()) + "\n";
      if (status != record::kStatusEndOfFile) s[file] += "<status " + std::to_string(status) + ">";
    }
    return s;
  }

  // QZPCSV.INI naming every data file; with `numeric` the results file's
  // new field is numeric (for the numeric initialisation).
  std::string Definition(bool numeric) const {
    std::string text = "[SysInfo]\r\nVersion=1\r\n";
    for (const std::string& file : DataFiles()) {
      const std::string stem = fs::path(file).stem().string();
      text += "[" + stem + "]\r\nInFile=" + file + "\r\nOutFile=" + stem + ".CSV\r\n";
      if (numeric && stem == "QZKKKLF") text += "Numeric=289:12\r\n";
    }
    return text;
  }

  // The release: Update.INI with a conversion of every data file around the
  // copy of the new definitions (the results record widened), a master
  // import, a numeric initialisation of the new field and an external edit
  // of the program's settings.
  void MakeRelease() {
    release_ = fs::path(centre_) / "REL";
    const fs::path files = release_ / "files";
    Spit(files / "Version.ini", "[Version]\r\nNow=3.2.0\r\n");
    std::string spec = Slurp(paths_.spec_file);
    const std::string old_line = "QZKKKLF.BTR=" + std::to_string(kOldLength);
    ASSERT_NE(spec.find(old_line), std::string::npos);
    spec.replace(spec.find(old_line), old_line.size(), "QZKKKLF.BTR=" + std::to_string(kNewLength));
    // Which engine holds a folder is the centre's own choice: a release
    // never names one.
    spec = spec.substr(0, spec.find("\r\n[STORAGE]"));
    Spit(files / "CPFSPEC.INI", spec);
    Spit(files / "QZPCSV.INI", Definition(true));
    Spit(files / "QZP140B.EXE", "a new program of the release");
    Spit(files / "manual" / "UPDATE.TXT", "what is new");
    Spit(files / "QZPNEW.INI", "[New]\r\nShipped=1\r\n");  // new, and edited below
    Spit(release_ / "CONVERT.INI", Definition(true));
    Spit(release_ / "masters" / "QZSYOLF.CSV", "RECORD\r\n" + text::ToHex(ChangedFindingsRecord()) + "\r\n");
    Spit(release_ / "edit.ini", "[Edit]\r\nTarget=%VLMP%QZP140.INI\r\n");
    dir_.WriteScript(fs::relative(release_ / "edit", dir_.path()).string(),
                     "#!/bin/sh\n"
                     "target=$(sed -n 's/^Target=//p' \"$1\" | tr -d '\\r')\n"
                     "printf '[Edited]\\r\\nBy=edit\\r\\n' >> \"$target\"\n"
                     "[ \"$QZ_STANDIN_FAIL\" = EDIT ] && exit 1\n"
                     "exit 0\n");
    Spit(release_ / "Update.INI",
         "[Setting]\r\nVersionCheck=1\r\nVersionFile=files\\Version.ini\r\nTargetMin=3.0.0\r\nTargetMax=3.1.9\r\n"
         "RunCheck=0\r\nConvert_Max=0\r\nImport_Max=0\r\nQZPCNV_Max=0\r\n"
         "[Convert]\r\nExport=CONVERT.INI\r\nImport=CONVERT.INI\r\n"
         "[Copy_001]\r\nFrom=files\r\nTo=%VLMP%\r\n"
         "[Import]\r\nINI=CONVERT.INI\r\nQZSYOLF=masters\\QZSYOLF.CSV;2\r\n"
         "[QZPCNV]\r\nINI=CONVERT.INI\r\nFile=QZKKKLF\r\n"
         "[External]\r\nPG=edit\r\nComment=設定の編集\r\nBackup001=%VLMP%QZP140.INI\r\n"
         "Backup002=%VLMP%QZPNEW.INI\r\nSetting=edit.ini\r\n");
  }

  // The first findings record with its last byte outside every key changed:
  // the master row the release brings (mode 2 replaces the record).
  std::string ChangedFindingsRecord() const {
    const auto defs = record::Definitions::Load(paths_.spec_file);
    const record::FileDef* file = defs->FindFile("QZSYOLF.BTR");
    std::vector<bool> in_key(static_cast<std::size_t>(file->record_length), false);
    for (const record::KeyDef& k : file->keys) {
      for (const record::KeySegment& s : k.segments) {
        for (int i = 0; i < s.length; ++i) in_key[static_cast<std::size_t>(s.position - 1 + i)] = true;
      }
    }
    std::string bytes = ReadRecords(paths_.spec_file).at("QZSYOLF.BTR").front();
    for (std::size_t i = bytes.size(); i-- > 0;) {
      if (!in_key[i]) {
        bytes[i] = 'Z';
        break;
      }
    }
    return bytes;
  }

  // The definition reading `file` in the order of its first key.
  std::string KeyOrder(const std::string& file) const {
    const auto defs = record::Definitions::Load(paths_.spec_file);
    for (const auto& [name, d] : defs->definitions()) {
      if (record::AsciiUpper(d.file) == record::AsciiUpper(file) && d.key == 0) return name;
    }
    return {};
  }

  // Every record of every data file under the definitions `spec`.
  Records ReadRecords(const std::string& spec) const {
    Records all;
    for (const std::string& file : DataFiles()) {
      const std::string definition = KeyOrder(file);
      record::BtrAccess obj;
      EXPECT_TRUE(obj.OpenFile(file, definition, data_.string(), spec)) << file;
      std::vector<std::string>& rows = all[file];
      int status = obj.GetFirst(definition);
      for (; status == record::kStatusOk; status = obj.GetNext()) rows.push_back(obj.RecordBytes());
      EXPECT_EQ(status, record::kStatusEndOfFile) << file;
    }
    return all;
  }

  // What the run must leave as it was when it fails.
  struct Installed {
    Snapshot data;
    std::string spec, csv_ini, version, p140_ini;
    Snapshot program;
    Snapshot csv;
  };
  Installed Take() const {
    return Installed{DataState(),
                     Slurp(program_ / "CPFSPEC.INI"),
                     Slurp(program_ / "QZPCSV.INI"),
                     Slurp(program_ / "Version.ini"),
                     Slurp(program_ / "QZP140.INI"),
                     Files(program_),
                     Files(csv_)};
  }

  // Replaces conversion program `name` (QZPCLR) by a script that runs
  // `before` and then the stand-in.
  void WrapProgram(const std::string& name, const std::string& before) {
    const fs::path real = program_ / (name + ".EXE");
    if (!fs::exists(program_ / "qzpconv")) fs::copy_file(real, program_ / "qzpconv");
    fs::remove(real);
    dir_.WriteScript(fs::relative(real, dir_.path()).string(),
                     "#!/bin/sh\n" + before + "\nexec \"$(dirname \"$0\")/qzpconv\" " + name + " \"$@\"\n");
  }

  // Runs Update on the installation as `Update <program folder>` does;
  // returns its exit status.
  int RunUpdate() { return ProgramMain(shell_, program_.string()); }

  std::string centre_;
  testkit::SuitePaths paths_;
  fs::path program_, data_, csv_, release_;
};

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

class KilledRunTest : public EndToEndTest, public ::testing::WithParamInterface<KillPoint> {
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
};

TEST_P(KilledRunTest, TheNextStartPutsTheInstallationBackThenTheReleaseCompletes) {
  const KillPoint& k = GetParam();
  const Installed before = Apart([&] { return Take(); });
  const std::vector<std::string> top = Top();
  const Records records = Apart([&] { return ReadRecords(paths_.spec_file); });
  {
    testkit::ToolProcess killed("qzupdate", {release_.string(), program_.string(), k.kind, k.text, std::to_string(k.n)});
    const std::vector<std::string> lines = killed.ReadUntil({"KILL", "BOX", "ENDED"});
    ASSERT_EQ(lines.back().rfind(std::string("KILL ") + k.kind, 0), 0u) << lines.back();
  }
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
TEST_F(KilledRunTest, ASecondStartWhileARunIsUnderWayIsRefusedAndLeavesTheRunAlone) {
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

}  // namespace
}  // namespace qz::update
