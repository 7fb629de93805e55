// The editor of the grid's active cell: its caret, its selection and the
// editing keys, as in any text box.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/grid/spread.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/text_edit.h"

namespace qz::grid {

int Spread::edit_caret() const { return std::clamp(edit_caret_, 0, ui::CharLength(edit_text_)); }

int Spread::edit_anchor() const { return std::clamp(edit_anchor_, 0, ui::CharLength(edit_text_)); }

void Spread::PlaceEditCaret(int caret, bool extend) {
  edit_caret_ = std::clamp(caret, 0, ui::CharLength(edit_text_));
  if (!extend) edit_anchor_ = edit_caret_;
  // The caret and the selection are drawn in the cell: it must repaint.
  if (editing_) Touch(Range::Cell(active_col_, active_row_));
}

std::string Spread::EditSelection() const {
  const int from = std::min(edit_caret(), edit_anchor()), to = std::max(edit_caret(), edit_anchor());
  const std::size_t a = ui::ByteOffset(edit_text_, from);
  return edit_text_.substr(a, ui::ByteOffset(edit_text_, to) - a);
}

void Spread::EraseEditSelection() {
  const int from = std::min(edit_caret(), edit_anchor()), to = std::max(edit_caret(), edit_anchor());
  if (from == to) return;
  const std::size_t a = ui::ByteOffset(edit_text_, from);
  edit_text_.erase(a, ui::ByteOffset(edit_text_, to) - a);
  PlaceEditCaret(from, false);
}

void Spread::EraseEditChar(bool forward) {
  if (edit_caret() != edit_anchor()) {
    EraseEditSelection();
    return;
  }
  const int caret = edit_caret();
  if (forward ? caret >= ui::CharLength(edit_text_) : caret == 0) return;
  PlaceEditCaret(forward ? caret + 1 : caret - 1, true);
  EraseEditSelection();
}

bool Spread::EditorKey(int key, int shift) {
  const bool with_shift = (shift & kShiftMask) != 0;
  const bool ctrl = (shift & kCtrlMask) != 0 && (shift & kAltMask) == 0;
  if (editing_) {
    const int caret = edit_caret();
    const bool selected = caret != edit_anchor();
    const int sel_from = std::min(caret, edit_anchor()), sel_to = std::max(caret, edit_anchor());
    switch (key) {
      case kKeyLeft:
        PlaceEditCaret(!with_shift && selected ? sel_from : caret - 1, with_shift);
        return true;
      case kKeyRight:
        PlaceEditCaret(!with_shift && selected ? sel_to : caret + 1, with_shift);
        return true;
      case kKeyHome:
        PlaceEditCaret(0, with_shift);
        return true;
      case kKeyEnd:
        PlaceEditCaret(ui::CharLength(edit_text_), with_shift);
        return true;
      case kKeyDelete:
        EraseEditChar(true);
        return true;
      default:
        break;
    }
  }
  if (!ctrl) return false;
  switch (key) {
    case 'A':
      if (!editing_) return false;
      edit_anchor_ = 0;
      PlaceEditCaret(ui::CharLength(edit_text_), true);
      return true;
    case 'C':
    case 'X': {
      const std::string text = editing_ ? EditSelection() : TextAt(active_col_, active_row_);
      if (!text.empty()) ui::SetClipboardText(text);
      if (key == 'X' && editing_) EraseEditSelection();
      return true;
    }
    case 'V': {
      // Pasting is typing: the form's and the grid's KeyPress see it.
      const std::string text = ui::ClipboardLine();
      if (!text.empty()) ui::TypeAsUser(*this, text, [this](const std::string& typed) { TypeText(typed); });
      return true;
    }
    default:
      return false;
  }
}

}  // namespace qz::grid
