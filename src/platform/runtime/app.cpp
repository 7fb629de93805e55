#include "platform/runtime/app.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace qz {

VersionNumber BuildVersion() { return {QZ_VERSION_MAJOR, QZ_VERSION_MINOR, QZ_VERSION_PATCH}; }

AppInfo& App() {
  static AppInfo info;
  return info;
}

void InitApp(const char* name, int argc, char** argv) {
  AppInfo& app = App();
  app.title = name;
  app.exe_name = name;
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::canonical("/proc/self/exe", ec);
  app.path = ec ? std::filesystem::current_path().string() : self.parent_path().string();
  const std::string variable = std::string("QZ_FOLDER_") + name;
  if (const char* folder = std::getenv(variable.c_str()); folder != nullptr && *folder != '\0') {
    app.path = folder;
  }
  app.command.clear();
  for (int i = 1; i < argc; ++i) {
    if (i > 1) app.command += ' ';
    app.command += argv[i];
  }
}

}  // namespace qz
