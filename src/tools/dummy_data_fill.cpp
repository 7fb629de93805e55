#include "tools/dummy_data_fill.h"

#include <exception>
#include <string>

#include "data/bas_file_access.h"
#include "data/bas_rank_change.h"
#include "data/value_digits.h"
#include "examinee/bas_public.h"
#include "grid/cell_colors.h"
#include "grid/item_row_map.h"
#include "grid/last_write.h"
#include "judgement/default_finding.h"
#include "loading/group_forms.h"
#include "loading/jump_group_index.h"
#include "loading/load_records.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "platform/clock/clock.h"
#include "platform/grid/spread.h"
#include "platform/text/cp932.h"
#include "platform/text/vb.h"
#include "platform/ui/error_report.h"
#include "platform/ui/msgbox.h"
#include "tools/frm_dmy_data_set.h"
#include "tools/screen_services.h"

namespace qz {

namespace {

// The step above or below a limit: one unit of the last decimal of the
// digit format.
double StepOf(std::string_view stype) {
  const std::string last = vb::Right(stype, 1);
  if (last == "1") return 0.1;
  if (last == "2") return 0.01;
  if (last == "3") return 0.001;
  if (last == "4") return 0.0001;
  return 1;
}

// The number of judgement entries of the judgement combo list.
int JudgementEntries() {
  const std::string& list = frmResultIn.HanComboList;
  if (list.empty()) return 0;
  int n = 1;
  for (char c : list) n += c == '\t' ? 1 : 0;
  return n;
}

// The cells of one item's line, or none when the item has no line.
class ItemLine {
 public:
  explicit ItemLine(std::int16_t item) {
    const std::int16_t line = Fnc_FindItemRow(item);
    if (line != 0 && frmResultIn.sprResult != nullptr) {
      grid_ = frmResultIn.sprResult;
      row_ = Fnc_ItemToRow(line);
    }
  }
  void Text(int col, std::string_view text) const {
    if (grid_ != nullptr) grid_->SetText(col, row_, text);
  }
  void Color(int col, std::string_view letter) const {
    if (grid_ != nullptr) Sub_SetCellForeColor(col, row_, letter, kColorTargetResult);
  }

