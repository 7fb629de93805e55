#include "examinee/settings_fixture.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "platform/runtime/app.h"
#include "platform/text/cp932.h"

namespace qz::test {

ProgramFolder::ProgramFolder() : old_settings_(basPublic) {
  std::string tmpl = (std::filesystem::temp_directory_path() / "qz_settings_XXXXXX").string();
  if (mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
  old_cwd_ = std::filesystem::current_path().string();
  std::filesystem::current_path(path_);
  old_app_path_ = App().path;
  App().path = path_;
  basPublic = BasPublic{};
}

ProgramFolder::~ProgramFolder() {
  std::error_code ec;
  std::filesystem::current_path(old_cwd_, ec);
  std::filesystem::remove_all(path_, ec);
  App().path = old_app_path_;
  basPublic = old_settings_;
}

void ProgramFolder::Write(std::string_view name, std::string_view utf8) const {
  std::ofstream out(path_ + "/" + std::string(name), std::ios::binary);
  out << text::ToCp932(utf8);
}

std::string Golden(std::string_view name, const std::string& actual) {
  // The source folder from the test environment, else this file's folder
  // (the tests change the current folder).
  const char* src = std::getenv("QZ_SOURCE_DIR");
  std::filesystem::path dir = src ? std::filesystem::path(src) / "tests/examinee"
                                  : std::filesystem::path(__FILE__).parent_path();
  std::string file = (dir / "golden" / std::string(name)).string();
  if (std::getenv("QZ_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(file, std::ios::binary) << actual;
  }
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace qz::test
