#include "judgement/library_area.h"
#include "judgement/auto_judge.h"

#include <exception>

#include "data/bas_file_access.h"
#include "data/bas_rank_change.h"
#include "loading/load_messages.h"
#include "loading/load_records.h"
#include "loading/load_state.h"
#include "platform/record/status.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/vb.h"
#include "suite/qzp310.h"

namespace qz {
namespace {

constexpr std::string_view kJudged = "1";

// The judgement area of the library, filled in.
std::string JudgementArea(Currency item_code, std::string_view value) {
  std::string area = vb::Space(static_cast<std::int64_t>(suite::kQzp310AreaLength));
  PlaceInArea(area, 1, 10, vb::Format(item_code, "0000000000"));
  const std::string date = frmResultIn.HistoryDates.empty() ? "" : frmResultIn.HistoryDates[0].Jdate;
  PlaceInArea(area, 11, 8, vb::Format(date, "00000000"));
  PlaceInArea(area, 19, 1, vb::CStr(frmResultIn.ExamineeSex));
  PlaceInArea(area, 20, 3, vb::Format(frmResultIn.ExamineeAge, "000"));
  PlaceInArea(area, 23, 10, value);
  return area;
}

bool Judge(Currency item_code, std::string_view value, Currency finding_type, std::int16_t& judgement,
           std::string& mark, std::string& color_letter, std::string& finding) {
  if (vb::Len(vb::Trim(value)) > kJudgedValueLength) return false;
  const std::string area = CallWithArea(JudgementArea(item_code, value), suite::QZP310);
  const std::string status = vb::Mid(area, 39, 1);
  if (!vb::IsNumeric(status)) throw RunTimeError(kErrTypeMismatch);
  if (vb::CDbl(status) != vb::CDbl(kJudged)) return false;

  record::BtrAccess& syo = LoadObject(basFileAccess.QZSYO3LFObj);
  syo.SetField("CODE", finding_type);
  syo.SetField("SCODE", std::int64_t{vb::CLng(vb::Mid(area, 33, 6))});
  const int read = syo.GetEqual("QZSYO3LF");
  if (read == record::kStatusNotFound) {
    ShowLoadWarning("コード「" + syo.GetField("SCODE").ToText() + "」は所見マスタに登録されていません。");
    return false;
  }
  if (read != record::kStatusOk) {
    ShowLoadWarning("所見マスタ３の読み込みに失敗しました。" + std::string(kCrLf) + "検査項目番号 : " +
                    syo.GetField("CODE").ToText() + std::string(kCrLf) + StatusText(read));
    return false;
  }
  finding = vb::Trim(syo.GetField("SYKN").ToText());
  judgement = FieldInt16(syo, "KHANTEI");
  return Fnc_JudgeCodeToMark(judgement, mark, color_letter) == 0;
}

}  // namespace

bool Fnc_AutoJudgeItem(Currency item_code, std::string_view value, Currency finding_type,
                       std::int16_t& judgement, std::string& mark, std::string& color_letter,
                       std::string& finding) {
  try {
    return Judge(item_code, value, finding_type, judgement, mark, color_letter, finding);
  } catch (const std::exception& e) {
    ShowLoadErrorReport("自動判定処理でエラーが発生しました。", e);
    return false;
  }
}

}  // namespace qz
