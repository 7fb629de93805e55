// imecheck: types through the input method of the display into the demo's
// result screen, as an operator does, and tells what reached the program.
//
//   imecheck <suite>    runs the program of the demo suite <suite> (made by
//                       demodata) on its first examinee and, with keys sent
//                       by xdotool to the window that has the keyboard:
//                       "165.5" and Enter into 身長 (stored 165.5 after the
//                       one Enter, the cursor moved on); "ijounasi", Space,
//                       Enter into a findings cell (the conversion stored
//                       with the next Enter); "ijou" into a findings cell
//                       and a click on another one (the composition ends
//                       in the cell it was typed in, none of it reaches the
//                       cell clicked); "1" into the 略称 box of the findings
//                       search (it stays "1").
//
// Prints one line per check ("ok ..." or "FAILED ...") and exits 0 when all
// hold. Run by scripts/ime-check under a virtual X display with fcitx5 and
// Mozc active.
#include <QApplication>
#include <QProcess>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <string>

#include "examinee/bas_public.h"
#include "examinee/frm_result_in.h"
#include "grid/findings_search_launch.h"
#include "grid/item_row_map.h"
#include "judgement/frm_syo_comb.h"
#include "kit/demo_data.h"
#include "loading/load_state.h"
#include "platform/runtime/app.h"
#include "platform/text/vb.h"
#include "platform/ui/msgbox.h"
#include "qt/qt_backend.h"
#include "qt/spread_view.h"
#include "tools/frm_copy.h"

namespace {

using namespace qz;

bool all_ok = true;

void Check(bool ok, const std::string& what, const std::string& seen) {
  std::printf("%s %s (%s)\n", ok ? "ok" : "FAILED", what.c_str(), seen.c_str());
  std::fflush(stdout);
  all_ok = all_ok && ok;
}

// Lets the input method and the window system answer.
void Settle(int ms = 600) {
  for (int waited = 0; waited < ms; waited += 20) {
    ui::DoEvents();
    QThread::msleep(20);
  }
}

// Runs `program` with `args` in `p` until it ends while the program goes
// on taking events, then lets them settle. The end may be taken among
// those events, after which waitForFinished() no longer says it ended.
void RunTool(QProcess& p, const QString& program, const QStringList& args) {
  p.start(program, args);
  while (p.state() != QProcess::NotRunning && !p.waitForFinished(20)) ui::DoEvents();
  Settle();
}

// Runs xdotool with `args` (the keys go to the window with the keyboard).
void Keys(const QStringList& args) {
  QProcess p;
  RunTool(p, "xdotool", args);
}

// fcitx5-remote with `args`; its output.
std::string Remote(const QStringList& args) {
  QProcess p;
  RunTool(p, "fcitx5-remote", args);
  return p.readAllStandardOutput().trimmed().toStdString();
}

// The item-table index of demo item `code`, or 0.
std::int16_t ItemOf(long long code) {
  for (int i = 1; i <= frmResultIn.ItemTable.Count(); ++i) {
    if (frmResultIn.ItemTable[i].KomCode == Currency(code)) return static_cast<std::int16_t>(i);
  }
  return 0;
}

int RowOfItem(long long code) { return Fnc_ItemToRow(Fnc_FindItemRow(ItemOf(code))); }

void MoveTo(qt::QtShell& shell, long long code) {
  const int row = RowOfItem(code);
  shell.Step([row] {
    frmResultInForm->sprResult.SetFocus();
    frmResultInForm->sprResult.MoveActiveCell(basPublic.ResultCol, row);
  });
  Settle();
}

// Clicks the result cell of item `code` with the pointer; false when the
// cell is not in sight.
bool ClickItem(qt::QtShell& shell, long long code) {
  auto* view = qobject_cast<qt::SpreadView*>(shell.qt().WidgetOf(frmResultInForm->sprResult));
  QPoint centre;
  if (view == nullptr || !view->CellCentre(basPublic.ResultCol, RowOfItem(code), centre)) return false;
  const QPoint at = view->table()->viewport()->mapToGlobal(centre);
  Keys({"mousemove", QString::number(at.x()), QString::number(at.y())});
  Keys({"click", "1"});
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: imecheck <suite>\n");
    return 2;
  }
  QApplication app(argc, argv);
  qt::QtShell shell;
  AppInfo& info = App();
  info.title = info.exe_name = "QZP140";
  info.path = std::string(argv[1]) + "/QZP140";
  info.command = testkit::DemoExamineeNumbers().front();
  shell.SetMainForm(&frmResultInForm.get());
  // The operator closes the copy dialog of the load and, once the findings
  // search stands, types into its 略称 box and closes it.
  std::string rcode_typed;
  bool rcode_done = false;
  QTimer operator_;
  operator_.setInterval(100);
  QObject::connect(&operator_, &QTimer::timeout, [&] {
    if (frmCopy.loaded() && frmCopy->visible()) {
      shell.qt().Dispatch([](ui::Shell&) { frmCopy->cmdClose_Click(); });
      return;
    }
    if (rcode_done || !frmSyoComb.loaded() || !frmSyoComb->visible()) return;
    rcode_done = true;
    shell.qt().Dispatch([](ui::Shell&) {
      frmSyoComb->txtRCode.SetFocus();
      frmSyoComb->txtRCode.SetText("");
    });
    Settle();
    Keys({"type", "--delay", "80", "1"});
    rcode_typed = frmSyoComb->txtRCode.text();
    shell.qt().Dispatch([](ui::Shell&) { frmSyoComb->cmdClose_Click(); });
  });
  operator_.start();
  if (!shell.Step([] { frmResultInForm->Show(); })) return 1;
  Settle(1500);
  grid::Spread& spr = frmResultInForm->sprResult;

