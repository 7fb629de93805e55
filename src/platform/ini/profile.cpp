#include "platform/ini/profile.h"

#include <algorithm>

#include "platform/ini/profile_file.h"
#include "platform/text/cp932.h"

namespace qz::ini {
namespace {

// The longest prefix of `utf8` whose CP932 form is at most `max_bytes` long,
// never ending inside a character (the platform's buffer counts bytes of the
// ANSI code page).
std::string CutToAnsiLength(std::string value, std::size_t max_bytes) {
  if (value.size() <= max_bytes) return value;  // CP932 is never longer than UTF-8
  std::size_t used = 0, i = 0;
  while (i < value.size()) {
    std::size_t len = 1;
    unsigned char c = static_cast<unsigned char>(value[i]);
    if (c >= 0xF0) len = 4;
    else if (c >= 0xE0) len = 3;
    else if (c >= 0xC0) len = 2;
    len = std::min(len, value.size() - i);
    std::size_t w = text::Cp932Length(std::string_view(value).substr(i, len));
    if (used + w > max_bytes) break;
    used += w;
    i += len;
  }
  value.resize(i);
  return value;
}

}  // namespace

std::string GetProfileString(std::string_view file, std::string_view section, std::string_view key,
                             std::string_view default_value, std::size_t max_chars) {
  std::optional<std::string> v = ProfileFile::Load(file).Find(section, key);
  if (!v) return std::string(default_value);
  return CutToAnsiLength(std::move(*v), max_chars);
}

std::vector<Entry> GetProfileSection(std::string_view file, std::string_view section) {
  return ProfileFile::Load(file).Section(section);
}

std::vector<std::string> GetProfileSectionNames(std::string_view file) {
  return ProfileFile::Load(file).SectionNames();
}

bool WriteProfileString(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view value) {
  std::optional<ProfileFile> p = ProfileFile::Read(file);
  if (!p) return false;
  p->Set(section, key, value);
  return p->Save(file);
}

}  // namespace qz::ini
