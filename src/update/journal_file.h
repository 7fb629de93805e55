// The run journal on disk: the file "Update.journal" in the run folder,
// which survives the program when it is killed or the power fails, so that
// the next start can put the installation back (unfinished_run.h).
//
// The file is text in UTF-8: a first line "QZUPDATE-JOURNAL 1", a second
// line "INSTALLATION" TAB the installed program folder, then one line per
// entry: its kind letter and its fields, each after a TAB, with "\" TAB and
// line break written as "\\", "\t" and "\n". Every line ends in a line
// break; a last line without one was being written when the program died,
// and the change it describes had not begun, so it is not read. An entry is
// on the disk (written, flushed and synced; the file's folder synced when
// the file is new) before AppendJournalEntry returns.
//
// Single-threaded, like the program.
#ifndef QZ_UPDATE_JOURNAL_FILE_H_
#define QZ_UPDATE_JOURNAL_FILE_H_

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qz::update {

// The name of the journal file in a run folder.
inline constexpr const char* kJournalFileName = "Update.journal";

// One change of the installation, noted before it is made.
struct JournalEntry {
  enum Kind : char {
    kBackedUp = 'B',     // `path` was copied to `backup` before it changed
    kAddedFile = 'A',    // `path` did not exist; the run may make it
    kAddedFolder = 'D',  // the folder `path` did not exist; the run may make it
    kMovedAside = 'R',   // `path` is renamed to `backup` (put back later)
    kRan = 'X',          // the outside program `path` runs with `backup` as parameters
    kFinished = 'F',     // the run completed or was put back: nothing is to be put back
  };
  Kind kind = kBackedUp;
  std::string path;
  std::string backup;
  std::string link;         // kBackedUp: what `path` linked to ("" no link)
  std::string definitions;  // kBackedUp of a server file: the record definitions it was taken with
};

// A journal read back from its file.
struct JournalContents {
  std::string installation;  // the installed program folder of the run
  std::vector<JournalEntry> entries;  // without the kFinished mark
  bool finished = false;              // it holds the kFinished mark
  bool damaged = false;               // a line after the installation is no entry
};

// Appends `entry` to the journal `file`, making the file with its two first
// lines for `installation` when it does not exist yet, and returns once the
// entry is on the disk. Throws RunTimeError when it cannot be written (the
// change must then not be made).
void AppendJournalEntry(const std::string& file, std::string_view installation, const JournalEntry& entry);

// The journal in `file`; nullopt when it cannot be read or does not begin
// as a journal of this program does (another release's, say). A later line
// that is no entry marks it damaged; the entries read are those before it.
std::optional<JournalContents> ReadJournal(const std::string& file);

// The journal files of the run folders directly under `root` (host paths),
// newest run folder first.
std::vector<std::string> JournalFilesUnder(const std::string& root);

// Removes the journal `file` and syncs its folder. False when it is still
// there afterwards.
bool RemoveJournal(const std::string& file);

// Ends the journal `file` of a run that completed or was put back: marks it
// finished on the disk (kFinished), then removes it. True when it is gone
// or marked, so that no later start puts the run back.
bool CloseJournal(const std::string& file);

// For tests that kill the program at a chosen change: `hook` is called
// with every entry once it is on the disk, before its change is made, and
// with an entry of kind kRan and path "" just before a run's journal is
// removed. nullptr removes it.
void SetJournalHookForTest(std::function<void(const JournalEntry&)> hook);

// Calls the hook of SetJournalHookForTest, if any.
void CallJournalHook(const JournalEntry& entry);

}  // namespace qz::update

#endif  // QZ_UPDATE_JOURNAL_FILE_H_
