#include "qt/edit_menu.h"

#include <QMenu>
#include <QString>

#include "platform/ui/controls.h"
#include "platform/ui/shell.h"
#include "platform/ui/text_edit.h"
#include "qt/form_window.h"

namespace qz::qt {

namespace {

struct EditItem {
  const char* caption;
  int key_code;
  int shift;
  bool separator_before;
};

// Whether the key of `item` would change or copy something in `box` now.
bool ItemApplies(const ui::TextControl& box, const EditItem& item) {
  const bool selected = box.sel_length > 0;
  switch (item.key_code) {
    case 'Z': return box.undo.can && !box.locked;
    case 'X':
    case ui::kKeyDelete: return selected && !box.locked;
    case 'C': return selected;
    case 'V': return !box.locked && !ui::ClipboardLine().empty();
    default: return box.sel_length < ui::CharLength(box.text());  // select all
  }
}

}  // namespace

bool HasEditMenu(const ui::TextControl& control) {
  if (control.kind() == ui::ControlKind::kTextBox) return true;
  const auto* combo = dynamic_cast<const ui::ComboBox*>(&control);
  return combo != nullptr && combo->style == 0;
}

void PopupEditMenu(FormWindow& window, ui::TextControl& box, QPoint global) {
  static constexpr EditItem kItems[] = {
      {"元に戻す(&U)", 'Z', ui::kCtrlMask, false},     {"切り取り(&T)", 'X', ui::kCtrlMask, true},
      {"コピー(&C)", 'C', ui::kCtrlMask, false},       {"貼り付け(&P)", 'V', ui::kCtrlMask, false},
      {"削除(&D)", ui::kKeyDelete, 0, false},          {"すべて選択(&A)", 'A', ui::kCtrlMask, true},
  };
  ui::Form* form = box.form();
  window.Dispatch([form, &box](ui::Shell& shell) {
    if (!shell.TakesUserInput(*form) || !box.visible || !box.enabled) return;
    shell.Activate(*form);
    shell.RunPending();
    if (box.CanFocus() && form->active_control() != &box) form->SetFocusTo(&box);
  });
  auto* menu = new QMenu(&window);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->setObjectName("editMenu");
  for (const EditItem& item : kItems) {
    if (item.separator_before) menu->addSeparator();
    QAction* action = menu->addAction(QString::fromUtf8(item.caption));
    action->setEnabled(ItemApplies(box, item));
    const int key = item.key_code, shift = item.shift;
    QObject::connect(action, &QAction::triggered, &window, [&window, form, &box, key, shift] {
      if (window.form() != form) return;  // the form went while the menu was open
      window.Dispatch([form, &box, key, shift](ui::Shell& shell) {
        if (shell.active_form() == form && form->active_control() == &box) shell.UserKey(key, shift);
      });
    });
  }
  menu->popup(global);
}

}  // namespace qz::qt
