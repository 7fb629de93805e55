#include "qt/qt_backend.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <cmath>

#include "qt/form_window.h"

// The icon resource lives in this static library; the macro must be used
// outside any namespace.
static void InitIconResource() { Q_INIT_RESOURCE(qz140); }

namespace qz::qt {

namespace {

// How often a paced yield asks Qt for input: 1 ms.
constexpr qint64 kPollNs = 1000000;

// How many more times the active form's window asks for the keyboard that
// a window manager gave elsewhere after the program showed or hid a window.
constexpr int kKeyboardRetries = 3;

QMessageBox::StandardButton StandardOf(ui::MsgResult r) {
  switch (r) {
    case ui::MsgResult::kOk: return QMessageBox::Ok;
    case ui::MsgResult::kCancel: return QMessageBox::Cancel;
    case ui::MsgResult::kAbort: return QMessageBox::Abort;
    case ui::MsgResult::kRetry: return QMessageBox::Retry;
    case ui::MsgResult::kIgnore: return QMessageBox::Ignore;
    case ui::MsgResult::kYes: return QMessageBox::Yes;
    case ui::MsgResult::kNo: return QMessageBox::No;
  }
  return QMessageBox::Ok;
}

const char* CaptionOf(ui::MsgResult r) {
  switch (r) {
    case ui::MsgResult::kOk: return "OK";
    case ui::MsgResult::kCancel: return "キャンセル";
    case ui::MsgResult::kAbort: return "中止(&A)";
    case ui::MsgResult::kRetry: return "再試行(&R)";
    case ui::MsgResult::kIgnore: return "無視(&I)";
    case ui::MsgResult::kYes: return "はい(&Y)";
    case ui::MsgResult::kNo: return "いいえ(&N)";
  }
  return "OK";
}

QMessageBox::Icon IconOf(ui::MsgIcon icon) {
  switch (icon) {
    case ui::MsgIcon::kCritical: return QMessageBox::Critical;
    case ui::MsgIcon::kQuestion: return QMessageBox::Question;
    case ui::MsgIcon::kExclamation: return QMessageBox::Warning;
    case ui::MsgIcon::kInformation: return QMessageBox::Information;
    case ui::MsgIcon::kNone: break;
  }
  return QMessageBox::NoIcon;
}

// Boxes without a Cancel button (Yes/No, Abort/Retry/Ignore) cannot be
// dismissed by Esc or the close box: one of their buttons must be chosen.
class NoDismiss : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Close) {
      e->ignore();
      return true;
    }
    if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape) return true;
    return false;
  }
};

}  // namespace

QtBackend::QtBackend() {
  clock_.start();
  wake_.setSingleShot(true);
  QApplication::setQuitOnLastWindowClosed(false);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const double dpi = screen->logicalDotsPerInch();
    if (dpi > 0) twips_per_pixel_ = std::max(1, static_cast<int>(std::lround(1440.0 / dpi)));
  }
}

QtBackend::~QtBackend() {
  for (auto& [form, window] : windows_) {
    window->Detach();
    delete window;
  }
  for (const QPointer<FormWindow>& window : dropped_) delete window.data();
}

// --- Message boxes, bell, screen, clock --------------------------------------

ui::MsgResult QtBackend::ShowMessageBox(const ui::MessageBoxRequest& request) {
  SyncAll();
  QString text = QString::fromStdString(request.text);
  text.replace("\r\n", "\n");
  QMessageBox box(IconOf(request.icon), QString::fromStdString(request.title), text);
  box.setTextFormat(Qt::PlainText);
  const std::vector<ui::MsgResult> answers = ui::ButtonAnswers(request.buttons);
  std::vector<QAbstractButton*> buttons;
  for (ui::MsgResult r : answers) {
    QAbstractButton* b = box.addButton(StandardOf(r));
    b->setText(QString::fromUtf8(CaptionOf(r)));
    buttons.push_back(b);
  }
  const auto def = static_cast<std::size_t>(std::clamp(request.default_button, 0, static_cast<int>(answers.size()) - 1));
  box.setDefaultButton(static_cast<QPushButton*>(buttons[def]));
  const ui::MsgResult close = ui::CloseAnswer(request.buttons);
  const bool has_cancel = std::find(answers.begin(), answers.end(), ui::MsgResult::kCancel) != answers.end();
  NoDismiss no_dismiss;
  if (has_cancel || answers.size() == 1) {
    box.setEscapeButton(buttons[static_cast<std::size_t>(
        std::find(answers.begin(), answers.end(), close) - answers.begin())]);
  } else {
    box.installEventFilter(&no_dismiss);
  }
  if (on_message_box) on_message_box(box);
  box.exec();
  ui::MsgResult answer = close;
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    if (box.clickedButton() == buttons[i]) answer = answers[i];
  }
  RethrowPending();
  return answer;
}

