#include "update/file_system_object.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "platform/path/no_case.h"
#include "update/file_error.h"

namespace qz::update {

namespace fs = std::filesystem;

void FileSystemObject::CopyFile(std::string_view source, std::string_view destination,
                                bool overwrite) const {
  fs::path from = path::ResolveSuitePath(source);
  fs::path to = path::ResolveSuitePath(destination);
  std::error_code ec;
  if (!fs::is_regular_file(from, ec)) throw RunTimeError(kErrFileNotFound);
  if (!fs::is_directory(to.parent_path().empty() ? fs::path(".") : to.parent_path(), ec)) {
    throw RunTimeError(kErrPathNotFound);
  }
  if (fs::exists(to, ec) && !overwrite) throw FileError(std::make_error_code(std::errc::file_exists));
  if (fs::is_directory(to, ec)) throw RunTimeError(70, "書き込みできません。");
  if (fs::exists(to, ec) && (fs::status(to, ec).permissions() & fs::perms::owner_write) == fs::perms::none) {
    throw RunTimeError(70, "書き込みできません。");  // a read-only destination stays as it is
  }
  fs::path temp = to;
  temp += ".copying";
  fs::copy_file(from, temp, fs::copy_options::overwrite_existing, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    throw FileError(ec);
  }
  fs::last_write_time(temp, fs::last_write_time(from, ec), ec);
  ec.clear();
  fs::rename(temp, to, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    throw FileError(ec);
  }
}

}  // namespace qz::update
