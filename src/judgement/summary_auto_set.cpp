#include "judgement/summary_auto_set.h"

#include <exception>
#include <string>

#include "data/bas_file_access.h"
#include "examinee/bas_public.h"
#include "grid/cell_colors.h"
#include "judgement/result_update.h"
#include "judgement/summary_findings.h"
#include "loading/load_messages.h"
#include "loading/load_records.h"
#include "loading/load_state.h"
#include "platform/record/status.h"
#include "platform/text/vb.h"

namespace qz {
namespace {

constexpr std::int64_t kTitleRow = 1;
// The limits of a numeric source without a registered standard range.
constexpr std::string_view kNoHighLimit = "99999.9999";
constexpr std::string_view kNoLowLimit = "0";

std::int16_t FindFreeSummaryItem() {
  const int count = basPublic.SougouSyokenKomCode.Count;
  for (int k = 1; k <= count && k <= SougouItems.Count(); ++k) {
    const std::int16_t d = SougouItems[k];
    if (d == 0 || frmResultIn.ItemTable[d].Past != kPastBookedNow) continue;
    const KekkaData& r = frmResultIn.ResultMatrix(d, 0);
    if (r.Hekbn == 0 && vb::Trim(r.Syoken).empty()) return d;
  }
  return 0;
}

bool IsNumericKind(std::int16_t kind) { return kind == kKsyubNumeric || kind == kKsyubCalculated; }

// Whether rule `rule` applies to source item `s` as it stands now.
bool RuleApplies(const SougouRule& rule, std::int16_t s) {
  const KomInfo& k = frmResultIn.ItemTable[s];
  const KekkaData& r = frmResultIn.ResultMatrix(s, 0);
  if (rule.KomCode != k.KomCode || rule.Han != r.Han) return false;
  if (!IsNumericKind(k.Ksyub)) return true;
  if (rule.HL == "H") {
    const std::string hi = k.StdHigh.empty() ? std::string(kNoHighLimit) : k.StdHigh;
    return vb::Val(r.Knsach) > vb::Val(hi);
  }
  if (rule.HL == "L") {
    const std::string lo = k.StdLow.empty() ? std::string(kNoLowLimit) : k.StdLow;
    return vb::Val(r.Knsach) < vb::Val(lo);
  }
  return true;
}

// The first rule that applies to `s`, or null.
const SougouRule* FirstApplyingRule(std::int16_t s) {
  const CountedArray<SougouRule>& rules = basPublic.AutoSougouSyoken;
  for (int n = 1; n <= rules.Count && n < static_cast<int>(rules.Items.size()); ++n) {
    const SougouRule& rule = rules.Items[static_cast<std::size_t>(n)];
    if (RuleApplies(rule, s)) return &rule;
  }
  return nullptr;
}

// Reads finding `code` of type `type`: true with its text and judgement
// when it is an ordinary finding; false after its warning otherwise.
bool ReadFinding(Currency type, std::int32_t code, std::string& text, std::int16_t& han) {
  record::BtrAccess& syo = LoadObject(basFileAccess.QZSYO3LFObj);
  syo.SetField("CODE", type);
  syo.SetField("SCODE", code);
  const int status = syo.GetEqual("QZSYO3LF");
  if (status == record::kStatusNotFound) {
    ShowLoadWarning("コード「" + std::to_string(code) + "」は所見マスタに登録されていません。");
    return false;
  }
  if (status != record::kStatusOk) {
    ShowLoadWarning("所見マスタ３の読み込みに失敗しました。" + std::string(kCrLf) + "所見種別番号 : " +
                    vb::CStr(type) + std::string(kCrLf) + StatusText(status));
    return false;
  }
  if (syo.GetField("TITLE").ToInt() == kTitleRow) {
    ShowLoadWarning("タイトル用所見は選択できません。");
    return false;
  }
  text = vb::Trim(syo.GetField("SYKN").ToText());
  han = FieldInt16(syo, "KHANTEI");
  return true;
}

void AutoSet(std::int16_t s) {
  if (basPublic.SougouSyokenKomCode.Count == 0) return;
  KomInfo& source = frmResultIn.ItemTable[s];
  if (source.SougouDest == kSougouNotSource) return;
  const SougouRule* rule = FirstApplyingRule(s);
  if (rule == nullptr) return;
  // A summary item is taken only for a finding that is written.
  const std::int16_t d = source.SougouDest > 0 ? source.SougouDest : Fnc_FindSummaryFindingItem();
  if (d == 0) return;

  // A confirmed summary finding is not rewritten.
  if (frmResultIn.ResultMatrix(d, 0).Hekbn != 0) return;

  std::string text;
  std::int16_t han = 0;
  if (!ReadFinding(frmResultIn.ItemTable[d].Skomcd, rule->SyoCode, text, han)) return;
  KekkaData& r = frmResultIn.ResultMatrix(d, 0);
  r.Syoken = text;
  r.Han = han;
  StampCurrentResult(d);
  Sub_ClaimSummaryItem(s, d);

  // The mark shown is that of the judgement stored, so the judgement cell
  // never disagrees with the result.
  std::string mark;
  std::string letter;
  if (!JudgementMarkOf(han, mark, letter)) {
    ShowJudgeConversionWarning(han, source.KomName);
    return;
  }
  const std::int32_t row = ScreenRowOf(d);
  if (row == 0) return;
  SetResultCell(basPublic.ResultCol, row, text);
  ShowStampCells(d, row);
  SetResultCell(basPublic.HanCol, row, vb::Trim(mark));
  Sub_SetCellForeColor(basPublic.ResultCol, row, letter);
  Sub_SetCellForeColor(basPublic.HanCol, row, letter);
}

}  // namespace

void Sub_ClaimSummaryItem(std::int16_t item, std::int16_t summary) {
  for (int i = 1; i <= frmResultIn.ItemCount(); ++i) {
    KomInfo& other = frmResultIn.ItemTable[i];
    if (i != item && other.SougouDest == summary) other.SougouDest = kSougouSourceOpen;
  }
  frmResultIn.ItemTable[item].SougouDest = summary;
}

std::int16_t Fnc_FindSummaryFindingItem() {
  try {
    return FindFreeSummaryItem();
  } catch (const std::exception& e) {
    ShowLoadErrorReport("総合所見セット処理でエラーが発生しました。", e);
    return 0;
  }
}

void Sub_AutoSetSummaryFindings(std::int16_t item) {
  try {
    AutoSet(item);
  } catch (const std::exception& e) {
    ShowLoadErrorReport("総合所見自動セット処理でエラーが発生しました。", e);
  }
}

}  // namespace qz
