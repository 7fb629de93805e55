#include "data/create_process.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "kit/scratch_dir.h"
#include "platform/runtime/app.h"

namespace qz {
namespace {

class CreateProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App().title = "Update";
    SetCreateProcessHooks({
        [this](const std::string& text, const std::string& title) { messages_.push_back(title + "|" + text); },
        [this] {
          ++yields_;
          // The program may go on meanwhile: it sees the child still running.
          if (yields_ == 1) running_seen_ = std::ifstream(dir_.Path("started")).good();
        },
    });
    dir_.Enter();
  }
  void TearDown() override {
    SetCreateProcessHooks({});
    App() = AppInfo{};
  }
  testkit::ScratchDir dir_;
  std::vector<std::string> messages_;
  int yields_ = 0;
  bool running_seen_ = false;
};

TEST_F(CreateProcessTest, BlockingWaitReturnsTheExitStatus) {
  dir_.WriteScript("Conv", "#!/bin/sh\necho \"$1|$2\" > conv.out\nexit 3\n");
  CreateProcessResult r = Sub_CreateProcess(0, "CONV.EXE", "\"a b\" c", -1);
  EXPECT_EQ(r.status, CreateProcessStatus::kFinished);
  EXPECT_EQ(r.exit_status, 3);
  EXPECT_EQ(dir_.Read("conv.out"), "a b|c\n");
  EXPECT_EQ(yields_, 0);  // no events while blocked
  EXPECT_TRUE(messages_.empty());
}

TEST_F(CreateProcessTest, SlicedWaitYieldsWhileTheProgramRuns) {
  dir_.WriteScript("qzp149c", "#!/bin/sh\ntouch started\nsleep 0.35\nexit 0\n");
  CreateProcessResult r = Sub_CreateProcess(0, "QZP149C.EXE", "", 100);
  EXPECT_TRUE(r.finished());
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_GE(yields_, 2);
  EXPECT_LE(yields_, 10);
  EXPECT_TRUE(running_seen_);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(CreateProcessTest, NoWaitReturnsAtOnceWhileTheProgramGoesOn) {
  dir_.WriteScript("main", "#!/bin/sh\nsleep 0.2\ntouch \"$0.done\"\n");
  CreateProcessResult r = Sub_CreateProcess(0, dir_.Path("MAIN.EXE"), "", 0);
  EXPECT_EQ(r.status, CreateProcessStatus::kNotWaited);
  EXPECT_TRUE(r.started());
  EXPECT_FALSE(r.finished());
  EXPECT_FALSE(std::ifstream(dir_.Path("main.done")).good());
  for (int i = 0; i < 300 && !std::ifstream(dir_.Path("main.done")).good(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(std::ifstream(dir_.Path("main.done")).good());
  EXPECT_EQ(yields_, 0);
}

TEST_F(CreateProcessTest, AFailedStartIsShownAndReported) {
  for (int wait : {-1, 0, 100}) {
    messages_.clear();
    CreateProcessResult r = Sub_CreateProcess(0, "NOPROG.EXE", "x", wait);
    EXPECT_EQ(r.status, CreateProcessStatus::kStartFailed);
    EXPECT_FALSE(r.started());
    EXPECT_EQ(messages_, std::vector<std::string>{"Update|NOPROG.EXEの実行に失敗しました。"});
  }
  EXPECT_EQ(yields_, 0);
}

TEST_F(CreateProcessTest, ALostChildIsAFailedWait) {
  // With SIGCHLD ignored the system reaps children itself: there is nothing
  // left to wait for.
  dir_.WriteScript("conv", "#!/bin/sh\nexit 0\n");
  struct sigaction ignore {}, old {};
  ignore.sa_handler = SIG_IGN;
  ::sigaction(SIGCHLD, &ignore, &old);
  CreateProcessResult r = Sub_CreateProcess(0, "conv", "", 100);
  ::sigaction(SIGCHLD, &old, nullptr);
  EXPECT_EQ(r.status, CreateProcessStatus::kWaitFailed);
  EXPECT_TRUE(r.started());
  EXPECT_EQ(messages_, std::vector<std::string>{"Update|convの終了待ち処理でエラーが発生しました。"});
}

}  // namespace
}  // namespace qz
