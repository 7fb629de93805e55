// The run-time error that a failed file operation of this machine stands
// for, with the runtime's number and Japanese text, so that the error logs
// of the file routines read as the program's own.
#ifndef QZ_UPDATE_FILE_ERROR_H_
#define QZ_UPDATE_FILE_ERROR_H_

#include <system_error>

#include "platform/runtime/run_time_error.h"

namespace qz::update {

// 53 file not found, 76 path not found, 58 file already exists, 70
// permission denied (also a busy file), 75 any other path or file access
// error.
RunTimeError FileError(const std::error_code& ec);

// Throws FileError(ec) when `ec` is set.
void ThrowIfFailed(const std::error_code& ec);

}  // namespace qz::update

#endif  // QZ_UPDATE_FILE_ERROR_H_
