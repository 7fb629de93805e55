#include "kit/demo_data.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <tuple>
#include <utility>

#include "data/record_layouts.h"
#include "kit/demo_catalog.h"

namespace qz::testkit {

namespace {

using demo::Item;

std::string Num(long long value, int digits) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*lld", digits, value);
  return buf;
}

// A standard-range bound as the judgement master stores it: zoned decimal,
// nine digits, scaled by 10000 (the values here are never negative).
std::string Zoned(double value) { return Num(std::llround(value * 10000), 9); }

}  // namespace

namespace demo {

void AddSettings(SuiteBuilder& b) {
  b.Add("QZSYSLF.INSTITUTION", {{"KBN", data::kSysKbnInstitution},
                                 {"NAME", "医療法人さくら会　さくら健診センター"},
                                 {"ICODE1", "1310000001"},
                                 {"POSTNO", "1000001"},
                                 {"ADR", "東京都千代田区千代田一丁目１番１号"},
                                 {"TELNO", "03-1234-5678"},
                                 {"FAXNO", "03-1234-5679"}});
  b.Add("QZSYSLF.ERA", {{"KBN", data::kSysKbnEra},
                         {"GNMEI_1", "明治"}, {"GNSYMD_1", 18680908},
                         {"GNMEI_2", "大正"}, {"GNSYMD_2", 19120730},
                         {"GNMEI_3", "昭和"}, {"GNSYMD_3", 19261225},
                         {"GNMEI_4", "平成"}, {"GNSYMD_4", 19890108},
                         {"GNMEI_5", "令和"}, {"GNSYMD_5", 20190501}});
  struct Judgement {
    const char* mark;
    const char* name;
    const char* color;
  };
  // The mark is the last two bytes of HKBN: two blanks and a full-width letter.
  const Judgement judgements[] = {{"  Ａ", "異常なし", "A"},
                                  {"  Ｂ", "軽度異常", "B"},
                                  {"  Ｃ", "要観察", "E"},
                                  {"  Ｄ", "要精検", "P"},
                                  {"  Ｅ", "要医療", "R"}};
  RecordInit settings = {{"KBN", data::kSysKbnSettings},
                         {"COLOR_1", "B"}, {"COLOR_2", "A"}, {"COLOR_3", "K"},
                         {"COLOR_4", "B"}, {"COLOR_5", "R"}, {"SOUCHK", "0"}};
  for (int n = 1; n <= 5; ++n) {
    const Judgement& j = judgements[n - 1];
    const std::string s = std::to_string(n);
    settings.push_back({"HCODE_" + s, n});
    settings.push_back({"HKBN_" + s, j.mark});
    settings.push_back({"HNAME_" + s, j.name});
    settings.push_back({"HCOL_" + s, j.color});
  }
  b.Add("QZSYSLF", settings);
  b.Add("QZSYSLF.CHOHYO", {{"KBN", data::kSysKbnReport}, {"CODE", "000001"},
                            {"CHOHYOMEI", "個人結果票"}, {"CHOHYOPGM", "QZP601"}, {"CHOHYOKBN", "1"}});
  b.Add("QZSYSLF.CHOHYO", {{"KBN", data::kSysKbnReport}, {"CODE", "000002"},
                            {"CHOHYOMEI", "結果経年表"}, {"CHOHYOPGM", "QZP602"}, {"CHOHYOKBN", "2"}});
}

void AddFinding(SuiteBuilder& b, const Finding& f) {
  b.Add("QZSYOLF", {{"CODE", f.type}, {"TCODE", f.tab}, {"SCODE", f.scode}, {"RCODE", f.rcode},
                    {"SYKN", f.text}, {"DSPSYKN", f.short_text}, {"KHANTEI", f.khantei},
                    {"SHANTEI", f.khantei}, {"COMBO", f.combo ? "1" : "0"}, {"TITLE", f.title ? 1 : 0},
                    {"DEFAULT", f.is_default ? 1 : 0}});
}

}  // namespace demo

