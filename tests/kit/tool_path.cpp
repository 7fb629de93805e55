#include "kit/tool_path.h"

#include <filesystem>

namespace qz::testkit {

std::string ToolPath(const std::string& name) {
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
  return (exe.parent_path().parent_path() / "tools" / name).string();
}

}  // namespace qz::testkit
