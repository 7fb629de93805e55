#include "loading/result_cells.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "data/bas_file_access.h"
#include "data/bas_rank_change.h"
#include "data/judge_mark.h"
#include "examinee/bas_get_user_info.h"
#include "examinee/bas_public.h"
#include "grid/cell_colors.h"
#include "grid/item_row_map.h"
#include "grid/last_write.h"
#include "loading/group_forms.h"
#include "loading/jump_group_index.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "loading/result_cell_texts.h"
#include "platform/grid/spread.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/vb.h"

namespace qz {

namespace {

using grid::Range;

// List sizes of the drop-downs, in entries.
constexpr int kListDropRows = 100;
constexpr int kFindingsDropRows = 500;
// Longest input, in code-page bytes, of the value cells.
constexpr int kNumericMaxLen = 10;
constexpr int kJudgementMaxLen = 4;
constexpr int kFindingsMaxLenNoDigits = 200;
// The column of the group-jump list that shows a group's judgement.
constexpr int kJumpMarkCol = 2;

// What a judgement code shows: its mark (as the settings give it) and its
// colour letter. Code 0, and a code without a mark, show nothing in the
// default letter.
struct Judgement {
  std::string mark;
  std::string letter;
  bool found = true;  // false: a code other than 0 without a mark
};

// What the drawing looks up once per call instead of once per cell: the
// judgement slots of the settings record (they do not change while the grid
// is drawn) and the names of the updaters. A name that could not be read is
// asked for again, so its warning shows as often as before.
class Lookups {
 public:
  // Fnc_JudgeCodeToMark over the slots read at the first call.
  std::int16_t JudgeCodeToMark(std::int16_t code, std::string& mark, std::string& letter) {
    if (!slots_read_) {
      slots_read_ = true;
      try {
        if (basFileAccess.SysObj) slots_ = ReadJudgeSlots(*basFileAccess.SysObj);
      } catch (const RunTimeError&) {
        slots_.reset();  // every code then has no mark, as the per-call read answers
      }
    }
    if (!slots_) return 1;
    try {
      return qz::JudgeCodeToMark(*slots_, code, mark, letter);
    } catch (const RunTimeError&) {
      return 1;
    }
  }
  // Fnc_GetUserName, read once per user.
  std::string UserName(const std::string& id) {
    auto it = names_.find(id);
    if (it != names_.end()) return it->second;
    bool answered = false;
    std::string name = Fnc_GetUserName(id, answered);
    if (answered) names_.emplace(id, name);
    return name;
  }

