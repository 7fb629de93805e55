// One profile (INI) file held in memory: read once, queried many times,
// changed line by line and written back.
//
// Matching rules are those of profile.h. Lines are kept as their original
// bytes; a change replaces or inserts single lines and leaves every other
// byte of the file as it was (encoding, line ends, comments, order). Not
// thread-safe; one owner at a time.
#ifndef QZ_PLATFORM_INI_PROFILE_FILE_H_
#define QZ_PLATFORM_INI_PROFILE_FILE_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ini/profile.h"

namespace qz::ini {

class ProfileFile {
 public:
  ProfileFile() = default;

  // Reads `file` (the suite's or this machine's form, found without regard
  // to case). A missing or unreadable file gives an empty profile.
  static ProfileFile Load(std::string_view file);

  // As Load, but nullopt when the file exists and cannot be read (so that a
  // change is never written over a file that was not read).
  static std::optional<ProfileFile> Read(std::string_view file);

  // Parses `bytes` as the content of a profile file.
  static ProfileFile Parse(std::string_view bytes);

  // The value of the first `key` of the first `section` (trimmed, one pair
  // of enclosing double quotes removed, not cut); nullopt when missing.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;

  // Every entry of the first `section` in file order; see GetProfileSection.
  std::vector<Entry> Section(std::string_view section) const;

  // The section names in file order, the first of duplicates only.
  std::vector<std::string> SectionNames() const;

  // Sets `key` of `section` to `value` (see WriteProfileString).
  void Set(std::string_view section, std::string_view key, std::string_view value);

  // The file's bytes as they stand.
  std::string Bytes() const;

  // Writes the bytes to `file` (through a temporary file in the same folder,
  // so a failed write leaves the old file whole). Returns false on failure.
  bool Save(std::string_view file) const;

 private:
  enum class Kind { kBlank, kComment, kSection, kEntry, kOther };
  struct Line {
    std::string raw;    // bytes without the line end
    std::string eol;    // "\r\n", "\n" or "" (last line without an end)
    Kind kind = Kind::kBlank;
    std::string name;   // section name (trimmed) or key (leading blanks removed)
    std::string value;  // entry value after "=" as written (UTF-8)
    bool has_equals = false;
  };

  // Index of the header line of the first `section`, or -1.
  int FindSection(std::string_view section) const;
  // One past the last line that belongs to the section whose header is at
  // `header`.
  std::size_t SectionEnd(int header) const;
  Line MakeLine(std::string_view utf8) const;
  void Classify(Line& line) const;
  std::string Encode(std::string_view utf8) const;

  bool utf8_ = false;          // the file began with a UTF-8 byte-order mark
  std::string bom_;
  std::string default_eol_ = "\r\n";
  std::vector<Line> lines_;
};

// True when the key `wanted` names the file key `written` (leading blanks
// already removed): equal but for case, as written or without the file key's
// trailing blanks.
bool KeyMatches(std::string_view wanted, std::string_view written);

}  // namespace qz::ini

#endif  // QZ_PLATFORM_INI_PROFILE_FILE_H_
