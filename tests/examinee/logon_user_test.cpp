// Today's logon of this terminal from the logon table, and the user's record
// from the user master.
#include <sqlite3.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "data/bas_file_access.h"
#include "examinee/bas_get_user.h"
#include "examinee/bas_get_user_info.h"
#include "examinee/bas_public.h"
#include "examinee/start_fixture.h"
#include "kit/ui_expect.h"
#include "platform/record/btr_access.h"
#include "platform/record/btr_file.h"
#include "platform/ui/msgbox.h"

namespace qz::test {
namespace {

using ui::MsgIcon;
using ui::MsgResult;

constexpr int kYesterday = 20261208;

struct Box {
  std::string text;
  MsgIcon icon = MsgIcon::kNone;
  std::string title;
};

// Another program's exclusive lock on a record file: reads through objects
// already attached to the file give the busy status at once.
class ReadLock {
 public:
  explicit ReadLock(const std::string& file) {
    record::SetBusyTimeout(std::chrono::milliseconds(20));
    EXPECT_EQ(sqlite3_open(file.c_str(), &db_), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db_, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  }
  ~ReadLock() {
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db_);
    record::SetBusyTimeout(std::chrono::milliseconds(5000));
  }
  ReadLock(const ReadLock&) = delete;
  ReadLock& operator=(const ReadLock&) = delete;

 private:
  sqlite3* db_ = nullptr;
};

struct LogonRow {
  int ren;
  const char* user;
  const char* terminal;
  int date;
};

class LogonUserTest : public StartTest {
 protected:
  LogonUserTest() {
    Build();
    suite_.ApplyPaths();
  }

  // Empties the logon table and fills it with `rows`.
  void SetLogons(const std::vector<LogonRow>& rows) {
    ASSERT_EQ(record::CreateRecordFile(suite_.paths().spec_file, "QZLOGLF.BTR", suite_.paths().data, true), 0);
    for (const LogonRow& r : rows) AddLogon(r.ren, r.user, r.terminal, r.date);
  }

