// A save that fails or meets another terminal's write: F12 on the result
// screen with a write that fails at each step in turn, and with another
// process holding the results file's write lock shorter and longer than
// the wait, with a database server that stops answering and one that
// restarts. Nothing typed is lost, the files are stored whole or not at
// all, and the next save after the fault stores everything.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "data/record_layouts.h"
#include "examinee/bas_public.h"
#include "examinee/save_fixture.h"
#include "examinee/screen_fixture.h"
#include "grid/item_row_map.h"
#include "kit/own_pg_server.h"
#include "kit/scaled_centre.h"
#include "kit/pg_server.h"
#include "kit/tcp_relay.h"
#include "kit/tool_path.h"
#include "kit/tool_process.h"
#include "kit/ui_expect.h"
#include "loading/load_state.h"
#include "platform/text/vb.h"

namespace qz::test {
namespace {

using ui::MsgResult;

// Examinee 4 has today's consultation booked and nothing entered yet.
constexpr const char* kNew = "0000000004";
constexpr long long kHeight = 1001;  // 身長, numeric, digits "31"
constexpr long long kWeight = 1002;  // 体重

class SaveFailuresTest : public ScreenTest {
 protected:
  // Loads examinee 4 and enters height and weight as the grid would.
  void LoadAndEnter() {
    ASSERT_TRUE(StartAndChoose(kNew, kToday));
    Enter(kHeight, "168.5");
    Enter(kWeight, "60.2");
  }
  void Enter(long long code, const std::string& value) {
    const int i = ItemIndex(code);
    ASSERT_GT(i, 0) << code;
    frmResultIn.ResultMatrix(i, 0).Knsach = value + " ";
    const std::int16_t line = Fnc_FindItemRow(static_cast<std::int16_t>(i));
    if (line != 0) form().sprResult.SetText(basPublic.ResultCol, Fnc_ItemToRow(line), value + " ");
  }
  // What the screen holds of the two entries.
  std::vector<std::string> OnScreen() const {
    std::vector<std::string> values;
    for (long long code : {kHeight, kWeight}) {
      values.push_back(vb::Trim(frmResultIn.ResultMatrix(ItemIndex(code), 0).Knsach));
    }
    return values;
  }
  std::vector<std::string> StoredValues() const {
    std::vector<std::string> valued;
    for (const std::string& r : StoredResults(kNew, kToday)) {
      if (r.back() != '=') valued.push_back(r);
    }
    return valued;
  }
  // The three files a save writes, record by record.
  std::vector<std::vector<std::string>> Files() const {
    std::vector<std::vector<std::string>> files;
    for (const data::FileLayout* layout : {&data::QzjsnlfLayout(), &data::QzjrklfLayout(), &data::QzkkklfLayout()}) {
      record::BtrAccess obj;
      std::vector<std::string> records;
      if (obj.OpenFile(layout->file, layout->definition, suite_.paths().data, suite_.paths().spec_file)) {
        for (int s = obj.GetFirst(layout->definition); s == record::kStatusOk; s = obj.GetNext()) {
          records.push_back(obj.RecordBytes());
        }
      }
      files.push_back(records);
    }
    return files;
  }
  // F12, with the boxes it shows answered OK; returns their texts.
  std::vector<std::string> PressF12() {
    shell_.ClearRecords();
    shell_.auto_answer = true;
    shell_.Key(ui::kKeyF12);
    EXPECT_TRUE(shell_.Play());
    shell_.auto_answer = false;
    return Boxes();
  }
  // Whether the tool's next lines end with `line`.
  static bool Says(testkit::ToolProcess& tool, const std::string& line) {
    const std::vector<std::string> lines = tool.ReadUntil({line});
    return !lines.empty() && lines.back() == line;
  }
  // Builds the demo suite on the test server reached through `relay`, with
  // a busy wait of 1 second, then loads and enters as LoadAndEnter.
  void LoadThrough(const testkit::TcpRelay& relay) {
    ASSERT_NE(relay.port(), 0);
    suite_.OnServer(relay.ConnInfo());
    suite_.SetIni("SysInfo", "WriteWait", "1");
    BuildDemo();
    LoadAndEnter();
  }
  // F12 with the relay holding from the save's first bytes that hold
  // `text`: the save ends while the server still says nothing, with the one
  // message of a lost connection. Returns that message.
  std::string PressF12HeldAt(testkit::TcpRelay& relay, const std::string& text) {
    relay.HoldAt(text);
    const std::vector<std::string> boxes = PressF12();
    EXPECT_TRUE(relay.held()) << "the save ended while the server said nothing";
    EXPECT_EQ(boxes.size(), 1u) << ::testing::PrintToString(boxes);
    const std::string box = boxes.empty() ? std::string() : boxes[0];
    EXPECT_NE(box.find("ステータス : 2"), std::string::npos) << box;
    return box;
  }
  void ExpectKeptOnScreen() {
    EXPECT_TRUE(form().sprResult.visible);
    EXPECT_EQ(basPublic.ExamineeNo, kNew);
    EXPECT_EQ(OnScreen(), (std::vector<std::string>{"168.5", "60.2"}));
    EXPECT_EQ(OnlineRows().size(), 1u);
  }
};

// Every write of the save in turn fails: the history row, then each result
// record. Each time the files stay wholly as they were, the screen keeps
// every entry and the one message, the write failure of the file refused,
// stands only once the transaction has let the files go (another process
// writes the results file at once); once the fault is gone the same F12
// stores everything.
TEST_F(SaveFailuresTest, AWriteThatFailsAtAnyStepKeepsEverythingForTheNextSave) {
  BuildDemo();
  LoadAndEnter();
  auto before = Files();
  int failures = 0;
  std::vector<bool> other_wrote;
  std::string written;  // a file of the save that the fault does not refuse
  shell_.on_box = [&](const ui::MessageBoxRequest&) {
    testkit::ToolProcess other("qzterm", {"lock", suite_.paths().spec_file, suite_.paths().data, written, "0"});
    other_wrote.push_back(Says(other, "LOCKED"));
  };
  const std::map<std::string, std::string> refused = {
      {"QZJSNLF.BTR", "受診者マスタの更新に失敗しました。"},
      {"QZJRKLF.BTR", "受診歴マスタの書き込みに失敗しました。"},
      {"QZKKKLF.BTR", "検査結果マスタの書き込みに失敗しました。"},
  };
  for (const char* file : {"QZJSNLF.BTR", "QZJRKLF.BTR", "QZKKKLF.BTR"}) {
    const std::string path = suite_.paths().data + file;
    written = std::string(file) == "QZKKKLF.BTR" ? "QZJRKLF.BTR" : "QZKKKLF.BTR";
    for (int allowed = 0;; ++allowed) {
      SCOPED_TRACE(std::string(file) + " after " + std::to_string(allowed));
      testing::FailWritesAfter(path, {"INSERT", "UPDATE"}, allowed);
      other_wrote.clear();
      const std::vector<std::string> boxes = PressF12();
      const bool saved = boxes.empty();
      if (!saved) {
        ++failures;
        ASSERT_EQ(boxes.size(), 1u) << ::testing::PrintToString(boxes);
        EXPECT_EQ(other_wrote, std::vector<bool>{true});
        EXPECT_EQ(boxes[0].substr(0, boxes[0].find('\r')), refused.at(file)) << boxes[0];
        EXPECT_NE(boxes[0].find("ステータス : "), std::string::npos) << boxes[0];
        EXPECT_TRUE(Files() == before) << "the files are wholly as they were";
        ExpectKeptOnScreen();
      }
      testing::HealWrites(path, {"INSERT", "UPDATE"});
      if (saved) {
        // The fault was beyond the writes of this file: the save went
        // through. Take the examinee again for the next file.
        EXPECT_EQ(StoredValues(), (std::vector<std::string>{"1001=168.5", "1002=60.2"}));
        before = Files();
        ASSERT_TRUE(Choose(kNew, kToday));
        Enter(kHeight, "168.5");
        Enter(kWeight, "60.2");
        break;
      }
      ASSERT_LT(allowed, 200) << "the save never went through";
    }
  }
  EXPECT_GT(failures, 3);
  // Nothing in the way: the save stores and ends.
  EXPECT_TRUE(PressF12().empty());
  EXPECT_EQ(StoredValues(), (std::vector<std::string>{"1001=168.5", "1002=60.2"}));
  EXPECT_TRUE(OnlineRows().empty());
}

// A consultation of many items saved a first time (every result added)
// and a second time (every result rewritten): whichever result the server
// refuses, the one message is the results' write failure, and nothing of
// the save is stored.
TEST_F(SaveFailuresTest, ARefusedResultOfALargeConsultationIsTheResultsWriteFailure) {
  constexpr int kItems = 300;
  BuildScaledCentre(kItems, 5);
  ASSERT_TRUE(StartAndChoose(testkit::kScaledExaminee, kToday));
  const std::string path = suite_.paths().data + "QZKKKLF.BTR";
  for (const char* value : {"45.0", "75.0"}) {
    SCOPED_TRACE(value);
    int line = 1;
    while (frmResultIn.ItemTable[frmResultIn.RowItems[line]].Ksyub != kKsyubNumeric) ++line;
    const int row = Fnc_ItemToRow(static_cast<std::int16_t>(line));
    Drive([&] {
      form().sprResult.TypeIntoCell(basPublic.ResultCol, row, value);
      ui::Shell::Require().UserKey(ui::kKeyReturn);
    });
    const auto before = Files();
    for (int allowed : {0, 1, 40, kItems - 40}) {
      SCOPED_TRACE("after " + std::to_string(allowed));
      testing::FailWritesAfter(path, {"INSERT", "UPDATE"}, allowed);
      const std::vector<std::string> boxes = PressF12();
      testing::HealWrites(path, {"INSERT", "UPDATE"});
      ASSERT_EQ(boxes.size(), 1u) << ::testing::PrintToString(boxes);
      EXPECT_EQ(boxes[0].substr(0, boxes[0].find('\r')), "検査結果マスタの書き込みに失敗しました。") << boxes[0];
      EXPECT_TRUE(Files() == before) << "the files are wholly as they were";
    }
    ASSERT_TRUE(PressF12().empty());
    ASSERT_TRUE(Choose(testkit::kScaledExaminee, kToday));
  }
}

// A stored result whose stamp does not convert cuts the load short: after
// its report no screen of that load is left (the program ends as after a
// failed read), so nothing can save its empty items; every stored record
// stays byte for byte as it was and the examinee is released.
TEST_F(SaveFailuresTest, ALoadCutShortByABadStampLeavesNoScreenThatWrites) {
  suite_.Add("QZKKKLF", {{"CODE", std::string(kNew)}, {"JDATE", kToday}, {"KKMKNO", kHeight}, {"KNSACH", "170.0"},
                         {"YMD", "9.9E+99"}});
  BuildDemo();
  const auto before = Files();
  shell_.auto_answer = true;
  EXPECT_FALSE(StartAndChoose(kNew, kToday));
  shell_.auto_answer = false;
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].rfind("検査結果情報の取得処理でエラーが発生しました。", 0), 0u) << Boxes()[0];
  EXPECT_FALSE(frmResultInForm.loaded());
  EXPECT_TRUE(Files() == before) << "every stored record as it was";
  EXPECT_TRUE(OnlineRows().empty());
}

