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
    // The program changes into its folder at start: a relative name is
    // made absolute first, while it still means what the caller meant.
    const std::filesystem::path absolute = std::filesystem::absolute(folder, ec);
    app.path = ec ? std::string(folder) : absolute.lexically_normal().string();
    if (app.path.size() > 1 && app.path.back() == '/') app.path.pop_back();
  }
  app.command.clear();
  for (int i = 1; i < argc; ++i) {
    if (i > 1) app.command += ' ';
    app.command += argv[i];
  }
}

}  // namespace qz
