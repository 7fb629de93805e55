#include "update/process_list.h"

#include <cctype>
#include <filesystem>
#include <system_error>

#include "platform/path/no_case.h"
#include "update/path_routines.h"

namespace qz::update {

namespace fs = std::filesystem;

namespace {

std::function<std::vector<std::string>()>& Source() {
  static std::function<std::vector<std::string>()> source;
  return source;
}

std::vector<std::string> MachineProcesses() {
  std::vector<std::string> paths;
  std::error_code ec;
  fs::directory_iterator it("/proc", ec);
  if (ec) throw fs::filesystem_error("the process list cannot be read", "/proc", ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::string pid = it->path().filename().string();
    if (pid.empty() || !std::isdigit(static_cast<unsigned char>(pid[0]))) continue;
    std::error_code rec;
    fs::path exe = fs::read_symlink(it->path() / "exe", rec);
    if (!rec && !exe.empty()) paths.push_back(exe.string());
  }
  return paths;
}

}  // namespace

std::int32_t Fnc_GetProcessPaths(std::string_view name, std::vector<std::string>& list, bool* failed) {
  list.assign(1, std::string());
  if (failed != nullptr) *failed = false;
  std::vector<std::string> all;
  try {
    all = Source() ? Source()() : MachineProcesses();
  } catch (const std::exception&) {
    if (failed != nullptr) *failed = true;
    return 0;
  }
  for (const std::string& p : all) {
    if (!name.empty() && !path::EqualNoCase(Fnc_FileName(p), name)) continue;
    list.push_back(p);
  }
  return static_cast<std::int32_t>(list.size() - 1);
}

std::string OwnExecutablePath() {
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : self.string();
}

void SetProcessListForTest(std::function<std::vector<std::string>()> source) { Source() = std::move(source); }

}  // namespace qz::update
