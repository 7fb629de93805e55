#include "loading/item_fixture.h"

#include <cmath>

#include "examinee/bas_public.h"
#include "judgement/summary_findings.h"
#include "loading/group_forms.h"
#include "loading/input_groups.h"
#include "loading/item_filter.h"
#include "loading/item_master.h"
#include "loading/item_order.h"
#include "loading/item_rows.h"
#include "loading/load_state.h"
#include "loading/result_load.h"

namespace qz::testing {

namespace {

void ResetItemState() {
  displayChoices = DisplayChoices{};
  SougouItems.Clear();
  frmGrpSel.Reset();
  frmGrpJmp.Reset();
}

// A bound as the judgement master keeps it: zoned, four implied decimals.
std::string Zoned(double value) {
  std::string digits = std::to_string(std::llround(value * 10000));
  return std::string(9 - digits.size(), '0') + digits;
}

const std::string kMe(kExaminee);

// One item-master version.
struct Master {
  long long code;
  int gendate;
  const char* name;
  int ksyub;
  int ngrp;
  int hjyun;
  int jhkbn;
  long long skomcd;
  int sex;
  int monflg;
};

void AddMasters(testkit::SuiteBuilder& b) {
  const Master masters[] = {
      {1001, 20100101, "身長", 1, 10, 1, 0, 0, 0, 0},
      // Two versions: the second starts the day after the consultation.
      {1002, 20100101, "体重", 1, 10, 2, 1, 0, 0, 0},
      {1002, 20261210, "体重（新）", 1, 11, 9, 0, 0, 0, 0},
      {1003, 20100101, "ＢＭＩ", 2, 10, 3, 1, 0, 0, 0},
      {1004, 20100101, "腹囲", 1, 10, 4, 0, 0, 0, 0},
      {2001, 20100101, "ＨｂＡ１ｃ", 1, 20, 2, 1, 0, 0, 0},
      {2002, 20100101, "空腹時血糖", 1, 20, 1, 1, 0, 0, 0},
      {2003, 20100101, "女性項目", 1, 20, 3, 0, 0, 2, 0},
      {2004, 20100101, "問診血液", 1, 20, 4, 0, 0, 0, 1},
      {3001, 20100101, "胸部Ｘ線", 3, 30, 1, 1, 50, 0, 0},
      {3002, 20100101, "心電図", 3, 30, 2, 0, 50, 0, 0},
      {5001, 20100101, "問診１", 1, 50, 1, 0, 0, 0, 1},
      {6001, 20100101, "前回項目", 1, 20, 5, 0, 0, 0, 0},
      {6003, 20100101, "前々回項目", 1, 20, 6, 0, 0, 0, 0},
      // Only in the course generation the consultation of 2024 does not use.
      {6004, 20100101, "新世代項目", 1, 20, 7, 0, 0, 0, 0},
      {7001, 20100101, "結果のみ", 1, 30, 3, 0, 0, 0, 0},
      {9999999001LL, 20100101, "判定グループ１", 4, 40, 1, 0, 0, 0, 0},
      {9999999999LL, 20100101, "総合判定", 4, 40, 2, 0, 0, 0, 0},
  };
  for (const Master& m : masters) {
    b.Add("QZKOMLF", {{"CODE", m.code}, {"GENDATE", m.gendate}, {"HMEI", m.name}, {"TANI", "cm"},
                      {"KSYUB", m.ksyub}, {"NGRP", m.ngrp}, {"HJYUN", m.hjyun}, {"STYPE", 31},
                      {"JHKBN", m.jhkbn}, {"SKOMCD", m.skomcd}, {"SEX", m.sex}, {"MONFLG", m.monflg},
                      {"KEKANO", 0}, {"HANTNO", 1}, {"KETA", 20}, {"PJYUN", 500}, {"HGRP_1", 7},
                      {"HGRP_2", 8}, {"YUKO", " "}, {"OPCHK", "1"}, {"JLACNO", "3D045000002327101"},
                      {"COPY", 1}, {"SGKBN", 2}, {"HANSYO", 3002}, {"CALPT", m.ksyub == 2 ? 5 : 0},
                      {"KRKBN", m.ksyub == 2 ? 1 : 0},
                      {"KTAINO_1", m.ksyub == 2 ? 1001 : 0}, {"KTAINO_2", m.ksyub == 2 ? 1002 : 0},
                      {"KTAINO_3", m.ksyub == 2 ? 1999 : 0}});
  }
}

// Standard ranges: one generation long before the consultation and one the
// day after it, which is never used.
void AddRanges(testkit::SuiteBuilder& b) {
  struct Row {
    long long code;
    int gendate, ren, sex, from, to;
    double low, high;
  };
  const Row rows[] = {
      {1002, 20100101, 1, 0, 0, 150, 40, 80},
      {1002, 20261210, 1, 0, 0, 150, 41, 81},
      {1003, 20100101, 1, 2, 0, 150, 19, 25},
      {1003, 20100101, 2, 1, 0, 45, 18, 24},
      {1003, 20100101, 3, 1, 46, 150, 18.5, 25},
      {1003, 20261210, 1, 0, 0, 150, 10, 20},
      {2001, 20100101, 1, 0, 0, 150, 4.6, 99999.9999},
      {2002, 20100101, 1, 0, 0, 150, 0, 109},
      // A findings item with JHKBN 1 gets no range even when one exists.
      {3001, 20100101, 1, 0, 0, 150, 1, 2},
  };
  for (const Row& r : rows) {
    b.Add("QZHATLF", {{"CODE", r.code}, {"GENDATE", r.gendate}, {"REN", r.ren}, {"SEX", r.sex},
                      {"STNEN", r.from}, {"EDNEN", r.to}, {"STDKBN", 1}, {"STKNSA", Zoned(r.low)},
                      {"EDKNSA", Zoned(r.high)}});
  }
}

// Findings types: 50 with a title row that carries the default mark, the
// default and a row outside the combo list; 51 empty of combo rows; 52
// without a default, followed by 53 with one.
void AddFindings(testkit::SuiteBuilder& b) {
  struct Row {
    long long code;
    int scode;
    const char* rcode;
    const char* sykn;
    int khantei;
    const char* combo;
    int title;
    int def;
  };
  const Row rows[] = {
      {50, 1, "001", "胸部所見", 0, "1", 1, 1},
      {50, 2, "002", "異常なし", 1, "1", 0, 1},
      {50, 3, "003", "要精検", 4, "1", 0, 0},
      {50, 4, "004", "一覧外", 2, "0", 0, 0},
      {51, 1, "001", "一覧なし", 1, "0", 0, 0},
      {52, 1, "001", "既定なし", 1, "1", 0, 0},
      {53, 1, "001", "次の種別", 1, "1", 0, 1},
  };
  for (const Row& r : rows) {
    b.Add("QZSYO2LF", {{"CODE", r.code}, {"TCODE", 1}, {"SCODE", r.scode}, {"RCODE", r.rcode},
                       {"SYKN", r.sykn}, {"KHANTEI", r.khantei}, {"COMBO", r.combo}, {"TITLE", r.title},
                       {"DEFAULT", r.def}});
  }
}

void AddResults(testkit::SuiteBuilder& b) {
  struct Row {
    int jdate;
    long long item;
    const char* knsach;
    const char* syoken;
    int hekbn, han, sokutei;
    const char* user;
    const char* ymd;
    const char* hms;
  };
  const Row rows[] = {
      {kToday, 1001, " 170.5", "", 1, 0, 0, "U01", "20261209", "101500"},
      {kToday, 1002, "65", "", 0, 1, 3, "U01", "20261209", "101501"},
      {kToday, 1003, "22.4", "", 0, 1, 4, "U02", "20261209", "093000"},
      {kToday, 2001, "5.5", "", 0, 2, 5, "U02", "20261208", "235959"},
      {kToday, 2002, "", "", 0, 0, 1, "U02", "20261209", "000001"},
      {kToday, 2003, "9", "", 0, 0, 6, "U02", "20261209", "120000"},
      {kToday, 2004, "", "", 0, 0, 2, "U02", "20261209", "120000"},
      {kToday, 3002, "X", "  異常なし  ", 1, 1, 0, "U03", "2026/12/09", "12:00"},
      {kToday, 5001, "1", "", 0, 0, 0, "U03", "20261209", "120000"},
      {kToday, 7001, "12", "", 0, 0, 0, "", "", ""},
      {kToday, 9999999001LL, "", "", 0, 2, 0, "U04", "20261209", "130000"},
      {kEarlier, 1001, "169", "", 1, 0, 0, "U09", "20251201", "090000"},
      {kEarlier, 1002, "64", "", 1, 1, 0, "U09", "20251201", "090000"},
      {kEarlier, 1003, "22.1", "", 1, 1, 0, "U09", "20251201", "090000"},
      {kEarlier, 1004, "80", "", 1, 1, 0, "U09", "20251201", "090000"},
      {kEarlier, 2001, "5.4", "", 1, 1, 0, "U09", "20251201", "090000"},
      {kEarlier, 2002, "98", "", 1, 1, 0, "U09", "20251201", "090000"},
      {kEarlier, 3001, "", "要精検", 1, 4, 0, "U09", "20251201", "090000"},
      {kEarlier, 3002, "", "異常なし", 1, 1, 0, "U09", "20251201", "090000"},
      {kEarlier, 5001, "2", "", 1, 0, 0, "U09", "20251201", "090000"},
      {kEarlier, 6001, "3", "", 1, 1, 0, "U09", "20251201", "090000"},
      {kEarlier, 9999999001LL, "", "", 1, 1, 0, "U09", "20251201", "090000"},
      {kEarlier, 9999999999LL, "", "", 1, 2, 0, "U09", "20251201", "090000"},
      {kEarlier2, 1002, "63", "", 1, 1, 0, "U08", "20241202", "090000"},
      {kEarlier2, 6003, "7", "", 1, 0, 0, "U08", "20241202", "090000"},
      // The next examinee on the same day.
      {kToday, 1001, "150", "", 0, 0, 0, "U01", "20261209", "101500"},
  };
  bool first = true;
  for (const Row& r : rows) {
    const std::string code = &r == &rows[std::size(rows) - 1] ? "0000012346" : kMe;
    b.Add("QZKKKLF", {{"CODE", code}, {"JDATE", r.jdate}, {"KKMKNO", r.item}, {"KNSACH", r.knsach},
                      {"SYOKEN", r.syoken}, {"HEKBN", r.hekbn}, {"HAN", r.han}, {"SOKUTEI", r.sokutei},
                      {"USER", r.user}, {"YMD", r.ymd}, {"HMS", r.hms}, {"STNDLW", first ? "100" : ""},
                      {"STNDHI", first ? "200" : ""}, {"OPFLG", first ? "1" : ""}});
    first = false;
  }
}

}  // namespace

const std::vector<NamedStep>& ItemSteps() {
  static const std::vector<NamedStep> steps = {
      {"item master", Sub_LoadItemMaster},
      {"sort", Sub_SortItems},
      {"calc", Sub_BuildCalcItems},
      {"summary", [] {
         Sub_CheckSummaryFindingItem();
         return true;
       }},
      {"groups", Sub_BuildInputGroupList},
      {"group names", Sub_EditInputGroups},
      {"select list", Sub_SetGroupSelectList},
      {"jump list", Sub_NgrpJmpSet},
      {"rows", Sub_JkoInfo},
      {"results", [] { return Sub_LoadResults("QZKKKLF"); }},
  };
  return steps;
}

std::int16_t ItemIndex(long long code) {
  for (int i = 1; i <= frmResultIn.ItemCount(); ++i) {
    if (frmResultIn.ItemTable[i].KomCode == Currency(code)) return static_cast<std::int16_t>(i);
  }
  ADD_FAILURE() << "no item " << code;
  return 0;
}

ItemBed::ItemBed() { ResetItemState(); }

ItemBed::~ItemBed() { ResetItemState(); }

void ItemBed::OpenWithSettings() {
  Open();
  basPublic.UserInputGroups[1] = 10;
  basPublic.UserInputGroups[2] = 20;
  basPublic.UserInputGroups[3] = 40;
  basPublic.UserFirstGroup = 20;
  basPublic.UserDspKbn = 0;
  basPublic.SougouSyokenKomCode.Count = 2;
  basPublic.SougouSyokenKomCode.Items = {Currency(0), Currency(3002), Currency(8000)};
  basPublic.AutoSougouSyoken.Count = 1;
  basPublic.AutoSougouSyoken.Items = {SougouRule{}, SougouRule{Currency(1003), "H", 2, 3}};
  basPublic.IndividualColor.Count = 1;
  basPublic.IndividualColor.Items = {IndividualColorInfo{}, IndividualColorInfo{Currency(1004), kOwnRowColor}};
  basPublic.NewMijissi = 1;
  basPublic.AutoDefaultSyoken = 1;
}

std::string ItemBed::RunThrough(const std::string& last, const std::string& before,
                                const std::function<void()>& hook) {
  if (const int failed = RunSteps(); failed >= 0) return LoadSteps()[static_cast<std::size_t>(failed)].name;
  for (const NamedStep& step : ItemSteps()) {
    if (step.name == before && hook) hook();
    if (!step.run()) return step.name;
    if (step.name == last) break;
  }
  return "";
}

std::string ItemBed::RunItemSteps(const std::string& first, const std::string& last) {
  bool running = false;
  for (const NamedStep& step : ItemSteps()) {
    running = running || step.name == first;
    if (!running) continue;
    if (!step.run()) return step.name;
    if (step.name == last) break;
  }
  return "";
}

void AddItemConsultation(testkit::SuiteBuilder& b) {
  AddSystemRecords(b);
  // The examinee, of organisation 501, between two neighbours in key order;
  // the one before has a consultation of its own.
  b.Add("QZJSNLF", {{"CODE", kMe}, {"KANA", "ﾔﾏﾀﾞ ﾀﾛｳ"}, {"NAME", "山田　太郎"}, {"SEX", 1}, {"BIRTH", 19800315},
                    {"KDANID", 501}});
  b.Add("QZJSNLF", {{"CODE", "0000012344"}, {"NAME", "前野"}, {"SEX", 2}, {"BIRTH", 19700101}});
  b.Add("QZJSNLF", {{"CODE", "0000012346"}, {"NAME", "後野"}, {"SEX", 1}, {"BIRTH", 19700101}});
  b.Add("QZJRKLF", {{"CODE", "0000012344"}, {"JDATE", 20260101}, {"CNO1", 100}});
  b.Add("QZJRKLF", {{"CODE", kMe}, {"JDATE", kToday}, {"CNO1", 100}});
  b.Add("QZJRKLF", {{"CODE", kMe}, {"JDATE", kEarlier}, {"CNO1", 100}});
  b.Add("QZJRKLF", {{"CODE", kMe}, {"JDATE", kEarlier2}, {"CNO1", 200}});

  // Today: course 100 and the single item 1004; earlier: course 100 and
  // the single item 6001; the one before: course 200, whose generation of
  // that day brings 6003 (its later generation, 6004, is never used).
  b.Add("QZJKOLF", {{"CODE", kMe}, {"KSYMD", kToday}, {"KKBN_1", 0}, {"KCODE_1", 100}, {"KKBN_2", 1},
                    {"KCODE_2", 1004}, {"PCODE", "100"}});
  b.Add("QZJKOLF", {{"CODE", kMe}, {"KSYMD", kEarlier}, {"KKBN_1", 0}, {"KCODE_1", 100}, {"KKBN_2", 1},
                    {"KCODE_2", 6001}});
  b.Add("QZJKOLF", {{"CODE", kMe}, {"KSYMD", kEarlier2}, {"KKBN_1", 0}, {"KCODE_1", 200}});
  b.Add("QZKOSLF", {{"CNO", 100}, {"GENDATE", 20100101}, {"CNAME", "一般健診"}, {"PRNO", 7}});
  b.Add("QZKOSLF", {{"CNO", 200}, {"GENDATE", 20100101}, {"CNAME", "旧ドック"}, {"PRNO", 5}});
  b.Add("QZKOSLF", {{"CNO", 200}, {"GENDATE", 20250101}, {"CNAME", "新ドック"}, {"PRNO", 6}});
  b.Add("QZKSKLF", {{"CNO", 200}, {"GENDATE", 20100101}, {"REN", 1}, {"CODE", 6003}});
  b.Add("QZKSKLF", {{"CNO", 200}, {"GENDATE", 20250101}, {"REN", 1}, {"CODE", 6004}});
  // Course rows: 1001 keeps its course values (KEKANO 1, its own group and
  // order); the others leave everything to the master.
  int ren = 0;
  for (long long code : {1001LL, 1002LL, 1003LL, 2001LL, 2002LL, 2003LL, 2004LL, 3001LL, 3002LL, 5001LL,
                         9999999001LL, 9999999999LL}) {
    if (code == 1001) {
      b.Add("QZKSKLF", {{"CNO", 100}, {"GENDATE", 20100101}, {"REN", ++ren}, {"CODE", code}, {"KETA", 5},
                        {"KEKANO", 1}, {"HANTNO", 0}, {"NGRP", 10}, {"HJYUN", 5}, {"HGRP2", 3}, {"PJYUN", 10}});
    } else {
      b.Add("QZKSKLF", {{"CNO", 100}, {"GENDATE", 20100101}, {"REN", ++ren}, {"CODE", code}});
    }
  }

  AddMasters(b);
  AddRanges(b);
  AddFindings(b);
  const std::pair<int, const char*> groups[] = {
      {10, "身体計測"}, {20, "血液検査"}, {30, "画像・生理"}, {40, "判定"}, {50, "問診"}};
  for (const auto& [code, name] : groups) b.Add("QZGRPLF", {{"CODE", code}, {"NAME", name}});
  AddResults(b);
}

}  // namespace qz::testing
