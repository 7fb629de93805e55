#include <gtest/gtest.h>

#include <filesystem>

#include "kit/ui_expect.h"
#include "platform/path/host_path.h"
#include "platform/runtime/app.h"
#include "update/bas_public.h"
#include "update/path_set.h"
#include "update/process_list.h"
#include "update/update_fixture.h"

namespace qz::update {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// A release in D:\REL (Update.exe with Update.INI) and an installation in
// D:\SUITE with its QZPPATH.INI, folders and settings files.
class PathSetTest : public testing::UpdateTest {
 protected:
  void SetUp() override {
    UpdateTest::SetUp();
    MakeInstallation();
  }
  void TearDown() override {
    SetProcessListForTest(nullptr);
    path::SetNetworkRoot(std::nullopt);
    UpdateTest::TearDown();
  }
  std::string OnlyBox() const {
    return shell_.boxes().size() == 1 ? shell_.boxes()[0].request.text : "(" + std::to_string(shell_.boxes().size()) + " boxes)";
  }
};

TEST_F(PathSetTest, ACommandLineNamesTheInstallation) {
  bool asked = false;
  SetProcessListForTest([&] {
    asked = true;
    return std::vector<std::string>{};
  });
  MarkLog();
  ASSERT_TRUE(Fnc_PathEdit("D:\\SUITE"));
  EXPECT_FALSE(asked);
  EXPECT_EQ(basPublic.ProgramPath, "D:\\SUITE\\");
  EXPECT_EQ(basPublic.RootPath, "D:\\REL\\");
  EXPECT_EQ(basPublic.UpdateIniPath, "D:\\REL\\Update.INI");
  EXPECT_EQ(basPublic.PathIniPath, "D:\\SUITE\\QZPPATH.INI");
  EXPECT_EQ(basPublic.MasterPath, "M:\\MASTER\\");
  EXPECT_EQ(basPublic.DataPath, "D:\\DATA\\");  // relative to the installation
  EXPECT_EQ(basPublic.CsvPath, "D:\\CSV\\");     // given a closing "\"
  EXPECT_EQ(basPublic.SpecIniPath, "D:\\SUITE\\CPFSPEC.INI");
  EXPECT_EQ(basPublic.CsvIniPath, "D:\\SUITE\\QZPCSV.INI");
  Lines log = LogTexts();
  Lines tail(log.end() - 8, log.end());
  EXPECT_EQ(log[0], "コマンドライン : D:\\SUITE");
  EXPECT_EQ(log[1], "コマンドラインを使用します。");
  EXPECT_EQ(tail, (Lines{"ルートフォルダ : D:\\REL\\", "VLMP_MASTER    : M:\\MASTER\\", "VLMP           : D:\\SUITE\\",
                         "VLMF           : D:\\DATA\\", "CSV            : D:\\CSV\\",
                         "UPDATE.INI     : D:\\REL\\Update.INI", "QZPPATH.INI    : D:\\SUITE\\QZPPATH.INI",
                         "CPFSPEC.INI    : D:\\SUITE\\CPFSPEC.INI"}));
  EXPECT_TRUE(Logged("◆◇◆ パス編集処理開始 ◆◇◆"));
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(PathSetTest, AQuotedCommandLineIsTakenWithoutItsQuotes) {
  ASSERT_TRUE(Fnc_PathEdit(" \"D:\\SUITE\\\" "));
  EXPECT_EQ(basPublic.ProgramPath, "D:\\SUITE\\");
}

TEST_F(PathSetTest, WithoutACommandLineTheOneRunningMainProgramNamesIt) {
  std::vector<std::string> running{Host("D:\\SUITE\\VANTORIK.EXE"), Host("D:\\SUITE\\QZP140.EXE")};
  SetProcessListForTest([&] { return running; });
  ASSERT_TRUE(Fnc_PathEdit(""));
  EXPECT_EQ(basPublic.ProgramPath, Host("D:\\SUITE") + "/");
  EXPECT_TRUE(Logged("バントリクが実行されているか確認します。"));

  struct Case {
    std::vector<std::string> running;
    std::string box, line;
  } cases[] = {
      {{}, "バントリクが見つかりません。\r\n\r\nバントリクを起動してから実行して下さい。", "「VANTORIK.EXE」が見つかりません。"},
      {{"/a/VANTORIK.EXE", "/b/vantorik.exe"},
       "バントリクが2個見つかりました。\r\n\r\nバージョンアップを行いたいバントリクを\r\n１つだけ起動した状態で実行して下さい。",
       "「VANTORIK.EXE」が2個見つかりました。"},
  };
  for (const Case& c : cases) {
    running = c.running;
    shell_.ClearRecords();
    shell_.AnswerBox(ui::MsgResult::kOk);
    EXPECT_FALSE(Fnc_PathEdit(""));
    EXPECT_EQ(OnlyBox(), c.box);
    EXPECT_TRUE(Logged(c.line));
  }
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(PathSetTest, EachMissingPieceIsNamed) {
  struct Case {
    std::function<void()> spoil;
    std::string box, line;
  } cases[] = {
      {[this] { fs::remove(Host("D:\\REL\\Update.INI")); },
       "バージョンアップ定義ファイルが見つかりません。\r\n\r\nパス : D:\\REL\\Update.INI",
       "「D:\\REL\\Update.INI」が見つかりません。"},
      {[this] { fs::remove(Host("D:\\SUITE\\QZPPATH.INI")); },
       "QZPPATH.INIが見つかりません。\r\n\r\nパス : D:\\SUITE\\QZPPATH.INI", "「D:\\SUITE\\QZPPATH.INI」が見つかりません。"},
      {[this] { fs::remove(Host("M:\\MASTER")); },
       "VLMP_MASTERフォルダが見つかりません。\r\n\r\nパス : M:\\MASTER\\", "フォルダ「M:\\MASTER\\」が見つかりません。"},
      {[this] { fs::remove(Host("D:\\DATA")); },
       "VLMFフォルダが見つかりません。\r\n\r\nパス : D:\\DATA\\", "フォルダ「D:\\DATA\\」が見つかりません。"},
      {[this] { WritePathIni("VLMP_MASTER=M:\\MASTER\\\r\nVLMF=D:\\DATA\\\r\nCPFSPEC=D:\\SUITE\\CPFSPEC.INI\r\n"); },
       "CSVフォルダが見つかりません。\r\n\r\nパス : ", "フォルダ「」が見つかりません。"},
      {[this] { fs::remove(Host("D:\\SUITE\\CPFSPEC.INI")); },
       "CPFSPEC.INIが見つかりません。\r\n\r\nパス : D:\\SUITE\\CPFSPEC.INI", "「D:\\SUITE\\CPFSPEC.INI」が見つかりません。"},
      {[this] { fs::remove(Host("D:\\SUITE\\QZPCSV.INI")); },
       "QZPCSV.INIが見つかりません。\r\n\r\nパス : D:\\SUITE\\QZPCSV.INI", "「D:\\SUITE\\QZPCSV.INI」が見つかりません。"},
      {[this] { fs::remove_all(Host("D:\\SUITE")); }, "「D:\\SUITE\\」が見つかりません。",
       "「D:\\SUITE\\」が見つかりません。"},
  };
  for (Case& c : cases) {
    TearDown();
    SetUp();
    c.spoil();
    shell_.ClearRecords();
    shell_.AnswerBox(ui::MsgResult::kOk);
    EXPECT_FALSE(Fnc_PathEdit("D:\\SUITE"));
    EXPECT_EQ(OnlyBox(), c.box);
    EXPECT_EQ(shell_.boxes().empty() ? ui::MsgIcon::kNone : shell_.boxes()[0].request.icon, ui::MsgIcon::kCritical);
    EXPECT_TRUE(Logged(c.line)) << c.line;
  }
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(PathSetTest, ANetworkFolderIsRefusedByTheChangeOfFolder) {
  path::SetNetworkRoot(dir_.Path("net"));
  fs::create_directories(dir_.Path("net/SV/SUITE"));
  shell_.AnswerBox(ui::MsgResult::kOk);
  EXPECT_FALSE(Fnc_PathEdit("\\\\SV\\SUITE"));
  EXPECT_EQ(OnlyBox(), "「\\\\SV\\SUITE\\」に移動できません。");
  EXPECT_TRUE(Logged("  ネットワークパスは無効です。"));
  EXPECT_SCRIPT_OK(shell_);
}

}  // namespace
}  // namespace qz::update
