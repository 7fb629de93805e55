// The instance lock and the window registry, with real locks: a second
// process sees the lock and the windows of the first.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
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

// The runtime folder without XDG_RUNTIME_DIR lies in /tmp, where anyone may
// have made it first: only a folder of this user's own with mode 0700 is
// used, never a link or a folder others may enter.
TEST(PrivateFolderTest, OnlyAFolderOfThisUsersOwnWithMode0700IsUsed) {
  testkit::ScratchDir dir;
  const std::string own = dir.Path("own");
  ASSERT_EQ(::mkdir(own.c_str(), 0700), 0);
  ASSERT_EQ(::chmod(own.c_str(), 0700), 0);
  struct Case {
    const char* name;
    std::function<void(const std::string&)> make;  // nothing: missing
    bool used;
  } cases[] = {
      {"missing", nullptr, true},
      {"private", [](const std::string& p) { EXPECT_EQ(::mkdir(p.c_str(), 0700), 0); }, true},
      {"open to others", [](const std::string& p) { EXPECT_EQ(::mkdir(p.c_str(), 0777) | ::chmod(p.c_str(), 0777), 0); },
       false},
      {"sticky", [](const std::string& p) { EXPECT_EQ(::mkdir(p.c_str(), 0700) | ::chmod(p.c_str(), 01700), 0); },
       false},
      {"a link to a private folder", [&](const std::string& p) { EXPECT_EQ(::symlink(own.c_str(), p.c_str()), 0); },
       false},
      {"a file", [](const std::string& p) { ::close(::open(p.c_str(), O_CREAT | O_WRONLY, 0600)); }, false},
      {"another user's",
       [](const std::string& p) {
         EXPECT_EQ(::mkdir(p.c_str(), 0700), 0);
         if (::geteuid() == 0) {
           EXPECT_EQ(::chown(p.c_str(), 65534, 65534), 0);
         }
       },
       ::geteuid() != 0},
  };
  for (const Case& c : cases) {
    const std::string path = dir.Path(c.name);
    if (c.make) c.make(path);
    EXPECT_EQ(PrivateFolder(path + "/"), c.used ? path : "") << c.name;
  }
  struct stat st;
  ASSERT_EQ(::lstat(dir.Path("missing").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0700u);
}

// Without either variable a program of a user whose /tmp/qz-<uid> another
// user made open has no runtime folder (root plays the other user).
TEST(PrivateFolderTest, TheFolderInTmpThatOthersMayEnterIsRefused) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to make another user's folder";
  constexpr uid_t kUser = 64917;
  const std::string tmp = "/tmp/qz-" + std::to_string(kUser);
  std::filesystem::remove_all(tmp);
  ASSERT_EQ(::mkdir(tmp.c_str(), 0700), 0);
  ASSERT_EQ(::chmod(tmp.c_str(), 0777), 0);
  ASSERT_EQ(::chown(tmp.c_str(), kUser, kUser), 0);
  const auto runtime_dir_as_user = [&] {
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::unsetenv("QZ_RUNTIME_DIR");
      ::unsetenv("XDG_RUNTIME_DIR");
      if (::setgid(kUser) != 0 || ::setuid(kUser) != 0) ::_exit(2);
      SetUserRuntimeDirForTest(std::nullopt);
      ::_exit(UserRuntimeDir() == tmp ? 1 : 0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  EXPECT_EQ(runtime_dir_as_user(), 0) << "a folder others may write is refused";
  ASSERT_EQ(::chmod(tmp.c_str(), 0700), 0);
  EXPECT_EQ(runtime_dir_as_user(), 1) << "the user's own private folder is used";
  std::filesystem::remove_all(tmp);
}

}  // namespace
}  // namespace qz::system
