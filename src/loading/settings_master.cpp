#include "loading/settings_master.h"

#include <string>

#include "data/bas_file_access.h"
#include "data/bas_rank_change.h"
#include "data/ini_access.h"
#include "data/judge_mark.h"
#include "data/record_layouts.h"
#include "examinee/bas_public.h"
#include "loading/color_letters.h"
#include "loading/load_messages.h"
#include "loading/load_records.h"
#include "loading/load_state.h"
#include "platform/text/vb.h"

namespace qz {

namespace {

// CODE of the settings record: six blanks.
constexpr std::string_view kSettingsRecordCode = "      ";

bool LoadSettings() {
  frmResultIn.HanComboList.clear();
  frmResultIn.HanComboListLimited.clear();

  record::BtrAccess& sys = LoadObject(basFileAccess.SysObj);
  sys.SetField("KBN", data::kSysKbnSettings);
  sys.SetField("CODE", kSettingsRecordCode);
  const int status = sys.GetEqual("QZSYSLF");
  if (status != record::kStatusOk) {
    ShowLoadWarning("設定マスタの読み込みに失敗しました。" + std::string(kCrLf) + StatusText(status));
    frmResultIn.UnloadMainForm();
    return false;
  }

  // The mark of a judgement is the last two bytes of its HKBN (one
  // full-width character or two half-width ones).
  const JudgeSlots slots = ReadJudgeSlots(sys);
  for (int n = 1; n <= kJudgeSlotCount; ++n) {
    const std::string num = std::to_string(n);
    const std::string mark = JudgeSlotMark(slots[static_cast<std::size_t>(n - 1)]);
    const std::string entry = vb::Trim(mark) + "  " + vb::Trim(sys.GetField("HNAME_" + num).ToText());
    if (vb::Trim(entry).empty()) continue;
    if (n == 1) {
      frmResultIn.HanComboList = entry;
      frmResultIn.HanComboListLimited = entry;
      continue;
    }
    frmResultIn.HanComboList += "\t" + entry;
    if (basPublic.HanSort[n] != 0) frmResultIn.HanComboListLimited += "\t" + entry;
  }

  for (int k = 0; k < 5; ++k) {
    frmResultIn.SysColors[k] = sys.GetField("COLOR_" + std::to_string(k + 1)).ToText();
  }
  frmResultIn.SouChk = sys.GetField("SOUCHK").ToText();

  for (std::size_t i = 0; i < kColorLetters.size(); ++i) {
    const std::string hex =
        Fnc_GetIni("COLOR", kColorLetters[i].letter, kColorLetters[i].default_hex, "./QZP140.INI");
    basPublic.ColorTable[i] = vb::HexVal(hex);
  }

  frmResultIn.DefaultColorLetter = sys.GetField("HCOL_1").ToText();
  return true;
}

}  // namespace

bool Sub_LoadSettingsMaster() { return RunLoadStep("設定情報の取得処理でエラーが発生しました。", LoadSettings); }

}  // namespace qz
