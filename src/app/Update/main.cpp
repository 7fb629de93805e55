// Update: the version-up program on the screen.
//
//   Update [installed program folder]
//
// The program's own folder is the release's root. Drive letters in the
// suite's INI files map through QZ_DRIVE_ROOT_<letter> (see
// platform/path/host_path.h); the run log goes to C:\Vantork.Update\.
#include <QApplication>

#include <string>

#include "platform/runtime/app.h"
#include "qt/qt_backend.h"
#include "update/update_main.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  qz::InitApp("Update", argc, argv);
  const std::string command_line = qz::App().command;

  qz::qt::QtShell shell;
  shell.qt().PaceSyncs(true);  // long steps repaint at the display's pace
  if (!shell.Step([&] { qz::update::Main(command_line); })) return 0;
  auto& form = qz::update::TheMainForm();
  if (!form) return 0;
  return shell.Run(*form) ? 0 : 1;
}
