// The reservation lookup: the decoding of the examination classes and the
// read of the first reservation from the reservation database.
#include "tools/reservation_lookup.h"

#include <gtest/gtest.h>

#include <string>

#include "examinee/bas_public.h"
#include "kit/demo_data.h"
#include "kit/scratch_dir.h"
#include "kit/ui_expect.h"
#include "platform/ui/scripted_shell.h"
#include "tools/reservation_database.h"

namespace qz {
namespace {

struct DecodeCase {
  const char* classes;
  const char* text;
};

void PrintTo(const DecodeCase& c, std::ostream* os) { *os << '"' << c.classes << '"'; }

class DecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTest, LinesInGroupOrder) {
  EXPECT_EQ(Fnc_DecodeReservationClasses(GetParam().classes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Classes, DecodeTest,
    ::testing::Values(
        DecodeCase{"01230010",
                   "  　内視鏡： 生検\r\n  　Ｘ－Ｐ： 胸・胃\r\n  　婦人　： 子なし\r\n"
                   "  　肝炎　： なし\r\n  　便　　： １本\r\n  　尿　　： あり\r\n"},
        // An unknown urine digit gives no urine line.
        DecodeCase{"01230012",
                   "  　内視鏡： 生検\r\n  　Ｘ－Ｐ： 胸・胃\r\n  　婦人　： 子なし\r\n"
                   "  　肝炎　： なし\r\n  　便　　： １本\r\n"},
        DecodeCase{"33001120",
                   "  　内視鏡： なし\r\n  　Ｘ－Ｐ： なし\r\n  　婦人　： 乳子なし\r\n"
                   "  　肝炎　： あり\r\n  　便　　： なし\r\n  　尿　　： あり\r\n"},
        // A value that stops before position 5 gives no hepatitis line.
        DecodeCase{"21", "  　Ｘ－Ｐ： 胸なし\r\n  　婦人　： 子なし\r\n"},
        // Digits a group does not know, and a blank at position 5.
        DecodeCase{"993 9999", "  　肝炎　： なし\r\n"},
        DecodeCase{"", ""}));

class ReservationTest : public ::testing::Test {
 protected:
  ReservationTest() {
    basPublic = BasPublic{};
    basRSVGET = BasRsvget{};
    basPublic.ReservePath = dir_.Path("RESERVE/RESERVE.MDB");
    basPublic.ExamineeNo = "0000012345";
    basPublic.ConsultDate = 20261209;
  }
  ~ReservationTest() override {
    basPublic = BasPublic{};
    basRSVGET = BasRsvget{};
  }
  void Add(int doctor, const char* patient, int date, const char* classes) {
    AddReservation(basPublic.ReservePath, {date, "0900", doctor, patient, classes});
  }

  testkit::ScratchDir dir_;
  ui::ScriptedShell shell_;
};

TEST_F(ReservationTest, FirstMatchingReservationOfDoctorOneIsDecoded) {
  Add(2, "0000012345", 20261209, "33333333");   // another doctor
  Add(1, "0000012345", 20261208, "33333333");   // another day
  Add(1, "0000012346", 20261209, "33333333");   // another patient
  Add(1, "0000012345", 20261209, "01230010");
  Add(1, "0000012345", 20261209, "33333333");   // a second one is not read
  basRSVGET.ReservationText = "left over";
  Sub_GetReservation();
  EXPECT_EQ(basRSVGET.ReservationText, Fnc_DecodeReservationClasses("01230010"));
  EXPECT_TRUE(shell_.boxes().empty());
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(ReservationTest, NoReservationLeavesTheTextEmptyWithoutAMessage) {
  Add(1, "0000012345", 20261208, "01230010");
  basRSVGET.ReservationText = "left over";
  Sub_GetReservation();
  EXPECT_EQ(basRSVGET.ReservationText, "");
  EXPECT_TRUE(shell_.boxes().empty());
  EXPECT_EQ(shell_.beeps(), 0);
}

TEST_F(ReservationTest, ExamineeNumberIsComparedAsAValueNeverAsQueryText) {
  Add(1, "0000012345", 20261209, "01230010");
  basPublic.ExamineeNo = "' OR '1'='1";
  Sub_GetReservation();
  EXPECT_EQ(basRSVGET.ReservationText, "");
  EXPECT_TRUE(shell_.boxes().empty());
  // The number is taken as it stands: trailing blanks do not match.
  basPublic.ExamineeNo = "0000012345 ";
  Sub_GetReservation();
  EXPECT_EQ(basRSVGET.ReservationText, "");
}

TEST_F(ReservationTest, MissingDatabaseBeepsAndShowsTheOpenError) {
  shell_.AnswerBox(ui::MsgResult::kOk, "MDB OPEN ERROR\r\nERROR STATUS: ");
  Sub_GetReservation();
  EXPECT_EQ(basRSVGET.ReservationText, "");
  ASSERT_EQ(shell_.boxes().size(), 1u);
  EXPECT_EQ(shell_.boxes()[0].request.icon, ui::MsgIcon::kCritical);
  EXPECT_EQ(shell_.boxes()[0].request.title, "結果入力");
  EXPECT_EQ(shell_.beeps(), 1);
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(ReservationTest, NoDatabaseNamedIsAnOpenError) {
  basPublic.ReservePath = "";
  shell_.AnswerBox(ui::MsgResult::kOk, "MDB OPEN ERROR");
  Sub_GetReservation();
  EXPECT_EQ(basRSVGET.ReservationText, "");
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(ReservationTest, AFileThatIsNoDatabaseIsAnOpenError) {
  dir_.Write("RESERVE/RESERVE.MDB", "予約一覧\r\n0000012345,20261209,01230010\r\n");
  shell_.AnswerBox(ui::MsgResult::kOk, "MDB OPEN ERROR\r\nERROR STATUS: 26\r\n");
  Sub_GetReservation();
  EXPECT_EQ(basRSVGET.ReservationText, "");
  EXPECT_EQ(shell_.beeps(), 1);
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(ReservationTest, DatabaseWithoutTheTableShowsTheTableError) {
  dir_.Write("RESERVE/RESERVE.MDB", "");  // an empty file opens as an empty database
  shell_.AnswerBox(ui::MsgResult::kOk, "TABLE OPEN ERROR\r\nERROR STATUS: 1\r\nno such table");
  Sub_GetReservation();
  EXPECT_EQ(basRSVGET.ReservationText, "");
  EXPECT_EQ(shell_.beeps(), 1);
  EXPECT_SCRIPT_OK(shell_);
}

TEST(DemoReservationTest, TheDemoBooksTodayForTheFirstTwoExaminees) {
  testkit::SuiteBuilder b;
  testkit::AddDemoData(b, {"DEMO-PC", 20260310});
  b.Build();
  b.ApplyPaths();
  ui::ScriptedShell shell;
  basPublic.ConsultDate = 20260310;
  std::vector<std::string> texts;
  for (const std::string& no : testkit::DemoExamineeNumbers()) {
    basPublic.ExamineeNo = no;
    Sub_GetReservation();
    texts.push_back(basRSVGET.ReservationText);
  }
  EXPECT_EQ(texts, (std::vector<std::string>{Fnc_DecodeReservationClasses("01230010"),
                                             Fnc_DecodeReservationClasses("33001120"), "", "", ""}));
  EXPECT_SCRIPT_OK(shell);
  basPublic = BasPublic{};
  basRSVGET = BasRsvget{};
}

}  // namespace
}  // namespace qz
