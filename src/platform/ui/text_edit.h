// Editing of the text of a text box or combo box as typing does it: the
// selection (SelStart/SelLength, in characters) is replaced by the typed
// text, Back erases the selection or the character before the caret, and
// MaxLength limits what typing may add. The editing keys move the caret and
// the selection and reach the clipboard (clipboard.h). Texts are UTF-8.
#ifndef QZ_PLATFORM_UI_TEXT_EDIT_H_
#define QZ_PLATFORM_UI_TEXT_EDIT_H_

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/controls.h"

namespace qz::ui {

// The characters (code points) of `text`, each as its UTF-8 bytes.
std::vector<std::string> SplitChars(std::string_view text);
// The code point of one UTF-8 character (0 for an empty text).
int CodePoint(std::string_view ch);
std::string EncodeCodePoint(int code_point);
// Number of characters of `text`.
int CharLength(std::string_view text);
// Byte offset of character `chars` of `text` (the end when it has fewer).
std::size_t ByteOffset(std::string_view text, int chars);

// Replaces the selection by `text` (refused when MaxLength would be passed
// or the code page cannot hold one of its characters) and puts the caret
// after it. Raises Change when the text changed.
void InsertText(TextControl& edit, const std::string& text);
// Erases the selection, or the character before the caret.
void EraseBack(TextControl& edit);
// Undoes the last edit (TextControl::undo), as a text box's single undo
// does: undone again, the edit comes back. Nothing without an edit to undo
// or in a locked control.
void UndoEdit(TextControl& edit);

// The editing keys of a text box after its KeyDown handlers let the key
// through: Left/Right/Home/End move the caret (with Shift they extend the
// selection from its anchor), Delete erases the selection or the character
// after the caret, Ctrl+Z undoes the last edit (UndoEdit), Ctrl+A selects
// everything, Ctrl+C copies the selection
// to the clipboard, Ctrl+X copies and erases it and Ctrl+V types the
// clipboard's first line as if the user had typed it (through the current
// shell's typing when `edit` has the focus of the active form, so the
// KeyPress handlers see every character). A locked control still moves,
// selects and copies. Returns true when the key was one of these.
bool HandleEditingKey(TextControl& edit, int key_code, int shift);

// The clipboard's first line without its control characters: what a paste
// types into a one-line editor.
std::string ClipboardLine();
// Types `text` into `control` as the user does: through the current shell
// when the control has the focus of the active form (the KeyPress handlers
// see every character), else through `direct`.
void TypeAsUser(Control& control, const std::string& text, const std::function<void(const std::string&)>& direct);

}  // namespace qz::ui

#endif  // QZ_PLATFORM_UI_TEXT_EDIT_H_
