// Clipboard: the text clipboard that the controls' editing keys (Ctrl+C,
// Ctrl+X, Ctrl+V) use.
//
// The program reaches it only through ClipboardText and SetClipboardText. A
// front end with a real clipboard installs its own (the Qt front end
// installs the system clipboard); without one a clipboard private to the
// process stands in, so the headless tests see the same behaviour.
//
// One thread (the user-interface thread).
#ifndef QZ_PLATFORM_UI_CLIPBOARD_H_
#define QZ_PLATFORM_UI_CLIPBOARD_H_

#include <string>

namespace qz::ui {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // The text on the clipboard (UTF-8); empty when it holds no text.
  virtual std::string Text() const = 0;
  // Puts `text` (UTF-8) on the clipboard.
  virtual void SetText(const std::string& text) = 0;
};

// Makes `clipboard` the one in use until it is replaced; nullptr puts the
// private stand-in back. The caller keeps ownership and must uninstall it
// before it goes.
void InstallClipboard(Clipboard* clipboard);

std::string ClipboardText();
void SetClipboardText(const std::string& text);

}  // namespace qz::ui

#endif  // QZ_PLATFORM_UI_CLIPBOARD_H_
