#include "tools/delete_list.h"

#include <exception>

#include "data/bas_rank_change.h"
#include "examinee/bas_public.h"
#include "grid/cell_colors.h"
#include "loading/load_state.h"
#include "loading/result_cell_texts.h"
#include "platform/grid/spread.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/vb.h"
#include "platform/ui/error_report.h"
#include "tools/frm_del_list.h"
#include "tools/pad_left.h"

namespace qz {

namespace {

constexpr std::string_view kJobText = "削除データリストの表示処理でエラーが発生しました。";
constexpr int kValueWidth = 10;

// The colour letter of the item kind, "" outside the table.
std::string KindLetter(std::int16_t kind) {
  if (kind < 0 || kind >= static_cast<int>(frmResultIn.SysColors.size())) return {};
  return frmResultIn.SysColors[static_cast<std::size_t>(kind)];
}

void AppendLine(grid::Spread& list, int i) {
  const KomInfo& item = frmResultIn.ItemTable[i];
  const KekkaData& result = frmResultIn.ResultMatrix(i, 0);
  const int row = list.max_rows() + 1;
  list.SetMaxRows(row);
  list.SetText(1, row, Fnc_PadLeft(item.KomCode.ToString(), kValueWidth));
  list.SetText(2, row, item.KomName);
  list.SetText(3, row, DeleteListValueText(item, result));
  list.SetText(4, row, result.Hekbn == 1 ? basPublic.ChkStr : std::string());

  for (int k = 1; k <= basPublic.IndividualColor.Count; ++k) {
    const IndividualColorInfo& entry = basPublic.IndividualColor.Items[static_cast<std::size_t>(k)];
    if (entry.KomCode == item.KomCode) list.SetBackColor(grid::Range::Row(row), static_cast<ui::Color>(entry.Color));
  }
  if (item.Ksyub == kKsyubGroupJudgement) {
    list.SetBackColor(grid::Range::Row(row), static_cast<ui::Color>(basPublic.ColorHantei));
  }
  const std::string kind_letter = KindLetter(item.Ksyub);
  Sub_SetCellForeColor(1, row, kind_letter, kColorTargetDeleteList);
  Sub_SetCellForeColor(2, row, kind_letter, kColorTargetDeleteList);
  std::string value_letter = frmResultIn.DefaultColorLetter;
  if (result.Han != 0) {
    std::string mark;
    value_letter.clear();
    Fnc_JudgeCodeToMark(result.Han, mark, value_letter);
  }
  Sub_SetCellForeColor(3, row, value_letter, kColorTargetDeleteList);
}

// Gives the focus back to the result grid when its form can take it.
void FocusResultGrid() {
  grid::Spread* spr = frmResultIn.sprResult;
  if (spr == nullptr || spr->form() == nullptr || !spr->CanFocus() || !spr->form()->visible()) return;
  try {
    spr->SetFocus();
  } catch (const RunTimeError&) {
    // A grid that cannot take the focus now keeps the answer all the same.
  }
}

}  // namespace

std::string DeleteListValueText(const KomInfo& item, const KekkaData& result) {
  if (result.Sokutei == kSokuteiNotPerformed || result.Sokutei == kSokuteiUnmeasurable) {
    return MeasureClassMark(result.Sokutei, result.Knsach);
  }
  switch (item.Ksyub) {
    case kKsyubFindings:
      return result.Syoken;
    case kKsyubGroupJudgement: {
      std::string mark, letter;
      return Fnc_JudgeCodeToMark(result.Han, mark, letter) == 0 ? mark : std::string();
    }
    case kKsyubNumeric:
    case kKsyubCalculated: {
      std::string value = MeasureClassMark(result.Sokutei, result.Knsach);
      if (value.empty()) value = vb::Trim(result.Knsach);
      return Fnc_PadLeft(value, kValueWidth);
    }
    default:
      return {};
  }
}

std::int16_t Fnc_ShowDeleteList() {
  try {
    SetColorTargetGrid(kColorTargetDeleteList, [] { return &frmDelList->sprList; });
    grid::Spread& list = frmDelList->sprList;
    list.SetMaxRows(0);
    for (int i = 1; i <= frmResultIn.ItemCount(); ++i) {
      if (frmResultIn.ItemTable[i].Past == kPastResultOnly) AppendLine(list, i);
    }
    if (list.max_rows() == 0) return kDelListNotShown;
    frmDelList->Show(true);
    FocusResultGrid();
    return basPublic.DelListAnswer;
  } catch (const RunTimeError& e) {
    ui::ShowErrorReport(kJobText, e, ui::MsgIcon::kCritical, "結果入力");
  } catch (const std::exception& e) {
    ui::ShowErrorReport(kJobText, kErrInvalidCall, e.what(), ui::MsgIcon::kCritical, "結果入力");
  }
  return kDelListNotShown;
}

}  // namespace qz
