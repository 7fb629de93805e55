// The window frame of a FormWindow: ownership, placement, geometry and
// window state in step with the form, and the user's changes written back.
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "platform/ui/shell.h"
#include "qt/form_window.h"
#include "qt/late_window_events.h"
#include "qt/qt_backend.h"
#include "qt/window_placement.h"

namespace qz::qt {

namespace {

// How often a size the user gave the window during the program's work is
// offered to the form again.
constexpr int kOwedResizeRetryMs = 100;

ui::WindowState ModelState(Qt::WindowStates s) {
  if (s & Qt::WindowMinimized) return ui::WindowState::kMinimized;
  if (s & Qt::WindowMaximized) return ui::WindowState::kMaximized;
  return ui::WindowState::kNormal;
}

// The available area of the screen that holds the centre of `wanted`, or
// else of the screen of `window`.
QRect AvailableAround(const QRect& wanted, const QWidget& window) {
  QScreen* screen = QGuiApplication::screenAt(wanted.center());
  if (screen == nullptr) screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect();
}

// Sets a flag for the life of the guard.
struct Applying {
  explicit Applying(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
  ~Applying() { flag_ = old_; }
  bool& flag_;
  bool old_;
};

}  // namespace

int FormWindow::Twips(int px) const { return px * backend_.twips_per_pixel(); }

QMargins FormWindow::Frame() const {
  if ((windowFlags() & Qt::FramelessWindowHint) != 0) return {};
  const QMargins own = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
  if (own.isNull()) return backend_.known_frame();
  backend_.NoteFrame(own);
  return own;
}

QSize FormWindow::ClientSize() const {
  return QSize(Px(form_->width), Px(form_->height)).shrunkBy(Frame()).expandedTo(QSize(1, 1));
}

void FormWindow::PrepareShow(FormWindow* owner, bool modal) {
  if (form_ == nullptr) return;
  ui::Form& f = *form_;
  Applying applying(applying_geometry_);
  if (owner == this) owner = nullptr;
  owner_ = owner;
  FollowOwner(f.window_state());
  setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);

