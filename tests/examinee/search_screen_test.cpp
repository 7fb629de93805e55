// The search screen the result screen opens: what it lists, how much of the
// files its refill reads, and what a choice does in the on-line table.
#include "suite/search_form.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "data/define_fields.h"
#include "data/record_layouts.h"
#include "examinee/bas_public.h"
#include "examinee/save_fixture.h"
#include "examinee/screen_fixture.h"
#include "kit/demo_data.h"
#include "kit/history_without_date_key.h"
#include "kit/sqlite_page_reads.h"
#include "kit/ui_expect.h"
#include "loading/load_state.h"
#include "platform/record/btr_access.h"
#include "platform/record/server_statements.h"
#include "platform/record/status.h"
#include "platform/ui/shell.h"

namespace qz::test {
namespace {

using ui::MsgResult;

constexpr int kYesterday = kToday - 1;  // 2026-12-08
constexpr int kTomorrow = kToday + 1;   // 2026-12-10

// The count of SQLite's reads goes under every connection of this test
// program before any test opens a record file, whichever tests run in it.
[[maybe_unused]] const bool kCountingReads = (testkit::CountSqlitePageReads(), true);

bool OnServer() {
  const char* engine = std::getenv("QZ_SUITE_ENGINE");
  return engine != nullptr && std::string_view(engine) == "postgres";
}

class SearchScreenTest : public ScreenTest {
 protected:
  FrmSearch& Search() { return dynamic_cast<FrmSearch&>(*ui::Shell::Require().FindForm("frmSearch")); }

  // The list as "<number> <kana> <name> <date>" lines, as the screen shows
  // them.
  std::vector<std::string> ListRows() {
    std::vector<std::string> rows;
    for (int r = 1; r < Search().lstExaminee.rows(); ++r) {
      std::string line;
      for (int c = 0; c < 4; ++c) line += (c == 0 ? "" : " ") + Search().lstExaminee.TextMatrix(r, c);
      rows.push_back(line);
    }
    return rows;
  }

  // The demo centre with, besides the demo's five examinees (each with a
  // consultation today and earlier ones): examinee 0 (number order before
  // the demo's, added after them) consulting today, examinee 98 only
  // yesterday and tomorrow, examinee 99 never, and a consultation today of
  // examinee 97, who is not in the examinee master.
  void DescribeCentre() {
    for (const char* code : {"0000000000", "0000000098", "0000000099"}) {
      suite_.Add("QZJSNLF", {{"CODE", code}, {"KANA", "ﾃｽﾄ"}, {"NAME", "試験"}, {"SEX", 1}, {"BIRTH", 19700101}});
    }
    suite_.Add("QZJRKLF", {{"CODE", "0000000000"}, {"JDATE", kToday}});
    suite_.Add("QZJRKLF", {{"CODE", "0000000098"}, {"JDATE", kYesterday}});
    suite_.Add("QZJRKLF", {{"CODE", "0000000098"}, {"JDATE", kTomorrow}});
    suite_.Add("QZJRKLF", {{"CODE", "0000000097"}, {"JDATE", kToday}});
  }

