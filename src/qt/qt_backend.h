// QtBackend: the shell's backend on a real screen, through Qt Widgets.
// QtShell: a shell with its own QtBackend, installed as the current shell.
//
// A program's main:
//
//   QApplication app(argc, argv);
//   qz::qt::QtShell shell;            // installs itself
//   return shell.Run(*frmMain) ? 0 : 1;
//
// The backend puts the program's clipboard on the desktop's, shows message
// boxes (QMessageBox with the platform's buttons, icon, default button and
// title), beeps, reports the primary screen in twips, keeps the clock, and
// pumps Qt's events at the shell's yields and idle waits (waiting at most
// until the next timer is due). Each form the
// shell shows gets a window (form_window.h) built from its model; every
// window is brought in step with its model before Qt's events are processed
// and after every user action it dispatched. With PaceSyncs on, the yields
// of a long step bring the windows in step at most once per frame of the
// display and take the operator's waiting input at most once a millisecond
// (so every event still reaches the program within a millisecond, in
// order); the idle wait, a message box and a user action always sync. The user's clicks, keys,
// typing and close box go to the model through the shell (Dispatch); the
// Qt layer decides nothing itself.
//
// A handler's exception (EndProgram, a run-time error) must not cross Qt's
// event dispatch: Dispatch keeps it and the backend rethrows it when Qt
// returns control (at the end of PollInput, WaitForInput or a message box).
//
// Needs a QApplication for its whole life; one thread (Qt's GUI thread).
#ifndef QZ_QT_QT_BACKEND_H_
#define QZ_QT_QT_BACKEND_H_

#include <QElapsedTimer>
#include <QMargins>
#include <QPointer>
#include <QTimer>
#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/ui/shell.h"
#include "qt/system_clipboard.h"

class QMessageBox;
class QWidget;

namespace qz::qt {

class FormWindow;

class QtBackend : public ui::Backend {
 public:
  // Precondition: a QApplication exists.
  QtBackend();
  ~QtBackend() override;

  QtBackend(const QtBackend&) = delete;
  QtBackend& operator=(const QtBackend&) = delete;

  // --- ui::Backend ---------------------------------------------------------
  ui::MsgResult ShowMessageBox(const ui::MessageBoxRequest& request) override;
  void RingBell() override;
  ui::ScreenMetrics QueryScreen() const override;
  std::int64_t ClockMs() const override;
  void PollInput(ui::Shell& shell) override;
  // Blocks in Qt until an event arrives or the next timer is due. Returns
  // false when nothing can ever come: no window is visible and no timer is
  // armed.
  bool WaitForInput(ui::Shell& shell) override;
  void OnFormShown(ui::Form& form, bool modal) override;
  void OnFormHidden(ui::Form& form) override;

  // --- For the windows and for tests --------------------------------------
  // Runs a user action against the current shell, then its pending events,
  // then resyncs every window. Ignored while an earlier action's exception
  // waits to be rethrown or when no shell is installed.
  void Dispatch(const std::function<void(ui::Shell&)>& action);
  // The operator pressed a key or a mouse button in a window of the
  // program: from now on where the keyboard goes is the operator's, until
  // the program shows a window or closes one that had the keyboard or was
  // modal (even when the operator's key or click closed it).
  void OperatorActs() { keyboard_retries_ = 0; }
  // Brings every window in step with its model; drops the windows of forms
  // that are no longer loaded.
  void SyncAll();
  // The window of a form, or nullptr when it has none.
  FormWindow* WindowOf(const ui::Form& form) const;
  // The widget rendering a control, or nullptr.
  QWidget* WidgetOf(const ui::Control& control) const;
  // The frame the window system last put around a window of the program
  // (none before it framed one), for a window not yet framed; NoteFrame
  // records a window's frame once it is known.
  QMargins known_frame() const { return known_frame_; }
  void NoteFrame(const QMargins& frame) { known_frame_ = frame; }
  // 1440 / the primary screen's logical dpi.
  int twips_per_pixel() const { return twips_per_pixel_; }
  // On: the yields of a long step sync the windows at the display's pace
  // (its refresh rate, 60 Hz when it tells none) and poll Qt's input at
  // most once a millisecond. Off (the default): every yield syncs and
  // polls, as tests that look at the widgets after a yield expect.
  void PaceSyncs(bool on);
  // How many times the windows were brought in step (for benchmarks).
  std::uint64_t syncs() const { return syncs_; }

  // Called with every message box just before it runs (tests answer it
  // from here, e.g. with a zero-time QTimer clicking a button).
  std::function<void(QMessageBox& box)> on_message_box;

 private:
  void RethrowPending();
  void Drop(const ui::Form* form);
  // Hides a window of the program.
  void Hide(FormWindow& window);

  SystemClipboard clipboard_;
  std::map<const ui::Form*, FormWindow*> windows_;
  // Since the last SyncAll gave the keyboard to the active form's window,
  // a window was shown, or one that had or was to have the keyboard (a
  // modal one) was hidden or dropped.
  bool window_shown_ = false;
  // After the program showed or hid a window, a window manager may give the
  // keyboard to another window of the program (its focus goes back to the
  // owner's group, or to a dialog it maps): until the operator acts, the
  // active form's window asks for it again, at most this many times more,
  // each time the keyboard went elsewhere. It never asks while a modal
  // window other than the active form's stands (a message box), and takes
  // it back only from the window of another form.
  int keyboard_retries_ = 0;
  const void* keyboard_seen_in_ = nullptr;  // the window that had it at the last ask
  std::vector<QPointer<FormWindow>> dropped_;  // deleted later, at the latest with the backend
  QElapsedTimer clock_;
  QElapsedTimer last_sync_;
  QElapsedTimer last_poll_;
  qint64 frame_ns_ = 0;  // 0: sync at every yield
  std::uint64_t syncs_ = 0;
  QTimer wake_;
  std::exception_ptr pending_;
  int twips_per_pixel_ = 15;
  QMargins known_frame_;
  int dispatch_depth_ = 0;
};

// A shell driving the program on the screen. Installs itself on
// construction and puts the previous shell back on destruction.
class QtShell : private QtBackend, public ui::Shell {
 public:
  QtShell();
  ~QtShell() override;
  QtBackend& qt() { return *this; }

 private:
  ui::Shell* previous_ = nullptr;
};

}  // namespace qz::qt

#endif  // QZ_QT_QT_BACKEND_H_
