// Update: the version-up program on the screen.
//
//   Update [installed program folder]
//
// The program's own folder is the release's root. Drive letters in the
// suite's INI files map through QZ_DRIVE_ROOT_<letter> (see
// platform/path/host_path.h); the run log goes to C:\Vantork.Update\.
#include <QApplication>

#include <filesystem>
#include <string>

#include "platform/runtime/app.h"
#include "qt/qt_backend.h"
#include "update/update_main.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  qz::App().exe_name = "Update";
  qz::App().title = "Update";
  std::error_code ec;
  std::filesystem::path self = std::filesystem::canonical("/proc/self/exe", ec);
  qz::App().path = ec ? std::filesystem::current_path().string() : self.parent_path().string();

  std::string command_line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) command_line += ' ';
    command_line += argv[i];
  }

  qz::qt::QtShell shell;
  if (!shell.Step([&] { qz::update::Main(command_line); })) return 0;
  auto& form = qz::update::TheMainForm();
  if (!form) return 0;
  return shell.Run(*form) ? 0 : 1;
}
