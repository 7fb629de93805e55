#include "loading/history_headers.h"

#include <cstdint>
#include <string>

#include "data/bas_file_access.h"
#include "examinee/bas_public.h"
#include "loading/color_letters.h"
#include "loading/era_text.h"
#include "loading/load_messages.h"
#include "loading/load_records.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/vb.h"

namespace qz {

namespace {

constexpr std::string_view kTitleFont = "ＭＳ　ゴシック";
constexpr std::string_view kPastColumnFont = "ＭＳ ゴシック";
constexpr double kDateFontSize = 11;

// The name of course `cno` valid on `jdate` into `name`; when
// `report_code` is given, a found course also sets it to its report number.
// False (after the warning and the unload) when the course master cannot
// be read.
bool CourseName(Currency cno, const std::string& jdate, std::string& name, std::int16_t* report_code) {
  record::BtrAccess& kos = LoadObject(basFileAccess.QZKOSLFObj);
  kos.SetField("CNO", cno);
  kos.SetField("GENDATE", jdate);
  const int status = kos.GetLessOrEqual("QZKOSLF");
  if (status == record::kStatusOk && kos.GetField("CNO").ToCurrency() == cno) {
    name = vb::Trim(kos.GetField("CNAME").ToText());
    if (report_code) *report_code = FieldInt16(kos, "PRNO");
    return true;
  }
  if (status == record::kStatusOk || status == record::kStatusEndOfFile) {
    name = "<コースマスタ未登録>";
    return true;
  }
  return FailLoad("コースマスタの読み込みに失敗しました。" + std::string(kCrLf) + "受診者番号 : " +
                  basPublic.ExamineeNo + std::string(kCrLf) + "受診日     : " +
                  std::to_string(basPublic.ConsultDate) + std::string(kCrLf) + StatusText(status));
}

// The column form of the era date of `jdate`; false (after the warning and
// the unload) when it does not convert.
bool ColumnDate(const std::string& jdate, std::string& text) {
  std::string era_name, date_text;
  const std::int32_t date = vb::CLng(std::string_view(jdate));
  if (!ToEraDate(date, era_name, date_text)) {
    return FailLoad("受診日の和暦変換でエラーが発生しました。" + std::string(kCrLf) + "日付 : " +
                    std::to_string(date));
  }
  text = EraDateShort(era_name, date_text);
  return true;
}

// Course name, title and date of column `col` for history entry `entry`.
bool WriteColumnHeader(grid::Spread& spr, int col, const JrkEntry& entry, Currency cno, std::string_view title,
                       std::int16_t* report_code) {
  std::string name;
  if (!CourseName(cno, entry.Jdate, name, report_code)) return false;
  spr.SetText(col, basPublic.CourseRow, name);
  SetCellForeColorByLetter(spr, col, basPublic.CourseRow, frmResultIn.SysColors[0]);
  const grid::Range title_cell = grid::Range::Cell(col, basPublic.HeaderRow);
  if (!title.empty()) spr.SetText(col, basPublic.HeaderRow, title);
  spr.SetFontName(title_cell, kTitleFont);
  spr.SetFontBold(title_cell, true);
  std::string date;
  if (!ColumnDate(entry.Jdate, date)) return false;
  spr.SetText(col, basPublic.JdateRow, date);
  spr.SetAlignment(grid::Range::Cell(col, basPublic.JdateRow), grid::HAlign::kCenter);
  spr.SetFontSize(grid::Range::Column(col), kDateFontSize);
  return true;
}

bool SetHeaders() {
  if (!frmResultIn.sprResult) throw RunTimeError(kErrObjectRequired);
  grid::Spread& spr = *frmResultIn.sprResult;
  const std::vector<JrkEntry>& history = frmResultIn.HistoryDates;

  const int current = basPublic.ResultCol;
  if (!WriteColumnHeader(spr, current, history.at(0), frmResultIn.CourseCodes[1], "今回結果",
                         &basPublic.ReportCode)) {
    return false;
  }
  spr.SetColWidth(current, basPublic.KonkaiStart != 0 ? basPublic.WidthLong : basPublic.WidthShort);

  spr.SetMaxCols(frmResultIn.HistoryCount() + basPublic.PastCol - 1);
  for (int k = 1; k <= frmResultIn.HistoryCount(); ++k) {
    const JrkEntry& entry = history[static_cast<std::size_t>(k)];
    if (entry.Cno1 == 0) break;
    const int col = basPublic.PastCol + k - 1;
    const std::string_view title = k == 1 ? "前回結果" : k == 2 ? "前々回結果" : "";
    if (!WriteColumnHeader(spr, col, entry, Currency(entry.Cno1), title, nullptr)) return false;
    spr.SetFontName(grid::Range::Column(col), kPastColumnFont);
    spr.SetColWidth(col, basPublic.WidthShort);
    spr.SetBackColor(grid::Range::Column(col),
                     static_cast<ui::Color>(k % 2 == 1 ? basPublic.ColorJrk1 : basPublic.ColorJrk2));
  }
  return true;
}

}  // namespace

bool Sub_SetHistoryHeaders() { return RunLoadStep("受診歴情報の表示処理でエラーが発生しました。", SetHeaders); }

}  // namespace qz
