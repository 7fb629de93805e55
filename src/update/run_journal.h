// The run journal of the version-up: what this run changed in the
// installation, so that a run that fails half-way can leave the
// installation exactly as it was.
//
// Every first backup of a file in this run (run_log.h Fnc_FileBackup) is
// noted with its backup path, every file the copy step put where none was
// and every folder it made (copy_step.h), and every file a suite program
// wrote where none was (the CSV files of a conversion). Files and folders inside the run folder itself are not
// noted: they are the run's record, not the installation.
//
// Fnc_RollBack puts every noted file back from its backup (one that still
// holds its backup's bytes was never changed and is left alone, so a
// read-only file that a copy could not replace is no failure), removes the
// added files and, when empty, the folders made for them, newest first. A
// file backed up before it was noted as added existed before the run: it is
// put back, never removed. A file the run added and a later step backed up
// (a new file of the release that an import or an edit then changed) is the
// run's own: it goes.
// Files and folders moved aside (MoveAside) go back under their own names
// when they are not back already.
//
// Every change is noted on the disk before it is made (journal_file.h: the
// run folder's "Update.journal"), and noted before the step makes it: a
// program killed at any moment, or a power cut, leaves a journal from which
// the next start puts the installation back (unfinished_run.h) with the
// same Fnc_RollBack. The outside programs a run starts are noted too
// (NoteProgramRun): the files they change were backed up before. A run
// that completes or is put back removes its journal last, or marks it
// finished when it cannot (FinishRunJournal). Noting throws RunTimeError when the journal cannot
// be written; the change is then not made. Single-threaded, like the
// program.
#ifndef QZ_UPDATE_RUN_JOURNAL_H_
#define QZ_UPDATE_RUN_JOURNAL_H_

#include <string>
#include <string_view>
#include <vector>

#include "update/journal_file.h"

namespace qz::update {

// Forgets everything noted in memory (the start of a run; tests); the
// journal file is left as it is.
void ClearRunJournal();

// Takes the changes of an earlier run's journal as this run's, to put them
// back with Fnc_RollBack. False when the records definitions of a server
// backup in it cannot be read.
bool LoadRunJournal(const std::vector<JournalEntry>& entries);

// Forgets the changes and removes the run's journal file: the last act of a
// run that completed or was put back. A file that cannot be removed is
// logged and stays marked finished (journal_file.h CloseJournal), so that
// no start puts the run back; false when it could not even be marked.
bool FinishRunJournal();

// Notes that `file` was backed up to `backup` before this run changed it;
// a `file` that is a link is noted with what it links to, so that the
// roll-back makes the link again, and the backup of a server file with the
// record definitions it was taken with.
void NoteBackup(std::string_view file, std::string_view backup);

// Notes that this run made `file`, which did not exist before.
void NoteAddedFile(std::string_view file);

// Notes that this run made the folder `folder`, which did not exist before.
void NoteAddedFolder(std::string_view folder);

// Notes that the outside program `program` is started with `parameters`.
void NoteProgramRun(std::string_view program, std::string_view parameters);

// Notes that `own` is moved aside to `moved`, then renames it (Fnc_ReName).
// A failed roll-back or a later start renames it back when `moved` still
// exists. False (logged) when the note or the rename fails.
bool MoveAside(std::string_view own, std::string_view moved);

// The folders of `folder` and above it that do not exist yet, outermost
// first (what making `folder` will add).
std::vector<std::string> MissingFolders(std::string_view folder);

// Whether anything was noted since the last ClearRunJournal.
bool RunJournalEmpty();

// Copies `file` to `copy`, a path of the run folder whose folder exists:
// the file itself, or the records of a server file (server_files.h), which
// CopyBackupOver then puts back. Throws RunTimeError when the copy fails.
void CopyToBackup(std::string_view file, std::string_view copy);

// Copies this run's backup `backup` over `file`: the file itself, or the
// records of a server file (server_files.h); a journal the record manager
// left beside the file is removed with it. Throws RunTimeError when the copy
// fails.
void CopyBackupOver(std::string_view backup, std::string_view file);

// Puts the installation back as it was before the run (see above), logging
// every file under "◆◇◆ バックアップからの復元開始 ◆◇◆". True when every file
// went back; false when one could not (logged; its backup stays in the run
// folder). The journal is emptied.
bool Fnc_RollBack();

}  // namespace qz::update

#endif  // QZ_UPDATE_RUN_JOURNAL_H_
