#include "judgement/required_judgements.h"

#include <algorithm>
#include <cstddef>
#include <exception>

#include "examinee/bas_public.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "platform/text/vb.h"

namespace qz {
namespace {

constexpr std::int16_t kSougouChkStrict = 2;

bool InList(const CodeList& list, Currency code) {
  for (int n = 1; n <= list.Count && n < static_cast<int>(list.Items.size()); ++n) {
    if (list.Items[static_cast<std::size_t>(n)] == code) return true;
  }
  return false;
}

// Whether item `a` holds a result: its finding text for a findings item,
// else its value, not blank after trimming.
bool HasContent(int a) {
  const KekkaData& r = frmResultIn.ResultMatrix(a, 0);
  const std::string& content = frmResultIn.ItemTable[a].Ksyub == kKsyubFindings ? r.Syoken : r.Knsach;
  return !vb::Trim(content).empty();
}

std::vector<HissuGrpInfo>& OneOfGroupLists() {
  CountedArray<HissuGrpInfo>& lists = basPublic.HissuGrpKomCode;
  if (lists.Items.size() < static_cast<std::size_t>(lists.Count) + 1) {
    lists.Items.resize(static_cast<std::size_t>(lists.Count) + 1);
  }
  return lists.Items;
}

void ResetOneOfGroupLists() {
  std::vector<HissuGrpInfo>& lists = OneOfGroupLists();
  for (int n = 1; n <= basPublic.HissuGrpKomCode.Count; ++n) {
    HissuGrpInfo& g = lists[static_cast<std::size_t>(n)];
    g.FoundItem = 0;
    g.Flags.assign(static_cast<std::size_t>(std::max<std::int16_t>(g.Count, 0)) + 1, false);
  }
}

// Notes item `a` in every one-of-group list that names it.
void NoteInOneOfGroupLists(int a) {
  const Currency code = frmResultIn.ItemTable[a].KomCode;
  const std::int16_t sokutei = frmResultIn.ResultMatrix(a, 0).Sokutei;
  const bool entered = sokutei != kSokuteiNotPerformed && sokutei != kSokuteiUnmeasurable && HasContent(a);
  std::vector<HissuGrpInfo>& lists = OneOfGroupLists();
  for (int n = 1; n <= basPublic.HissuGrpKomCode.Count; ++n) {
    HissuGrpInfo& g = lists[static_cast<std::size_t>(n)];
    for (int j = 1; j <= g.Count && j < static_cast<int>(g.KomCodes.size()); ++j) {
      if (g.KomCodes[static_cast<std::size_t>(j)] != code) continue;
      g.FoundItem = static_cast<std::int16_t>(a);
      if (entered) g.Flags[static_cast<std::size_t>(j)] = true;
    }
  }
}

// The column of item `a`'s failure, 0 when it passes.
std::int16_t FailingColumn(int a) {
  const KomInfo& k = frmResultIn.ItemTable[a];
  const KekkaData& r = frmResultIn.ResultMatrix(a, 0);
  const bool unjudged = r.Han == 0 || r.Sokutei == kSokuteiNotPerformed;
  if (a == frmResultIn.OverallItem) return unjudged ? basPublic.ResultCol : 0;
  if (k.Ksyub == kKsyubGroupJudgement) {
    if (InList(basPublic.SougouChkOut, k.KomCode)) return 0;
    if (r.Hekbn == 0) return unjudged ? basPublic.ResultCol : basPublic.ChkCol;
    if (basPublic.SougouChk == kSougouChkStrict && r.Sokutei != kSokuteiUnmeasurable && unjudged) {
      return basPublic.ResultCol;
    }
    return 0;
  }
  if (InList(basPublic.HissuKomCode, k.KomCode) &&
      (r.Hekbn == 0 || r.Sokutei == kSokuteiNotPerformed || (r.Sokutei == kSokuteiNone && !HasContent(a)))) {
    return basPublic.ResultCol;
  }
  NoteInOneOfGroupLists(a);
  return 0;
}

bool CheckRequired(std::int16_t& item, std::int16_t& col) {
  ResetOneOfGroupLists();
  for (int a = 1; a <= frmResultIn.ItemCount(); ++a) {
    if (frmResultIn.ItemTable[a].Past != kPastBookedNow) continue;
    const std::int16_t c = FailingColumn(a);
    if (c != 0) {
      item = static_cast<std::int16_t>(a);
      col = c;
      return false;
    }
  }
  const std::vector<HissuGrpInfo>& lists = OneOfGroupLists();
  for (int n = 1; n <= basPublic.HissuGrpKomCode.Count; ++n) {
    const HissuGrpInfo& g = lists[static_cast<std::size_t>(n)];
    if (g.FoundItem == 0 || std::find(g.Flags.begin() + 1, g.Flags.end(), true) != g.Flags.end()) continue;
    item = g.FoundItem;
    col = basPublic.ResultCol;
    return false;
  }
  return true;
}

}  // namespace

bool Fnc_CheckRequiredJudgements(std::int16_t& item, std::int16_t& col) {
  item = 0;
  col = 0;
  try {
    return CheckRequired(item, col);
  } catch (const std::exception& e) {
    ShowLoadErrorReport("判定のチェック処理でエラーが発生しました。", e);
    return false;
  }
}

}  // namespace qz
