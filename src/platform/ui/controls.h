// The standard controls of a form: label, command button, check box, option
// button, text box, combo box, list box, frame and timer.
//
// Each is a Control (control.h) with the properties and events of its kind.
// Properties whose writes raise an event in the platform are written through
// setters that raise it the same way (a check box's Value raises Click when it
// changes, by code too, and not when set to the value it already has); every
// other property is a plain field.
//
// Controls are made by their form: `form.Add<CheckBox>("chkSokutei")`.
#ifndef QZ_PLATFORM_UI_CONTROLS_H_
#define QZ_PLATFORM_UI_CONTROLS_H_

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/control.h"

namespace qz::ui {

class Label : public Control {
 public:
  Label(Form* form, std::string name, int index);
  int alignment = 0;  // 0 left, 1 right, 2 centre
  bool auto_size = false;
};

class CommandButton : public Control {
 public:
  CommandButton(Form* form, std::string name, int index);
  bool is_default = false;  // Enter clicks it
  bool is_cancel = false;   // Esc clicks it
};

class Frame : public Control {
 public:
  Frame(Form* form, std::string name, int index);
};

// Value 0 unchecked, 1 checked, 2 grayed.
class CheckBox : public Control {
 public:
  CheckBox(Form* form, std::string name, int index);
  int value() const { return value_; }
  // Sets the value and raises Click when it differs from the current one.
  void SetValue(int value);
  // A left click toggles the value (Click through SetValue); Space too.
  void HandleClick(int button, int shift) override;
  void HandleKeyDown(int& key_code, int& shift) override;

 private:
  int value_ = 0;
};

// Option buttons with the same form and container are one group: at most one
// of them holds the value True.
class OptionButton : public Control {
 public:
  OptionButton(Form* form, std::string name, int index);
  bool value() const { return value_; }
  // Sets the value. Setting True clears the others of the group (without
  // events) and raises Click on this one, unless it was True already.
  // Setting False raises nothing.
  void SetValue(bool value);
  // A left click selects it (Click through SetValue).
  void HandleClick(int button, int shift) override;

 private:
  bool value_ = false;
};

// Shared text-editing state of the text box and the combo box's edit part.
class TextControl : public Control {
 public:
  TextControl(Form* form, std::string name, int index, ControlKind kind);
  const std::string& text() const { return text_; }
  // Sets the text, puts the caret after it (SelStart 0 when empty, SelLength
  // 0), forgets the undo and raises Change when the text differs.
  void SetText(std::string text);
  // The undo of the last edit by typing or the editing keys (text_edit.h):
  // the text and selection before it. Characters typed one after another
  // are one edit (`typing` while they go on).
  struct Undo {
    bool can = false;
    std::string text;
    int sel_start = 0, sel_length = 0;
    bool typing = false;
  };
  Undo undo;
  int sel_start = 0;   // characters, not bytes
  int sel_length = 0;
  // Where the caret is when text is selected: at SelStart (the selection
  // was extended leftwards) or, false, after the selection.
  bool caret_at_sel_start = false;
  bool locked = false;
  int max_length = 0;  // 0 no limit
  // The input method in this box: 0 as the window's, 1 on, 2 off (Latin
  // input, as number and code boxes want), 3 disabled.
  int ime_mode = 0;
  std::function<void()> on_change;
  // KeyPress, then the character replaces the selection (Back erases)
  // unless the handler zeroed it or the control is locked.
  void HandleChar(int& ascii, std::string_view text) override;

 private:
  std::string text_;
};

class TextBox : public TextControl {
 public:
  TextBox(Form* form, std::string name, int index);
  // KeyDown, then the editing keys (text_edit.h) unless the handler zeroed
  // the key.
  void HandleKeyDown(int& key_code, int& shift) override;
  bool multi_line = false;
  std::string password_char;
};

// Shared list state of the combo box and the list box.
class ListControl : public TextControl {
 public:
  ListControl(Form* form, std::string name, int index, ControlKind kind);
  int list_count() const { return static_cast<int>(items_.size()); }
  // The entry at `i`; throws RunTimeError kErrInvalidCall when out of range.
  const std::string& List(int i) const;
  void AddItem(std::string item, int at = -1);  // -1 appends
  void RemoveItem(int i);
  // Empties the list; ListIndex becomes -1 without an event.
  void Clear();
  std::vector<long> item_data;  // parallel to the entries
  int list_index() const { return list_index_; }
  // Selects entry `i` (-1 none). When it changes: the text becomes the entry
  // (or stays for -1) and Click is raised. Out of range throws
  // RunTimeError kErrInvalidCall.
  void SetListIndex(int i);

 private:
  std::vector<std::string> items_;
  int list_index_ = -1;
};

class ComboBox : public ListControl {
 public:
  ComboBox(Form* form, std::string name, int index);
  int style = 0;  // 0 drop-down combo, 2 drop-down list
  // KeyDown, then in a drop-down combo (style 0) the editing keys of its
  // text part (text_edit.h) unless the handler zeroed the key.
  void HandleKeyDown(int& key_code, int& shift) override;
};

class ListBox : public ListControl {
 public:
  ListBox(Form* form, std::string name, int index);
};

// Raises Timer every `interval` milliseconds while enabled and its form is
// loaded; the shell ticks it. Changing `enabled` or `interval` restarts the
// count from the moment the shell notices (at the latest the next yield).
class Timer : public Control {
 public:
  Timer(Form* form, std::string name, int index);
  int interval = 0;  // ms; 0 never ticks
  std::function<void()> on_timer;
  // A timer is not on screen: clicks do nothing.
  void HandleClick(int button, int shift) override;

 private:
  friend class Shell;
  bool armed_ = false;
  bool running_ = false;
  int armed_interval_ = 0;
  long long due_ms_ = 0;
};

}  // namespace qz::ui

#endif  // QZ_PLATFORM_UI_CONTROLS_H_
