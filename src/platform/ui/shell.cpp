#include "platform/ui/shell.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>
#include <utility>

#include "platform/record/read_batch.h"
#include "platform/runtime/app.h"
#include "platform/runtime/run_time_error.h"
#include "platform/ui/controls.h"
#include "platform/ui/form_slot.h"
#include "platform/ui/key_strokes.h"
#include "platform/ui/message_hold.h"
#include "platform/ui/text_edit.h"

namespace qz::ui {

namespace {

Shell* g_current = nullptr;

void Raise(const std::function<void()>& event) {
  if (event) event();
}

void Erase(std::vector<Form*>& list, const Form* form) {
  list.erase(std::remove(list.begin(), list.end(), form), list.end());
}

// Whether the user can reach the control: it and its containers are visible
// and enabled.
bool Reachable(const Control& control) {
  for (const Control* c = &control; c != nullptr; c = c->container) {
    if (!c->visible || !c->enabled) return false;
  }
  return true;
}

bool Contains(const std::vector<Form*>& list, const Form* form) {
  return std::find(list.begin(), list.end(), form) != list.end();
}

// The character a key gives when it is typed, or 0.
int AsciiOf(int key_code, int shift) {
  if (key_code == kKeyReturn || key_code == kKeyEscape || key_code == kKeyBack || key_code == kKeySpace) {
    return key_code;
  }
  if ((shift & (kCtrlMask | kAltMask)) != 0) return 0;
  if (key_code >= 'A' && key_code <= 'Z') return (shift & kShiftMask) != 0 ? key_code : key_code + 32;
  if (key_code >= '0' && key_code <= '9' && (shift & kShiftMask) == 0) return key_code;
  return 0;
}

}  // namespace

std::vector<MsgResult> ButtonAnswers(MsgButtons buttons) {
  using R = MsgResult;
  switch (buttons) {
    case MsgButtons::kOk: return {R::kOk};
    case MsgButtons::kOkCancel: return {R::kOk, R::kCancel};
    case MsgButtons::kAbortRetryIgnore: return {R::kAbort, R::kRetry, R::kIgnore};
    case MsgButtons::kYesNoCancel: return {R::kYes, R::kNo, R::kCancel};
    case MsgButtons::kYesNo: return {R::kYes, R::kNo};
    case MsgButtons::kRetryCancel: return {R::kRetry, R::kCancel};
  }
  return {R::kOk};
}

MsgResult CloseAnswer(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::kOkCancel:
    case MsgButtons::kYesNoCancel:
    case MsgButtons::kRetryCancel: return MsgResult::kCancel;
    case MsgButtons::kAbortRetryIgnore: return MsgResult::kAbort;
    case MsgButtons::kYesNo: return MsgResult::kYes;
    case MsgButtons::kOk: break;
  }
  return MsgResult::kOk;
}

// The free functions of msgbox.h are defined with the shell, so that every
// program that links the shell has them.
namespace {
std::function<void(const MessageBoxRequest&)>& MessageObserver() {
  static std::function<void(const MessageBoxRequest&)> observer;
  return observer;
}
}  // namespace

void SetMessageObserver(std::function<void(const MessageBoxRequest&)> observer) {
  MessageObserver() = std::move(observer);
}

MsgResult MsgBox(const MessageBoxRequest& request) {
  Shell& shell = Shell::Require();
  // Record files are held: the box waits until they are given back.
  if (const std::optional<MsgResult> kept = HoldMessage(request)) return *kept;
  if (MessageObserver()) MessageObserver()(request);
  record::ReleaseBatchLocks();  // the operator may take long
  return shell.MessageBox(request);
}

MsgResult MsgBox(std::string_view text, MsgButtons buttons, MsgIcon icon, std::string_view title,
                 int default_button) {
  MessageBoxRequest request;
  request.text = std::string(text);
  request.buttons = buttons;
  request.icon = icon;
  request.title = std::string(title);
  request.default_button = default_button;
  return MsgBox(request);
}

