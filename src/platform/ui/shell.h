// Shell: the event core of the program's user interface, shared by every
// front end, and the Backend interface a front end implements.
//
// The core holds the loaded forms (front first), the active form, the
// posted-event queue (Activate, send-keys), the timers, the modal loops and
// the end of the program. Everything runs on one thread; events are
// delivered when the running handler returns to the loop or yields
// (DoEvents), never inside a call that merely changes state.
//
// The backend supplies what a real screen has: message boxes, the beep,
// screen metrics, the clock and user input. The scripted backend of the tests
// is scripted_shell.h; the Qt front end is another.
//
// End of program: unloading the main form (after its Unload handler) or
// End() throws EndProgram, which unwinds every handler and nested loop up to
// the loop that drives the program (Run or Step). Program code must let it
// pass: catch RunTimeError (or std::exception), never `...` without
// rethrowing. A driver step (Step) therefore returns whether the program
// goes on; after false no further code of the program runs.
//
// One shell is current at a time (Install); the free functions of msgbox.h
// go to it.
#ifndef QZ_PLATFORM_UI_SHELL_H_
#define QZ_PLATFORM_UI_SHELL_H_

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/form.h"
#include "platform/ui/key_strokes.h"
#include "platform/ui/msgbox.h"

namespace qz::ui {

class Shell;

// Thrown to end the program; deliberately not a std::exception.
struct EndProgram {};

// Thrown by a modal loop whose backend has no more input to give (a test
// script that ran out); deliberately not a std::exception.
struct InputExhausted {
  std::string waiting_form;
};

struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

struct TwipsRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
};

struct ScreenMetrics {
  int width_px = 1280, height_px = 1024;
  PixelRect work_area_px = {0, 0, 1280, 984};
  int twips_per_pixel_x = 15, twips_per_pixel_y = 15;
  bool work_area_ok = true;  // false: the platform could not tell the work area
  int bits_per_pixel = 24;   // colour depth
};

// Key codes the program uses.
enum KeyCode : int {
  kKeyBack = 8, kKeyTab = 9, kKeyReturn = 13, kKeyShift = 16, kKeyControl = 17, kKeyMenu = 18,
  kKeyEscape = 27, kKeySpace = 32, kKeyPageUp = 33, kKeyPageDown = 34, kKeyEnd = 35,
  kKeyHome = 36, kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40, kKeyInsert = 45,
  kKeyDelete = 46, kKeyF1 = 112, kKeyF2, kKeyF3, kKeyF4, kKeyF5, kKeyF6, kKeyF7, kKeyF8,
  kKeyF9, kKeyF10, kKeyF11, kKeyF12,
  kKeyProcess = 229,  // a key the input method took
};
// Shift states of key and mouse events.
enum ShiftMask : int { kShiftMask = 1, kCtrlMask = 2, kAltMask = 4 };

class Backend {
 public:
  virtual ~Backend() = default;
  // Shows a modal message box and returns the answer.
  virtual MsgResult ShowMessageBox(const MessageBoxRequest& request) = 0;
  virtual void RingBell() = 0;
  virtual ScreenMetrics QueryScreen() const = 0;
  // Milliseconds of a monotonic clock (virtual in the scripted shell).
  virtual std::int64_t ClockMs() const = 0;
  // At a yield: hand any input that is waiting to the shell, without
  // blocking.
  virtual void PollInput(Shell& shell) = 0;
  // In a loop with nothing pending: block until input or time has come and
  // hand it to the shell. Returns false when no input will ever come. A
  // real front end waits for its own events at most until NextTimerDue()
  // and lets the loop tick the timers (RunPending does).
  virtual bool WaitForInput(Shell& shell) = 0;
  // Notifications for a front end that draws the forms.
  virtual void OnFormShown(Form& /*form*/, bool /*modal*/) {}
  virtual void OnFormHidden(Form& /*form*/) {}
};

