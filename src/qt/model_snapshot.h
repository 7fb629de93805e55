// ModelSnapshot: what a table model shows, kept between two syncs of the
// screen with its models, so a view repaints only when something it shows
// changed. The event loop syncs on every wake; refreshing the whole table
// each time would make every repaint wake it again.
//
// Used by the grid views' table models on the user-interface thread.
#ifndef QZ_QT_MODEL_SNAPSHOT_H_
#define QZ_QT_MODEL_SNAPSHOT_H_

#include <QAbstractItemModel>
#include <QVariant>
#include <initializer_list>
#include <vector>

namespace qz::ui {
class Control;
}

namespace qz::qt {

// Whether `control` is in sight by its model: it and its form are visible.
// A view out of sight need not follow its model.
bool ModelShown(const ui::Control& control);

class ModelSnapshot {
 public:
  // Takes what `model` gives for `roles` in every cell and returns whether
  // it differs from the last snapshot (always true after Forget).
  bool Changed(const QAbstractItemModel& model, std::initializer_list<int> roles);
  // Drops the last snapshot: the next Changed is true.
  void Forget();

 private:
  std::vector<QVariant> shown_;
  bool known_ = false;
};

}  // namespace qz::qt

#endif  // QZ_QT_MODEL_SNAPSHOT_H_
