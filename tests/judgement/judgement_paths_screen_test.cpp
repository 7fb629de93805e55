// Each way a value reaches a result on the demo result screen (a typed
// value and Enter, a list pick, the findings search's buttons, the cell
// left by a click, the done-check click) ends, after F12, in the same
// stored results and history as the same value entered by hand: the result,
// its judgement, the group and overall judgements, the summary finding,
// the done-checks and the stamps.
//
// Every case works on two examinees of their own, twins with the same
// course, sex and birth date and nothing entered yet: the path on one, the
// value by hand on the other. The settings have one summary-findings item
// (7001) for two rule sources (収縮期血圧 above its range with judgement C,
// 胸部Ｘ線所見 with judgement B), the automatic done-check for items with a
// result, and no standard range of 腹囲 for women.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "data/define_fields.h"
#include "data/record_layouts.h"
#include "examinee/bas_public.h"
#include "examinee/screen_fixture.h"
#include "grid/item_row_map.h"
#include "judgement/frm_syo_comb.h"
#include "kit/demo_catalog.h"
#include "kit/ui_expect.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"
#include "platform/record/btr_access.h"
#include "platform/record/status.h"
#include "platform/text/vb.h"

namespace qz::test {
namespace {

constexpr int kToday = 20261209;
constexpr long long kCourse = 1001;     // 一般健診
constexpr long long kWaist = 1004;      // 腹囲: judged, no range for women here
constexpr long long kSystolic = 2001;   // 収縮期血圧, up to 129: a rule source
constexpr long long kChest = 5001;      // 胸部Ｘ線所見, findings type 201, class 0: a rule source
constexpr long long kSummary = 7001;    // 総合所見
constexpr long long kBodyGroup = 9999999001LL;
constexpr long long kBpGroup = 9999999002LL;
constexpr long long kChestGroup = 9999999009LL;
constexpr long long kOverall = 9999999999LL;
constexpr long long kHistory = 0;       // the consultation's history record
constexpr const char* kOldChange = "陳旧性炎症性変化";  // judgement 2 (Ｂ)
const std::vector<std::string> kFields = {"KNSACH", "SYOKEN", "HAN", "HEKBN", "USER", "YMD", "HMS"};
const std::vector<std::string> kHistoryFields = {"SHAT", "JHKBN", "EDIT"};

class JudgementPathsScreenTest : public ScreenTest {
 public:
  // The demo with the settings above and twin examinees 0000000011 ... for
  // `pairs` cases.
  void Build(int pairs) {
    suite_.SetIni("SougouSyoken", "KomCode", "7001");
    suite_.SetIni("AutoSougouSyoken", "1", "2001,H,3,3");
    suite_.SetIni("AutoSougouSyoken", "2", "5001,,2,2");
    suite_.SetIni("SysInfo", "AutoCheck", "1");
    BuildDemo();
    for (int n = 0; n < 2 * pairs; ++n) AddTwin(Twin(n));
    DropWaistRangeForWomen();
    ASSERT_TRUE(Start());
  }
  static std::string Twin(int n) { return "00000000" + std::to_string(11 + n); }

  // An examinee like the demo's fourth (a woman born 1992-01-31) booked for
  // the general course today with nothing entered.
  void AddTwin(const std::string& code) {
    suite_.Add("QZJSNLF", {{"CODE", code}, {"KANA", "ﾌﾀｺﾞ"}, {"NAME", "双子　" + code.substr(8)}, {"SEX", 2},
                           {"BIRTH", 19920131}});
    suite_.Add("QZJKOLF", {{"CODE", code}, {"KSYMD", kToday}, {"KKBN_1", 0}, {"KCODE_1", kCourse}});
    suite_.Add("QZJRKLF", {{"CODE", code}, {"JDATE", kToday}, {"CNO1", kCourse}, {"EDIT", "0"},
                           {"PRINT", "0"}, {"JHKBN", "0"}});
  }

  void DropWaistRangeForWomen() {
    const data::FileLayout& layout = data::QzhatlfLayout();
    record::BtrAccess obj;
    ASSERT_TRUE(obj.OpenFile(layout.file, layout.definition, suite_.paths().data, suite_.paths().spec_file));
    DefineLayoutFields(obj, layout);
    int dropped = 0;
    for (int s = obj.GetFirst(layout.definition); s == record::kStatusOk;) {
      if (obj.GetField("CODE").ToText() == std::to_string(kWaist) && obj.GetField("SEX").ToText() == "2") {
        ASSERT_EQ(obj.Delete(), record::kStatusOk);
        ++dropped;
      }
      s = obj.GetNext();
    }
    obj.CloseFile();
    ASSERT_EQ(dropped, 1);
  }

  grid::Spread& Grid() { return form().sprResult; }
  static int RowOf(long long code) {
    const std::int16_t line = Fnc_FindItemRow(static_cast<std::int16_t>(ItemIndex(code)));
    return line == 0 ? 0 : Fnc_ItemToRow(line);
  }
  void Go(long long code, int col) {
    ASSERT_NE(RowOf(code), 0) << code;
    ASSERT_TRUE(Drive([&] { Grid().MoveActiveCell(col, RowOf(code)); }));
  }

