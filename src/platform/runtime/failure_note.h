// The latest failure of the record manager or of a file or folder, noted
// where it happens, so that the message the program shows about it can be
// logged with what failed and why: the message boxes name neither the
// status of every record-manager failure nor the file, and never the
// system's reason.
//
// The record manager notes every status that is a failure (not 0, 4 or 9)
// with the file it concerns; the program's own checks of files and folders
// note the system's error number with the path. A note stays until it is
// taken or forgotten, or a later failure replaces it.
//
// UI thread only, like the program.
#ifndef QZ_PLATFORM_RUNTIME_FAILURE_NOTE_H_
#define QZ_PLATFORM_RUNTIME_FAILURE_NOTE_H_

#include <optional>
#include <string>
#include <string_view>

namespace qz::failure_note {

struct Failure {
  int status = 0;      // the record-manager status; 0 for a failure of the system
  std::string file;    // the record file, file or folder concerned
  std::string reason;  // a failure of the system: its text (strerror)
};

// Notes a record-manager status that is a failure, for `file` (a record
// file's path, or a table as DescribeLocation gives it).
void NoteStatus(int status, std::string_view file);

// Notes a failure of the system on `path` with its error number (errno).
void NoteSystem(std::string_view path, int error_number);

// The latest note, which is forgotten; nullopt when there is none.
std::optional<Failure> Take();

// Forgets the latest note.
void Forget();

// The note as words of a log line: "status=2 file=/srv/qz140/DATA/QZONLLF.BTR"
// or "file=/srv/qz140/QZP140 reason=No such file or directory".
std::string Words(const Failure& failure);

}  // namespace qz::failure_note

#endif  // QZ_PLATFORM_RUNTIME_FAILURE_NOTE_H_
