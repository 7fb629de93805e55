// The journals of the SQLite engine's transactions (internal; see
// sqlite_store.h): one commit over several SQLite connections that is
// atomic, also when the process dies in the middle of it.
//
// SQLite commits the files of one connection atomically (its super-journal),
// but one connection attaches at most ten files. The engine's connections
// therefore open their files through the VFS "qzrecord", a thin layer over
// SQLite's own, which keeps the journals of a transaction together:
//
// - Inside a transaction the rollback journal of each file
//   ("<file>-journal") is a symbolic link to a journal in the transaction's
//   folder "<data folder>/.qzrecord-tx-<pid>-<n>.d", which the committing
//   process keeps flock'ed while it runs.
// - A commit over several connections commits them one after the other
//   with their journals' removal and their files' unlocking held back: every
//   file stays locked, and a file's journal stays hot. The commit point is
//   the rename of the transaction folder to "<...>.d.done": at once every
//   link dangles, so SQLite sees no journal and keeps the new contents. Then
//   the links go, the locks are given back and the folder is removed.
// - When a later connection's commit fails, the locks are given back with
//   the journals still hot: the next read of each file rolls it back (the
//   engine reads every file at once).
// - A process killed before the rename leaves hot journals, which SQLite
//   rolls back at the next read of each file; killed after it, links to
//   nothing. CleanFolderOnce, run when a process opens the first file of a
//   folder, rolls back or removes whatever such a dead process left: hot
//   journals, links, transaction folders and SQLite's super-journals that no
//   journal needs any more.
//
// The state is per thread, as the engine's sessions are.
#ifndef QZ_PLATFORM_RECORD_SQLITE_JOURNALS_H_
#define QZ_PLATFORM_RECORD_SQLITE_JOURNALS_H_

#include <sqlite3.h>

#include <functional>
#include <string>

namespace qz::record::internal::sqlite {

// The VFS's name, registered on first use. Every file it creates (the
// record files, the connection's main file, the journals, the
// super-journals) is made first by MakeFileForUmask.
const char* RecordVfsName();

// Makes the empty file `path` as every other file of the program is made:
// mode 0666 less the process's umask, the group of a set-group-id folder
// (SQLite would make it 0644, writable by its creator alone). False, and
// nothing made, when anything is at `path` or it cannot be made.
bool MakeFileForUmask(const std::string& path);

// The thread's transaction begins / has ended (committed or rolled back):
// journals made in between go to its folder (made at the first); the end
// removes the folder when nothing in it is needed any more.
void JournalsBegin();
void JournalsEnd();

// From HoldCommits on, the thread's journal and super-journal removals and
// the unlocking of its files are held back (a commit over several
// connections). CommitHeld makes the held commits durable at once (the
// rename) and then does what was held back; false when the rename failed
// (nothing is committed then: roll back). ReleaseHeldForRollback gives the
// files back with their journals hot, for the next read of each file to
// roll it back, and drops the held removals.
void HoldCommits();
bool CommitHeld();
void ReleaseHeldForRollback();

// Rolls back or removes what a dead process's transactions left in
// `folder` (see above); once per folder and process.
void CleanFolderOnce(const std::string& folder);

// Tests only. FailWritesForTesting: while `suffix` is not empty, every
// write to a record file whose path ends in it fails, as a full or failing
// disk does. DieAtCommitStepForTesting: the process ends (_exit(9)) at the
// `step`-th sync, truncation, removal or rename of a commit of this thread
// over several connections (counted from 1; 0 off), as a killed terminal
// would; the making of a super-journal counts as a step too.
// AtCommitStepForTesting: `hook` runs with the step's number at each such
// step, before it is taken (and before the process dies at it); empty: off.
void FailWritesForTesting(const std::string& suffix);
void DieAtCommitStepForTesting(int step);
void AtCommitStepForTesting(std::function<void(int)> hook);

}  // namespace qz::record::internal::sqlite

#endif  // QZ_PLATFORM_RECORD_SQLITE_JOURNALS_H_
