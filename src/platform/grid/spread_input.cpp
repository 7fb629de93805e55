// The active cell, edit mode, events and user actions of the grid model.
#include <algorithm>
#include <string>

#include "platform/grid/spread.h"
#include "platform/grid/spread_cells.h"
#include "platform/text/cp932.h"
#include "platform/ui/text_edit.h"

namespace qz::grid {

namespace {

// Length of the UTF-8 character that starts with `lead`.
std::size_t Utf8Length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

// True for a character that takes one CP932 byte: ASCII and the
// half-width katakana U+FF61..U+FF9F (EF BD A1 .. EF BE 9F).
bool IsSingleByte(std::string_view ch) {
  if (ch.size() == 1) return true;
  if (ch.size() != 3 || static_cast<unsigned char>(ch[0]) != 0xEF) return false;
  const auto b1 = static_cast<unsigned char>(ch[1]);
  const auto b2 = static_cast<unsigned char>(ch[2]);
  return (b1 == 0xBD && b2 >= 0xA1) || (b1 == 0xBE && b2 <= 0x9F);
}

// The half-width form of a typed character, as the code page knows it: a
// character that the code page holds under another form first takes that
// form (the minus sign U+2212 is the code page's full-width minus, U+FF0D),
// so that it narrows like the full-width character it is ("−" as "-").
std::string NarrowTyped(const std::string& ch) {
  const std::string bytes = text::ToCp932(ch);
  return text::ToNarrow(bytes == "?" ? ch : text::FromCp932(bytes));
}

bool TypeAccepts(CellType type, char ch) {
  const bool digit = ch >= '0' && ch <= '9';
  if (type == CellType::kInteger) return digit || ch == '-' || ch == '+';
  if (type == CellType::kFloat) return digit || ch == '-' || ch == '+' || ch == '.';
  return true;
}

// The key code a person presses for `ch`: digits and letters their own
// codes, a blank the space bar, anything else the input method's key.
int KeyCodeFor(std::string_view ch) {
  if (ch.size() == 1) {
    const char c = ch[0];
    if ((c >= '0' && c <= '9') || c == ' ') return c;
    if (c >= 'A' && c <= 'Z') return c;
    if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
  }
  return 229;
}

}  // namespace

// --- Active cell and scrolling -----------------------------------------------

bool Spread::MoveActiveCell(int c, int r) {
  if (c < 1 || r < 1 || c > max_cols_ || r > max_rows_) return false;
  if (c == active_col_ && r == active_row_) return true;
  CommitEdit();
  const int from_col = active_col_, from_row = active_row_;
  bool cancel = false;
  if (on_leave_cell) on_leave_cell(from_col, from_row, c, r, cancel);
  // A handler that cancels, or that moved the active cell itself, decides
  // where the active cell stays; so does one that made the grid too small
  // for the target.
  if (c > max_cols_ || r > max_rows_) return false;
  if (!cancel && active_col_ == from_col && active_row_ == from_row) {
    active_col_ = c;
    active_row_ = r;
    TouchView();
    const int saved_col = col, saved_row = row;
    col = c;
    row = r;
    SetAction(kActionGotoCell);
    col = saved_col;
    row = saved_row;
  }
  return active_col_ == c && active_row_ == r;
}

void Spread::SetAction(int action) {
  switch (action) {
    case kActionActiveCell:
      MoveActiveCell(col, row);
      return;
    case kActionGotoCell:
    case kActionGotoTop: {
      TouchView();
      const int first_row = std::max(1, rows_frozen + 1);
      const int first_col = std::max(1, cols_frozen + 1);
      if (row >= first_row && row <= max_rows_) {
        if (action == kActionGotoTop || row < top_row_) {
          top_row_ = row;
        } else if (row >= top_row_ + page_rows) {
          top_row_ = row - std::max(1, page_rows) + 1;
        }
        top_row_ = std::max(top_row_, first_row);
      }
      if (col >= first_col && col <= max_cols_) {
        if (col < left_col_) {
          left_col_ = col;
        } else if (col >= left_col_ + page_cols) {
          left_col_ = col - std::max(1, page_cols) + 1;
        }
        left_col_ = std::max(left_col_, first_col);
      }
      return;
    }
    default:
      return;
  }
}

void Spread::MoveBy(int dcol, int drow) {
  int c = active_col_, r = active_row_;
  if (dcol != 0) {
    const int step = dcol > 0 ? 1 : -1;
    c += step;
    while (c >= 1 && c <= max_cols_ && ColWidth(c) == 0) c += step;
    if (c < 1 || c > max_cols_) return;
  }
  if (drow == 1 || drow == -1) {
    r += drow;
    while (r >= 1 && r <= max_rows_ && RowHeight(r) == 0) r += drow;
    if (r < 1 || r > max_rows_) return;
  } else if (drow != 0) {
    r = std::clamp(r + drow, 1, std::max(1, max_rows_));
  }
  MoveActiveCell(c, r);
}

// --- Edit mode -----------------------------------------------------------------

void Spread::SetEditMode(bool on) {
  if (!on) {
    CommitEdit();
    return;
  }
  if (editing_ || !CellTakesInput(active_col_, active_row_)) return;
  edit_before_ = TextAt(active_col_, active_row_);
  edit_text_ = edit_before_;
  editing_ = true;
  PlaceEditCaret(ui::CharLength(edit_text_), false);
}

void Spread::CommitEdit() {
  if (!editing_) return;
  editing_ = false;
  std::string text = std::move(edit_text_);
  edit_text_.clear();
  const int c = active_col_, r = active_row_;
  if (!InGrid(c, r)) return;
  CellRef(c, r).text = text;
  if (text != edit_before_ && on_change) on_change(c, r);
}

void Spread::AbandonEdit() {
  if (editing_ && InGrid(active_col_, active_row_)) Touch(Range::Cell(active_col_, active_row_));
  editing_ = false;
  edit_text_.clear();
}

void Spread::ToggleCheck(int c, int r) {
  Cell& cell = CellRef(c, r);
  const char next = cell.text == "1" ? '0' : '1';
  cell.text.assign(1, next);
  if (on_change) on_change(c, r);
}

// --- Focus ---------------------------------------------------------------------

void Spread::OnFocusArriving(Control*) { focused_ = true; }

void Spread::OnFocusLeaving(Control*) {
  CommitEdit();
  focused_ = false;
  // The focus leaves whatever the handler answers.
  bool cancel = false;
  if (on_leave_cell) on_leave_cell(active_col_, active_row_, -1, -1, cancel);
}

// --- User actions ----------------------------------------------------------------

void Spread::ClickCell(int c, int r, float x, float y) {
  if (!visible || !enabled || !InGrid(c, r)) return;
  if (!IsHeader(c, r) && MoveActiveCell(c, r) && InGrid(c, r) &&
      FormatAt(c, r).type == CellType::kCheckBox && !CellLocked(c, r)) {
    ToggleCheck(c, r);
  }
  // The leave-cell or change handler may have unloaded the form.
  if (FormGone()) return;
  if (on_mouse_up) on_mouse_up(kButtonLeft, 0, x, y);
  if (FormGone()) return;
  if (on_click) on_click(c, r);
}

void Spread::DoubleClickCell(int c, int r, float x, float y) {
  if (!visible || !enabled || !InGrid(c, r)) return;
  ClickCell(c, r, x, y);
  if (!FormGone()) SecondClickOfDouble(c, r);
}

void Spread::SecondClickOfDouble(int c, int r) {
  if (!visible || !enabled || !InGrid(c, r)) return;
  if (c == active_col_ && r == active_row_) SetEditMode(true);
  if (on_dbl_click) on_dbl_click(c, r);
}

void Spread::RightClickCell(int c, int r, float x, float y) {
  if (!visible || !enabled || !InGrid(c, r)) return;
  if (on_right_click) on_right_click(1, c, r, static_cast<int>(x), static_cast<int>(y));
  if (on_mouse_up) on_mouse_up(kButtonRight, 0, x, y);
}

int Spread::DeliverKeyDown(int key, int shift) {
  if (!visible || !enabled) return key;
  if (on_key_down) on_key_down(key, shift);
  if (EditorKey(key, shift)) return key;
  switch (key) {
    case kKeyReturn:
      CommitEdit();
      break;
    case kKeyEscape:
      AbandonEdit();
      break;
    case kKeyF2:
      SetEditMode(true);
      break;
    case kKeyBack:
      if (editing_) EraseEditChar(false);
      break;
    case kKeyTab:
      MoveBy((shift & kShiftMask) != 0 ? -1 : 1, 0);
      break;
    case kKeyLeft:
    case kKeyRight:
      if (!editing_) MoveBy(key == kKeyLeft ? -1 : 1, 0);
      break;
    case kKeyUp:
      MoveBy(0, -1);
      break;
    case kKeyDown:
      if ((shift & kAltMask) == 0) MoveBy(0, 1);  // Alt+Down drops a list down
      break;
    case kKeyPageUp:
    case kKeyPageDown:
      MoveBy(0, (key == kKeyPageUp ? -1 : 1) * std::max(2, page_rows));
      break;
    case kKeySpace:
      if (!editing_ && FormatAt(active_col_, active_row_).type == CellType::kCheckBox &&
          InGrid(active_col_, active_row_) && !CellLocked(active_col_, active_row_)) {
        ToggleCheck(active_col_, active_row_);
      }
      break;
    default:
      break;
  }
  return key;
}

bool Spread::TypeText(std::string_view text) {
  if (!visible || !enabled) return false;
  const int c = active_col_, r = active_row_;
  if (!CellTakesInput(c, r)) return false;
  const CellFormat f = FormatAt(c, r);
  // The editor as the typing leaves it; a cell not being edited starts
  // empty (typing replaces its text).
  std::string typed = editing_ ? edit_text_ : std::string();
  int caret = editing_ ? edit_caret() : 0;
  int anchor = editing_ ? edit_anchor() : 0;
  bool accepted = false;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t len = std::min(Utf8Length(static_cast<unsigned char>(text[i])), text.size() - i);
    std::string ch(text.substr(i, len));
    i += len;
    // A single-byte cell takes a full-width character in its half-width
    // form, as the input method gives it in half-width mode.
    if (f.edit_char_set == kCharSetSingleByte && !IsSingleByte(ch)) ch = NarrowTyped(ch);
    if (f.edit_char_set == kCharSetSingleByte && !IsSingleByte(ch)) continue;
    // The cell's text is stored in the code page: a character it cannot
    // hold would be stored as "?".
    if (!text::Cp932Holds(ch)) continue;
    if (ch.size() == 1 && !TypeAccepts(f.type, ch[0])) continue;
    if (ch.size() != 1 && (f.type == CellType::kInteger || f.type == CellType::kFloat)) continue;
    // A character replaces the selection and goes in at the caret.
    const int from = std::min(caret, anchor), to = std::max(caret, anchor);
    const std::size_t a = ui::ByteOffset(typed, from), b = ui::ByteOffset(typed, to);
    if (f.max_edit_len > 0 && text::Cp932Length(typed) - text::Cp932Length(typed.substr(a, b - a)) +
                                      text::Cp932Length(ch) >
                                  static_cast<std::size_t>(f.max_edit_len)) {
      continue;
    }
    typed.replace(a, b - a, ch);
    caret = anchor = from + 1;
    accepted = true;
  }
  // Characters the cell refuses start no edit: the text stays as it was.
  if (!editing_ && !accepted) return true;
  if (!editing_) {
    edit_before_ = TextAt(c, r);
    editing_ = true;
  }
  edit_text_ = std::move(typed);
  edit_caret_ = caret;
  edit_anchor_ = anchor;
  Touch(Range::Cell(c, r));
  if (f.type == CellType::kComboBox) CellRef(c, r).combo_sel = -1;
  return true;
}

