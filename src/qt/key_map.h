// Qt key events as the model's keys: platform key codes and shift masks.
#ifndef QZ_QT_KEY_MAP_H_
#define QZ_QT_KEY_MAP_H_

#include <QKeyEvent>

namespace qz::qt {

struct ModelKey {
  int key_code = 0;  // 0: no platform key (the text is typed only)
  int shift = 0;     // ui::ShiftMask bits
  int ascii = 0;     // the character the key types, 0 none or derived by the shell
};

// The model's key for a Qt key press.
ModelKey MapKey(const QKeyEvent& event);
// The shift mask of Qt keyboard modifiers.
int ShiftOf(Qt::KeyboardModifiers modifiers);

}  // namespace qz::qt

#endif  // QZ_QT_KEY_MAP_H_
