// The [STORAGE] section of the definitions names its folders the suite's
// way ("C:\QZP\DATA") or this machine's: both sides are compared in this
// machine's form. A folder that QZPPATH.ini names natively and [STORAGE] the
// suite's way is served from the server of its line; a line that names none
// of the folders the program opens is reported at the start, with a box and
// in the log, and the start goes on.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "data/record_layouts.h"
#include "examinee/bas_public.h"
#include "examinee/screen_fixture.h"
#include "grid/item_row_map.h"
#include "kit/pg_server.h"
#include "platform/path/host_path.h"
#include "platform/record/btr_file.h"
#include "platform/record/definitions.h"
#include "platform/record/status.h"
#include "platform/record/storage_location.h"

namespace qz::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kExaminee = "0000000004";  // no results yet today

std::string Slurp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class StorageFolderTest : public ScreenTest {
 protected:
  ~StorageFolderTest() override { path::SetDriveRoot('C', std::nullopt); }

  fs::path Root() const { return fs::path(suite_.paths().root).parent_path(); }
  // "C:\<suite>", drive C being the folder that holds the suite.
  std::string SuiteRoot() {
    path::SetDriveRoot('C', Root().parent_path().string());
    return "C:\\" + Root().filename().string();
  }
  // Rewrites the [STORAGE] section of the built definitions: its lines as
  // they are except the data folder's (when `data` is given), then `extra`.
  void SetStorage(const std::optional<std::string>& data, const std::vector<std::string>& extra) {
    const std::string file = suite_.paths().spec_file;
    std::string text = Slurp(file);
    const auto defs = record::Definitions::Parse(text);
    ASSERT_TRUE(defs);
    text = text.substr(0, text.find("[STORAGE]")) + "\r\n[STORAGE]\r\n";
    for (const std::string& folder : defs->StorageFolders()) {
      if (data && record::SameStorageFolder(folder, suite_.paths().data)) continue;
      text += folder + "=" + *defs->FindStorage(folder) + "\r\n";
    }
    if (data) text += SuiteRoot() + "\\DATA=" + *data + "\r\n";
    for (const std::string& line : extra) text += line + "\r\n";
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
  }
  std::string LogText() const { return Slurp(Root() / "LOG" / "QZP140_TERM01.log"); }
};

struct UnmatchedCase {
  const char* name;
  const char* folder;  // "{suite}": the suite's folder the suite's way, "{native}": natively
  bool lower_case;     // the whole line's folder in lower case
  bool reported;
};

void PrintTo(const UnmatchedCase& c, std::ostream* os) { *os << c.name; }

class StorageLineTest : public StorageFolderTest, public ::testing::WithParamInterface<UnmatchedCase> {};

TEST_P(StorageLineTest, ALineThatNamesNoFolderOfTheProgramIsReportedAtTheStart) {
  const UnmatchedCase& c = GetParam();
  BuildDemo();
  std::string folder = c.folder;
  if (const std::size_t at = folder.find("{suite}"); at != std::string::npos) folder.replace(at, 7, SuiteRoot());
  if (const std::size_t at = folder.find("{native}"); at != std::string::npos) folder.replace(at, 8, Root().string());
  if (c.lower_case) {
    for (char& ch : folder) ch = (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
  }
  SetStorage(std::nullopt, {folder + "=SQLITE"});
  shell_.auto_answer = true;

  ASSERT_TRUE(Start()) << "the start goes on";

  std::vector<std::string> reports;
  for (const std::string& box : Boxes()) {
    if (box.find("[STORAGE]") != std::string::npos) reports.push_back(box);
  }
  if (!c.reported) {
    EXPECT_TRUE(reports.empty()) << reports.front();
    EXPECT_EQ(LogText().find("[STORAGE]"), std::string::npos);
    return;
  }
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find("[STORAGE] : " + folder + "\r\n"), std::string::npos) << reports[0];
  EXPECT_NE(reports[0].find("データフォルダ : " + suite_.paths().data), std::string::npos) << reports[0];
  EXPECT_NE(LogText().find(" message title=結果入力 text=定義ファイル「"), std::string::npos) << LogText();
  EXPECT_NE(LogText().find("[STORAGE] : " + folder + " | "), std::string::npos) << LogText();
}

INSTANTIATE_TEST_SUITE_P(
    Start, StorageLineTest,
    ::testing::Values(UnmatchedCase{"DataTheSuitesWay", "{suite}\\DATA", false, false},
                      UnmatchedCase{"WorkTheSuitesWayInOtherCase", "{suite}\\SVWORK\\", true, false},
                      UnmatchedCase{"DataNatively", "{native}/DATA/", false, false},
                      UnmatchedCase{"AMistypedFolder", "{suite}\\DAT", false, true},
                      UnmatchedCase{"AnotherDrive", "D:\\QZP\\DATA", false, true},
                      UnmatchedCase{"AnotherNativeFolder", "{native}/OLD/DATA", false, true}),
    [](const ::testing::TestParamInfo<UnmatchedCase>& info) { return std::string(info.param.name); });

// The README's line, C:\<suite>\DATA, with QZPPATH.ini naming the folder
// natively: the program opens its files on the server (the folder holds no
// SQLite file any more), and a save is stored there.
TEST_F(StorageFolderTest, AFolderNamedTheSuitesWayIsServedFromTheServer) {
  QZ_PG_OR_SKIP();
  BuildDemo();
  const std::string schema = testkit::NewPgSchema();
  struct Dropped {
    std::string schema;
    ~Dropped() { testkit::DropPgSchema(schema); }
  } dropped{schema};
  // The data folder's files copied to the new schema.
  auto copy = record::Definitions::Load(suite_.paths().spec_file);
  ASSERT_TRUE(copy);
  const std::string target = "/qz-storage-target";
  copy->AddStorage(target, testkit::PgStorage(schema));
  for (const data::FileLayout* l : data::AllLayouts()) {
    if (l->folder != data::FileFolder::kData || record::RecordFileExists(*copy, l->file, target)) continue;
    ASSERT_EQ(record::CopyRecordFile(*copy, l->file, suite_.paths().data, target, true), record::kStatusOk) << l->file;
  }
  SetStorage(testkit::PgStorage(schema), {});
  for (const auto& e : fs::directory_iterator(suite_.paths().data)) fs::remove_all(e.path());

  shell_.auto_answer = true;
  ASSERT_TRUE(Start(kExaminee));
  EXPECT_TRUE(Boxes().empty()) << Boxes().front();
  ASSERT_EQ(OnlineRows().size(), 1u) << "the on-line row is on the server";
  const std::int16_t line = Fnc_FindItemRow(static_cast<std::int16_t>(ItemIndex(1001)));
  ASSERT_TRUE(Drive([&] {
    form().sprResult.TypeIntoCell(basPublic.ResultCol, Fnc_ItemToRow(line), "172");
    form().sprResult.DeliverKeyDown(13, 0);
  }));
  Drive([&] { form().cmdEnd_Click(); });

  EXPECT_TRUE(OnlineRows().empty());
  const std::vector<std::string> stored = StoredResults(kExaminee, kToday);
  EXPECT_NE(std::find(stored.begin(), stored.end(), "1001=172.0"), stored.end()) << testing::PrintToString(stored);
  EXPECT_TRUE(fs::is_empty(suite_.paths().data)) << "no SQLite file was made in the folder";
}

}  // namespace
}  // namespace qz::test
