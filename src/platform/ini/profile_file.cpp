#include "platform/ini/profile_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/path/no_case.h"
#include "platform/text/cp932.h"

namespace qz::ini {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t";

std::string_view TrimLeft(std::string_view s) {
  std::size_t i = s.find_first_not_of(kBlanks);
  return i == std::string_view::npos ? std::string_view() : s.substr(i);
}

std::string_view TrimRight(std::string_view s) {
  std::size_t i = s.find_last_not_of(kBlanks);
  return i == std::string_view::npos ? std::string_view() : s.substr(0, i + 1);
}

std::string_view Trim(std::string_view s) { return TrimRight(TrimLeft(s)); }

}  // namespace

bool KeyMatches(std::string_view wanted, std::string_view written) {
  return path::EqualNoCase(wanted, written) || path::EqualNoCase(wanted, TrimRight(written));
}

std::optional<ProfileFile> ProfileFile::Read(std::string_view file) {
  std::string host = path::ResolveSuitePath(file);
  struct stat st;
  if (::stat(host.c_str(), &st) != 0) return ProfileFile();
  if (!S_ISREG(st.st_mode)) return std::nullopt;
  std::ifstream in(host, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return Parse(bytes.str());
}

ProfileFile ProfileFile::Load(std::string_view file) { return Read(file).value_or(ProfileFile()); }

ProfileFile ProfileFile::Parse(std::string_view bytes) {
  ProfileFile p;
  if (bytes.substr(0, kBom.size()) == kBom) {
    p.utf8_ = true;
    p.bom_ = std::string(kBom);
    bytes.remove_prefix(kBom.size());
  }
  bool any_lf = false, any_crlf = false;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t nl = bytes.find('\n', pos);
    Line line;
    if (nl == std::string_view::npos) {
      line.raw = std::string(bytes.substr(pos));
      pos = bytes.size();
    } else {
      std::string_view piece = bytes.substr(pos, nl - pos);
      if (!piece.empty() && piece.back() == '\r') {
        piece.remove_suffix(1);
        line.eol = "\r\n";
        any_crlf = true;
      } else {
        line.eol = "\n";
        any_lf = true;
      }
      line.raw = std::string(piece);
      pos = nl + 1;
    }
    p.Classify(line);
    p.lines_.push_back(std::move(line));
  }
  if (!any_crlf && any_lf) p.default_eol_ = "\n";
  return p;
}

void ProfileFile::Classify(Line& line) const {
  std::string text = utf8_ ? line.raw : text::FromCp932(line.raw);
  std::string_view t = TrimLeft(text);
  line.name.clear();
  line.value.clear();
  line.has_equals = false;
  if (t.empty()) {
    line.kind = Kind::kBlank;
  } else if (t.front() == ';') {
    line.kind = Kind::kComment;
  } else if (t.front() == '[') {
    line.kind = Kind::kSection;
    std::string_view inner = t.substr(1);
    std::size_t close = inner.rfind(']');
    if (close != std::string_view::npos) inner = inner.substr(0, close);
    line.name = std::string(Trim(inner));
  } else {
    line.kind = Kind::kEntry;
    std::size_t eq = t.find('=');
    if (eq == std::string_view::npos) {
      line.name = std::string(TrimRight(t));
    } else {
      line.has_equals = true;
      line.name = std::string(t.substr(0, eq));
      line.value = std::string(t.substr(eq + 1));
    }
  }
}

int ProfileFile::FindSection(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == Kind::kSection && path::EqualNoCase(lines_[i].name, section)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::size_t ProfileFile::SectionEnd(int header) const {
  std::size_t i = static_cast<std::size_t>(header) + 1;
  while (i < lines_.size() && lines_[i].kind != Kind::kSection) ++i;
  return i;
}

std::optional<std::string> ProfileFile::Find(std::string_view section, std::string_view key) const {
  int header = FindSection(section);
  if (header < 0) return std::nullopt;
  for (std::size_t i = header + 1, end = SectionEnd(header); i < end; ++i) {
    const Line& l = lines_[i];
    if (l.kind != Kind::kEntry || !KeyMatches(key, l.name)) continue;
    std::string_view v = Trim(l.value);
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    return std::string(v);
  }
  return std::nullopt;
}

std::vector<Entry> ProfileFile::Section(std::string_view section) const {
  std::vector<Entry> out;
  int header = FindSection(section);
  if (header < 0) return out;
  for (std::size_t i = header + 1, end = SectionEnd(header); i < end; ++i) {
    const Line& l = lines_[i];
    if (l.kind == Kind::kEntry) out.emplace_back(std::string(Trim(l.name)), std::string(Trim(l.value)));
  }
  return out;
}

std::vector<std::string> ProfileFile::SectionNames() const {
  std::vector<std::string> out;
  for (const Line& l : lines_) {
    if (l.kind != Kind::kSection) continue;
    bool seen = false;
    for (const std::string& n : out) seen = seen || path::EqualNoCase(n, l.name);
    if (!seen) out.push_back(l.name);
  }
  return out;
}

std::string ProfileFile::Encode(std::string_view utf8) const {
  return utf8_ ? std::string(utf8) : text::ToCp932(utf8);
}

ProfileFile::Line ProfileFile::MakeLine(std::string_view utf8) const {
  Line line;
  line.raw = Encode(utf8);
  line.eol = default_eol_;
  Classify(line);
  return line;
}

void ProfileFile::Set(std::string_view section, std::string_view key, std::string_view value) {
  std::string entry = std::string(key) + "=" + std::string(value);
  int header = FindSection(section);
  if (header < 0) {
    if (!lines_.empty() && lines_.back().eol.empty()) lines_.back().eol = default_eol_;
    lines_.push_back(MakeLine("[" + std::string(section) + "]"));
    lines_.push_back(MakeLine(entry));
    return;
  }
  std::size_t end = SectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i) {
    Line& l = lines_[i];
    if (l.kind != Kind::kEntry || !KeyMatches(key, l.name)) continue;
    std::string text = utf8_ ? l.raw : text::FromCp932(l.raw);
    std::string lead(text.substr(0, text.find_first_not_of(kBlanks)));
    std::string eol = l.eol;
    l = MakeLine(lead + l.name + "=" + std::string(value));
    l.eol = eol;
    return;
  }
  std::size_t at = header + 1;
  for (std::size_t i = header + 1; i < end; ++i) {
    if (lines_[i].kind != Kind::kBlank) at = i + 1;
  }
  if (lines_[at - 1].eol.empty()) lines_[at - 1].eol = default_eol_;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), MakeLine(entry));
}

std::string ProfileFile::Bytes() const {
  std::string out = bom_;
  for (const Line& l : lines_) out += l.raw + l.eol;
  return out;
}

bool ProfileFile::Save(std::string_view file) const {
  std::string target = path::ResolveSuitePath(file);
  std::string temp = target + ".tmp" + std::to_string(::getpid());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    std::string bytes = Bytes();
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::remove(temp.c_str());
      return false;
    }
  }
  if (std::rename(temp.c_str(), target.c_str()) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace qz::ini
