// basCreateProcess: starting another program and waiting for it, for both
// programs.
//
// Sub_CreateProcess starts `file` (platform/process/child_process.h finds
// it) with `parameters` and waits as asked. Its two failures are shown in a
// message box (OK only, no icon, titled with the program's title) and also
// come back in the result, so that a caller can tell a failed start from a
// finished program. While waiting in slices it yields to pending window
// events, so the program's other events may run meanwhile; guarding against
// them is the caller's business. UI thread only.
#ifndef QZ_DATA_CREATE_PROCESS_H_
#define QZ_DATA_CREATE_PROCESS_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace qz {

enum class CreateProcessStatus {
  kFinished,     // started and waited for to its end; exit_status is valid
  kNotWaited,    // started, no wait asked (wait 0); still running perhaps
  kStartFailed,  // could not be started ("<file>の実行に失敗しました。" shown)
  kWaitFailed,   // started, but the wait failed ("<file>の終了待ち処理で…" shown)
};

struct CreateProcessResult {
  CreateProcessStatus status = CreateProcessStatus::kStartFailed;
  int exit_status = -1;  // the program's exit status when kFinished

  bool started() const { return status != CreateProcessStatus::kStartFailed; }
  bool finished() const { return status == CreateProcessStatus::kFinished; }
};

// What Sub_CreateProcess calls to show a message and to yield. An empty
// function means the default: qz::ui::MsgBox (OK, no icon) and
// qz::ui::DoEvents.
struct CreateProcessHooks {
  std::function<void(const std::string& text, const std::string& title)> message;
  std::function<void()> yield;
};

// Replaces the hooks (tests); CreateProcessHooks{} restores the defaults.
void SetCreateProcessHooks(CreateProcessHooks hooks);

// Starts `file` with `parameters` in the current folder. `owner_hwnd` names
// the owner window (kept for the callers; it has no effect here).
// `wait_ms`: 0 returns at once (the child is reaped in the background when
// it ends); -1 (any negative value) blocks until the program ends without
// yielding; n > 0 waits n ms, yields, and repeats until the program ends.
CreateProcessResult Sub_CreateProcess(std::int32_t owner_hwnd, std::string_view file,
                                      std::string_view parameters, std::int32_t wait_ms);

}  // namespace qz

#endif  // QZ_DATA_CREATE_PROCESS_H_