class BusyResultsFileTest : public SaveFailuresTest {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(testkit::ToolPath("qzterm"))) GTEST_SKIP() << "qzterm not built";
  }
  // qzterm's arguments that lock the results file.
  std::vector<std::string> LockResults(std::vector<std::string> more = {}) const {
    std::vector<std::string> args{"lock", suite_.paths().spec_file, suite_.paths().data, "QZKKKLF.BTR"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
  }
};

TEST_F(BusyResultsFileTest, AWriteOfAnotherTerminalLongerThanTheWaitKeepsEverythingForAnotherTry) {
  suite_.SetIni("SysInfo", "WriteWait", "1");
  BuildDemo();
  LoadAndEnter();
  const auto before = Files();
  {
    testkit::ToolProcess other("qzterm", LockResults());
    ASSERT_TRUE(Says(other, "LOCKED"));
    const std::vector<std::string> boxes = PressF12();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("ステータス : 84"), std::string::npos) << boxes[0];
    EXPECT_NE(boxes[0].find("他の端末がデータを書き込み中です。"), std::string::npos) << boxes[0];
    EXPECT_TRUE(Files() == before) << "the files are wholly as they were";
    ExpectKeptOnScreen();
    other.Send("");
    EXPECT_TRUE(Says(other, "FREE"));
  }
  EXPECT_TRUE(PressF12().empty());
  EXPECT_EQ(StoredValues(), (std::vector<std::string>{"1001=168.5", "1002=60.2"}));
  EXPECT_TRUE(OnlineRows().empty());
}

