// The administrators' log of the result screen, written by the real start,
// load, save, release, error reports and end of the program on the demo data.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "data/program_log.h"
#include "examinee/bas_public.h"
#include "examinee/save_fixture.h"
#include "examinee/screen_fixture.h"
#include "loading/load_state.h"
#include "platform/runtime/app.h"
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
  // A box's text as a log line holds it.
  static std::string OneLine(std::string text) {
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, " | ");
    return text;
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
  EXPECT_NE(text.find(" error title=BTRVエラー text=" + one_line + " status=12 file=" + suite_.paths().data +
                      "QZONLLF.BTR\n"),
            std::string::npos)
      << text;
  EXPECT_FALSE(fs::exists(Root() / "LOG"));
}

TEST_F(ProgramLogTest, AStartThatFailsBeforeItKnowsTheDataFolderLogsInTheProgramFoldersLogFolder) {
  suite_.SetPathKey("VLMF", "", false);
  BuildDemo();
  shell_.auto_answer = true;
  EXPECT_FALSE(Start());

  const fs::path program = suite_.paths().program;
  const std::vector<std::string> events = Events(Bytes(program / "LOG"));
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ(events[0].rfind("start terminal=TERM01 user= ", 0), 0u) << events[0];
  EXPECT_EQ(events[1], "message title=INIファイルエラー text=INIファイルの項目の取得に失敗しました。");
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

  // The start line with what the start knew, then its message.
  ASSERT_EQ(while_standing.size(), 2u);
  EXPECT_EQ(while_standing[0].rfind("start terminal=TERM99 user= ", 0), 0u) << while_standing[0];
  EXPECT_NE(while_standing[0].find(" data=" + suite_.paths().data + " "), std::string::npos) << while_standing[0];
  EXPECT_EQ(while_standing[1].rfind("message title=", 0), 0u) << while_standing[1];
  const std::vector<std::string> events = Events(Bytes(Root() / "LOG", "TERM99"));
  EXPECT_EQ(events[1], while_standing[1]);
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
  ASSERT_GE(events.size(), 3u) << text.str();
  EXPECT_EQ(events[0].rfind("start terminal=TERM99 ", 0), 0u) << events[0];
  EXPECT_EQ(events[1].rfind("message title=", 0), 0u) << events[1];
  EXPECT_EQ(events.back(), "end (the start did not complete)");
  EXPECT_FALSE(fs::exists(fs::path(suite_.paths().program) / "LOG"));
}

// Every failure of the start and of the save that the program reports is an
// error line that says what failed and why: the record manager's status and
// file, or the file or folder and the system's reason. A failed start has
// its start line first; no line holds a result value.
class ProgramLogFailureTest;

