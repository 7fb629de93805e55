// Control: the plain model of one control of a form (label, button, text box,
// grid ...). A control holds only the properties that the program reads and
// writes; it draws nothing. The headless core and the tests read and write
// these properties directly; the Qt front end renders them.
//
// Colours are the platform's raw values: 0xBBGGRR, or a system colour such as
// 0x80000011 kept exactly as written (it is resolved to a real colour only by
// a front end). Geometry is in twips (1440 per inch).
//
// A control belongs to exactly one form for its whole life and is owned by
// it (Form::Add); it is neither copyable nor movable. Kinds with their own
// properties and events (check boxes, text boxes, lists, timers) are in
// controls.h; the grids derive from Control in platform/grid.
#ifndef QZ_PLATFORM_UI_CONTROL_H_
#define QZ_PLATFORM_UI_CONTROL_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace qz::ui {

class Form;

using Color = std::uint32_t;

// System colours, as the platform encodes them.
inline constexpr Color kSysScrollBar = 0x80000000;
inline constexpr Color kSysDesktop = 0x80000001;
inline constexpr Color kSysWindowBackground = 0x80000005;
inline constexpr Color kSysWindowText = 0x80000008;
inline constexpr Color kSysHighlight = 0x8000000D;
inline constexpr Color kSysHighlightText = 0x8000000E;
inline constexpr Color kSysButtonFace = 0x8000000F;
inline constexpr Color kSysGrayText = 0x80000011;
inline constexpr Color kSysButtonText = 0x80000012;

// True when `c` is a system colour rather than a 0xBBGGRR value.
constexpr bool IsSystemColor(Color c) { return (c & 0xFF000000u) == 0x80000000u; }

enum class ControlKind {
  kLabel,
  kButton,
  kCheckBox,
  kOptionButton,
  kTextBox,
  kComboBox,
  kListBox,
  kFrame,
  kTimer,
  kListGrid,
  kSpread,
  kTabStrip,
  kPicture,
};

struct Font {
  std::string name = "ＭＳ ゴシック";
  double size = 9;
  bool bold = false;
};

class Control {
 public:
  // `index` is the control-array index, or -1 for a control that is not part
  // of an array.
  Control(Form* form, std::string name, int index, ControlKind kind);
  virtual ~Control();

  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  Form* form() const { return form_; }
  const std::string& name() const { return name_; }
  int index() const { return index_; }
  ControlKind kind() const { return kind_; }

  // Gives this control the focus (the form's SetFocusTo). Throws
  // RunTimeError 5 when the control cannot take the focus now.
  void SetFocus();

  // Whether the control can take the focus now: visible and enabled, in
  // containers that are visible and enabled, and of a kind that takes focus.
  // Labels, frames, timers and pictures never do.
  virtual bool CanFocus() const;

  // Places the control: left, top, width and height in twips. Plain data
  // like the properties below; no event.
  void Move(int new_left, int new_top, int new_width, int new_height);

  // Called by the form when the focus arrives at or leaves this control,
  // before the form raises GotFocus/LostFocus. `to` is the control that
  // takes the focus (nullptr when the form itself loses it). The grids use
  // this to raise their leave-cell event.
  virtual void OnFocusArriving(Control* from);
  virtual void OnFocusLeaving(Control* to);

  // Input delivered by the shell to this control (the user's keys, typing
  // and clicks, after the form's key preview let them through; the shell
  // has already moved the focus for a left click). The defaults raise the
  // events below; kinds with their own input handling override them (a text
  // box edits its text, a check box toggles, a grid moves its cell cursor).
  // Key codes may be changed by the handlers (0 swallows the key).
  virtual void HandleKeyDown(int& key_code, int& shift);
  virtual void HandleKeyUp(int& key_code, int& shift);
  // A typed character: `ascii` is its code (13 Enter, 8 Back, the code
  // point of other characters), `text` its UTF-8 form (empty for control
  // codes).
  virtual void HandleChar(int& ascii, std::string_view text);
  // A mouse click: MouseDown, MouseUp and, for the left button, Click.
  virtual void HandleClick(int button, int shift);

  // Whether the control's form has been unloaded (false without a form, or
  // for a form never loaded). Input handling stops when a handler unloaded
  // the form in the middle of one input.
  bool FormGone() const;

  // Properties common to every control. Plain data: writing one raises no
  // event (controls whose writes raise events have their own setters).
  std::string caption;      // Caption of labels, buttons, frames, check boxes.
  bool enabled = true;
  bool visible = true;
  Color back_color = kSysButtonFace;
  Color fore_color = kSysButtonText;
  int left = 0, top = 0, width = 0, height = 0;  // twips
  Font font;
  std::string tag;
  std::string tool_tip_text;
  int tab_index = 0;
  bool tab_stop = true;
  // The frame (or other container control) the control stands in; nullptr
  // for the form itself. Option buttons form one group per container.
  Control* container = nullptr;

  // Events, set by the owning form (`<control>_<Event>` handlers). A handler
  // that is not set is simply not called. Key handlers may change the key
  // (0 swallows it). Mouse coordinates are twips within the control;
  // button 1 left, 2 right; shift 1 Shift, 2 Ctrl, 4 Alt.
  std::function<void()> on_click;
  std::function<void()> on_dbl_click;
  std::function<void()> on_got_focus;
  std::function<void()> on_lost_focus;
  std::function<void(int& key_code, int& shift)> on_key_down;
  std::function<void(int& key_code, int& shift)> on_key_up;
  std::function<void(int& key_ascii)> on_key_press;
  std::function<void(int button, int shift, float x, float y)> on_mouse_down;
  std::function<void(int button, int shift, float x, float y)> on_mouse_up;

 private:
  Form* const form_;
  const std::string name_;
  const int index_;
  const ControlKind kind_;
};

}  // namespace qz::ui

#endif  // QZ_PLATFORM_UI_CONTROL_H_
