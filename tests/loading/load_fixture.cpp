#include "loading/load_fixture.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "data/bas_file_access.h"
#include "data/guide_progress.h"
#include "data/kwb_date.h"
#include "examinee/bas_public.h"
#include "loading/consult_history.h"
#include "loading/consult_items.h"
#include "loading/examinee_header.h"
#include "loading/history_headers.h"
#include "loading/load_state.h"
#include "loading/settings_master.h"
#include "platform/clock/clock.h"

namespace qz::testing {

namespace {

// A progress window that shows nothing.
class NoGuide : public GuideProgress {
 public:
  float StateWidth() const override { return 1000; }
  void SetGageWidth(float) override {}
  void SetStateCaption(std::string_view) override {}
};

void ResetState() {
  Sub_CloseAllMasters(nullptr);
  basFileAccess = BasFileAccess{};
  basPublic = BasPublic{};
  frmResultIn = FrmResultInState{};
  basDate = BasDate{};
}

}  // namespace

const std::vector<NamedStep>& LoadSteps() {
  static const std::vector<NamedStep> steps = {
      {"settings", Sub_LoadSettingsMaster}, {"header", Sub_LoadExamineeHeader},
      {"history", Sub_LoadHistory},         {"items", Sub_LoadConsultItems},
      {"result-only", Sub_AddResultOnlyItems}, {"headers", Sub_SetHistoryHeaders},
  };
  return steps;
}

LoadBed::LoadBed() : spr(std::make_unique<grid::Spread>(nullptr, "sprResult")) {
  ResetState();
  shell.auto_answer = true;
  FixClockForTest(LocalDateTime{2026, 12, 9, 10, 30, 0, 0});
}

LoadBed::~LoadBed() {
  ResetState();
  SetClockForTest(nullptr);
  if (!previous_cwd_.empty() && ::chdir(previous_cwd_.c_str()) != 0) std::abort();
}

void LoadBed::Open() {
  suite.Build();
  suite.ApplyPaths();
  previous_cwd_ = std::filesystem::current_path().string();
  if (::chdir(suite.paths().program.c_str()) != 0) throw std::runtime_error("chdir failed");
  NoGuide guide;
  if (!Fnc_OpenAllMasters(guide)) throw std::runtime_error("the masters do not open");
  basPublic.ExamineeNo = std::string(kExaminee);
  basPublic.ConsultDate = kToday;
  frmResultIn.sprResult = spr.get();
  spr->SetMaxRows(3);
  spr->SetMaxCols(12);
}

int LoadBed::RunSteps(int from, int before_step, const std::function<void()>& before) {
  const std::vector<NamedStep>& steps = LoadSteps();
  for (int i = from; i < static_cast<int>(steps.size()); ++i) {
    if (i == before_step && before) before();
    if (!steps[static_cast<std::size_t>(i)].run()) return i;
  }
  return -1;
}

std::vector<std::string> LoadBed::Boxes() const {
  std::vector<std::string> texts;
  for (const ui::ShownBox& b : shell.boxes()) texts.push_back(b.request.text);
  return texts;
}

void LoadBed::DamageFile(std::string_view file) const {
  const std::string path = suite.paths().data + std::string(file);
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    sqlite3_close_v2(db);
    throw std::runtime_error("cannot open " + path);
  }
  const int rc = sqlite3_exec(db, "ALTER TABLE records RENAME TO damaged", nullptr, nullptr, nullptr);
  sqlite3_close_v2(db);
  if (rc != SQLITE_OK) throw std::runtime_error("cannot damage " + path);
}

