// Update: the version-up program on the screen.
//
//   Update [installed program folder]
//
// The program's own folder is the release's root. Drive letters in the
// suite's INI files map through QZ_DRIVE_ROOT_<letter> (see
// platform/path/host_path.h). The run log and backups go under the folder
// that [Setting] LogRoot of Update.INI names (update/run_log.h).
//
// Exit status: 0 only after a complete run; 1 after any refusal or failure
// (a failed run has put the installation back as it was).
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
  return qz::update::ProgramMain(shell, command_line);
}
