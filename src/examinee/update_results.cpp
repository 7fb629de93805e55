// The results step of the write-back (update_masters.h).
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "data/bas_file_access.h"
#include "data/program_log.h"
#include "data/value_digits.h"
#include "examinee/bas_public.h"
#include "examinee/frm_guide.h"
#include "examinee/save_screen.h"
#include "examinee/update_masters.h"
#include "examinee/write_back_steps.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "platform/record/btr_access.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/vb.h"
#include "platform/ui/msgbox.h"

namespace qz::writeback {

namespace {

constexpr std::string_view kResultFile = "QZKKKLF";
constexpr std::string_view kPreviewResultFile = "QJKKKLF";
constexpr std::string_view kNoUpperLimit = "99999.9999";
constexpr std::string_view kRightAligned10 = "@@@@@@@@@@";

std::string WithoutNul(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c != '\0') out.push_back(c);
  }
  return out;
}

// A value or standard bound edited to the item's digit format and
// right-aligned in 10 characters; false when the edit failed (the text is
// then written as it stands).
bool EditedField(const KomInfo& item, const std::string& text, std::string& field) {
  std::string value = text;
  bool ok = true;
  if (!value.empty()) {
    std::string edited;
    std::int16_t error = 0;
    Sub_EditValueByDigits(value, item.Stype, item.Yuko, edited, error);
    if (error == 0) {
      value = edited;
    } else {
      ok = false;
    }
  }
  field = value.empty() ? vb::Space(10) : vb::Format(std::string_view(value), kRightAligned10);
  return ok;
}

bool HasResult(const KomInfo& item, const KekkaData& r) {
  if (r.Sokutei == kSokuteiNotPerformed) return false;
  if (r.Sokutei == kSokuteiUnmeasurable) return true;
  switch (item.Ksyub) {
    case kKsyubFindings:
      return !vb::Trim(r.Syoken).empty();
    case kKsyubGroupJudgement:
      return true;  // the code written as text is never empty
    case kKsyubNumeric:
    case kKsyubCalculated:
      return !vb::Trim(r.Knsach).empty();
    default:
      return false;
  }
}

// The performed / confirmed state of an option item.
std::string OptionFlag(const KomInfo& item, const KekkaData& r) {
  if (item.Opchk != "1" || frmResultInSave.chkOperation != 1) return r.Opflg;
  const bool computed = basPublic.OpChkSumi == 0 || (basPublic.OpChkSumi == 1 && r.Hekbn == 1);
  if (!computed) return r.Opflg;
  if (!HasResult(item, r)) return r.Hekbn == 0 ? "1" : "2";
  return r.Hekbn == 0 ? "3" : "4";
}

bool IsGroupPseudoItem(const KomInfo& item) { return vb::Left(item.KomCode.ToString(), 7) == "9999999"; }

bool ToBeWritten(const KomInfo& item, bool work_file) {
  if (item.Past != kPastBookedNow) return false;
  if (item.Sex != 0 && item.Sex != frmResultIn.ExamineeSex) return false;
  return IsGroupPseudoItem(item) || work_file || item.Editable || frmResultInSave.ResultsDeleted;
}

// Sets the fields of item `i`'s record, in the order the suite sets them.
void SetResultFields(record::BtrAccess& kkk, int i) {
  const KomInfo& item = frmResultIn.ItemTable[i];
  KekkaData& r = frmResultIn.ResultMatrix(i, 0);
  r.Knsach = vb::Trim(WithoutNul(r.Knsach));
  std::string field;
  EditedField(item, r.Knsach, field);
  kkk.SetField("KNSACH", field);
  kkk.SetField("SYOKEN", WithoutNul(r.Syoken));
  kkk.SetField("HEKBN", r.Hekbn);
  kkk.SetField("HAN", r.Han);
  if (!EditedField(item, vb::Trim(WithoutNul(item.StdLow)), field)) {
    Warn(item.KomName + "の基準値（低値）の変換に失敗しました。");
  }
  kkk.SetField("STNDLW", field);
  std::string high = vb::Trim(WithoutNul(item.StdHigh));
  if (high == kNoUpperLimit) high.clear();
  if (!EditedField(item, high, field)) Warn(item.KomName + "の基準値（高値）の変換に失敗しました。");
  kkk.SetField("STNDHI", field);
  kkk.SetField("OPFLG", OptionFlag(item, r));
  kkk.SetField("USER", WithoutNul(r.User));
  kkk.SetField("YMD", vb::Format(r.Ymd, "00000000"));
  kkk.SetField("HMS", vb::Format(r.Hms, "000000"));
  kkk.SetField("SOKUTEI", r.Sokutei);
  if ((r.Sokutei == kSokuteiNotPerformed || r.Sokutei == kSokuteiUnmeasurable) && basPublic.SokuteiKekka == 0) {
    kkk.SetField("KNSACH", "");
    kkk.SetField("SYOKEN", "");
    kkk.SetField("HAN", 0);
  }
}

