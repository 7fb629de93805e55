// The start's look for a version-up that did not finish: a run killed, or
// cut off by a power failure, leaves its journal (journal_file.h) in its run
// folder under the log root (run_log.h LogRootFolder). Before the versions
// are checked, such a run of this installation is put back from its
// backups with the journal's changes (run_journal.h Fnc_RollBack), the
// operator is told and the log says so; its journal is removed last. Only
// then does the new run go on.
// UI thread only, like the program.
#ifndef QZ_UPDATE_UNFINISHED_RUN_H_
#define QZ_UPDATE_UNFINISHED_RUN_H_

namespace qz::update {

// Puts back every unfinished run of basPublic.ProgramPath, newest first:
// logs "前回のバージョンアップが完了していません。 : " & its run folder and
// the restore, and shows "前回のバージョンアップが完了していませんでした。"
// with "バージョンアップ前の状態に戻しました。" and the run's log (exclamation
// icon). True when there was none or all went back. When one cannot be put
// back: shows that it could not, with its run folder, where the backups
// and the journal stay for the next start, logs it and returns false (the
// program must then end). Needs basPublic's folders (path set-up) and the
// run log.
bool Fnc_PutBackUnfinishedRun();

}  // namespace qz::update

#endif  // QZ_UPDATE_UNFINISHED_RUN_H_
