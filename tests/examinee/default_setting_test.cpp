// The program start: each check that refuses the start, with its message and
// nothing of the later steps run, and a good start.
#include "examinee/cls_default.h"

#include <sqlite3.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/bas_file_access.h"
#include "examinee/bas_public.h"
#include "examinee/frm_guide.h"
#include "examinee/start_fixture.h"
#include "kit/ui_expect.h"
#include "platform/record/btr_file.h"
#include "platform/record/status.h"
#include "suite/call_log.h"
#include "suite/qzpclr.h"

namespace qz::test {
namespace {

using ui::MsgIcon;
using ui::MsgResult;

// How far a start went, by the traces of its steps.
enum Stage {
  kNothing = 0,         // refused before the progress window
  kGuideShown = 1,      // the progress window is up
  kSettingsRead = 2,    // the settings are in basPublic
  kPathsRead = 3,       // the five data paths are in basPublic
  kRuntimeStarted = 4,  // the logon passed: JMPCINT2 called
  kWorkFilesDone = 5,   // QZPCLR called
  kMastersOpen = 6,     // every master open
  kStarted = 7,         // the progress window gone again
};

struct LogonRow {
  int ren;
  const char* user;
  const char* terminal;
  int date;
};

struct Expected {
  std::string text;  // "" when no box
  MsgIcon icon = MsgIcon::kNone;
  std::string title;
  bool beep = false;
};

struct UserRow {
  const char* id;
  int group;  // in INPGRP_1; 0 for none
};

class DefaultSettingTest : public StartTest {
 public:
  // What the case tables change before the tree is built.
  testkit::SuiteBuilder& suite() { return suite_; }
  std::vector<LogonRow> logons = {{1, "SATO", kTerminal, kToday}};
  std::vector<UserRow> users = {{"SATO", 3}, {"NOGRP", 0}};
  void SetAnotherCopy() { another_copy_ = true; }
  void OpenMenuWindow() { menu_window_open_ = true; }

 protected:
  DefaultSettingTest() : main_(MakeResultInForm()), jmp_(MakeGrpJmpForm()) {
    suite_.SetIni("SysInfo", "MaxJrk", "7");  // a trace of the settings read
  }

  void BuildTree() {
    for (const LogonRow& r : logons) AddLogon(r.ren, r.user, r.terminal, r.date);
    for (const UserRow& u : users) AddUser(u.id, "佐藤　花子", 3, 1, u.group);
    Build();
  }

  bool Start() {
    bool ok = false;
    shell_.Drive([&] { ok = ClsDefault(*main_, *jmp_).DefaultSetting(); });
    return ok;
  }

