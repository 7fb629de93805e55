#include "loading/consult_reads.h"

#include <exception>
#include <optional>

#include "data/bas_file_access.h"
#include "examinee/bas_public.h"
#include "loading/load_messages.h"
#include "loading/load_records.h"
#include "loading/load_state.h"
#include "platform/text/vb.h"

namespace qz {

namespace {

// Runs `body`; a std::exception shows the error report with `job_text`
// and gives `empty`.
template <typename T, typename F>
T Guarded(std::string_view job_text, T empty, F body) {
  try {
    return body();
  } catch (const std::exception& e) {
    ShowLoadErrorReport(job_text, e);
    return empty;
  }
}

// Walks the examinee's records of `obj` backwards from the newest one on or
// before the consultation date (key CODE, DATE, REN 99) and gives
// `value_field` trimmed of the first record that `accept` takes. A record of
// another examinee or the start of the file gives empty; another status
// shows `failure` and the status in a plain box and gives nothing.
template <typename Accept>
std::optional<std::string> WalkBackFromConsultDate(record::BtrAccess& obj, std::string_view definition,
                                    std::string_view value_field, std::string_view failure,
                                    Accept accept) {
  obj.SetField("CODE", basPublic.ExamineeNo);
  obj.SetField("DATE", static_cast<std::int64_t>(basPublic.ConsultDate));
  obj.SetField("REN", 99);
  int status = obj.GetLessOrEqual(definition);
  while (status == record::kStatusOk && IsSameExaminee(obj.GetField("CODE").ToText(), basPublic.ExamineeNo)) {
    if (accept(obj)) return vb::Trim(obj.GetField(value_field).ToText());
    status = obj.GetPrevious();
  }
  if (status != record::kStatusOk && status != record::kStatusEndOfFile) {
    ShowLoadNotice(std::string(failure) + std::string(kCrLf) + StatusText(status));
    return std::nullopt;
  }
  return std::string();
}

}  // namespace

std::string Fnc_GetExamineeByPatientId(std::string_view patient_id) {
  return Guarded("医事患者番号からの受診者マスタ取得処理でエラーが発生しました。", std::string(), [&] {
    record::BtrAccess& obj = LoadObject(basFileAccess.QZJSN2LFObj);
    obj.SetField("IKANID", patient_id);
    const int status = obj.GetEqual("QZJSN2LF");
    if (status == record::kStatusOk) return obj.GetField("CODE").ToText();
    if (status != record::kStatusNotFound) {
      FailLoad("受診者マスタの読み込みに失敗しました。" + std::string(kCrLf) + "医事患者番号 : " +
               std::string(patient_id) + StatusText(status));
    }
    return std::string();
  });
}

std::int32_t Fnc_GetLastExamDate() {
  return Guarded("最終受診項目の取得処理でエラーが発生しました。", std::int32_t{0}, [] {
    record::BtrAccess& obj = LoadObject(basFileAccess.QZJKOLFObj);
    obj.SetField("CODE", basPublic.ExamineeNo);
    obj.SetField("KSYMD", 99999999);
    const int status = obj.GetLessOrEqual("QZJKOLF");
    if (status == record::kStatusOk) {
      if (!IsSameExaminee(obj.GetField("CODE").ToText(), basPublic.ExamineeNo)) return std::int32_t{0};
      return FieldInt32(obj, "KSYMD");
    }
    if (status != record::kStatusEndOfFile) {
      FailLoad("受診項目マスタの読み込みに失敗しました。" + std::string(kCrLf) + "受診者番号 : " +
               basPublic.ExamineeNo + StatusText(status));
    }
    return std::int32_t{0};
  });
}

void Sub_AdjustOptionFlags() {
  auto& f = basPublic.JkoFlags;
  if (f[kJkoSagaku]) {
    f[kJkoIppan] = true;
    f[kJkoFuka] = false;
  }
  if (f[kJkoFukaJihi]) f[kJkoFuka] = false;
  if (f[kJkoIppanJihi]) f[kJkoIppan] = false;
  if (f[kJkoSikyuJihi]) f[kJkoSikyu] = false;
  if (f[kJkoForoJihi]) f[kJkoForo] = false;
  if (f[kJkoKanenJihi]) f[kJkoKanen] = false;
  if (f[kJkoRnaJihi]) f[kJkoRna] = false;
  if (f[kJkoFuka]) {
    basPublic.JkoKbn = 2;
  } else if (f[kJkoIppan]) {
    basPublic.JkoKbn = 1;
  } else if (f[kJkoSikyu]) {
    basPublic.JkoKbn = 3;
  } else if (f[kJkoForo]) {
    basPublic.JkoKbn = 4;
  } else if (f[kJkoKanen] || f[kJkoRna]) {
    basPublic.JkoKbn = 5;
  } else {
    basPublic.JkoKbn = 0;
  }
}

std::optional<std::string> Fnc_GetInsurerReceptionNo() {
  return Guarded("政管受付番号取得でエラーが発生しました。", std::optional<std::string>(), [] {
    const std::int32_t year = basPublic.ConsultDate / 10000;
    const std::int32_t month = basPublic.ConsultDate / 100 % 100;
    const std::int32_t fiscal_start = (month <= 3 ? year - 1 : year) * 10000 + 401;
    return WalkBackFromConsultDate(LoadObject(basFileAccess.QZCARLFObj), "QZCARLF", "SEIKAN",
                                   "政管受付番号履歴マスタの読み込みに失敗しました。",
                                   [&](const record::BtrAccess& obj) {
                                     return obj.GetField("DATE").ToLong() >= fiscal_start;
                                   });
  });
}

std::optional<std::string> Fnc_GetTicketReferenceNo() {
  return Guarded("受診券整理番号でエラーが発生しました。", std::optional<std::string>(), [] {
    return WalkBackFromConsultDate(LoadObject(basFileAccess.QZJKRLFObj), "QZJKRLF", "JSNO",
                                   "受診券履歴マスタの読み込みに失敗しました。",
                                   [](const record::BtrAccess& obj) {
                                     return obj.GetField("JSDATE").ToLong() >= basPublic.ConsultDate;
                                   });
  });
}

}  // namespace qz
