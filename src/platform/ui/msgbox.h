// Message boxes, beeps and yielding, as the program's procedures call them.
//
// These free functions go to the shell installed for the program (the Qt
// shell for people, the scripted shell in tests; see shell.h). Calling them
// with no shell installed is a programming error and aborts.
#ifndef QZ_PLATFORM_UI_MSGBOX_H_
#define QZ_PLATFORM_UI_MSGBOX_H_

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qz::ui {

enum class MsgButtons { kOk = 0, kOkCancel = 1, kAbortRetryIgnore = 2, kYesNoCancel = 3, kYesNo = 4, kRetryCancel = 5 };
enum class MsgIcon { kNone = 0, kCritical = 16, kQuestion = 32, kExclamation = 48, kInformation = 64 };
enum class MsgResult { kOk = 1, kCancel = 2, kAbort = 3, kRetry = 4, kIgnore = 5, kYes = 6, kNo = 7 };

struct MessageBoxRequest {
  std::string text;             // "\r\n" separates lines, as the program writes them
  MsgButtons buttons = MsgButtons::kOk;
  MsgIcon icon = MsgIcon::kNone;
  int default_button = 0;       // 0 first, 1 second, 2 third
  std::string title;
};

// The answers of the buttons of `buttons`, left to right (the default button
// index counts in this order).
std::vector<MsgResult> ButtonAnswers(MsgButtons buttons);
// The answer of a box closed without a button: Cancel where there is one,
// Abort for Abort/Retry/Ignore, Yes for Yes/No, else OK.
MsgResult CloseAnswer(MsgButtons buttons);

// Shows a modal message box and returns the button chosen. Closing the box
// without a button gives Cancel where there is one, else the only/first
// button's answer. While a MessageHold is in force (message_hold.h) a box
// with OK alone is kept for later and OK returned at once; a question then
// throws RunTimeError kErrInvalidCall.
MsgResult MsgBox(const MessageBoxRequest& request);
MsgResult MsgBox(std::string_view text, MsgButtons buttons, MsgIcon icon, std::string_view title,
                 int default_button = 0);

// Installs `observer` (nullptr: none), told of every message box just
// before it is shown, whatever the shell, the runtime's report of an
// untrapped error that ends Shell::Run included; the program's log uses it
// to record error reports. One observer at a time; it must not show boxes.
void SetMessageObserver(std::function<void(const MessageBoxRequest&)> observer);

// Sounds the platform's beep.
void Beep();

// Yields to pending events: posted events, timers that are due, user input.
void DoEvents();

}  // namespace qz::ui

#endif  // QZ_PLATFORM_UI_MSGBOX_H_