void Beep() { Shell::Require().Beep(); }

void DoEvents() {
  record::ReleaseBatchLocks(/*only_held_long=*/true);
  Shell::Require().DoEvents();
}

void RetireForm(std::unique_ptr<Form> form) {
  if (g_current != nullptr) {
    g_current->Retire(std::move(form));
  }
  // Without a shell nothing can be running in the form: it goes now.
}

Shell::Shell(Backend& backend) : backend_(backend) {}

Shell::~Shell() {
  if (g_current == this) g_current = nullptr;
  for (Form* f : forms_) {
    f->loaded_ = f->visible_ = false;
    f->unloaded_ = true;
    f->active_control_ = nullptr;
  }
  forms_.clear();
  ClearGraveyard();
}

Shell* Shell::Current() { return g_current; }
void Shell::Install(Shell* shell) { g_current = shell; }

Shell& Shell::Require() {
  if (g_current == nullptr) {
    std::fputs("qz::ui: no shell is installed\n", stderr);
    std::abort();
  }
  return *g_current;
}

// --- Driving -------------------------------------------------------------

bool Shell::Run(Form& main) {
  main_form_ = &main;
  try {
    main.Show();
    for (;;) {
      RunPending();
      if (forms_.empty()) {
        ended_ = true;
        return true;
      }
      ClearGraveyard();
      if (!backend_.WaitForInput(*this)) return false;
    }
  } catch (EndProgram&) {
    ended_ = true;
    posted_.clear();
    return true;
  } catch (const std::exception& e) {
    // A run-time error no handler trapped ends the program with the
    // runtime's own report; any other failure is reported as an invalid
    // call with its text rather than tearing the program down unreported.
    const auto* run_time = dynamic_cast<const RunTimeError*>(&e);
    const int number = run_time != nullptr ? run_time->number() : kErrInvalidCall;
    const std::string description = run_time != nullptr ? run_time->description() : std::string(e.what());
    MessageBoxRequest report;
    report.text = "実行時エラー '" + std::to_string(number) + "':\r\n\r\n" + description;
    report.icon = MsgIcon::kCritical;
    report.title = App().title;
    if (MessageObserver()) MessageObserver()(report);
    backend_.ShowMessageBox(report);
    ended_ = true;
    posted_.clear();
    return true;
  }
}

bool Shell::Step(const std::function<void()>& step) {
  if (ended_) return false;
  ++depth_;
  try {
    step();
    RunPending();
  } catch (EndProgram&) {
    --depth_;
    ended_ = true;
    posted_.clear();
    return false;
  } catch (...) {
    --depth_;
    throw;
  }
  --depth_;
  if (depth_ == 0) ClearGraveyard();
  return !ended_;
}

void Shell::End() {
  ended_ = true;
  posted_.clear();
  for (Form* f : forms_) {
    f->loaded_ = f->visible_ = false;
    f->unloaded_ = true;
    f->modal_ = false;
    f->active_control_ = nullptr;
  }
  forms_.clear();
  active_ = activated_ = nullptr;
  throw EndProgram{};
}

// --- Events --------------------------------------------------------------

void Shell::Post(std::function<void()> event) { posted_.push_back(std::move(event)); }

void Shell::DoEvents() {
  backend_.PollInput(*this);
  RunPending();
}

void Shell::RunPending() {
  // Timers fall due by the clock at the start: a timer whose handler takes
  // longer than its interval ticks once here and again at the next yield,
  // instead of keeping the loop from ever returning to the user's input.
  const std::int64_t start = NowMs();
  for (;;) {
    if (!posted_.empty()) {
      std::function<void()> event = std::move(posted_.front());
      posted_.pop_front();
      event();
      continue;
    }
    std::int64_t due = NextTimerDue();
    if (due >= 0 && due <= start) {
      TickTimers();
      continue;
    }
    break;
  }
}

