#include "platform/ui/message_hold.h"

#include <utility>
#include <vector>

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
  g_kept.push_back(request);
  const std::vector<MsgResult> answers = ButtonAnswers(request.buttons);
  const auto index = static_cast<std::size_t>(request.default_button);
  return index < answers.size() ? answers[index] : answers.front();
}

}  // namespace qz::ui
