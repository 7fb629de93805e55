#include "kit/own_pg_server.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace qz::testkit {

namespace {

// Run from / : the server's user may not enter the current folder.
const std::string kScript = "cd / && " + std::string(QZ_PROJECT_SOURCE_DIR) + "/scripts/pgserver";

// Runs `command`; its standard output (trailing line breaks removed), and
// whether it ended with status 0.
bool Run(const std::string& command, std::string* output) {
  std::unique_ptr<FILE, decltype(&pclose)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return false;
  std::array<char, 512> buffer{};
  std::string out;
  while (fgets(buffer.data(), static_cast<int>(buffer.size()), pipe.get())) out += buffer.data();
  while (!out.empty() && out.back() == '\n') out.pop_back();
  if (output) *output = out;
  return pclose(pipe.release()) == 0;
}

}  // namespace

OwnPgServer::OwnPgServer() {
  std::string pattern = (std::filesystem::temp_directory_path() / "qz_own_pg_XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    failed_ = "cannot make a folder for the server";
    return;
  }
  root_ = pattern;
  ::chmod(root_.c_str(), 0755);  // the server's user reaches its folder
  folder_ = root_ + "/server";
  if (!Run(kScript + " start '" + folder_ + "'", &conninfo_) || conninfo_.empty()) {
    failed_ = "scripts/pgserver could not start a server";
  }
}

OwnPgServer::~OwnPgServer() {
  if (root_.empty()) return;
  Run(kScript + " stop '" + folder_ + "' >/dev/null 2>&1", nullptr);
  std::error_code ec;
  std::filesystem::remove_all(root_, ec);
}

bool OwnPgServer::Restart() { return Run(kScript + " restart '" + folder_ + "'", nullptr); }

}  // namespace qz::testkit