TEST_F(BusyResultsFileTest, AWriteOfAnotherTerminalShorterThanTheWaitIsWaitedFor) {
  BuildDemo();  // the wait of 30 seconds
  LoadAndEnter();
  testkit::ToolProcess other("qzterm", LockResults({"500"}));
  ASSERT_TRUE(Says(other, "LOCKED"));
  EXPECT_TRUE(PressF12().empty());
  EXPECT_EQ(StoredValues(), (std::vector<std::string>{"1001=168.5", "1002=60.2"}));
  EXPECT_TRUE(Says(other, "FREE"));
}

// A terminal killed (a crash, a power cut) while its save waits for
// another terminal's write: what it had written of the other files is
// undone, the stored files are wholly as they were, and started again at
// the same terminal it takes the examinee and saves.
TEST_F(BusyResultsFileTest, ATerminalKilledWhileItsSaveWaitsLeavesTheFilesWhole) {
  BuildDemo();
  const auto before = Files();
  const std::vector<std::string> args = {suite_.paths().program, kTerminal, std::to_string(kToday), "command",
                                         "0000000002" + std::to_string(kToday)};  // results stored today
  testkit::ToolProcess other("qzterm", LockResults());
  ASSERT_TRUE(Says(other, "LOCKED"));
  {
    testkit::ToolProcess t("qzterm", args);
    t.ReadUntil({"READY"});
    t.Send("go");
    ASSERT_EQ(t.ReadUntil({"HELD", "ENDED"}).back().rfind("HELD", 0), 0u);
    t.Send("save");
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));  // the save waits meanwhile
    t.Kill();
  }
  other.Send("");
  EXPECT_TRUE(Says(other, "FREE"));
  EXPECT_TRUE(Files() == before) << "the files are wholly as they were";
  testkit::ToolProcess again("qzterm", args);
  again.ReadUntil({"READY"});
  again.Send("go");
  ASSERT_EQ(again.ReadUntil({"HELD", "ENDED"}).back().rfind("HELD", 0), 0u);
  EXPECT_EQ(OnlineRows().size(), 1u);
  again.Send("save");
  EXPECT_EQ(again.ReadUntil({"ENDED", "RUNNING"}).back(), "ENDED");
  EXPECT_FALSE(Files() == before) << "the save after the crash stores";
  EXPECT_TRUE(OnlineRows().empty());
}

