#include "platform/ui/form.h"

#include <algorithm>
#include <utility>

#include "platform/runtime/run_time_error.h"
#include "platform/ui/shell.h"

namespace qz::ui {

namespace {

constexpr int kErrFormAlreadyShown = 400;  // a visible form cannot be shown modally

void Raise(const std::function<void()>& event) {
  if (event) event();
}

}  // namespace

Form::Form(std::string name) : name_(std::move(name)) {}

Form::~Form() {
  if (Shell* shell = Shell::Current()) shell->FormDestroyed(*this);
}

void Form::AddControl(std::unique_ptr<Control> control) {
  order_.push_back(control.get());
  owned_.push_back(std::move(control));
}

Control* Form::Find(std::string_view name, int index) const {
  for (Control* c : order_) {
    if (c->name() == name && c->index() == index) return c;
  }
  return nullptr;
}

std::vector<Control*> Form::Elements(std::string_view name) const {
  std::vector<Control*> out;
  for (Control* c : order_) {
    if (c->name() == name && c->index() >= 0) out.push_back(c);
  }
  std::stable_sort(out.begin(), out.end(), [](const Control* a, const Control* b) { return a->index() < b->index(); });
  return out;
}

void Form::ThrowNoControl(std::string_view name, int index) const {
  std::string what = name_ + "." + std::string(name);
  if (index >= 0) what += "(" + std::to_string(index) + ")";
  throw RunTimeError(kErrObjectRequired, RunTimeErrorText(kErrObjectRequired) + " " + what);
}

bool Form::HasCloseItem() const {
  return std::find(system_menu.begin(), system_menu.end(), SysMenuItem::kClose) != system_menu.end();
}

void Form::RaiseResize() {
  if (loaded_) Raise(on_resize);
}

void Form::SetWindowState(WindowState state) {
  if (state == window_state_) return;
  window_state_ = state;
  RaiseResize();
  if (state == WindowState::kMinimized && window_state_ == state) {
    if (Shell* shell = Shell::Current()) shell->FormMinimized(*this);
  }
}

void Form::Move(int new_left, int new_top, int new_width, int new_height) {
  left = new_left;
  top = new_top;
  if (loaded_ || new_left != 0 || new_top != 0) positioned_ = true;
  bool resized = false;
  if (new_width >= 0 && new_width != width) {
    width = new_width;
    resized = true;
  }
  if (new_height >= 0 && new_height != height) {
    height = new_height;
    resized = true;
  }
  if (resized) RaiseResize();
}

void Form::Load() {
  if (loaded_) return;
  loaded_ = true;
  unloaded_ = false;
  shown_since_load_ = false;
  Shell::Require().FormLoaded(*this);
  Raise(on_load);
}

void Form::Show(bool modal, Form* owner) {
  Shell& shell = Shell::Require();
  if (modal && visible_) throw RunTimeError(kErrFormAlreadyShown, "フォームは既に表示されています。モーダル表示はできません。");
  Load();
  if (!loaded_) return;  // the load handler unloaded it
  if (owner != nullptr) {
    owner_ = owner;
  } else if (modal && owner_ == nullptr) {
    Form* main = shell.main_form();
    if (main != nullptr && main != this && main->loaded_ && main->visible_) owner_ = main;
  }
  visible_ = true;
  if (!shown_since_load_) {
    shown_since_load_ = true;
    Raise(on_resize);
    if (!loaded_ || !visible_) return;
  }
  modal_ = modal;
  shell.FormShown(*this, modal);
  if (modal) shell.RunModal(*this);
}

void Form::Hide() {
  if (!visible_) return;
  visible_ = false;
  if (Shell* shell = Shell::Current()) shell->FormHidden(*this);
}

bool Form::Unload(int mode) {
  if (!loaded_) return true;
  int cancel = 0;
  if (on_query_unload) on_query_unload(cancel, mode);
  if (cancel != 0 || !loaded_) return !loaded_;
  try {
    if (on_unload) on_unload(cancel);
  } catch (EndProgram&) {
    // The handler ended the program itself: the form is gone all the same.
    cancel = 0;
    loaded_ = visible_ = false;
    unloaded_ = true;
    if (Shell* shell = Shell::Current()) shell->FormDestroyed(*this);
    throw;
  }
  if (cancel != 0 || !loaded_) return !loaded_;
  bool was_visible = visible_;
  loaded_ = false;
  visible_ = false;
  unloaded_ = true;
  positioned_ = false;
  modal_ = false;
  active_control_ = nullptr;
  Shell& shell = Shell::Require();
  if (was_visible) shell.FormHidden(*this);
  shell.FormUnloaded(*this);  // throws EndProgram for the main form
  return true;
}

void Form::ZOrder(int position) {
  if (Shell* shell = Shell::Current(); shell != nullptr && loaded_) shell->FormZOrder(*this, position);
}

void Form::SetFocusTo(Control* control) {
  // The control's own state counts; a disabled form's control may be given
  // the focus (the form takes input again once it is enabled).
  if (control != nullptr && (control->form() != this || !control->CanFocus() || !visible_)) {
    throw RunTimeError(kErrInvalidCall);
  }
  if (control != nullptr) {
    if (Shell* shell = Shell::Current(); shell != nullptr && shell->active_form() != this) shell->Activate(*this);
  }
  Control* old = active_control_;
  if (old == control) return;
  if (old != nullptr) {
    // The leaving control's handlers may unload or hide the form: the
    // focus then goes nowhere.
    const bool on_screen = loaded_ && visible_;
    auto gone = [&] { return on_screen && (!loaded_ || !visible_); };
    old->OnFocusLeaving(control);
    if (gone()) return;
    Raise(old->on_lost_focus);
    if (gone()) return;
  }
  active_control_ = control;
  if (control == nullptr) return;
  control->OnFocusArriving(old);
  Raise(control->on_got_focus);
}

void Form::SetFocus() {
  if (!visible_ || !enabled_) throw RunTimeError(kErrInvalidCall);
  if (Shell* shell = Shell::Current(); shell != nullptr && shell->active_form() != this) shell->Activate(*this);
}

}  // namespace qz::ui