  // Typing `keys` into the result cell of `code`, then Enter.
  void Type(long long code, const std::string& keys) {
    Go(code, basPublic.ResultCol);
    ASSERT_TRUE(Drive([&] {
      Grid().TypeIntoCell(basPublic.ResultCol, RowOf(code), keys);
      Grid().DeliverKeyDown(ui::kKeyReturn, 0);
    }));
  }
  // Typing `keys` and leaving the cell by a click on the result cell of `to`.
  void TypeAndLeave(long long code, const std::string& keys, long long to) {
    Go(code, basPublic.ResultCol);
    ASSERT_TRUE(Drive([&] {
      Grid().TypeIntoCell(basPublic.ResultCol, RowOf(code), keys);
      Grid().ClickCell(basPublic.ResultCol, RowOf(to));
    }));
  }
  // Picking the entry that begins with `text` from the list of the result
  // cell of `code`.
  void Pick(long long code, const std::string& text) {
    Go(code, basPublic.ResultCol);
    grid::Spread& spr = Grid();
    spr.col = basPublic.ResultCol;
    spr.row = RowOf(code);
    const std::string list = spr.ComboList();
    int index = -1;
    int n = 0;
    for (std::size_t at = 0; at <= list.size(); ++n) {
      const std::size_t tab = list.find('\t', at);
      const std::string entry = list.substr(at, tab == std::string::npos ? std::string::npos : tab - at);
      if (index < 0 && entry.rfind(text, 0) == 0) index = n;
      if (tab == std::string::npos) break;
      at = tab + 1;
    }
    ASSERT_GE(index, 0) << text << " in " << list;
    ASSERT_TRUE(Drive([&] { ASSERT_TRUE(Grid().PickComboEntry(index)); }));
  }
  // F5 on the result cell of `code`, a click on the finding `text` in the
  // dialog's list and "確定".
  void Search(long long code, const std::string& text) {
    Go(code, basPublic.ResultCol);
    shell_.Key(ui::kKeyF5)
        .Do([text] {
          FrmSyoComb& f = *frmSyoComb;
          for (int r = 1; r < f.flexSyoList.rows(); ++r) {
            if (vb::Trim(f.flexSyoList.TextMatrix(r, kSyoColSykn)) == text) {
              f.flexSyoList.ClickCell(r, kSyoColSykn);
              return;
            }
          }
          ADD_FAILURE() << text << " is not in the dialog's list";
        })
        .Click("frmSyoComb", "cmdDecision");
    ASSERT_TRUE(shell_.Play());
  }
  // F5 on the result cell of `code`.
  void F5(long long code) {
    Go(code, basPublic.ResultCol);
    shell_.Key(ui::kKeyF5);
    ASSERT_TRUE(shell_.Play());
  }
  // A click on the done-check of `code`.
  void Check(long long code) {
    ASSERT_TRUE(Drive([&] { Grid().ClickCell(basPublic.ChkCol, RowOf(code)); }));
  }

