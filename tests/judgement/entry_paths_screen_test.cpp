// The ways a finding or a judgement reaches a result of the demo data besides
// typing it, each driven through the real result screen (keys, grid picks,
// the search dialog's buttons, the tools' keys), saved with F12 and read
// back from the results file and the consultation history: every way ends
// in the records that doing the same by hand gives. The settings of every
// run: one summary-findings item (総合所見) for two rule sources, the
// chest finding (class 0, feeding the chest group and so the overall
// judgement) to be picked from its list, an option row on the chest
// finding that would press Ctrl+F5 (every done-check set), a heading of the
// chest findings reached only by its findings code, and the earlier chest
// finding a combination of two list entries.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "data/bas_rank_change.h"
#include "data/define_fields.h"
#include "data/record_layouts.h"
#include "examinee/bas_public.h"
#include "examinee/screen_fixture.h"
#include "grid/item_row_map.h"
#include "judgement/frm_syo_comb.h"
#include "kit/demo_catalog.h"
#include "kit/demo_data.h"
#include "kit/tool_path.h"
#include "kit/ui_expect.h"
#include "loading/group_forms.h"
#include "loading/jump_group_index.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"
#include "platform/record/btr_access.h"
#include "platform/record/status.h"
#include "platform/text/vb.h"
#include "tools/frm_copy.h"

namespace qz::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kExaminee = "0000000001";  // course 1002, three earlier consultations
constexpr long long kChest = 5001;                // 胸部Ｘ線所見, findings type 201
constexpr const char* kChestName = "胸部Ｘ線所見";
constexpr const char* kHeadingCode = "9";         // findings code of a heading only
constexpr const char* kEarlierChest = "陳旧性炎症性変化、胸膜肥厚";
constexpr int kEarlierChestHan = 2;
const std::vector<std::string> kFields = {"KNSACH", "SYOKEN", "HAN", "HEKBN", "SOKUTEI", "USER", "YMD", "HMS"};

// One run of the result screen: the demo suite with the settings above,
// examinee 1 loaded from the command line, driven, saved with F12, and what
// the save stored read back.
class ScreenRun : public ScreenTest {
 public:
  void TestBody() override {}
  static int ItemIndexOf(long long code) { return ItemIndex(code); }

  using ScreenTest::Drive;
  using ScreenTest::form;
  using StartTest::shell_;

  // Builds the suite (`auto_copy`: the previous-result copy at the end of
  // the load; `check_required`: the chest finding's done-check is required,
  // [SysInfo] ChkKomCode) and starts the program on examinee 1 with what
  // `at_load` queues for the load.
  void Open(bool auto_copy, bool check_required, const std::function<void(ScreenRun&)>& at_load) {
    ini_set_auto_copy_ = auto_copy;
    suite_.SetIni("SysInfo", "AutoPastCopy", auto_copy ? "1" : "0");
    suite_.SetIni("SysInfo", "PastCopySumi", "0");
    suite_.SetIni("SysInfo", "ListHissuKomCode", std::to_string(kChest));
    if (check_required) suite_.SetIni("SysInfo", "ChkKomCode", std::to_string(kChest));
    suite_.SetIni("String", "DivSykn", "[、]");
    suite_.SetIni("SougouSyoken", "KomCode", "7001");
    suite_.SetIni("AutoSougouSyoken", "1", "5001,H,2,2");
    suite_.SetIni("AutoSougouSyoken", "2", "6001,H,3,3");
    suite_.SetIni("Option1", "KomCode", std::to_string(kChest));
    suite_.SetIni("Option1", "Syoken", std::string("[") + kEarlierChest + "]");
    suite_.SetIni("Option1", "KeyCode", "^{F5}");
    testkit::demo::AddFinding(suite_, {201, 1, 9, "", "【その他】", "その他", 0, false, true, false});
    BuildDemo();
    ChangeMasters();
    fs::create_symlink(testkit::ToolPath("qzp149"), suite_.paths().program + "QZP149C.EXE");
    if (at_load) at_load(*this);
    ASSERT_TRUE(Start(kExaminee));
    ASSERT_GT(ItemIndex(kChest), 0);
  }