// `earlier`: the refusal of writes that an earlier step held back, or 0.
Step WriteItem(record::BtrAccess& kkk, std::string_view file_name, int i, int earlier) {
  const KomInfo& item = frmResultIn.ItemTable[i];
  const std::string& jdate = frmResultIn.HistoryDates.at(0).Jdate;
  kkk.SetField("CODE", basPublic.ExamineeNo);
  kkk.SetField("JDATE", jdate);
  kkk.SetField("KKMKNO", item.KomCode);
  const int read = kkk.GetEqual(file_name);
  if (read != record::kStatusOk && read != record::kStatusNotFound) {
    // A read that sent an earlier item's write held back by the record
    // manager, which the server refused, failed by that write.
    const int refused = earlier == record::kStatusOk ? kkk.SendHeldWrites() : record::kStatusOk;
    Warn(refused != record::kStatusOk ? StatusWarning("検査結果マスタの書き込みに失敗しました。", refused)
                                      : StatusWarning("検査結果マスタの読み込みに失敗しました。", read));
    return Step::kFailed;
  }
  const bool exists = read == record::kStatusOk;
  if (!exists) {
    kkk.SetRecordBytes("");
    kkk.SetField("CODE", basPublic.ExamineeNo);
    kkk.SetField("JDATE", jdate);
    kkk.SetField("KKMKNO", item.KomCode);
  }
  SetResultFields(kkk, i);
  const int written = exists ? kkk.Update() : kkk.Insert(file_name);
  if (written != record::kStatusOk) {
    Warn(StatusWarning("検査結果マスタの書き込みに失敗しました。", written));
    return Step::kFailed;
  }
  program_log::RecordWritten();
  return Step::kWritten;
}

// Copies the examinee's results of earlier consultations into the work file.
void CopyEarlierResults(record::BtrAccess& work) {
  if (!basFileAccess.QZKKKLFObj) throw RunTimeError(kErrObjectRequired);
  record::BtrAccess& real = *basFileAccess.QZKKKLFObj;
  real.SetField("CODE", basPublic.ExamineeNo);
  real.SetField("JDATE", static_cast<std::int64_t>(basPublic.ConsultDate));
  real.SetField("KKMKNO", 0);
  int status = real.GetLess(kResultFile);
  while (status == record::kStatusOk &&
         vb::RTrim(real.GetField("CODE").ToText()) == vb::RTrim(basPublic.ExamineeNo)) {
    work.SetRecordBytes("");
    for (const char* f : {"CODE", "JDATE", "KKMKNO", "KNSACH", "SYOKEN", "HEKBN", "HAN", "STNDLW", "STNDHI",
                          "OPFLG", "USER", "YMD", "HMS", "SOKUTEI"}) {
      const record::FieldValue v = real.GetField(f);
      if (v.is_number()) {
        work.SetField(f, v.ToCurrency());
      } else {
        work.SetField(f, WithoutNul(v.ToText()));
      }
    }
    PutCopy(work, kPreviewResultFile);
    status = real.GetPrevious();
  }
}

Step WriteResults(std::string_view file_name) {
  const bool work_file = file_name == kPreviewResultFile;
  record::BtrAccess* kkk = work_file ? basFileAccess.QJKKKLFObj.get() : basFileAccess.QZKKKLFObj.get();
  if (kkk == nullptr) throw RunTimeError(kErrObjectRequired);
  // The writes an earlier step held back (copies into a work file, whose
  // statuses are not examined) reach the server before this step's: a
  // refusal of them ended the transaction before this step began, and its
  // reads fail as reads, not as writes of this file.
  const int earlier = kkk->SendHeldWrites();
  const int count = frmResultIn.ItemCount();
  for (int i = 1; i <= count; ++i) {
    frmGuide->SetGauge(i, count);
    ui::DoEvents();
    if (!ToBeWritten(frmResultIn.ItemTable[i], work_file)) continue;
    const Step s = WriteItem(*kkk, file_name, i, earlier);
    if (s != Step::kWritten) return s;
  }
  // The writes the record manager held back reach the server here, so that
  // a refusal of one (a full disk) is reported as a write of this step.
  if (const int sent = kkk->SendHeldWrites(); sent != record::kStatusOk && earlier == record::kStatusOk) {
    Warn(StatusWarning("検査結果マスタの書き込みに失敗しました。", sent));
    return Step::kFailed;
  }
  if (work_file) CopyEarlierResults(*kkk);
  return Step::kWritten;
}

}  // namespace

Step UpdateExamResults(std::string_view file_name) {
  if (file_name != kResultFile && file_name != kPreviewResultFile) {
    Warn("ファイル名が不正です。" + std::string(kCrLf) + "ファイル名 : " + std::string(file_name));
    return Step::kFailed;
  }
  frmGuide->Show(false, SaveOwnerForm());
  frmGuide->lblGuide.caption = "データ書き込み中です．．．";
  frmGuide->lblGage.width = 0;
  frmGuide->lblState.caption = "検査結果書き込み中";
  ui::DoEvents();
  Step step = Step::kFailed;
  try {
    step = WriteResults(file_name);
  } catch (const std::exception& e) {
    ReportError("検査結果情報の更新処理でエラーが発生しました。", e);
    step = Step::kFailed;
  }
  frmGuide->Unload();
  return step;
}

}  // namespace qz::writeback