  // Placement and size are of the frame (what move() positions and what
  // the form's size is), on the screen where the window is wanted (a dialog
  // centred on its owner: the owner's).
  const QRect model(Px(f.left), Px(f.top), Px(f.width), Px(f.height));
  const bool sized = f.width > 0 && f.height > 0;
  const QSize outer = sized ? model.size() : size().grownBy(Frame());
  QRect wanted(model.topLeft(), outer);
  const bool centred = owner != nullptr && !f.positioned();
  const QRect available =
      centred ? AvailableAround(owner->frameGeometry(), *owner) : AvailableAround(wanted, *this);
  if (centred) {
    const QRect around = owner->frameGeometry();
    wanted.moveTopLeft(CentredOn(around, wanted.size(), available));
    wanted.moveTopLeft(BelowHeader(wanted.topLeft(), wanted.size(), owner->WorkingAreaTop(), around.bottom() + 1));
  }
  const QRect placed = FitInto(wanted, available);
  if (placed.topLeft() == model.topLeft() && placed.size() == outer) return;
  // The window opens where it fits: the form learns its place and, when it
  // had to be made smaller, its size (Resize is raised).
  f.left = Twips(placed.left());
  f.top = Twips(placed.top());
  if (placed.size() != outer && sized) {
    f.Move(f.left, f.top, Twips(placed.width()), Twips(placed.height()));
  }
}

int FormWindow::WorkingAreaTop() const {
  const QWidget* largest = nullptr;
  long long area = 0;
  for (const auto& [control, widget] : widgets_) {
    if (!widget->isVisible() || widget->parentWidget() != this) continue;
    const long long a = static_cast<long long>(widget->width()) * widget->height();
    if (a > area) {
      area = a;
      largest = widget;
    }
  }
  return largest != nullptr ? largest->mapToGlobal(QPoint(0, 0)).y() : -1;
}

void FormWindow::SyncGeometry() {
  ui::Form& f = *form_;
  Applying applying(applying_geometry_);
  // The normal geometry is kept by Qt. A made window to be shown minimised
  // is not moved or sized: on X it would open normal, and the window
  // manager would give it the keyboard.
  if (windowState() != Qt::WindowNoState) return;
  if (form_->window_state() == ui::WindowState::kMinimized && windowHandle() != nullptr) return;
  const QSize size = ClientSize();
  const bool user_size_owed = resize_owed_from_ == QSize(f.width, f.height);
  if (f.width > 0 && f.height > 0 && !user_size_owed) {
    applied_client_ = size;
    if (this->size() != size) resize(size);
  }
  const QPoint pos(Px(f.left), Px(f.top));
  if (this->pos() != pos) move(pos);
}

void FormWindow::FollowOwner(ui::WindowState state) {
  const bool dialog = owner_ != nullptr && state != ui::WindowState::kMinimized;
  // The window type; the frame hints stay as the form asks. A new type
  // hides a shown window: the sync that follows shows it again.
  const Qt::WindowFlags flags = windowFlags();
  const Qt::WindowType type = dialog ? Qt::Dialog : Qt::Window;
  if ((flags & Qt::WindowType_Mask) != type) setWindowFlags((flags & ~Qt::WindowType_Mask) | type);
  // A window to open minimised is made when it is shown: on X a window
  // made before it is placed opens normal.
  if (state == ui::WindowState::kMinimized && windowHandle() == nullptr) return;
  winId();  // the native window, to be made transient
  QWindow* parent = nullptr;
  if (dialog) {
    owner_->winId();
    parent = owner_->windowHandle();
  }
  if (windowHandle()->transientParent() != parent) windowHandle()->setTransientParent(parent);
}

void FormWindow::SyncWindowState() {
  Qt::WindowStates state = Qt::WindowNoState;
  if (form_->window_state() == ui::WindowState::kMinimized) state = Qt::WindowMinimized;
  if (form_->window_state() == ui::WindowState::kMaximized) state = Qt::WindowMaximized;
  if (windowState() == state) return;
  Applying applying(applying_geometry_);
  FollowOwner(form_->window_state());
  setWindowState(state);
}

void FormWindow::WriteBackGeometry() {
  if (applying_geometry_ || form_ == nullptr || !isVisible() || windowState() != Qt::WindowNoState) return;
  ui::Form& f = *form_;
  // The window system framing the window changes no size of the form.
  const QSize outer = size() == applied_client_ ? QSize(Px(f.width), Px(f.height)) : size().grownBy(Frame());
  const QRect now(pos(), outer);
  if (now == QRect(Px(f.left), Px(f.top), Px(f.width), Px(f.height))) {
    resize_owed_from_ = QSize();
    return;
  }
  ui::Form* form = form_;
  const QPointer<FormWindow> window(this);
  const int l = Twips(now.left()), t = Twips(now.top()), w = Twips(now.width()), h = Twips(now.height());
  backend_.Dispatch([form, window, l, t, w, h](ui::Shell& shell) {
    if (!form->loaded()) return;
    if (shell.TakesUserInput(*form)) {
      if (window != nullptr) window->resize_owed_from_ = QSize();
      form->Move(l, t, w, h);
      return;
    }
    // While the program works no handler runs for the user: the form only
    // learns where its window is, so the next sync keeps it there; a new
    // size (its Resize lays the form out) waits for the work to end.
    form->left = l;
    form->top = t;
    if (window == nullptr || QSize(w, h) == QSize(form->width, form->height)) return;
    window->resize_owed_from_ = QSize(form->width, form->height);
    QTimer::singleShot(kOwedResizeRetryMs, window, [window] {
      if (window != nullptr) window->WriteBackGeometry();
    });
  });
}

bool FormWindow::nativeEvent(const QByteArray& event_type, void* message, qintptr* result) {
  if (!isVisible() && IsLateShowEvent(event_type, message)) return true;
  return QWidget::nativeEvent(event_type, message, result);
}

void FormWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || applying_geometry_ || form_ == nullptr) return;
  const ui::WindowState state = ModelState(windowState());
  if (state == form_->window_state()) return;
  ui::Form* form = form_;
  backend_.Dispatch([form, state](ui::Shell& shell) {
    if (form->loaded() && shell.TakesUserInput(*form)) form->SetWindowState(state);
  });
}

}  // namespace qz::qt
