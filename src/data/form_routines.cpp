#include "data/form_routines.h"

#include <string_view>

#include "platform/ui/controls.h"
#include "platform/ui/text_edit.h"

namespace qz {

namespace {

bool Prefixed(const std::string& name, std::string_view a, std::string_view b) {
  std::string_view head = std::string_view(name).substr(0, 3);
  return head == a || head == b;
}

}  // namespace

void Sub_EnableCommandControls(ui::Form& form, bool enabled) {
  for (ui::Control* c : form.controls()) {
    if (Prefixed(c->name(), "cmd", "chk")) c->enabled = enabled;
  }
}

void Sub_SelectActiveText(ui::Form& form) {
  ui::Control* active = form.active_control();
  if (active == nullptr || !Prefixed(active->name(), "txt", "cbo")) return;
  auto* edit = dynamic_cast<ui::TextControl*>(active);
  if (edit == nullptr) return;
  edit->sel_start = 0;
  edit->sel_length = ui::CharLength(edit->text());
}

}  // namespace qz
