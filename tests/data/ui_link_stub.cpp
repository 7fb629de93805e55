// Weak stand-ins for the message-box functions, so that this test program
// links whether or not the program's shell is part of the build. Tests set
// their own hooks and never reach these; the shell's own definitions, when
// linked, take their place.
#include <cstdlib>

#include "platform/ui/msgbox.h"

namespace qz::ui {

__attribute__((weak)) MsgResult MsgBox(std::string_view, MsgButtons, MsgIcon, std::string_view, int) {
  std::abort();
}

__attribute__((weak)) void DoEvents() { std::abort(); }

}  // namespace qz::ui
