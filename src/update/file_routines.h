// basFile and basDir of the version-up program: copying one file under an
// overwrite mode with backup, renaming and deleting with logging, file
// lists, existence tests, file times and folder creation.
//
// Paths are texts in the suite's form or this machine's (path_routines.h);
// names are found without regard to case. Every routine writes what it does
// to the run log; none raises: a run-time error is logged with the four
// error lines under the routine's name and becomes its failure result.
// Single-threaded, like the program.
#ifndef QZ_UPDATE_FILE_ROUTINES_H_
#define QZ_UPDATE_FILE_ROUTINES_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text/vb.h"

namespace qz::update {

// Results of Fnc_FileCopy.
enum CopyResult : std::int16_t {
  kCopied = 0,         // the file was copied
  kSkipped = 1,        // destination kept, or the folder was there already
  kFolderCreated = 2,  // the destination folder was made (folder entry)
  kCopyError = 9,      // failed; the reason is in the log
};

// Overwrite modes of Fnc_FileCopy.
enum OverwriteMode : std::int16_t {
  kAlwaysCopy = 1,
  kCopyIfNewer = 2,    // only when the source was written later (to the second)
  kCopyIfMissing = 3,  // only when the destination does not exist
};

// Copies `source` to `destination` under `mode`. A destination ending in a
// separator names a folder: it is only made sure to exist (2 made, 1 there).
// A missing destination folder is made. A destination that is replaced is
// first backed up in the run folder when `backup` (a failed backup shows
// "ファイルのバックアップに失敗しました。" and gives 9). The source must be a
// file of at least 2 bytes (Fnc_FileExists). Returns a CopyResult.
std::int16_t Fnc_FileCopy(std::string_view source, std::string_view destination, std::int16_t mode,
                          bool backup);

// Renames the file or folder `from` to `to`. An existing file named `to` is
// deleted first (Fnc_FileDel), but only once `from` is known to exist, so a
// failed rename never costs the target. Logs "ファイル名を変更しました。 : "
// & from & " -> " & to. False (error lines logged) on any failure.
bool Fnc_ReName(std::string_view from, std::string_view to);

// Deletes the file `path` when it exists; logs either way. A record file on
// the database server (server_files.h) is emptied anew instead. True unless
// the deletion failed.
bool Fnc_FileDel(std::string_view path);

// True only for an existing plain file of at least 2 bytes (files of 0 or
// 1 byte, folders and names with wild cards count as absent), or for a
// record file on the database server that exists there (server_files.h).
bool Fnc_FileExists(std::string_view path);

// True for any existing file (not a folder), whatever its size.
bool AnyFileExists(std::string_view path);

// True when `path` is an existing folder.
bool Fnc_FolderExists(std::string_view path);

// The creation (this machine keeps none: the status-change time stands in),
// last-write and last-access times of the file, local time, to the second.
// False when the file cannot be read.
bool Sub_FileTime(std::string_view path, vb::DateTime& created, vb::DateTime& written,
                  vb::DateTime& accessed);

// Makes the folder `folder` and every missing folder above it. True when the
// whole folder exists afterwards.
bool Fnc_MakeDir(std::string_view folder);

// The entries of `folder` matching `mask` ("*" and "?" wild cards, without
// regard to case; "*.*" matches every name), in name order without regard
// to case, "." and ".." skipped. With `recurse` a matching sub-folder is
// listed as name & "\" followed by its own entries as name & "\" & entry;
// without it a sub-folder is listed by its name. Links to folders are listed
// as files and not followed. `list` gets element 0 empty and the entries
// from index 1 (relative paths); a missing folder gives no entries.
void Sub_FileList(std::string_view folder, std::string_view mask, bool recurse,
                  std::vector<std::string>& list);

// True when `name` matches the wild-card `mask` (see Sub_FileList).
bool MaskMatches(std::string_view mask, std::string_view name);

}  // namespace qz::update

#endif  // QZ_UPDATE_FILE_ROUTINES_H_
