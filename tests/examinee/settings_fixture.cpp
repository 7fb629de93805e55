#include "examinee/settings_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/runtime/app.h"
#include "platform/text/cp932.h"

namespace qz::test {

ProgramFolder::ProgramFolder() : old_app_path_(App().path), old_settings_(basPublic) {
  dir_.Enter();
  App().path = dir_.path();
  basPublic = BasPublic{};
}

ProgramFolder::~ProgramFolder() {
  App().path = old_app_path_;
  basPublic = old_settings_;
}

void ProgramFolder::Write(std::string_view name, std::string_view utf8) const {
  dir_.Write(name, text::ToCp932(utf8));
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
