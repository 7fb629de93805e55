// QZP140: the result-input program on the screen.
//
//   QZP140 [examinee number (10 characters)[I][...yyyymmdd]]
//
// The program's own folder, or the one QZ_FOLDER_QZP140 names, is its
// program folder (QZP140.INI, QZPPATH.ini); drive letters in the suite's INI
// files map through QZ_DRIVE_ROOT_<letter> (see platform/path/host_path.h).
// Without arguments the search screen offers the examinees. Exit status 0
// after a run that started and ended, 1 when the start was refused or failed
// (its message box named why; the log has it too) or an error ended it.
#include <QApplication>

#include "data/program_log.h"
#include "examinee/frm_result_in.h"
#include "loading/load_state.h"
#include "platform/runtime/app.h"
#include "qt/qt_backend.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  qz::InitApp("QZP140", argc, argv);
  qz::qt::QtShell shell;
  shell.qt().PaceSyncs(true);  // long steps repaint at the display's pace
  const bool ended = shell.Run(*qz::frmResultInForm);
  // A run that an untrapped error ended never unloaded its form: its log
  // still needs the end.
  qz::program_log::Ended();
  // A start that was refused or failed ends with status 1, as a run that
  // an error ended.
  return ended && !qz::frmResultIn.StartFailed ? 0 : 1;
}
