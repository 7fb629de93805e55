#include "platform/runtime/app.h"

#include <cctype>
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

std::string ExecutableName(const std::string& executable) {
  std::string name = executable.substr(executable.find_last_of("/\\") + 1);
  if (name.size() > 4) {
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (tail == ".exe") name.resize(name.size() - 4);
  }
  return name;
}

void InitApp(const char* name, int argc, char** argv) {
  AppInfo& app = App();
  app.title = name;
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::canonical("/proc/self/exe", ec);
  app.exe_name = ec ? std::string(name) : ExecutableName(self.string());
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
