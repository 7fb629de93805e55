#include "qt/model_snapshot.h"

#include <utility>

#include "platform/ui/control.h"
#include "platform/ui/form.h"

namespace qz::qt {

bool ModelShown(const ui::Control& control) {
  if (!control.visible) return false;
  for (const ui::Control* c = control.container; c != nullptr; c = c->container) {
    if (!c->visible) return false;
  }
  return control.form() == nullptr || control.form()->visible();
}

bool ModelSnapshot::Changed(const QAbstractItemModel& model, std::initializer_list<int> roles) {
  std::vector<QVariant> now;
  const int rows = model.rowCount({});
  const int cols = model.columnCount({});
  now.reserve(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols) * roles.size());
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) {
      const QModelIndex index = model.index(r, c);
      for (int role : roles) now.push_back(model.data(index, role));
    }
  }
  const bool changed = !known_ || now != shown_;
  shown_ = std::move(now);
  known_ = true;
  return changed;
}

void ModelSnapshot::Forget() {
  shown_.clear();
  known_ = false;
}

}  // namespace qz::qt
