// Where the front end puts a window on the screen: a dialog centred on its
// owner (below the owner's header when it fits there), and any window kept inside the screen's available area (no larger
// than it, moved in as far as needed). Pixel rectangles in global screen
// coordinates; free functions without state, usable without a display.
#ifndef QZ_QT_WINDOW_PLACEMENT_H_
#define QZ_QT_WINDOW_PLACEMENT_H_

#include <QPoint>
#include <QRect>
#include <QSize>

namespace qz::qt {

// `wanted` made to fit `available`: its size cut to the available size,
// then moved the least distance that brings it inside. An empty `available`
// (no screen known) leaves it as it is.
QRect FitInto(const QRect& wanted, const QRect& available);

// The top-left corner of a window of `size` centred on `owner` (the owner's
// frame), fitted into `available` as FitInto does.
QPoint CentredOn(const QRect& owner, const QSize& size, const QRect& available);

// `corner` of a dialog of `size` moved down to `keep_top` when it lies above
// it and the dialog still ends at or above `bottom`: a dialog centred on a
// screen leaves the screen's header (what stands above its working area)
// in sight when there is room for it.
QPoint BelowHeader(QPoint corner, QSize size, int keep_top, int bottom);

}  // namespace qz::qt

#endif  // QZ_QT_WINDOW_PLACEMENT_H_
