#include "platform/system/machine_lock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace qz::system {
namespace {

namespace fs = std::filesystem;

// Runs `body` in a child process; its result, -1 when it died.
int InChild(const std::function<int()>& body) {
  const pid_t pid = fork();
  if (pid == 0) _exit(body());
  int wstatus = 0;
  waitpid(pid, &wstatus, 0);
  return WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
}

// The lock file this process holds open for a lock just taken (found
// through its open descriptors); empty when there is none.
std::string HeldLockFile() {
  for (const auto& fd : fs::directory_iterator("/proc/self/fd")) {
    std::error_code ec;
    const fs::path target = fs::read_symlink(fd.path(), ec);
    if (!ec && target.parent_path() == "/tmp/qz-locks") return target.string();
  }
  return {};
}

class MachineLockTest : public ::testing::Test {
 protected:
  void SetUp() override { name_ = "machine lock test " + std::to_string(getpid()) + " " + CurrentTest(); }
  void TearDown() override {
    ReleaseMachineLock(name_);
    std::error_code ec;
    if (!file_.empty()) fs::remove(file_, ec);
    if (!target_.empty()) fs::remove(target_, ec);
  }
  static std::string CurrentTest() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }
  // Takes and gives back the lock once: the path of its lock file.
  std::string LockFileOf() {
    EXPECT_TRUE(TakeMachineLock(name_));
    const std::string file = HeldLockFile();
    ReleaseMachineLock(name_);
    return file;
  }

  std::string name_, file_, target_;
};

// Another user of this computer may have planted a link where a lock's file
// goes: taking or looking at the lock neither follows it to change the file
// it names nor makes a file where it points.
TEST_F(MachineLockTest, ALinkPlantedForALockFileIsNeverFollowed) {
  file_ = LockFileOf();
  ASSERT_FALSE(file_.empty());
  target_ = "/tmp/machine-lock-target-" + std::to_string(getpid());
  for (const bool target_exists : {true, false}) {
    SCOPED_TRACE(target_exists ? "a file of the victim" : "a file not there");
    std::error_code ec;
    fs::remove(target_, ec);
    if (target_exists) {
      std::ofstream(target_) << "private";
      ASSERT_EQ(chmod(target_.c_str(), 0600), 0);
    }
    ASSERT_EQ(symlink(target_.c_str(), file_.c_str()), 0);
    EXPECT_FALSE(TakeMachineLock(name_)) << "a lock whose file is not its own is not taken";
    EXPECT_TRUE(MachineLockHeldElsewhere(name_));
    ReleaseMachineLock(name_);
    struct stat st {};
    if (target_exists) {
      ASSERT_EQ(stat(target_.c_str(), &st), 0);
      EXPECT_EQ(st.st_mode & 07777, 0600u);
    } else {
      EXPECT_NE(lstat(target_.c_str(), &st), 0) << "no file made where the link points";
    }
    ASSERT_EQ(unlink(file_.c_str()), 0);
  }
  EXPECT_TRUE(TakeMachineLock(name_)) << "taken again once the link is gone";
}

// Another process that takes lock `name` (as user `uid` when not -1) and
// keeps it until End(), or ends at once, killed with it (Kill()).
class Holder {
 public:
  Holder(const std::string& name, int uid) {
    if (pipe(taken_) != 0 || pipe(end_) != 0) std::abort();
    pid_ = fork();
    if (pid_ == 0) {
      if (uid != -1 && (setgid(static_cast<gid_t>(uid)) != 0 || setuid(static_cast<uid_t>(uid)) != 0)) _exit(2);
      const char taken = TakeMachineLock(name) ? 'y' : 'n';
      char byte = 0;
      if (write(taken_[1], &taken, 1) != 1 || read(end_[0], &byte, 1) != 1) _exit(3);
      _exit(0);
    }
    char taken = 0;
    taken_ok_ = read(taken_[0], &taken, 1) == 1 && taken == 'y';
  }
  bool Taken() const { return taken_ok_; }
  void End() {
    if (write(end_[1], "e", 1) != 1) std::abort();
    int wstatus = 0;
    waitpid(pid_, &wstatus, 0);
  }

 private:
  int taken_[2] = {-1, -1}, end_[2] = {-1, -1};
  pid_t pid_ = -1;
  bool taken_ok_ = false;
};

// A process of another user id sees a lock as held while one is, and takes
// it once it is free, also when its file was made by a holder of another
// user that was killed.
TEST_F(MachineLockTest, AProcessOfAnotherUserSharesTheLocks) {
  if (geteuid() != 0) GTEST_SKIP() << "needs to run a process as another user";
  constexpr int kOther = 65534;
  {
    Holder root(name_, -1);  // makes the file and ends without giving it back
    ASSERT_TRUE(root.Taken());
    EXPECT_TRUE(MachineLockHeldElsewhere(name_));
    Holder other(name_, kOther);
    EXPECT_FALSE(other.Taken());
    other.End();
    root.End();
  }
  Holder other(name_, kOther);
  EXPECT_TRUE(other.Taken());
  EXPECT_TRUE(MachineLockHeldElsewhere(name_));
  EXPECT_FALSE(TakeMachineLock(name_));
  other.End();
  EXPECT_TRUE(TakeMachineLock(name_));
}

}  // namespace
}  // namespace qz::system
