#include "data/program_log.h"

#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "data/ini_access.h"
#include "examinee/bas_public.h"
#include "platform/clock/clock.h"
#include "platform/path/host_path.h"
#include "platform/runtime/app.h"
#include "platform/runtime/failure_note.h"
#include "platform/system/system_info.h"
#include "platform/text/cp932.h"
#include "platform/ui/msgbox.h"

namespace qz::program_log {
namespace {

namespace fs = std::filesystem;

constexpr const char* kProgramIni = "./QZP140.INI";

struct Log {
  bool begun = false;     // Begin has been called for this run
  bool settings = false;  // [Log] has been read
  bool started = false;   // Started has been called: the start has its folders
  bool start_line = false;  // a start line has been written for this run
  bool opened = false;    // lines go to the file (a box stood, the start is complete or the run ended)
  bool failed = false;    // a failure of the file has been reported on the standard error
  bool cp932 = false;     // [Log] Encoding=CP932
  std::FILE* file = nullptr;
  std::string folder_setting;
  std::vector<std::string> waiting;
  bool saving = false;
  int records = 0;
  std::chrono::steady_clock::time_point save_start;
};

Log& TheLog() {
  static Log log;
  return log;
}

std::string Two(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

std::string Stamp() {
  const LocalDateTime t = Now();
  const std::string ms = std::to_string(1000 + t.millisecond).substr(1);
  return std::to_string(t.year) + "-" + Two(t.month) + "-" + Two(t.day) + " " + Two(t.hour) + ":" + Two(t.minute) +
         ":" + Two(t.second) + "." + ms;
}

// A value on one line: line ends become " | ".
std::string OneLine(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += " | ";
    } else {
      out += text[i];
    }
  }
  return out;
}

void Fail(const std::string& what) {
  Log& log = TheLog();
  if (!log.failed) std::fprintf(stderr, "QZP140: the log cannot be written: %s\n", what.c_str());
  log.failed = true;
}

void Write(const std::string& line) {
  Log& log = TheLog();
  if (log.file == nullptr) return;
  const std::string bytes = (log.cp932 ? text::ToCp932(line) : line) + "\n";
  if (std::fwrite(bytes.data(), 1, bytes.size(), log.file) != bytes.size() || std::fflush(log.file) != 0) {
    Fail("write failed");
  }
}

void Line(const std::string& event) {
  Log& log = TheLog();
  const std::string line = Stamp() + " " + event;
  if (log.opened) {
    Write(line);
  } else {
    log.waiting.push_back(line);
  }
}

// Opens the file in `folder` (made when missing). False when it cannot be.
bool OpenIn(const fs::path& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  const fs::path file = folder / ("QZP140_" + system::ComputerName() + ".log");
  // Not inherited by the programs QZP140 starts.
  TheLog().file = std::fopen(file.c_str(), "abe");
  return TheLog().file != nullptr;
}

// A folder of the suite's path form as a path of this machine, without a
// closing separator.
fs::path HostFolder(std::string_view folder) {
  fs::path p = fs::path(path::ToHostPath(folder)).lexically_normal();
  if (!p.has_filename()) p = p.parent_path();
  return p;
}

// The folder LOG beside the data folder.
fs::path BesideData() { return HostFolder(basPublic.VlmfPath).parent_path() / "LOG"; }

// Where the lines of a run that never knew its data folder go.
fs::path FallbackFolder() {
  const fs::path program = App().path.empty() ? fs::path(".") : fs::path(App().path);
  if (::access(program.c_str(), W_OK) == 0) return program / "LOG";
  if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && *state != '\0') {
    return fs::path(state) / "qz140";
  }
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    return fs::path(home) / ".local" / "state" / "qz140";
  }
  std::error_code ec;
  const fs::path temp = fs::temp_directory_path(ec);
  return (ec ? fs::path("/tmp") : temp) / "qz140";
}

// Opens the log in `folder` (or, when that fails, the fallback) and writes
// the waiting lines. A file opened earlier is closed first.
void Open(const fs::path& folder) {
  Log& log = TheLog();
  if (log.file != nullptr) std::fclose(log.file);
  log.file = nullptr;
  log.opened = true;
  if (!OpenIn(folder)) {
    const fs::path fallback = FallbackFolder();
    if (fallback == folder || !OpenIn(fallback)) {
      Fail(folder.string());
    } else {
      std::fprintf(stderr, "QZP140: the log folder %s cannot be written; the log goes to %s\n",
                   folder.c_str(), fallback.c_str());
    }
  }
  for (const std::string& line : log.waiting) Write(line);
  log.waiting.clear();
}