 private:
  bool slots_read_ = false;
  std::optional<JudgeSlots> slots_;
  std::unordered_map<std::string, std::string> names_;
};

Judgement JudgementOf(Lookups& lookups, std::int16_t han) {
  Judgement j{"", frmResultIn.DefaultColorLetter, true};
  if (han == 0) return j;
  std::string mark;
  std::string letter;
  if (lookups.JudgeCodeToMark(han, mark, letter) != 0) {
    j.found = false;
    return j;
  }
  j.mark = mark;
  j.letter = letter;
  return j;
}

// The judgement of a value cell: a code without a mark is reported.
Judgement ValueJudgement(Lookups& lookups, const KomInfo& item, const KekkaData& result) {
  Judgement j = JudgementOf(lookups, result.Han);
  if (!j.found) {
    const std::string crlf(kCrLf);
    ShowLoadWarning("判定変換に失敗しました。" + crlf + "判定コード : " + std::to_string(result.Han) + crlf +
                    "項目名 : " + item.KomName);
  }
  return j;
}

void SetForeColor(int col, int row, const std::string& letter) {
  Sub_SetCellForeColor(col, row, letter, kColorTargetResult);
}

// Makes `cell` a list cell of the tab-separated `list` with nothing chosen.
void MakeList(grid::Spread& spr, const Range& cell, std::string_view list, bool editable, int drop_rows) {
  spr.SetCellType(cell, grid::CellType::kComboBox);
  spr.SetComboEditable(cell, editable);
  spr.SetComboList(cell, list);
  spr.SetComboMaxDrop(cell, drop_rows);
  spr.SetComboCurSel(cell, -1);
}

// The judgement list of item `index`: the overall judgement takes the
// limited one.
const std::string& JudgementList(std::int16_t index) {
  return index == frmResultIn.OverallItem ? frmResultIn.HanComboListLimited : frmResultIn.HanComboList;
}

// Column 2 of the group-jump row of a group item: its judgement mark, or
// the mark of the measurement classes 1 and 2; only shown to users of
// display class 1.
void DrawJumpMark(const KomInfo& item, const KekkaData& result, const Judgement& j) {
  if (item.Ksyub != kKsyubGroupJudgement || basPublic.UserDspKbn != 1 || item.Past == kPastBookedEarlier) return;
  if (result.Han == 0 && result.Sokutei == kSokuteiNone) return;  // the row stays as ClearJumpMarks left it
  const std::int16_t t = Fnc_GetJumpGroupIndex(item.NgrpIndex);
  if (t == -1) return;
  grid::ListGrid& jump = frmGrpJmp->flxGroop;
  if (result.Sokutei == kSokuteiNone) {
    jump.SetTextMatrix(t, kJumpMarkCol, vb::Trim(j.mark));
  } else if (result.Sokutei == kSokuteiNotPerformed) {
    jump.SetTextMatrix(t, kJumpMarkCol, "未");
  } else if (result.Sokutei == kSokuteiUnmeasurable) {
    jump.SetTextMatrix(t, kJumpMarkCol, "不");
  }
  Sub_SetJumpCellColor(kJumpMarkCol, t, j.letter);
}

// The cells of the current consultation beside the value cell: lists,
// judgement, jump mark, done check, updater and update time. Returns the
// colour letter of the judgement.
std::string DrawCurrentCells(Lookups& lookups, grid::Spread& spr, std::int16_t index, const KomInfo& item,
                             const KekkaData& result, int row) {
  if (item.Past == kPastBookedNow) {
    if (item.Ksyub != kKsyubGroupJudgement) {
      MakeList(spr, Range::Cell(basPublic.HanCol, row), JudgementList(index), true, kListDropRows);
    }
    MakeList(spr, Range::Cell(basPublic.SokuteiCol, row), MeasureClassList(item.Ksyub), false, kListDropRows);
  }
  spr.SetColWidth(basPublic.SyoCodeCol, basPublic.WidthSyoCode);

  const Judgement j = JudgementOf(lookups, result.Han);
  spr.SetText(basPublic.HanCol, row, vb::Trim(j.mark));
  SetForeColor(basPublic.HanCol, row, j.letter);
  DrawJumpMark(item, result, j);

  spr.SetText(basPublic.ChkCol, row, result.Hekbn == 1 ? basPublic.ChkStr : "");
  spr.SetText(basPublic.UpdateCol, row, vb::Trim(lookups.UserName(result.User)));
  spr.SetAlignment(Range::Cell(basPublic.UpdateCol, row), grid::HAlign::kLeft);
  spr.SetText(basPublic.UptimeCol, row, Fnc_FormatLastWrite(index));
  spr.SetAlignment(Range::Cell(basPublic.UptimeCol, row), grid::HAlign::kLeft);
  spr.SetComboCurSel(Range::Cell(basPublic.SokuteiCol, row), result.Sokutei - 1);
  return j.letter;
}

// The judgement-findings cell of the current consultation.
void DrawJudgementFinding(grid::Spread& spr, const KekkaData& result, int row, const std::string& letter) {
  spr.SetText(basPublic.HanSyoCol, row, result.Syoken);
  spr.SetAlignment(Range::Cell(basPublic.HanSyoCol, row), grid::HAlign::kLeft);
  SetForeColor(basPublic.HanSyoCol, row, letter);
}

// Makes the current value cell of findings item `item` a list of the
// findings of its type, when it has any, closed by the search entry.
void DrawFindingsList(grid::Spread& spr, const Range& cell, const KomInfo& item) {
  const OneBasedList<SyoComboInfo>& entries = frmResultIn.SyoComboLists;
  int first = 1;
  while (first <= entries.Count() && entries[first].Code != item.KomCode) ++first;
  if (first > entries.Count()) return;
  spr.SetCellType(cell, grid::CellType::kStaticText);
  spr.SetCellType(cell, grid::CellType::kComboBox);
  spr.SetComboEditable(cell, true);
  spr.SetComboList(cell, "");  // a new cell type starts with an empty list
  for (int e = first; e <= entries.Count() && entries[e].Code == item.KomCode; ++e) {
    spr.AddComboEntry(cell, -1, FindingsComboEntry(entries[e]));
    if (e == first) spr.SetComboMaxDrop(cell, kFindingsDropRows);
  }
  spr.AddComboEntry(cell, -1, basPublic.SearchCombo);
  spr.SetComboCurSel(cell, -1);
}

// The value cell (col, row) of consultation column `k`. `letter` is the
// colour letter so far; returns the letter the cell takes.
std::string DrawValueCell(Lookups& lookups, grid::Spread& spr, int k, int col, int row, std::int16_t index, const KomInfo& item,
                          const KekkaData& result, std::string letter) {
  const Range cell = Range::Cell(col, row);
  switch (item.Ksyub) {
    case kKsyubNumeric:
    case kKsyubCalculated: {
      spr.SetAlignment(cell, grid::HAlign::kRight);
      spr.SetFontSize(cell, basPublic.FontSizeNum);
      spr.SetMaxEditLen(cell, kNumericMaxLen);
      spr.SetEditCharSet(cell, grid::kCharSetSingleByte);
      spr.SetText(col, row, result.Knsach);
      letter = ValueJudgement(lookups, item, result).letter;
      SetForeColor(col, row, letter);
      if (k == 0) DrawJudgementFinding(spr, result, row, letter);
      break;
    }
    case kKsyubFindings: {
      if (k == 0) DrawFindingsList(spr, cell, item);
      spr.SetAlignment(cell, grid::HAlign::kLeft);
      spr.SetFontSize(cell, basPublic.FontSizeSyo);
      spr.SetMaxEditLen(cell, item.Keta == 0 ? kFindingsMaxLenNoDigits : 2 * item.Keta);
      spr.SetEditCharSet(cell, grid::kCharSetAll);
      spr.SetText(col, row, result.Syoken);
      letter = ValueJudgement(lookups, item, result).letter;
      SetForeColor(col, row, letter);
      break;
    }
    case kKsyubGroupJudgement: {
      if (k == 0) MakeList(spr, cell, JudgementList(index), true, kListDropRows);
      spr.SetAlignment(cell, grid::HAlign::kCenter);
      spr.SetFontSize(cell, basPublic.FontSizeHAN);
      spr.SetFontBold(cell, true);
      spr.SetMaxEditLen(cell, kJudgementMaxLen);
      spr.SetEditCharSet(cell, grid::kCharSetAll);
      const Judgement j = ValueJudgement(lookups, item, result);
      spr.SetText(col, row, j.mark);
      letter = j.letter;
      SetForeColor(col, row, letter);
      if (k == 0) DrawJudgementFinding(spr, result, row, letter);
      break;
    }
    default:
      break;
  }
  return letter;
}

// Column 2 of every row of the group-jump list emptied for a user of
// display class 1: a redraw shows only the judgements the result matrix
// holds now, never the mark of an earlier draw or entry.
void ClearJumpMarks() {
  if (basPublic.UserDspKbn != 1) return;
  grid::ListGrid& jump = frmGrpJmp->flxGroop;
  for (int t = 0; t < jump.rows(); ++t) jump.SetTextMatrix(t, kJumpMarkCol, "");
}

bool KekkaInfo() {
  grid::Spread* spr = frmResultIn.sprResult;
  if (spr == nullptr) return true;
  Lookups lookups;
  ClearJumpMarks();
  for (int k = 0; k <= frmResultIn.HistoryCount(); ++k) {
    const int col = k == 0 ? basPublic.ResultCol : basPublic.PastCol + k - 1;
    for (int r = 1; r <= frmResultIn.RowCount(); ++r) {
      const std::int16_t index = frmResultIn.RowItems[r];
      const KomInfo& item = frmResultIn.ItemTable[index];
      const KekkaData& result = frmResultIn.ResultMatrix(index, k);
      const int row = Fnc_ItemToRow(static_cast<std::int16_t>(r));
      // Each cell starts from the default letter; the current column's
      // cells set it from the judgement.
      std::string letter = frmResultIn.DefaultColorLetter;
      if (k == 0) letter = DrawCurrentCells(lookups, *spr, index, item, result, row);
      letter = DrawValueCell(lookups, *spr, k, col, row, index, item, result, letter);
      SetForeColor(col, row, letter);
      const std::string mark = MeasureClassMark(result.Sokutei, result.Knsach);
      if (!mark.empty()) spr->SetText(col, row, mark);
    }
  }
  return true;
}

}  // namespace

bool Sub_KekkaInfo() { return RunLoadStep("検査結果情報の表示処理でエラーが発生しました。", KekkaInfo); }

}  // namespace qz
