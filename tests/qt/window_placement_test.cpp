// Where windows open: fitted into the screen's available area, dialogs
// centred on their owner and below the owner's header when there is room.
#include <gtest/gtest.h>

#include "qt/window_placement.h"

namespace qz::qt {
namespace {

TEST(WindowPlacement, AWindowIsFittedIntoTheAvailableArea) {
  struct Case {
    QRect wanted, available, expected;
  };
  const Case cases[] = {
      {{0, 0, 1018, 760}, {0, 0, 1366, 740}, {0, 0, 1018, 740}},      // design taller than a laptop
      {{400, 300, 1018, 700}, {0, 0, 1366, 740}, {348, 40, 1018, 700}},  // moved in, not shrunk
      {{-50, -20, 200, 100}, {0, 28, 1366, 740}, {0, 28, 200, 100}},   // off the corner
      {{10, 10, 200, 100}, {}, {10, 10, 200, 100}},                      // no screen known
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FitInto(c.wanted, c.available), c.expected) << c.wanted.x() << "," << c.wanted.y();
  }
}

TEST(WindowPlacement, ADialogIsCentredOnItsOwnerAndKeepsTheOwnersHeaderInSight) {
  const QRect owner(100, 50, 1000, 760);
  const QRect screen(0, 0, 1366, 900);
  EXPECT_EQ(CentredOn(owner, QSize(400, 300), screen), QPoint(400, 280));
  EXPECT_EQ(CentredOn(owner, QSize(400, 1000), screen), QPoint(400, 0)) << "taller than the owner: fitted";
  // A header down to 250: a small dialog goes below it, a tall one stays.
  EXPECT_EQ(BelowHeader(QPoint(400, 200), QSize(400, 300), 250, 810), QPoint(400, 250));
  EXPECT_EQ(BelowHeader(QPoint(400, 100), QSize(400, 600), 250, 810), QPoint(400, 100));
  EXPECT_EQ(BelowHeader(QPoint(400, 300), QSize(400, 300), 250, 810), QPoint(400, 300));
}

}  // namespace
}  // namespace qz::qt
