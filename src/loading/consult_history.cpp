#include "loading/consult_history.h"

#include <cstdint>
#include <string>

#include "data/bas_file_access.h"
#include "examinee/bas_public.h"
#include "loading/load_messages.h"
#include "loading/load_records.h"
#include "loading/load_state.h"
#include "platform/text/vb.h"

namespace qz {

namespace {

bool LoadHistory() {
  frmResultIn.HistoryDates.assign(1, JrkEntry{std::to_string(basPublic.ConsultDate), 0});
  frmResultIn.SendDateText.clear();
  basPublic.AutoJudgeDone = false;
  basPublic.DelListAnswer = 0;
  // One examinee's course report never starts for the next.
  basPublic.ReportCode = 0;

  record::BtrAccess& jrk = LoadObject(basFileAccess.QZJRKLFObj);
  const auto set_key = [&] {
    jrk.SetField("CODE", basPublic.ExamineeNo);
    jrk.SetField("JDATE", static_cast<std::int64_t>(basPublic.ConsultDate));
  };
  set_key();
  if (jrk.GetEqual("QZJRKLF") == record::kStatusOk) {
    const std::string prymd = vb::Trim(jrk.GetField("PRYMD").ToText());
    if (vb::IsNumeric(prymd) && vb::Val(prymd) != 0) frmResultIn.SendDateText = prymd;
    if (jrk.GetField("JHKBN").ToText() == "1") basPublic.AutoJudgeDone = true;
  }

  const std::string examinee_code = LoadObject(basFileAccess.QZJSNLFObj).GetField("CODE").ToText();
  record::BtrAccess& jko = LoadObject(basFileAccess.QZJKOLFObj);
  set_key();
  int status = jrk.GetLess("QZJRKLF");
  while (status == record::kStatusOk) {
    const std::string code = jrk.GetField("CODE").ToText();
    if (!IsSameExaminee(code, examinee_code)) break;
    if (frmResultIn.HistoryCount() >= basPublic.MaxJrk) break;
    const std::int64_t jdate = jrk.GetField("JDATE").ToLong();
    frmResultIn.HistoryDates.push_back(
        JrkEntry{std::to_string(jdate), FieldInt32(jrk, "CNO1")});
    JrkEntry& entry = frmResultIn.HistoryDates.back();
    jko.SetField("CODE", code);
    jko.SetField("KSYMD", jdate);
    if (jko.GetEqual("QZJKOLF") == record::kStatusOk) {
      const Currency pcode = jko.GetField("PCODE").ToCurrency();
      if (pcode != Currency(0)) entry.Cno1 = vb::CLng(pcode);
    }
    status = jrk.GetPrevious();
  }
  if (status != record::kStatusOk && status != record::kStatusEndOfFile) {
    return FailLoad("受診歴マスタの読み込みに失敗しました。" + std::string(kCrLf) + "受診者番号 : " +
                    basPublic.ExamineeNo + std::string(kCrLf) + StatusText(status));
  }
  return true;
}

}  // namespace

bool Sub_LoadHistory() { return RunLoadStep("受診歴情報の取得処理でエラーが発生しました。", LoadHistory); }

}  // namespace qz
