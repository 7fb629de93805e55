// Profile (INI) files with the platform's profile-function semantics.
//
// Files are CP932 (a file that begins with a UTF-8 byte-order mark is read
// as UTF-8); texts in and out are UTF-8. Section and key names compare
// without regard to case; leading blanks of a key in the file are ignored; a
// requested key matches a file key equal to it as written or with the file
// key's trailing blanks removed ("CPFSPEC " finds only "CPFSPEC =...", while
// "CPFSPEC" finds both). Values are trimmed and one pair of enclosing double
// quotes is removed. Lines beginning with ";" are comments. The first of
// duplicate sections and keys wins. A missing file reads as empty, never an
// error. File names are found without regard to case in their folder.
//
// Every call reads the file afresh (as the platform does); callers that read
// many keys of one file may hold a ProfileFile instead.
#ifndef QZ_PLATFORM_INI_PROFILE_H_
#define QZ_PLATFORM_INI_PROFILE_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qz::ini {

using Entry = std::pair<std::string, std::string>;  // key, value

// The value of `key` in `section` of `file`, or `default_value` when the
// file, section or key is missing. A key present with an empty value gives
// "". The value is cut to `max_chars` bytes of its CP932 form, never inside a
// character (the platform's buffer of 256 holds 255); the default is given
// back unchanged.
std::string GetProfileString(std::string_view file, std::string_view section,
                             std::string_view key, std::string_view default_value,
                             std::size_t max_chars = 255);

// Every entry of `section` in file order, as the platform's section read
// gives them: "key=value" lines split at the first "=" (an entry without
// "=" is a key with an empty value), comments skipped. Key and value are
// trimmed of blanks; quotes are kept. Empty when the file or section is
// missing.
std::vector<Entry> GetProfileSection(std::string_view file, std::string_view section);

// The names of every section of `file` in file order (first of duplicates).
std::vector<std::string> GetProfileSectionNames(std::string_view file);

// Writes `key` = `value` in `section`: the key's line is changed in place,
// or appended to the section, or the section is appended to the file; every
// other line, the order and the file's encoding are kept. Creates the file
// (CP932, CRLF line ends) when missing. Returns false when the file cannot be
// read or written; the old file is then left as it was.
bool WriteProfileString(std::string_view file, std::string_view section,
                        std::string_view key, std::string_view value);

}  // namespace qz::ini

#endif  // QZ_PLATFORM_INI_PROFILE_H_
