#include "qt/window_placement.h"

#include <algorithm>

namespace qz::qt {

QRect FitInto(const QRect& wanted, const QRect& available) {
  if (!available.isValid() || available.isEmpty()) return wanted;
  QRect r(wanted.topLeft(), wanted.size().boundedTo(available.size()));
  r.moveLeft(std::clamp(r.left(), available.left(), available.right() - r.width() + 1));
  r.moveTop(std::clamp(r.top(), available.top(), available.bottom() - r.height() + 1));
  return r;
}

QPoint CentredOn(const QRect& owner, const QSize& size, const QRect& available) {
  const QPoint corner(owner.left() + (owner.width() - size.width()) / 2,
                      owner.top() + (owner.height() - size.height()) / 2);
  return FitInto(QRect(corner, size), available).topLeft();
}

QPoint BelowHeader(QPoint corner, QSize size, int keep_top, int bottom) {
  if (corner.y() < keep_top && keep_top + size.height() <= bottom) corner.setY(keep_top);
  return corner;
}

}  // namespace qz::qt
