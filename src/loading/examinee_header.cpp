#include "loading/examinee_header.h"

#include <cstdint>
#include <string>

#include "data/bas_file_access.h"
#include "examinee/bas_public.h"
#include "loading/era_text.h"
#include "loading/load_messages.h"
#include "loading/load_records.h"
#include "loading/load_state.h"
#include "platform/clock/clock.h"
#include "platform/text/vb.h"

namespace qz {

namespace {

bool LoadHeader() {
  const std::string& no = basPublic.ExamineeNo;
  record::BtrAccess& jsn = LoadObject(basFileAccess.QZJSNLFObj);
  jsn.SetField("CODE", no);
  const int status = jsn.GetEqual("QZJSNLF");
  if (status == record::kStatusNotFound) return FailLoad("「" + no + "」の受診者マスタは登録されていません。");
  if (status != record::kStatusOk) {
    return FailLoad("「" + no + "」の受診者マスタの読み込みに失敗しました。" + std::string(kCrLf) +
                StatusText(status));
  }

  frmResultIn.txtID = jsn.GetField("CODE").ToText();
  frmResultIn.txtKana = FieldRTrim(jsn, "KANA");
  frmResultIn.txtName = FieldRTrim(jsn, "NAME");
  frmResultIn.ExamineeSex = FieldInt16(jsn, "SEX");
  frmResultIn.txtSex = frmResultIn.ExamineeSex == 1 ? "男" : "女";
  const auto birth = FieldInt32(jsn, "BIRTH");
  const Currency kdanid = jsn.GetField("KDANID").ToCurrency();

  std::string era_name, date_text;
  if (!ToEraDate(birth, era_name, date_text)) {
    return FailLoad("生年月日の和暦変換でエラーが発生しました。" + std::string(kCrLf) + "日付 : " +
                std::to_string(birth));
  }
  frmResultIn.txtBirth = EraDateLong(era_name, date_text);

  std::int16_t age = 0;
  if (!AgeInYears(birth, Today(), age)) return FailLoad("年齢の計算でエラーが発生しました。");
  frmResultIn.ExamineeAge = age;
  frmResultIn.txtAge = std::to_string(age) + "歳";

  if (kdanid == Currency(0)) {
    frmResultIn.txtDanname.clear();
    return true;
  }
  record::BtrAccess& dan = LoadObject(basFileAccess.QZDANLFObj);
  dan.SetField("KDANID", kdanid);
  const int dan_status = dan.GetEqual("QZDANLF");
  if (dan_status == record::kStatusOk) {
    frmResultIn.txtDanname = vb::Trim(dan.GetField("NAME").ToText());
  } else if (dan_status == record::kStatusNotFound) {
    frmResultIn.txtDanname = "＜団体マスタ未登録＞";
  } else {
    return FailLoad("「" + kdanid.ToString() + "」の団体マスタの読み込みに失敗しました。" + std::string(kCrLf) +
                StatusText(dan_status));
  }
  return true;
}

}  // namespace

bool Sub_LoadExamineeHeader() { return RunLoadStep("受診者情報表示でエラーが発生しました。", LoadHeader); }

}  // namespace qz
