#include "tools/frm_debug.h"

#include <array>
#include <exception>

#include "data/bas_file_access.h"
#include "examinee/bas_public.h"
#include "grid/cell_colors.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/vb.h"
#include "platform/ui/error_report.h"
#include "tools/focus_result_grid.h"
#include "tools/pad_left.h"

namespace qz {

ui::FormSlot<FrmDebug> frmDebug;

namespace {

struct DebugColumn {
  const char* title;
  int width;
};

constexpr std::array<DebugColumn, kDebugItemColumns> kItemColumns = {{
    {"検査項目番号", 10}, {"検査項目　表示名", 17}, {"項目開始日", 10}, {"判定開始日", 10},
    {"編集権限", 5}, {"過去", 3}, {"項目種別", 5}, {"問診ﾌﾗｸﾞ", 5},
    {"印刷順位", 6}, {"JLAC10コード", 17}, {"所見種別番号", 10}, {"入力ｸﾞﾙｰﾌﾟ", 5},
    {"表示順位", 4}, {"判断ｸﾞﾙｰﾌﾟ①", 4}, {"判断ｸﾞﾙｰﾌﾟ②", 4}, {"判断ｸﾞﾙｰﾌﾟ③", 4},
    {"判断ｸﾞﾙｰﾌﾟ④", 4}, {"出力ﾀｲﾌﾟ", 5}, {"有効桁数", 4}, {"所見桁数", 5},
    {"自動判定区分", 5}, {"性別区分", 4}, {"計算ﾊﾟﾀｰﾝ", 5}, {"計算対象項目番号①", 10},
    {"計算対象項目番号②", 10}, {"計算対象項目番号③", 10}, {"切り上げ区分", 5}, {"単位", 8},
    {"標準値LOW", 11}, {"標準値HIGH", 11}, {"結果入力不要", 5}, {"判定入力不要", 5},
    {"所見入力不要", 5}, {"総合所見区分", 5}, {"実施ﾁｪｯｸﾌﾗｸﾞ", 4}, {"判定所見検査項目番号", 10},
    {"入力ｸﾞﾙｰﾌﾟの添字", 0}, {"総合所見自動ｾｯﾄ先", 8}, {"複写区分", 4},
}};

constexpr std::array<DebugColumn, kDebugCourseColumns> kCourseColumns = {{
    {"コース番号", 10}, {"コース名", 20}, {"開始日", 10},
}};

constexpr double kHeaderHeight = 30;

// A number as text, empty when it is 0.
template <class T>
std::string BlankWhenZero(T v) {
  return v == T{} ? std::string() : vb::CStr(v);
}

// A number padded to `width`, empty when it is 0.
template <class T>
std::string PaddedOrBlank(T v, int width) {
  return v == T{} ? std::string() : Fnc_PadLeft(vb::CStr(v), width);
}

// A yyyymmdd date as "yyyy/mm/dd", or nine blanks and 0 when it is 0.
std::string DateCell(std::int32_t date) {
  return date == 0 ? Fnc_PadLeft("0", 10) : vb::Format(date, "0000/00/00");
}

// A standard value with four decimals in 11 characters; empty when none.
std::string StdCell(const std::string& value) {
  return value.empty() ? std::string() : Fnc_PadLeft(vb::Format(vb::Val(value), "####0.0000"), 11);
}

void SetColumns(grid::Spread& g, const DebugColumn* columns, int count) {
  g.SetMaxRows(0);
  g.SetMaxCols(count);
  for (int c = 1; c <= count; ++c) {
    g.SetColWidth(c, columns[c - 1].width);
    g.SetText(c, 0, columns[c - 1].title);
  }
}

// Colours row `row` of the item grid for `kom`.
void ColourItemRow(grid::Spread& g, int row, const KomInfo& kom) {
  // The letter of the item's kind; a kind outside 0..4 has none.
  const std::string letter =
      kom.Ksyub >= 0 && kom.Ksyub < static_cast<int>(frmResultIn.SysColors.size())
          ? frmResultIn.SysColors[static_cast<std::size_t>(kom.Ksyub)]
          : std::string();
  const auto fore = [&] {
    Sub_SetCellForeColor(1, row, letter, kColorTargetDebug);
    Sub_SetCellForeColor(2, row, letter, kColorTargetDebug);
  };
  fore();
  const grid::Range line = grid::Range::Row(row);
  const auto& individual = basPublic.IndividualColor;
  for (int k = 1; k <= individual.Count && k < static_cast<int>(individual.Items.size()); ++k) {
    const IndividualColorInfo& entry = individual.Items[static_cast<std::size_t>(k)];
    if (entry.KomCode == kom.KomCode) g.SetBackColor(line, static_cast<ui::Color>(entry.Color));
  }
  if (kom.Ksyub == kKsyubGroupJudgement) g.SetBackColor(line, static_cast<ui::Color>(basPublic.ColorHantei));
  if (kom.Past != kPastBookedNow) g.SetBackColor(line, static_cast<ui::Color>(basPublic.ColorPast));
  fore();
}

void FillItemGrid(grid::Spread& g) {
  SetColumns(g, kItemColumns.data(), kDebugItemColumns);
  for (int i = 1; i <= frmResultIn.ItemCount(); ++i) {
    const KomInfo& kom = frmResultIn.ItemTable[i];
    const int row = g.max_rows() + 1;
    g.SetMaxRows(row);
    for (int c = 1; c <= kDebugItemColumns; ++c) g.SetText(c, row, Fnc_DebugItemCell(kom, c));
    ColourItemRow(g, row, kom);
  }
  g.SetMaxCols(kDebugItemColumns);
  g.SetRowHeight(0, kHeaderHeight);
  g.cols_frozen = 2;
}

// The name of course `code` in generation `gen_date`; empty when the course
// master does not hold it.
std::string CourseName(Currency code, std::int32_t gen_date) {
  if (basFileAccess.QZKOSLFObj == nullptr) throw RunTimeError(kErrObjectRequired);
  record::BtrAccess& kos = *basFileAccess.QZKOSLFObj;
  kos.SetField("CNO", code);
  kos.SetField("GENDATE", gen_date);
  if (kos.GetEqual("QZKOSLF") != 0) return std::string();
  return vb::Trim(kos.GetField("CNAME").ToText());
}

void FillCourseGrid(grid::Spread& g) {
  SetColumns(g, kCourseColumns.data(), kDebugCourseColumns);
  for (int k = 1; k <= kCourseSlots; ++k) {
    const Currency code = frmResultIn.CourseCodes[k];
    if (code == Currency(0)) break;
    const int row = g.max_rows() + 1;
    g.SetMaxRows(row);
    const std::int32_t gen_date = frmResultIn.CourseGenDates[k];
    g.SetText(1, row, Fnc_PadLeft(vb::CStr(code), 10));
    g.SetText(3, row, DateCell(gen_date));
    g.SetText(2, row, CourseName(code, gen_date));
  }
}

}  // namespace

FrmDebug::FrmDebug() : Form("frmDebug") {
  caption = "結果入力　デバッグウィンドウ";
  width = 15360;
  height = 9600;
  grid::Spread& items = Add<grid::Spread>("sprDebug", 0);
  items.Move(120, 120, 15000, 6000);
  grid::Spread& courses = Add<grid::Spread>("sprDebug", 1);
  courses.Move(120, 6240, 7200, 2760);
  for (grid::Spread* g : {&items, &courses}) {
    g->protect = true;
    g->SetLock(grid::Range::Sheet(), true);
  }
}

std::string Fnc_DebugItemCell(const KomInfo& kom, int col) {
  switch (col) {
    case 1: return Fnc_PadLeft(vb::CStr(kom.KomCode), 10);
    case 2: return kom.KomName;
    case 3: return DateCell(kom.Gendate);
    case 4: return DateCell(kom.StdGendate);
    case 5: return kom.Editable ? std::string() : std::string("False");
    case 6: return vb::CStr(kom.Past);
    case 7: return Fnc_PadLeft(vb::CStr(kom.Ksyub), 2);
    case 8: return vb::CStr(kom.Monflg);
    case 9: return Fnc_PadLeft(vb::Format(kom.Pjyun, "######"), 6);
    case 10: return kom.Jlacno;
    case 11: return PaddedOrBlank(kom.Skomcd, 10);
    case 12: return Fnc_PadLeft(vb::CStr(kom.Ngrp), 5);
    case 13: return Fnc_PadLeft(vb::CStr(kom.Hjyun), 3);
    case 14: case 15: case 16: case 17: return PaddedOrBlank(kom.Hgrp[col - 13], 3);
    case 18: return vb::Val(kom.Stype) == 0 ? std::string() : Fnc_PadLeft(kom.Stype, 2);
    case 19: return kom.Yuko;
    case 20: return PaddedOrBlank(kom.Keta, 3);
    case 21: return BlankWhenZero(kom.Jhkbn);
    case 22: return BlankWhenZero(kom.Sex);
    case 23: return PaddedOrBlank(kom.Calpt, 3);
    case 24: case 25: case 26: return PaddedOrBlank(kom.Ktaino[col - 23], 10);
    case 27: return vb::CStr(kom.Krkbn);
    case 28: return kom.Tani;
    case 29: return StdCell(kom.StdLow);
    case 30: return StdCell(kom.StdHigh);
    case 31: return BlankWhenZero(kom.Kekano);
    case 32: return BlankWhenZero(kom.Hantno);
    case 33: return BlankWhenZero(kom.Syokno);
    case 34: return BlankWhenZero(kom.Sgkbn);
    case 35: return kom.Opchk;
    case 36: return PaddedOrBlank(kom.Hansyo, 10);
    case 37: return vb::CStr(kom.NgrpIndex);
    case 38: return kom.SougouDest < 0 ? std::string() : Fnc_PadLeft(vb::Format(kom.SougouDest, "#####"), 5);
    case 39: return vb::CStr(kom.Copy);
    default: throw RunTimeError(kErrSubscript);
  }
}

void Sub_ShowDebugWindow() {
  try {
    SetColorTargetGrid(kColorTargetDebug, [] { return &frmDebug->sprDebug(0); });
    FrmDebug& form = *frmDebug;
    FillItemGrid(form.sprDebug(0));
    FillCourseGrid(form.sprDebug(1));
    form.Show(true);
    Sub_FocusResultGrid();
  } catch (const std::exception& e) {
    ShowLoadErrorReport(ui::JobText("デバッグウィンドウの表示処理"), e);
  }
}

}  // namespace qz