void Spread::TypeIntoCell(int c, int r, std::string_view text) {
  if (!visible || !enabled) return;
  if (c != active_col_ || r != active_row_) ClickCell(c, r);
  if (c != active_col_ || r != active_row_) return;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t len = std::min(Utf8Length(static_cast<unsigned char>(text[i])), text.size() - i);
    const std::string_view ch = text.substr(i, len);
    i += len;
    const bool upper = len == 1 && ch[0] >= 'A' && ch[0] <= 'Z';
    DeliverKeyDown(KeyCodeFor(ch), upper ? kShiftMask : 0);
    TypeText(ch);
  }
}

bool Spread::PickComboEntry(int index) {
  if (!visible || !enabled) return false;
  const int c = active_col_, r = active_row_;
  if (!InGrid(c, r) || CellLocked(c, r)) return false;
  const CellFormat f = FormatAt(c, r);
  if (f.type != CellType::kComboBox) return false;
  if (index < 0 || index >= static_cast<int>(f.combo_entries.size())) return false;
  AbandonEdit();
  Cell& cell = CellRef(c, r);
  cell.combo_sel = index;
  cell.text = f.combo_entries[index];
  if (on_change) on_change(c, r);
  return true;
}

void Spread::PointAt(int c, int r) {
  point_col_ = c;
  point_row_ = r;
}

