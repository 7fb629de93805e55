#include "platform/ui/msgbox.h"

#include "platform/ui/shell.h"

namespace qz::ui {

MsgResult MsgBox(const MessageBoxRequest& request) { return Shell::Require().MessageBox(request); }

MsgResult MsgBox(std::string_view text, MsgButtons buttons, MsgIcon icon, std::string_view title,
                 int default_button) {
  MessageBoxRequest request;
  request.text = std::string(text);
  request.buttons = buttons;
  request.icon = icon;
  request.title = std::string(title);
  request.default_button = default_button;
  return MsgBox(request);
}

void Beep() { Shell::Require().Beep(); }

void DoEvents() { Shell::Require().DoEvents(); }

}  // namespace qz::ui
