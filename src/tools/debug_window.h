// Sub_ShowDebugWindow: the debug window of the result screen (Alt+F2),
// listing every field of every item of the item table and the courses of
// the consultation.
//
// Not yet built: the window comes later; until then the key shows nothing.
// User-interface thread only.
#ifndef QZ_TOOLS_DEBUG_WINDOW_H_
#define QZ_TOOLS_DEBUG_WINDOW_H_

namespace qz {

void Sub_ShowDebugWindow();

}  // namespace qz

#endif  // QZ_TOOLS_DEBUG_WINDOW_H_
