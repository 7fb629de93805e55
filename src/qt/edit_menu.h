// The edit menu of a text box, as a right click opens it on a desktop:
// 元に戻す, 切り取り, コピー, 貼り付け, 削除 and すべて選択. Each item is the
// editing key it stands for (Ctrl+Z, Ctrl+X, Ctrl+C, Ctrl+V, Delete,
// Ctrl+A) pressed in the box through the model, so the box's and the
// form's key handlers see it as they see the key; an item is enabled when
// its key would change or copy something now.
//
// User-interface thread only.
#ifndef QZ_QT_EDIT_MENU_H_
#define QZ_QT_EDIT_MENU_H_

#include <QPoint>

namespace qz::ui {
class TextControl;
}

namespace qz::qt {

class FormWindow;

// Whether `control` edits text and so has the edit menu (a text box, a
// drop-down combo's text part).
bool HasEditMenu(const qz::ui::TextControl& control);

// Opens the edit menu of `box` of `window` at `global` (it stays open after
// the call, as a popup does; the chosen item goes to the model through the
// window's Dispatch). The box takes the focus first, as the click gives it.
void PopupEditMenu(FormWindow& window, qz::ui::TextControl& box, QPoint global);

}  // namespace qz::qt

#endif  // QZ_QT_EDIT_MENU_H_
