// The file-system object of the version-up program: the one object through
// which files are copied over the installation's files.
//
// CopyFile writes the copy beside the destination first and then renames it
// into place, so a copy that fails half-way (a full disk, a read error)
// leaves the destination as it was. Errors are thrown as RunTimeError with
// the runtime's number and text, as the object's callers trap them.
#ifndef QZ_UPDATE_FILE_SYSTEM_OBJECT_H_
#define QZ_UPDATE_FILE_SYSTEM_OBJECT_H_

#include <string_view>

namespace qz::update {

class FileSystemObject {
 public:
  FileSystemObject() = default;
  FileSystemObject(const FileSystemObject&) = delete;
  FileSystemObject& operator=(const FileSystemObject&) = delete;

  // Copies the file `source` to `destination` (both in the suite's form or
  // this machine's). An existing destination is replaced only when
  // `overwrite`. The destination keeps the source's last-write time.
  // Throws RunTimeError: 53 source missing, 58 destination exists and not
  // `overwrite`, 76 destination folder missing, 70 not writable.
  void CopyFile(std::string_view source, std::string_view destination, bool overwrite) const;
};

}  // namespace qz::update

#endif  // QZ_UPDATE_FILE_SYSTEM_OBJECT_H_
