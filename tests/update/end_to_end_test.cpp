// The version-up end to end, as an administrator runs it: a demo centre's
// installation, a release that widens the results file's records, and the
// suite's conversion programs as real processes (the qzpconv stand-ins on
// the record manager). A clean run keeps every record; a run whose
// conversion, import, numeric initialisation or external edit fails leaves
// the data folder, the definitions and the installed version exactly as
// they were.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "data/create_process.h"
#include "kit/demo_data.h"
#include "kit/suite_builder.h"
#include "kit/tool_path.h"
#include "kit/ui_expect.h"
#include "platform/record/btr_access.h"
#include "platform/record/definitions.h"
#include "platform/record/status.h"
#include "platform/runtime/app.h"
#include "platform/text/hex.h"
#include "platform/system/instance_lock.h"
#include "platform/ui/shell.h"
#include "update/bas_public.h"
#include "update/frm_main.h"
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

  // The record-manager files of the data folder, in name order.
  std::vector<std::string> DataFiles() const {
    std::vector<std::string> files;
    for (const auto& e : fs::directory_iterator(data_)) {
      if (e.path().extension() == ".BTR") files.push_back(e.path().filename().string());
    }
    std::sort(files.begin(), files.end());
    return files;
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
    Spit(files / "CPFSPEC.INI", spec);
    Spit(files / "QZPCSV.INI", Definition(true));
    Spit(files / "QZP140B.EXE", "a new program of the release");
    Spit(files / "manual" / "UPDATE.TXT", "what is new");
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
         "[External]\r\nPG=edit\r\nComment=設定の編集\r\nBackup001=%VLMP%QZP140.INI\r\nSetting=edit.ini\r\n");
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

  // Every record of every data file under the definitions `spec`.
  Records ReadRecords(const std::string& spec) const {
    const auto defs = record::Definitions::Load(spec);
    Records all;
    for (const std::string& file : DataFiles()) {
      std::string definition;
      for (const auto& [name, d] : defs->definitions()) {
        if (record::AsciiUpper(d.file) == record::AsciiUpper(file) && d.key == 0) definition = name;
      }
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
    return Installed{Files(data_),
                     Slurp(program_ / "CPFSPEC.INI"),
                     Slurp(program_ / "QZPCSV.INI"),
                     Slurp(program_ / "Version.ini"),
                     Slurp(program_ / "QZP140.INI"),
                     Files(program_),
                     Files(csv_)};
  }

  // Runs Update on the installation as `Update <program folder>` does.
  void RunUpdate() { shell_.Drive([&] { Main(program_.string()); }); }

  std::string centre_;
  testkit::SuitePaths paths_;
  fs::path program_, data_, csv_, release_;
};

TEST_F(EndToEndTest, ACleanRunConvertsEveryRecordIntoTheWiderLayout) {
  const Records before = ReadRecords(paths_.spec_file);
  ASSERT_GT(before.at("QZKKKLF.BTR").size(), 50u);
  const std::string p140_ini = Slurp(program_ / "QZP140.INI");
  shell_.AnswerBox(MsgResult::kOk, "バージョンアップ処理が終了しました。");

  RunUpdate();

  EXPECT_SCRIPT_OK(shell_);
  EXPECT_EQ(ExitStatus(true), 0);
  EXPECT_TRUE(Logged("※コンバート②処理が正常終了しました。"));
  EXPECT_TRUE(Logged("※数値項目初期化処理が正常終了しました。"));
  EXPECT_TRUE(Logged("※外部編集処理が正常終了しました。"));
  EXPECT_EQ(Slurp(program_ / "Version.ini"), "[Version]\r\nNow=3.2.0\r\n");
  EXPECT_EQ(Slurp(program_ / "CPFSPEC.INI"), Slurp(release_ / "files" / "CPFSPEC.INI"));
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

  RunUpdate();

  EXPECT_SCRIPT_OK(shell_);
  EXPECT_TRUE(Logged(c.line));
  EXPECT_TRUE(Logged("※バックアップからの復元が正常終了しました。"));
  EXPECT_NE(ExitStatus(true), 0);
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

TEST_F(EndToEndTest, TheWindowCannotBeClosedDuringTheRebuild) {
  // The rebuild program takes a moment, as on a centre's data; while it
  // runs the operator tries to close the progress window.
  const std::string real = (program_ / "QZPCLR.EXE").string();
  fs::rename(real, program_ / "qzpconv");
  dir_.WriteScript(fs::relative(real, dir_.path()).string(),
                   "#!/bin/sh\nsleep 0.3\nexec \"$(dirname \"$0\")/qzpconv\" QZPCLR \"$@\"\n");
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
        }
        ui::DoEvents();
      }});
  shell_.AnswerBox(MsgResult::kOk, "バージョンアップ処理が終了しました。");

  RunUpdate();

  EXPECT_SCRIPT_OK(shell_);
  EXPECT_TRUE(asked);
  // The program waits for the rebuild: the screen takes no input then, so
  // the close box is refused before it reaches the window.
  EXPECT_FALSE(closed);
  EXPECT_EQ(ExitStatus(true), 0);
  const Records after = ReadRecords((program_ / "CPFSPEC.INI").string());
  for (const auto& [file, rows] : before) EXPECT_EQ(after.at(file).size(), rows.size()) << file;
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
  const Snapshot data = Files(data_);
  // Every record again: the first duplicate key stops the import, and the
  // records before it are not kept either.
  Spit(csv, exported + exported.substr(exported.find("\r\n") + 2));
  EXPECT_EQ(run("QZPGENCNV.EXE QZSYOLF"), 2);
  EXPECT_EQ(run("QZPGENCNV.EXE QZSYOLF1"), 2);
  EXPECT_EQ(Files(data_), data);
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
  EXPECT_EQ(Files(data_), data);
}

}  // namespace
}  // namespace qz::update
