#include <gtest/gtest.h>

#include <cstdlib>

#include "kit/scratch_dir.h"
#include "platform/path/host_path.h"
#include "platform/path/no_case.h"

namespace qz::path {
namespace {

class HostPathTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SetDriveRoot('C', std::nullopt);
    SetDriveRoot('M', std::nullopt);
    SetNetworkRoot(std::nullopt);
    ::unsetenv("QZ_DRIVE_ROOT_D");
  }
};

TEST_F(HostPathTest, SuiteFormsMapToThisMachine) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"C:\\QZP\\DATA\\", "/QZP/DATA/"},
      {"c:\\a", "/a"},
      {"C:", "/"},
      {".\\QZP140.INI", "./QZP140.INI"},
      {"./QZP140.INI", "./QZP140.INI"},
      {"/tmp/x/", "/tmp/x/"},
      {"..\\BIN\\x.exe", "../BIN/x.exe"},
      {"\\\\SV\\share\\data\\", "/SV/share/data/"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ToHostPath(c.in), c.out) << c.in;
}

TEST_F(HostPathTest, DriveRootsFromSettingOrEnvironment) {
  SetDriveRoot('c', "/srv/c/");
  EXPECT_EQ(ToHostPath("C:\\QZP\\DATA\\"), "/srv/c/QZP/DATA/");
  EXPECT_EQ(ToHostPath("C:"), "/srv/c/");
  ::setenv("QZ_DRIVE_ROOT_D", "/mnt/d", 1);
  EXPECT_EQ(ToHostPath("d:\\x"), "/mnt/d/x");
  SetDriveRoot('M', "rel");  // a relative root stays relative
  EXPECT_EQ(ToHostPath("M:\\MASTER\\"), "rel/MASTER/");
  SetNetworkRoot("/net");
  EXPECT_EQ(ToHostPath("\\\\SV\\share\\a"), "/net/SV/share/a");
}

TEST_F(HostPathTest, NetworkAndDriveForms) {
  EXPECT_TRUE(IsNetworkPath("\\\\SV\\share"));
  EXPECT_TRUE(IsNetworkPath("//SV/share"));
  EXPECT_FALSE(IsNetworkPath("\\QZP\\"));
  EXPECT_FALSE(IsNetworkPath("C:\\"));
  EXPECT_TRUE(HasDriveLetter("x:"));
  EXPECT_FALSE(HasDriveLetter("1:\\"));
}

TEST_F(HostPathTest, JoinNeverDoublesSeparators) {
  struct Case {
    const char* folder;
    const char* name;
    const char* out;
  } cases[] = {
      {"C:\\QZP\\DATA\\", "QZKKKLF.BTR", "/QZP/DATA/QZKKKLF.BTR"},
      {"/data", "QZKKKLF.BTR", "/data/QZKKKLF.BTR"},
      {"/data/", "\\sub\\f", "/data/sub/f"},
      {"", "f", "f"},
      {"/data/", "", "/data/"},
  };
  for (const Case& c : cases) EXPECT_EQ(JoinPath(c.folder, c.name), c.out) << c.folder << " + " << c.name;
}

TEST(NoCase, NamesCompareWithoutCase) {
  EXPECT_TRUE(EqualNoCase("QZPPATH.ini", "qzppath.INI"));
  EXPECT_FALSE(EqualNoCase("QZPPATH.ini", "QZPPATH.in"));
  EXPECT_FALSE(EqualNoCase("結果", "結果A"));
}

TEST(NoCase, ResolvesEveryPartOfAPath) {
  testkit::ScratchDir dir;
  dir.Write("Qzp/Data/QZPPATH.ini", "x");
  const std::string root = dir.path();
  EXPECT_EQ(ResolveNoCase(root + "/QZP/DATA/QZPPATH.INI"), root + "/Qzp/Data/QZPPATH.ini");
  // A missing file keeps its name, in the folder that was found.
  EXPECT_EQ(ResolveNoCase(root + "/qzp/data/NEW.INI"), root + "/Qzp/Data/NEW.INI");
  EXPECT_EQ(ResolveNoCase(root + "/qzp/data/"), root + "/Qzp/Data/");
  // Nothing below a missing folder is looked for.
  EXPECT_EQ(ResolveNoCase(root + "/none/data"), root + "/none/data");
}

TEST(NoCase, ExactNameWinsOverOthers) {
  testkit::ScratchDir dir;
  dir.Write("a.ini", "1");
  dir.Write("A.INI", "2");
  dir.Write("A.ini", "3");
  EXPECT_EQ(ResolveNoCase(dir.Path("A.INI")), dir.Path("A.INI"));
  EXPECT_EQ(ResolveNoCase(dir.Path("a.Ini")), dir.Path("A.INI"));  // first in name order
}

TEST(NoCase, RelativePathsResolveFromTheCurrentFolder) {
  testkit::ScratchDir dir;
  dir.Write("QZP140.INI", "x");
  dir.Enter();
  EXPECT_EQ(ResolveNoCase("./qzp140.ini"), "./QZP140.INI");
  EXPECT_EQ(ResolveNoCase("qzp140.ini"), "QZP140.INI");
}

}  // namespace
}  // namespace qz::path