  grid::Spread& Grid() { return form().sprResult; }
  static int RowOf(long long code) {
    const std::int16_t line = Fnc_FindItemRow(static_cast<std::int16_t>(ItemIndex(code)));
    return line == 0 ? 0 : Fnc_ItemToRow(line);
  }
  static const KekkaData& Result(long long code) { return frmResultIn.ResultMatrix(ItemIndex(code), 0); }

  bool Key(int key, int shift = 0) {
    return Drive([&] { shell_.UserKey(key, shift); });
  }
  // F5 on the chest row with `code` in its findings-code cell.
  bool SearchChest(const std::string& code) {
    return Drive([&] {
      Grid().MoveActiveCell(basPublic.SyoCodeCol, RowOf(kChest));
      Grid().SetText(basPublic.SyoCodeCol, RowOf(kChest), code);
      shell_.UserKey(ui::kKeyF5);
    });
  }
  // Queues a mouse pick of the dialog's list row showing `finding`.
  void QueueDialogPick(const std::string& finding) {
    shell_.Do([finding] {
      grid::ListGrid& list = frmSyoComb->flexSyoList;
      for (int r = 1; r < list.rows(); ++r) {
        if (list.TextMatrix(r, kSyoColSykn) == finding) return list.ClickCell(r, kSyoColSykn);
      }
      ADD_FAILURE() << finding << " is not in the list";
    });
  }
  // Queues frmCopy's choice of the chest finding alone.
  void QueueCopyOfTheChest() {
    shell_.Click("frmCopy", "cmdAllUnCheck").Do([] {
      grid::Spread& list = frmCopy->sprList;
      for (int r = 1; r <= list.max_rows(); ++r) {
        if (list.TextAt(kCopyNameCol, r) == kChestName) return list.SetText(kCopyCheckCol, r, "1");
      }
      ADD_FAILURE() << "the chest finding is not offered";
    });
    shell_.Click("frmCopy", "cmdEnter");
  }
  // Picks entry `entry` of the findings list of `code`'s result cell.
  bool PickFromList(long long code, int entry) {
    return Drive([&] {
      Grid().MoveActiveCell(basPublic.ResultCol, RowOf(code));
      Grid().PickComboEntry(entry);
    });
  }
  bool ClickDoneCheck(long long code) {
    return Drive([&] { Grid().ClickCell(basPublic.ChkCol, RowOf(code)); });
  }

  // F12; then every stored result of examinee 1 today as "<item> <fields>"
  // (the stamps of the judgement programs, which carry their own clock, as
  // "*") and the history's JHKBN.
  std::vector<std::string> SaveAndReadBack() {
    Drive([&] { shell_.UserKey(ui::kKeyF12); });
    EXPECT_TRUE(basPublic.ExamineeNo.empty()) << "not saved";
    std::vector<std::string> stored;
    for (long long code : testkit::demo::FindCourse(1002).items) {
      const std::string user = StoredResult(kExaminee, kToday, code, {"USER"});
      if (user.empty()) continue;
      std::vector<std::string> fields = kFields;
      if (user.find("QZP") != std::string::npos) fields.resize(fields.size() - 2);
      stored.push_back(std::to_string(code) + " " + StoredResult(kExaminee, kToday, code, fields));
    }
    stored.push_back("JHKBN=" + StoredHistoryField(kExaminee, kToday, "JHKBN"));
    return stored;
  }
  std::vector<std::string> BoxTexts() const { return testkit::BoxTexts(shell_); }

