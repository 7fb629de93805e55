#include "platform/grid/tab_strip.h"

#include <utility>

#include "platform/runtime/run_time_error.h"

namespace qz::grid {

TabStrip::TabStrip(ui::Form* form, std::string name, int index)
    : Control(form, std::move(name), index, ui::ControlKind::kTabStrip) {}

TabStrip::~TabStrip() = default;

const Tab& TabStrip::tab(int index) const {
  if (index < 1 || index > count()) throw RunTimeError(kErrSubscript);
  return tabs_[index - 1];
}

Tab& TabStrip::tab(int index) {
  if (index < 1 || index > count()) throw RunTimeError(kErrSubscript);
  return tabs_[index - 1];
}

int TabStrip::Add(std::string caption, std::string tag) {
  tabs_.push_back(Tab{std::move(caption), std::move(tag)});
  if (selected_ == 0) selected_ = 1;
  return count();
}

void TabStrip::Clear() {
  tabs_.clear();
  selected_ = 0;
}

void TabStrip::Select(int index) {
  if (index < 1 || index > count()) throw RunTimeError(kErrSubscript);
  if (index == selected_) return;
  selected_ = index;
  if (on_click) on_click();
}

void TabStrip::ClickTab(int index) {
  if (!visible || !enabled) return;
  if (index < 1 || index > count()) throw RunTimeError(kErrSubscript);
  selected_ = index;
  if (on_click) on_click();
}

int TabStrip::DeliverKeyDown(int key, int shift) {
  if (!visible || !enabled) return key;
  if (on_key_down) on_key_down(key, shift);
  return key;
}

void TabStrip::HandleKeyDown(int& key_code, int& shift) { key_code = DeliverKeyDown(key_code, shift); }

void TabStrip::HandleClick(int button, int) {
  const int index = point_ >= 1 && point_ <= count() ? point_ : selected_;
  point_ = 0;
  if (button == 1 && index >= 1) ClickTab(index);
}

void TabStrip::OnFocusArriving(Control*) { focused_ = true; }
void TabStrip::OnFocusLeaving(Control*) { focused_ = false; }

}  // namespace qz::grid