// Every read of the save fails in turn (the reception-number history read
// too: a consultation of a payment category). Each time the save stores
// nothing, not an empty number in place of one it could not read, its one
// message is shown only after the transaction has let the files go (another
// process writes at once while it stands), and the screen keeps every
// entry; once the fault is gone the save stores everything.
TEST_F(BusyResultsFileTest, AReadThatFailsDuringTheSaveStoresNothingAndSaysSoAfterTheTransaction) {
  BuildDemo();
  LoadAndEnter();
  basPublic.JkoKbn = 1;
  struct Case {
    const char* file;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"QZJSNLF.BTR", "受診者マスタの読み込みに失敗しました。"},
      {"QZJRKLF.BTR", "受診歴マスタの読み込みに失敗しました。"},
      {"QZCARLF.BTR", "政管受付番号履歴マスタの読み込みに失敗しました。"},
      {"QZJKRLF.BTR", "受診券履歴マスタの読み込みに失敗しました。"},
      {"QZKKKLF.BTR", "検査結果マスタの読み込みに失敗しました。"},
  };
  const auto before = Files();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string path = suite_.paths().data + c.file;
    const std::string written = std::string(c.file) == "QZKKKLF.BTR" ? "QZJRKLF.BTR" : "QZKKKLF.BTR";
    std::vector<bool> other_wrote;
    shell_.on_box = [&](const ui::MessageBoxRequest&) {
      testkit::ToolProcess other("qzterm", {"lock", suite_.paths().spec_file, suite_.paths().data, written, "0"});
      other_wrote.push_back(Says(other, "LOCKED"));
    };
    testing::FailReads(path);
    const std::vector<std::string> boxes = PressF12();
    testing::HealReads(path);
    shell_.on_box = nullptr;
    ASSERT_EQ(boxes.size(), 1u) << ::testing::PrintToString(boxes);
    EXPECT_EQ(boxes[0].rfind(c.message, 0), 0u) << boxes[0];
    EXPECT_NE(boxes[0].find("ステータス : "), std::string::npos) << boxes[0];
    EXPECT_EQ(other_wrote, std::vector<bool>{true});
    EXPECT_TRUE(Files() == before) << "the files are wholly as they were";
    ExpectKeptOnScreen();
  }
  EXPECT_TRUE(PressF12().empty());
  EXPECT_EQ(StoredValues(), (std::vector<std::string>{"1001=168.5", "1002=60.2"}));
  EXPECT_TRUE(OnlineRows().empty());
}

