#include "tools/frm_qzp_print.h"

#include <exception>
#include <string>

#include "data/bas_file_access.h"
#include "data/create_process.h"
#include "data/record_layouts.h"
#include "examinee/bas_public.h"
#include "platform/process/child_process.h"
#include "platform/record/status.h"
#include "platform/runtime/app.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/cp932.h"
#include "platform/text/vb.h"
#include "platform/ui/error_report.h"
#include "platform/ui/msgbox.h"
#include "suite/qzp206.h"

namespace qz {

ui::FormSlot<FrmQZPprint> frmQZPprint;

namespace {

constexpr std::int32_t kWaitSliceMs = 100;

void Critical(const std::string& text) {
  ui::MsgBox(text, ui::MsgButtons::kOk, ui::MsgIcon::kCritical, App().title);
}

// One record: `head` at bytes 1.., the class at byte 29, blanks elsewhere.
std::string RequestRecord(const std::string& head, const std::string& kind) {
  std::string record(suite::kQzp206RecordLength, ' ');
  const std::string bytes = text::ToCp932(head);
  record.replace(0, std::min(bytes.size(), record.size()), bytes.substr(0, record.size()));
  const std::string k = text::ToCp932(kind);
  if (!k.empty()) record[28] = k[0];
  return record;
}

// A CODE of the report records: six digits, leading zeros allowed.
bool IsDigits(const std::string& text) {
  if (text.empty() || text.size() > 9) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace

// While a report program runs the dialog's buttons and close box rest.
class FrmQZPprint::RunningReport {
 public:
  explicit RunningReport(FrmQZPprint& form) : form_(form) { Set(true); }
  ~RunningReport() { Set(false); }
  RunningReport(const RunningReport&) = delete;
  RunningReport& operator=(const RunningReport&) = delete;

 private:
  void Set(bool running) {
    form_.ReportRunning = running;
    form_.cmdRun.enabled = !running;
    form_.cmdCancel.enabled = !running;
  }
  FrmQZPprint& form_;
};

std::vector<std::string> ReportRequestRecords(const std::string& kind) {
  std::string examinee = basPublic.ExamineeNo;
  examinee.resize(10, ' ');
  return {RequestRecord(examinee + std::to_string(basPublic.ConsultDate), kind),
          RequestRecord("**********", kind)};
}

FrmQZPprint::FrmQZPprint()
    : Form("frmQZPprint"),
      cboPrintSelect(Add<ui::ComboBox>("cboPrintSelect")),
      cmdRun(Add<ui::CommandButton>("cmdRun")),
      cmdCancel(Add<ui::CommandButton>("cmdCancel")) {
  caption = "帳票選択";
  width = 4800;
  height = 2100;
  cboPrintSelect.style = 2;
  cboPrintSelect.left = 240;
  cboPrintSelect.top = 240;
  cboPrintSelect.width = 4200;
  cmdRun.caption = "実行";
  cmdRun.Move(1440, 960, 1335, 495);
  cmdCancel.caption = "キャンセル";
  cmdCancel.is_cancel = true;
  cmdCancel.Move(3000, 960, 1335, 495);
  on_load = [this] { Form_Load(); };
  on_query_unload = [this](int& cancel, int unload_mode) { Form_QueryUnload(cancel, unload_mode); };
  cmdRun.on_click = [this] { cmdRun_Click(); };
  cmdCancel.on_click = [this] { cmdCancel_Click(); };
}

void FrmQZPprint::Form_Load() {
  try {
    Sub_LoadReportList();
    // The course's report starts at once only when the list has it: a code
    // that no listed report carries leaves the choice to the operator.
    if (!basPublic.PrintSelect && basPublic.PreviewSelect == 0 && basPublic.ReportCode != 0 &&
        cboPrintSelect.list_index() >= 0) {
      if (Fnc_RunReport()) Unload();
    }
  } catch (const std::exception&) {
    // The result screen behind keeps its unsaved results: only the dialog
    // closes.
    ui::MsgBox("エラーが発生しました。", ui::MsgButtons::kOk, ui::MsgIcon::kCritical, "ﾒｯｾｰｼﾞ");
    Unload();
  }
}

void FrmQZPprint::Form_QueryUnload(int& cancel, int /*unload_mode*/) {
  if (ReportRunning) cancel = 1;
}

void FrmQZPprint::cmdRun_Click() {
  if (ReportRunning) return;
  try {
    if (Fnc_RunReport()) Unload();
  } catch (const RunTimeError& e) {
    ui::ShowErrorReport("帳票選択フォームの実行ボタンクリック処理でエラーが発生しました", e, ui::MsgIcon::kCritical,
                        App().title);
  }
}

void FrmQZPprint::cmdCancel_Click() {
  if (!ReportRunning) Unload();
}

void FrmQZPprint::Sub_LoadReportList() {
  cboPrintSelect.Clear();
  ReportTable.clear();
  int preselect = -1;
  if (basFileAccess.SysChohyoObj == nullptr) throw RunTimeError(kErrObjectRequired);
  record::BtrAccess& sys = *basFileAccess.SysChohyoObj;
  sys.SetField("KBN", data::kSysKbnReport);
  sys.SetField("CODE", "000000");
  for (int status = sys.GetGreater(data::SysChohyoLayout().definition); status == record::kStatusOk;
       status = sys.GetNext()) {
    if (sys.GetField("KBN").ToLong() != data::kSysKbnReport) break;
    ReportInfo info;
    const std::string code = vb::Trim(sys.GetField("CODE").ToText());
    info.Numeric = IsDigits(code);
    info.Code = info.Numeric ? static_cast<std::int32_t>(std::stol(code)) : 0;
    info.Program = vb::RTrim(sys.GetField("CHOHYOPGM").ToText());
    info.Kind = vb::RTrim(sys.GetField("CHOHYOKBN").ToText());
    cboPrintSelect.AddItem(vb::RTrim(sys.GetField("CHOHYOMEI").ToText()));
    if (info.Numeric && info.Code == basPublic.ReportCode) preselect = static_cast<int>(ReportTable.size());
    ReportTable.push_back(std::move(info));
  }
  if (preselect != -1) cboPrintSelect.SetListIndex(preselect);
}

bool FrmQZPprint::Fnc_RunReport() {
  try {
    const int selected = cboPrintSelect.list_index();
    if (selected < 0 || selected >= static_cast<int>(ReportTable.size())) {
      Critical("帳票を選択して下さい。");
      return false;
    }
    const ReportInfo& report = ReportTable[static_cast<std::size_t>(selected)];
    if (!report.Numeric) {
      Critical("「" + cboPrintSelect.List(selected) + "」の帳票コードが正しくありません。");
      return false;
    }
    const std::string program = report.Program + ".EXE";
    if (!process::FindProgram(program)) {
      Critical("「" + program + "」\r\nが見つかりません。");
      return false;
    }
    const RunningReport running(*this);
    for (const std::string& record : ReportRequestRecords(report.Kind)) suite::QZP206(record);
    const CreateProcessResult run =
        Sub_CreateProcess(0, program, vb::FormatInteger(report.Code, "000000"), kWaitSliceMs);
    return run.finished();
  } catch (const RunTimeError& e) {
    Critical(ui::ErrorReportText("帳票の実行処理でエラーが発生しました", e));
    return false;
  }
}

}  // namespace qz
