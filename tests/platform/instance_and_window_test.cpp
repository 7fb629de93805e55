// The instance lock and the window registry, with real locks: a second
// process sees the lock and the windows of the first.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "kit/scratch_dir.h"
#include "platform/system/instance_lock.h"
#include "platform/system/user_runtime_dir.h"
#include "platform/system/window_finder.h"

namespace qz::system {
namespace {

class RuntimeDirTest : public ::testing::Test {
 protected:
  RuntimeDirTest() { SetUserRuntimeDirForTest(dir_.Path("run")); }
  ~RuntimeDirTest() override {
    ReleaseInstanceLock("QZP140");
    SetUserRuntimeDirForTest(std::nullopt);
  }

  // Runs `probe` in a child process, as another program would, and gives its
  // answer. The child drops the bookkeeping it inherited (the lock itself
  // stays with the parent's descriptor).
  static bool InChild(const std::function<bool()>& probe) {
    pid_t pid = ::fork();
    if (pid == 0) {
      ReleaseInstanceLock("QZP140");
      ::_exit(probe() ? 1 : 0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 1;
  }

  testkit::ScratchDir dir_;
};

TEST_F(RuntimeDirTest, SecondProcessSeesTheLockUntilItIsGivenUp) {
  auto ask = [] { return AnotherInstanceRunning("QZP140"); };
  EXPECT_FALSE(InChild(ask)) << "nobody holds the lock yet";
  EXPECT_FALSE(ask()) << "the first copy takes the lock";
  EXPECT_FALSE(ask()) << "asking again keeps it";
  EXPECT_TRUE(InChild(ask));
  EXPECT_TRUE(InChild([] { return AnotherInstanceRunning("qzp140"); })) << "names without regard to case";
  EXPECT_FALSE(InChild([] { return AnotherInstanceRunning("Update"); })) << "another program's lock";
  ReleaseInstanceLock("QZP140");
  EXPECT_FALSE(InChild(ask));
}

TEST_F(RuntimeDirTest, WindowsAreSeenWhileRegistered) {
  const std::string menu = "バントリク初期メニュー";
  EXPECT_FALSE(FindTopLevelWindow(menu));
  {
    WindowRegistration a(menu);
    ASSERT_TRUE(a.ok());
    EXPECT_TRUE(FindTopLevelWindow(menu));
    EXPECT_TRUE(InChild([&] { return FindTopLevelWindow(menu); }));
    EXPECT_FALSE(FindTopLevelWindow("バントリク初期メニュ")) << "the title must match exactly";
    {
      WindowRegistration b(menu);
      EXPECT_TRUE(b.ok());
    }
    EXPECT_TRUE(FindTopLevelWindow(menu)) << "the other window of that title is still open";
  }
  EXPECT_FALSE(FindTopLevelWindow(menu));
}

TEST_F(RuntimeDirTest, AFileLeftByAnEndedProgramIsNoWindow) {
  const std::string title = "a/b%c";
  EXPECT_EQ(WindowFileName(title), "a%2Fb%25c");
  EXPECT_TRUE(InChild([&] {
    // The child registers and ends without removing its file.
    new WindowRegistration(title);
    return true;
  }));
  EXPECT_EQ(::access((UserRuntimeDir() + "/windows/" + WindowFileName(title)).c_str(), F_OK), 0);
  EXPECT_FALSE(FindTopLevelWindow(title));
  EXPECT_FALSE(FindTopLevelWindow(""));
}

}  // namespace
}  // namespace qz::system
