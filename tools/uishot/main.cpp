// uishot: renders the progress window and a sample grid form through the Qt
// front end and saves them as PNG files, or shoots the demo's result screen.
//
//   uishot <folder>     writes <folder>/frm_guide.png and
//                       <folder>/sample_grid.png
//   uishot --demo <suite> <folder>
//                       runs the program of the demo suite <suite> (made by
//                       demodata) and writes <folder>/result_screen.png and
//                       <folder>/result_window.png (demo_shots.h)
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
  if (argc != 2 && !demo) {
    std::fprintf(stderr, "usage: uishot <folder> | uishot --demo <suite> <folder>\n");
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
  return ok ? 0 : 1;
}
