#include "qt/key_map.h"

#include "platform/ui/shell.h"

namespace qz::qt {

int ShiftOf(Qt::KeyboardModifiers m) {
  int s = 0;
  if (m & Qt::ShiftModifier) s |= ui::kShiftMask;
  if (m & Qt::ControlModifier) s |= ui::kCtrlMask;
  if (m & Qt::AltModifier) s |= ui::kAltMask;
  return s;
}

namespace {

int KeypadCode(int key) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return 96 + (key - Qt::Key_0);
  switch (key) {
    case Qt::Key_Asterisk: return 106;
    case Qt::Key_Plus: return 107;
    case Qt::Key_Minus: return 109;
    case Qt::Key_Period: return 110;
    case Qt::Key_Slash: return 111;
    case Qt::Key_Enter: return ui::kKeyReturn;
    default: return 0;
  }
}

int PlainCode(int key) {
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return '0' + (key - Qt::Key_0);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return ui::kKeyF1 + (key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return ui::kKeyReturn;
    case Qt::Key_Escape: return ui::kKeyEscape;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return ui::kKeyTab;
    case Qt::Key_Backspace: return ui::kKeyBack;
    case Qt::Key_Space: return ui::kKeySpace;
    case Qt::Key_PageUp: return ui::kKeyPageUp;
    case Qt::Key_PageDown: return ui::kKeyPageDown;
    case Qt::Key_End: return ui::kKeyEnd;
    case Qt::Key_Home: return ui::kKeyHome;
    case Qt::Key_Left: return ui::kKeyLeft;
    case Qt::Key_Up: return ui::kKeyUp;
    case Qt::Key_Right: return ui::kKeyRight;
    case Qt::Key_Down: return ui::kKeyDown;
    case Qt::Key_Insert: return ui::kKeyInsert;
    case Qt::Key_Delete: return ui::kKeyDelete;
    case Qt::Key_Shift: return ui::kKeyShift;
    case Qt::Key_Control: return ui::kKeyControl;
    case Qt::Key_Alt: return ui::kKeyMenu;
    case Qt::Key_Semicolon:
    case Qt::Key_Colon: return 186;
    case Qt::Key_Equal:
    case Qt::Key_Plus: return 187;
    case Qt::Key_Comma:
    case Qt::Key_Less: return 188;
    case Qt::Key_Minus: return 189;
    case Qt::Key_Period:
    case Qt::Key_Greater: return 190;
    case Qt::Key_Slash:
    case Qt::Key_Question: return 191;
    default: return 0;
  }
}

}  // namespace

ModelKey MapKey(const QKeyEvent& e) {
  ModelKey k;
  k.shift = ShiftOf(e.modifiers());
  if (e.key() == Qt::Key_Backtab) k.shift |= ui::kShiftMask;
  k.key_code = (e.modifiers() & Qt::KeypadModifier) ? KeypadCode(e.key()) : 0;
  if (k.key_code == 0) k.key_code = PlainCode(e.key());
  const QString text = e.text();
  if (!text.isEmpty() && (k.shift & (ui::kCtrlMask | ui::kAltMask)) == 0) {
    const char32_t c = text.toUcs4().value(0);
    if (c >= 32 && c != 127) k.ascii = static_cast<int>(c);
  }
  return k;
}

}  // namespace qz::qt
