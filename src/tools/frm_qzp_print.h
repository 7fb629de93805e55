// frmQZPprint ("帳票選択"): the report dialog of the result screen's preview.
// It lists the reports of the settings master (QZSYSLF records of KBN 9,
// through basFileAccess.SysChohyoObj), preselects the report of the
// examinee's course (basPublic.ReportCode), hands the report request to
// the suite's QZP206 and starts the chosen report program, waiting for it.
//
// The preview command shows it modally while the result screen is
// disabled. When basPublic.PrintSelect is false (no Shift+F10),
// basPublic.PreviewSelect is 0 and the course has a report in the list,
// the load starts that report at once and the dialog closes unseen; when
// that start fails the dialog is shown with the report preselected.
//
// Messages are critical boxes titled with the program's title, except the
// load's error box, titled "ﾒｯｾｰｼﾞ". User-interface thread only.
#ifndef QZ_TOOLS_FRM_QZP_PRINT_H_
#define QZ_TOOLS_FRM_QZP_PRINT_H_

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/form_slot.h"

namespace qz {

// One report of the list.
struct ReportInfo {
  std::int32_t Code = 0;  // the value of CODE (six digits); 0 when it is no number
  std::string Program;    // CHOHYOPGM without trailing blanks (no extension)
  std::string Kind;       // CHOHYOKBN without trailing blanks
  bool Numeric = true;    // CODE is a number (digits only)

  friend bool operator==(const ReportInfo&, const ReportInfo&) = default;
};

class FrmQZPprint : public ui::Form {
 public:
  FrmQZPprint();

  ui::ComboBox& cboPrintSelect;  // one entry per report: CHOHYOMEI
  ui::CommandButton& cmdRun;     // 実行
  ui::CommandButton& cmdCancel;  // キャンセル

  // Parallel to the entries of cboPrintSelect.
  std::vector<ReportInfo> ReportTable;

  // True while a report program runs: 実行, キャンセル and the close box
  // take no click then (one report per click, one request per run).
  bool ReportRunning = false;

  void Form_Load();
  void Form_QueryUnload(int& cancel, int unload_mode);
  void cmdRun_Click();
  void cmdCancel_Click();

  // Fills cboPrintSelect and ReportTable from the report records after
  // KBN 9, CODE "000000" (that record itself is never listed), up to the
  // first record of another KBN or a read status other than 0 (no message).
  // Selects the entry whose code is basPublic.ReportCode, when there is
  // one; else nothing is selected. A CODE that is no number is listed but
  // never preselected.
  void Sub_LoadReportList();

  // Runs the selected report: with no entry selected says
  // "帳票を選択して下さい。"; with a code that is no number says
  // "「<name>」の帳票コードが正しくありません。"; with no program file
  // "<PGM>.EXE" in the current
  // folder says "「<PGM>.EXE」" CR LF "が見つかりません。"; otherwise passes
  // the two request records to QZP206 and starts the program with the
  // report code as six digits as its only parameter, waiting for its end.
  // True only when the program was started and has ended; a start or wait
  // that failed (reported by the program start) gives false. A run-time
  // error is reported as "帳票の実行処理でエラーが発生しました" and gives
  // false.
  bool Fnc_RunReport();

 private:
  class RunningReport;
};

extern ui::FormSlot<FrmQZPprint> frmQZPprint;

// The two request records of the report of class `kind` for the
// consultation on screen (basPublic.ExamineeNo, basPublic.ConsultDate), as
// CP932 bytes of 58 each.
std::vector<std::string> ReportRequestRecords(const std::string& kind);

}  // namespace qz

#endif  // QZ_TOOLS_FRM_QZP_PRINT_H_
