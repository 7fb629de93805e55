#include "update/file_routines.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <tuple>

#include "platform/path/no_case.h"
#include "platform/runtime/run_time_error.h"
#include "platform/ui/msgbox.h"
#include "update/bas_public.h"
#include "update/file_error.h"
#include "update/path_routines.h"
#include "update/run_log.h"
#include "update/server_files.h"

namespace qz::update {

namespace fs = std::filesystem;

namespace {

fs::path Host(std::string_view p) { return path::ResolveSuitePath(p); }

vb::DateTime LocalOf(std::time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  return vb::DateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

auto Order(const vb::DateTime& t) { return std::tie(t.year, t.month, t.day, t.hour, t.minute, t.second); }

std::string Stamp(const vb::DateTime& t) { return vb::Format(t, "yyyy/mm/dd hh:nn:ss"); }

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool Match(std::string_view m, std::string_view n) {
  // Iterative wild-card match with one back-track point per "*".
  std::size_t i = 0, j = 0, star = std::string_view::npos, mark = 0;
  while (j < n.size()) {
    if (i < m.size() && (m[i] == '?' || Lower(m[i]) == Lower(n[j]))) {
      ++i;
      ++j;
    } else if (i < m.size() && m[i] == '*') {
      star = i++;
      mark = j;
    } else if (star != std::string_view::npos) {
      i = star + 1;
      j = ++mark;
    } else {
      return false;
    }
  }
  while (i < m.size() && m[i] == '*') ++i;
  return i == m.size();
}

}  // namespace

bool MaskMatches(std::string_view mask, std::string_view name) {
  if (mask == "*.*" || mask == "*") return true;
  return Match(mask, name);
}

bool Fnc_FileExists(std::string_view path) {
  if (path.empty() || path.find_first_of("*?") != std::string_view::npos) return false;
  if (const auto server = ServerFileOf(path)) return ServerFileExists(*server);
  std::error_code ec;
  fs::path p = Host(path);
  if (!fs::is_regular_file(p, ec)) return false;
  auto size = fs::file_size(p, ec);
  return !ec && size >= 2;
}

bool AnyFileExists(std::string_view path) {
  if (path.empty()) return false;
  std::error_code ec;
  fs::file_status s = fs::status(Host(path), ec);
  return fs::exists(s) && !fs::is_directory(s);
}

bool Fnc_FolderExists(std::string_view path) {
  if (path.empty()) return false;
  std::error_code ec;
  return fs::is_directory(Host(path), ec);
}

bool Sub_FileTime(std::string_view path, vb::DateTime& created, vb::DateTime& written,
                  vb::DateTime& accessed) {
  struct stat st{};
  std::string host = Host(path);
  if (::stat(host.c_str(), &st) != 0) return false;
  created = LocalOf(st.st_ctime);
  written = LocalOf(st.st_mtime);
  accessed = LocalOf(st.st_atime);
  return true;
}

bool Fnc_MakeDir(std::string_view folder) {
  std::string full = WithClosingSeparator(folder);
  char sep = SeparatorOf(full);
  std::string prefix;
  std::size_t i = 0;
  while (i < full.size()) {
    std::size_t j = full.find_first_of("\\/", i);
    if (j == std::string::npos) j = full.size();
    prefix += full.substr(i, j - i);
    prefix += sep;
    i = j + 1;
    if (!Fnc_FolderExists(prefix)) {
      std::error_code ec;
      fs::create_directory(Host(prefix), ec);  // a failure shows in the test below
    }
  }
  return Fnc_FolderExists(full);
}

bool Fnc_FileDel(std::string_view path) {
  Sub_Log("ファイルを削除します。 : " + std::string(path));
  try {
    if (const auto server = ServerFileOf(path); server && ServerFileExists(*server)) {
      EmptyServerFile(*server);
      Sub_Log("  ファイルの削除が成功しました。");
    } else if (AnyFileExists(path)) {
      std::error_code ec;
      fs::remove(Host(path), ec);
      ThrowIfFailed(ec);
      Sub_Log("  ファイルの削除が成功しました。");
    } else {
      Sub_Log("  ファイルが存在しません。");
    }
    return true;
  } catch (const RunTimeError& e) {
    Sub_ErrorLog("Fnc_FileDel", e.number(), e.description());
    return false;
  }
}

bool Fnc_ReName(std::string_view from, std::string_view to) {
  try {
    std::error_code ec;
    fs::path source = Host(from);
    if (!fs::exists(fs::symlink_status(source, ec))) throw RunTimeError(kErrFileNotFound);
    if (AnyFileExists(to) && !Fnc_FileDel(to)) return false;
    fs::path target = Host(to);
    if (fs::exists(fs::symlink_status(target, ec))) throw FileError(std::make_error_code(std::errc::file_exists));
    fs::rename(source, target, ec);
    ThrowIfFailed(ec);
    Sub_Log("ファイル名を変更しました。 : " + std::string(from) + " -> " + std::string(to));
    return true;
  } catch (const RunTimeError& e) {
    Sub_ErrorLog("Fnc_ReName", e.number(), e.description());
    return false;
  }
}

std::int16_t Fnc_FileCopy(std::string_view source, std::string_view destination, std::int16_t mode,
                          bool backup) {
  std::int16_t result = kCopyError;
  try {
    std::string d(destination);
    std::string folder = Fnc_FolderName(d);
    bool folder_entry = EndsInSeparator(d);
    if (folder.empty() || Fnc_FolderExists(folder)) {
      if (folder_entry) {
        Sub_Log("フォルダ「" + d + "」は存在します。");
        return kSkipped;
      }
    } else {
      if (!Fnc_MakeDir(folder)) {
        Sub_Log("コピー先「" + folder + "」の作成に失敗しました。");
        return kCopyError;
      }
      if (folder_entry) {
        Sub_Log("フォルダ「" + d + "」を作成しました。");
        return kFolderCreated;
      }
    }
    std::string s(source);
    if (!Fnc_FileExists(s)) {
      Sub_Log("コピー元「" + s + "」が見つかりません。");
      return kCopyError;
    }
    Sub_Log("コピー : " + s + " -> " + d);
    bool exists = AnyFileExists(d);
    if (exists && mode != kAlwaysCopy) {
      if (mode == kCopyIfNewer) {
        vb::DateTime c, ws, wd, a;
        Sub_FileTime(s, c, ws, a);
        Sub_FileTime(d, c, wd, a);
        if (Order(wd) > Order(ws)) {
          Sub_Log("  コピー先の方が新しいです。");
          Sub_Log("  コピー先更新日時 : " + Stamp(wd));
          Sub_Log("  コピー元更新日時 : " + Stamp(ws));
          Sub_Log("    スキップします。");
          return kSkipped;
        }
        if (Order(wd) == Order(ws)) {
          Sub_Log("  更新日時が同じです。 : " + Stamp(ws));
          Sub_Log("    スキップします。");
          return kSkipped;
        }
      } else if (mode == kCopyIfMissing) {
        Sub_Log("  コピー先に存在するため、スキップします。");
        return kSkipped;
      } else {
        Sub_Log("  上書きモードが不正です。 : " + std::to_string(mode));
        return kCopyError;
      }
    }
    if (exists && backup && !Fnc_FileBackup(d)) {
      ui::MsgBox("ファイルのバックアップに失敗しました。\r\n\r\nファイル : " + s, ui::MsgButtons::kOk,
                 ui::MsgIcon::kCritical, kTitle);
      Sub_Log("ファイルのバックアップに失敗しました。 : " + s);
      return kCopyError;
    }
    if (!basPublic.FileSystem) throw RunTimeError(kErrObjectRequired);
    basPublic.FileSystem->CopyFile(s, d, true);
    Sub_Log("  コピーが正常終了しました。");
    result = kCopied;
  } catch (const RunTimeError& e) {
    Sub_ErrorLog("Fnc_FileCopy", e.number(), e.description());
  }
  return result;
}

void Sub_FileList(std::string_view folder, std::string_view mask, bool recurse,
                  std::vector<std::string>& list) {
  list.assign(1, std::string());
  std::string base = WithClosingSeparator(vb::Trim(folder));
  std::error_code ec;
  fs::directory_iterator it(Host(base), ec);
  if (ec) return;
  struct Entry {
    std::string name;
    bool plain_folder;
  };
  std::vector<Entry> entries;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    std::string name = it->path().filename().string();
    if (name == "." || name == ".." || !MaskMatches(mask, name)) continue;
    std::error_code sec;
    bool plain_folder = it->is_directory(sec) && !it->is_symlink(sec);
    entries.push_back({name, plain_folder});
  }
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    return std::lexicographical_compare(a.name.begin(), a.name.end(), b.name.begin(), b.name.end(),
                                        [](char x, char y) { return Lower(x) < Lower(y); });
  });
  for (const Entry& e : entries) {
    if (e.plain_folder && recurse) {
      std::vector<std::string> sub;
      Sub_FileList(base + e.name, mask, recurse, sub);
      for (const std::string& s : sub) list.push_back(e.name + "\\" + s);
    } else {
      list.push_back(e.name);
    }
  }
}

}  // namespace qz::update
