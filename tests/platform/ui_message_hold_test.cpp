// Message boxes raised while record files are held wait for the hold to end:
// none is shown inside it, all are shown in order once the outermost hold is
// released, and a hold dropped without release (the program ends) shows
// nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/runtime/run_time_error.h"
#include "platform/ui/message_hold.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/scripted_shell.h"

namespace qz::ui {
namespace {

std::vector<std::string> Texts(const ScriptedShell& shell) {
  std::vector<std::string> texts;
  for (const ShownBox& b : shell.boxes()) texts.push_back(b.request.text);
  return texts;
}

TEST(UiMessageHold, KeepsEveryBoxUntilTheOutermostHoldIsReleased) {
  ScriptedShell shell;
  shell.auto_answer = true;
  {
    MessageHold hold;
    EXPECT_EQ(MsgBox("一", MsgButtons::kOk, MsgIcon::kExclamation, "結果入力"), MsgResult::kOk);
    {
      MessageHold inner;
      MsgBox("二", MsgButtons::kOk, MsgIcon::kNone, "結果入力");
      inner.Release();
    }
    EXPECT_TRUE(Texts(shell).empty()) << "nothing stands while the files are held";
    hold.Release();
    EXPECT_EQ(Texts(shell), (std::vector<std::string>{"一", "二"}));
  }
  EXPECT_FALSE(MessageHold::InForce());
  MsgBox("三", MsgButtons::kOk, MsgIcon::kNone, "結果入力");
  EXPECT_EQ(Texts(shell).size(), 3u);
}

// Nobody answers a question for the operator: under a hold it fails the
// work that holds the files (a run-time error), whatever its default
// button, and nothing of it is shown later.
TEST(UiMessageHold, AQuestionUnderAHoldIsARunTimeErrorNotAnAnswer) {
  ScriptedShell shell;
  shell.auto_answer = true;
  {
    MessageHold hold;
    for (MsgButtons buttons : {MsgButtons::kOkCancel, MsgButtons::kYesNo, MsgButtons::kYesNoCancel,
                               MsgButtons::kAbortRetryIgnore, MsgButtons::kRetryCancel}) {
      try {
        MsgBox("保存せずに終了します。よろしいですか？", buttons, MsgIcon::kNone, "結果入力");
        ADD_FAILURE() << "answered " << static_cast<int>(buttons);
      } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), kErrInvalidCall);
      }
    }
    EXPECT_EQ(MsgBox("一", MsgButtons::kOk, MsgIcon::kNone, "結果入力"), MsgResult::kOk);
    hold.Release();
  }
  EXPECT_EQ(Texts(shell), std::vector<std::string>{"一"});
}

TEST(UiMessageHold, AHoldDroppedWithoutReleaseShowsNothing) {
  ScriptedShell shell;
  shell.auto_answer = true;
  {
    MessageHold hold;
    MsgBox("一", MsgButtons::kOk, MsgIcon::kNone, "結果入力");
  }
  EXPECT_TRUE(Texts(shell).empty());
  {
    MessageHold next;
    next.Release();
  }
  EXPECT_TRUE(Texts(shell).empty()) << "the dropped box does not come back with a later hold";
}

}  // namespace
}  // namespace qz::ui