void QtBackend::RingBell() { QApplication::beep(); }

ui::ScreenMetrics QtBackend::QueryScreen() const {
  ui::ScreenMetrics m;
  m.twips_per_pixel_x = m.twips_per_pixel_y = twips_per_pixel_;
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    m.work_area_ok = false;
    return m;
  }
  const QRect g = screen->geometry();
  const QRect a = screen->availableGeometry();
  m.width_px = g.width();
  m.height_px = g.height();
  m.bits_per_pixel = screen->depth();
  m.work_area_px = {a.left(), a.top(), a.left() + a.width(), a.top() + a.height()};
  m.work_area_ok = a.isValid();
  return m;
}

std::int64_t QtBackend::ClockMs() const { return clock_.elapsed(); }

// --- Event pumping -------------------------------------------------------------

void QtBackend::PaceSyncs(bool on) {
  frame_ns_ = 0;
  if (!on) return;
  double hz = 60;
  if (QScreen* screen = QGuiApplication::primaryScreen(); screen != nullptr && screen->refreshRate() >= 1) {
    hz = screen->refreshRate();
  }
  frame_ns_ = static_cast<qint64>(1e9 / hz);
}

void QtBackend::PollInput(ui::Shell&) {
  if (frame_ns_ == 0) {
    SyncAll();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    RethrowPending();
    return;
  }
  // Paced: a step that yields thousands of times a second asks Qt for the
  // operator's input at most every kPollNs (faster than any hand) and
  // brings the windows in step once a frame.
  if (!last_sync_.isValid() || last_sync_.nsecsElapsed() >= frame_ns_) SyncAll();
  if (last_poll_.isValid() && last_poll_.nsecsElapsed() < kPollNs) return;
  last_poll_.start();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  RethrowPending();
}

bool QtBackend::WaitForInput(ui::Shell& shell) {
  SyncAll();
  const std::int64_t due = shell.NextTimerDue();
  bool any_visible = false;
  for (const auto& [form, window] : windows_) any_visible = any_visible || window->isVisible();
  if (!any_visible && due < 0) return false;
  if (due >= 0) wake_.start(static_cast<int>(std::clamp<std::int64_t>(due - ClockMs(), 0, 1 << 30)));
  QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  wake_.stop();
  RethrowPending();
  return true;
}

void QtBackend::RethrowPending() {
  if (!pending_) return;
  std::exception_ptr e = pending_;
  pending_ = nullptr;
  std::rethrow_exception(e);
}

void QtBackend::Dispatch(const std::function<void(ui::Shell&)>& action) {
  ui::Shell* shell = ui::Shell::Current();
  if (shell == nullptr || pending_ || shell->ended()) return;
  ++dispatch_depth_;
  try {
    action(*shell);
    shell->RunPending();
  } catch (...) {
    // Not across Qt's dispatch: rethrown once Qt hands control back.
    pending_ = std::current_exception();
  }
  --dispatch_depth_;
  SyncAll();
}

// --- Windows ---------------------------------------------------------------------

void QtBackend::OnFormShown(ui::Form& form, bool modal) {
  FormWindow* window = WindowOf(form);
  if (window == nullptr) {
    // Every window of the program carries its icon, set once the
    // application exists.
    if (QApplication::windowIcon().isNull()) {
      InitIconResource();
      QApplication::setWindowIcon(QIcon(":/qz140/qz140.png"));
    }
    window = new FormWindow(*this, form);
    windows_[&form] = window;
  }
  // A form shown by another is its dialog; the program's companion forms
  // shown on their own belong to its main form.
  ui::Form* owner = form.owner();
  if (owner == nullptr && ui::Shell::Current() != nullptr) owner = ui::Shell::Current()->main_form();
  FormWindow* owner_window = owner != nullptr && owner != &form ? WindowOf(*owner) : nullptr;
  if (owner_window != nullptr && !owner_window->isVisible()) owner_window = nullptr;
  window->PrepareShow(owner_window, modal);
  window->Sync();
  window_shown_ = true;
}

