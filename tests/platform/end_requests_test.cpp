#include "platform/system/end_requests.h"

#include <gtest/gtest.h>

#include <csignal>
#include <vector>

#include "kit/scratch_dir.h"
#include "platform/process/child_process.h"

namespace qz::system {
namespace {

void (*HandlerOf(int signal_number))(int) {
  struct sigaction now {};
  sigaction(signal_number, nullptr, &now);
  return now.sa_handler;
}

// A request to end the program while it is held off ends nothing and is
// reported once; afterwards the signals act as before.
TEST(EndRequestsHeld, ARequestIsNotedNotActedOn) {
  constexpr int kSignals[] = {SIGINT, SIGHUP, SIGTERM};
  std::vector<void (*)(int)> before;
  for (int s : kSignals) before.push_back(HandlerOf(s));
  {
    EndRequestsHeld held;
    for (int s : kSignals) std::raise(s);
    EXPECT_EQ(TakeEndRequest(), SIGTERM);  // the latest
    EXPECT_EQ(TakeEndRequest(), 0);
  }
  for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(HandlerOf(kSignals[i]), before[i]) << kSignals[i];
}

// A program started meanwhile can still be stopped.
TEST(EndRequestsHeld, AProgramStartedMeanwhileCanBeStopped) {
  testkit::ScratchDir dir;
  dir.WriteScript("stop", "#!/bin/sh\nkill -TERM $$\nexit 0\n");
  EndRequestsHeld held;
  process::ChildProcess child = process::ChildProcess::Start(dir.Path("stop"), "");
  ASSERT_TRUE(child.started());
  ASSERT_EQ(child.Wait(-1), process::WaitResult::kExited);
  EXPECT_EQ(child.exit_status(), 128 + SIGTERM);
  EXPECT_EQ(TakeEndRequest(), 0);
}

}  // namespace
}  // namespace qz::system