namespace {

void AddUsers(SuiteBuilder& b, const DemoOptions& o) {
  const int groups[] = {10, 15, 20, 30, 35, 40, 50, 60, 90};
  struct User {
    const char* id;
    const char* name;
    int first;
  };
  const User users[] = {{"USER01", "検査 花子", 10}, {"USER02", "医師 一郎", 90}};
  for (const User& u : users) {
    RecordInit r = {{"ID", u.id}, {"EXPLAIN", u.name}, {"1STGRP", u.first}};
    for (int i = 0; i < 9; ++i) r.push_back({"INPGRP_" + std::to_string(i + 1), groups[i]});
    b.Add("QZUSRLF", r);
  }
  // The later row wins: USER01 is the user logged on at this terminal.
  b.Add("QZLOGLF", {{"REN", 1}, {"UNAME", "USER02"}, {"TNAME", o.computer_name}, {"DATE", o.today}});
  b.Add("QZLOGLF", {{"REN", 2}, {"UNAME", "USER01"}, {"TNAME", o.computer_name}, {"DATE", o.today}});
}

void AddItemMasters(SuiteBuilder& b) {
  const std::pair<int, const char*> groups[] = {{10, "身体計測"}, {15, "視力・聴力"}, {20, "血圧"},
                                                {30, "血液学検査"}, {35, "生化学検査"}, {40, "尿検査"},
                                                {50, "胸部Ｘ線"}, {60, "心電図"}, {90, "総合判定"}};
  for (const auto& [code, name] : groups) b.Add("QZGRPLF", {{"CODE", code}, {"NAME", name}});

  int pjyun = 0;
  for (const Item& it : demo::Items()) {
    const bool findings = it.kind == demo::kFindings;
    RecordInit r = {{"CODE", it.code},         {"GENDATE", demo::kGenDate}, {"HMEI", it.name},
                    {"TANI", it.unit},         {"KSYUB", it.kind},          {"NGRP", it.ngrp},
                    {"HJYUN", it.hjyun},       {"HGRP_1", it.hgrp},         {"STYPE", it.stype},
                    {"JHKBN", it.ranges.empty() ? 0 : 1},                   {"PJYUN", pjyun += 10},
                    {"KETA", findings ? 40 : 0},                            {"KEKANO", findings ? 1 : 0},
                    {"SYOKNO", findings || it.kind == demo::kGroup ? 0 : 1}, {"SKOMCD", it.skomcd},
                    {"SGKBN", it.code == 7001 ? 1 : 0},                     {"OPCHK", it.kind == demo::kGroup ? "0" : "1"},
                    {"COPY", it.kind == demo::kNumeric ? 1 : 0}};
    if (it.code == 1003) {  // BMI = weight / height squared
      r.insert(r.end(), {{"CALPT", 1}, {"KTAINO_1", 1001}, {"KTAINO_2", 1002}, {"KRKBN", 0}});
    }
    b.Add("QZKOMLF", r);
    int ren = 0;
    for (const demo::Range& g : it.ranges) {
      b.Add("QZHATLF", {{"CODE", it.code}, {"GENDATE", demo::kGenDate}, {"REN", ++ren}, {"SEX", g.sex},
                        {"STNEN", g.from_age}, {"EDNEN", g.to_age}, {"STDKBN", 1},
                        {"STKNSA", Zoned(g.low)}, {"EDKNSA", Zoned(g.high)}});
    }
  }

  for (const demo::Course& c : demo::Courses()) {
    b.Add("QZKOSLF", {{"CNO", c.cno}, {"GENDATE", demo::kGenDate}, {"CNAME", c.name}, {"PRNO", 1}});
    int ren = 0;
    for (long long code : c.items) {
      b.Add("QZKSKLF", {{"CNO", c.cno}, {"GENDATE", demo::kGenDate}, {"REN", ++ren}, {"CODE", code}});
    }
  }

  const std::tuple<int, int, const char*> tabs[] = {{101, 1, "尿定性"}, {102, 1, "尿定性"},   {103, 1, "感染症"},
                                                    {201, 1, "肺野"},   {201, 2, "心・縦隔"}, {301, 1, "心電図"},
                                                    {401, 1, "聴力"},   {demo::kRangeFindingsType, 1, "基準値判定"},
                                                    {601, 1, "保健指導"},  {602, 1, "メタボ判定"},
                                                    {901, 1, "総合所見"}};
  for (const auto& [id, ren, name] : tabs) {
    b.Add("QZOCL2LF", {{"ID", id}, {"REN", ren}, {"NAME", name}, {"HJYUN", ren}});
  }
  for (const demo::Finding& f : demo::Findings()) demo::AddFinding(b, f);
}

}  // namespace

int YearsBefore(int date, int years) {
  int y = date / 10000 - years;
  int md = date % 10000;
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  if (md == 229 && !leap) md = 228;
  return y * 10000 + md;
}

void AddDemoExaminees(SuiteBuilder& b, const DemoOptions& o);
void AddDemoReservations(SuiteBuilder& b, const DemoOptions& o);

void AddDemoData(SuiteBuilder& b, const DemoOptions& o) {
  b.SetIni("SysInfo", "MaxJrk", "3");
  demo::AddSettings(b);
  AddUsers(b, o);
  AddItemMasters(b);
  AddDemoExaminees(b, o);
  AddDemoReservations(b, o);
}

}  // namespace qz::testkit