struct FailureCase {
  const char* name;
  // Changes the suite or the settings before the start; the program may
  // start (true) and then has examinee 4 loaded with values entered.
  std::function<void(ProgramLogFailureTest&)> inject;
  bool starts;
  // Makes the failure after the load; then F12 or やり直し.
  std::function<void(ProgramLogFailureTest&)> after_load;
  const char* box;     // a text of the box that reports it
  const char* words;   // how the error line names the failure, "{data}" and "{program}" for the folders
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class ProgramLogFailureTest : public ProgramLogTest, public ::testing::WithParamInterface<FailureCase> {
 public:
  testkit::SuiteBuilder& suite() { return suite_; }
  fs::path RootPath() const { return Root(); }
};

// The failures a test injects into the record manager's files of the
// suite.
void FailWrites(ProgramLogFailureTest& t, const char* file) {
  testing::FailWritesAfter(t.suite().paths().data + file, {"INSERT", "UPDATE"}, 0);
}

const std::vector<FailureCase>& FailureCases() {
  static const std::vector<FailureCase> cases = {
      {"ProgramFolderMissing", [](ProgramLogFailureTest& t) { App().path = (t.RootPath() / "QZP140X").string(); },
       false, nullptr, "」への移動に失敗しました。", "file={root}QZP140X reason=No such file or directory"},
      {"ProgramFolderIsADanglingLink",
       [](ProgramLogFailureTest& t) {
         fs::create_directory_symlink(t.RootPath() / "gone", t.RootPath() / "QZP140L");
         App().path = (t.RootPath() / "QZP140L").string();
       },
       false, nullptr, "」への移動に失敗しました。", "file={root}QZP140L reason=No such file or directory"},
      {"ProgramFolderNameTooLong",
       [](ProgramLogFailureTest& t) { App().path = (t.RootPath() / std::string(300, 'Q')).string(); }, false,
       nullptr, "」への移動に失敗しました。", "reason=File name too long"},
      {"ProgramFolderNameNotUtf8", [](ProgramLogFailureTest& t) { App().path = (t.RootPath() / "QZP\xff").string(); },
       false, nullptr, "」への移動に失敗しました。", "file={root}QZP\xff reason=No such file or directory"},
      {"PathIniIsAFolder",
       [](ProgramLogFailureTest& t) {
         fs::remove(t.suite().paths().path_ini);
         fs::create_directory(t.suite().paths().path_ini);
       },
       false, nullptr, "INIファイルの項目の取得に失敗しました。", "file={program}QZPPATH.ini reason=Is a directory"},
      {"NoPathIni", [](ProgramLogFailureTest& t) { fs::remove(t.suite().paths().path_ini); }, false, nullptr,
       "はプログラムフォルダではありません（QZPPATH.iniがありません）。",
       "file={program}QZPPATH.ini reason=No such file or directory"},
      {"UserMasterMissing", [](ProgramLogFailureTest& t) { fs::remove(t.suite().paths().data + "QZUSRLF.BTR"); },
       false, nullptr, "利用者マスタオープンエラー", "status=12 file={data}QZUSRLF.BTR"},
      {"AMasterMissing", [](ProgramLogFailureTest& t) { fs::remove(t.suite().paths().data + "QZKOMLF.BTR"); },
       false, nullptr, "検査項目マスタオープンエラー", "status=12 file={data}QZKOMLF.BTR"},
      {"HistoryWriteFails", nullptr, true, [](ProgramLogFailureTest& t) { FailWrites(t, "QZJRKLF.BTR"); },
       "ステータス : ", "status=5 file={data}QZJRKLF.BTR"},
      {"ResultWriteFails", nullptr, true, [](ProgramLogFailureTest& t) { FailWrites(t, "QZKKKLF.BTR"); },
       "ステータス : ", "status=5 file={data}QZKKKLF.BTR"},
      {"ExamineeMasterWriteFails", nullptr, true, [](ProgramLogFailureTest& t) { FailWrites(t, "QZJSNLF.BTR"); },
       "ステータス : ", "status=5 file={data}QZJSNLF.BTR"},
      {"OnlineRowNotReleased", nullptr, true,
       [](ProgramLogFailureTest& t) { fs::remove(t.suite().paths().data + "QZONLLF.BTR"); },
       "オンラインマスタのレコードの削除時にエラーが発生しました。", "status=12 file={data}QZONLLF.BTR"},
  };
  return cases;
}

std::string Replaced(std::string text, const std::string& mark, const std::string& by) {
  for (std::size_t at; (at = text.find(mark)) != std::string::npos;) text.replace(at, mark.size(), by);
  return text;
}

TEST_P(ProgramLogFailureTest, TheErrorLineNamesTheStatusAndFileOrTheReason) {
  const FailureCase& c = GetParam();
  // A start that knows no folder it may write logs here.
  const fs::path state = Root() / "state";
  ASSERT_EQ(::setenv("XDG_STATE_HOME", state.c_str(), 1), 0);
  BuildDemo();
  if (c.inject) c.inject(*this);
  shell_.auto_answer = true;
  if (!c.starts) {
    EXPECT_FALSE(Start());
    EXPECT_TRUE(frmResultIn.StartFailed);
    program_log::Ended();  // as the program's main does
  } else {
    ASSERT_TRUE(StartAndChoose(kNew, kToday));
    ASSERT_TRUE(TypeAndEnter(1001, "172"));
    c.after_load(*this);
    if (std::string(c.box).find("オンライン") != std::string::npos) {
      shell_.auto_answer = false;
      shell_.AnswerBox(ui::MsgResult::kOk, "保存せずに終了します。").AnswerBox(ui::MsgResult::kOk, c.box);
      ASSERT_TRUE(Drive([&] { form().cmdAgain_Click(); }));
    } else {
      shell_.Key(ui::kKeyF12);
      EXPECT_TRUE(shell_.Play());
    }
    EXPECT_FALSE(frmResultIn.StartFailed);
  }
  std::string report;
  for (const std::string& box : Boxes()) {
    if (box.find(c.box) != std::string::npos) report = box;
  }
  ASSERT_FALSE(report.empty()) << ::testing::PrintToString(Boxes());
  // Where the log went: beside the data, else in the program folder, else
  // in the state folder.
  std::string text = Bytes(Root() / "LOG");
  if (text.empty()) text = Bytes(fs::path(suite_.paths().program) / "LOG");
  if (text.empty()) text = Bytes(state / "qz140");
  ::unsetenv("XDG_STATE_HOME");
  const std::vector<std::string> events = Events(text);
  ASSERT_GE(events.size(), 2u) << text;
  EXPECT_EQ(events.front().rfind("start terminal=TERM01 ", 0), 0u) << text;
  std::string line;
  for (const std::string& e : events) {
    if ((e.rfind("error ", 0) == 0 || e.rfind("message ", 0) == 0) && e.find(OneLine(report)) != std::string::npos) {
      line = e;
    }
  }
  ASSERT_FALSE(line.empty()) << "no error line of " << report << "\n" << text;
  const std::string words = Replaced(Replaced(Replaced(c.words, "{data}", suite_.paths().data), "{program}",
                                              suite_.paths().program),
                                     "{root}", suite_.paths().root);
  EXPECT_EQ(line.substr(line.size() - std::min(line.size(), words.size())), words) << line;
  // The status the box shows is the one logged.
  if (const std::size_t at = report.find("ステータス : "); at != std::string::npos) {
    EXPECT_NE(line.find(" status=" + report.substr(at + std::string("ステータス : ").size()) + " "), std::string::npos)
        << line;
  }
  EXPECT_EQ(text.find("172"), std::string::npos) << text;
  if (!c.starts) EXPECT_EQ(events.back().rfind("end", 0), 0u) << events.back();
}

INSTANTIATE_TEST_SUITE_P(Failures, ProgramLogFailureTest, ::testing::ValuesIn(FailureCases()),
                         [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qz::test
