// FormWindow: the top-level window rendering one form model, with one
// widget per visible kind of control (labels, buttons, check and option
// buttons, text, combo and list boxes, frames, pictures, the grids and the
// tab strip; timers have none).
//
// Sync() brings the widgets in step with the model (texts, values, colours,
// fonts, geometry in twips, visibility, enabled state, the active form and
// the focused control, what the input method does in it); it writes to a
// widget only what differs. The input method's queries whether it composes
// in a widget, and with which hints, are answered from the program's
// decision for the control (Fnc_FieldIme: for a grid, its active cell), and
// the input method is told at every move of the focus or the active cell. The window takes every mouse press, key, typed text and the
// close box of its widgets and hands them to the model through the
// backend's Dispatch: Qt's own editing, toggling, focus moves and shortcuts
// never run, so the model's handlers see every key first. The close box
// goes to the shell's close box (refused without the Close item); Alt+F4
// goes to the model as a key, whose handlers see it before the shell
// treats it as the close box.
//
// A form's size is its window's with the frame the window system puts
// around it (title bar and borders); its controls stand in the inside. The
// frame is the window's own once the window system told it, before that
// the last one any window of the program was given.
//
// A form shown by another is a dialog of its owner's window: transient for
// it (so it stays above it) and, when the program did not place it,
// centred on it, moved below the owner's header (what stands above its
// largest control) when it fits there; every window is kept inside the screen's available area.
// While the form is minimised its window is a window of its own, transient
// for none: a window manager minimises a window's owner with it, and
// restores a dialog with any window of its program it activates.
// The user's moves, resizes, minimising and maximising are written back to
// the form (its Move and window state, so Resize is raised), never undone;
// while the program works the form only learns its window's place (its new
// size, with Resize, once the work is over).
//
// Made and owned by QtBackend. Detach() cuts it from the model before the
// form goes away; a detached window renders nothing and forwards nothing.
#ifndef QZ_QT_FORM_WINDOW_H_
#define QZ_QT_FORM_WINDOW_H_

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>

#include "data/imm_on_off.h"

#include "platform/ui/control.h"
#include "platform/ui/form.h"
#include "platform/ui/shell.h"

namespace qz::qt {

class QtBackend;
class SpreadView;
class ListGridView;

class FormWindow : public QWidget {
  Q_OBJECT

 public:
  FormWindow(QtBackend& backend, ui::Form& form);
  ~FormWindow() override;

  void Sync();
  // Raises the window and asks for the keyboard (a shown window that is not
  // minimised).
  void TakeKeyboard();
  void Detach();
  // Before the form's window is shown: makes it a dialog of `owner` (nullptr
  // for a window of its own), modal or not, and places it.
  void PrepareShow(FormWindow* owner, bool modal);
  ui::Form* form() const { return form_; }
  QWidget* WidgetOf(const ui::Control& control) const;
  // Pixels of a length in twips at the backend's screen.
  int Px(int twips) const;
  // QtBackend::Dispatch, for the views of the window.
  void Dispatch(const std::function<void(ui::Shell&)>& action);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  bool event(QEvent* event) override;
  // Drops what the window system says of a window the program has hidden
  // that would still map or activate it (late_window_events.h).
  bool nativeEvent(const QByteArray& event_type, void* message, qintptr* result) override;
  void changeEvent(QEvent* event) override;

 private:
  // Window frame (form_window_frame.cpp).
  void SyncGeometry();
  void SyncWindowState();
  void WriteBackGeometry();
  // Makes the window a dialog transient for its owner's, or, without owner
  // or while `state` is minimised, a window of its own.
  void FollowOwner(ui::WindowState state);
  int Twips(int px) const;
  // The frame around the window's inside (none for a frameless window).
  QMargins Frame() const;
  // The inside of the window for the form's size.
  QSize ClientSize() const;
  // The global top of the window's working area, its largest visible
  // control (a screen's grid below its header); -1 when it has none.
  int WorkingAreaTop() const;

  QWidget* Build(ui::Control& control);
  void Watch(QWidget* widget, ui::Control* control);
  void SyncControl(ui::Control& control, QWidget* widget);
  // Gives `w` the model font `font` of `owner` (the form or a control).
  void SyncFont(const void* owner, QWidget* w, const ui::Font& font);
  void SyncIme();
  bool HandleKey(QKeyEvent* event);
  bool HandleMouse(ui::Control& control, QObject* watched, QMouseEvent* event, bool dbl);
  void FocusByUser(ui::Control& control);

  QtBackend& backend_;
  ui::Form* form_;
  std::map<const ui::Control*, QWidget*> widgets_;
  std::map<const QObject*, ui::Control*> watched_;
  std::map<const void*, ui::Font> fonts_;  // the model fonts last applied
  bool was_active_ = false;
  ui::Control* focused_ = nullptr;
  // What the input method was last told (SyncIme): the focused control,
  // its grid's revision and active cell, its answer, the window's state.
  struct ImeTold {
    const ui::Control* focus = nullptr;
    std::uint64_t revision = 0;
    int col = -1, row = -1;
    FieldIme answer;
    ui::ImeState state;
  };
  std::optional<ImeTold> ime_told_;
  bool applying_geometry_ = false;  // the window follows the form: no write-back
  // The inside last given to the window for the form's size: a window of
  // that size has the form's size, whatever frame it got since.
  QSize applied_client_;
  // The form's size (twips) when the user resized the window while the
  // program worked: the form learns the new size (and lays itself out)
  // once the work is over; until then, while the program leaves the form's
  // size as it was, the window keeps the user's size. Invalid: none owed.
  QSize resize_owed_from_;
  QPointer<FormWindow> owner_;  // the window it is a dialog of, or none
};

}  // namespace qz::qt

#endif  // QZ_QT_FORM_WINDOW_H_
