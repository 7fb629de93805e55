// Form: the headless model of one window of the program, with its named
// controls and the events the platform raises on it.
//
// A program form derives from Form, adds its controls in its constructor and
// sets the handlers it has (`<control>_<Event>` member functions bound to the
// std::function events):
//
//   class FrmGuide : public ui::Form {
//    public:
//     FrmGuide() : Form("frmGuide") { on_load = [this] { Form_Load(); }; }
//     ui::Label& lblState = Add<ui::Label>("lblState");
//     ...
//   };
//
// Life: Load raises Load once (until the form is unloaded); Show loads,
// makes the form visible and, modal, runs a nested loop until the form is
// hidden or unloaded; Unload raises QueryUnload and Unload (either may cancel)
// and drops the form. Activate is posted: it is raised after the running
// handler returns (or at its next yield), and again whenever the activation
// comes back to the form (a modal dialog or a companion form closed). The
// shell in charge (Shell::Current(), shell.h) carries the event queue; a
// form can be built and its properties used without a shell, but showing,
// unloading and focus need one.
//
// Keys: with key_preview the form's KeyDown/KeyPress/KeyUp run before the
// focused control's; a key the form sets to 0 never reaches the control.
//
// Not copyable or movable; controls keep a pointer to their form.
#ifndef QZ_PLATFORM_UI_FORM_H_
#define QZ_PLATFORM_UI_FORM_H_

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/ui/control.h"

namespace qz::ui {

enum class WindowState { kNormal = 0, kMinimized = 1, kMaximized = 2 };

// Why a form is being unloaded (QueryUnload's mode).
enum UnloadMode : int {
  kUnloadControlMenu = 0,   // the user's close box or system menu
  kUnloadCode = 1,          // Unload from the program
  kUnloadAppWindows = 2,    // the session ends
  kUnloadTaskManager = 3,
  kUnloadOwner = 5,
};

// Items of the window's system menu, by position in a standard menu.
enum class SysMenuItem { kRestore, kMove, kSize, kMinimize, kMaximize, kSeparator, kClose };

// Input-method state of the window, as the platform's input method keeps it
// (see data/imm_on_off.h). `available` false means the window has no input
// context.
struct ImeState {
  bool available = true;
  bool open = false;
  int conversion = 0;  // conversion-mode bits
  int sentence = 0;    // sentence-mode bits
};

class Form {
 public:
  explicit Form(std::string name);
  virtual ~Form();

  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& name() const { return name_; }

  // Adds a control of type T (a Control with the constructor
  // T(Form*, std::string name, int index, extra...)) and returns it. `index`
  // is the control-array index or -1. Precondition: no control of the same
  // name and index exists.
  template <class T, class... Args>
  T& Add(std::string name, int index = -1, Args&&... args) {
    static_assert(std::is_base_of_v<Control, T>);
    auto control = std::make_unique<T>(this, std::move(name), index, std::forward<Args>(args)...);
    T& ref = *control;
    AddControl(std::move(control));
    return ref;
  }

  // The control of that name and index, or nullptr.
  Control* Find(std::string_view name, int index = -1) const;
  // The control of that name and index as a T; throws RunTimeError
  // kErrObjectRequired when there is none or it is not a T.
  template <class T>
  T& Get(std::string_view name, int index = -1) const {
    T* t = dynamic_cast<T*>(Find(name, index));
    if (t == nullptr) ThrowNoControl(name, index);
    return *t;
  }
  // The elements of the control array `name`, by ascending index.
  std::vector<Control*> Elements(std::string_view name) const;
  // Every control, in the order added.
  const std::vector<Control*>& controls() const { return order_; }

  // --- Plain properties ------------------------------------------------
  std::string caption;
  Color back_color = kSysButtonFace;
  Color fore_color = kSysButtonText;
  int left = 0, top = 0, width = 0, height = 0;  // twips
  Font font;
  std::string tag;
  bool key_preview = false;
  // The system menu; Sub_CloseErase removes items. Without kClose the
  // close box is refused.
  std::vector<SysMenuItem> system_menu = {SysMenuItem::kRestore,  SysMenuItem::kMove,
                                          SysMenuItem::kSize,     SysMenuItem::kMinimize,
                                          SysMenuItem::kMaximize, SysMenuItem::kSeparator,
                                          SysMenuItem::kClose};
  bool HasCloseItem() const;
  ImeState ime;