void Shell::SendKeys(std::string_view keys) {
  std::vector<KeyStroke> strokes = ParseKeyStrokes(keys);
  Post([this, strokes = std::move(strokes)] { DeliverSentKeys(strokes); });
}

void Shell::DeliverSentKeys(const std::vector<KeyStroke>& strokes) {
  for (std::size_t i = 0; i < strokes.size(); ++i) {
    if (active_ == nullptr || !AcceptsInput(*active_)) return;
    if (!TakesUserInput(*active_)) {
      // The program works: the rest waits for its end, as typed keys do.
      held_keys_.insert(held_keys_.end(), strokes.begin() + static_cast<std::ptrdiff_t>(i), strokes.end());
      return;
    }
    const KeyStroke& k = strokes[i];
    if (k.key_code == 0) {
      DeliverChar(*active_, k.ascii, k.text);
    } else {
      DeliverKey(*active_, k.key_code, k.shift, k.ascii);
    }
  }
}

// --- Timers --------------------------------------------------------------

std::int64_t Shell::NextTimerDue() {
  std::int64_t now = NowMs();
  std::int64_t best = -1;
  for (Form* f : forms_) {
    for (Control* c : f->controls()) {
      if (c->kind() != ControlKind::kTimer) continue;
      auto* t = static_cast<Timer*>(c);
      if (!t->enabled || t->interval <= 0) {
        t->armed_ = false;
        continue;
      }
      if (!t->armed_ || t->armed_interval_ != t->interval) {
        t->armed_ = true;
        t->armed_interval_ = t->interval;
        t->due_ms_ = now + t->interval;
      }
      if (t->running_) continue;
      if (best < 0 || t->due_ms_ < best) best = t->due_ms_;
    }
  }
  return best;
}

void Shell::TickTimers() {
  NextTimerDue();  // arms what changed
  std::int64_t now = NowMs();
  std::vector<Timer*> due;
  for (Form* f : forms_) {
    for (Control* c : f->controls()) {
      if (c->kind() != ControlKind::kTimer) continue;
      auto* t = static_cast<Timer*>(c);
      if (t->armed_ && !t->running_ && t->due_ms_ <= now) due.push_back(t);
    }
  }
  for (Timer* t : due) {
    // An earlier tick may have unloaded the form or stopped the timer, or
    // ticked this one already inside its yield.
    if (!Contains(forms_, t->form()) || !t->armed_ || !t->enabled || t->running_ || t->due_ms_ > now) continue;
    t->due_ms_ = now + t->interval;
    t->running_ = true;
    struct Reset {
      Timer* t;
      ~Reset() { t->running_ = false; }
    } reset{t};
    Raise(t->on_timer);
  }
}

// --- Forms ---------------------------------------------------------------

Form* Shell::FindForm(std::string_view name) const {
  for (Form* f : forms_) {
    if (f->name() == name) return f;
  }
  return nullptr;
}

void Shell::Retire(std::unique_ptr<Form> form) { graveyard_.push_back(std::move(form)); }

void Shell::ClearGraveyard() {
  std::vector<std::unique_ptr<Form>> dead = std::move(graveyard_);
  graveyard_.clear();
  dead.clear();
}

void Shell::FormLoaded(Form& form) {
  if (!Contains(forms_, &form)) forms_.push_back(&form);
  for (Control* c : form.controls()) {
    if (c->kind() == ControlKind::kTimer) static_cast<Timer*>(c)->armed_ = false;
  }
}

void Shell::FormShown(Form& form, bool modal) {
  FormZOrder(form, 0);
  backend_.OnFormShown(form, modal);
  RequestActivation(&form);
}

void Shell::FormHidden(Form& form) {
  backend_.OnFormHidden(form);
  if (active_ == &form) RequestActivation(NextActiveAfter(form));
}

