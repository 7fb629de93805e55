// basPathConv and the folder change of the version-up program: paths as
// texts, the current folder and the folder macros of Update.INI.
//
// Paths are texts in the suite's form ("C:\QZP\", "\\SV\share\") or in this
// machine's ("/srv/qzp/"); "\" and "/" both separate parts. The current
// folder is the one last set with Fnc_ChangeDir, as it was named there
// (this machine's working folder before any change). Nothing here raises.
// Single-threaded, like the program.
#ifndef QZ_UPDATE_PATH_ROUTINES_H_
#define QZ_UPDATE_PATH_ROUTINES_H_

#include <string>
#include <string_view>

namespace qz::update {

// Logs "カレントを移動します。 : " & path and makes `path` the current folder
// (also this machine's working folder). A network path is refused with
// "  ネットワークパスは無効です。" unless `allow_network`. On success logs
// "  カレントの移動に成功しました。" and returns true; any failure false.
bool Fnc_ChangeDir(std::string_view path, bool allow_network);

// The current folder as named by the last successful Fnc_ChangeDir, with a
// closing separator.
std::string CurrentFolder();

// Forgets the folder named by the last change: the current folder is this
// machine's working folder again (tests, between runs).
void ForgetCurrentFolder();

// `path` made absolute against the current folder, "." and ".." parts
// resolved (never above the root), separators in the style of the result's
// root ("\" for the suite's form, "/" for this machine's); a closing
// separator is kept. Empty for an empty path.
std::string Fnc_FullPath(std::string_view path);

// The last part of `path` ("C:\A\B.TXT" -> "B.TXT"; a folder with its
// closing separator keeps it: "C:\A\NEW\" -> "NEW\").
std::string Fnc_FileName(std::string_view path);

// `path` without its last part ("C:\A\B.TXT" -> "C:\A"); a closing
// separator alone is removed ("C:\A\NEW\" -> "C:\A\NEW"); a root stays
// ("C:\B" -> "C:\", "/a" -> "/"). A bare name gives "".
std::string Fnc_FolderName(std::string_view path);

// The text before the first NUL, or the whole text.
std::string Fnc_CutNull(std::string_view text);

// Expands the folder macros of Update.INI: "%VLMP_MASTER%", "%VLMP%",
// "%VLMF%" and "%CSV%" become MasterPath, ProgramPath, DataPath and CsvPath
// of basPublic (a "\" right after a macro is dropped first, as the folders
// end in one). With `full_path` the result is made full (Fnc_FullPath);
// with `closing_separator` a "\" is added unless it ends in a separator.
std::string Fnc_PathMacro(std::string_view text, bool closing_separator, bool full_path);

// Replaces every `from` in `text` by `to` (case-sensitive).
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// The separator `path` is written with: "/" for a path of this machine that
// uses it, else "\".
char SeparatorOf(std::string_view path);

// True when `path` ends in "\" or "/".
bool EndsInSeparator(std::string_view path);

// `path` with a closing separator ("\" unless the path is in this machine's
// form and already uses "/").
std::string WithClosingSeparator(std::string_view path);

}  // namespace qz::update

#endif  // QZ_UPDATE_PATH_ROUTINES_H_
