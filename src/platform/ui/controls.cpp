#include "platform/ui/controls.h"

#include <utility>

#include "platform/runtime/run_time_error.h"
#include "platform/ui/form.h"
#include "platform/ui/text_edit.h"

namespace qz::ui {

namespace {

// Characters (code points) of a UTF-8 text.
int CharCount(const std::string& s) {
  int n = 0;
  for (unsigned char c : s) {
    if ((c & 0xC0) != 0x80) ++n;
  }
  return n;
}

void Raise(const std::function<void()>& event) {
  if (event) event();
}

}  // namespace

Label::Label(Form* form, std::string name, int index)
    : Control(form, std::move(name), index, ControlKind::kLabel) {
  back_color = kSysButtonFace;
}

CommandButton::CommandButton(Form* form, std::string name, int index)
    : Control(form, std::move(name), index, ControlKind::kButton) {}

Frame::Frame(Form* form, std::string name, int index)
    : Control(form, std::move(name), index, ControlKind::kFrame) {}

CheckBox::CheckBox(Form* form, std::string name, int index)
    : Control(form, std::move(name), index, ControlKind::kCheckBox) {}

void CheckBox::SetValue(int value) {
  if (value < 0 || value > 2) throw RunTimeError(kErrInvalidCall);
  if (value == value_) return;
  value_ = value;
  Raise(on_click);
}

void CheckBox::HandleClick(int button, int shift) {
  if (on_mouse_down) on_mouse_down(button, shift, 0, 0);
  if (FormGone()) return;
  if (on_mouse_up) on_mouse_up(button, shift, 0, 0);
  if (FormGone()) return;
  if (button == 1) SetValue(value_ == 1 ? 0 : 1);
}

void CheckBox::HandleKeyDown(int& key_code, int& shift) {
  Control::HandleKeyDown(key_code, shift);
  if (key_code == ' ') SetValue(value_ == 1 ? 0 : 1);
}

OptionButton::OptionButton(Form* form, std::string name, int index)
    : Control(form, std::move(name), index, ControlKind::kOptionButton) {}

void OptionButton::SetValue(bool value) {
  if (!value) {
    value_ = false;
    return;
  }
  if (value_) return;
  if (form() != nullptr) {
    for (Control* c : form()->controls()) {
      auto* other = dynamic_cast<OptionButton*>(c);
      if (other != nullptr && other != this && other->container == container) other->value_ = false;
    }
  }
  value_ = true;
  Raise(on_click);
}

void OptionButton::HandleClick(int button, int shift) {
  if (on_mouse_down) on_mouse_down(button, shift, 0, 0);
  if (FormGone()) return;
  if (on_mouse_up) on_mouse_up(button, shift, 0, 0);
  if (FormGone()) return;
  if (button == 1) SetValue(true);
}

TextControl::TextControl(Form* form, std::string name, int index, ControlKind kind)
    : Control(form, std::move(name), index, kind) {
  back_color = kSysWindowBackground;
  fore_color = kSysWindowText;
}

void TextControl::SetText(std::string text) {
  bool changed = text != text_;
  text_ = std::move(text);
  undo = {};
  sel_start = CharCount(text_);
  sel_length = 0;
  caret_at_sel_start = false;
  if (changed) Raise(on_change);
}

void TextControl::HandleChar(int& ascii, std::string_view text) {
  const int typed = ascii;
  Control::HandleChar(ascii, text);
  if (ascii == 0 || locked) return;
  if (ascii == 8) {
    EraseBack(*this);
  } else if (ascii >= 32) {
    // The handler may have put another character in place of the typed one.
    InsertText(*this, ascii == typed && !text.empty() ? std::string(text) : EncodeCodePoint(ascii));
  }
}

TextBox::TextBox(Form* form, std::string name, int index)
    : TextControl(form, std::move(name), index, ControlKind::kTextBox) {}

void TextBox::HandleKeyDown(int& key_code, int& shift) {
  Control::HandleKeyDown(key_code, shift);
  if (key_code != 0 && !FormGone()) HandleEditingKey(*this, key_code, shift);
}

ListControl::ListControl(Form* form, std::string name, int index, ControlKind kind)
    : TextControl(form, std::move(name), index, kind) {}

const std::string& ListControl::List(int i) const {
  if (i < 0 || i >= list_count()) throw RunTimeError(kErrInvalidCall);
  return items_[static_cast<std::size_t>(i)];
}

void ListControl::AddItem(std::string item, int at) {
  if (at < -1 || at > list_count()) throw RunTimeError(kErrInvalidCall);
  if (at == -1) at = list_count();
  items_.insert(items_.begin() + at, std::move(item));
  if (item_data.size() < items_.size() - 1) item_data.resize(items_.size() - 1);
  item_data.insert(item_data.begin() + at, 0);
  if (list_index_ >= at) ++list_index_;
}

void ListControl::RemoveItem(int i) {
  if (i < 0 || i >= list_count()) throw RunTimeError(kErrInvalidCall);
  items_.erase(items_.begin() + i);
  if (static_cast<std::size_t>(i) < item_data.size()) item_data.erase(item_data.begin() + i);
  if (list_index_ == i) {
    list_index_ = -1;
  } else if (list_index_ > i) {
    --list_index_;
  }
}

void ListControl::Clear() {
  items_.clear();
  item_data.clear();
  list_index_ = -1;
}

void ListControl::SetListIndex(int i) {
  if (i < -1 || i >= list_count()) throw RunTimeError(kErrInvalidCall);
  if (i == list_index_) return;
  list_index_ = i;
  if (i >= 0) SetText(items_[static_cast<std::size_t>(i)]);
  Raise(on_click);
}

ComboBox::ComboBox(Form* form, std::string name, int index)
    : ListControl(form, std::move(name), index, ControlKind::kComboBox) {}

void ComboBox::HandleKeyDown(int& key_code, int& shift) {
  Control::HandleKeyDown(key_code, shift);
  if (style == 0 && key_code != 0 && !FormGone()) HandleEditingKey(*this, key_code, shift);
}

ListBox::ListBox(Form* form, std::string name, int index)
    : ListControl(form, std::move(name), index, ControlKind::kListBox) {}

Timer::Timer(Form* form, std::string name, int index)
    : Control(form, std::move(name), index, ControlKind::kTimer) {}

void Timer::HandleClick(int, int) {}

}  // namespace qz::ui