  // --- Properties whose writes raise events ----------------------------
  bool enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  WindowState window_state() const { return window_state_; }
  // Raises Resize when the state changes on a loaded form. A form
  // minimised with the keyboard gives it on (Shell::FormMinimized).
  void SetWindowState(WindowState state);
  // Moves/resizes (a negative width or height keeps it); raises Resize when
  // the size changes on a loaded form. A move of a loaded form, or to any
  // place but the screen's corner (0, 0), places it: positioned() is then
  // true until the form is unloaded.
  void Move(int left, int top, int width = -1, int height = -1);
  // Whether the form was placed (by the program's Move or by the user
  // moving its window); a design size at the corner is no place. A front
  // end shows a dialog that was not placed centred on its owner.
  bool positioned() const { return positioned_; }

  // --- Life --------------------------------------------------------------
  bool loaded() const { return loaded_; }
  bool visible() const { return visible_; }
  // True once the form has been loaded and then unloaded (a FormSlot then
  // makes a fresh instance).
  bool unloaded() const { return unloaded_; }
  bool modal() const { return modal_; }
  Form* owner() const { return owner_; }

  // Loads the form (raises Load) unless it is loaded.
  void Load();
  // Loads and shows the form, owned by `owner` when given (a modal form
  // shown without one is owned by the main form, as long as that is another
  // form on view); brings it to the front and makes it the active form
  // (Activate is posted); when it goes, the activation returns to its owner. Modal: returns
  // when the form is hidden or unloaded; every other form is disabled
  // meanwhile and timers keep ticking. Showing a visible form modally throws
  // RunTimeError 400.
  void Show(bool modal = false, Form* owner = nullptr);
  void Hide();
  // Raises QueryUnload(cancel, mode) and Unload(cancel); when neither
  // cancels, the form is dropped (hidden, not loaded). Unloading the main
  // form then ends the program (throws EndProgram, shell.h). Returns false
  // when cancelled or true otherwise (also when not loaded).
  bool Unload(int mode = kUnloadCode);
  // Position 0 brings the form to the front, 1 sends it to the back.
  void ZOrder(int position = 0);

  // --- Focus ---------------------------------------------------------------
  Control* active_control() const { return active_control_; }
  // Moves the focus to `control` (a control of this form): the old control's
  // OnFocusLeaving and LostFocus, then the new one's OnFocusArriving and
  // GotFocus. Nothing when it has the focus already. The form becomes the
  // active form (Activate posted) when it is not. nullptr takes the focus
  // from the active control, leaving none. Throws RunTimeError
  // kErrInvalidCall when the control cannot take the focus now (also on a
  // hidden form; a disabled form's control may take it).
  void SetFocusTo(Control* control);
  // Gives the focus to the form: it becomes the active form, its active
  // control keeps the focus. Throws RunTimeError kErrInvalidCall on a hidden
  // or disabled form.
  void SetFocus();

  // --- Events --------------------------------------------------------------
  std::function<void()> on_load;
  std::function<void()> on_activate;
  std::function<void()> on_deactivate;
  std::function<void()> on_resize;
  std::function<void(int& cancel, int unload_mode)> on_query_unload;
  std::function<void(int& cancel)> on_unload;
  std::function<void(int& key_code, int& shift)> on_key_down;
  std::function<void(int& key_code, int& shift)> on_key_up;
  std::function<void(int& key_ascii)> on_key_press;

 private:
  friend class Shell;
  void AddControl(std::unique_ptr<Control> control);
  [[noreturn]] void ThrowNoControl(std::string_view name, int index) const;
  void RaiseResize();

  const std::string name_;
  std::vector<std::unique_ptr<Control>> owned_;
  std::vector<Control*> order_;
  bool enabled_ = true;
  WindowState window_state_ = WindowState::kNormal;
  bool loaded_ = false;
  bool visible_ = false;
  bool unloaded_ = false;
  bool shown_since_load_ = false;
  bool modal_ = false;
  bool positioned_ = false;
  Form* owner_ = nullptr;
  Control* active_control_ = nullptr;
};

}  // namespace qz::ui

#endif  // QZ_PLATFORM_UI_FORM_H_
