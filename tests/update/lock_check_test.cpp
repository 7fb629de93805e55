#include <gtest/gtest.h>

#include <signal.h>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <thread>

#include "kit/demo_data.h"
#include "kit/pg_server.h"
#include "kit/suite_builder.h"
#include "kit/tool_path.h"
#include "kit/tool_process.h"
#include "kit/ui_expect.h"
#include "platform/process/child_process.h"
#include "platform/record/btr_access.h"
#include "platform/record/definitions.h"
#include "platform/record/folder_users.h"
#include "platform/record/status.h"
#include "platform/record/storage_location.h"
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

// The data folder on a database server that cannot be reached: whether
// another terminal uses it cannot be told, so the check fails and the
// folder is not renamed.
TEST_F(LockCheckTest, AServerThatCannotBeReachedStopsTheRun) {
  system::SetFolderUsersForTest([](std::string_view) { return std::vector<system::OpenFileHolder>{}; });
  WriteFile("D:\\SUITE\\CPFSPEC.INI",
            "[STORAGE]\r\nD:\\DATA=POSTGRESQL host=" + Host("D:\\NOSERVER") +
                " dbname=qz schema=data connect_timeout=2\r\n");
  basPublic.SpecIniPath = "D:\\SUITE\\CPFSPEC.INI";
  shell_.AnswerBox(MsgResult::kOk, std::string(kInUse) + "\r\n\r\nフォルダ : D:\\DATA\\");
  EXPECT_FALSE(Fnc_LockCheck());
  bool told = false;
  for (const std::string& line : LogTexts()) told = told || line.rfind("  サーバーに使用状況を確認できません。 : D:\\DATA\\", 0) == 0;
  EXPECT_TRUE(told);
  EXPECT_FALSE(Logged("ロック状態の確認が正常終了しました。"));
  EXPECT_TRUE(Exists("D:\\DATA\\QZSYSLF.BTR"));
  EXPECT_SCRIPT_OK(shell_);
}

// The data folder on the database server: a QZP140 of another terminal
// with the folder open, and separately another terminal's transaction
// holding the results table, each fail the check, which names the folder;
// with neither it passes. This program's own use of the folder never
// counts.
TEST_F(LockCheckTest, AServerFolderInUseOnAnyTerminalStopsTheRun) {
  QZ_PG_OR_SKIP();
  if (!fs::exists(testkit::ToolPath("qzterm"))) GTEST_SKIP() << "qzterm not built";
  system::SetFolderUsersForTest([](std::string_view) { return std::vector<system::OpenFileHolder>{}; });
  const char* engine = std::getenv("QZ_SUITE_ENGINE");
  const std::optional<std::string> was = engine ? std::optional<std::string>(engine) : std::nullopt;
  ::setenv("QZ_SUITE_ENGINE", "postgres", 1);
  auto builder = std::make_unique<testkit::SuiteBuilder>();  // a temporary tree, its schemas dropped with it
  if (was) ::setenv("QZ_SUITE_ENGINE", was->c_str(), 1); else ::unsetenv("QZ_SUITE_ENGINE");
  testkit::AddDemoData(*builder, testkit::DemoOptions{"DEMO-PC", 20261209});
  const testkit::SuitePaths& p = builder->Build();
  fs::create_directories(p.data);
  basPublic.DataPath = p.data;
  basPublic.SpecIniPath = p.spec_file;

  // This program has the results open itself.
  const auto defs = record::Definitions::Load(p.spec_file);
  std::string results;
  for (const auto& [name, d] : defs->definitions()) {
    if (d.file == "QZKKKLF.BTR" && d.key == 0) results = name;
  }
  record::BtrAccess own;
  ASSERT_TRUE(own.OpenFile("QZKKKLF.BTR", results, p.data, p.spec_file));
  EXPECT_TRUE(Fnc_LockCheck());

  {
    // A session of the server that knows nothing of the folder lock (a
    // program of its own, a console) holds the results in a transaction.
    const auto location = record::ParseStorage(*defs->FindStorage(p.data));
    ASSERT_TRUE(location);
    std::unique_ptr<PGconn, decltype(&PQfinish)> other(PQconnectdb(testkit::PgServer()->c_str()), PQfinish);
    ASSERT_EQ(PQstatus(other.get()), CONNECTION_OK);
    const std::string lock = "BEGIN; LOCK TABLE \"" + location->schema + "\".\"QZKKKLF.BTR\" IN SHARE ROW EXCLUSIVE MODE";
    PGresult* locked = PQexec(other.get(), lock.c_str());
    ASSERT_EQ(PQresultStatus(locked), PGRES_COMMAND_OK) << PQerrorMessage(other.get());
    PQclear(locked);
    shell_.AnswerBox(MsgResult::kOk, std::string(kInUse) + "\r\n\r\nフォルダ : " + p.data);
    MarkLog();
    EXPECT_FALSE(Fnc_LockCheck());
    bool named = false;
    for (const std::string& line : LogTexts()) named = named || line.find(" : QZKKKLF") != std::string::npos;
    EXPECT_TRUE(named);
    PQclear(PQexec(other.get(), "COMMIT"));
  }
  MarkLog();
  EXPECT_TRUE(Fnc_LockCheck());
  {
    testkit::ToolProcess qzp140("qzterm", {p.program, "DEMO-PC", "20261209", "command", "000000000220261209"});
    qzp140.ReadUntil({"READY"});
    qzp140.Send("go");
    ASSERT_EQ(qzp140.ReadUntil({"HELD", "ENDED"}).back().rfind("HELD", 0), 0u);
    MarkLog();
    shell_.AnswerBox(MsgResult::kOk, kInUse);
    EXPECT_FALSE(Fnc_LockCheck());
    EXPECT_FALSE(Logged("ロック状態の確認が正常終了しました。"));
    bool named = false;
    for (const std::string& line : LogTexts()) named = named || line.rfind("  使用中の端末 : ", 0) == 0;
    EXPECT_TRUE(named);
    qzp140.Kill();
  }
  // The server ends the session of a program that is gone at once.
  std::vector<record::FolderUser> users{{}};
  for (int i = 0; i < 100 && !users.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(record::ServerFolderUsers(*defs, p.data, &users), record::kStatusOk);
  }
  MarkLog();
  EXPECT_TRUE(Fnc_LockCheck());
  EXPECT_SCRIPT_OK(shell_);
}

}  // namespace
}  // namespace qz::update