 private:
  using Record = record::BtrAccess;
  // Changes, with `set`, the first record of `layout`'s file in the data
  // folder that `which` picks.
  void Change(const data::FileLayout& layout, const std::function<bool(const Record&)>& which,
              const std::function<void(Record&)>& set) {
    Record obj;
    ASSERT_TRUE(obj.OpenFile(layout.file, layout.definition, suite_.paths().data, suite_.paths().spec_file));
    DefineLayoutFields(obj, layout);
    bool found = false;
    for (int s = obj.GetFirst(layout.definition); s == record::kStatusOk && !found; s = obj.GetNext()) {
      if (!which(obj)) continue;
      set(obj);
      EXPECT_EQ(obj.Update(), record::kStatusOk);
      found = true;
    }
    obj.CloseFile();
    EXPECT_TRUE(found) << layout.file;
  }
  static std::function<bool(const Record&)> FieldIs(const std::string& field, const std::string& value) {
    return [field, value](const Record& r) { return vb::Trim(r.GetField(field).ToText()) == value; };
  }
  // The chest finding copyable, the logged-on user of display class 1 (the
  // jump list shows group judgements), and the chest finding of the
  // consultation a year ago two list entries.
  void ChangeMasters() {
    Change(data::QzkomlfLayout(), FieldIs("CODE", std::to_string(kChest)), [](Record& r) { r.SetField("COPY", 1); });
    Change(data::QzusrlfLayout(), FieldIs("ID", "USER01"), [](Record& r) { r.SetField("DSPKBN", "1"); });
    Change(
        data::QzkkklfLayout(),
        [](const Record& r) {
          return vb::Trim(r.GetField("CODE").ToText()) == kExaminee &&
                 r.GetField("JDATE").ToLong() == testkit::YearsBefore(kToday, 1) &&
                 r.GetField("KKMKNO").ToText() == std::to_string(kChest);
        },
        [](Record& r) {
          r.SetField("SYOKEN", kEarlierChest);
          r.SetField("HAN", kEarlierChestHan);
        });
  }
};

// What one run gives: the records stored and the boxes shown.
struct Outcome {
  std::vector<std::string> stored;
  std::vector<std::string> boxes;
};

// Runs `drive` in a run of its own; `check` looks at the screen before the
// save.
Outcome RunOnce(bool auto_copy, bool check_required, const std::function<void(ScreenRun&)>& at_load,
                const std::function<void(ScreenRun&)>& drive, const std::function<void(ScreenRun&)>& check = nullptr) {
  ScreenRun run;
  run.Open(auto_copy, check_required, at_load);
  if (testing::Test::HasFatalFailure()) return {};
  if (drive) drive(run);
  if (check) check(run);
  EXPECT_SCRIPT_OK(run.shell_);
  Outcome out;
  out.boxes = run.BoxTexts();
  out.stored = run.SaveAndReadBack();
  EXPECT_SCRIPT_OK(run.shell_);
  return out;
}

// The chest result on the screen: its finding, judgement and stamp.
void ExpectChest(const std::string& finding, std::int16_t han) {
  const KekkaData& r = ScreenRun::Result(kChest);
  EXPECT_EQ(vb::Trim(r.Syoken), finding);
  EXPECT_EQ(r.Han, han);
  EXPECT_EQ(r.User, finding.empty() ? "" : "USER01");
}