void AddSystemRecords(testkit::SuiteBuilder& b) {
  b.Add("QZSYSLF.ERA", {{"KBN", 2}, {"CODE", "      "},
                        {"GNMEI_1", "明治"}, {"GNSYMD_1", 18680908},
                        {"GNMEI_2", "大正"}, {"GNSYMD_2", 19120730},
                        {"GNMEI_3", "昭和"}, {"GNSYMD_3", 19261225},
                        {"GNMEI_4", "平成"}, {"GNSYMD_4", 19890108},
                        {"GNMEI_5", "令和"}, {"GNSYMD_5", 20190501}});
  b.Add("QZSYSLF.INSTITUTION", {{"KBN", 1}, {"CODE", "      "}});
  // Judgement 3 has a half-width mark, 4 a name only, 5 nothing at all.
  b.Add("QZSYSLF", {{"KBN", 3}, {"CODE", "      "},
                    {"HCODE_1", 1}, {"HKBN_1", "  Ａ"}, {"HNAME_1", "異常なし"}, {"HCOL_1", "B"},
                    {"HCODE_2", 2}, {"HKBN_2", "  Ｂ"}, {"HNAME_2", "軽度"}, {"HCOL_2", "R"},
                    {"HCODE_3", 3}, {"HKBN_3", "  C1"}, {"HNAME_3", "要観察"}, {"HCOL_3", "P"},
                    {"HCODE_4", 4}, {"HKBN_4", "    "}, {"HNAME_4", "保留"}, {"HCOL_4", "K"},
                    {"HCODE_6", 6}, {"HKBN_6", "  Ｆ"}, {"HNAME_6", "治療中"}, {"HCOL_6", "O"},
                    {"COLOR_1", "A"}, {"COLOR_2", "B"}, {"COLOR_3", "R"}, {"COLOR_4", "K"},
                    {"COLOR_5", "P"}, {"SOUCHK", "1"}});
  b.Add("QZDANLF", {{"KDANID", 501}, {"NAME", "  テスト商事  "}});
}

