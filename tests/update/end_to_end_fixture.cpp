#include "update/end_to_end_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "data/create_process.h"
#include "kit/demo_data.h"
#include "kit/pg_server.h"
#include "kit/tool_path.h"
#include "platform/record/btr_access.h"
#include "platform/record/btr_file.h"
#include "platform/record/definitions.h"
#include "platform/record/status.h"
#include "platform/record/storage_location.h"
#include "platform/runtime/app.h"
#include "platform/system/instance_lock.h"
#include "platform/text/hex.h"
#include "update/update_main.h"

namespace qz::update::testing {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

void Spit(const fs::path& file, const std::string& bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

Snapshot Files(const fs::path& folder) {
  Snapshot s;
  for (const auto& e : fs::recursive_directory_iterator(folder)) {
    const std::string name = fs::relative(e.path(), folder).string();
    s[name] = e.is_regular_file() ? Slurp(e.path()) : "<folder>";
  }
  return s;
}

void EndToEndTest::SetUp() {
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

void EndToEndTest::TearDown() {
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

void EndToEndTest::MakeInstallation(const std::string& tool) {
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

std::vector<std::string> EndToEndTest::DataFiles() const {
  const auto defs = record::Definitions::Load(paths_.spec_file);
  std::vector<std::string> files;
  for (const auto& [name, file] : defs->files()) {
    if (record::RecordFileExists(*defs, name, data_.string())) files.push_back(name);
  }
  return files;
}

std::vector<std::string> EndToEndTest::StorageOf(const std::string& spec) const {
  const auto defs = record::Definitions::Load(spec);
  std::vector<std::string> entries;
  for (const std::string& folder : {paths_.data, paths_.work}) {
    const std::string* entry = defs->FindStorage(folder);
    entries.push_back(entry ? *entry : "");
  }
  return entries;
}

Snapshot EndToEndTest::DataState() const {
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

std::string EndToEndTest::Definition(bool numeric) const {
  std::string text = "[SysInfo]\r\nVersion=1\r\n";
  for (const std::string& file : DataFiles()) {
    const std::string stem = fs::path(file).stem().string();
    text += "[" + stem + "]\r\nInFile=" + file + "\r\nOutFile=" + stem + ".CSV\r\n";
    if (numeric && stem == "QZKKKLF") text += "Numeric=289:12\r\n";
  }
  return text;
}

void EndToEndTest::MakeRelease() {
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

std::string EndToEndTest::ChangedFindingsRecord() const {
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

std::string EndToEndTest::KeyOrder(const std::string& file) const {
  const auto defs = record::Definitions::Load(paths_.spec_file);
  for (const auto& [name, d] : defs->definitions()) {
    if (record::AsciiUpper(d.file) == record::AsciiUpper(file) && d.key == 0) return name;
  }
  return {};
}

Records EndToEndTest::ReadRecords(const std::string& spec) const {
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

EndToEndTest::Installed EndToEndTest::Take() const {
  return Installed{DataState(),
                   Slurp(program_ / "CPFSPEC.INI"),
                   Slurp(program_ / "QZPCSV.INI"),
                   Slurp(program_ / "Version.ini"),
                   Slurp(program_ / "QZP140.INI"),
                   Files(program_),
                   Files(csv_)};
}

void EndToEndTest::WrapProgram(const std::string& name, const std::string& before) {
  const fs::path real = program_ / (name + ".EXE");
  if (!fs::exists(program_ / "qzpconv")) fs::copy_file(real, program_ / "qzpconv");
  fs::remove(real);
  dir_.WriteScript(fs::relative(real, dir_.path()).string(),
                   "#!/bin/sh\n" + before + "\nexec \"$(dirname \"$0\")/qzpconv\" " + name + " \"$@\"\n");
}
bool EndToEndTest::OnServer() const { return !StorageOf(paths_.spec_file).front().empty(); }

int EndToEndTest::RunUpdate() { return ProgramMain(shell_, program_.string()); }

}  // namespace qz::update::testing