void Shell::FormUnloaded(Form& form) {
  Erase(forms_, &form);
  if (active_ == &form) RequestActivation(NextActiveAfter(form));
  if (activated_ == &form) activated_ = nullptr;
  if (&form == main_form_) End();
}

void Shell::FormDestroyed(Form& form) {
  Erase(forms_, &form);
  Erase(modal_stack_, &form);
  if (main_form_ == &form) main_form_ = nullptr;
  if (active_ == &form) active_ = nullptr;
  if (activated_ == &form) activated_ = nullptr;
}

void Shell::FormZOrder(Form& form, int position) {
  if (!Contains(forms_, &form)) return;
  Erase(forms_, &form);
  if (position == 0) {
    forms_.insert(forms_.begin(), &form);
  } else {
    forms_.push_back(&form);
  }
}

void Shell::FormMinimized(Form& form) {
  if (active_ != &form || Contains(modal_stack_, &form)) return;
  auto takes = [&](Form* f) {
    return f != nullptr && f != &form && AcceptsInput(*f) && f->window_state_ != WindowState::kMinimized;
  };
  Form* next = takes(form.owner_) ? form.owner_ : takes(main_form_) ? main_form_ : nullptr;
  for (auto it = forms_.begin(); next == nullptr && it != forms_.end(); ++it) {
    if (takes(*it)) next = *it;
  }
  if (next != nullptr) RequestActivation(next);
}

Form* Shell::NextActiveAfter(Form& leaving) const {
  auto usable = [&](Form* f) { return f != nullptr && f != &leaving && f->loaded_ && f->visible_; };
  for (auto it = modal_stack_.rbegin(); it != modal_stack_.rend(); ++it) {
    if (usable(*it)) return *it;
  }
  if (usable(leaving.owner_)) return leaving.owner_;
  for (Form* f : forms_) {
    if (usable(f)) return f;
  }
  return nullptr;
}

void Shell::Activate(Form& form) {
  if (active_ != &form && form.loaded_ && form.visible_ && form.enabled_) RequestActivation(&form);
}

void Shell::RequestActivation(Form* form) {
  active_ = form;
  Post([this] { DeliverActivation(); });
}

void Shell::DeliverActivation() {
  Form* target = active_;
  if (target == activated_) return;
  Form* old = activated_;
  activated_ = target;
  if (old != nullptr && Contains(forms_, old)) Raise(old->on_deactivate);
  if (target == nullptr || !target->loaded_ || !target->visible_ || activated_ != target) return;
  Raise(target->on_activate);
  // A form that is shown gives the focus to its first control in tab order,
  // unless its Activate handler showed another form, which has the keyboard
  // now.
  if (activated_ == target && active_ == target && target->loaded_ && target->visible_ && target->enabled_ &&
      target->active_control_ == nullptr) {
    Control* first = nullptr;
    for (Control* c : target->controls()) {
      if (c->CanFocus() && c->tab_stop && (first == nullptr || c->tab_index < first->tab_index)) first = c;
    }
    if (first != nullptr) target->SetFocusTo(first);
  }
}

void Shell::RunModal(Form& form) {
  modal_stack_.push_back(&form);
  ++depth_;  // the handler that showed the form is still running
  std::vector<Form*> disabled;
  for (Form* f : forms_) {
    if (f != &form && f->enabled_) {
      f->enabled_ = false;
      disabled.push_back(f);
    }
  }
  struct Restore {
    Shell* shell;
    Form* form;
    std::vector<Form*>* disabled;
    ~Restore() {
      --shell->depth_;
      Erase(shell->modal_stack_, form);
      for (Form* f : *disabled) {
        if (Contains(shell->forms_, f)) f->enabled_ = true;
      }
    }
  } restore{this, &form, &disabled};
  while (form.loaded_ && form.visible_) {
    RunPending();
    if (!form.loaded_ || !form.visible_) break;
    // The operator may take long, also after an action that read records.
    record::ReleaseBatchLocks();
    if (!backend_.WaitForInput(*this)) throw InputExhausted{form.name()};
  }
  form.modal_ = false;
}

