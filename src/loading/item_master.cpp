#include "loading/item_master.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include "data/bas_file_access.h"
#include "data/std_range.h"
#include "examinee/bas_public.h"
#include "examinee/frm_guide.h"
#include "judgement/summary_findings.h"
#include "loading/load_messages.h"
#include "loading/load_records.h"
#include "loading/load_state.h"
#include "loading/user_groups.h"
#include "platform/text/vb.h"
#include "platform/ui/msgbox.h"

namespace qz {

namespace {

// The judgement master keeps its bounds with four implied decimals.
const Currency kStdScale = Currency(10000);

// The fields every pass copies.
void CopyMasterFields(const record::BtrAccess& kom, KomInfo& item) {
  item.KomName = FieldRTrim(kom, "HMEI");
  item.Tani = kom.GetField("TANI").ToText();
  item.Ksyub = FieldInt16(kom, "KSYUB");
  item.Stype = kom.GetField("STYPE").ToText();
  item.Jhkbn = FieldInt16(kom, "JHKBN");
  item.Calpt = FieldInt16(kom, "CALPT");
  for (int k = 1; k <= 3; ++k) item.Ktaino[k] = kom.GetField("KTAINO_" + std::to_string(k)).ToCurrency();
  item.Krkbn = FieldInt16(kom, "KRKBN");
  item.Skomcd = kom.GetField("SKOMCD").ToCurrency();
  item.Sgkbn = FieldInt16(kom, "SGKBN");
  item.Sex = FieldInt16(kom, "SEX");
  item.Yuko = kom.GetField("YUKO").ToText();
  item.Opchk = kom.GetField("OPCHK").ToText();
  item.Hansyo = kom.GetField("HANSYO").ToCurrency();
  item.Jlacno = kom.GetField("JLACNO").ToText();
  item.Monflg = FieldInt16(kom, "MONFLG");
  item.Copy = FieldInt16(kom, "COPY");
}

// The fields a course row may have set already, taken from the master only
// where it left them open. False (after the warning and the unload) when the
// item has no input group in either.
bool FillOpenCourseFields(const record::BtrAccess& kom, KomInfo& item) {
  if (item.Keta == 0) item.Keta = FieldInt16(kom, "KETA");
  if (item.Kekano != 1) item.Kekano = FieldInt16(kom, "KEKANO");
  if (item.Hantno != 1) item.Hantno = FieldInt16(kom, "HANTNO");
  if (item.Syokno != 1) item.Syokno = FieldInt16(kom, "SYOKNO");
  if (item.Ngrp == 0) item.Ngrp = FieldInt32(kom, "NGRP");
  if (item.Pjyun == 0) item.Pjyun = FieldInt32(kom, "PJYUN");
  if (item.Ngrp == 0) {
    return FailLoad("「" + item.KomName + "」の" + std::string(kCrLf) + "入力グループが登録されていません。");
  }
  if (item.Hjyun == 0) item.Hjyun = FieldInt16(kom, "HJYUN");
  for (int h = 1; h <= 4; ++h) {
    if (item.Hgrp[h] == 0) item.Hgrp[h] = FieldInt16(kom, "HGRP_" + std::to_string(h));
  }
  return true;
}

void SetStandardRange(KomInfo& item, std::int32_t consult_date) {
  if ((item.Ksyub != kKsyubNumeric && item.Ksyub != kKsyubCalculated) || item.Jhkbn != 1) {
    item.StdLow.clear();
    item.StdHigh.clear();
    return;
  }
  std::int16_t error = 0;
  Sub_GetStd(item.KomCode, frmResultIn.ExamineeSex, frmResultIn.ExamineeAge, consult_date, kStdScale, item.StdLow,
             item.StdHigh, item.StdGendate, error);
  if (error != 0) ShowLoadWarning("基準値の取得に失敗しました。" + std::string(kCrLf) + "項目名 : " + item.KomName);
}

// Appends the COMBO "1" rows of the item's findings type. False (after the
// warning and the unload) when the findings master cannot be read.
bool AddComboEntries(const KomInfo& item) {
  if (item.Skomcd == Currency(0)) return true;
  record::BtrAccess& syo = LoadObject(basFileAccess.QZSYO4LFObj);
  syo.SetField("CODE", item.Skomcd);
  syo.SetField("COMBO", 1);
  syo.SetField("RCODE", "");
  int status = syo.GetGreaterOrEqual("QZSYO4LF");
  while (status == record::kStatusOk) {
    if (syo.GetField("CODE").ToCurrency() != item.Skomcd) break;
    if (syo.GetField("COMBO").ToText() == "1") {
      frmResultIn.SyoComboLists.Append(SyoComboInfo{item.KomCode, FieldInt32(syo, "SCODE"), syo.GetField("SYKN").ToText(),
                                                    FieldInt16(syo, "KHANTEI")});
    }
    status = syo.GetNext();
  }
  if (status != record::kStatusOk && status != record::kStatusEndOfFile) {
    return FailLoad("所見マスタの読み込みに失敗しました。" + std::string(kCrLf) + "検査項目番号 : " +
                    item.Skomcd.ToString() + std::string(kCrLf) + StatusText(status));
  }
  return true;
}

// Sets up item `i`. `ended` is set when the item has no master version, so
// the set-up stops with the load going on.
bool SetUpItem(int i, const std::string& jdate, bool& ended) {
  KomInfo& item = frmResultIn.ItemTable[i];
  record::BtrAccess& kom = LoadObject(basFileAccess.QZKOMLFObj);
  kom.SetField("CODE", item.KomCode);
  kom.SetField("GENDATE", jdate);
  const int status = kom.GetLessOrEqual("QZKOMLF");
  if (status == record::kStatusEndOfFile ||
      (status == record::kStatusOk && kom.GetField("CODE").ToCurrency() != item.KomCode)) {
    ShowLoadWarning("検査項目マスタが見つかりません。" + std::string(kCrLf) + "検査項目番号 : " +
                    item.KomCode.ToString());
    ended = true;
    return true;
  }
  if (status != record::kStatusOk) {
    return FailLoad("検査項目マスタの読み込みに失敗しました。" + std::string(kCrLf) + "検査項目番号 : " +
                    item.KomCode.ToString() + std::string(kCrLf) + StatusText(status));
  }
  CopyMasterFields(kom, item);
  if (!FillOpenCourseFields(kom, item)) return false;
  SetStandardRange(item, vb::CLng(std::string_view(jdate)));
  item.Gendate = FieldInt32(kom, "GENDATE");
  if (!AddComboEntries(item)) return false;
  item.Editable = IsUserInputGroup(item.Ngrp);
  item.SougouDest = Fnc_IsSummaryAutoSetSource(item.KomCode);
  return true;
}

bool LoadItemMaster() {
  frmGuide->SetGauge(0, 1);
  ui::DoEvents();
  const std::string jdate = frmResultIn.HistoryDates.at(0).Jdate;
  const int count = frmResultIn.ItemCount();
  for (int i = 1; i <= count; ++i) {
    frmGuide->SetGauge(i, count);
    ui::DoEvents();
    bool ended = false;
    if (!SetUpItem(i, jdate, ended)) return false;
    if (ended) break;
  }
  return true;
}

}  // namespace

bool Sub_LoadItemMaster() { return RunLoadStep("検査項目情報の取得処理でエラーが発生しました。", LoadItemMaster); }

}  // namespace qz
