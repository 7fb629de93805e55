// The frame of the result grid's procedures: each traps its own run-time
// errors and shows the result screen's error report (critical icon, title
// "結果入力") with its job text, then returns.
//
// The result screen's thread only; the reports need the program's shell.
#ifndef QZ_GRID_GRID_PROCEDURE_H_
#define QZ_GRID_GRID_PROCEDURE_H_

#include <functional>
#include <string_view>

namespace qz {

namespace grid {
class Spread;
}

// Runs `body`. A std::exception escaping it shows the error report with
// `job_text` and gives false; otherwise true.
bool RunGridProcedure(std::string_view job_text, const std::function<void()>& body);

// The result grid frmResultIn.sprResult; throws RunTimeError 424 (object
// required) while the screen has none.
grid::Spread& ResultGrid();

}  // namespace qz

#endif  // QZ_GRID_GRID_PROCEDURE_H_