  // The input method on (Mozc in kana input) in the result window, as the
  // operator switches it on.
  MoveTo(shell, 5001);
  Remote({"-o"});
  const std::string state = Remote({});
  Check(state == "2", "the input method is on", "fcitx5-remote " + state);

  MoveTo(shell, 1001);
  const int height_row = spr.active_row();
  Keys({"type", "--delay", "80", "165.5"});
  Keys({"key", "Return"});
  const std::string height = vb::Trim(frmResultIn.ResultMatrix(ItemOf(1001), 0).Knsach);
  Check(height == "165.5", "身長 stored after one Enter", height);
  Check(spr.active_row() != height_row, "the cursor moved on", "row " + std::to_string(spr.active_row()));

  const long long findings = 5001;  // 胸部Ｘ線所見
  MoveTo(shell, findings);
  Keys({"type", "--delay", "80", "ijounasi"});
  Keys({"key", "space"});
  Keys({"key", "Return"});
  const std::string composed = spr.edit_mode() ? spr.edit_text() : spr.TextAt(spr.active_col(), spr.active_row());
  Keys({"key", "Return"});
  const std::string stored = vb::Trim(frmResultIn.ResultMatrix(ItemOf(findings), 0).Syoken);
  Check(!stored.empty() && stored == vb::Trim(composed) && stored.find("ijou") == std::string::npos &&
            stored.find("いじょう") == std::string::npos,
        "the findings cell stores the conversion", stored);

  // The composition pending in the findings cell when the operator clicks
  // 尿蛋白 (above it, clear of the candidate window) ends in the findings
  // cell: the click leaves it with the composed text, and 尿蛋白 takes
  // only what is typed there.
  const long long urine = 4001;
  MoveTo(shell, findings);
  Keys({"type", "--delay", "80", "ijou"});
  const bool clicked = ClickItem(shell, urine);
  const bool moved = spr.active_row() == RowOfItem(urine);
  Keys({"type", "--delay", "80", "a"});
  Keys({"key", "Return"});
  const std::string typed_there = spr.edit_mode() ? spr.edit_text() : spr.TextAt(spr.active_col(), spr.active_row());
  Keys({"key", "Escape"});
  const std::string left = vb::Trim(frmResultIn.ResultMatrix(ItemOf(findings), 0).Syoken);
  Check(clicked && moved, "the click moved the cursor to 尿蛋白", "row " + std::to_string(spr.active_row()));
  Check(vb::Trim(typed_there) == "あ", "尿蛋白 takes only what is typed there", typed_there);
  Check(left == "いじょう", "the composition ends in the findings cell", left);

  MoveTo(shell, findings);
  shell.Step([] { cmdSearch_Click(); });
  Settle();
  Check(rcode_done && rcode_typed == "1", "the 略称 box keeps a typed 1", rcode_typed);
  operator_.stop();
  return all_ok ? 0 : 1;
}
