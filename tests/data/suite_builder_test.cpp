#include "kit/suite_builder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "examinee/bas_public.h"
#include "platform/ini/profile.h"

namespace qz::testkit {
namespace {

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(SuiteBuilder, WritesThePathFileTheStartReads) {
  SuiteBuilder b;
  b.SetIni("SysInfo", "CopyRight", "(C)さくら健診").SetPathKey("RESERVE", "", false);
  const SuitePaths& p = b.Build();
  // "CPFSPEC " keeps its trailing blank; the key without it is not written.
  EXPECT_EQ(ini::GetProfileString(p.path_ini, "FILE_PATH", "CPFSPEC ", ""), p.spec_file);
  EXPECT_NE(ReadBytes(p.path_ini).find("CPFSPEC =" + p.spec_file), std::string::npos);
  EXPECT_EQ(ini::GetProfileString(p.path_ini, "FILE_PATH", "VLMF", ""), p.data);
  EXPECT_EQ(ini::GetProfileString(p.path_ini, "FILE_PATH", "SVWORK", ""), p.work);
  EXPECT_EQ(ini::GetProfileString(p.path_ini, "FILE_PATH", "RESERVE", "none"), "none");
  // The INI files are CP932.
  EXPECT_EQ(ini::GetProfileString(p.p140_ini, "SysInfo", "CopyRight", ""), "(C)さくら健診");
  EXPECT_EQ(ini::GetProfileString(p.p140_ini, "SysInfo", "MenuCheck", ""), "0");
  EXPECT_NE(ReadBytes(p.p140_ini).find("\x82\xb3\x82\xad\x82\xe7"), std::string::npos);  // さくら
  EXPECT_TRUE(std::filesystem::exists(p.program + "KWBDISP.ENV"));
  EXPECT_TRUE(std::filesystem::exists(p.work + "QJKKKLF.BTR"));

  basPublic = BasPublic{};
  b.ApplyPaths();
  EXPECT_EQ(basPublic.VlmfPath, p.data);
  EXPECT_EQ(basPublic.SpecPath, p.spec_file);
  EXPECT_EQ(basPublic.SvworkPath, p.work);
}

TEST(SuiteBuilder, RefusesFieldsNoLayoutDeclares) {
  SuiteBuilder b;
  EXPECT_THROW(b.Add("QZJSNLF", {{"NOSUCH", 1}}), std::invalid_argument);
  EXPECT_THROW(b.Add("NOSUCHLF", {{"CODE", 1}}), std::invalid_argument);
  // A definition with several record kinds takes the one that has the fields.
  EXPECT_NO_THROW(b.Add("QZSYSLF", {{"KBN", 2}, {"GNMEI_1", "明治"}}));
  b.Omit("QZKOMLF.BTR");
  const SuitePaths& p = b.Build();
  EXPECT_FALSE(std::filesystem::exists(p.data + "QZKOMLF.BTR"));
  EXPECT_THROW(b.Add("QZJSNLF", {{"SEX", 12}}), std::runtime_error);  // one digit only
}

TEST(SuiteBuilder, RemovesItsTemporaryTree) {
  std::string root;
  {
    SuiteBuilder b;
    root = b.Build().root;
    EXPECT_TRUE(std::filesystem::exists(root));
  }
  EXPECT_FALSE(std::filesystem::exists(root));
}

}  // namespace
}  // namespace qz::testkit