void QtBackend::OnFormHidden(ui::Form& form) {
  // An unloaded form drops its window (the instance may go soon).
  if (!form.loaded()) {
    Drop(&form);
    return;
  }
  if (FormWindow* window = WindowOf(form)) Hide(*window);
}

void QtBackend::Hide(FormWindow& window) {
  // The window manager moves the keyboard on when the window had it, or
  // was to have it (a modal window, which may go before the window manager
  // has mapped it): the active form's window asks for it back, also when
  // the operator's own key or click closed the window.
  if (window.isVisible() && (window.isActiveWindow() || window.isModal())) window_shown_ = true;
  window.hide();
}

void QtBackend::Drop(const ui::Form* form) {
  auto it = windows_.find(form);
  if (it == windows_.end()) return;
  FormWindow* window = it->second;
  windows_.erase(it);
  window->Detach();
  Hide(*window);
  // Its own event handler may be on the stack.
  window->deleteLater();
  dropped_.erase(std::remove_if(dropped_.begin(), dropped_.end(), [](const QPointer<FormWindow>& w) { return w.isNull(); }),
                 dropped_.end());
  dropped_.emplace_back(window);
}

void QtBackend::SyncAll() {
  ++syncs_;
  last_sync_.start();
  ui::Shell* shell = ui::Shell::Current();
  std::vector<const ui::Form*> gone;
  for (const auto& [form, window] : windows_) {
    const bool loaded = shell != nullptr && std::find(shell->forms().begin(), shell->forms().end(), form) !=
                                                 shell->forms().end();
    if (!loaded) gone.push_back(form);
  }
  for (const ui::Form* f : gone) Drop(f);
  // The active form's window last: a window shown meanwhile (which a window
  // system may activate as it maps it) gives the keyboard back to it.
  const ui::Form* active = shell != nullptr ? shell->active_form() : nullptr;
  FormWindow* active_window = nullptr;
  bool shown = window_shown_;
  window_shown_ = false;
  for (const auto& [form, window] : windows_) {
    if (form == active) {
      active_window = window;
      continue;
    }
    const bool was_visible = window->isVisible();
    window->Sync();
    shown = shown || (!was_visible && window->isVisible());
  }
  if (active_window == nullptr) {
    window_shown_ = shown;
    return;
  }
  active_window->Sync();
  // A modal window that is not the active form's (a message box, which
  // the program waits in) keeps the keyboard: the active form's window asks
  // for it once that window is gone.
  if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal != active_window) {
    window_shown_ = shown;
    return;
  }
  QWindow* keyboard = QGuiApplication::focusWindow();
  if (shown) {
    active_window->TakeKeyboard();
    keyboard_retries_ = kKeyboardRetries;
    keyboard_seen_in_ = keyboard;
    return;
  }
  if (keyboard_retries_ == 0 || keyboard == nullptr || keyboard == active_window->windowHandle()) return;
  if (keyboard == keyboard_seen_in_ || active_window->isMinimized() || !active_window->isVisible()) return;
  // Only from the window of another form: a window the program opened
  // otherwise keeps it.
  const bool form_window = std::any_of(windows_.begin(), windows_.end(),
                                       [keyboard](const auto& w) { return w.second->windowHandle() == keyboard; });
  if (!form_window) return;
  // A window manager gave the keyboard to another window of the program.
  --keyboard_retries_;
  keyboard_seen_in_ = keyboard;
  active_window->TakeKeyboard();
}

FormWindow* QtBackend::WindowOf(const ui::Form& form) const {
  auto it = windows_.find(&form);
  return it == windows_.end() ? nullptr : it->second;
}

QWidget* QtBackend::WidgetOf(const ui::Control& control) const {
  FormWindow* w = control.form() != nullptr ? WindowOf(*control.form()) : nullptr;
  return w != nullptr ? w->WidgetOf(control) : nullptr;
}

// --- QtShell -----------------------------------------------------------------------

QtShell::QtShell() : Shell(static_cast<ui::Backend&>(*this)), previous_(ui::Shell::Current()) {
  ui::Shell::Install(this);
}

QtShell::~QtShell() {
  if (ui::Shell::Current() == this) ui::Shell::Install(previous_);
}

}  // namespace qz::qt
