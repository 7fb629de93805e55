// The result screen of the demo suite as an operator meets it, shot under a
// real display: the program started on the demo's first examinee, the load
// with its previous-result copy dialog (closed), then the findings search
// opened on the first findings row, and the group selection brought up with
// its button.
#ifndef QZ_TOOLS_UISHOT_DEMO_SHOTS_H_
#define QZ_TOOLS_UISHOT_DEMO_SHOTS_H_

#include <QDir>
#include <string>

#include "qt/qt_backend.h"

namespace qz::uishot {

// Runs the result-input program of the demo suite in `suite` (made by
// demodata) inside `shell` and writes into `out`: result_screen.png (the
// whole screen, the search dialog standing over the result screen) and
// result_window.png (the main window alone, loaded) and group_selection.png
// (the whole screen with the group selection). Returns false when a
// shot could not be taken or saved (reported on stderr).
bool ShootDemo(qt::QtShell& shell, const std::string& suite, const QDir& out);

// Starts the program of the demo suite without a command line and writes
// start_screen.png (the whole screen with the examinee search screen).
// Returns false when the shot could not be taken or the search screen does
// not have the keyboard (reported on stderr).
bool ShootStart(qt::QtShell& shell, const std::string& suite, const QDir& out);

}  // namespace qz::uishot

#endif  // QZ_TOOLS_UISHOT_DEMO_SHOTS_H_
