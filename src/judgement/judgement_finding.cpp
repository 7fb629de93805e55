#include "judgement/judgement_finding.h"

#include <exception>
#include <string>

#include "data/bas_file_access.h"
#include "examinee/bas_public.h"
#include "grid/cell_colors.h"
#include "judgement/result_update.h"
#include "loading/load_messages.h"
#include "loading/load_records.h"
#include "loading/load_state.h"
#include "platform/record/status.h"
#include "platform/text/vb.h"

namespace qz {
namespace {

void SetFinding(std::int16_t s) {
  const std::int16_t han = frmResultIn.ResultMatrix(s, 0).Han;
  const Currency target_code = frmResultIn.ItemTable[s].Hansyo;
  if (target_code == Currency(0) || han == 0) return;
  const std::int16_t t = FirstItemNumbered(target_code);
  if (t == 0 || frmResultIn.ResultMatrix(t, 0).Hekbn != 0) return;
  const KomInfo& target = frmResultIn.ItemTable[t];

  record::BtrAccess& syo = LoadObject(basFileAccess.QZSYO3LFObj);
  syo.SetField("CODE", target.Skomcd);
  syo.SetField("SCODE", 0);
  int status = syo.GetGreaterOrEqual("QZSYO3LF");
  bool found = false;
  while (status == record::kStatusOk && syo.GetField("CODE").ToCurrency() == target.Skomcd) {
    if (FieldInt16(syo, "KHANTEI") == han) {
      found = true;
      break;
    }
    status = syo.GetNext();
  }
  if (!found) return;

  const std::int16_t h = FieldInt16(syo, "KHANTEI");
  const std::string sykn = syo.GetField("SYKN").ToText();
  std::string mark;
  std::string letter;
  if (!JudgementMarkOf(h, mark, letter)) {
    ShowJudgeConversionWarning(h, target.KomName);
    mark.clear();
    letter.clear();
  }
  KekkaData& r = frmResultIn.ResultMatrix(t, 0);
  r.Syoken = sykn;
  r.Han = h;
  StampCurrentResult(t);

  const std::int32_t row = ScreenRowOf(t);
  if (row == 0) return;
  SetResultCell(basPublic.ResultCol, row, sykn);
  SetResultCell(basPublic.SyoCodeCol, row, "");
  SetResultCell(basPublic.HanCol, row, vb::Trim(mark));
  ShowStampCells(t, row);
  Sub_SetCellForeColor(basPublic.ResultCol, row, letter);
  Sub_SetCellForeColor(basPublic.HanCol, row, letter);
}

}  // namespace

void Sub_SetJudgementFinding(std::int16_t item) {
  try {
    SetFinding(item);
  } catch (const std::exception& e) {
    ShowLoadErrorReport("判定所見のセット処理でエラーが発生しました。", e);
  }
}

}  // namespace qz