void AddConsultation(testkit::SuiteBuilder& b) {
  AddSystemRecords(b);
  const std::string me(kExaminee);
  // The examinee and the neighbours on both sides in key order.
  b.Add("QZJSNLF", {{"CODE", me}, {"KANA", "ﾔﾏﾀﾞ ﾊﾅｺ"}, {"NAME", "山田　花子"}, {"SEX", 2},
                    {"BIRTH", 19800315}, {"KDANID", 501}});
  b.Add("QZJSNLF", {{"CODE", "0000012344"}, {"NAME", "前野"}, {"SEX", 1}, {"BIRTH", 19700101}});
  b.Add("QZJSNLF", {{"CODE", "0000012346"}, {"NAME", "後野"}, {"SEX", 1}, {"BIRTH", 19700101}});

  // History: today, 2025-12-01, 2024-12-02 (with no course of its own but a
  // main course in its booking) and 2023-12-04. The neighbour before has
  // history too.
  b.Add("QZJRKLF", {{"CODE", me}, {"JDATE", kToday}, {"CNO1", 100}, {"PRYMD", "20261220"}, {"JHKBN", "1"}});
  b.Add("QZJRKLF", {{"CODE", me}, {"JDATE", 20251201}, {"CNO1", 100}});
  b.Add("QZJRKLF", {{"CODE", me}, {"JDATE", 20241202}, {"CNO1", 0}});
  b.Add("QZJRKLF", {{"CODE", me}, {"JDATE", 20231204}, {"CNO1", 100}});
  b.Add("QZJRKLF", {{"CODE", "0000012344"}, {"JDATE", 20260101}, {"CNO1", 100}});

  // Bookings. Today: courses 100 and 110, single items 5001 (kind 1) and
  // 5002 (kind 2), main course 110; an entry after the first empty one is
  // never read.
  b.Add("QZJKOLF", {{"CODE", me}, {"KSYMD", kToday},
                    {"KKBN_1", 0}, {"KCODE_1", 100}, {"KKBN_2", 0}, {"KCODE_2", 110},
                    {"KKBN_3", 1}, {"KCODE_3", 5001}, {"KKBN_4", 2}, {"KCODE_4", 5002},
                    {"KKBN_6", 1}, {"KCODE_6", 5999}, {"PCODE", "110"}});
  b.Add("QZJKOLF", {{"CODE", me}, {"KSYMD", 20251201},
                    {"KKBN_1", 0}, {"KCODE_1", 100}, {"KKBN_2", 1}, {"KCODE_2", 5003},
                    {"KKBN_3", 1}, {"KCODE_3", 5001}});
  b.Add("QZJKOLF", {{"CODE", me}, {"KSYMD", 20241202}, {"KKBN_1", 0}, {"KCODE_1", 200}, {"PCODE", "200"}});
  b.Add("QZJKOLF", {{"CODE", me}, {"KSYMD", 20231204}, {"KKBN_1", 0}, {"KCODE_1", 100}});

  // Courses: 100 in two generations (the second after today), 110, 200.
  b.Add("QZKOSLF", {{"CNO", 100}, {"GENDATE", 20200101}, {"CNAME", "一般健診"}, {"PRNO", 7}});
  b.Add("QZKOSLF", {{"CNO", 100}, {"GENDATE", 20270101}, {"CNAME", "一般健診新"}, {"PRNO", 9}});
  b.Add("QZKOSLF", {{"CNO", 110}, {"GENDATE", 20210401}, {"CNAME", "オプション"}, {"PRNO", 8}});
  b.Add("QZKOSLF", {{"CNO", 200}, {"GENDATE", 20200101}, {"CNAME", "人間ドック"}, {"PRNO", 5}});

  b.Add("QZKSKLF", {{"CNO", 100}, {"GENDATE", 20200101}, {"REN", 1}, {"CODE", 1001}, {"KETA", 3},
                    {"KEKANO", 1}, {"NGRP", 10}, {"HJYUN", 1}, {"HGRP1", 1}, {"HGRP2", 2}, {"PJYUN", 100}});
  b.Add("QZKSKLF", {{"CNO", 100}, {"GENDATE", 20200101}, {"REN", 2}, {"CODE", 1002}, {"HANTNO", 1},
                    {"NGRP", 10}, {"HJYUN", 2}, {"HGRP4", 999}, {"PJYUN", 200}});
  b.Add("QZKSKLF", {{"CNO", 100}, {"GENDATE", 20200101}, {"REN", 3}, {"CODE", 1003}, {"SYOKNO", 1},
                    {"NGRP", 20}, {"HJYUN", 1}});
  b.Add("QZKSKLF", {{"CNO", 100}, {"GENDATE", 20270101}, {"REN", 1}, {"CODE", 1099}, {"NGRP", 10}});
  // 1002 again with other values: the first course's stay.
  b.Add("QZKSKLF", {{"CNO", 110}, {"GENDATE", 20210401}, {"REN", 1}, {"CODE", 1002}, {"NGRP", 99}, {"HJYUN", 9}});
  b.Add("QZKSKLF", {{"CNO", 110}, {"GENDATE", 20210401}, {"REN", 2}, {"CODE", 1101}, {"NGRP", 30}, {"HJYUN", 4}});
  b.Add("QZKSKLF", {{"CNO", 200}, {"GENDATE", 20200101}, {"REN", 1}, {"CODE", 2001}, {"NGRP", 40}, {"KETA", 2}});
  b.Add("QZKSKLF", {{"CNO", 200}, {"GENDATE", 20200101}, {"REN", 2}, {"CODE", 1001}, {"NGRP", 77}});

  // Stored results of today: a booked item, an item of no booking, an item
  // booked only earlier, the dispatch-date item (HassouCode 8888 in the
  // tests); the next examinee's result on the same day.
  for (long long item : {1001LL, 5003LL, 7001LL, 8888LL}) {
    b.Add("QZKKKLF", {{"CODE", me}, {"JDATE", kToday}, {"KKMKNO", item}, {"KNSACH", "1"}});
  }
  b.Add("QZKKKLF", {{"CODE", me}, {"JDATE", 20251201}, {"KKMKNO", 6001}});
  b.Add("QZKKKLF", {{"CODE", "0000012346"}, {"JDATE", kToday}, {"KKMKNO", 6002}});
}

}  // namespace qz::testing