  Stage Reached() const {
    const auto& shown = shell_.shown_forms();
    const auto& calls = suite::Calls();
    auto called = [&](const char* prefix) {
      return std::any_of(calls.begin(), calls.end(), [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
    };
    if (std::none_of(shown.begin(), shown.end(), [](const ui::ShownForm& f) { return f.name == "frmGuide"; })) {
      return kNothing;
    }
    if (basPublic.MaxJrk != 7) return kGuideShown;
    if (basPublic.ReservePath != suite_.paths().reserve) return kSettingsRead;
    if (!called("JMPCINT2")) return kPathsRead;
    if (!called("QZPCLR")) return kRuntimeStarted;
    if (!basFileAccess.QZJKRLFObj) return kWorkFilesDone;
    if (frmGuide.loaded()) return kMastersOpen;
    return kStarted;
  }

  std::unique_ptr<ui::Form> main_;
  std::unique_ptr<ui::Form> jmp_;
};

using Change = std::function<void(DefaultSettingTest&)>;

struct Case {
  const char* name;
  Change before_build;
  Change after_build;
  Expected box;
  Stage stage;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class DefaultSettingCaseTest : public DefaultSettingTest, public ::testing::WithParamInterface<Case> {};

Change Ini(const char* key, const char* value) {
  return [=](DefaultSettingTest& t) { t.suite().SetIni("SysInfo", key, value); };
}

Change PathKey(const char* key, const char* value, bool present = true) {
  return [=](DefaultSettingTest& t) { t.suite().SetPathKey(key, value, present); };
}

Change QzpclrAnswers(const char* status) {
  return [=](DefaultSettingTest&) {
    suite::SetQzpclrStatusForTest([status](std::string_view) { return std::string(status); });
  };
}

const Expected kNoBox{};
const char* const kTitle = "結果入力";
const char* const kIniTitle = "INIファイルエラー";
const char* const kProgram = "QZP140";

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"SecondCopy", [](DefaultSettingTest& t) { t.SetAnotherCopy(); }, nullptr,
       {"既に起動しています。", MsgIcon::kExclamation, kTitle}, kNothing},
      {"MenuRequiredWithoutTheMenuWindow", Ini("MenuCheck", "1"), nullptr,
       {"メニューから実行して下さい。", MsgIcon::kExclamation, kTitle}, kNothing},
      {"MenuRequiredWithTheMenuWindow",
       [](DefaultSettingTest& t) {
         Ini("MenuCheck", "1")(t);
         t.OpenMenuWindow();
       },
       nullptr, kNoBox, kStarted},
      {"NonNumericSetting", Ini("MaxJrk", "abc"), nullptr,
       {"結果入力フォームの読み込み処理でエラーが発生しました。\r\nエラー番号 : 13\r\nエラー内容 : 型が一致しません。",
        MsgIcon::kCritical, kTitle},
       kGuideShown},
      // A folder that is not set up: refused before the suite's checks, with
      // what to do.
      {"NoPathIni", nullptr, [](DefaultSettingTest& t) { ::unlink(t.suite().paths().path_ini.c_str()); },
       {"「{program}」はプログラムフォルダではありません（QZPPATH.iniがありません）。\r\nプログラムフォルダは"
        "「qz140 init \"{program}\" \"{root}\"」で作れます（データは「{root}/DATA」）。別のフォルダを使うときは、"
        "環境変数 QZ_FOLDER_QZP140 にそのフォルダを指定して下さい。",
        MsgIcon::kCritical, kTitle},
       kNothing},
      {"NoPathIniWithoutTheMenu",
       Ini("MenuCheck", "1"), [](DefaultSettingTest& t) { ::unlink(t.suite().paths().path_ini.c_str()); },
       {"「{program}」はプログラムフォルダではありません（QZPPATH.iniがありません）。\r\nプログラムフォルダは"
        "「qz140 init \"{program}\" \"{root}\"」で作れます（データは「{root}/DATA」）。別のフォルダを使うときは、"
        "環境変数 QZ_FOLDER_QZP140 にそのフォルダを指定して下さい。",
        MsgIcon::kCritical, kTitle},
       kNothing},
      {"PathIniNamedInOtherCase", nullptr,
       [](DefaultSettingTest& t) {
         const std::string ini = t.suite().paths().path_ini;
         ASSERT_EQ(::rename(ini.c_str(), (t.suite().paths().program + "qzppath.INI").c_str()), 0);
       },
       kNoBox, kStarted},
      {"PathKeyMissing", PathKey("RESERVE", "", false), nullptr,
       {"INIファイルの項目の取得に失敗しました。", MsgIcon::kExclamation, kIniTitle, true}, kSettingsRead},
      {"PathKeyEmpty", PathKey("HOPE", ""), nullptr,
       {"INIファイルの項目の取得に失敗しました。", MsgIcon::kExclamation, kIniTitle, true}, kSettingsRead},
      {"SpecKeyWithoutItsBlank",
       [](DefaultSettingTest& t) {
         const std::string spec = t.suite().paths().spec_file;
         t.suite().SetPathKey("CPFSPEC ", "", false).SetPathKey("CPFSPEC", spec);
       },
       nullptr, {"INIファイルの項目の取得に失敗しました。", MsgIcon::kExclamation, kIniTitle, true},
       kSettingsRead},
      {"UserMasterDoesNotOpen", [](DefaultSettingTest& t) { t.suite().Omit("QZUSRLF.BTR"); }, nullptr,
       {"利用者マスタオープンエラー", MsgIcon::kCritical, "エラー"}, kPathsRead},
      {"NoLogonToday", [](DefaultSettingTest& t) { t.logons = {{1, "SATO", kTerminal, kToday - 1}}; }, nullptr,
       {"ログオン情報が取得できませんでした。", MsgIcon::kNone, kProgram}, kPathsRead},
      {"UserNotInTheMaster", [](DefaultSettingTest& t) { t.logons = {{1, "GHOST", kTerminal, kToday}}; }, nullptr,
       {"「GHOST」の利用者マスタは登録されていません", MsgIcon::kNone, kProgram}, kPathsRead},
      {"UserWithoutInputGroups", [](DefaultSettingTest& t) { t.logons = {{1, "NOGRP", kTerminal, kToday}}; },
       nullptr, {"入力可能グループがセットされていません。\r\n利用者ID : NOGRP", MsgIcon::kNone, kTitle},
       kPathsRead},
      {"WorkFiles00", nullptr, QzpclrAnswers("00"), kNoBox, kStarted},
      {"WorkFiles05", nullptr, QzpclrAnswers("05"), kNoBox, kStarted},
      {"WorkFilesBlank", nullptr, QzpclrAnswers("  "), kNoBox, kStarted},
      {"WorkFiles01", nullptr, QzpclrAnswers("01"),
       {"マスタの初期化に失敗しました。\r\nLNK AREA : 「        01」", MsgIcon::kExclamation, kTitle},
       kWorkFilesDone},
      {"AMasterDoesNotOpen", [](DefaultSettingTest& t) { t.suite().Omit("QZKOMLF.BTR"); }, nullptr,
       {"検査項目マスタオープンエラー", MsgIcon::kCritical, "エラー"}, kWorkFilesDone},
  };
  return cases;
}

TEST_P(DefaultSettingCaseTest, RefusesOrStartsWithItsMessage) {
  const Case& c = GetParam();
  if (c.before_build) c.before_build(*this);
  BuildTree();
  if (c.after_build) c.after_build(*this);
  // The folders a message names, without their closing separator.
  std::string expected = c.box.text;
  auto put = [&](const std::string& mark, std::string folder) {
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    for (std::size_t at; (at = expected.find(mark)) != std::string::npos;) expected.replace(at, mark.size(), folder);
  };
  put("{program}", suite_.paths().program);
  put("{root}", suite_.paths().root);
  if (!expected.empty()) shell_.AnswerBox(MsgResult::kOk, expected);
  const bool ok = Start();
  EXPECT_SCRIPT_OK(shell_);
  EXPECT_EQ(ok, c.stage == kStarted);
  EXPECT_EQ(Reached(), c.stage) << "the start went on past its failure, or stopped early";
  if (c.stage == kNothing) {
    // Refused before the first setting is read.
    EXPECT_TRUE(basPublic.CopyRight.empty()) << basPublic.CopyRight;
    EXPECT_NE(basPublic.MaxJrk, 7);
    EXPECT_TRUE(suite::Calls().empty());
  }
  EXPECT_EQ(shell_.beeps(), c.box.beep ? 1 : 0);
  if (c.box.text.empty()) {
    EXPECT_TRUE(shell_.boxes().empty());
    return;
  }
  ASSERT_EQ(shell_.boxes().size(), 1u);
  const ui::MessageBoxRequest& r = shell_.boxes()[0].request;
  EXPECT_EQ(r.text, expected);
  EXPECT_EQ(r.icon, c.box.icon);
  EXPECT_EQ(r.title, c.box.title);
  EXPECT_EQ(r.buttons, ui::MsgButtons::kOk);
  if (c.stage >= kGuideShown) {
    EXPECT_TRUE(frmGuide.loaded()) << "the progress window stays after a failure";
  }
}

INSTANTIATE_TEST_SUITE_P(Start, DefaultSettingCaseTest, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// A scripted shell that notes the progress window's state line at every
// yield.
class ProgressShell : public ui::ScriptedShell {
 public:
  std::vector<std::string> states;
  bool guide_blinks = false;

 private:
  void PollInput(ui::Shell&) override {
    if (!frmGuide.loaded()) return;
    states.push_back(frmGuide->lblState.caption);
    guide_blinks = guide_blinks || (frmGuide->tmrGuide.enabled && frmGuide->tmrGuide.interval > 0);
  }
};

TEST_F(DefaultSettingTest, AGoodStartShowsItsProgressAndOpensEveryMaster) {
  suite_.SetIni("SysInfo", "GuideInterval", "300");
  BuildTree();
  ProgressShell shell;
  bool ok = false;
  shell.Drive([&] { ok = ClsDefault(*main_, *jmp_).DefaultSetting(); });
  EXPECT_SCRIPT_OK(shell);
  EXPECT_TRUE(ok);
  EXPECT_TRUE(shell.boxes().empty());
  EXPECT_FALSE(frmGuide.loaded()) << "the progress window is gone after the start";
  EXPECT_FALSE(shell.guide_blinks) << "the start's guide line stays steady";
  EXPECT_EQ(basPublic.GuideInterval, 300) << "later showings blink";

  const std::vector<std::string> expected = {
      "", "ファイル設定情報取得中", "利用者マスタオープン中", "ログオン情報取得中", "ファイル初期化中",
      "ファイル初期化中",  // the gauge emptied before the first master
      "受診者マスタオープン中", "団体マスタオープン中", "受診項目マスタオープン中", "受診歴マスタオープン中",
      "コースマスタオープン中", "コース項目マスタオープン中", "検査項目マスタオープン中",
      "入力グループマスタオープン中", "検査結果マスタオープン中", "判定マスタオープン中", "所見マスタオープン中",
      "所見マスタオープン中", "所見マスタオープン中", "所見マスタオープン中", "設定マスタオープン中",
      "設定マスタオープン中", "所見タブマスタオープン中", "政管受付番号履歴マスタオープン中",
      "診断項目マスタ２オープン中", "受診券履歴マスタオープン中"};
  EXPECT_EQ(shell.states, expected);

  EXPECT_EQ(suite::Calls(), (std::vector<std::string>{"JMPCINT2", "QZPCLR           "}));
  const std::vector<const BtrObject*> masters = {
      &basFileAccess.QZJSNLFObj,  &basFileAccess.QZJSN2LFObj, &basFileAccess.QZDANLFObj,
      &basFileAccess.QZJKOLFObj,  &basFileAccess.QZJRKLFObj,  &basFileAccess.QZKOSLFObj,
      &basFileAccess.QZKSKLFObj,  &basFileAccess.QZKOMLFObj,  &basFileAccess.QZGRPLFObj,
      &basFileAccess.QZKKKLFObj,  &basFileAccess.QZHATLFObj,  &basFileAccess.QZSYOLFObj,
      &basFileAccess.QZSYO2LFObj, &basFileAccess.QZSYO3LFObj, &basFileAccess.QZSYO4LFObj,
      &basFileAccess.SysObj,      &basFileAccess.SysChohyoObj, &basFileAccess.QZOCL2LFObj,
      &basFileAccess.QZUSRLFObj,  &basFileAccess.QZCARLFObj,  &basFileAccess.QZSYN2LFObj,
      &basFileAccess.QZJKRLFObj};
  for (std::size_t i = 0; i < masters.size(); ++i) {
    ASSERT_TRUE(*masters[i]) << "slot " << i + 1;
    // Open and declared: a read by key answers with a record-manager status.
    EXPECT_NE((*masters[i])->GetNext(), record::kStatusFileNotOpen) << "slot " << i + 1;
  }

  EXPECT_EQ(basPublic.LogonUserId, "SATO");
  EXPECT_EQ(basPublic.UserFirstGroup, 3);
  EXPECT_EQ(basPublic.UserInputGroups[1], 3);
  EXPECT_EQ(basPublic.VlmfPath, suite_.paths().data);
  EXPECT_EQ(basPublic.SpecPath, suite_.paths().spec_file);
  EXPECT_EQ(basPublic.WorkArea.Height, 984 * 15 - 50);
}

// The save stores the examinee master, the history and the results in one
// transaction. After the start has opened every file, those three commit as
// one: when the results file cannot be committed (another program is
// reading it), nothing of the other two is stored either.
TEST_F(DefaultSettingTest, TheFilesOfASaveCommitAsOneAfterTheStart) {
  suite_.Add("QZJSNLF", {{"CODE", "0000000001"}, {"ZNKDAT", 20251201}});
  BuildTree();
  ASSERT_TRUE(Start());
  sqlite3* reader = nullptr;
  ASSERT_EQ(sqlite3_open((suite_.paths().data + "QZKKKLF.BTR").c_str(), &reader), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(reader, "BEGIN; SELECT count(*) FROM records;", nullptr, nullptr, nullptr), SQLITE_OK);
  record::SetBusyTimeout(std::chrono::milliseconds(100));

  record::BtrAccess& jsn = *basFileAccess.QZJSNLFObj;
  record::BtrAccess& jrk = *basFileAccess.QZJRKLFObj;
  record::BtrAccess& kkk = *basFileAccess.QZKKKLFObj;
  ASSERT_EQ(jsn.BeginTrans(), record::kStatusOk);
  jsn.SetField("CODE", "0000000001");
  ASSERT_EQ(jsn.GetEqual("QZJSNLF"), record::kStatusOk);
  jsn.SetField("ZNKDAT", kToday);
  EXPECT_EQ(jsn.Update(), record::kStatusOk);
  jrk.SetField("CODE", "0000000001");
  jrk.SetField("JDATE", kToday);
  EXPECT_EQ(jrk.Insert("QZJRKLF"), record::kStatusOk);
  kkk.SetField("CODE", "0000000001");
  kkk.SetField("JDATE", kToday);
  kkk.SetField("KKMKNO", 1001);
  EXPECT_EQ(kkk.Insert("QZKKKLF"), record::kStatusOk);
  EXPECT_EQ(jsn.EndTrans(), record::kStatusBusy);
  EXPECT_EQ(jsn.AbortTrans(), record::kStatusOk);
  sqlite3_exec(reader, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(reader);
  record::SetBusyTimeout(std::chrono::milliseconds(5000));

  jsn.SetField("CODE", "0000000001");
  ASSERT_EQ(jsn.GetEqual("QZJSNLF"), record::kStatusOk);
  EXPECT_EQ(jsn.GetField("ZNKDAT").ToLong(), 20251201);
  jrk.SetField("CODE", "0000000001");
  jrk.SetField("JDATE", kToday);
  EXPECT_EQ(jrk.GetEqual("QZJRKLF"), record::kStatusNotFound);
}

TEST_F(DefaultSettingTest, WithoutAWorkAreaTheFormsFillTheScreen) {
  BuildTree();
  shell_.screen.work_area_ok = false;
  shell_.screen.width_px = 1024;
  shell_.screen.height_px = 768;
  EXPECT_TRUE(Start());
  EXPECT_SCRIPT_OK(shell_);
  const WorkAreaInfo& w = basPublic.WorkArea;
  EXPECT_EQ((std::vector<std::int32_t>{w.Left, w.Top, w.Right, w.Bottom, w.Width, w.Height}),
            (std::vector<std::int32_t>{0, 0, 15360, 11520, 15360, 11470}));
}

}  // namespace
}  // namespace qz::test