void Spread::HandleKeyDown(int& key_code, int& shift) { key_code = DeliverKeyDown(key_code, shift); }

void Spread::HandleChar(int& ascii, std::string_view text) {
  Control::HandleChar(ascii, text);  // KeyPress
  // Control codes (Enter, Back, Esc) were handled as keys.
  if (ascii < 32) return;
  TypeText(text.empty() ? ui::EncodeCodePoint(ascii) : std::string(text));
}

void Spread::HandleClick(int button, int) {
  int c = active_col_, r = active_row_;
  if (InGrid(point_col_, point_row_)) {
    c = point_col_;
    r = point_row_;
  }
  point_col_ = point_row_ = -1;
  if (button == kButtonLeft) {
    ClickCell(c, r);
  } else if (button == kButtonRight) {
    RightClickCell(c, r);
  }
}

std::optional<std::string> Spread::FetchTextTip(int c, int r) {
  if (text_tip == 0 || !InGrid(c, r)) return std::nullopt;
  if ((text_tip == 3 || text_tip == 4) && !focused_) return std::nullopt;
  std::string tip = TextAt(c, r);
  int multi_line = 0, tip_width = 0;
  bool show = true;
  if (on_text_tip_fetch) on_text_tip_fetch(c, r, multi_line, tip_width, tip, show);
  if (!show) return std::nullopt;
  return tip;
}

}  // namespace qz::grid