class Shell {
 public:
  // The backend must outlive the shell. Does not install the shell.
  explicit Shell(Backend& backend);
  virtual ~Shell();

  Shell(const Shell&) = delete;
  Shell& operator=(const Shell&) = delete;

  // The current shell, or nullptr. Install(nullptr) removes it.
  static Shell* Current();
  static void Install(Shell* shell);
  // The current shell; aborts when none is installed.
  static Shell& Require();

  // --- Driving the program --------------------------------------------
  // Makes `main` the main form, shows it and runs the loop until the
  // program ends or the backend has no more input. A RunTimeError that no
  // handler trapped shows the runtime's report ("実行時エラー '<n>':") and
  // ends the program; any other std::exception the same way as error 5
  // with its text. Returns true when the program ended.
  bool Run(Form& main);
  // Makes `form` the main form without showing it (drivers that show it
  // themselves).
  void SetMainForm(Form* form) { main_form_ = form; }
  Form* main_form() const { return main_form_; }
  // Runs one driver step and then the events it left pending. Returns false
  // when the program has ended (in the step or before it): the caller must
  // then stop.
  bool Step(const std::function<void()>& step);
  // Ends the program: throws EndProgram.
  [[noreturn]] void End();
  bool ended() const { return ended_; }

  // --- Events ---------------------------------------------------------
  // Queues an event to run after the running handler (or at its next
  // yield).
  void Post(std::function<void()> event);
  // Yields: takes the backend's waiting input, then runs posted events and
  // due timers until none is left.
  void DoEvents();
  // Runs posted events and due timers until none is left (no input).
  void RunPending();
  bool HasPending() const { return !posted_.empty(); }
  // Sends keystrokes (send-keys notation: "{ENTER}", "{F5}", "+" Shift, "^"
  // Ctrl, "%" Alt, "~" Enter, plain characters) to the active form, after the
  // running handler. While a work in progress holds the form's input back,
  // the keys wait and go, in order, once the last work has ended. Throws
  // RunTimeError kErrInvalidCall on bad notation.
  void SendKeys(std::string_view keys);

  // --- Timers ---------------------------------------------------------
  std::int64_t NowMs() const { return backend_.ClockMs(); }
  // Arms timers whose state changed and raises those that are due.
  void TickTimers();
  // The earliest due time of an armed timer (after arming), or -1.
  std::int64_t NextTimerDue();

  // --- Forms ----------------------------------------------------------
  // Loaded forms, front first.
  const std::vector<Form*>& forms() const { return forms_; }
  Form* FindForm(std::string_view name) const;
  Form* active_form() const { return active_; }
  // Makes a loaded, visible, enabled form the active one (the user clicked
  // it, or the program gave it the focus); Activate is posted. A disabled
  // form is not activated.
  void Activate(Form& form);
  // Modal forms now running, innermost last.
  const std::vector<Form*>& modal_forms() const { return modal_stack_; }
  // Takes an unloaded form to destroy it when the loop is back at its top.
  void Retire(std::unique_ptr<Form> form);

  // --- Platform services ------------------------------------------------
  MsgResult MessageBox(const MessageBoxRequest& request);
  void Beep();
  ScreenMetrics Screen() const { return backend_.QueryScreen(); }
  TwipsRect ScreenTwips() const;
  // The desktop work area in twips; ok false when the platform could not
  // tell it (the rectangle is then empty).
  TwipsRect WorkAreaTwips(bool* ok = nullptr) const;

  // --- Work in progress --------------------------------------------------
  // While the program works (a save, a load, a run of another program it
  // waits for), the user's input is held back: clicks, keys, typing and the
  // close box reach only modal forms shown since the work began (the work's
  // own dialogs). Windows still repaint and timers still run. Calls nest;
  // each BeginWork needs its EndWork (work_in_progress.h holds the scope).
  void BeginWork();
  void EndWork();
  bool working() const { return !work_.empty(); }
  // Whether the user's input may reach `form` now: it is loaded, visible and
  // enabled, and no work in progress holds it back. Front ends ask this
  // before they hand any input of their own to the model.
  bool TakesUserInput(const Form& form) const;