// --- Platform services -----------------------------------------------------

MsgResult Shell::MessageBox(const MessageBoxRequest& request) {
  if (request.title.empty()) {
    MessageBoxRequest titled = request;
    titled.title = App().title;
    return backend_.ShowMessageBox(titled);
  }
  return backend_.ShowMessageBox(request);
}

void Shell::Beep() { backend_.RingBell(); }

TwipsRect Shell::ScreenTwips() const {
  ScreenMetrics m = backend_.QueryScreen();
  return {0, 0, m.width_px * m.twips_per_pixel_x, m.height_px * m.twips_per_pixel_y};
}

TwipsRect Shell::WorkAreaTwips(bool* ok) const {
  ScreenMetrics m = backend_.QueryScreen();
  if (ok != nullptr) *ok = m.work_area_ok;
  if (!m.work_area_ok) return {};
  return {m.work_area_px.left * m.twips_per_pixel_x, m.work_area_px.top * m.twips_per_pixel_y,
          m.work_area_px.right * m.twips_per_pixel_x, m.work_area_px.bottom * m.twips_per_pixel_y};
}

// --- User input ------------------------------------------------------------

bool Shell::AcceptsInput(const Form& form) const {
  return form.loaded_ && form.visible_ && form.enabled_;
}

void Shell::BeginWork() { work_.push_back(modal_stack_.size()); }

void Shell::EndWork() {
  if (!work_.empty()) work_.pop_back();
  if (work_.empty() && !held_keys_.empty()) {
    std::vector<KeyStroke> keys;
    keys.swap(held_keys_);
    Post([this, keys = std::move(keys)] { DeliverSentKeys(keys); });
  }
}

bool Shell::TakesUserInput(const Form& form) const {
  if (!AcceptsInput(form)) return false;
  if (work_.empty()) return true;
  // Only a dialog of the work itself: a modal form shown since it began.
  for (std::size_t i = work_.back(); i < modal_stack_.size(); ++i) {
    if (modal_stack_[i] == &form) return true;
  }
  return false;
}

bool Shell::UserClick(Control& control, int button, int shift) {
  Form* form = control.form();
  if (form == nullptr || !TakesUserInput(*form) || !Reachable(control)) return false;
  if (active_ != form) {
    Activate(*form);
    RunPending();
    if (!AcceptsInput(*form)) return false;
  }
  // The left button takes the focus before the control sees the press.
  if (button == 1 && control.CanFocus() && form->active_control_ != &control) form->SetFocusTo(&control);
  // The control that was left may have unloaded the form.
  if (AcceptsInput(*form) && Reachable(control)) control.HandleClick(button, shift);
  return true;
}

bool Shell::UserKey(int key_code, int shift, int ascii) {
  if (active_ == nullptr || !TakesUserInput(*active_)) return false;
  DeliverKey(*active_, key_code, shift, ascii != 0 ? ascii : AsciiOf(key_code, shift));
  return true;
}

bool Shell::UserType(std::string_view text) {
  if (active_ == nullptr || !TakesUserInput(*active_)) return false;
  Form& form = *active_;
  for (const std::string& ch : SplitChars(text)) {
    int code = CodePoint(ch);
    DeliverChar(form, code, ch);
  }
  return true;
}

bool Shell::UserCommit(std::string_view text) {
  if (!UserType(text)) return false;
  if (active_ != nullptr && TakesUserInput(*active_)) DeliverRelease(*active_, kKeyProcess, 0);
  return true;
}

bool Shell::UserCloseBox(Form& form) {
  if (!TakesUserInput(form) || !form.HasCloseItem()) return false;
  return form.Unload(kUnloadControlMenu);
}