TEST(EntryPathsScreenTest, EveryPathStoresWhatTheSameDoneByHandStores) {
  struct Case {
    const char* name;
    bool auto_copy;
    bool check_required;
    std::function<void(ScreenRun&)> at_load;
    std::function<void(ScreenRun&)> path;
    std::function<void(ScreenRun&)> check;  // what the path did, before the save
    std::vector<std::string> boxes;   // the path's boxes
    std::function<void(ScreenRun&)> hand;
  };
  const auto dialog_pick = [](const std::vector<std::string>& findings) {
    return [findings](ScreenRun& run) {
      for (const std::string& f : findings) run.QueueDialogPick(f);
      run.shell_.Click("frmSyoComb", "cmdDecision");
      ASSERT_TRUE(run.SearchChest(""));
    };
  };
  const std::vector<Case> cases = {
      {"the code of one finding, found without the dialog", false, false, nullptr,
       [](ScreenRun& run) { ASSERT_TRUE(run.SearchChest("7")); },
       [](ScreenRun& run) {
         ExpectChest("心拡大", 3);
         EXPECT_EQ(run.Grid().TextAt(basPublic.SyoCodeCol, ScreenRun::RowOf(kChest)), "");
       },
       {}, dialog_pick({"心拡大"})},
      {"the code of a heading", false, false, nullptr,
       [](ScreenRun& run) {
         run.shell_.AnswerBox(ui::MsgResult::kOk, "タイトル用所見は選択できません。");
         ASSERT_TRUE(run.SearchChest(kHeadingCode));
       },
       [](ScreenRun&) { ExpectChest("", 0); }, {"タイトル用所見は選択できません。"},
       [](ScreenRun& run) {
         run.QueueDialogPick("【その他】");
         run.shell_.Click("frmSyoComb", "cmdClose");
         ASSERT_TRUE(run.SearchChest(""));
       }},
      {"the default findings of Alt+F5", false, false, nullptr,
       [](ScreenRun& run) {
         run.shell_.AnswerBox(ui::MsgResult::kYes, "所見項目のデフォルト値をセットします。");
         ASSERT_TRUE(run.Key(ui::kKeyF5, ui::kAltMask));
       },
       [](ScreenRun&) {
         ExpectChest("異常なし", 1);
         EXPECT_EQ(vb::Trim(ScreenRun::Result(1008).Syoken), "所見なし");
         EXPECT_EQ(vb::Trim(ScreenRun::Result(4001).Syoken), "（－）");
       },
       {"所見項目のデフォルト値をセットします。\r\nよろしいですか？"},
       [](ScreenRun& run) {
         // The default finding is the first entry of each list.
         for (long long code : {1008, 1009, 1010, 1011, 4001, 4002, 4003, 5001, 6001}) {
           ASSERT_TRUE(run.PickFromList(code, 0)) << code;
         }
       }},
      {"the previous-result copy of Alt+F6", false, false, nullptr,
       [](ScreenRun& run) {
         run.QueueCopyOfTheChest();
         ASSERT_TRUE(run.Key(ui::kKeyF6, ui::kAltMask));
       },
       [](ScreenRun&) {
         ExpectChest(kEarlierChest, kEarlierChestHan);
         EXPECT_EQ(ScreenRun::Result(kChest).Hekbn, 0);
         EXPECT_EQ(ScreenRun::Result(2001).Hekbn, 0) << "no option keys were pressed";
       },
       {}, dialog_pick({"陳旧性炎症性変化", "胸膜肥厚"})},
      {"the previous-result copy at the load", true, false, [](ScreenRun& run) { run.QueueCopyOfTheChest(); }, nullptr,
       [](ScreenRun&) {
         ExpectChest(kEarlierChest, kEarlierChestHan);
         EXPECT_EQ(ScreenRun::Result(2001).Hekbn, 0) << "no option keys were pressed";
       },
       {}, dialog_pick({"陳旧性炎症性変化", "胸膜肥厚"})},
      {"自動判定 with a required done-check still open", false, true, nullptr,
       [](ScreenRun& run) {
         ASSERT_TRUE(run.Drive([&] { run.shell_.UserClick(run.form().cmdAutoJudge); }));
         ASSERT_TRUE(run.ClickDoneCheck(kChest));
       },
       [](ScreenRun&) {
         EXPECT_TRUE(basPublic.AutoJudgeDone);
         EXPECT_EQ(vb::RTrim(ScreenRun::Result(2001).User), "QZP149C");
       },
       {},
       [](ScreenRun& run) {
         ASSERT_TRUE(run.ClickDoneCheck(kChest));
         ASSERT_TRUE(run.Drive([&] { run.shell_.UserClick(run.form().cmdAutoJudge); }));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome path = RunOnce(c.auto_copy, c.check_required, c.at_load, c.path, c.check);
    if (HasFatalFailure()) return;
    EXPECT_EQ(path.boxes, c.boxes);
    const Outcome hand = RunOnce(false, c.check_required, nullptr, c.hand);
    if (HasFatalFailure()) return;
    EXPECT_EQ(path.stored, hand.stored);
  }
}

// The jump list as "<group name>:<first line>:<judgement mark>" rows.
std::vector<std::string> JumpRows() {
  const grid::ListGrid& jump = frmGrpJmp->flxGroop;
  std::vector<std::string> rows;
  for (int t = 0; t < jump.rows(); ++t) {
    rows.push_back(jump.TextMatrix(t, 0) + ":" + jump.TextMatrix(t, 1) + ":" + jump.TextMatrix(t, 2));
  }
  return rows;
}

// The input groups the grid shows, in line order, as "<group name>:<first
// line>:" (no judgement on screen).
std::vector<std::string> ScreenGroups() {
  std::vector<std::string> groups;
  std::int32_t last = -1;
  for (int line = 1; line <= frmResultIn.RowCount(); ++line) {
    const KomInfo& item = frmResultIn.ItemTable[frmResultIn.RowItems[line]];
    if (item.Ngrp == last) continue;
    last = item.Ngrp;
    groups.push_back(frmResultIn.InputGroups[item.NgrpIndex + 1].Name + ":" + std::to_string(line) + ":");
  }
  return groups;
}

// Ctrl+F9 after the group selection changed without 選択終了: the jump list
// has a row for every group on screen, each leading to the group's first
// line, and shows only the judgements the reread results hold; 選択終了
// gives the same list.
TEST(EntryPathsScreenTest, TheJumpListAfterAReloadFollowsTheGroupsOnScreen) {
  ScreenRun run;
  run.Open(false, false, nullptr);
  if (testing::Test::HasFatalFailure()) return;
  ASSERT_EQ(basPublic.UserDspKbn, 1);
  // A judgement typed for the blood-pressure group shows in its jump row.
  constexpr long long kPressureGroup = 9999999002LL;
  std::string mark, letter;
  ASSERT_EQ(Fnc_JudgeCodeToMark(3, mark, letter), 0);
  ASSERT_TRUE(run.Drive([&] {
    run.Grid().TypeIntoCell(basPublic.ResultCol, ScreenRun::RowOf(kPressureGroup), vb::Trim(mark));
    run.Grid().DeliverKeyDown(ui::kKeyReturn, 0);
  }));
  ASSERT_EQ(ScreenRun::Result(kPressureGroup).Han, 3);
  const int pressure_row = Fnc_GetJumpGroupIndex(frmResultIn.ItemTable[ScreenRun::ItemIndexOf(kPressureGroup)].NgrpIndex);
  ASSERT_GE(pressure_row, 0);
  ASSERT_EQ(frmGrpJmp->flxGroop.TextMatrix(pressure_row, 2), vb::Trim(mark));

  // The first group deselected, 選択終了 not pressed, then Ctrl+F9.
  ASSERT_TRUE(run.Drive([&] { run.form().cmdGrpSel_Click(); }));
  ASSERT_TRUE(run.Drive([&] { frmGrpSel->flxGroop.ClickCell(0, 0); }));
  // The key of the main form, where the selection form is the active one.
  ASSERT_TRUE(run.Drive([&] {
    int key = ui::kKeyF9;
    int shift = ui::kCtrlMask;
    run.form().Form_KeyDown(key, shift);
  }));
  EXPECT_SCRIPT_OK(run.shell_);
  EXPECT_EQ(run.BoxTexts(), std::vector<std::string>{});
  EXPECT_EQ(ScreenRun::Result(kPressureGroup).Han, 0) << "the typed judgement is dropped by the reread";
  const std::vector<std::string> groups = ScreenGroups();
  ASSERT_GE(groups.size(), 2u);
  EXPECT_EQ(JumpRows(), groups);
  grid::ListGrid& jump = frmGrpJmp->flxGroop;
  for (int t = 0; t < jump.rows(); ++t) {
    SCOPED_TRACE(jump.TextMatrix(t, 0));
    ASSERT_TRUE(run.Drive([&] { jump.ClickCell(t, 0); }));
    const int line = run.Grid().active_row() - basPublic.DataRow + 1;
    EXPECT_EQ(std::to_string(line), jump.TextMatrix(t, 1));
  }

  // 選択終了 for the same selection draws the same list.
  const std::vector<std::string> reloaded = JumpRows();
  run.shell_.Click("frmGrpSel", "cmdSelectEnd");
  ASSERT_TRUE(run.shell_.Play());
  EXPECT_SCRIPT_OK(run.shell_);
  EXPECT_EQ(JumpRows(), reloaded);
}

}  // namespace
}  // namespace qz::test
