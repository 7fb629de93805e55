// uishot: renders the progress window and a sample grid form through the Qt
// front end, and the version-up's wait window and progress window, and
// saves them as PNG files.
//
//   uishot <folder>     writes <folder>/frm_guide.png,
//                       <folder>/sample_grid.png, <folder>/update_wait.png
//                       and <folder>/update_main.png
//   uishot --demo <suite> <folder>
//                       runs the program of the demo suite <suite> (made by
//                       demodata) and writes <folder>/result_screen.png,
//                       <folder>/result_window.png and
//                       <folder>/group_selection.png (demo_shots.h)
//   uishot --start <suite> <folder>
//                       starts that program without a command line and
//                       writes <folder>/start_screen.png (the search screen)
//
// Run under a display (scripts/screenshot uses xvfb-run) or with
// QT_QPA_PLATFORM=offscreen.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>
#include <cstdio>
#include <string>

#include "demo_shots.h"
#include "examinee/bas_public.h"
#include "examinee/frm_guide.h"
#include "kit/sample_grid_form.h"
#include "platform/ui/msgbox.h"
#include "qt/form_window.h"
#include "qt/qt_backend.h"
#include "update/bas_public.h"
#include "update/frm_main.h"
#include "update/frm_wait.h"
#include "update/process_list.h"

namespace {

bool Save(qz::qt::QtShell& shell, const qz::ui::Form& form, const QString& path) {
  QWidget* window = shell.qt().WindowOf(form);
  if (window == nullptr || !window->grab().save(path, "PNG")) {
    std::fprintf(stderr, "uishot: cannot save %s\n", path.toLocal8Bit().constData());
    return false;
  }
  std::printf("%s\n", path.toLocal8Bit().constData());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const bool demo = argc == 4 && std::string(argv[1]) == "--demo";
  const bool start = argc == 4 && std::string(argv[1]) == "--start";
  if (argc != 2 && !demo && !start) {
    std::fprintf(stderr, "usage: uishot <folder> | uishot --demo|--start <suite> <folder>\n");
    return 2;
  }
  QApplication app(argc, argv);
  const char* folder = argv[argc - 1];
  const QDir dir(QString::fromLocal8Bit(folder));
  if (!QDir().mkpath(dir.path())) {
    std::fprintf(stderr, "uishot: cannot make %s\n", folder);
    return 1;
  }
  qz::qt::QtShell shell;
  if (demo) return qz::uishot::ShootDemo(shell, argv[2], dir) ? 0 : 1;
  if (start) return qz::uishot::ShootStart(shell, argv[2], dir) ? 0 : 1;
  qz::basPublic.GuideInterval = 0;
  qz::basPublic.CopyRight = "Copyright (C) 2026 健診システム開発部";
  bool ok = true;

  qz::testkit::SampleGridForm sample;
  shell.Step([&] {
    sample.Show();
    // The result cell of row 3 active and being typed into.
    sample.sprResult.MoveActiveCell(3, 3);
    sample.sprResult.SetComboEditable(qz::grid::Range::Cell(3, 3), true);
    sample.sprResult.TypeText("(+)");
    qz::ui::DoEvents();
  });
  ok = Save(shell, sample, dir.filePath("sample_grid.png")) && ok;

  shell.Step([&] {
    qz::frmGuide->Show(false, &sample);
    qz::frmGuide->lblState.caption = "受診者情報を読み込んでいます（2/3）";
    qz::frmGuide->SetGauge(2, 3);
    qz::ui::DoEvents();
  });
  ok = Save(shell, qz::frmGuide.get(), dir.filePath("frm_guide.png")) && ok;
  qz::frmGuide->Hide();

  // The version-up's wait window while two programs of the suite still run
  // from the installed folder: its own timer tick lists them.
  qz::update::basPublic.ProgramPath = "/opt/centre/QZP140/";
  qz::update::basPublic.RootPath = dir.path().toStdString() + "/";
  qz::update::SetProcessListForTest([] {
    return std::vector<std::string>{"/opt/centre/QZP140/QZP140", "/usr/bin/bash", "/opt/centre/QZP140/QZP149C.EXE"};
  });
  shell.Step([&] {
    qz::update::frmWait->Show(false);
    qz::update::frmWait->tmrTimer.enabled = false;
    qz::update::frmWait->SetWindowState(qz::ui::WindowState::kNormal);
    qz::update::frmWait->tmrTimer_Timer();
    qz::ui::DoEvents();
  });
  ok = Save(shell, qz::update::frmWait.get(), dir.filePath("update_wait.png")) && ok;
  qz::update::SetProcessListForTest(nullptr);
  shell.Step([&] { qz::update::frmWait->Unload(); });

  // The version-up's progress window in the copy step, half-way.
  qz::update::FrmMain progress;
  progress.on_activate = nullptr;  // shown only: the version-up does not run
  shell.Step([&] {
    progress.Show(false);
    progress.lblTitle.caption = "ファイルのコピー中です。";
    progress.lblGuide.caption = "QZP140.EXE";
    progress.lblCount.caption = "( 12 / 24 )";
    progress.lblCopyCount.caption = "12";
    for (qz::ui::Label* l : {&progress.lblCount, &progress.lblGageMax, &progress.lblGageNow,
                             &progress.lblCopyCountLabel, &progress.lblCopyCount}) {
      l->visible = true;
    }
    progress.lblGageNow.width = progress.lblGageMax.width / 2;
    qz::ui::DoEvents();
  });
  ok = Save(shell, progress, dir.filePath("update_main.png")) && ok;
  return ok ? 0 : 1;
}
