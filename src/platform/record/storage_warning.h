// Warnings of the record manager about where its files live (a data folder
// on a network file system), shown once each.
//
// By default a warning goes to the standard error stream (the program's
// log) and, when a user-interface shell is running, to a message box.
// Programs or tests may install their own handler. Main thread.
#ifndef QZ_PLATFORM_RECORD_STORAGE_WARNING_H_
#define QZ_PLATFORM_RECORD_STORAGE_WARNING_H_

#include <functional>
#include <string>

namespace qz::record {

using StorageWarningHandler = std::function<void(const std::string& text)>;

// Replaces the handler; an empty one restores the default.
void SetStorageWarningHandler(StorageWarningHandler handler);

// Reports `text` once per process for `subject` (e.g. the folder).
void WarnOnce(const std::string& subject, const std::string& text);

}  // namespace qz::record

#endif  // QZ_PLATFORM_RECORD_STORAGE_WARNING_H_
