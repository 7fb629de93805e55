#include "grid/entry_writes.h"

#include "examinee/bas_get_user_info.h"
#include "grid/cell_colors.h"
#include "grid/grid_procedure.h"
#include "grid/item_row_map.h"
#include "grid/searched_row.h"
#include "loading/load_messages.h"
#include "grid/last_write.h"
#include "judgement/result_update.h"
#include "loading/group_forms.h"
#include "loading/jump_group_index.h"
#include "loading/load_state.h"
#include "loading/result_cell_texts.h"
#include "platform/clock/clock.h"
#include "platform/grid/spread.h"
#include "platform/text/vb.h"

namespace qz {
namespace {
constexpr int kJumpMarkCol = 2;
}  // namespace

std::int16_t ItemOnRow(std::int32_t row) {
  if (row < basPublic.DataRow || row > basPublic.DataRow + frmResultIn.RowCount() - 1) return 0;
  return Fnc_RowToItem(row);
}

void StampEntry(std::int16_t item, std::int32_t row) {
  KekkaData& r = frmResultIn.ResultMatrix(item, 0);
  const LocalDateTime now = Now();
  r.User = basPublic.LogonUserId;
  r.Ymd = now.Ymd();
  r.Hms = now.Hms();
  if (row == 0) return;
  SetResultCell(basPublic.UpdateCol, row, vb::Trim(Fnc_GetUserName(r.User)));
  SetResultCell(basPublic.UptimeCol, row, Fnc_FormatLastWrite(item));
}

std::string StoredDisplayText(const KekkaData& r, std::string_view plain) {
  if (r.Sokutei == kSokuteiNone) return std::string(plain);
  const std::string mark = MeasureClassMark(r.Sokutei, r.Knsach);
  return mark.empty() ? std::string(plain) : mark;
}

void ShowJumpLineOf(std::int16_t item) {
  const KomInfo& k = frmResultIn.ItemTable[item];
  if (basPublic.UserDspKbn != 1 || k.Ksyub != kKsyubGroupJudgement) return;
  const std::int16_t g = Fnc_GetJumpGroupIndex(k.NgrpIndex);
  if (g == -1) return;
  const KekkaData& r = frmResultIn.ResultMatrix(item, 0);
  std::string mark;
  std::string letter;
  if (!JudgementMarkOf(r.Han, mark, letter)) {
    ShowJudgeConversionWarning(r.Han, k.KomName);
    return;
  }
  std::string text = vb::Trim(mark);
  if (r.Sokutei == kSokuteiNotPerformed) text = "未";
  if (r.Sokutei == kSokuteiUnmeasurable) text = "不";
  frmGrpJmp->flxGroop.SetTextMatrix(g, kJumpMarkCol, text);
  Sub_SetJumpCellColor(kJumpMarkCol, g, letter);
}

bool ResultContentEmpty(std::int16_t item) {
  const KekkaData& r = frmResultIn.ResultMatrix(item, 0);
  switch (frmResultIn.ItemTable[item].Ksyub) {
    case kKsyubFindings: return vb::Trim(r.Syoken).empty();
    case kKsyubGroupJudgement: return r.Han == 0;
    default: return vb::Trim(r.Knsach).empty();
  }
}

bool WarnSearchOpenOn(std::int32_t row) { return Fnc_SearchedRowRefuses(row); }

void MoveActiveTo(std::int32_t col, std::int32_t row) {
  grid::Spread& spr = ResultGrid();
  spr.block_mode = false;
  spr.col = col;
  spr.row = row;
  spr.SetAction(grid::kActionActiveCell);
}

bool InCodeList(const CodeList& list, Currency code) {
  for (int n = 1; n <= list.Count && n < static_cast<int>(list.Items.size()); ++n) {
    if (list.Items[static_cast<std::size_t>(n)] == code) return true;
  }
  return false;
}

bool ShowJudgementCells(std::int16_t item, std::int32_t row, std::int16_t code) {
  std::string mark;
  std::string letter;
  if (!JudgementMarkOf(code, mark, letter)) {
    ShowJudgeConversionWarning(code, frmResultIn.ItemTable[item].KomName);
    SetResultCell(basPublic.HanCol, row, "");
    return false;
  }
  SetResultCell(basPublic.HanCol, row, vb::Trim(mark));
  Sub_SetCellForeColor(basPublic.ResultCol, row, letter);
  Sub_SetCellForeColor(basPublic.HanCol, row, letter);
  return true;
}

}  // namespace qz
