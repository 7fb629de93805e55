#include "qt/model_sight.h"

#include "platform/ui/form.h"

namespace qz::qt {

bool ModelShown(const ui::Control& control) {
  if (!control.visible) return false;
  for (const ui::Control* c = control.container; c != nullptr; c = c->container) {
    if (!c->visible) return false;
  }
  return control.form() == nullptr || control.form()->visible();
}

bool SameFont(const ui::Font& a, const ui::Font& b) {
  return a.name == b.name && a.size == b.size && a.bold == b.bold;
}

}  // namespace qz::qt
