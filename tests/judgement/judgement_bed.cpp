#include "judgement/judgement_bed.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string_view>

#include "data/bas_file_access.h"
#include "examinee/bas_public.h"
#include "examinee/frm_guide.h"
#include "examinee/frm_result_in.h"
#include "loading/find_or_add_item.h"
#include "loading/group_forms.h"
#include "loading/load_state.h"
#include "platform/text/vb.h"
#include "suite/call_log.h"
#include "suite/qzp310.h"
#include "suite/qzp315.h"

namespace qz::testing {
namespace {

constexpr std::string_view kLetters = "BRPTWAKCEO";

void ResetState() {
  Sub_CloseAllMasters(nullptr);
  basFileAccess = BasFileAccess{};
  basPublic = BasPublic{};
  frmResultIn = FrmResultInState{};
  frmResultInForm.Reset();
  frmGrpJmp.Reset();
  frmGuide.Reset();
  suite::SetQzp310AnswerForTest(nullptr);
  suite::SetQzp315AnswerForTest(nullptr);
  suite::ClearCalls();
}

// A standard-range limit as the judgement master stores it (x 10000, nine
// zoned digits; the bed's limits are never negative).
std::string Zoned(long long ten_thousandths) {
  std::string s = std::to_string(ten_thousandths);
  return std::string(9 - s.size(), '0') + s;
}

void AddSettings(testkit::SuiteBuilder& b) {
  testkit::RecordInit settings = {{"KBN", 3}, {"CODE", "      "}};
  const char* marks[] = {"  Ａ", "  Ｂ", "  Ｃ", "  Ｄ", "  Ｅ"};
  const char* letters[] = {"A", "B", "E", "P", "R"};
  for (int n = 1; n <= 5; ++n) {
    const std::string s = std::to_string(n);
    settings.push_back({"HCODE_" + s, n});
    settings.push_back({"HKBN_" + s, marks[n - 1]});
    settings.push_back({"HNAME_" + s, "判定" + s});
    settings.push_back({"HCOL_" + s, letters[n - 1]});
  }
  b.Add("QZSYSLF", settings);
  b.Add("QZUSRLF", {{"ID", kBedUser}, {"EXPLAIN", kBedUserName}, {"1STGRP", 10}, {"INPGRP_1", 10}});
}

void AddFindings(testkit::SuiteBuilder& b) {
  struct Row {
    int type;
    int scode;
    const char* rcode;
    const char* text;
    int khantei;
    int title;
    int def;
  };
  const Row rows[] = {
      {kTypeNumeric, 1, "1", "基準範囲内", 1, 0, 0},
      {kTypeNumeric, 2, "2", "低値", 2, 0, 0},
      {kTypeNumeric, 3, "3", "高値", 4, 0, 0},
      {kTypeNumeric, 9, "9", "判定なし", 7, 0, 0},
      {kTypeJudgement, 1, "1", "異常なし", 1, 0, 0},
      {kTypeJudgement, 2, "2", "軽度異常", 2, 0, 0},
      {kTypeJudgement, 3, "3", "要観察（一）", 3, 0, 0},
      {kTypeJudgement, 4, "4", "要観察（二）", 3, 0, 0},
      {kTypeJudgement, 6, "6", "要医療", 5, 0, 0},
      {kTypeFindings, 1, "001", "【見出し】", 0, 1, 1},
      {kTypeFindings, 2, "002", "所見なし", 1, 0, 1},
      {kTypeFindings, 3, "003", "要再検", 3, 0, 0},
      {kTypeNoDefault, 1, "001", "所見あり", 3, 0, 0},
  };
  for (const Row& r : rows) {
    b.Add("QZSYO2LF", {{"CODE", r.type}, {"TCODE", 1}, {"SCODE", r.scode}, {"RCODE", r.rcode}, {"SYKN", r.text},
                       {"KHANTEI", r.khantei}, {"TITLE", r.title}, {"DEFAULT", r.def}});
  }
  // Item 1003: 18.5 to 24.9 for everyone; item 2001: up to 129, men only;
  // item 1006: from 0.7 with no upper limit.
  b.Add("QZHATLF", {{"CODE", 1003}, {"GENDATE", 20000101}, {"REN", 1}, {"SEX", 0}, {"STNEN", 0}, {"EDNEN", 150},
                    {"STDKBN", 1}, {"STKNSA", Zoned(185000)}, {"EDKNSA", Zoned(249000)}});
  b.Add("QZHATLF", {{"CODE", 2001}, {"GENDATE", 20000101}, {"REN", 1}, {"SEX", 1}, {"STNEN", 0}, {"EDNEN", 150},
                    {"STDKBN", 1}, {"STKNSA", Zoned(0)}, {"EDKNSA", Zoned(1290000)}});
  b.Add("QZHATLF", {{"CODE", 1006}, {"GENDATE", 20000101}, {"REN", 1}, {"SEX", 0}, {"STNEN", 0}, {"EDNEN", 150},
                    {"STDKBN", 1}, {"STKNSA", Zoned(7000)}, {"EDKNSA", Zoned(999999999)}});
}

}  // namespace

std::int32_t LetterColor(char letter) {
  return 0x100 + static_cast<std::int32_t>(kLetters.find(letter));
}

JudgementBed::JudgementBed() {
  ResetState();
  shell.auto_answer = true;
  FixClockForTest(kBedNow);
  AddSettings(suite);
  AddFindings(suite);
}

JudgementBed::~JudgementBed() {
  ResetState();
  SetClockForTest(nullptr);
  if (!previous_cwd_.empty() && ::chdir(previous_cwd_.c_str()) != 0) std::abort();
}

void JudgementBed::Open() {
  suite.Build();
  suite.ApplyPaths();
  previous_cwd_ = std::filesystem::current_path().string();
  if (::chdir(suite.paths().program.c_str()) != 0) throw std::runtime_error("chdir failed");
  if (!Fnc_OpenAllMasters() || !Fnc_OpenUsrMaster()) throw std::runtime_error("the masters do not open");
  record::BtrAccess& sys = *basFileAccess.SysObj;
  sys.SetField("KBN", 3);
  sys.SetField("CODE", "      ");
  if (sys.GetEqual("QZSYSLF") != 0) throw std::runtime_error("no settings record");
  basPublic.LogonUserId = kBedUser;
  for (std::size_t k = 0; k < kLetters.size(); ++k) basPublic.ColorTable[k] = LetterColor(kLetters[k]);
  frmResultIn.DefaultColorLetter = "A";
  frmResultIn.HistoryDates = {JrkEntry{kBedDate, 0}};
  frmResultIn.ExamineeSex = 1;
  frmResultIn.ExamineeAge = 45;
  frmResultInForm.get();  // points frmResultIn.sprResult at the form's grid
}

std::int16_t JudgementBed::Add(KomInfo item, bool hidden, bool editable) {
  std::int16_t index = 0;
  Fnc_FindOrAddItem(item.KomCode, index);
  item.Editable = editable;
  frmResultIn.ItemTable[index] = item;
  hidden_.resize(static_cast<std::size_t>(index) + 1);
  hidden_[static_cast<std::size_t>(index)] = hidden;
  return index;
}

KomInfo JudgementBed::Numeric(long long code, std::int16_t group, const char* name) {
  KomInfo k;
  k.KomCode = Currency(code);
  k.KomName = name;
  k.Ksyub = kKsyubNumeric;
  k.Hgrp[1] = group;
  k.Stype = "31";
  k.Yuko = " ";
  return k;
}

KomInfo JudgementBed::GroupItem(std::int16_t group, const char* name) {
  KomInfo k;
  k.KomCode = Currency(9999999000LL + group);
  k.KomName = name;
  k.Ksyub = kKsyubGroupJudgement;
  k.Hgrp[1] = 999;
  return k;
}

KomInfo JudgementBed::OverallItem() {
  KomInfo k = GroupItem(0, "総合判定");
  k.KomCode = kOverallItemCode;
  k.Hgrp[1] = 0;
  return k;
}

KomInfo JudgementBed::Findings(long long code, int type, const char* name) {
  KomInfo k;
  k.KomCode = Currency(code);
  k.KomName = name;
  k.Ksyub = kKsyubFindings;
  k.Skomcd = Currency(type);
  return k;
}

void JudgementBed::Finish() {
  const int count = frmResultIn.ItemCount();
  frmResultIn.ResultMatrix.Create(count, 0);
  for (int i = 1; i <= count; ++i) {
    const KomInfo& k = frmResultIn.ItemTable[i];
    if (!hidden_[static_cast<std::size_t>(i)]) frmResultIn.RowItems.Append(static_cast<std::int16_t>(i));
    if (k.Ksyub == kKsyubGroupJudgement) {
      const int g = static_cast<int>(k.KomCode.whole() % 1000);
      frmResultIn.GroupItems[static_cast<std::size_t>(g)].Item = static_cast<std::int16_t>(i);
      if (k.KomCode == kOverallItemCode) frmResultIn.OverallItem = static_cast<std::int16_t>(i);
    }
    if (k.Calpt != 0) {
      CalcKomInfo c;
      c.Item = static_cast<std::int16_t>(i);
      for (int n = 1; n <= 3; ++n) {
        for (int j = 1; j <= count; ++j) {
          if (k.Ktaino[n] != Currency(0) && frmResultIn.ItemTable[j].KomCode == k.Ktaino[n]) {
            c.Opnd[n] = static_cast<std::int16_t>(j);
          }
        }
      }
      frmResultIn.CalcItems.Append(c);
    }
  }
  frmResultIn.sprResult->SetMaxCols(12);
  frmResultIn.sprResult->SetMaxRows(frmResultIn.RowCount() + basPublic.DataRow - 1);
}

KekkaData& JudgementBed::Result(std::int16_t item) { return frmResultIn.ResultMatrix(item, 0); }

std::int32_t JudgementBed::RowOf(std::int16_t item) const {
  for (int k = 1; k <= frmResultIn.RowCount(); ++k) {
    if (frmResultIn.RowItems[k] == item) return k + basPublic.DataRow - 1;
  }
  return 0;
}

std::string JudgementBed::Cell(std::int16_t item, int col) const {
  return frmResultIn.sprResult->TextAt(col, RowOf(item));
}

std::int32_t JudgementBed::Fore(std::int16_t item, int col) const {
  return static_cast<std::int32_t>(frmResultIn.sprResult->ForeColorAt(col, RowOf(item)));
}

std::vector<std::string> JudgementBed::Boxes() const {
  std::vector<std::string> texts;
  for (const ui::ShownBox& b : shell.boxes()) texts.push_back(b.request.text);
  return texts;
}

std::string JudgementBed::Status() const { return frmResultInForm->lblStatus.caption; }

void JudgementBed::DamageFile(const std::string& file) const {
  const std::string path = suite.paths().data + file;
  sqlite3* db = nullptr;
  const bool ok = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
                  sqlite3_exec(db, "ALTER TABLE records RENAME TO damaged", nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close_v2(db);
  if (!ok) throw std::runtime_error("cannot damage " + path);
}

}  // namespace qz::testing
