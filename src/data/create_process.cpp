#include "data/create_process.h"

#include "platform/process/child_process.h"
#include "platform/runtime/app.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/work_in_progress.h"

namespace qz {
namespace {

CreateProcessHooks& Hooks() {
  static CreateProcessHooks hooks;
  return hooks;
}

void Message(const std::string& text) {
  const std::string& title = App().title;
  if (Hooks().message) {
    Hooks().message(text, title);
  } else {
    ui::MsgBox(text, ui::MsgButtons::kOk, ui::MsgIcon::kNone, title);
  }
}

void Yield() {
  if (Hooks().yield) {
    Hooks().yield();
  } else {
    ui::DoEvents();
  }
}

}  // namespace

void SetCreateProcessHooks(CreateProcessHooks hooks) { Hooks() = std::move(hooks); }

CreateProcessResult Sub_CreateProcess(std::int32_t /*owner_hwnd*/, std::string_view file,
                                      std::string_view parameters, std::int32_t wait_ms) {
  CreateProcessResult result;
  process::ChildProcess child = process::ChildProcess::Start(file, parameters);
  if (!child.started()) {
    Message(std::string(file) + "の実行に失敗しました。");
    result.status = CreateProcessStatus::kStartFailed;
    return result;
  }
  if (wait_ms == 0) {
    result.status = CreateProcessStatus::kNotWaited;
    return result;  // the child goes to the background reaper
  }
  process::WaitResult w;
  // The screen repaints while the program runs but takes no input.
  ui::WorkInProgress busy;
  if (wait_ms < 0) {
    w = child.Wait(-1);
  } else {
    while ((w = child.Wait(wait_ms)) == process::WaitResult::kTimeout) Yield();
  }
  if (w != process::WaitResult::kExited) {
    Message(std::string(file) + "の終了待ち処理でエラーが発生しました。");
    result.status = CreateProcessStatus::kWaitFailed;
    return result;
  }
  result.status = CreateProcessStatus::kFinished;
  result.exit_status = child.exit_status();
  return result;
}

}  // namespace qz