  // Chooses `examinee`, runs `steps` (the texts of their message boxes go
  // to `boxes`), saves with F12 and reads back every stored result of the
  // course and the history fields.
  std::map<std::string, std::string> Run(const std::string& examinee, const std::function<void()>& steps,
                                         std::vector<std::string>& boxes) {
    std::map<std::string, std::string> stored;
    shell_.ClearRecords();
    EXPECT_TRUE(Choose(examinee, kToday));
    shell_.auto_answer = true;
    steps();
    boxes = Boxes();
    shell_.Key(ui::kKeyF12);
    EXPECT_TRUE(shell_.Play());
    shell_.auto_answer = false;
    EXPECT_TRUE(SearchShown()) << "the save ends the examinee";
    for (long long code : testkit::demo::FindCourse(kCourse).items) {
      stored[std::to_string(code)] = StoredResult(examinee, kToday, code, kFields);
    }
    for (const std::string& f : kHistoryFields) stored["history " + f] = StoredHistoryField(examinee, kToday, f);
    return stored;
  }
  // One stored field of `code` (kHistory: of the history) in `stored`,
  // trimmed.
  static std::string Field(const std::map<std::string, std::string>& stored, long long code,
                           const std::string& field) {
    if (code == kHistory) return vb::Trim(stored.at("history " + field));
    const std::string& record = stored.at(std::to_string(code));
    const std::size_t at = record.find(field + "=");
    if (at == std::string::npos) return "(no record)";
    const std::size_t from = at + field.size() + 1;
    std::size_t to = record.size();
    for (const std::string& f : kFields) {
      const std::size_t next = record.find(" " + f + "=", from);
      if (next != std::string::npos && next < to) to = next;
    }
    return vb::Trim(record.substr(from, to - from));
  }
};

// One way into a result, the same value by hand, what both store and the
// messages each shows.
struct PathCase {
  const char* name;
  std::function<void(JudgementPathsScreenTest&)> path;
  std::function<void(JudgementPathsScreenTest&)> by_hand;
  // item (kHistory: the history record), field, stored value ("@user":
  // the logged-on user)
  std::vector<std::tuple<long long, const char*, const char*>> stored;
  std::vector<std::string> path_boxes;
  std::vector<std::string> hand_boxes;
};

const std::string kCannotJudge = "自動判定できません。\r\n項目名 : 腹囲\r\n結果値 : 70";
const std::string kGroupMissing = "「身体計測判定」 が未入力です。";
const char* const kLifestyle = "生活習慣の改善をお勧めします。";

TEST_F(JudgementPathsScreenTest, EveryPathStoresWhatTheSameValueByHandStores) {
  using T = JudgementPathsScreenTest;
  const std::vector<PathCase> cases = {
      {"a finding decided in the search dialog, as picked from the list (class-0 item)",
       [](T& t) { t.Search(kChest, kOldChange); },
       [](T& t) { t.Pick(kChest, kOldChange); },
       {{kChest, "SYOKEN", kOldChange}, {kChest, "HAN", "2"}, {kChest, "HEKBN", "1"}, {kChestGroup, "HAN", "2"},
        {kOverall, "HAN", "2"}, {kSummary, "SYOKEN", kLifestyle}, {kSummary, "HAN", "3"}, {kHistory, "SHAT", "Ｂ"}},
       {},
       {}},
      {"a judgement typed for a class-0 group item, as picked from its list",
       [](T& t) { t.Type(kBpGroup, "Ｃ"); },
       [](T& t) { t.Pick(kBpGroup, "Ｃ"); },
       {{kBpGroup, "HAN", "3"}, {kBpGroup, "HEKBN", "1"}, {kOverall, "HAN", "3"}, {kOverall, "USER", "@user"}},
       {},
       {}},
      {"a rule source entered first without a finding leaves the summary item to the next",
       [](T& t) {
         t.Type(kSystolic, "120");
         t.Pick(kChest, kOldChange);
       },
       [](T& t) {
         t.Pick(kChest, kOldChange);
         t.Type(kSystolic, "120");
       },
       {{kSystolic, "KNSACH", "120"}, {kSystolic, "HAN", "1"}, {kSummary, "SYOKEN", kLifestyle}, {kSummary, "HAN", "3"}},
       {},
       {}},
      {"a search of a judgement item that writes nothing takes no summary item",
       [](T& t) {
         t.F5(kChestGroup);
         t.Pick(kChest, kOldChange);
       },
       [](T& t) { t.Pick(kChest, kOldChange); },
       {{kSummary, "SYOKEN", kLifestyle}, {kSummary, "HAN", "3"}},
       {"所見マスタが登録されていません"},  // the group item has no findings type
       {}},
      {"Enter on the overall item sets no check that the click refuses",
       [](T& t) { t.Type(kOverall, "Ａ"); },
       [](T& t) {
         t.Type(kOverall, "Ａ");
         t.Check(kOverall);
       },
       {{kOverall, "HAN", "1"}, {kOverall, "HEKBN", "0"}, {kOverall, "USER", "@user"}},
       {},
       {kGroupMissing}},
      {"a value the judgement cannot judge is stored without a grade, by Enter as when left",
       [](T& t) { t.Type(kWaist, "70"); },
       [](T& t) { t.TypeAndLeave(kWaist, "70", kSystolic); },
       {{kWaist, "KNSACH", "70.0"}, {kWaist, "HAN", "0"}, {kWaist, "SYOKEN", ""}, {kWaist, "HEKBN", "0"},
        {kWaist, "USER", "@user"}, {kBodyGroup, "HAN", "0"}, {kOverall, "USER", "@user"}},
       {kCannotJudge},
       {kCannotJudge}},
  };
  Build(static_cast<int>(cases.size()));
  if (HasFatalFailure()) return;
  for (std::size_t n = 0; n < cases.size(); ++n) {
    const PathCase& c = cases[n];
    SCOPED_TRACE(c.name);
    std::vector<std::string> path_boxes;
    std::vector<std::string> hand_boxes;
    const auto path = Run(Twin(2 * static_cast<int>(n)), [&] { c.path(*this); }, path_boxes);
    const auto by_hand = Run(Twin(2 * static_cast<int>(n) + 1), [&] { c.by_hand(*this); }, hand_boxes);
    EXPECT_EQ(path, by_hand);
    for (const auto& [item, field, value] : c.stored) {
      const std::string expected = std::string(value) == "@user" ? basPublic.LogonUserId : value;
      EXPECT_EQ(Field(path, item, field), expected) << item << " " << field;
    }
    EXPECT_EQ(path_boxes, c.path_boxes);
    EXPECT_EQ(hand_boxes, c.hand_boxes);
    EXPECT_SCRIPT_OK(shell_);
  }
}

}  // namespace
}  // namespace qz::test
