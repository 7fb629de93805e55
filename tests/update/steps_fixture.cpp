#include "update/steps_fixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "update/bas_public.h"
#include "update/external_step.h"

namespace qz::update::testing {

namespace fs = std::filesystem;

void StepsTest::SetUp() {
  UpdateTest::SetUp();
  basPublic.RootPath = "D:\\REL\\";
  basPublic.ProgramPath = "D:\\SUITE\\";
  basPublic.MasterPath = "M:\\MASTER\\";
  basPublic.DataPath = "D:\\DATA\\";
  basPublic.CsvPath = "D:\\CSV\\";
  basPublic.UpdateIniPath = "D:\\REL\\Update.INI";
  basPublic.PathIniPath = "D:\\SUITE\\QZPPATH.INI";
  basPublic.SpecIniPath = "D:\\SUITE\\CPFSPEC.INI";
  basPublic.CsvIniPath = "D:\\SUITE\\QZPCSV.INI";
  for (const char* f : {"D:\\REL", "D:\\SUITE", "M:\\MASTER", "D:\\DATA", "D:\\CSV"}) fs::create_directories(Host(f));
  ForgetSettingCopy();
}

void StepsTest::TearDown() {
  ForgetSettingCopy();
  UpdateTest::TearDown();
}

void StepsTest::WriteProgram(std::string_view file, std::string_view body) const {
  const std::string calls = Host("C:\\calls.txt");
  const std::string name = fs::path(Host(file)).filename().string();
  std::string script = "#!/bin/sh\n";
  script += "DATA='" + Host("D:\\DATA") + "/'\nCSV='" + Host("D:\\CSV") + "/'\n";
  script += "printf '%s\\n' \"" + name + " $*\" >> '" + calls + "'\n";
  script += std::string(body) + "\n";
  WriteFile(file, script);
  fs::permissions(Host(file), fs::perms::owner_all, fs::perm_options::add);
}

std::vector<std::string> StepsTest::Calls() const {
  std::vector<std::string> lines;
  std::istringstream in(ReadFile("C:\\calls.txt"));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

void StepsTest::WriteUpdateIni(std::string_view text) const { WriteFile("D:\\REL\\Update.INI", text, true); }

bool StepsTest::Exists(std::string_view suite_path) const { return fs::exists(Host(suite_path)); }

std::vector<std::string> StepsTest::LogFrom(std::string_view from, std::string_view until) const {
  std::vector<std::string> all = LogTexts(), out;
  bool on = false;
  for (const std::string& t : all) {
    if (!on && t == from) on = true;
    if (!on) continue;
    out.push_back(t);
    if (!until.empty() && t == until) break;
  }
  return out;
}

}  // namespace qz::update::testing
