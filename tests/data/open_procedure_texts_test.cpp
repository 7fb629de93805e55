// Every open procedure of the masters: the message of a failed open and the
// job text of its error report, one row per procedure. The texts are the
// operator's only clue which master is broken, so each is pinned exactly.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "data/bas_file_access.h"
#include "data/record_layouts.h"
#include "examinee/bas_public.h"
#include "kit/suite_builder.h"
#include "kit/ui_expect.h"
#include "platform/record/btr_file.h"
#include "platform/record/status.h"
#include "platform/ui/scripted_shell.h"

namespace qz {
namespace {

struct Procedure {
  bool (*open)();
  const char* layout;  // the layout it declares
  const char* open_error;
  const char* job_text;
};

const Procedure kProcedures[] = {
    {Fnc_OpenJsnMaster, "QZJSNLF", "受診者マスタオープンエラー", "受診者マスタのオープン処理でエラーが発生しました。"},
    {Fnc_OpenDanMaster, "QZDANLF", "団体マスタオープンエラー", "団体マスタのオープン処理でエラーが発生しました。"},
    {Fnc_OpenJkoMaster, "QZJKOLF", "受診項目マスタオープンエラー", "受診項目マスタのオープン処理でエラーが発生しました。"},
    {Fnc_OpenJrkMaster, "QZJRKLF", "受診歴マスタオープンエラー", "受診歴マスタのオープン処理でエラーが発生しました。"},
    {Fnc_OpenKkkMaster, "QZKKKLF", "検査結果マスタオープンエラー", "検査結果マスタのオープン処理でエラーが発生しました。"},
    {Fnc_OpenCarMaster, "QZCARLF", "政管受付番号履歴マスタオープンエラー",
     "政管受付番号履歴マスタのオープン処理でエラーが発生しました。"},
    {Fnc_OpenJkrMaster, "QZJKRLF", "受診券履歴マスタオープンエラー", "受診券履歴マスタのオープン処理でエラーが発生しました。"},
    {Fnc_OpenKosMaster, "QZKOSLF", "コースマスタオープンエラー", "コースマスタのオープン処理でエラーが発生しました。"},
    {Fnc_OpenKskMaster, "QZKSKLF", "コース項目マスタオープンエラー", "コース項目マスタのオープン処理でエラーが発生しました。"},
    {Fnc_OpenKomMaster, "QZKOMLF", "検査項目マスタオープンエラー", "検査項目マスタのオープン処理でエラーが発生しました。"},
    {Fnc_OpenGrpMaster, "QZGRPLF", "入力グループマスタオープンエラー", "入力グループマスタのオープン処理でエラーが発生しました。"},
    {Fnc_OpenHatMaster, "QZHATLF", "判定マスタオープンエラー", "判定マスタのオープン処理でエラーが発生しました。"},
    {Fnc_OpenSyoMaster, "QZSYOLF", "所見マスタオープンエラー", "所見マスタのオープン処理でエラーが発生しました。"},
    {Fnc_OpenSyo2Master, "QZSYO2LF", "所見マスタ２オープンエラー", "所見マスタ２のオープン処理でエラーが発生しました。"},
    // The third and fourth name the master without its number in the report.
    {Fnc_OpenSyo3Master, "QZSYO3LF", "所見マスタ３オープンエラー", "所見マスタのオープン処理でエラーが発生しました。"},
    {Fnc_OpenSyo4Master, "QZSYO4LF", "所見マスタ４オープンエラー", "所見マスタのオープン処理でエラーが発生しました。"},
    {Fnc_OpenSysMaster, "QZSYSLF", "設定マスタオープンエラー", "設定マスタのオープン処理でエラーが発生しました。"},
    {Fnc_OpenSysChohyoMaster, "QZSYSLF.CHOHYO", "設定マスタオープンエラー", "設定マスタのオープン処理でエラーが発生しました。"},
    {Fnc_OpenOcl2Master, "QZOCL2LF", "所見タブマスタ２オープンエラー", "所見タブマスタ２のオープン処理でエラーが発生しました。"},
    {Fnc_OpenUsrMaster, "QZUSRLF", "利用者マスタオープンエラー", "利用者マスタのオープン処理でエラーが発生しました。"},
    {Fnc_OpenSyn2Master, "QZSYN2LF", "診断項目マスタ２オープンエラー", "診断項目マスタ２のオープン処理でエラーが発生しました。"},
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// `defs` with the line that begins with `key` replaced by `line` (dropped
// when empty).
std::string ReplaceLine(std::string defs, const std::string& key, const std::string& line) {
  const auto at = defs.find(key);
  EXPECT_NE(at, std::string::npos) << key;
  if (at == std::string::npos) return defs;
  defs.replace(at, defs.find('\n', at) - at + 1, line.empty() ? "" : line + "\r\n");
  return defs;
}

// `defs` with the records of `file` one byte long and every key of the file
// on that byte, so that no field of its layouts fits.
std::string OneByteRecords(std::string defs, const std::string& file) {
  defs = ReplaceLine(defs, file + "=", file + "=1");
  const std::string header = "[" + file + "]\r\n";
  std::size_t at = defs.find(header);
  EXPECT_NE(at, std::string::npos) << header;
  if (at == std::string::npos) return defs;
  at += header.size();
  while (defs.compare(at, 3, "KEY") == 0) {
    const std::size_t eq = defs.find('=', at), eol = defs.find('\n', at);
    defs.replace(eq + 1, eol - eq - 1, "1:1:A;DUP\r");
    at = defs.find('\n', at) + 1;
  }
  return defs;
}

class OpenProcedureTextsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    basPublic = BasPublic{};
    basFileAccess = BasFileAccess{};
    suite_.Build();
    suite_.ApplyPaths();
    defs_ = ReadFile(suite_.paths().spec_file);
  }
  void TearDown() override {
    Sub_CloseAllMasters(nullptr);
    basFileAccess = BasFileAccess{};
  }
  void WriteDefs(const std::string& text) {
    std::ofstream(suite_.paths().spec_file, std::ios::binary | std::ios::trunc) << text;
  }