  // --- User input (from the backend) ------------------------------------
  // Each returns false when the input was refused (disabled or hidden form
  // or control, a modal form elsewhere, a removed Close item, work in
  // progress).
  // A mouse click: the form is activated; (left button) the focus moves to
  // the control when it takes focus; then Control::HandleClick (MouseDown,
  // MouseUp, and for the left button Click, the toggle of a check box, the
  // selection of an option button, or a grid's own handling).
  bool UserClick(Control& control, int button = 1, int shift = 0);
  // A key pressed and released on the active form: KeyDown (form first with
  // KeyPreview), KeyPress for character keys, KeyUp; a key the form zeroes
  // in KeyDown reaches the control in none of them. Tab moves the focus in
  // tab order; Enter/Space press a focused button, Enter/Esc the default or
  // cancel button; Alt+F4 then acts as the close box (UserCloseBox) unless
  // a handler zeroed it. `ascii` 0 derives it from the key (Enter 13, Esc
  // 27, Back 8, Space, letters and digits).
  bool UserKey(int key_code, int shift = 0, int ascii = 0);
  // Typed text into the focused control: per character KeyPress (form first
  // with KeyPreview), then Control::HandleChar (a text control replaces its
  // selection).
  bool UserType(std::string_view text);
  // Text the input method committed: typed as by UserType, then the
  // release of the key that ended the composition, as kKeyProcess, as by
  // UserKey (KeyUp, form first with KeyPreview).
  bool UserCommit(std::string_view text);
  // The close box: refused without a Close item; otherwise QueryUnload with
  // mode 0 and, unless cancelled, the unload.
  bool UserCloseBox(Form& form);

  // --- Called by Form --------------------------------------------------
  void FormLoaded(Form& form);
  void FormShown(Form& form, bool modal);
  void FormHidden(Form& form);
  // After the form's Unload handler. Ends the program for the main form.
  void FormUnloaded(Form& form);
  void FormDestroyed(Form& form);
  void FormZOrder(Form& form, int position);
  // The form was minimised. When it had the keyboard and is no modal form,
  // the keyboard goes to the next form that takes input and is not
  // minimised: its owner, else the main form, else the topmost; with none
  // it stays.
  void FormMinimized(Form& form);
  void RunModal(Form& form);

 protected:
  Backend& backend() { return backend_; }

 private:
  void RequestActivation(Form* form);
  void DeliverActivation();
  Form* NextActiveAfter(Form& leaving) const;
  bool AcceptsInput(const Form& form) const;
  void DeliverKey(Form& form, int key_code, int shift, int ascii);
  void DeliverChar(Form& form, int ascii, const std::string& text);
  // KeyUp: the form first with KeyPreview, then the focused control (the
  // form without one) unless the form zeroed it.
  void DeliverRelease(Form& form, int key_code, int shift);
  void DeliverSentKeys(const std::vector<KeyStroke>& strokes);
  void ClearGraveyard();

  Backend& backend_;
  std::vector<Form*> forms_;
  std::vector<Form*> modal_stack_;
  std::deque<std::function<void()>> posted_;
  std::vector<std::unique_ptr<Form>> graveyard_;
  Form* main_form_ = nullptr;
  Form* active_ = nullptr;
  Form* activated_ = nullptr;  // the form whose Activate was raised last
  int depth_ = 0;              // driver steps and modal loops running
  bool ended_ = false;
  // Per work in progress, the number of modal forms running when it began.
  std::vector<std::size_t> work_;
  // Sent keys waiting for the end of the work in progress.
  std::vector<KeyStroke> held_keys_;
};

}  // namespace qz::ui

#endif  // QZ_PLATFORM_UI_SHELL_H_
