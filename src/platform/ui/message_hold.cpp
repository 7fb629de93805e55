#include "platform/ui/message_hold.h"

#include <utility>
#include <vector>

#include "platform/runtime/run_time_error.h"

namespace qz::ui {

namespace {

int g_depth = 0;
std::vector<MessageBoxRequest> g_kept;

}  // namespace

MessageHold::MessageHold() {
  if (g_depth++ == 0) g_kept.clear();
}

MessageHold::~MessageHold() {
  if (!active_) return;
  active_ = false;
  if (--g_depth == 0) g_kept.clear();
}

void MessageHold::Release() {
  if (!active_) return;
  active_ = false;
  if (--g_depth > 0) return;
  std::vector<MessageBoxRequest> now;
  now.swap(g_kept);
  for (const MessageBoxRequest& request : now) MsgBox(request);
}

bool MessageHold::InForce() { return g_depth > 0; }

std::optional<MsgResult> HoldMessage(const MessageBoxRequest& request) {
  if (g_depth == 0) return std::nullopt;
  // Only the operator may answer a question: one answered here could write
  // or throw away what the operator meant otherwise.
  if (request.buttons != MsgButtons::kOk) throw RunTimeError(kErrInvalidCall);
  g_kept.push_back(request);
  return MsgResult::kOk;
}

}  // namespace qz::ui
