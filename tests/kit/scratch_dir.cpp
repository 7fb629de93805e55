#include "kit/scratch_dir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace qz::testkit {

ScratchDir::ScratchDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "qz_test_XXXXXX").string();
  if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
}

ScratchDir::~ScratchDir() {
  if (!previous_cwd_.empty()) {
    if (::chdir(previous_cwd_.c_str()) != 0) {
      // Nothing more can be done in a destructor.
    }
  }
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string ScratchDir::Path(std::string_view name) const { return path_ + "/" + std::string(name); }

void ScratchDir::Write(std::string_view name, std::string_view bytes) const {
  std::filesystem::path p = Path(name);
  std::filesystem::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void ScratchDir::WriteScript(std::string_view name, std::string_view text) const {
  Write(name, text);
  ::chmod(Path(name).c_str(), 0755);
}

std::string ScratchDir::Read(std::string_view name) const {
  std::ifstream in(Path(name), std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void ScratchDir::Enter() {
  if (previous_cwd_.empty()) previous_cwd_ = std::filesystem::current_path().string();
  if (::chdir(path_.c_str()) != 0) throw std::runtime_error("chdir failed");
}

}  // namespace qz::testkit
