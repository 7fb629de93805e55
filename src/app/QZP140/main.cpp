// QZP140: the result-input program on the screen.
//
//   QZP140 [examinee number (10 characters)[I][...yyyymmdd]]
//
// The program's own folder is its program folder (QZP140.INI, QZPPATH.ini);
// drive letters in the suite's INI files map through QZ_DRIVE_ROOT_<letter>
// (see platform/path/host_path.h). Without arguments the search screen
// offers the examinees.
#include <QApplication>

#include <filesystem>
#include <string>

#include "examinee/frm_result_in.h"
#include "platform/runtime/app.h"
#include "qt/qt_backend.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  qz::App().exe_name = "QZP140";
  qz::App().title = "QZP140";
  std::error_code ec;
  std::filesystem::path self = std::filesystem::canonical("/proc/self/exe", ec);
  qz::App().path = ec ? std::filesystem::current_path().string() : self.parent_path().string();

  std::string command_line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) command_line += ' ';
    command_line += argv[i];
  }
  qz::App().command = command_line;

  qz::qt::QtShell shell;
  return shell.Run(*qz::frmResultInForm) ? 0 : 1;
}
