#include "platform/ui/control.h"

#include <utility>

#include "platform/ui/form.h"

namespace qz::ui {

Control::Control(Form* form, std::string name, int index, ControlKind kind)
    : form_(form), name_(std::move(name)), index_(index), kind_(kind) {}

Control::~Control() = default;

bool Control::CanFocus() const {
  switch (kind_) {
    case ControlKind::kLabel:
    case ControlKind::kFrame:
    case ControlKind::kTimer:
    case ControlKind::kPicture:
      return false;
    default:
      break;
  }
  // A control inside a hidden or disabled frame cannot take the focus.
  for (const Control* c = this; c != nullptr; c = c->container) {
    if (!c->visible || !c->enabled) return false;
  }
  return true;
}

void Control::SetFocus() { form_->SetFocusTo(this); }

void Control::OnFocusArriving(Control*) {}
void Control::OnFocusLeaving(Control*) {}

}  // namespace qz::ui
