// Sub_LoadExaminee: brings the consultation of basPublic.ExamineeNo on
// basPublic.ConsultDate on the result screen, dropping whatever was on it
// unsaved.
//
// Registers the examinee in the on-line table after a command-line start,
// runs every loading step in its fixed order under the progress window,
// builds the grid, sets the column widths from the settings, puts the
// cursor on the first input cell of the logon user's first input group,
// resets the per-examinee flags, shows the screen and finally starts the
// unperformed-item list or the previous-result copy when the settings ask.
//
// Callers: the examinee selection (command line, search screen) and the
// reload of another consultation date from the grid; the user-interface
// thread, with the masters open and the main form made. The form is
// disabled and the grid hidden while the tables are half built.
#ifndef QZ_LOADING_LOAD_DRIVER_H_
#define QZ_LOADING_LOAD_DRIVER_H_

namespace qz {

// `from_command_line`: the examinee came from the command line and is
// registered here (an examinee in use elsewhere, or a failed registration,
// unloads the main form: the program ends).
//
// A loading step that unloads the main form ends the load. Any other
// run-time error shows the error report "結果入力画面の初期化処理でエラーが
// 発生しました。" and ends the load: the progress window closes and the form
// is shown and enabled again, without its grid, so that the examinee can be
// discarded. While the load runs the screen takes no input (the group
// windows included).
void Sub_LoadExaminee(bool from_command_line);

}  // namespace qz

#endif  // QZ_LOADING_LOAD_DRIVER_H_
