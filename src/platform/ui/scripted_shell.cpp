#include "platform/ui/scripted_shell.h"

#include <algorithm>
#include <utility>

#include "platform/ui/form.h"

namespace qz::ui {

namespace {

bool Offers(MsgButtons buttons, MsgResult answer) {
  const std::vector<MsgResult> answers = ButtonAnswers(buttons);
  return std::find(answers.begin(), answers.end(), answer) != answers.end();
}

std::string Describe(const std::string& form, const std::string& control, int index) {
  std::string s = form + "." + control;
  if (index >= 0) s += "(" + std::to_string(index) + ")";
  return s;
}

}  // namespace

ScriptedShell::ScriptedShell() : Shell(static_cast<Backend&>(*this)), previous_(Shell::Current()) {
  Shell::Install(this);
}

ScriptedShell::~ScriptedShell() {
  if (Shell::Current() == this) Shell::Install(previous_);
}

// --- Script ------------------------------------------------------------------

ScriptedShell& ScriptedShell::AnswerBox(MsgResult answer, std::string expect_text) {
  Action a;
  a.kind = Action::kAnswer;
  a.answer = answer;
  a.text = std::move(expect_text);
  script_.push_back(std::move(a));
  return *this;
}

ScriptedShell& ScriptedShell::Click(std::string form, std::string control, int index, int button) {
  Action a;
  a.kind = Action::kClick;
  a.form = std::move(form);
  a.control = std::move(control);
  a.index = index;
  a.button = button;
  script_.push_back(std::move(a));
  return *this;
}

ScriptedShell& ScriptedShell::Type(std::string form, std::string control, std::string text, int index) {
  Action a;
  a.kind = Action::kType;
  a.form = std::move(form);
  a.control = std::move(control);
  a.text = std::move(text);
  a.index = index;
  script_.push_back(std::move(a));
  return *this;
}

ScriptedShell& ScriptedShell::Key(int key_code, int shift) {
  Action a;
  a.kind = Action::kKey;
  a.key = key_code;
  a.shift = shift;
  script_.push_back(std::move(a));
  return *this;
}

ScriptedShell& ScriptedShell::CloseBox(std::string form) {
  Action a;
  a.kind = Action::kClose;
  a.form = std::move(form);
  script_.push_back(std::move(a));
  return *this;
}

ScriptedShell& ScriptedShell::Advance(std::int64_t ms) {
  Action a;
  a.kind = Action::kAdvance;
  a.ms = ms;
  script_.push_back(std::move(a));
  return *this;
}

ScriptedShell& ScriptedShell::Do(std::function<void()> step) {
  Action a;
  a.kind = Action::kDo;
  a.step = std::move(step);
  script_.push_back(std::move(a));
  return *this;
}

ScriptedShell& ScriptedShell::AtYield() {
  if (!script_.empty()) script_.back().at_yield = true;
  return *this;
}

// --- Running -----------------------------------------------------------------

bool ScriptedShell::Run(Form& main) {
  try {
    return Shell::Run(main);
  } catch (InputExhausted& e) {
    Fail("the modal form " + e.waiting_form + " waits for input but the script is empty");
    return ended();
  }
}

bool ScriptedShell::Play() {
  return Drive([this] {
    while (!script_.empty() && !ended()) {
      if (!WaitForInput(*this)) break;
      RunPending();
    }
  });
}

bool ScriptedShell::Drive(const std::function<void()>& step) {
  try {
    return Step(step);
  } catch (InputExhausted& e) {
    Fail("the modal form " + e.waiting_form + " waits for input but the script is empty");
    return !ended();
  }
}

void ScriptedShell::AdvanceTime(std::int64_t ms) {
  std::int64_t target = now_ms_ + ms;
  RunPending();
  for (;;) {
    std::int64_t due = NextTimerDue();
    if (due < 0 || due > target) break;
    now_ms_ = std::max(now_ms_, due);
    RunPending();  // raises the due timers and what they post
  }
  now_ms_ = target;
  RunPending();
}

void ScriptedShell::ClearRecords() {
  boxes_.clear();
  shown_.clear();
  failures_.clear();
  beeps_ = 0;
}

void ScriptedShell::Fail(std::string what) { failures_.push_back(std::move(what)); }

// --- Backend -----------------------------------------------------------------

MsgResult ScriptedShell::ShowMessageBox(const MessageBoxRequest& request) {
  ShownBox box{request, CloseAnswer(request.buttons)};
  if (on_box) on_box(request);
  if (!script_.empty() && script_.front().kind == Action::kAnswer) {
    Action a = std::move(script_.front());
    script_.pop_front();
    if (!a.text.empty() && request.text.find(a.text) == std::string::npos) {
      Fail("message box \"" + request.text + "\" does not contain \"" + a.text + "\"");
    }
    if (Offers(request.buttons, a.answer)) {
      box.answer = a.answer;
    } else {
      Fail("message box \"" + request.text + "\" has no button for the scripted answer");
    }
  } else if (!auto_answer) {
    Fail("unexpected message box \"" + request.text + "\" (" + request.title + ")");
  }
  boxes_.push_back(box);
  return box.answer;
}

void ScriptedShell::RingBell() { ++beeps_; }

void ScriptedShell::PollInput(Shell&) {
  while (!script_.empty() && script_.front().at_yield && script_.front().kind != Action::kAnswer) {
    Action a = std::move(script_.front());
    script_.pop_front();
    Perform(a);
  }
}

bool ScriptedShell::WaitForInput(Shell&) {
  if (script_.empty()) return false;
  Action a = std::move(script_.front());
  script_.pop_front();
  if (a.kind == Action::kAnswer) {
    Fail("a message box was expected (\"" + a.text + "\") but none was shown");
    return true;
  }
  Perform(a);
  return true;
}

void ScriptedShell::OnFormShown(Form& form, bool modal) { shown_.push_back({form.name(), modal}); }

Form* ScriptedShell::NeedForm(const std::string& name) {
  Form* f = FindForm(name);
  if (f == nullptr) Fail("no loaded form " + name);
  return f;
}

void ScriptedShell::Perform(const Action& a) {
  switch (a.kind) {
    case Action::kAnswer:
      break;
    case Action::kClick:
    case Action::kType: {
      Form* f = NeedForm(a.form);
      if (f == nullptr) return;
      Control* c = f->Find(a.control, a.index);
      if (c == nullptr) {
        Fail("no control " + Describe(a.form, a.control, a.index));
        return;
      }
      if (a.kind == Action::kClick) {
        if (!UserClick(*c, a.button)) Fail("click on " + Describe(a.form, a.control, a.index) + " refused");
        return;
      }
      if (!f->loaded() || !f->visible() || !f->enabled() || !c->CanFocus()) {
        Fail("typing into " + Describe(a.form, a.control, a.index) + " refused");
        return;
      }
      if (active_form() != f || f->active_control() != c) {
        if (!UserClick(*c, 1)) {
          Fail("typing into " + Describe(a.form, a.control, a.index) + " refused");
          return;
        }
      }
      UserType(a.text);
      return;
    }
    case Action::kKey:
      if (!UserKey(a.key, a.shift)) Fail("key " + std::to_string(a.key) + " refused: no active form takes input");
      return;
    case Action::kClose: {
      Form* f = NeedForm(a.form);
      if (f != nullptr) UserCloseBox(*f);
      return;
    }
    case Action::kAdvance:
      AdvanceTime(a.ms);
      return;
    case Action::kDo:
      if (a.step) a.step();
      return;
  }
}

}  // namespace qz::ui
