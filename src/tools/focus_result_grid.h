// The focus back to the result grid after a tool's modal window closed.
#ifndef QZ_TOOLS_FOCUS_RESULT_GRID_H_
#define QZ_TOOLS_FOCUS_RESULT_GRID_H_

namespace qz {

// Gives frmResultIn.sprResult the focus when the grid exists and can take
// it now (its form shown and enabled); otherwise nothing.
void Sub_FocusResultGrid();

}  // namespace qz

#endif  // QZ_TOOLS_FOCUS_RESULT_GRID_H_
