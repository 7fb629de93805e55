// The logged deletion of a consultation's stored results: what is deleted
// and what is not, the log's blocks byte for byte, the operator's form with
// its message and the reception row, and a log that cannot be written.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "data/bas_file_access.h"
#include "examinee/bas_public.h"
#include "examinee/save_fixture.h"
#include "examinee/update_masters.h"
#include "platform/text/cp932.h"
#include "tools/delete_results_log.h"

namespace qz::testing {
namespace {

const std::string kMe(kExaminee);

class DeleteResults : public ::testing::Test {
 protected:
  void AddResult(const std::string& code, int date, long long item, const std::string& value) {
    bed.bed.suite.Add("QZKKKLF", {{"CODE", code}, {"JDATE", date}, {"KKMKNO", item}, {"KNSACH", value},
                                  {"HAN", 2}, {"USER", "OLDUSER"}, {"YMD", "20261201"}, {"HMS", "93005"}});
  }
  void AddReception() { bed.bed.suite.Add("QZJRKLF", {{"CODE", kMe}, {"JDATE", kToday}, {"CNO1", 100}}); }
  bool HasResult(const std::string& code, int date, long long item) const {
    return bed.Read("QZKKKLF", {{"CODE", code}, {"JDATE", date}, {"KKMKNO", item}}) != nullptr;
  }
  bool HasReception() const { return bed.Read("QZJRKLF", {{"CODE", kMe}, {"JDATE", kToday}}) != nullptr; }
  std::string LogPath() const { return bed.bed.suite.paths().work + "del" + kMe + "_20261209_103000.log"; }
  std::string LogText() const {
    std::ifstream in(LogPath(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  void WriteLog(const std::string& bytes) const {
    std::ofstream out(LogPath(), std::ios::binary);
    out << bytes;
  }
  void Open() {
    bed.Open();
    basPublic.ExamineeNo = kMe;
    basPublic.ConsultDate = kToday;
    basPublic.LogonUserId = "USER01";
  }

  SaveBed bed;
};

// The block of one record as the log holds it (CP932, CR LF).
std::string Block(long long item, const std::string& knsach) {
  std::vector<std::string> lines = {
      "★★★★★ 以下の検査結果データを削除しました ★★★★★", "", "ユーザ ： USER01", "受診者番号 ： " + kMe,
      "受診日 ： 20261209", "", "CODE ： " + kMe, "JDATE ： 20261209", "KKMKNO ： " + std::to_string(item),
      "KNSACH ： " + knsach};
  std::string text;
  for (const std::string& l : lines) text += text::ToCp932(l) + "\r\n";
  return text;
}

TEST_F(DeleteResults, TheOperatorsDeletionLogsEveryRecordOfTheConsultationAndNothingElse) {
  AddResult(kMe, kToday, 1001, "170.0");
  AddResult(kMe, kToday, 1002, "65.5");
  AddResult(kMe, 20251201, 1001, "168.0");        // an earlier consultation
  AddResult("0000012346", kToday, 1001, "180.0");  // the next examinee in key order
  AddReception();
  Open();

  const DeleteResultsOutcome out = Fnc_DeleteResultsWithLog(false);
  EXPECT_TRUE(out.ok);
  EXPECT_EQ(out.deleted, 2);
  EXPECT_TRUE(bed.Boxes().empty());
  EXPECT_FALSE(HasResult(kMe, kToday, 1001));
  EXPECT_FALSE(HasResult(kMe, kToday, 1002));
  EXPECT_TRUE(HasResult(kMe, 20251201, 1001));
  EXPECT_TRUE(HasResult("0000012346", kToday, 1001));
  EXPECT_FALSE(HasReception());

  const std::string log = LogText();
  EXPECT_EQ(out.log_path, LogPath());
  // Two blocks of 22 lines each.
  std::size_t lines = 0;
  for (std::size_t p = log.find("\r\n"); p != std::string::npos; p = log.find("\r\n", p + 2)) ++lines;
  EXPECT_EQ(lines, 44u);
  const std::size_t second = log.find(text::ToCp932("★★★★★ 以下"), 1);
  ASSERT_NE(second, std::string::npos);
  EXPECT_EQ(log.rfind(Block(1001, "170.0     "), 0), 0u);
  EXPECT_EQ(log.compare(second, Block(1002, "65.5      ").size(), Block(1002, "65.5      ")), 0);
  const std::string first = text::FromCp932(log.substr(0, second));
  for (const char* line : {"HAN ： 2\r\n", "USER ： OLDUSER   \r\n", "YMD ： 20261201\r\n", "HMS ： 93005 \r\n",
                           "SOKUTEI ： 0\r\n\r\n\r\n"}) {
    EXPECT_NE(first.find(line), std::string::npos) << line;
  }
  EXPECT_EQ(first.size() - first.find("SOKUTEI"), std::string("SOKUTEI ： 0\r\n\r\n\r\n").size());
}

TEST_F(DeleteResults, NothingStoredLeavesAnEmptyLogAndTheOperatorIsTold) {
  AddReception();
  Open();
  const DeleteResultsOutcome out = Fnc_DeleteResultsWithLog(false);
  EXPECT_TRUE(out.ok);
  EXPECT_EQ(out.deleted, 0);
  EXPECT_EQ(bed.Boxes(), std::vector<std::string>{"新規入力データです。"});
  EXPECT_EQ(bed.bed.shell.boxes()[0].request.title, "結果入力");
  EXPECT_TRUE(std::filesystem::exists(LogPath()));
  EXPECT_EQ(std::filesystem::file_size(LogPath()), 0u);
  EXPECT_FALSE(HasReception()) << "the reception row goes even without results";
}

TEST_F(DeleteResults, TheSavesQuietFormLeavesTheReceptionRowAndSaysNothing) {
  for (bool stored : {false, true}) {
    SCOPED_TRACE(stored);
    SaveBed fresh;
    if (stored) fresh.bed.suite.Add("QZKKKLF", {{"CODE", kMe}, {"JDATE", kToday}, {"KKMKNO", 1001}});
    fresh.bed.suite.Add("QZJRKLF", {{"CODE", kMe}, {"JDATE", kToday}, {"CNO1", 100}});
    fresh.Open();
    basPublic.ExamineeNo = kMe;
    basPublic.ConsultDate = kToday;
    const DeleteResultsOutcome out = Fnc_DeleteResultsWithLog(true);
    EXPECT_TRUE(out.ok);
    EXPECT_EQ(out.deleted, stored ? 1 : 0);
    EXPECT_TRUE(fresh.Boxes().empty());
    EXPECT_NE(fresh.Read("QZJRKLF", {{"CODE", kMe}, {"JDATE", kToday}}), nullptr);
  }
}

TEST_F(DeleteResults, TwoRunsInOneSecondAppendToOneLog) {
  AddResult(kMe, kToday, 1001, "170.0");
  Open();
  const DeleteResultsOutcome first = Fnc_DeleteResultsWithLog(true);
  ASSERT_EQ(first.deleted, 1);
  EXPECT_EQ(first.log_offset, 0u);
  const std::uintmax_t size = std::filesystem::file_size(LogPath());

  // The same consultation gets a result again and is deleted again.
  record::BtrAccess& kkk = *basFileAccess.QZKKKLFObj;
  kkk.SetField("CODE", kMe);
  kkk.SetField("JDATE", static_cast<std::int64_t>(kToday));
  kkk.SetField("KKMKNO", 1002);
  ASSERT_EQ(kkk.Insert("QZKKKLF"), 0);
  const DeleteResultsOutcome second = Fnc_DeleteResultsWithLog(true);
  ASSERT_EQ(second.deleted, 1);
  EXPECT_EQ(second.log_offset, size);
  const std::string log = text::FromCp932(LogText());
  EXPECT_EQ(LogText().size(), 2 * size);
  EXPECT_NE(log.find("KKMKNO ： 1001"), std::string::npos);
  EXPECT_NE(log.find("KKMKNO ： 1002"), std::string::npos);
}

TEST_F(DeleteResults, ALogThatCannotBeCreatedStopsBeforeAnythingIsDeleted) {
  AddResult(kMe, kToday, 1001, "170.0");
  AddReception();
  Open();
  basPublic.SvworkPath = bed.bed.suite.paths().work + "missing/";
  const DeleteResultsOutcome out = Fnc_DeleteResultsWithLog(false);
  EXPECT_FALSE(out.ok);
  ASSERT_EQ(bed.Boxes().size(), 1u);
  EXPECT_EQ(bed.Boxes()[0].rfind("結果の削除処理でエラーが発生しました。\r\nエラー番号 : 76\r\n", 0), 0u);
  EXPECT_TRUE(HasResult(kMe, kToday, 1001));
  EXPECT_TRUE(HasReception());
}

TEST_F(DeleteResults, ALogThatCannotBeWrittenStopsBeforeTheRecordIsDeleted) {
  AddResult(kMe, kToday, 1001, "170.0");
  AddReception();
  Open();
  // The log's disk is full: every write fails.
  std::filesystem::create_symlink("/dev/full", LogPath());
  const DeleteResultsOutcome out = Fnc_DeleteResultsWithLog(false);
  EXPECT_FALSE(out.ok);
  EXPECT_EQ(out.deleted, 0);
  ASSERT_EQ(bed.Boxes().size(), 1u);
  EXPECT_EQ(bed.Boxes()[0].rfind("結果の削除処理でエラーが発生しました。\r\n", 0), 0u);
  EXPECT_TRUE(HasResult(kMe, kToday, 1001)) << "nothing is deleted unlogged";
  EXPECT_TRUE(HasReception());
}

// A refused delete: `allowed` deletes go through first; the log held
// `earlier` before the run.
struct RefusedCase {
  int allowed;
  std::string earlier;
};

class DeleteRefused : public DeleteResults, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(DeleteRefused, StopsTheRunAndTheLogHoldsExactlyTheDeletedRecords) {
  const RefusedCase& c = GetParam();
  AddResult(kMe, kToday, 1001, "170.0");
  AddResult(kMe, kToday, 1002, "65.5");
  AddResult(kMe, kToday, 1003, "80.0");
  AddReception();
  Open();
  if (!c.earlier.empty()) WriteLog(c.earlier);
  bed.FailDeletesAfter("QZKKKLF.BTR", c.allowed);

  const DeleteResultsOutcome out = Fnc_DeleteResultsWithLog(false);
  EXPECT_FALSE(out.ok);
  EXPECT_EQ(out.deleted, c.allowed);
  ASSERT_EQ(bed.Boxes().size(), 1u);
  EXPECT_EQ(bed.Boxes()[0].rfind("結果の削除処理でエラーが発生しました。\r\n", 0), 0u);
  EXPECT_NE(bed.Boxes()[0].find("\r\nステータス : "), std::string::npos) << bed.Boxes()[0];
  EXPECT_TRUE(HasReception()) << "a stopped run leaves the reception row";

  const std::string log = LogText();
  EXPECT_EQ(log.rfind(c.earlier, 0), 0u);
  const std::vector<std::pair<long long, std::string>> stored = {{1001, "170.0     "}, {1002, "65.5      "},
                                                                 {1003, "80.0      "}};
  std::size_t at = c.earlier.size();
  for (int n = 0; n < 3; ++n) {
    const bool deleted = n < c.allowed;
    SCOPED_TRACE(stored[n].first);
    EXPECT_EQ(HasResult(kMe, kToday, stored[n].first), !deleted);
    const std::string block = Block(stored[n].first, stored[n].second);
    const std::size_t found = log.find(block);
    if (deleted) {
      EXPECT_EQ(found, at);  // whole blocks, one after the other
      at = log.find(text::ToCp932("★★★★★ 以下"), at + 1);
      if (at == std::string::npos) at = log.size();
    } else {
      EXPECT_EQ(found, std::string::npos);
    }
  }
  EXPECT_EQ(at, log.size()) << "nothing follows the last deleted record's block";
}

INSTANTIATE_TEST_SUITE_P(Cases, DeleteRefused,
                         ::testing::Values(RefusedCase{0, ""}, RefusedCase{1, ""}, RefusedCase{2, ""},
                                           RefusedCase{1, "earlier run\r\n"}));

class DeleteUndone : public DeleteResults, public ::testing::WithParamInterface<std::string> {};

TEST_P(DeleteUndone, AnUndoneSaveTakesItsBlocksBackOutOfTheLog) {
  const std::string earlier = GetParam();
  AddResult(kMe, kToday, 1001, "170.0");
  AddResult(kMe, kToday, 7001, "9");
  Open();
  if (!earlier.empty()) WriteLog(earlier);
  KekkaData value;
  value.Knsach = "172.0 ";
  value.User = "USER01";
  value.Ymd = kToday;
  value.Hms = 93005;
  bed.Show({{NumericItem(1001, "身長"), value}});
  bed.FailInsertsAfter("QZKKKLF.BTR", 0);  // the results' write fails after the deletion
  basPublic.DelListAnswer = 2;
  bed.bed.shell.auto_answer = true;
  EXPECT_FALSE(Sub_UpdateMasters());
  basPublic.DelListAnswer = 0;
  EXPECT_TRUE(HasResult(kMe, kToday, 7001)) << "the deletion was undone";
  if (earlier.empty()) {
    EXPECT_FALSE(std::filesystem::exists(LogPath()));
  } else {
    EXPECT_EQ(LogText(), earlier);
  }
}

INSTANTIATE_TEST_SUITE_P(NewAndAppended, DeleteUndone, ::testing::Values(std::string(), std::string("earlier run\r\n")));

}  // namespace
}  // namespace qz::testing
