#include "qt/form_window.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QInputMethodQueryEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QWheelEvent>

#include "data/imm_on_off.h"
#include "platform/grid/list_grid.h"
#include "platform/grid/spread.h"
#include "platform/grid/tab_strip.h"
#include "platform/ui/controls.h"
#include "platform/ui/shell.h"
#include "qt/caption_wrap.h"
#include "qt/edit_menu.h"
#include "qt/input_method_adapter.h"
#include "qt/key_map.h"
#include "qt/list_grid_view.h"
#include "qt/model_sight.h"
#include "qt/qt_backend.h"
#include "qt/qt_style.h"
#include "qt/spread_view.h"

namespace qz::qt {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Whether the user can reach the control now: its form takes input (no work
// in progress holds it back) and the control and its containers are visible
// and enabled.
bool UserCanReach(const ui::Control& control) {
  const ui::Form* f = control.form();
  const ui::Shell* shell = ui::Shell::Current();
  if (f == nullptr || shell == nullptr || !shell->TakesUserInput(*f)) return false;
  for (const ui::Control* c = &control; c != nullptr; c = c->container) {
    if (!c->visible || !c->enabled) return false;
  }
  return true;
}

void SetColors(QWidget* w, QPalette::ColorRole back_role, QPalette::ColorRole fore_role, ui::Color back,
               ui::Color fore) {
  const QPalette base = QApplication::palette();
  const QColor b = ResolveColor(back, base);
  const QColor f = ResolveColor(fore, base);
  QPalette p = w->palette();
  if (p.color(back_role) == b && p.color(fore_role) == f) return;
  p.setColor(back_role, b);
  p.setColor(fore_role, f);
  w->setPalette(p);
}

Qt::Alignment AlignOf(int alignment) {
  switch (alignment) {
    case 1: return Qt::AlignRight | Qt::AlignVCenter;
    case 2: return Qt::AlignHCenter | Qt::AlignVCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
  }
}

void SyncItems(QComboBox* box, const ui::ListControl& list) {
  bool same = box->count() == list.list_count();
  for (int i = 0; same && i < list.list_count(); ++i) same = box->itemText(i) == Q(list.List(i));
  if (!same) {
    box->clear();
    for (int i = 0; i < list.list_count(); ++i) box->addItem(Q(list.List(i)));
  }
  if (box->currentIndex() != list.list_index()) box->setCurrentIndex(list.list_index());
  if (box->isEditable() && box->lineEdit()->text() != Q(list.text())) box->lineEdit()->setText(Q(list.text()));
}

void SyncItems(QListWidget* box, const ui::ListControl& list) {
  bool same = box->count() == list.list_count();
  for (int i = 0; same && i < list.list_count(); ++i) same = box->item(i)->text() == Q(list.List(i));
  if (!same) {
    box->clear();
    for (int i = 0; i < list.list_count(); ++i) box->addItem(Q(list.List(i)));
  }
  if (box->currentRow() != list.list_index()) box->setCurrentRow(list.list_index());
}

}  // namespace

FormWindow::FormWindow(QtBackend& backend, ui::Form& form) : QWidget(nullptr), backend_(backend), form_(&form) {
  setAttribute(Qt::WA_InputMethodEnabled, true);
  setAutoFillBackground(true);
  setFocusPolicy(Qt::StrongFocus);
  // A window without caption and system menu is a plain box; one whose
  // Close item was removed has no close button.
  Qt::WindowFlags flags = Qt::Window;
  if (form.caption.empty() && form.system_menu.empty()) {
    flags |= Qt::FramelessWindowHint;
  } else if (!form.HasCloseItem()) {
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint;
  }
  setWindowFlags(flags);
  setObjectName(Q(form.name()));
  for (ui::Control* c : form.controls()) {
    if (QWidget* w = Build(*c)) widgets_[c] = w;
  }
  // Controls stand in their containers, positioned within them.
  for (ui::Control* c : form.controls()) {
    auto it = widgets_.find(c);
    if (it == widgets_.end() || c->container == nullptr) continue;
    auto parent = widgets_.find(c->container);
    if (parent != widgets_.end()) it->second->setParent(parent->second);
  }
  for (auto& [c, w] : widgets_) Watch(w, const_cast<ui::Control*>(c));
}

FormWindow::~FormWindow() = default;

int FormWindow::Px(int twips) const { return TwipsToPixels(twips, backend_.twips_per_pixel()); }

void FormWindow::Dispatch(const std::function<void(ui::Shell&)>& action) { backend_.Dispatch(action); }

QWidget* FormWindow::WidgetOf(const ui::Control& control) const {
  auto it = widgets_.find(&control);
  return it == widgets_.end() ? nullptr : it->second;
}

QWidget* FormWindow::Build(ui::Control& c) {
  QWidget* w = nullptr;
  switch (c.kind()) {
    case ui::ControlKind::kLabel: {
      auto* l = new QLabel(this);
      l->setTextFormat(Qt::PlainText);
      l->setAutoFillBackground(true);
      l->setWordWrap(true);
      w = l;
      break;
    }
    case ui::ControlKind::kButton: {
      auto* b = new QPushButton(this);
      b->setAutoDefault(false);
      w = b;
      break;
    }
    case ui::ControlKind::kCheckBox: {
      auto* b = new QCheckBox(this);
      b->setTristate(true);
      b->setAutoFillBackground(true);
      w = b;
      break;
    }
    case ui::ControlKind::kOptionButton: {
      auto* b = new QRadioButton(this);
      b->setAutoExclusive(false);
      b->setAutoFillBackground(true);
      w = b;
      break;
    }
    case ui::ControlKind::kTextBox: {
      auto* e = new QLineEdit(this);
      e->setDragEnabled(false);
      e->setAcceptDrops(false);
      w = e;
      break;
    }
    case ui::ControlKind::kComboBox: {
      auto* box = new QComboBox(this);
      auto& combo = static_cast<ui::ComboBox&>(c);
      box->setEditable(combo.style == 0);
      connect(box, &QComboBox::activated, this, [this, &combo](int i) {
        backend_.Dispatch([&combo, i](ui::Shell&) {
          if (UserCanReach(combo) && i < combo.list_count()) combo.SetListIndex(i);
        });
      });
      w = box;
      break;
    }
    case ui::ControlKind::kListBox:
      w = new QListWidget(this);
      break;
    case ui::ControlKind::kFrame:
      w = new QGroupBox(this);
      w->setAutoFillBackground(true);
      break;
    case ui::ControlKind::kPicture: {
      auto* f = new QFrame(this);
      f->setAutoFillBackground(true);
      w = f;
      break;
    }
    case ui::ControlKind::kSpread:
      w = new SpreadView(*this, static_cast<grid::Spread&>(c), this);
      break;
    case ui::ControlKind::kListGrid:
      w = new ListGridView(*this, static_cast<grid::ListGrid&>(c), this);
      break;
    case ui::ControlKind::kTabStrip: {
      auto* t = new QTabBar(this);
      t->setDrawBase(true);
      t->setExpanding(false);
      w = t;
      break;
    }
    case ui::ControlKind::kTimer:
      return nullptr;
  }
  w->setObjectName(Q(c.index() >= 0 ? c.name() + "(" + std::to_string(c.index()) + ")" : c.name()));
  w->setFocusPolicy(c.CanFocus() || c.kind() != ui::ControlKind::kLabel ? Qt::StrongFocus : Qt::NoFocus);
  if (c.kind() == ui::ControlKind::kLabel || c.kind() == ui::ControlKind::kFrame ||
      c.kind() == ui::ControlKind::kPicture) {
    w->setFocusPolicy(Qt::NoFocus);
  }
  return w;
}

void FormWindow::Watch(QWidget* widget, ui::Control* control) {
  widget->installEventFilter(this);
  watched_[widget] = control;
  for (QWidget* child : widget->findChildren<QWidget*>()) {
    if (watched_.count(child) != 0) continue;  // a control of its own
    bool own = false;
    for (auto& [c, w] : widgets_) own = own || w == child;
    if (own) continue;
    child->installEventFilter(this);
    watched_[child] = control;
  }
}

void FormWindow::Detach() {
  form_ = nullptr;
  for (auto& [c, w] : widgets_) {
    if (auto* s = qobject_cast<SpreadView*>(w)) s->Detach();
    if (auto* g = qobject_cast<ListGridView*>(w)) g->Detach();
  }
}

// --- Model to widgets --------------------------------------------------------------

void FormWindow::Sync() {
  if (form_ == nullptr) return;
  ui::Form& f = *form_;
  if (windowTitle() != Q(f.caption)) setWindowTitle(Q(f.caption));
  SetColors(this, QPalette::Window, QPalette::WindowText, f.back_color, f.fore_color);
  SyncFont(&f, this, f.font);
  SyncGeometry();
  for (ui::Control* c : f.controls()) {
    auto it = widgets_.find(c);
    if (it != widgets_.end()) SyncControl(*c, it->second);
  }
  SyncWindowState();
  ui::Shell* shell = ui::Shell::Current();
  const bool active = shell != nullptr && shell->active_form() == &f && f.visible();
  // A window opens with the keyboard only when it is the active form's and
  // not minimised.
  if (f.visible() && !isVisible()) {
    setAttribute(Qt::WA_ShowWithoutActivating, !active || f.window_state() == ui::WindowState::kMinimized);
  }
  if (f.visible() != isVisible()) setVisible(f.visible());
  if (active && !was_active_) TakeKeyboard();
  was_active_ = active;
  if (active && f.active_control() != nullptr) {
    QWidget* w = WidgetOf(*f.active_control());
    if (auto* s = qobject_cast<SpreadView*>(w)) w = s->FocusWidget();
    if (auto* g = qobject_cast<ListGridView*>(w)) w = g->FocusWidget();
    QWidget* target = w != nullptr && w->focusProxy() != nullptr ? w->focusProxy() : w;
    if (target != nullptr && QApplication::focusWidget() != target) target->setFocus(Qt::OtherFocusReason);
  } else if (active && f.active_control() == nullptr && focused_ != nullptr) {
    setFocus(Qt::OtherFocusReason);
  }
  focused_ = f.active_control();
  SyncIme();
}

void FormWindow::TakeKeyboard() {
  if (!isVisible() || isMinimized()) return;
  raise();
  activateWindow();
}

void FormWindow::SyncControl(ui::Control& c, QWidget* w) {
  QRect geometry(Px(c.left), Px(c.top), Px(c.width), Px(c.height));
  // A combo box without a height of its own is as tall as its font makes it.
  if (c.kind() == ui::ControlKind::kComboBox && c.height <= 0) geometry.setHeight(w->sizeHint().height());
  if (w->geometry() != geometry) w->setGeometry(geometry);
  if (w->isEnabled() != c.enabled) w->setEnabled(c.enabled);
  SyncFont(&c, w, c.font);
  if (w->toolTip() != Q(c.tool_tip_text)) w->setToolTip(Q(c.tool_tip_text));
  switch (c.kind()) {
    case ui::ControlKind::kLabel: {
      auto* l = static_cast<QLabel*>(w);
      auto& m = static_cast<ui::Label&>(c);
      l->setText(Q(m.caption));
      if (l->alignment() != AlignOf(m.alignment)) l->setAlignment(AlignOf(m.alignment));
      SetColors(w, QPalette::Window, QPalette::WindowText, c.back_color, c.fore_color);
      break;
    }
    case ui::ControlKind::kButton: {
      auto* b = static_cast<QPushButton*>(w);
      b->setText(Q(c.caption));
      b->setDefault(static_cast<ui::CommandButton&>(c).is_default);
      SetColors(w, QPalette::Button, QPalette::ButtonText, c.back_color, c.fore_color);
      break;
    }
    case ui::ControlKind::kCheckBox: {
      auto* b = static_cast<QCheckBox*>(w);
      SetWrappedCaption(*b, Q(c.caption), false);
      const int v = static_cast<ui::CheckBox&>(c).value();
      const Qt::CheckState s = v == 1 ? Qt::Checked : (v == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
      if (b->checkState() != s) b->setCheckState(s);
      SetColors(w, QPalette::Window, QPalette::WindowText, c.back_color, c.fore_color);
      break;
    }
    case ui::ControlKind::kOptionButton: {
      auto* b = static_cast<QRadioButton*>(w);
      SetWrappedCaption(*b, Q(c.caption), true);
      const bool v = static_cast<ui::OptionButton&>(c).value();
      if (b->isChecked() != v) b->setChecked(v);
      SetColors(w, QPalette::Window, QPalette::WindowText, c.back_color, c.fore_color);
      break;
    }
    case ui::ControlKind::kTextBox: {
      auto* e = static_cast<QLineEdit*>(w);
      auto& m = static_cast<ui::TextBox&>(c);
      if (e->text() != Q(m.text())) e->setText(Q(m.text()));
      const QLineEdit::EchoMode echo = m.password_char.empty() ? QLineEdit::Normal : QLineEdit::Password;
      if (e->echoMode() != echo) e->setEchoMode(echo);
      if (m.sel_length > 0) {
        // The caret stays at the end the selection was extended to.
        const int caret = m.caret_at_sel_start ? m.sel_start : m.sel_start + m.sel_length;
        if (e->selectionStart() != m.sel_start || e->selectionLength() != m.sel_length || e->cursorPosition() != caret) {
          e->setSelection(m.caret_at_sel_start ? m.sel_start + m.sel_length : m.sel_start,
                          m.caret_at_sel_start ? -m.sel_length : m.sel_length);
        }
      } else if (e->cursorPosition() != m.sel_start || e->hasSelectedText()) {
        e->setCursorPosition(m.sel_start);
      }
      SetColors(w, QPalette::Base, QPalette::Text, c.back_color, c.fore_color);
      break;
    }
    case ui::ControlKind::kComboBox:
      SyncItems(static_cast<QComboBox*>(w), static_cast<ui::ListControl&>(c));
      SetColors(w, QPalette::Base, QPalette::Text, c.back_color, c.fore_color);
      break;
    case ui::ControlKind::kListBox:
      SyncItems(static_cast<QListWidget*>(w), static_cast<ui::ListControl&>(c));
      SetColors(w, QPalette::Base, QPalette::Text, c.back_color, c.fore_color);
      break;
    case ui::ControlKind::kFrame: {
      auto* g = static_cast<QGroupBox*>(w);
      if (g->title() != Q(c.caption)) g->setTitle(Q(c.caption));
      SetColors(w, QPalette::Window, QPalette::WindowText, c.back_color, c.fore_color);
      break;
    }
    case ui::ControlKind::kPicture:
      SetColors(w, QPalette::Window, QPalette::WindowText, c.back_color, c.fore_color);
      break;
    case ui::ControlKind::kSpread:
      static_cast<SpreadView*>(w)->Sync();
      break;
    case ui::ControlKind::kListGrid:
      static_cast<ListGridView*>(w)->Sync();
      break;
    case ui::ControlKind::kTabStrip: {
      auto* t = static_cast<QTabBar*>(w);
      auto& m = static_cast<grid::TabStrip&>(c);
      while (t->count() > m.count()) t->removeTab(t->count() - 1);
      for (int i = 1; i <= m.count(); ++i) {
        if (i > t->count()) t->addTab(Q(m.tab(i).caption));
        if (t->tabText(i - 1) != Q(m.tab(i).caption)) t->setTabText(i - 1, Q(m.tab(i).caption));
      }
      if (t->currentIndex() != m.selected_index() - 1) t->setCurrentIndex(m.selected_index() - 1);
      break;
    }
    case ui::ControlKind::kTimer:
      break;
  }
  if (w->isVisibleTo(w->parentWidget()) != c.visible) w->setVisible(c.visible);
}

void FormWindow::SyncFont(const void* owner, QWidget* w, const ui::Font& font) {
  // A QFont is built only when the model's font changed.
  auto it = fonts_.find(owner);
  if (it != fonts_.end() && SameFont(it->second, font)) return;
  const QFont qfont = FontFor(font);
  if (w->font() != qfont) w->setFont(qfont);
  fonts_[owner] = font;
}

void FormWindow::SyncIme() {
  const ui::ImeState& ime = form_->ime;
  const ui::Control* focus = form_->active_control();
  const auto* spr = dynamic_cast<const grid::Spread*>(focus);
  ImeTold now;
  now.focus = focus;
  now.state = ime;
  if (spr != nullptr) {
    now.revision = spr->revision();
    now.col = spr->active_col();
    now.row = spr->active_row();
  }
  const bool same_state = ime_told_.has_value() && ime_told_->state.available == ime.available &&
                          ime_told_->state.open == ime.open && ime_told_->state.conversion == ime.conversion;
  const bool same_focus = ime_told_.has_value() && ime_told_->focus == focus;
  // An unchanged grid is not read again.
  if (same_state && same_focus && spr != nullptr && ime_told_->revision == now.revision) return;
  now.answer = focus != nullptr ? Fnc_FieldIme(*focus) : FieldIme{};
  const bool same = same_state && same_focus && ime_told_->col == now.col && ime_told_->row == now.row &&
                    ime_told_->answer == now.answer;
  ime_told_ = now;
  if (same) return;
  // The widgets carry the answers too, for what reads them instead of
  // asking. A grid out of focus is left: its active cell would be read.
  setInputMethodHints(HintsOf({true, ime.open && (ime.conversion & kImeCmodeNative) != 0}));
  for (auto& [obj, control] : watched_) {
    auto* w = qobject_cast<QWidget*>(const_cast<QObject*>(obj));
    if (w == nullptr || w->focusPolicy() == Qt::NoFocus) continue;
    if (control != focus && (same_state || control->kind() == ui::ControlKind::kSpread)) continue;
    const FieldIme answer = control == focus ? now.answer : Fnc_FieldIme(*control);
    w->setAttribute(Qt::WA_InputMethodEnabled, answer.composes);
    w->setInputMethodHints(HintsOf(answer));
  }
  QGuiApplication::inputMethod()->update(Qt::ImEnabled | Qt::ImHints);
}

// --- User input to the model ----------------------------------------------------------

void FormWindow::FocusByUser(ui::Control& control) {
  ui::Form* form = form_;
  backend_.Dispatch([form, &control](ui::Shell& shell) {
    if (!UserCanReach(control)) return;
    shell.Activate(*form);
    shell.RunPending();
    if (control.CanFocus() && form->active_control() != &control) form->SetFocusTo(&control);
  });
}

bool FormWindow::HandleKey(QKeyEvent* e) {
  if (form_ == nullptr) return true;
  backend_.OperatorActs();
  // Alt+F4 too is a key: the form's handlers see it before the shell
  // treats it as the close box.
  const ModelKey k = MapKey(*e);
  if (k.key_code == 0) {
    if (k.ascii != 0) {
      const std::string text = e->text().toStdString();
      backend_.Dispatch([text](ui::Shell& shell) { shell.UserType(text); });
    }
    return true;
  }
  backend_.Dispatch([k](ui::Shell& shell) { shell.UserKey(k.key_code, k.shift, k.ascii); });
  // A list cell drops its list down on Alt+Down or F4.
  if (form_ != nullptr && form_->active_control() != nullptr && UserCanReach(*form_->active_control()) &&
      ((k.key_code == ui::kKeyDown && (k.shift & ui::kAltMask) != 0) || (k.key_code == ui::kKeyF4 && k.shift == 0))) {
    if (auto* s = qobject_cast<SpreadView*>(WidgetOf(*form_->active_control()))) s->PopupCombo();
  }
  return true;
}

bool FormWindow::HandleMouse(ui::Control& c, QObject* watched, QMouseEvent* e, bool dbl) {
  backend_.OperatorActs();
  const int button = e->button() == Qt::LeftButton ? 1 : (e->button() == Qt::RightButton ? 2 : 0);
  if (button == 0) return true;
  const int shift = ShiftOf(e->modifiers());
  const QPoint pos = e->position().toPoint();
  switch (c.kind()) {
    case ui::ControlKind::kSpread: {
      auto* view = static_cast<SpreadView*>(WidgetOf(c));
      auto& spr = static_cast<grid::Spread&>(c);
      int col = 0, row = 0;
      if (!view->CellAt(watched, pos, col, row)) return true;
      // A composition still pending is ended in the cell it was typed in
      // before the click may move the cursor, as it is when the focus
      // leaves a text box: the grid keeps Qt's focus from cell to cell, and
      // the input method would carry it on into the next cell. Some input
      // methods commit it on commit(), others (fcitx5) on reset().
      if (!view->preedit().isEmpty()) {
        QGuiApplication::inputMethod()->commit();
        QGuiApplication::inputMethod()->reset();
      }
      const bool on_active = col == spr.active_col() && row == spr.active_row() && spr.has_focus();
      backend_.Dispatch([&spr, col, row, button, shift, dbl](ui::Shell& shell) {
        if (dbl) {
          if (UserCanReach(spr)) spr.SecondClickOfDouble(col, row);
          return;
        }
        spr.PointAt(col, row);
        shell.UserClick(spr, button, shift);
      });
      if (!dbl && button == 1 && on_active && UserCanReach(spr)) view->PopupCombo();
      return true;
    }
    case ui::ControlKind::kListGrid: {
      auto* view = static_cast<ListGridView*>(WidgetOf(c));
      auto& grid = static_cast<grid::ListGrid&>(c);
      int row = 0, col = 0;
      if (!view->CellAt(watched, pos, row, col)) return true;
      backend_.Dispatch([&grid, row, col, button, shift, dbl](ui::Shell& shell) {
        if (dbl) {
          if (UserCanReach(grid)) grid.SecondClickOfDouble();
          return;
        }
        grid.PointAt(row, col);
        shell.UserClick(grid, button, shift);
      });
      return true;
    }
    case ui::ControlKind::kTabStrip: {
      auto& tabs = static_cast<grid::TabStrip&>(c);
      const int index = static_cast<QTabBar*>(WidgetOf(c))->tabAt(pos) + 1;
      if (index < 1 || dbl) return true;
      backend_.Dispatch([&tabs, index, button, shift](ui::Shell& shell) {
        tabs.PointAt(index);
        shell.UserClick(tabs, button, shift);
      });
      return true;
    }
    case ui::ControlKind::kComboBox:
      FocusByUser(c);
      return false;  // the list drops down as Qt draws it; a pick comes back as activated
    case ui::ControlKind::kListBox: {
      auto* box = static_cast<QListWidget*>(WidgetOf(c));
      QListWidgetItem* item = box->itemAt(box->viewport()->mapFrom(static_cast<QWidget*>(watched), pos));
      const int row = item != nullptr ? box->row(item) : -1;
      FocusByUser(c);
      auto& list = static_cast<ui::ListBox&>(c);
      backend_.Dispatch([&list, row, dbl](ui::Shell&) {
        if (!UserCanReach(list)) return;
        if (row >= 0 && row < list.list_count()) list.SetListIndex(row);
        if (dbl && list.on_dbl_click) list.on_dbl_click();
      });
      return true;
    }
    default:
      if (dbl) {
        backend_.Dispatch([&c](ui::Shell&) {
          if (UserCanReach(c) && c.on_dbl_click) c.on_dbl_click();
        });
      } else {
        backend_.Dispatch([&c, button, shift](ui::Shell& shell) { shell.UserClick(c, button, shift); });
      }
      return true;
  }
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event) {
  auto it = watched_.find(watched);
  if (it == watched_.end()) return false;
  if (qobject_cast<QScrollBar*>(watched) != nullptr) return false;  // scrolling is the view's
  ui::Control* c = it->second;
  if (form_ == nullptr) {
    const QEvent::Type t = event->type();
    return t == QEvent::KeyPress || t == QEvent::MouseButtonPress || t == QEvent::InputMethod;
  }
  switch (event->type()) {
    case QEvent::ShortcutOverride:
      event->accept();
      return true;
    case QEvent::KeyPress:
      return HandleKey(static_cast<QKeyEvent*>(event));
    case QEvent::KeyRelease:
      return true;
    case QEvent::InputMethod:
      DeliverInputMethod(*this, *c, static_cast<QInputMethodEvent*>(event));
      return true;
    case QEvent::InputMethodQuery:
      // The widget answers where its caret is and what text is around it;
      // whether the input method composes here is the program's.
      watched->event(event);
      AnswerFieldIme(*static_cast<QInputMethodQueryEvent*>(event), Fnc_FieldIme(*c));
      return true;
    case QEvent::MouseButtonPress:
      return HandleMouse(*c, watched, static_cast<QMouseEvent*>(event), false);
    case QEvent::MouseButtonDblClick:
      return HandleMouse(*c, watched, static_cast<QMouseEvent*>(event), true);
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
      return c->kind() != ui::ControlKind::kComboBox;
    case QEvent::ContextMenu:
      // A text box has the desktop's edit menu (its items are keys); Qt's
      // own menus never open.
      if (auto* text = dynamic_cast<ui::TextControl*>(c); text != nullptr && HasEditMenu(*text)) {
        PopupEditMenu(*this, *text, static_cast<QContextMenuEvent*>(event)->globalPos());
      }
      return true;
    case QEvent::Wheel:
      if (c->kind() == ui::ControlKind::kSpread) {
        auto* view = static_cast<SpreadView*>(WidgetOf(*c));
        const QPoint d = static_cast<QWheelEvent*>(event)->angleDelta();
        backend_.Dispatch([view, d](ui::Shell&) { view->Wheel(d); });
        return true;
      }
      return false;
    case QEvent::ToolTip:
      if (c->kind() == ui::ControlKind::kSpread) {
        static_cast<SpreadView*>(WidgetOf(*c))->ShowTip(watched, static_cast<QHelpEvent*>(event));
        return true;
      }
      return false;
    default:
      return false;
  }
}

void FormWindow::keyPressEvent(QKeyEvent* event) { HandleKey(event); }

void FormWindow::inputMethodEvent(QInputMethodEvent* event) {
  const std::string text = event->commitString().toStdString();
  if (form_ != nullptr && !text.empty()) backend_.Dispatch([text](ui::Shell& shell) { shell.UserCommit(text); });
  event->accept();
}

bool FormWindow::event(QEvent* event) {
  if (event->type() == QEvent::Move || event->type() == QEvent::Resize) WriteBackGeometry();
  if (event->type() == QEvent::ShortcutOverride) {
    event->accept();
    return true;
  }
  // Tab is the model's: QWidget would move Qt's focus before keyPressEvent.
  if (event->type() == QEvent::KeyPress) {
    HandleKey(static_cast<QKeyEvent*>(event));
    return true;
  }
  return QWidget::event(event);
}

void FormWindow::mousePressEvent(QMouseEvent*) {
  if (form_ == nullptr) return;
  backend_.OperatorActs();
  ui::Form* form = form_;
  backend_.Dispatch([form](ui::Shell& shell) { shell.Activate(*form); });
}

void FormWindow::closeEvent(QCloseEvent* event) {
  // The window closes when the model unloads or hides the form.
  event->ignore();
  if (form_ == nullptr) return;
  ui::Form* form = form_;
  backend_.Dispatch([form](ui::Shell& shell) { shell.UserCloseBox(*form); });
}

}  // namespace qz::qt