// An error report, a record-manager status or any other failure the
// program shows with the stop icon.
bool IsErrorReport(const ui::MessageBoxRequest& box) {
  if (box.icon == ui::MsgIcon::kCritical) return true;
  const std::string_view text = box.text;
  for (std::string_view mark : {"エラー番号 : ", "ステータス : "}) {
    for (std::size_t at = text.find(mark); at != std::string_view::npos; at = text.find(mark, at + 1)) {
      if (at == 0 || text[at - 1] == '\n') return true;
    }
  }
  return false;
}

void ReadSettings() {
  Log& log = TheLog();
  if (log.settings) return;
  log.settings = true;
  log.folder_setting = Fnc_GetIni("Log", "Folder", "", kProgramIni);
  std::string encoding = Fnc_GetIni("Log", "Encoding", "UTF-8", kProgramIni);
  for (char& c : encoding) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  log.cp932 = encoding == "CP932";
  if (!log.cp932 && encoding != "UTF-8" && encoding != "UTF8" && encoding != "") {
    std::fprintf(stderr, "QZP140: [Log] Encoding=%s of QZP140.INI is neither UTF-8 nor CP932; the log is in UTF-8\n",
                 encoding.c_str());
  }
}

// Where the lines of a start that has not completed go: [Log] Folder, else
// beside the data folder once it is known, else the fallback.
fs::path StartFolder() {
  Log& log = TheLog();
  ReadSettings();
  if (!log.folder_setting.empty()) return HostFolder(log.folder_setting);
  if (!basPublic.VlmfPath.empty()) return BesideData();
  return FallbackFolder();
}

// The start line: who starts where, with what the start knows so far.
void StartLine() {
  TheLog().start_line = true;
  Line("start terminal=" + system::ComputerName() + " user=" + basPublic.LogonUserId +
       " os-user=" + system::UserName() + " program=" + App().path + " data=" + basPublic.VlmfPath +
       " work=" + basPublic.SvworkPath + " definitions=" + basPublic.SpecPath);
}

void Observe(const ui::MessageBoxRequest& box) {
  Log& log = TheLog();
  // Until the start is complete every box tells why it stops.
  const bool error = IsErrorReport(box);
  if (log.started && !error) return;
  // A start that stops says first who started it where.
  if (!log.start_line) StartLine();
  std::string line = std::string(error ? "error" : "message") +
                     " title=" + (box.title.empty() ? App().title : box.title) + " text=" + OneLine(box.text);
  // What failed and why, as the record manager or the system told it.
  if (std::optional<failure_note::Failure> failure = failure_note::Take()) line += " " + failure_note::Words(*failure);
  Line(line);
  // The box stands until the operator answers it, and the program may be
  // stopped meanwhile: what the start has to tell is written now.
  if (!log.opened) Open(StartFolder());
}

std::string Examinee() {
  return "examinee=" + basPublic.ExamineeNo + " date=" + std::to_string(basPublic.ConsultDate);
}

}  // namespace

void Begin() {
  Log& log = TheLog();
  if (log.file != nullptr) std::fclose(log.file);
  log = Log{};
  log.begun = true;
  failure_note::Forget();
  ui::SetMessageObserver(Observe);
}

void Started() {
  Log& log = TheLog();
  // Lines written while a box of the start stood went where the start could
  // tell then; from here on they go where its folders say.
  log.started = true;
  log.opened = false;
  StartLine();
  Open(StartFolder());
}

void ExamineeLoaded() {
  // A failure before a load that completed was answered by the program:
  // it is no reason of a later message.
  failure_note::Forget();
  Line("loaded " + Examinee() + " online=" + std::to_string(basPublic.OnlineRen));
}

void ExamineeReleased() {
  if (basPublic.ExamineeNo.empty() && basPublic.OnlineRen == 0) return;  // nothing was held
  Line("released " + Examinee() + " online=" + std::to_string(basPublic.OnlineRen));
}

void SaveBegun() {
  Log& log = TheLog();
  log.saving = true;
  log.records = 0;
  log.save_start = std::chrono::steady_clock::now();
}

void RecordWritten() {
  if (TheLog().saving) ++TheLog().records;
}

void SaveEnded(bool saved) {
  Log& log = TheLog();
  if (saved) failure_note::Forget();
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - log.save_start);
  Line(std::string(saved ? "saved " : "save-undone ") + Examinee() +
       " records=" + std::to_string(saved ? log.records : 0) + " ms=" + std::to_string(ms.count()));
  log.saving = false;
}

void Ended() {
  Log& log = TheLog();
  if (!log.begun) return;
  Line(log.started ? "end" : "end (the start did not complete)");
  if (!log.opened) Open(StartFolder());
  ui::SetMessageObserver(nullptr);
  if (log.file != nullptr) std::fclose(log.file);
  log = Log{};
}

}  // namespace qz::program_log
