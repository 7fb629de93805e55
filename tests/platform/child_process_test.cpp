#include "platform/process/child_process.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <thread>

#include "kit/scratch_dir.h"

namespace qz::process {
namespace {

bool ProcessEntryExists(pid_t pid) {
  struct stat st;
  return ::stat(("/proc/" + std::to_string(pid)).c_str(), &st) == 0;
}

TEST(FindProgram, NameWithoutCaseWithOrWithoutExe) {
  testkit::ScratchDir dir;
  dir.WriteScript("bin/qzp149c", "#!/bin/sh\n");
  dir.WriteScript("bin/Tool.exe", "#!/bin/sh\n");
  dir.Write("bin/plain.exe", "not executable");
  const std::string bin = dir.Path("bin");
  struct Case {
    std::string name;
    std::string found;  // empty: not found
  } cases[] = {
      {bin + "/QZP149C.EXE", bin + "/qzp149c"},
      {bin + "/qzp149c", bin + "/qzp149c"},
      {bin + "/TOOL", bin + "/Tool.exe"},
      {bin + "/tool.EXE", bin + "/Tool.exe"},
      {bin + "/plain.exe", ""},
      {bin + "/missing.exe", ""},
      {bin + "/", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(FindProgram(c.name).value_or(""), c.found) << c.name;
  dir.Enter();
  EXPECT_EQ(FindProgram("BIN\\QZP149C.EXE").value_or(""), "bin/qzp149c");  // from the current folder
}

TEST(ChildProcess, PassesArgumentsAndReturnsTheExitStatus) {
  testkit::ScratchDir dir;
  dir.WriteScript("args", "#!/bin/sh\nfor a in \"$@\"; do echo \"[$a]\"; done > \"$0.out\"\nexit 7\n");
  ChildProcess child = ChildProcess::Start(dir.Path("ARGS.EXE"), "\"a b\" c \"\"");
  ASSERT_TRUE(child.started());
  EXPECT_EQ(child.Wait(-1), WaitResult::kExited);
  EXPECT_EQ(child.exit_status(), 7);
  EXPECT_EQ(child.Wait(0), WaitResult::kExited);  // stays ended
  EXPECT_EQ(dir.Read("args.out"), "[a b]\n[c]\n[]\n");
}

TEST(ChildProcess, TimedWaitsReportARunningProgram) {
  testkit::ScratchDir dir;
  dir.WriteScript("slow", "#!/bin/sh\nsleep 0.3\n");
  ChildProcess child = ChildProcess::Start(dir.Path("slow"), "");
  ASSERT_TRUE(child.started());
  auto t0 = std::chrono::steady_clock::now();
  EXPECT_EQ(child.Wait(50), WaitResult::kTimeout);
  EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(45));
  EXPECT_EQ(child.Wait(0), WaitResult::kTimeout);
  EXPECT_EQ(child.Wait(5000), WaitResult::kExited);
  EXPECT_EQ(child.exit_status(), 0);
}

TEST(ChildProcess, ASignalGives128PlusItsNumber) {
  testkit::ScratchDir dir;
  dir.WriteScript("hang", "#!/bin/sh\nexec sleep 30\n");
  ChildProcess child = ChildProcess::Start(dir.Path("hang"), "");
  ASSERT_TRUE(child.started());
  ::kill(child.pid(), SIGKILL);
  EXPECT_EQ(child.Wait(-1), WaitResult::kExited);
  EXPECT_EQ(child.exit_status(), 128 + SIGKILL);
}

TEST(ChildProcess, AProgramNotWaitedForLeavesNoZombie) {
  testkit::ScratchDir dir;
  dir.WriteScript("quick", "#!/bin/sh\nexit 0\n");
  pid_t pid;
  {
    ChildProcess child = ChildProcess::Start(dir.Path("quick"), "");
    ASSERT_TRUE(child.started());
    pid = child.pid();
  }
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (ProcessEntryExists(pid) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_FALSE(ProcessEntryExists(pid));
}

TEST(ChildProcess, FailedStarts) {
  testkit::ScratchDir dir;
  dir.WriteScript("noshebang", "echo hi\n");
  for (std::string name : {dir.Path("missing.exe"), dir.Path("noshebang"), std::string()}) {
    ChildProcess child = ChildProcess::Start(name, "");
    EXPECT_FALSE(child.started()) << name;
    EXPECT_NE(child.start_error(), 0) << name;
    EXPECT_EQ(child.Wait(-1), WaitResult::kFailed) << name;
  }
}

}  // namespace
}  // namespace qz::process