// A server that stops answering in the middle of a save, its packets
// dropped without a reset (a relay that passes nothing on from the save's
// first lock): F12 gives up after the busy wait and a margin, while the
// server still says nothing, with the one message of that read or write and
// its status; the files stay as they were and the screen keeps every entry.
// Once the server answers again, the next F12 stores everything.
TEST_F(SaveFailuresTest, ASaveThatMeetsASilentServerSaysSoAndTheNextSaveStoresEverything) {
  QZ_PG_OR_SKIP();
  testkit::TcpRelay relay(*testkit::PgServer());
  LoadThrough(relay);
  ASSERT_FALSE(HasFatalFailure());
  const auto before = Files();
  const std::string box = PressF12HeldAt(relay, "LOCK TABLE");
  relay.Resume();
  EXPECT_NE(box.find("に失敗しました。"), std::string::npos) << box;
  EXPECT_TRUE(Files() == before) << "the files are wholly as they were";
  ExpectKeptOnScreen();
  EXPECT_TRUE(PressF12().empty());
  EXPECT_EQ(StoredValues(), (std::vector<std::string>{"1001=168.5", "1002=60.2"}));
  EXPECT_TRUE(OnlineRows().empty());
}

// The answer to the save's COMMIT never comes (the relay holds the COMMIT
// and passes it on once the network is back, as a network's retransmission
// does): the terminal cannot know whether the save was stored, and the
// server stores it after the terminal gave up. The next
// F12 then stores the same entries once, with no message, and the files
// hold what one save stores.
TEST_F(SaveFailuresTest, ASaveWhoseCommitWasNeverAnsweredIsStoredOnceByTheNextSave) {
  QZ_PG_OR_SKIP();
  testkit::TcpRelay relay(*testkit::PgServer());
  LoadThrough(relay);
  ASSERT_FALSE(HasFatalFailure());
  PressF12HeldAt(relay, "COMMIT");
  relay.Resume();
  ExpectKeptOnScreen();
  // The server has the COMMIT now; what it stored is read once it is done.
  std::vector<std::vector<std::string>> landed;
  for (int i = 0; i < 100 && StoredValues().empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  landed = Files();
  const std::vector<std::string> again = PressF12();
  EXPECT_TRUE(again.empty()) << ::testing::PrintToString(again);
  EXPECT_EQ(StoredValues(), (std::vector<std::string>{"1001=168.5", "1002=60.2"}));
  const auto after = Files();
  ASSERT_EQ(after.size(), landed.size());
  for (std::size_t f = 0; f < after.size(); ++f) {
    EXPECT_EQ(after[f].size(), landed[f].size()) << "file " << f << " holds the save twice";
  }
  EXPECT_TRUE(OnlineRows().empty());
}

// A terminal cut off from the server (its packets dropped) while its save
// holds the results file's lock: the server learns nothing of it, yet the
// other terminals' saves go through once the terminal has been silent for
// longer than its busy wait and a margin, not after the hours the server's
// system waits for a connection that says nothing. Back on the network, the
// cut-off terminal's next F12 stores everything.
TEST_F(SaveFailuresTest, ATerminalCutOffWhileItHoldsTheResultsFileStopsNoOtherTerminal) {
  QZ_PG_OR_SKIP();
  if (!std::filesystem::exists(testkit::ToolPath("qzterm"))) GTEST_SKIP() << "qzterm not built";
  testkit::TcpRelay relay(*testkit::PgServer());
  LoadThrough(relay);
  ASSERT_FALSE(HasFatalFailure());
  // The other terminal reaches the server directly.
  std::string definitions;
  {
    std::ifstream in(suite_.paths().spec_file, std::ios::binary);
    definitions.assign(std::istreambuf_iterator<char>(in), {});
  }
  const std::string through_relay = relay.ConnInfo();
  ASSERT_NE(definitions.find(through_relay), std::string::npos);
  for (std::size_t at; (at = definitions.find(through_relay)) != std::string::npos;) {
    definitions.replace(at, through_relay.size(), *testkit::PgServer());
  }
  const std::string direct = suite_.paths().spec_file + ".direct";
  std::ofstream(direct, std::ios::binary) << definitions;
  PressF12HeldAt(relay, "COMMIT");
  // Started as the cut-off terminal gives up, the other one waits 10
  // seconds for the lock, longer than the cut-off one is left holding it.
  {
    testkit::ToolProcess other("qzterm", {"lock", direct, suite_.paths().data, "QZKKKLF.BTR", "0"});
    EXPECT_TRUE(Says(other, "LOCKED")) << "the other terminal never had the results file";
  }
  EXPECT_TRUE(relay.held());
  relay.Resume();
  EXPECT_TRUE(PressF12().empty());
  EXPECT_EQ(StoredValues(), (std::vector<std::string>{"1001=168.5", "1002=60.2"}));
}

// A server restarted (every session ended) between two operations of a
// running terminal: its next save and its next choice of an examinee
// connect again and go through without a message.
TEST_F(SaveFailuresTest, AfterAServerRestartTheNextSaveAndChoiceGoThrough) {
  testkit::OwnPgServer server;
  if (!server.failed().empty()) GTEST_SKIP() << server.failed();
  suite_.OnServer(server.conninfo());
  BuildDemo();
  LoadAndEnter();
  ASSERT_TRUE(server.Restart());
  EXPECT_TRUE(PressF12().empty());
  EXPECT_EQ(StoredValues(), (std::vector<std::string>{"1001=168.5", "1002=60.2"}));
  ASSERT_TRUE(SearchShown());
  ASSERT_TRUE(server.Restart());
  shell_.ClearRecords();
  EXPECT_TRUE(Choose(kNew, kToday));
  EXPECT_TRUE(Boxes().empty()) << ::testing::PrintToString(Boxes());
  EXPECT_EQ(OnScreen(), (std::vector<std::string>{"168.5", "60.2"}));
  EXPECT_EQ(OnlineRows().size(), 1u);
}

}  // namespace
}  // namespace qz::test
