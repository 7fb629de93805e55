// Whether a grid view must follow its model now.
//
// The event loop syncs the views at every yield. A view out of sight does
// nothing and catches up when it is shown again; a view in sight compares
// its model's revision (and the few plain settings it renders) with those
// of its last sync, so an unchanged grid costs no cell read and a changed
// one repaints only the cells its model reports changed.
//
// Used by the grid views on the user-interface thread.
#ifndef QZ_QT_MODEL_SIGHT_H_
#define QZ_QT_MODEL_SIGHT_H_

#include "platform/ui/control.h"

namespace qz::qt {

// Whether `control` is in sight by its model: it and its form are visible.
bool ModelShown(const ui::Control& control);

// Whether two model fonts are the same.
bool SameFont(const ui::Font& a, const ui::Font& b);

}  // namespace qz::qt

#endif  // QZ_QT_MODEL_SIGHT_H_
