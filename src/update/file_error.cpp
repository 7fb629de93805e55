#include "update/file_error.h"

#include <cerrno>

namespace qz::update {

RunTimeError FileError(const std::error_code& ec) {
  switch (ec.value()) {
    case ENOENT: return RunTimeError(kErrFileNotFound);
    case ENOTDIR: return RunTimeError(kErrPathNotFound);
    case EEXIST:
    case ENOTEMPTY: return RunTimeError(58, "既に同名のファイルが存在しています。");
    case EACCES:
    case EPERM:
    case EROFS:
    case EBUSY:
    case ETXTBSY: return RunTimeError(70, "書き込みできません。");
    default: return RunTimeError(75, "パス名が無効です。");
  }
}

void ThrowIfFailed(const std::error_code& ec) {
  if (ec) throw FileError(ec);
}

}  // namespace qz::update
