#include "platform/ui/control.h"

#include <utility>

#include "platform/ui/form.h"

namespace qz::ui {

Control::Control(Form* form, std::string name, int index, ControlKind kind)
    : form_(form), name_(std::move(name)), index_(index), kind_(kind) {}

Control::~Control() = default;

void Control::Move(int new_left, int new_top, int new_width, int new_height) {
  left = new_left;
  top = new_top;
  width = new_width;
  height = new_height;
}

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

void Control::HandleKeyDown(int& key_code, int& shift) {
  if (on_key_down) on_key_down(key_code, shift);
}

void Control::HandleKeyUp(int& key_code, int& shift) {
  if (on_key_up) on_key_up(key_code, shift);
}

void Control::HandleChar(int& ascii, std::string_view) {
  if (on_key_press) on_key_press(ascii);
}

bool Control::FormGone() const { return form_ != nullptr && form_->unloaded(); }

void Control::HandleClick(int button, int shift) {
  if (on_mouse_down) on_mouse_down(button, shift, 0, 0);
  if (FormGone()) return;
  if (on_mouse_up) on_mouse_up(button, shift, 0, 0);
  if (FormGone()) return;
  if (button == 1 && on_click) on_click();
}

void Control::OnFocusArriving(Control*) {}
void Control::OnFocusLeaving(Control*) {}

}  // namespace qz::ui