 private:
  grid::Spread* grid_ = nullptr;
  int row_ = 0;
};

// The findings of the first row of findings type `type` that is no title
// row, scanning the findings master by typed code. False when the type has
// none (a read status other than 0 ends the scan).
bool FirstMasterFinding(Currency type, std::string& text, std::int16_t& code) {
  record::BtrAccess& syo = *basFileAccess.QZSYO2LFObj;
  syo.SetField("CODE", type);
  syo.SetField("RCODE", "");
  for (int st = syo.GetGreaterOrEqual("QZSYO2LF"); st == 0; st = syo.GetNext()) {
    if (syo.GetField("CODE").ToCurrency() != type) return false;
    if (FieldInt16(syo, "TITLE") == 0) {
      code = FieldInt16(syo, "KHANTEI");
      text = vb::RTrim(syo.GetField("SYKN").ToText());
      return true;
    }
  }
  return false;
}

// The made-up finding of an item: the consultation's month and day, the
// item name without blanks in narrow characters and "の所見", lengthened.
std::string MadeUpFinding(const KomInfo& kom) {
  std::string name;
  for (std::size_t pos = 0; pos < kom.KomName.size();) {
    if (kom.KomName[pos] == ' ') {
      ++pos;
    } else if (kom.KomName.compare(pos, 3, "　") == 0) {
      pos += 3;
    } else {
      name += kom.KomName[pos++];
    }
  }
  const std::string date = vb::Right(std::to_string(basPublic.ConsultDate), 4);
  return Fnc_LengthenMadeUpFinding(date + text::ToNarrow(name) + "の所見");
}

void FillNumeric(std::int16_t item, const KomInfo& kom, const ItemLine& line, std::int16_t num_type,
                 double& running) {
  KekkaData& cur = frmResultIn.ResultMatrix(item, 0);
  const bool judged = kom.Jhkbn == 1;
  std::string v = Fnc_DummyNumericValue(!judged || num_type == kDummyNumRunning, num_type, kom.StdLow,
                                        kom.StdHigh, StepOf(kom.Stype), running);
  v = Fnc_DummyFixedLayout(v, kom.Stype);
  std::string edited;
  std::int16_t error = 0;
  Sub_EditValueByDigits(v, kom.Stype, kom.Yuko, edited, error);
  if (error == 0) {
    line.Text(basPublic.ResultCol, edited + " ");
    cur.Knsach = vb::Trim(edited) + " ";
  }
  if (!judged) return;
  // An item the judgement cannot judge gets no judgement (code 0, no
  // finding), never what a failed judgement left behind.
  ItemJudgement j;
  if (!toolScreenServices.AutoJudgeItem(kom.KomCode, v, kom.Skomcd, j)) j = ItemJudgement{};
  cur.Han = j.code;
  cur.Syoken = j.finding;
  line.Color(basPublic.ResultCol, j.color_letter);
  line.Color(basPublic.HanCol, j.color_letter);
  line.Text(basPublic.HanCol, vb::Trim(j.mark));
  line.Text(basPublic.HanSyoCol, vb::Trim(j.finding));
  line.Color(basPublic.HanSyoCol, j.color_letter);
}

void FillFindings(std::int16_t item, const KomInfo& kom, const ItemLine& line, std::int16_t syoken_use,
                  bool syo_default) {
  std::string text;
  std::int16_t code = 0;
  if (syo_default && Fnc_GetDefaultFindingCode(kom.Skomcd)) {
    const record::BtrAccess& syo = *basFileAccess.QZSYO2LFObj;
    code = FieldInt16(syo, "KHANTEI");
    text = vb::RTrim(syo.GetField("SYKN").ToText());
  }
  if (text.empty() && syoken_use == 1) FirstMasterFinding(kom.Skomcd, text, code);
  if (text.empty()) {
    text = MadeUpFinding(kom);
    code = 1;
  }
  KekkaData& cur = frmResultIn.ResultMatrix(item, 0);
  std::string mark;
  std::string letter;
  Fnc_JudgeCodeToMark(code, mark, letter);
  cur.Syoken = text;
  cur.Han = 1;
  line.Text(basPublic.ResultCol, text);
  line.Text(basPublic.HanCol, "");
  line.Color(basPublic.ResultCol, letter);
  line.Color(basPublic.HanCol, letter);
}

void FillJudgement(std::int16_t item, const KomInfo& kom, const ItemLine& line, int entries, int& counter) {
  counter = counter < entries ? counter + 1 : 1;
  KekkaData& cur = frmResultIn.ResultMatrix(item, 0);
  cur.Han = static_cast<std::int16_t>(counter);
  std::string mark;
  std::string letter;
  Fnc_JudgeCodeToMark(cur.Han, mark, letter);
  const std::string shown = vb::Trim(mark);
  line.Text(basPublic.ResultCol, shown);
  line.Text(basPublic.HanCol, shown);
  line.Color(basPublic.ResultCol, letter);
  line.Color(basPublic.HanCol, letter);
  if (basPublic.UserDspKbn != 1) return;
  const std::int16_t g = Fnc_GetJumpGroupIndex(kom.NgrpIndex);
  if (g == -1) return;
  frmGrpJmp->flxGroop.SetTextMatrix(g, 2, shown);
  Sub_SetJumpCellColor(2, g, letter);
}

void Stamp(std::int16_t item, const ItemLine& line) {
  KekkaData& cur = frmResultIn.ResultMatrix(item, 0);
  cur.Sokutei = kSokuteiNone;
  line.Text(basPublic.SokuteiCol, "");
  const LocalDateTime now = Now();
  cur.User = std::string(kDummyUser);
  cur.Ymd = now.Ymd();
  cur.Hms = now.Hms();
  line.Text(basPublic.UpdateCol, kDummyUserText);
  line.Text(basPublic.UptimeCol, Fnc_FormatLastWrite(item));
}

}  // namespace

std::string Fnc_DummyNumericValue(bool use_running, std::int16_t num_type, std::string_view std_low,
                                  std::string_view std_high, double step, double& running) {
  if (use_running) {
    running += 1;
    return vb::CStr(running);
  }
  switch (num_type) {
    case kDummyNumStandard:
      return std::string(std_high.empty() ? std_low : std_high);
    case kDummyNumAbove: {
      const double high = vb::Val(std_high);
      if (high >= 99999) return vb::CStr(vb::Val(std_low));
      return vb::CStr(high + step);
    }
    case kDummyNumBelow: {
      const double low = vb::Val(std_low);
      return low > 0 ? vb::CStr(low - step) : std::string("0");
    }
    default:
      running += 1;
      return vb::CStr(running);
  }
}

std::string Fnc_DummyFixedLayout(std::string_view value, std::string_view stype) {
  const int int_digits = static_cast<int>(vb::Val(vb::Left(stype, 1)));
  const int decimals = static_cast<int>(vb::Val(vb::Right(stype, 1)));
  if (int_digits >= 6) return std::string(value);
  const std::string f = vb::Format(vb::Val(value), "00000.0000");
  return vb::Mid(f, 6 - int_digits, int_digits) + "." + vb::Mid(f, 7, decimals);
}

std::string Fnc_LengthenMadeUpFinding(std::string_view base) {
  std::string out(base);
  // The length is counted in the bytes really appended, so the text ends at
  // the limit also where a two-digit marker position meets the three-digit
  // number 100 (a base of 98 bytes).
  std::size_t k = text::Cp932Length(out);
  const auto append = [&](const std::string& piece) {
    out += piece;
    k += piece.size();
  };
  while (k < static_cast<std::size_t>(kMadeUpFindingBytes)) {
    const std::size_t last = k % 10;
    if (k == 97 || k == 197 || (k >= 100 && (last == 2 || last == 7))) {
      append(vb::FormatInteger(static_cast<std::int64_t>(k + 3), "000"));
    } else if (k < 100 && (last == 3 || last == 8)) {
      append(vb::FormatInteger(static_cast<std::int64_t>(k + 2), "00"));
    } else {
      append("+");
    }
  }
  return out;
}

void Sub_ShowDummyDataDialog() {
  frmDmyDataSet->Show(true);
  ui::DoEvents();
  const DummyDataSettingsInfo& s = basPublic.DummyDataSettings;
  if (!s.Accepted) return;
  Sub_FillDummyData(s.NumType, s.KnsachStart, s.HanStartIndex, s.SyokenUse, s.SyoDefault);
}

void Sub_FillDummyData(std::int16_t num_type, double start_no, std::int16_t han_start_index,
                       std::int16_t syoken_use, bool syo_default) {
  try {
    const int entries = JudgementEntries();
    double running = start_no - 1;
    if (han_start_index < 1) han_start_index = 1;
    int counter = han_start_index == 1 ? entries : han_start_index - 1;
    for (int i = 1; i <= frmResultIn.ItemCount(); ++i) {
      const KomInfo& kom = frmResultIn.ItemTable[i];
      if (kom.Past != kPastBookedNow) continue;
      const auto item = static_cast<std::int16_t>(i);
      const ItemLine line(item);
      switch (kom.Ksyub) {
        case kKsyubNumeric:
        case kKsyubCalculated:
          FillNumeric(item, kom, line, num_type, running);
          break;
        case kKsyubFindings:
          FillFindings(item, kom, line, syoken_use, syo_default);
          break;
        case kKsyubGroupJudgement:
          FillJudgement(item, kom, line, entries, counter);
          break;
        default:
          break;
      }
      Stamp(item, line);
    }
  } catch (const std::exception& e) {
    ShowLoadErrorReport(ui::JobText("ダミーデータのセット処理"), e);
    return;
  }
  ui::MsgBox("ダミーデータをセットしました。", ui::MsgButtons::kOk, ui::MsgIcon::kInformation, "結果入力");
}

}  // namespace qz
