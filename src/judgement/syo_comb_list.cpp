// The findings list and the classification tabs of frmSyoComb.
#include <algorithm>
#include <exception>
#include <string>

#include "data/bas_file_access.h"
#include "data/bas_rank_change.h"
#include "examinee/bas_public.h"
#include "judgement/frm_syo_comb.h"
#include "loading/load_records.h"
#include "platform/record/status.h"
#include "platform/text/vb.h"

namespace qz {

namespace {

constexpr ui::Color kTitleRowBack = 0xFFC8FF;
constexpr std::string_view kColorLetters = "BRPTWAKCEO";
constexpr const char* kAllTab = "全て";

// Findings list geometry: the list sits under the tab rows.
constexpr int kListTop = 1600;
constexpr int kListHeight = 7100;
constexpr int kTabRowTwips = 420;
constexpr int kTabsPerRow = 4;
constexpr int kMaxExtraTabRows = 8;

struct Header {
  const char* text;
  int width;        // twips; -1 the findings column, -2 the mark column
  int alignment;    // 0 left
};

constexpr Header kHeaders[kSyoColCount] = {
    {"略称", 900, 0},     {"所見", -1, 0},         {"所見番号", 0, 0},
    {"個別判定", 0, 0},   {"ﾀｲﾄﾙ区分", 0, 0},      {"所見ﾀﾌﾞ番号", 0, 0},
    {"ｿｰﾄ用列", 0, 0},    {"判定", -2, 0},         {"dammy", 0, 0},
};

}  // namespace

void FrmSyoComb::Sub_InitSyoList() {
  tag.clear();
  fraSyoken.caption = "★｢その他｣の場合は下の入力欄に直接ﾜｰﾌﾟﾛ打ちして下さい.";
  flexSyoList.Clear();
  flexSyoList.SetCols(kSyoColCount);
  flexSyoList.SetRows(2);
  flexSyoList.SetFixedRows(1);
  flexSyoList.SetFixedCols(0);
  flexSyoList.SetRowHeight(-1, kSyoRowTwips);
  const bool show_marks = basPublic.SyoCombHatDisp != 0;
  for (int c = 0; c < kSyoColCount; ++c) {
    int width = kHeaders[c].width;
    if (width == -1) width = show_marks ? 8600 : 9100;
    if (width == -2) width = show_marks ? 500 : 0;
    flexSyoList.SetColWidth(c, width);
    flexSyoList.SetColAlignment(c, kHeaders[c].alignment);
    flexSyoList.SetTextMatrix(0, c, kHeaders[c].text);
  }
}

void FrmSyoComb::Sub_SearchSyoList(Currency finding_type, const std::string& search_text,
                                   std::int32_t& error, const std::string& tab_value) {
  Sub_InitSyoList();
  NextRow = 1;
  record::BtrAccess& syo = LoadObject(basFileAccess.QZSYO2LFObj);
  syo.SetField("CODE", finding_type);
  syo.SetField("RCODE", search_text);
  int status = syo.GetGreaterOrEqual("QZSYO2LF");
  if (status != record::kStatusOk && status != record::kStatusEndOfFile) error = status;
  const std::int32_t prefix = vb::Len(search_text);
  const bool by_tab = !tab_value.empty();
  const std::int32_t tab = by_tab ? vb::CLng(vb::Val(tab_value)) : 0;
  while (status == record::kStatusOk && syo.GetField("CODE").ToCurrency() == finding_type &&
         vb::Left(syo.GetField("RCODE").ToText(), prefix) == search_text) {
    if (!by_tab || syo.GetField("TCODE").ToInt() == tab) {
      Sub_AddSyoRow(static_cast<std::int32_t>(syo.GetField("SCODE").ToLong()), syo.GetField("SYKN").ToText(),
                    static_cast<std::int16_t>(syo.GetField("KHANTEI").ToInt()), syo.GetField("RCODE").ToText(),
                    static_cast<std::int16_t>(syo.GetField("TITLE").ToInt()),
                    static_cast<std::int16_t>(syo.GetField("TCODE").ToInt()));
    }
    status = syo.GetNext();
  }
  if (NextRow > 2) flexSyoList.Sort(1, NextRow - 1, kSyoColSort, grid::ListSort::kStringNoCaseAscending);
  SelectFirstRow();
  HideHighlight();
}

void FrmSyoComb::Sub_SearchSyoCode(Currency finding_type, std::int32_t code, std::int32_t& error) {
  record::BtrAccess& syo = LoadObject(basFileAccess.QZSYO3LFObj);
  syo.SetField("CODE", finding_type);
  syo.SetField("SCODE", static_cast<std::int64_t>(code));
  int status = syo.GetGreaterOrEqual("QZSYO3LF");
  if (status != record::kStatusOk && status != record::kStatusEndOfFile) error = status;
  while (status == record::kStatusOk && syo.GetField("CODE").ToCurrency() == finding_type &&
         static_cast<std::int32_t>(syo.GetField("SCODE").ToLong()) == code) {
    Sub_AddSyoRow(static_cast<std::int32_t>(syo.GetField("SCODE").ToLong()), syo.GetField("SYKN").ToText(),
                  static_cast<std::int16_t>(syo.GetField("KHANTEI").ToInt()), syo.GetField("RCODE").ToText(),
                  static_cast<std::int16_t>(syo.GetField("TITLE").ToInt()),
                  static_cast<std::int16_t>(syo.GetField("TCODE").ToInt()));
    status = syo.GetNext();
  }
  SelectFirstRow();
  HideHighlight();
}

void FrmSyoComb::Sub_AddSyoRow(std::int32_t scode, const std::string& sykn, std::int16_t khantei,
                               const std::string& rcode, std::int16_t title, std::int16_t tcode) {
  const int r = NextRow;
  flexSyoList.SetRows(r + 1);
  flexSyoList.SetRowHeight(r, kSyoRowTwips);
  flexSyoList.SetTextMatrix(r, kSyoColRcode, vb::RTrim(rcode));
  flexSyoList.SetTextMatrix(r, kSyoColSykn, vb::RTrim(sykn));
  flexSyoList.SetTextMatrix(r, kSyoColScode, vb::CStr(scode));
  flexSyoList.SetTextMatrix(r, kSyoColHan, vb::CStr(khantei));
  flexSyoList.SetTextMatrix(r, kSyoColTitle, vb::CStr(title));
  flexSyoList.SetTextMatrix(r, kSyoColTcode, vb::CStr(tcode));
  flexSyoList.SetTextMatrix(r, kSyoColSort, vb::FormatInteger(tcode, "00") + "/" + vb::RTrim(rcode));
  std::string mark, letter;
  Fnc_JudgeCodeToMark(khantei, mark, letter);
  flexSyoList.SetTextMatrix(r, kSyoColMark, mark);
  const std::string trimmed = vb::Trim(letter);
  const std::size_t at = trimmed.size() == 1 ? kColorLetters.find(trimmed[0]) : std::string_view::npos;
  if (at != std::string_view::npos) {
    flexSyoList.SetCellForeColorAt(r, kSyoColMark, static_cast<ui::Color>(basPublic.ColorTable[at]));
  }
  if (title == 1) {
    for (int c = 0; c < kSyoColCount; ++c) flexSyoList.SetCellBackColorAt(r, c, kTitleRowBack);
  }
  NextRow = r + 1;
}

void FrmSyoComb::Sub_LoadSyoTabs() {
  tabSyoList.Clear();
  const Currency type = basPublic.SyoSearchKomCode;
  record::BtrAccess& ocl = LoadObject(basFileAccess.QZOCL2LFObj);
  ocl.SetField("ID", type);
  ocl.SetField("HJYUN", 0);
  ocl.SetField("REN", 0);
  int default_tab = 0;
  int status = ocl.GetGreaterOrEqual("QZOCL2LF");
  while (status == record::kStatusOk && ocl.GetField("ID").ToCurrency() == type) {
    const std::int64_t ren = ocl.GetField("REN").ToInt();
    if (ren != 0) {
      const int index = tabSyoList.Add(vb::RTrim(ocl.GetField("NAME").ToText()), vb::CStr(ren));
      if (ocl.GetField("HYOKBN").ToInt() == 1) default_tab = index;
    }
    status = ocl.GetNext();
  }
  const int all = tabSyoList.Add(kAllTab);
  if (basPublic.SyoSearchTab != 0) default_tab = basPublic.SyoSearchTab;
  // No default, or a first tab the strip does not have: the tab "全て".
  if (default_tab < 1 || default_tab > all) default_tab = all;
  LastTabIndex = default_tab;  // the caller searches the tab's list itself
  tabSyoList.Select(default_tab);

  const int extra_rows = std::min((tabSyoList.count() - 1) / kTabsPerRow, kMaxExtraTabRows);
  flexSyoList.Move(flexSyoList.left, kListTop + kTabRowTwips * extra_rows, flexSyoList.width,
                   kListHeight - kTabRowTwips * extra_rows);
}

std::string FrmSyoComb::SelectedTabTag() const {
  const int index = tabSyoList.selected_index();
  return index >= 1 && index <= tabSyoList.count() ? tabSyoList.tab(index).tag : std::string();
}

void FrmSyoComb::ResearchQuietly() {
  flexSyoList.visible = false;
  try {
    std::int32_t error = 0;
    Sub_SearchSyoList(basPublic.SyoSearchKomCode, SearchText, error, SelectedTabTag());
  } catch (const std::exception&) {
    // The list keeps what the search had added.
  }
  flexSyoList.visible = true;
}

void FrmSyoComb::SelectFirstRow() {
  flexSyoList.SetRow(std::min(1, flexSyoList.rows() - 1));
  flexSyoList.SetCol(0);
  flexSyoList.SetRowSel(flexSyoList.row());
  flexSyoList.SetColSel(kSyoColCount - 1);
}

void FrmSyoComb::HideHighlight() { flexSyoList.SetCol(kSyoColCount - 1); }

}  // namespace qz
