#include "loading/item_rows.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include "data/common_sub.h"
#include "data/std_range_text.h"
#include "examinee/bas_public.h"
#include "loading/color_letters.h"
#include "loading/group_forms.h"
#include "loading/item_filter.h"
#include "loading/jump_group_index.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"
#include "platform/runtime/run_time_error.h"

namespace qz {

namespace {

constexpr const char* kNoUpperLimit = "99999.9999";
constexpr const char* kNoLowerLimit = "0";

ui::Color AsColor(std::int32_t c) { return static_cast<ui::Color>(c); }

// The colour letter of the item kind; kinds outside 0..4 have none (a
// subscript error, as the settings' list has five entries).
const std::string& KindColorLetter(std::int16_t ksyub) {
  if (ksyub < 0 || ksyub >= static_cast<std::int16_t>(frmResultIn.SysColors.size())) {
    throw RunTimeError(kErrSubscript);
  }
  return frmResultIn.SysColors[static_cast<std::size_t>(ksyub)];
}

// One bound cut to the digit format, or `word` for the value that
// stands for no bound.
std::string RangeBound(const std::string& value, const char* no_limit, std::string_view word,
                       const std::string& spec) {
  return value == no_limit ? std::string(word) : Fnc_CutToDigits(value, spec);
}

// The reference-range text of `item`; false when the bounds do not fit its
// digit format or it is no number (the warning is shown): one item
// master with a bad digit format must not end the lines of every item
// after it.
bool RangeText(const KomInfo& item, std::string& text) {
  text.clear();
  if (item.StdLow.empty() || item.StdHigh.empty()) return true;
  try {
    const std::string lower = RangeBound(item.StdLow, kNoLowerLimit, kNoLowerBound, item.Stype);
    const std::string upper = RangeBound(item.StdHigh, kNoUpperLimit, kNoUpperBound, item.Stype);
    if (Fnc_EditStdRange(lower, upper, item.Stype, text) == 0) return true;
  } catch (const RunTimeError&) {
    text.clear();
  }
  const std::string crlf(kCrLf);
  ShowLoadWarning("基準値の編集でエラーが発生しました。" + crlf + "項目名 : " + item.KomName + crlf + "高値 : " +
                  item.StdHigh + crlf + "低値 : " + item.StdLow);
  return false;
}

// The cells of grid row `r` showing `item`; `letter` is the colour letter
// of its kind, the text colour of its name.
void DrawLine(grid::Spread& spr, int r, const KomInfo& item, const std::string& letter) {
  using grid::Range;
  spr.SetText(basPublic.ItemCol, r, item.KomName);
  SetCellForeColorByLetter(spr, basPublic.ItemCol, r, letter);
  spr.SetAlignment(Range::Cell(basPublic.ItemCol, r), grid::HAlign::kLeft);
  spr.SetFontSize(Range::Cell(basPublic.ItemCol, r), basPublic.FontSizeKom);
  spr.SetBackColor(Range::Cell(basPublic.ItemCol, r), AsColor(basPublic.ColorKom));

  std::string range;
  if (RangeText(item, range)) spr.SetText(basPublic.StdCol, r, range);
  spr.SetText(basPublic.UnitCol, r, item.Tani);

  spr.SetFontSize(Range::Cell(basPublic.StdCol, r), basPublic.FontSizeStd);
  spr.SetBackColor(Range::Cell(basPublic.StdCol, r), AsColor(basPublic.ColorStd));
  spr.SetFontSize(Range::Cell(basPublic.UnitCol, r), basPublic.FontSizeTani);
  spr.SetBackColor(Range::Cell(basPublic.UnitCol, r), AsColor(basPublic.ColorTani));
  spr.SetFontSize(Range::Cell(basPublic.SyoCodeCol, r), basPublic.FontSizeSyoCode);
  spr.SetBackColor(Range::Cell(basPublic.SyoCodeCol, r), AsColor(basPublic.ColorSyoCode));

  // Whole-row colours, each over the one before.
  if (item.Ksyub == kKsyubGroupJudgement) spr.SetBackColor(Range::Row(r), AsColor(basPublic.ColorHantei));
  const CountedArray<IndividualColorInfo>& own = basPublic.IndividualColor;
  for (int k = 1; k <= own.Count; ++k) {
    const IndividualColorInfo& entry = own.Items.at(static_cast<std::size_t>(k));
    if (entry.KomCode == item.KomCode) spr.SetBackColor(Range::Row(r), AsColor(entry.Color));
  }
  if (item.Past != kPastBookedNow) spr.SetBackColor(Range::Row(r), AsColor(basPublic.ColorPast));
  SetCellForeColorByLetter(spr, basPublic.ItemCol, r, letter);
}

// The position (1..) in frmResultIn.InputGroups of group `ngrp`, searched
// from `from` on; 0 when it is not there.
int FindGroup(std::int32_t ngrp, int from) {
  for (int g = from; g <= frmResultIn.InputGroupCount(); ++g) {
    if (frmResultIn.InputGroups[g].Ngrp == ngrp) return g;
  }
  return 0;
}

bool JkoInfo() {
  grid::Spread* spr = frmResultIn.sprResult;
  if (spr != nullptr) spr->SetMaxRows(basPublic.DataRow - 1);
  frmResultIn.RowItems.Clear();
  grid::ListGrid& select = frmGrpSel->flxGroop;
  grid::ListGrid& jump = frmGrpJmp->flxGroop;
  int g = 1;
  std::int32_t last_group = 0;

  for (int i = 1; i <= frmResultIn.ItemCount(); ++i) {
    const KomInfo& item = frmResultIn.ItemTable[i];
    if (!IsItemShown(item)) continue;
    const int found = FindGroup(item.Ngrp, g);
    if (found == 0) continue;
    g = found;
    if (select.CellBackColorAt(g - 1, 0) != AsColor(basPublic.ColorNgrpSelect)) continue;

    frmResultIn.RowItems.Append(static_cast<std::int16_t>(i));
    const int line = frmResultIn.RowCount();
    const int r = line + basPublic.DataRow - 1;
    if (spr != nullptr) spr->SetMaxRows(r);
    if (item.Ngrp != last_group) {
      // The row of this group, wherever the list has it: a selected group
      // without a shown line has a row too, and a group the list lacks
      // gets no line number of another's.
      const std::int16_t jump_row = Fnc_GetJumpGroupIndex(static_cast<std::int16_t>(g - 1));
      if (jump_row >= 0) jump.SetTextMatrix(jump_row, 1, std::to_string(line));
      last_group = item.Ngrp;
    }
    const std::string& letter = KindColorLetter(item.Ksyub);
    if (spr != nullptr) DrawLine(*spr, r, item, letter);
  }
  return true;
}

}  // namespace

bool Sub_JkoInfo() { return RunLoadStep("受診項目情報の表示処理でエラーが発生しました。", JkoInfo); }

}  // namespace qz