  ui::ScriptedShell base_shell_;  // the shell for set-up and tear-down
  testkit::SuiteBuilder suite_;
  std::string defs_;
};

TEST_F(OpenProcedureTextsTest, AMissingDefinitionShowsTheProceduresMessage) {
  for (const Procedure& p : kProcedures) {
    const data::FileLayout& l = *data::FindLayout(p.layout);
    SCOPED_TRACE(l.name);
    WriteDefs(ReplaceLine(defs_, l.definition + "=", ""));
    ui::ScriptedShell shell;
    shell.AnswerBox(ui::MsgResult::kOk, p.open_error);
    EXPECT_FALSE(p.open());
    EXPECT_TRUE(testkit::ScriptOk(shell));
    ASSERT_EQ(shell.boxes().size(), 1u);
    EXPECT_EQ(shell.boxes()[0].request.text, p.open_error);
    EXPECT_EQ(shell.boxes()[0].request.title, "エラー");
    EXPECT_EQ(shell.boxes()[0].request.icon, ui::MsgIcon::kCritical);
  }
}

TEST_F(OpenProcedureTextsTest, AFieldBeyondTheRecordShowsTheProceduresErrorReport) {
  for (const Procedure& p : kProcedures) {
    const data::FileLayout& l = *data::FindLayout(p.layout);
    SCOPED_TRACE(l.name);
    WriteDefs(OneByteRecords(defs_, l.file));
    ASSERT_EQ(record::CreateRecordFile(suite_.paths().spec_file, l.file, suite_.paths().data, true),
              record::kStatusOk);
    ui::ScriptedShell shell;
    shell.AnswerBox(ui::MsgResult::kOk, std::string(p.job_text) + "\r\nエラー番号 : ");
    EXPECT_FALSE(p.open());
    EXPECT_TRUE(testkit::ScriptOk(shell));
    ASSERT_EQ(shell.boxes().size(), 1u);
    EXPECT_EQ(shell.boxes()[0].request.text.rfind(std::string(p.job_text) + "\r\nエラー番号 : ", 0), 0u);
    EXPECT_EQ(shell.boxes()[0].request.title, "QZP140");
    basFileAccess = BasFileAccess{};
  }
}

}  // namespace
}  // namespace qz
