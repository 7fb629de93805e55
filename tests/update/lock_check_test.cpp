#include <gtest/gtest.h>

#include <signal.h>
#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "kit/ui_expect.h"
#include "platform/process/child_process.h"
#include "platform/system/open_files.h"
#include "update/bas_public.h"
#include "update/steps.h"
#include "update/steps_fixture.h"

namespace qz::update {
namespace {

using testing::StepsTest;
using ui::MsgResult;
namespace fs = std::filesystem;

constexpr const char* kInUse =
    "ファイルを使用中の可能性があります。\r\n全てのプログラムを終了して下さい。\r\n他の端末は電源を切って下さい。"
    "\r\n\r\nそれでも無理な場合は、コンピュータを再起動してからバージョンアップを行って下さい。";

class LockCheckTest : public StepsTest {
 protected:
  void SetUp() override {
    StepsTest::SetUp();
    basPublic.LockCheck = true;
    WriteFile("D:\\DATA\\QZSYSLF.BTR", "settings");
  }
  void TearDown() override {
    system::SetFolderUsersForTest(nullptr);
    StepsTest::TearDown();
  }
};

TEST_F(LockCheckTest, AFreeFolderIsRenamedAwayAndBack) {
  system::SetFolderUsersForTest([](std::string_view) { return std::vector<system::OpenFileHolder>{}; });
  ASSERT_TRUE(Fnc_LockCheck());
  EXPECT_EQ(ReadFile("D:\\DATA\\QZSYSLF.BTR"), "settings");
  EXPECT_FALSE(Exists("D:\\DATA.Check_20261209142233"));
  EXPECT_EQ(LogFrom("◆ ロック状態の確認開始 ◆"),
            (std::vector<std::string>{"◆ ロック状態の確認開始 ◆", "リネーム開始 : D:\\DATA\\",
                                      "ファイル名を変更しました。 : D:\\DATA\\ -> D:\\DATA.Check_20261209142233",
                                      "リネームを戻す : D:\\DATA.Check_20261209142233",
                                      "ファイル名を変更しました。 : D:\\DATA.Check_20261209142233 -> D:\\DATA\\",
                                      "ロック状態の確認が正常終了しました。"}));
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(LockCheckTest, TheCheckCanBeSwitchedOff) {
  basPublic.LockCheck = false;
  basPublic.DataPath = "D:\\NONE\\";
  ASSERT_TRUE(Fnc_LockCheck());
  EXPECT_TRUE(Logged("ファイルのロック状態チェックが不要のため無視します。"));
}

TEST_F(LockCheckTest, AFolderInUseOrMissingStopsTheRun) {
  system::SetFolderUsersForTest([](std::string_view folder) {
    return std::vector<system::OpenFileHolder>{{4242, std::string(folder) + "QZSYSLF.BTR"}};
  });
  shell_.AnswerBox(MsgResult::kOk, kInUse);
  EXPECT_FALSE(Fnc_LockCheck());
  EXPECT_TRUE(Exists("D:\\DATA\\QZSYSLF.BTR"));
  EXPECT_FALSE(Logged("ロック状態の確認が正常終了しました。"));

  system::SetFolderUsersForTest([](std::string_view) { return std::vector<system::OpenFileHolder>{}; });
  basPublic.DataPath = "D:\\NONE\\";
  shell_.AnswerBox(MsgResult::kOk, kInUse);
  EXPECT_FALSE(Fnc_LockCheck());
  EXPECT_EQ(shell_.boxes().size(), 2u);
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(LockCheckTest, AProgramHoldingADataFileOpenIsFound) {
  const std::string data = Host("D:\\DATA");
  WriteFile("D:\\SUITE\\holder", "#!/bin/sh\nexec 3<\"$1\"\nexec sleep 30\n");
  fs::permissions(Host("D:\\SUITE\\holder"), fs::perms::owner_all, fs::perm_options::add);
  process::ChildProcess child = process::ChildProcess::Start(Host("D:\\SUITE\\holder"), data + "/QZSYSLF.BTR");
  ASSERT_TRUE(child.started());
  std::vector<system::OpenFileHolder> users;
  for (int i = 0; i < 200 && users.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    users = system::ProcessesUsingFolder(data + "/");
  }
  ::kill(child.pid(), SIGKILL);
  child.Wait(-1);
  ASSERT_EQ(users.size(), 1u);
  EXPECT_EQ(users[0].pid, child.pid());
  EXPECT_EQ(users[0].file, fs::canonical(data + "/QZSYSLF.BTR").string());
  EXPECT_TRUE(system::ProcessesUsingFolder(data).empty());
}

TEST_F(LockCheckTest, AFileInTheMiddleOfATransactionIsInUse) {
  system::SetFolderUsersForTest([](std::string_view) { return std::vector<system::OpenFileHolder>{}; });
  const std::string file = Host("D:\\DATA") + "/QZKKKLF.btr";
  sqlite3* writer = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &writer), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(writer, "CREATE TABLE t(x); BEGIN EXCLUSIVE; INSERT INTO t VALUES(1);", nullptr, nullptr,
                         nullptr),
            SQLITE_OK);
  shell_.AnswerBox(MsgResult::kOk, kInUse);
  EXPECT_FALSE(Fnc_LockCheck());
  EXPECT_TRUE(Logged("  使用中のファイル : D:\\DATA\\QZKKKLF.btr"));

  sqlite3_exec(writer, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(writer);
  EXPECT_TRUE(Fnc_LockCheck());  // the same file once the transaction is over; other files are no databases
  EXPECT_SCRIPT_OK(shell_);
}

}  // namespace
}  // namespace qz::update