  // Runs Fnc_GetLogonUser, answering `expected` boxes, and checks them.
  bool GetLogon(std::string& user, const std::vector<Box>& expected) {
    shell_.ClearRecords();
    for (const Box& b : expected) shell_.AnswerBox(MsgResult::kOk, b.text);
    bool ok = false;
    shell_.Drive([&] { ok = Fnc_GetLogonUser(user); });
    EXPECT_SCRIPT_OK(shell_);
    EXPECT_EQ(shell_.boxes().size(), expected.size());
    for (std::size_t i = 0; i < expected.size() && i < shell_.boxes().size(); ++i) {
      const ui::MessageBoxRequest& r = shell_.boxes()[i].request;
      EXPECT_EQ(r.text, expected[i].text);
      EXPECT_EQ(r.icon, expected[i].icon) << r.text;
      EXPECT_EQ(r.title, expected[i].title) << r.text;
      EXPECT_EQ(r.buttons, ui::MsgButtons::kOk) << r.text;
    }
    EXPECT_EQ(basGetUser.QZLOGLFObj, nullptr) << "the logon table is closed after every read";
    return ok;
  }
};

TEST_F(LogonUserTest, TodaysLatestRowOfThisTerminalCounts) {
  struct Case {
    const char* name;
    std::vector<LogonRow> rows;
    const char* user;  // nullptr: no logon found
    std::vector<Box> boxes;
  };
  const Box not_found{"ログオン情報が取得できませんでした。", MsgIcon::kNone, "QZP140"};
  const std::vector<Case> cases = {
      {"two rows today: the higher REN wins",
       {{5, "SATO", kTerminal, kToday}, {9, "  TANAKA", kTerminal, kToday}, {12, "OTHER", "TERM02", kToday}},
       "TANAKA",
       {}},
      {"rows of earlier days do not stop the walk",
       {{3, "SATO", " TERM01 ", kToday}, {7, "OLD", kTerminal, kYesterday}, {8, "X", "TERM02", kToday}},
       "SATO",
       {}},
      {"yesterday's row only", {{4, "SATO", kTerminal, kYesterday}}, nullptr, {not_found}},
      {"a terminal name in other letter case", {{4, "SATO", "term01", kToday}}, nullptr, {not_found}},
      {"an empty table", {}, nullptr, {{"ログオン情報が存在しません。", MsgIcon::kNone, "QZP140"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetLogons(c.rows);
    std::string user = "stale";
    const bool ok = GetLogon(user, c.boxes);
    EXPECT_EQ(ok, c.user != nullptr);
    EXPECT_EQ(user, c.user != nullptr ? c.user : "");
  }
}

TEST_F(LogonUserTest, AMissingTableIsAnOpenError) {
  suite_.ApplyPaths();
  basPublic.VlmfPath = suite_.paths().root + "NOWHERE/";
  std::string user;
  EXPECT_FALSE(GetLogon(user, {{"ログオン情報マスタオープンエラー", MsgIcon::kCritical, "エラー"}}));
  EXPECT_EQ(user, "");
}

// Another program holds the logon table locked: the first read fails with
// the record manager's busy status.
TEST_F(LogonUserTest, AReadFailureShowsItsStatus) {
  SetLogons({{1, "SATO", kTerminal, kToday}});
  // An object of this program keeps the file attached, so that only the
  // read meets the lock.
  record::BtrAccess keep;
  ASSERT_TRUE(keep.OpenFile("QZLOGLF.BTR", "QZLOGLF", basPublic.VlmfPath, basPublic.SpecPath));
  ReadLock lock(suite_.paths().data + "QZLOGLF.BTR");
  std::string user;
  EXPECT_FALSE(GetLogon(
      user, {{"ログオン情報マスタの読み込みに失敗しました\r\nステータス : 84", MsgIcon::kNone, "QZP140"}}));
}

class UserInfoTest : public LogonUserTest {
 protected:
  UserInfoTest() {
    AddUser("SATO", "佐藤　花子", 3, 100, 42);
    AddUser("NOGRP", "無所属", 2, 1, 0);
    suite_.Add("QZUSRLF", {{"ID", "KANRI"}, {"EXPLAIN", "管理者"}, {"INPGRP_7", 5}, {"DSPKBN", 2}});
    EXPECT_TRUE(Fnc_OpenUsrMaster());
  }
};

TEST_F(UserInfoTest, TheUsersRecordFillsTheOutputs) {
  std::int32_t first = -1;
  std::string name;
  UserGroups groups;
  groups.fill(-1);
  std::int16_t dsp = -1;
  bool ok = false;
  shell_.Drive([&] { ok = Fnc_GetUserInfo("SATO", first, name, groups, dsp); });
  EXPECT_SCRIPT_OK(shell_);
  EXPECT_TRUE(ok) << "one group in the last of the hundred suffices";
  EXPECT_EQ(first, 3);
  EXPECT_EQ(name.substr(0, name.find_last_not_of(' ') + 1), "佐藤　花子");
  EXPECT_EQ(name.size() > std::string("佐藤　花子").size(), true) << "the name keeps its trailing blanks";
  EXPECT_EQ(groups[100], 42);
  EXPECT_EQ(groups[1], 0);
  EXPECT_EQ(dsp, 0) << "a blank display class reads 0";

  dsp = -1;
  shell_.Drive([&] { ok = Fnc_GetUserInfo("KANRI", first, name, groups, dsp); });
  EXPECT_SCRIPT_OK(shell_);
  EXPECT_TRUE(ok);
  EXPECT_EQ(dsp, 2);
  EXPECT_EQ(groups[7], 5);
  EXPECT_EQ(groups[100], 0) << "every slot comes from the record read";
}

TEST_F(UserInfoTest, FailuresShowTheirMessage) {
  struct Case {
    const char* id;
    Box box;
    bool outputs_filled;
  };
  const std::vector<Case> cases = {
      {"NOBODY", {"「NOBODY」の利用者マスタは登録されていません", MsgIcon::kNone, "QZP140"}, false},
      {"NOGRP", {"入力可能グループがセットされていません。\r\n利用者ID : NOGRP", MsgIcon::kNone, "結果入力"}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    shell_.ClearRecords();
    shell_.AnswerBox(MsgResult::kOk, c.box.text);
    std::int32_t first = -1;
    std::string name = "untouched";
    UserGroups groups{};
    std::int16_t dsp = -1;
    bool ok = true;
    shell_.Drive([&] { ok = Fnc_GetUserInfo(c.id, first, name, groups, dsp); });
    EXPECT_SCRIPT_OK(shell_);
    EXPECT_FALSE(ok);
    ASSERT_EQ(shell_.boxes().size(), 1u);
    EXPECT_EQ(shell_.boxes()[0].request.text, c.box.text);
    EXPECT_EQ(shell_.boxes()[0].request.icon, c.box.icon);
    EXPECT_EQ(shell_.boxes()[0].request.title, c.box.title);
    EXPECT_EQ(first, c.outputs_filled ? 2 : -1);
    EXPECT_EQ(name == "untouched", !c.outputs_filled);
  }
}

TEST_F(UserInfoTest, UserNamesForTheUpdaterColumn) {
  std::string sato, unknown;
  shell_.Drive([&] {
    sato = Fnc_GetUserName("SATO");
    unknown = Fnc_GetUserName("GHOST");
  });
  EXPECT_SCRIPT_OK(shell_);
  EXPECT_TRUE(shell_.boxes().empty());
  EXPECT_EQ(sato.rfind("佐藤　花子", 0), 0u);
  EXPECT_EQ(unknown, "GHOST") << "an ID not in the master shows as itself";
}

TEST_F(UserInfoTest, ReadFailuresNameTheStatus) {
  ReadLock lock(suite_.paths().data + "QZUSRLF.BTR");
  std::int32_t first = -1;
  std::string name = "untouched", shown;
  UserGroups groups{};
  std::int16_t dsp = -1;
  bool ok = true;
  shell_.AnswerBox(MsgResult::kOk, "「SATO」の利用者マスタの読み込みに失敗しました");
  shell_.AnswerBox(MsgResult::kOk, "「SATO」の利用者マスタの読み込みに失敗しました。");
  shell_.Drive([&] {
    ok = Fnc_GetUserInfo("SATO", first, name, groups, dsp);
    shown = Fnc_GetUserName("SATO");
  });
  EXPECT_SCRIPT_OK(shell_);
  EXPECT_FALSE(ok);
  EXPECT_EQ(name, "untouched");
  EXPECT_EQ(shown, "") << "the caller goes on with an empty name";
  EXPECT_EQ(testkit::BoxTexts(shell_),
            (std::vector<std::string>{"「SATO」の利用者マスタの読み込みに失敗しました\r\nステータス : 84",
                                      "「SATO」の利用者マスタの読み込みに失敗しました。\r\nステータス : 84"}));
}

}  // namespace
}  // namespace qz::test
