#include "judgement/result_update.h"

#include "data/bas_rank_change.h"
#include "examinee/bas_get_user_info.h"
#include "examinee/bas_public.h"
#include "examinee/frm_result_in.h"
#include "grid/item_row_map.h"
#include "grid/last_write.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "platform/clock/clock.h"
#include "platform/grid/spread.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/vb.h"

namespace qz {

void StampUserAndTime(std::int16_t item) {
  KekkaData& r = frmResultIn.ResultMatrix(item, 0);
  const LocalDateTime now = Now();
  r.User = basPublic.LogonUserId;
  r.Ymd = now.Ymd();
  r.Hms = now.Hms();
}

void StampCurrentResult(std::int16_t item) {
  StampUserAndTime(item);
  frmResultIn.ResultMatrix(item, 0).Sokutei = kSokuteiNone;
}

std::int16_t FirstItemNumbered(Currency code) {
  for (int i = 1; i <= frmResultIn.ItemCount(); ++i) {
    if (frmResultIn.ItemTable[i].KomCode == code) return static_cast<std::int16_t>(i);
  }
  return 0;
}

std::int32_t ScreenRowOf(std::int16_t item) {
  const std::int16_t line = Fnc_FindItemRow(item);
  return line == 0 ? 0 : Fnc_ItemToRow(line);
}

bool JudgementMarkOf(std::int16_t code, std::string& mark, std::string& letter) {
  if (code == 0) {
    mark.clear();
    letter = frmResultIn.DefaultColorLetter;
    return true;
  }
  return Fnc_JudgeCodeToMark(code, mark, letter) == 0;
}

void ShowJudgeConversionWarning(std::int16_t code, std::string_view item_name) {
  ShowLoadWarning("判定変換に失敗しました。" + std::string(kCrLf) + "判定コード : " + std::to_string(code) +
                  std::string(kCrLf) + "項目名 : " + std::string(item_name));
}

void SetResultCell(std::int32_t col, std::int32_t row, std::string_view text) {
  if (frmResultIn.sprResult == nullptr) throw RunTimeError(kErrObjectRequired);
  frmResultIn.sprResult->SetText(col, row, text);
}

void ShowUpdaterCells(std::int16_t item, std::int32_t row) {
  SetResultCell(basPublic.UpdateCol, row, vb::Trim(Fnc_GetUserName(frmResultIn.ResultMatrix(item, 0).User)));
  SetResultCell(basPublic.UptimeCol, row, Fnc_FormatLastWrite(item));
}

void ShowStampCells(std::int16_t item, std::int32_t row) {
  ShowUpdaterCells(item, row);
  SetResultCell(basPublic.SokuteiCol, row, "");
}

void ShowStatusText(std::string_view text) {
  if (frmResultIn.sprResult == nullptr) return;
  auto* form = dynamic_cast<FrmResultIn*>(frmResultIn.sprResult->form());
  if (form != nullptr) form->lblStatus.caption = std::string(text);
}

}  // namespace qz
