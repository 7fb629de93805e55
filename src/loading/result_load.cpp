#include "loading/result_load.h"

#include <charconv>
#include <exception>
#include <cstdint>
#include <string>

#include "data/bas_file_access.h"
#include "examinee/bas_public.h"
#include "examinee/frm_guide.h"
#include "judgement/default_finding.h"
#include "loading/load_messages.h"
#include "loading/load_records.h"
#include "loading/load_state.h"
#include "platform/text/vb.h"
#include "platform/ui/msgbox.h"

namespace qz {

namespace {

constexpr std::string_view kResultFile = "QZKKKLF";
constexpr std::string_view kPreviewResultFile = "QJKKKLF";

// A stamp field (YMD, HMS) as a number; 0 when it is not numeric.
std::int32_t StampNumber(const record::BtrAccess& obj, std::string_view field) {
  const std::string text = obj.GetField(field).ToText();
  // A stamp as written (digits only) is read at once; anything else as the
  // runtime reads numbers.
  std::int32_t value = 0;
  if (!text.empty() && text.size() <= 9 &&
      std::from_chars(text.data(), text.data() + text.size(), value).ptr == text.data() + text.size()) {
    return value;
  }
  return vb::IsNumeric(text) ? vb::CLng(std::string_view(text)) : 0;
}

void TakeStored(const record::BtrAccess& kkk, const KomInfo& item, KekkaData& cell) {
  cell.Knsach = item.Ksyub == kKsyubFindings ? std::string() : vb::Trim(kkk.GetField("KNSACH").ToText()) + " ";
  cell.Syoken = vb::Trim(kkk.GetField("SYOKEN").ToText());
  cell.Hekbn = FieldInt16(kkk, "HEKBN");
  cell.Han = FieldInt16(kkk, "HAN");
  cell.Stndlw = kkk.GetField("STNDLW").ToText();
  cell.Stndhi = kkk.GetField("STNDHI").ToText();
  cell.Opflg = kkk.GetField("OPFLG").ToText();
  cell.User = kkk.GetField("USER").ToText();
  cell.Ymd = StampNumber(kkk, "YMD");
  cell.Hms = StampNumber(kkk, "HMS");
  cell.Sokutei = FieldInt16(kkk, "SOKUTEI");
}

// A missing result of `item` in column `c`.
void TakeMissing(int c, const KomInfo& item, KekkaData& cell) {
  cell = KekkaData{};
  if (c != 0 || item.Past != kPastBookedNow) return;
  cell.Sokutei = basPublic.NewMijissi == 1 ? kSokuteiNotPerformed : kSokuteiNone;
  if (basPublic.AutoDefaultSyoken == 1 && item.Ksyub == kKsyubFindings && Fnc_GetDefaultFindingCode(item.Skomcd)) {
    const record::BtrAccess& syo = LoadObject(basFileAccess.QZSYO2LFObj);
    cell.Syoken = vb::RTrim(syo.GetField("SYKN").ToText());
    cell.Han = FieldInt16(syo, "KHANTEI");
  }
}

// Notes where the group items and the overall-judgement item are.
void NoteSpecialItem(int i, const KomInfo& item) {
  if (item.Ksyub == kKsyubGroupJudgement) {
    const std::int64_t group = item.KomCode.whole() % 1000;
    frmResultIn.GroupItems.at(static_cast<std::size_t>(group)) =
        GroupItemInfo{static_cast<std::int16_t>(i), frmResultIn.ResultMatrix(i, 0).Han};
  }
  if (item.KomCode == kOverallItemCode) frmResultIn.OverallItem = static_cast<std::int16_t>(i);
}

bool LoadResults(std::string_view file_name) {
  if (file_name != kResultFile && file_name != kPreviewResultFile) {
    ShowLoadWarning("ファイル名が不正です。" + std::string(kCrLf) + "ファイル名 : " + std::string(file_name));
    return true;
  }
  record::BtrAccess& kkk =
      LoadObject(file_name == kResultFile ? basFileAccess.QZKKKLFObj : basFileAccess.QJKKKLFObj);
  const int items = frmResultIn.ItemCount();
  const int history = frmResultIn.HistoryCount();
  frmResultIn.ResultMatrix.Create(items, history);
  frmResultIn.GroupItems.fill(GroupItemInfo{});
  frmResultIn.OverallItem = 0;
  frmGuide->SetGauge(0, 1);
  ui::DoEvents();

  for (int c = 0; c <= history; ++c) {
    const std::string& jdate = frmResultIn.HistoryDates.at(static_cast<std::size_t>(c)).Jdate;
    for (int i = 1; i <= items; ++i) {
      frmGuide->SetGauge(items * c + i, items * (history + 1));
      ui::DoEvents();
      const KomInfo& item = frmResultIn.ItemTable[i];
      kkk.SetField("CODE", basPublic.ExamineeNo);
      kkk.SetField("JDATE", jdate);
      kkk.SetField("KKMKNO", item.KomCode);
      const int status = kkk.GetEqual(file_name);
      KekkaData& cell = frmResultIn.ResultMatrix(i, c);
      if (status == record::kStatusOk) {
        TakeStored(kkk, item, cell);
      } else if (status == record::kStatusNotFound) {
        TakeMissing(c, item, cell);
      } else {
        const std::string crlf(kCrLf);
        return FailLoad("検査結果マスタの読み込みに失敗しました。" + crlf + "受診者番号   : " + basPublic.ExamineeNo +
                        crlf + "受診日       : " + std::to_string(basPublic.ConsultDate) + crlf +
                        "検査項目番号 : " + item.KomCode.ToString() + crlf + "ステータス   : " +
                        std::to_string(status));
      }
      if (c == 0) NoteSpecialItem(i, item);
    }
  }
  return true;
}

}  // namespace

bool Sub_LoadResults(std::string_view file_name) {
  try {
    return LoadResults(file_name);
  } catch (const std::exception& e) {
    // The matrix is part-built: the items after the error would show empty
    // and a save would write them so. The load ends as a failed read ends
    // it, and no screen of it is left to save.
    ShowLoadErrorReport("検査結果情報の取得処理でエラーが発生しました。", e);
    frmResultIn.UnloadMainForm();
    return false;
  }
}

}  // namespace qz
