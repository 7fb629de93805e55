// The administrators' log of the result screen, written by the real start,
// load, save, release, error reports and end of the program on the demo data.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "examinee/screen_fixture.h"
#include "grid/item_row_map.h"
#include "platform/system/system_info.h"
#include "platform/text/cp932.h"
#include "platform/ui/controls.h"
#include "platform/ui/shell.h"

namespace qz::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kNew = "0000000004";  // no results yet today

class ProgramLogTest : public ScreenTest {
 protected:
  // The log file in `folder` as bytes.
  static std::string Bytes(const fs::path& folder, const std::string& terminal = "TERM01") {
    std::ifstream in(folder / ("QZP140_" + terminal + ".log"), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // The lines, without their time stamps.
  static std::vector<std::string> Events(const std::string& text) {
    std::vector<std::string> events;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
      EXPECT_EQ(line[4], '-') << line;
      events.push_back(line.substr(24));
    }
    return events;
  }
  fs::path Root() const { return fs::path(suite_.paths().root); }
  bool TypeAndEnter(long long code, const std::string& text) {
    const std::int16_t line = Fnc_FindItemRow(static_cast<std::int16_t>(ItemIndex(code)));
    return Drive([&] {
      form().sprResult.TypeIntoCell(basPublic.ResultCol, Fnc_ItemToRow(line), text);
      form().sprResult.DeliverKeyDown(13, 0);
    });
  }
  void CloseSearch() {
    Drive([] { ui::Shell::Require().FindForm("frmSearch")->Get<ui::CommandButton>("cmdClose").on_click(); });
  }
};

TEST_F(ProgramLogTest, ACycleIsLoggedBesideTheDataFolderWithoutItsResultValues) {
  BuildDemo();
  ASSERT_TRUE(StartAndChoose(kNew, kToday));
  const int online = basPublic.OnlineRen;
  shell_.auto_answer = true;
  ASSERT_TRUE(TypeAndEnter(1001, "172"));
  ASSERT_TRUE(TypeAndEnter(1002, "81"));
  ASSERT_TRUE(Drive([&] { form().cmdEnd_Click(); }));
  CloseSearch();

  const std::string text = Bytes(Root() / "LOG");
  const std::vector<std::string> events = Events(text);
  ASSERT_EQ(events.size(), 5u) << text;
  const std::string suite = suite_.paths().root;
  EXPECT_EQ(events[0], "start terminal=TERM01 user=" + basPublic.LogonUserId + " os-user=" + system::UserName() +
                           " program=" + suite + "QZP140/ data=" + suite + "DATA/ work=" + suite +
                           "SVWORK/ definitions=" + suite + "QZP140/CPFSPEC.INI");
  const std::string examinee = std::string("examinee=") + kNew + " date=" + std::to_string(kToday);
  EXPECT_EQ(events[1], "loaded " + examinee + " online=" + std::to_string(online));
  // The examinee master, the history and every result of the consultation.
  EXPECT_EQ(events[2].substr(0, events[2].find(" ms=")), "saved " + examinee + " records=" +
                                                              std::to_string(2 + StoredResults(kNew, kToday).size()));
  EXPECT_EQ(events[3], "released " + examinee + " online=" + std::to_string(online));
  EXPECT_EQ(events[4], "end");
  for (const char* value : {"172", "81", "27.4"}) EXPECT_EQ(text.find(value), std::string::npos) << value;
}

TEST_F(ProgramLogTest, ARefusedTypedValueQuotedByItsMessageStaysOutOfTheLog) {
  BuildDemo();
  ASSERT_TRUE(StartAndChoose(kNew, kToday));
  shell_.AnswerBox(ui::MsgResult::kOk, "「17x2」");
  ASSERT_TRUE(TypeAndEnter(1001, "17x2"));
  shell_.auto_answer = true;
  ASSERT_TRUE(Drive([&] { form().cmdEnd_Click(); }));
  CloseSearch();

  const std::string text = Bytes(Root() / "LOG");
  EXPECT_NE(text.find(" end\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("17x2"), std::string::npos) << text;
}

TEST_F(ProgramLogTest, ALogWhoseWritesFailLosesNoSave) {
  const fs::path folder = Root() / "full";
  suite_.SetIni("Log", "Folder", folder.string());
  BuildDemo();
  fs::create_directories(folder);
  fs::create_symlink("/dev/full", folder / "QZP140_TERM01.log");  // every write fails: no space
  ASSERT_TRUE(StartAndChoose(kNew, kToday));
  shell_.auto_answer = true;
  ASSERT_TRUE(TypeAndEnter(1001, "172"));
  ASSERT_TRUE(Drive([&] { form().cmdEnd_Click(); }));

  EXPECT_TRUE(SearchShown());
  const std::vector<std::string> stored = StoredResults(kNew, kToday);
  EXPECT_NE(std::find(stored.begin(), stored.end(), "1001=172.0"), stored.end()) << ::testing::PrintToString(stored);
  CloseSearch();
}

TEST_F(ProgramLogTest, ARecordManagerFailureIsLoggedInTheFolderAndCodePageTheSettingsName) {
  suite_.SetIni("Log", "Folder", suite_.paths().root + "logs");
  suite_.SetIni("Log", "Encoding", "CP932");
  BuildDemo();
  ASSERT_TRUE(StartAndChoose(kNew, kToday));
  fs::remove(suite_.paths().data + "QZONLLF.BTR");
  shell_.AnswerBox(ui::MsgResult::kOk, "保存せずに終了します。")
      .AnswerBox(ui::MsgResult::kOk, "オンラインマスタのレコードの削除時にエラーが発生しました。");
  ASSERT_TRUE(Drive([&] { form().cmdAgain_Click(); }));

  const std::string bytes = Bytes(Root() / "logs");
  const std::string text = text::FromCp932(bytes);
  EXPECT_NE(bytes, text);  // written in the code page, not in UTF-8
  std::string report;
  for (const std::string& box : Boxes()) {
    if (box.find("削除時にエラー") != std::string::npos) report = box;
  }
  ASSERT_FALSE(report.empty());
  std::string one_line = report;
  for (std::size_t at; (at = one_line.find("\r\n")) != std::string::npos;) one_line.replace(at, 2, " | ");
  EXPECT_NE(text.find(" error title=BTRVエラー text=" + one_line + "\n"), std::string::npos) << text;
  EXPECT_FALSE(fs::exists(Root() / "LOG"));
}

TEST_F(ProgramLogTest, AStartThatFailsBeforeItKnowsTheDataFolderLogsInTheProgramFoldersLogFolder) {
  suite_.SetPathKey("VLMF", "", false);
  BuildDemo();
  shell_.auto_answer = true;
  EXPECT_FALSE(Start());

  const fs::path program = suite_.paths().program;
  const std::vector<std::string> events = Events(Bytes(program / "LOG"));
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.front(), "message title=INIファイルエラー text=INIファイルの項目の取得に失敗しました。");
  EXPECT_EQ(events.back(), "end (the start did not complete)");
  EXPECT_FALSE(fs::exists(program / "QZP140_TERM01.log"));
}

TEST_F(ProgramLogTest, AStartsMessageIsInTheLogWhileItsBoxStands) {
  BuildDemo();
  system::SetComputerNameForTest("TERM99");  // no log-on row names it
  std::vector<std::string> while_standing;
  shell_.on_box = [&](const ui::MessageBoxRequest&) {
    while_standing = Events(Bytes(Root() / "LOG", "TERM99"));
  };
  shell_.auto_answer = true;
  EXPECT_FALSE(Start());

  ASSERT_EQ(while_standing.size(), 1u);
  EXPECT_EQ(while_standing.front().rfind("message title=", 0), 0u) << while_standing.front();
  const std::vector<std::string> events = Events(Bytes(Root() / "LOG", "TERM99"));
  EXPECT_EQ(events.front(), while_standing.front());
  EXPECT_EQ(events.back(), "end (the start did not complete)");
}

TEST_F(ProgramLogTest, AStartThatFailsAfterReadingTheDataFolderLogsBesideIt) {
  BuildDemo();
  system::SetComputerNameForTest("TERM99");  // no log-on row names it
  shell_.auto_answer = true;
  EXPECT_FALSE(Start());

  std::ifstream in(Root() / "LOG" / "QZP140_TERM99.log", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  const std::vector<std::string> events = Events(text.str());
  ASSERT_GE(events.size(), 2u) << text.str();
  EXPECT_EQ(events.front().rfind("message title=", 0), 0u) << events.front();
  EXPECT_EQ(events.back(), "end (the start did not complete)");
  EXPECT_FALSE(fs::exists(fs::path(suite_.paths().program) / "LOG"));
}

}  // namespace
}  // namespace qz::test