void Shell::DeliverKey(Form& form, int key_code, int shift, int ascii) {
  Control* target = form.active_control_;
  if (key_code == kKeyTab && (shift & (kCtrlMask | kAltMask)) == 0) {
    // Tab moves the focus in tab order; no control sees it.
    std::vector<Control*> stops;
    for (Control* c : form.controls()) {
      if (c->CanFocus() && c->tab_stop) stops.push_back(c);
    }
    std::stable_sort(stops.begin(), stops.end(),
                     [](const Control* a, const Control* b) { return a->tab_index < b->tab_index; });
    if (stops.empty()) return;
    auto it = std::find(stops.begin(), stops.end(), target);
    std::size_t i = it == stops.end() ? 0 : static_cast<std::size_t>(it - stops.begin());
    std::size_t n = stops.size();
    std::size_t next = it == stops.end() ? 0 : ((shift & kShiftMask) != 0 ? (i + n - 1) % n : (i + 1) % n);
    form.SetFocusTo(stops[next]);
    return;
  }
  // A handler may unload (or hide) the form: the rest of the key then
  // reaches none of its controls.
  auto gone = [&form] { return !form.loaded_ || !form.visible_; };
  int k = key_code;
  int s = shift;
  if (form.key_preview && form.on_key_down) form.on_key_down(k, s);
  if (gone()) return;
  if (k != 0) {
    if (target != nullptr) {
      target->HandleKeyDown(k, s);
    } else if (!form.key_preview && form.on_key_down) {
      form.on_key_down(k, s);
    }
  }
  if (gone()) return;
  bool swallowed = k == 0;
  if (!swallowed && ascii != 0) DeliverChar(form, ascii, {});
  if (gone()) return;
  if (!swallowed) {
    // Enter and Space press a focused button that takes input; Enter and
    // Esc the form's default and cancel buttons.
    Control* focused = form.active_control_;
    Control* press = nullptr;
    if (focused != nullptr && focused->kind() == ControlKind::kButton && Reachable(*focused) &&
        (key_code == kKeyReturn || key_code == kKeySpace)) {
      press = focused;
    } else if (key_code == kKeyReturn || key_code == kKeyEscape) {
      for (Control* c : form.controls()) {
        auto* b = dynamic_cast<CommandButton*>(c);
        if (b != nullptr && b->visible && b->enabled &&
            (key_code == kKeyReturn ? b->is_default : b->is_cancel)) {
          press = b;
          break;
        }
      }
    }
    if (press != nullptr) Raise(press->on_click);
    if (gone()) return;
    // Alt+F4 reaches the key handlers first (a program may map it), then
    // closes the window as its close box does.
    if (key_code == kKeyF4 && (shift & kAltMask) != 0) {
      UserCloseBox(form);
      if (gone()) return;
    }
  }
  // The release; a key the form swallowed on the way down does not reach
  // the control on the way up either.
  if (!swallowed) {
    DeliverRelease(form, key_code, shift);
  } else if (form.key_preview && form.on_key_up) {
    int ku = key_code;
    int su = shift;
    form.on_key_up(ku, su);
  }
}

void Shell::DeliverRelease(Form& form, int key_code, int shift) {
  int ku = key_code;
  int su = shift;
  if (form.key_preview && form.on_key_up) form.on_key_up(ku, su);
  if (!form.loaded_ || !form.visible_ || ku == 0) return;
  if (Control* now = form.active_control_) {
    now->HandleKeyUp(ku, su);
  } else if (!form.key_preview && form.on_key_up) {
    form.on_key_up(ku, su);
  }
}

void Shell::DeliverChar(Form& form, int ascii, const std::string& text) {
  int a = ascii;
  if (form.key_preview && form.on_key_press) form.on_key_press(a);
  if (a == 0 || !form.loaded_ || !form.visible_) return;
  // A character the form replaced is typed as the new one.
  if (Control* target = form.active_control_) target->HandleChar(a, a == ascii ? text : std::string());
}

}  // namespace qz::ui
