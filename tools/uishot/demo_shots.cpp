#include "demo_shots.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <cstdio>

#include "examinee/bas_public.h"
#include "examinee/frm_result_in.h"
#include "grid/findings_search_launch.h"
#include "grid/item_row_map.h"
#include "judgement/frm_syo_comb.h"
#include "kit/demo_data.h"
#include "loading/consult_records.h"
#include "loading/load_state.h"
#include "platform/runtime/app.h"
#include "platform/ui/msgbox.h"
#include "qt/form_window.h"
#include "tools/frm_copy.h"

namespace qz::uishot {

namespace {

bool SavePixmap(const QPixmap& pixmap, const QString& path) {
  if (pixmap.isNull() || !pixmap.save(path, "PNG")) {
    std::fprintf(stderr, "uishot: cannot save %s\n", path.toLocal8Bit().constData());
    return false;
  }
  std::printf("%s\n", path.toLocal8Bit().constData());
  return true;
}

QPixmap WholeScreen() {
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->grabWindow(0) : QPixmap();
}

// Lets the window manager map and place what was shown.
void Settle() {
  for (int i = 0; i < 20; ++i) {
    ui::DoEvents();
    QThread::msleep(25);
  }
}

// The first grid row of a findings item, or 0.
int FirstFindingsRow() {
  grid::Spread& spr = frmResultInForm->sprResult;
  for (int r = basPublic.DataRow; r <= spr.max_rows(); ++r) {
    const std::int16_t item = Fnc_RowToItem(r);
    if (item > 0 && frmResultIn.ItemTable[item].Ksyub == kKsyubFindings) return r;
  }
  return 0;
}

// Makes the demo suite's program the one that runs, with `command` as its
// command line.
void UseDemoProgram(qt::QtShell& shell, const std::string& suite, const std::string& command) {
  AppInfo& app = App();
  app.title = app.exe_name = "QZP140";
  app.path = suite + "/QZP140";
  app.command = command;
  shell.SetMainForm(&frmResultInForm.get());
}

}  // namespace

bool ShootStart(qt::QtShell& shell, const std::string& suite, const QDir& out) {
  UseDemoProgram(shell, suite, "");
  if (!shell.Step([] { frmResultInForm->Show(); })) return false;
  shell.Step(Settle);
  const QWidget* focus = QApplication::focusWidget();
  const bool on_search = focus != nullptr && focus->window() != shell.qt().WindowOf(frmResultInForm.get());
  if (!on_search) std::fprintf(stderr, "uishot: the keyboard is not on the search screen\n");
  return SavePixmap(WholeScreen(), out.filePath("start_screen.png")) && on_search;
}

bool ShootDemo(qt::QtShell& shell, const std::string& suite, const QDir& out) {
  UseDemoProgram(shell, suite, testkit::DemoExamineeNumbers().front());
  bool ok = true;
  bool shot = false;
  int search_ticks = 0;
  // The operator: closes the copy dialog of the load; shoots the search
  // dialog once it stands, then closes it.
  QTimer operator_;
  operator_.setInterval(50);
  QObject::connect(&operator_, &QTimer::timeout, [&] {
    if (frmCopy.loaded() && frmCopy->visible()) {
      shell.qt().Dispatch([](ui::Shell&) { frmCopy->cmdClose_Click(); });
      return;
    }
    if (!frmSyoComb.loaded() || !frmSyoComb->visible() || shot) return;
    if (++search_ticks < 15) return;
    shot = true;
    ok = SavePixmap(WholeScreen(), out.filePath("result_screen.png")) && ok;
    shell.qt().Dispatch([](ui::Shell&) { frmSyoComb->cmdClose_Click(); });
  });
  operator_.start();
  if (!shell.Step([] { frmResultInForm->Show(); })) return false;
  shell.Step(Settle);
  if (qt::FormWindow* window = shell.qt().WindowOf(frmResultInForm.get())) {
    ok = SavePixmap(window->grab(), out.filePath("result_window.png")) && ok;
  }
  const int row = FirstFindingsRow();
  shell.Step([row] {
    frmResultInForm->sprResult.MoveActiveCell(basPublic.ResultCol, row);
    cmdSearch_Click();
  });
  if (!shot) {
    std::fprintf(stderr, "uishot: the findings search did not open (row %d)\n", row);
    ok = false;
  }
  // The group selection the operator brings up with its button.
  shell.Step([] {
    frmResultInForm->cmdGrpSel_Click();
    Settle();
  });
  ok = SavePixmap(WholeScreen(), out.filePath("group_selection.png")) && ok;
  return ok;
}

}  // namespace qz::uishot