  // Adds `count` examinees numbered from `first` on, each with a
  // consultation yesterday and one tomorrow, in one transaction; false when
  // a write fails.
  bool AddOtherExaminees(int first, int count) const {
    record::BtrAccess jsn, jrk;
    if (!jsn.OpenFile("QZJSNLF.BTR", "QZJSNLF", suite_.paths().data, suite_.paths().spec_file) ||
        !jrk.OpenFile("QZJRKLF.BTR", "QZJRKLF", suite_.paths().data, suite_.paths().spec_file)) {
      return false;
    }
    DefineLayoutFields(jsn, data::QzjsnlfLayout());
    DefineLayoutFields(jrk, data::QzjrklfLayout());
    bool ok = jsn.BeginTrans() == record::kStatusOk;
    for (int n = first; ok && n < first + count; ++n) {
      const std::string code = "000000" + std::to_string(n);
      jsn.SetRecordBytes("");
      jsn.SetField("CODE", code);
      jsn.SetField("NAME", "他の受診者");
      ok = jsn.Insert("QZJSNLF") == record::kStatusOk;
      for (const int date : {kYesterday, kTomorrow}) {
        jrk.SetRecordBytes("");
        jrk.SetField("CODE", code);
        jrk.SetField("JDATE", date);
        ok = ok && jrk.Insert("QZJRKLF") == record::kStatusOk;
      }
    }
    return ok ? jsn.EndTrans() == record::kStatusOk : (jsn.AbortTrans(), false);
  }

};

// Where the history's date key is: in the definitions and the file, in
// neither (an earlier release's), or in the definitions only (brought
// without a rebuild of the file).
enum class DateKey { kInBoth, kInNeither, kInTheDefinitionsOnly };

class SearchListTest : public SearchScreenTest, public ::testing::WithParamInterface<DateKey> {};

// The list holds today's consultations in examinee-number order, each with
// its examinee's reading and name; no examinee without one today, and no
// consultation whose examinee the master lacks. A centre whose definitions
// give the history no date key (an earlier release's), or whose history
// file was made without it, lists the same.
TEST_P(SearchListTest, TodaysConsultationsAreTheRowsInExamineeNumberOrder) {
  DescribeCentre();
  BuildDemo();
  if (GetParam() != DateKey::kInBoth) {
    ASSERT_EQ(testkit::MakeHistoryWithoutDateKey(suite_.paths().spec_file, suite_.paths().data,
                                                 GetParam() == DateKey::kInTheDefinitionsOnly),
              "");
  }
  ASSERT_TRUE(Start());
  std::vector<std::string> expected = {"0000000000 ﾃｽﾄ 試験 2026/12/09"};
  for (int e = 1; e <= 5; ++e) {
    const std::string code = "000000000" + std::to_string(e);
    const int row = SearchRow(code, kToday);
    ASSERT_GE(row, 1) << code;
    const SearchListEntry& entry = Search().entries()[static_cast<std::size_t>(row - 1)];
    EXPECT_FALSE(entry.Name.empty()) << code;
    expected.push_back(code + " " + entry.Kana + " " + entry.Name + " 2026/12/09");
  }
  EXPECT_EQ(ListRows(), expected);
  EXPECT_EQ(Search().entries().size(), expected.size());
  EXPECT_EQ(Search().lstExaminee.row(), 1);
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

INSTANTIATE_TEST_SUITE_P(Definitions, SearchListTest,
                         ::testing::Values(DateKey::kInBoth, DateKey::kInNeither, DateKey::kInTheDefinitionsOnly),
                         [](const ::testing::TestParamInfo<DateKey>& info) {
                           return std::string(info.param == DateKey::kInBoth      ? "ByTheDateKey"
                                              : info.param == DateKey::kInNeither ? "WithoutTheDateKey"
                                                                                  : "OnAFileMadeWithoutTheDateKey");
                         });

// The refill reads as much in a centre of a thousand more examinees with
// two consultations each on other days: on SQLite the same pages within
// the growth of the files' trees by a level, on the server the same number
// of statements.
TEST_F(SearchScreenTest, TheRefillReadsAsMuchWhateverTheOtherExamineesAndDays) {
  const auto reads = [] { return OnServer() ? record::ServerStatements() : testkit::SqlitePageReads(); };
  DescribeCentre();
  BuildDemo();
  ASSERT_TRUE(Start());
  // Before each refill another process (as another terminal would) adds
  // `others` + 1 examinees, each with a consultation yesterday and one
  // tomorrow: neither refill finds the files' pages in SQLite's cache.
  int next = 1000;
  const auto refill = [&](int others) {
    const int first = next;
    next += others + 1;
    const pid_t child = ::fork();
    if (child == 0) ::_exit(AddOtherExaminees(first, others + 1) ? 0 : 1);
    int status = -1;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other terminal's writes";
    const std::uint64_t before = reads();
    EXPECT_TRUE(Drive([&] { form().ShowSearchScreen(); }));
    return reads() - before;
  };
  const std::uint64_t small = refill(0);
  const std::uint64_t large = refill(1000);
  EXPECT_EQ(Search().entries().size(), 6u);
  EXPECT_GT(small, 0u) << "the count reaches the reads";
  RecordProperty("small_centre_reads", static_cast<int>(small));
  RecordProperty("large_centre_reads", static_cast<int>(large));
  if (OnServer()) {
    EXPECT_EQ(large, small) << "statements";
  } else {
    // A scan of the larger files reads over a hundred pages more.
    EXPECT_LE(large, small + 16) << "pages read, small centre " << small;
  }
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

// A file the refill cannot read, with the warning its failure shows.
struct UnreadableFile {
  const char* file;
  const char* warning;
};

class SearchReadFailureTest : public SearchScreenTest, public ::testing::WithParamInterface<UnreadableFile> {};

// A refill whose reads fail says so and lists nothing: an unreadable
// history or examinee master never shows as a day without consultations,
// nor as a part of the day's list to choose from. The next refill, the
// file readable again, lists the day.
TEST_P(SearchReadFailureTest, TheFailureIsReportedAndNoRowIsOffered) {
  BuildDemo();
  ASSERT_TRUE(StartAndChoose("0000000001", kToday));
  const std::string path = suite_.paths().data + GetParam().file;
  testing::FailReads(path);
  shell_.AnswerBox(MsgResult::kOk, "保存せずに終了します。").AnswerBox(MsgResult::kOk, GetParam().warning);
  ASSERT_TRUE(Drive([&] { form().cmdAgain_Click(); }));
  testing::HealReads(path);
  EXPECT_TRUE(SearchShown());
  EXPECT_TRUE(Search().entries().empty());
  EXPECT_EQ(Search().lstExaminee.rows(), 1);
  const std::vector<std::string> boxes = Boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_NE(boxes[1].find("\r\nステータス : "), std::string::npos) << boxes[1];
  EXPECT_TRUE(testkit::ScriptOk(shell_));
  ASSERT_TRUE(Drive([&] { form().ShowSearchScreen(); }));
  EXPECT_EQ(Search().entries().size(), 5u);
}

INSTANTIATE_TEST_SUITE_P(Files, SearchReadFailureTest,
                         ::testing::Values(UnreadableFile{"QZJRKLF.BTR", "受診歴マスタの読み込みに失敗しました。"},
                                           UnreadableFile{"QZJSNLF.BTR", "受診者マスタの読み込みに失敗しました。"}),
                         [](const ::testing::TestParamInfo<UnreadableFile>& info) {
                           return std::string(info.param.file).substr(0, 7);
                         });

TEST_F(SearchScreenTest, AnExamineeHeldAtAnotherTerminalIsNotChosen) {
  BuildDemo();
  AddOnlineRow(1, "0000000003", "TERM99");
  ASSERT_TRUE(Start());
  shell_.AnswerBox(MsgResult::kOk, "[受診者番号:0000000003]の受診者は､\r\nTERM99で『受付』に使用されています。");
  ASSERT_TRUE(Choose("0000000003", kToday));
  EXPECT_TRUE(SearchShown());
  EXPECT_EQ(OnlineRows().size(), 1u);
  EXPECT_FALSE(form().sprResult.visible);
  EXPECT_TRUE(basPublic.ExamineeNo.empty());
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

}  // namespace
}  // namespace qz::test
