#include "update/journal_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

#include "platform/runtime/run_time_error.h"
#include "update/file_error.h"

namespace qz::update {

namespace fs = std::filesystem;

namespace {

constexpr const char* kHeader = "QZUPDATE-JOURNAL 1";
constexpr const char* kInstallation = "INSTALLATION";

std::function<void(const JournalEntry&)>& Hook() {
  static std::function<void(const JournalEntry&)> hook;
  return hook;
}

std::string Escaped(std::string_view field) {
  std::string out;
  for (char c : field) {
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

// The fields of one line, unescaped.
std::vector<std::string> Fields(std::string_view line) {
  std::vector<std::string> fields(1);
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '\t') {
      fields.emplace_back();
    } else if (c == '\\' && i + 1 < line.size()) {
      const char n = line[++i];
      fields.back() += n == 't' ? '\t' : n == 'n' ? '\n' : n;
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

std::error_code LastError() { return std::error_code(errno, std::generic_category()); }

// Syncs the folder `folder`, so that a file made or removed in it stays so.
void SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Writes all of `bytes` to `fd` and syncs it; throws on failure.
void WriteAndSync(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw FileError(LastError());
    done += static_cast<std::size_t>(n);
  }
  if (::fsync(fd) != 0) throw FileError(LastError());
}

}  // namespace

void AppendJournalEntry(const std::string& file, std::string_view installation, const JournalEntry& entry) {
  std::error_code ec;
  const bool is_new = !fs::exists(file, ec);
  const int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
  if (fd < 0) throw FileError(LastError());
  std::string bytes;
  if (is_new || fs::file_size(file, ec) == 0) {
    bytes = std::string(kHeader) + "\n" + kInstallation + "\t" + Escaped(installation) + "\n";
  }
  bytes += std::string(1, static_cast<char>(entry.kind));
  for (const std::string* field : {&entry.path, &entry.backup, &entry.link, &entry.definitions}) {
    bytes += "\t" + Escaped(*field);
  }
  bytes += "\n";
  try {
    WriteAndSync(fd, bytes);
  } catch (...) {
    ::close(fd);
    throw;
  }
  ::close(fd);
  if (is_new) SyncFolder(fs::path(file).parent_path());
  CallJournalHook(entry);
}

std::optional<JournalContents> ReadJournal(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  const std::string text((std::istreambuf_iterator<char>(in)), {});
  JournalContents contents;
  std::size_t at = 0;
  int line_number = 0;
  while (at < text.size()) {
    const std::size_t end = text.find('\n', at);
    if (end == std::string::npos) break;  // being written when the program died
    const std::string_view line(text.data() + at, end - at);
    at = end + 1;
    ++line_number;
    if (line_number == 1) {
      if (line != kHeader) return std::nullopt;
      continue;
    }
    std::vector<std::string> fields = Fields(line);
    if (line_number == 2) {
      if (fields.size() != 2 || fields[0] != kInstallation) return std::nullopt;
      contents.installation = std::move(fields[1]);
      continue;
    }
    const char kind = fields.size() == 5 && fields[0].size() == 1 ? fields[0][0] : '\0';
    if (kind == JournalEntry::kFinished) {
      contents.finished = true;
      continue;
    }
    if (kind != JournalEntry::kBackedUp && kind != JournalEntry::kAddedFile && kind != JournalEntry::kAddedFolder &&
        kind != JournalEntry::kMovedAside && kind != JournalEntry::kRan) {
      contents.damaged = true;
      break;
    }
    contents.entries.push_back(JournalEntry{static_cast<JournalEntry::Kind>(kind), std::move(fields[1]),
                                            std::move(fields[2]), std::move(fields[3]), std::move(fields[4])});
  }
  // Killed while its first lines were written: no change had begun.
  if (line_number < 2) return JournalContents{};
  return contents;
}

std::vector<std::string> JournalFilesUnder(const std::string& root) {
  std::vector<std::string> files;
  std::error_code ec;
  for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code sec;
    if (!it->is_directory(sec) || it->is_symlink(sec)) continue;
    const fs::path file = it->path() / kJournalFileName;
    if (fs::is_regular_file(fs::symlink_status(file, sec))) files.push_back(file.string());
  }
  // Run folders are named by their start time ("yyyymmdd_hhnnss", "_2" …).
  std::sort(files.begin(), files.end(), std::greater<>());
  return files;
}

bool RemoveJournal(const std::string& file) {
  std::error_code ec;
  fs::remove(file, ec);
  SyncFolder(fs::path(file).parent_path());
  return !fs::exists(fs::symlink_status(file, ec));
}

bool CloseJournal(const std::string& file) {
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(file, ec))) return true;
  bool marked = true;
  try {
    AppendJournalEntry(file, {}, JournalEntry{JournalEntry::kFinished, {}, {}, {}, {}});
  } catch (const RunTimeError&) {
    marked = false;
  }
  return RemoveJournal(file) || marked;
}

void SetJournalHookForTest(std::function<void(const JournalEntry&)> hook) { Hook() = std::move(hook); }

void CallJournalHook(const JournalEntry& entry) {
  if (Hook()) Hook()(entry);
}

}  // namespace qz::update
