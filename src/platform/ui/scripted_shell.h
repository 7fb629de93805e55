// ScriptedShell: a shell for tests. It records every form shown, every
// message box and every beep, and plays the user from a script: a queue of
// actions (answer a box, click a control, type, press a key, use the close
// box, let time pass, run any step).
//
// When a message box appears, the next action must be an answer; anything
// else is a failure (recorded, and the box gets its close answer). When a
// loop waits for input (the program's loop or a modal form) it takes the
// next action; a modal form waiting on an empty script is a failure that
// unwinds (InputExhausted). Actions marked AtYield are taken at the next
// DoEvents instead. Time is virtual: Advance(ms) moves it and raises the
// timers that fall due, in order.
//
// Failures are kept as texts (failures()); a gtest helper asserts they are
// none (tests/kit/ui_expect.h). The constructor installs the shell as the
// current one and the destructor puts back the one before it.
//
//   ui::ScriptedShell shell;
//   shell.SetMainForm(&main);                  // its unload ends the program
//   ASSERT_TRUE(shell.Drive([&] { main.Show(); }));
//   shell.Click("frmSubMenu", "cmdChoice", 3)  // answers the modal menu
//        .AnswerBox(ui::MsgResult::kOk, "よろしいですか");
//   ASSERT_TRUE(shell.Drive([&] { main.cmdSubMenu_Click(); }));
//   EXPECT_SCRIPT_OK(shell);
#ifndef QZ_PLATFORM_UI_SCRIPTED_SHELL_H_
#define QZ_PLATFORM_UI_SCRIPTED_SHELL_H_

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/shell.h"

namespace qz::ui {

struct ShownBox {
  MessageBoxRequest request;
  MsgResult answer = MsgResult::kOk;
};

struct ShownForm {
  std::string name;
  bool modal = false;
};

class ScriptedShell : private Backend, public Shell {
 public:
  ScriptedShell();
  ~ScriptedShell() override;

  // Called with every message box as it is shown, before it is answered:
  // a test's look at the program's state while the box stands.
  std::function<void(const MessageBoxRequest&)> on_box;

  // --- The script (each returns *this to chain) ---------------------------
  // Answers the next message box; when `expect_text` is not empty the box's
  // text must contain it.
  ScriptedShell& AnswerBox(MsgResult answer, std::string expect_text = {});
  // A user click on control `control` (index -1 for none) of the loaded form
  // named `form`.
  ScriptedShell& Click(std::string form, std::string control, int index = -1, int button = 1);
  // Focuses the control (as a click in it would) and types `text`.
  ScriptedShell& Type(std::string form, std::string control, std::string text, int index = -1);
  // A key on the active form.
  ScriptedShell& Key(int key_code, int shift = 0);
  // The close box of the loaded form named `form`.
  ScriptedShell& CloseBox(std::string form);
  // Lets `ms` milliseconds of virtual time pass.
  ScriptedShell& Advance(std::int64_t ms);
  // Any step (a grid click, a check of state in the middle of a modal loop).
  ScriptedShell& Do(std::function<void()> step);
  // Marks the last action queued to be taken at the next yield (DoEvents)
  // rather than when a loop is idle.
  ScriptedShell& AtYield();

  // Shell::Run, with a modal loop that ran out of script recorded as a
  // failure. Returns whether the program ended.
  bool Run(Form& main);
  // Runs the script at the top level: takes actions until the script is
  // empty or the program ended. Returns whether the program goes on.
  bool Play();
  // Shell::Step, with a modal loop that ran out of script recorded as a
  // failure. Returns whether the program goes on.
  bool Drive(const std::function<void()>& step);
  // Moves virtual time now (outside the script), raising due timers.
  void AdvanceTime(std::int64_t ms);

  // --- Records --------------------------------------------------------
  const std::vector<ShownBox>& boxes() const { return boxes_; }
  const std::vector<ShownForm>& shown_forms() const { return shown_; }
  int beeps() const { return beeps_; }
  const std::vector<std::string>& failures() const { return failures_; }
  // Actions not yet taken.
  std::size_t pending_actions() const { return script_.size(); }
  // Forgets the records (not the script).
  void ClearRecords();

  // When true, a message box with no answer scripted is answered with its
  // close answer and recorded, but is not a failure.
  bool auto_answer = false;
  // The screen the backend reports.
  ScreenMetrics screen;
  // Records a failure (also for helpers built on the shell).
  void Fail(std::string what);

 private:
  struct Action {
    enum Kind { kAnswer, kClick, kType, kKey, kClose, kAdvance, kDo } kind = kDo;
    MsgResult answer = MsgResult::kOk;
    std::string form, control, text;
    int index = -1, button = 1, key = 0, shift = 0;
    std::int64_t ms = 0;
    std::function<void()> step;
    bool at_yield = false;
  };
  // Backend.
  MsgResult ShowMessageBox(const MessageBoxRequest& request) override;
  void RingBell() override;
  ScreenMetrics QueryScreen() const override { return screen; }
  std::int64_t ClockMs() const override { return now_ms_; }
  void PollInput(Shell& shell) override;
  bool WaitForInput(Shell& shell) override;
  void OnFormShown(Form& form, bool modal) override;

  void Perform(const Action& action);
  Form* NeedForm(const std::string& name);

  std::deque<Action> script_;
  std::vector<ShownBox> boxes_;
  std::vector<ShownForm> shown_;
  std::vector<std::string> failures_;
  int beeps_ = 0;
  std::int64_t now_ms_ = 0;
  Shell* previous_ = nullptr;
};

}  // namespace qz::ui

#endif  // QZ_PLATFORM_UI_SCRIPTED_SHELL_H_
