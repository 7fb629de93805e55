#include "update/update_fixture.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <fstream>

#include "platform/clock/clock.h"
#include "platform/path/host_path.h"
#include "platform/path/no_case.h"
#include "platform/runtime/app.h"
#include "platform/text/cp932.h"
#include "update/bas_public.h"
#include "update/path_routines.h"
#include "update/run_log.h"

namespace qz::update::testing {

namespace fs = std::filesystem;

void UpdateTest::SetUp() {
  for (char d : {'C', 'D', 'M'}) {
    fs::create_directories(dir_.Path(std::string(1, d)));
    path::SetDriveRoot(d, dir_.Path(std::string(1, d)));
  }
  if (!entered_) dir_.Enter();
  entered_ = true;
  ForgetCurrentFolder();
  FixClockForTest(LocalDateTime{2026, 12, 9, 14, 22, 33, 0});
  App().title = kTitle;
  basPublic = BasPublic{};
  basPublic.FileSystem = std::make_shared<FileSystemObject>();
  ASSERT_TRUE(Fnc_LogInit());
  ASSERT_EQ(basPublic.LogFolder, "C:\\Vantork.Update\\20261209_142233\\");
}

void UpdateTest::MakeInstallation(std::string_view update_ini) {
  App().path = "D:\\REL";
  App().exe_name = "Update";
  WriteFile("D:\\REL\\Update.INI", update_ini, true);
  WritePathIni("VLMP_MASTER=M:\\MASTER\\\r\nVLMF=..\\DATA\\\r\nCSV=D:\\CSV\r\nCPFSPEC=D:\\SUITE\\CPFSPEC.INI\r\n");
  for (const char* f : {"M:\\MASTER", "D:\\DATA", "D:\\CSV"}) fs::create_directories(Host(f));
  WriteFile("D:\\SUITE\\CPFSPEC.INI", "[x]\r\n");
  WriteFile("D:\\SUITE\\QZPCSV.INI", "[x]\r\n");
}

void UpdateTest::WritePathIni(const std::string& entries) const {
  WriteFile("D:\\SUITE\\QZPPATH.INI", "[FILE_PATH]\r\n" + entries);
}

void UpdateTest::TearDown() {
  App() = AppInfo{};
  basPublic = BasPublic{};
  ForgetCurrentFolder();
  SetClockForTest(nullptr);
  for (char d : {'C', 'D', 'M'}) {
    path::SetDriveRoot(d, std::nullopt);
    std::error_code ec;
    fs::remove_all(dir_.Path(std::string(1, d)), ec);
  }
  log_mark_ = 0;
}

std::string UpdateTest::Host(std::string_view suite_path) const { return path::ResolveSuitePath(suite_path); }

void UpdateTest::WriteFile(std::string_view suite_path, std::string_view bytes, bool cp932) const {
  fs::path p = Host(suite_path);
  fs::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  std::string data = cp932 ? text::ToCp932(bytes) : std::string(bytes);
  out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

std::string UpdateTest::ReadFile(std::string_view suite_path) const {
  std::ifstream in(Host(suite_path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void UpdateTest::SetWriteTime(std::string_view suite_path, int seconds) const {
  std::tm tm{};
  tm.tm_year = 2026 - 1900;
  tm.tm_mon = 11;
  tm.tm_mday = 9;
  tm.tm_hour = 10;
  tm.tm_isdst = -1;
  std::time_t t = std::mktime(&tm) + seconds;
  struct timespec times[2] = {{t, 0}, {t, 0}};
  ::utimensat(AT_FDCWD, Host(suite_path).c_str(), times, 0);
}

std::vector<std::string> UpdateTest::LogLines() const {
  std::string text = text::FromCp932(ReadFile(basPublic.LogFile));
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

std::vector<std::string> UpdateTest::LogTexts() const {
  std::vector<std::string> out;
  std::vector<std::string> lines = LogLines();
  for (std::size_t i = log_mark_; i < lines.size(); ++i) out.push_back(lines[i].substr(std::min<std::size_t>(20, lines[i].size())));
  return out;
}

bool UpdateTest::Logged(std::string_view text) const {
  for (const std::string& t : LogTexts()) {
    if (t == text) return true;
  }
  return false;
}

void UpdateTest::MarkLog() { log_mark_ = LogLines().size(); }

}  // namespace qz::update::testing
