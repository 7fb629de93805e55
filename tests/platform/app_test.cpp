// The running program's facts set at start: its folder is the executable's
// own unless the launcher names the program folder.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>

#include "platform/runtime/app.h"

namespace qz {
namespace {

class InitAppTest : public ::testing::Test {
 protected:
  ~InitAppTest() override {
    ::unsetenv("QZ_FOLDER_QZP140");
    App() = AppInfo{};
  }
  void Init(const char* name) {
    char program[] = "program";
    char first[] = "0000000001";
    char second[] = "20261209";
    char* argv[] = {program, first, second, nullptr};
    InitApp(name, 3, argv);
  }
  static std::string OwnFolder() {
    return std::filesystem::canonical("/proc/self/exe").parent_path().string();
  }
};

TEST_F(InitAppTest, TheFolderIsTheExecutablesOwnAndTheArgumentsAreJoined) {
  Init("QZP140");
  EXPECT_EQ(App().title, "QZP140");
  EXPECT_EQ(App().path, OwnFolder());
  EXPECT_EQ(App().command, "0000000001 20261209");
}

// A program goes by the name of its executable, as copied: a release's
// version-up program copied as UpdateX reads UpdateX.INI.
TEST_F(InitAppTest, TheExecutableNameIsTheFilesOwn) {
  Init("Update");
  EXPECT_EQ(App().title, "Update");
  EXPECT_EQ(App().exe_name, std::filesystem::canonical("/proc/self/exe").filename().string());
  EXPECT_EQ(ExecutableName("/srv/rel/UpdateX"), "UpdateX");
  EXPECT_EQ(ExecutableName("D:\\REL\\UPDATE.EXE"), "UPDATE");
  EXPECT_EQ(ExecutableName("Update.Exe"), "Update");
  EXPECT_EQ(ExecutableName("/srv/rel/.exe"), ".exe");
}

TEST_F(InitAppTest, TheLaunchersFolderVariableNamesTheFolderOfThatProgramOnly) {
  ::setenv("QZ_FOLDER_QZP140", "/srv/qz140/QZP140", 1);
  Init("QZP140");
  EXPECT_EQ(App().path, "/srv/qz140/QZP140");
  Init("Update");
  EXPECT_EQ(App().path, OwnFolder());
  ::setenv("QZ_FOLDER_QZP140", "centre/./QZP140/", 1);
  Init("QZP140");
  EXPECT_EQ(App().path, (std::filesystem::current_path() / "centre" / "QZP140").string());
  ::setenv("QZ_FOLDER_QZP140", "", 1);
  Init("QZP140");
  EXPECT_EQ(App().path, OwnFolder());
}

}  // namespace
}  // namespace qz
