#include "judgement/syo_search_fixture.h"

#include "data/bas_file_access.h"
#include "data/record_layouts.h"
#include "examinee/bas_public.h"
#include "judgement/frm_syo_comb.h"
#include "platform/clock/clock.h"
#include "suite/call_log.h"

namespace qz::testkit {

void SyoSearchTest::SetUp() {
  basPublic = BasPublic{};
  basFileAccess = BasFileAccess{};
  frmSyoComb.Reset();
  suite::ClearCalls();
  FixClockForTest({2026, 12, 10, 9, 5, 7, 0});
  basPublic.ColorTable = {0x100, 0x200, 0x300, 0x400, 0x500, 0x600, 0x700, 0x800, 0x900, 0xA00};

  struct Row {
    long long type;
    int scode;
    const char* rcode;
    const char* sykn;
    int han, title, tab;
  };
  const Row rows[] = {
      {12, 1, "A01", "所見なし", 1, 0, 1},   {12, 2, "A02", "軽度肥大", 2, 0, 1},
      {12, 3, "A03", "要精査", 4, 0, 1},     {12, 4, "A00", "見出し", 0, 1, 1},
      {12, 5, "B01", "胆石", 3, 0, 2},       {12, 6, "B02", "ポリープ", 2, 0, 2},
      {12, 7, "C01", "嚢胞", 2, 0, 2},       {12, 7, "C02", "嚢胞（多発）", 3, 0, 1},
      {13, 1, "X01", "別種別", 1, 0, 1},
  };
  for (const Row& r : rows) {
    suite.Add("QZSYO2LF", {{"CODE", r.type}, {"TCODE", r.tab}, {"SCODE", r.scode}, {"RCODE", r.rcode},
                           {"SYKN", r.sykn}, {"KHANTEI", r.han}, {"TITLE", r.title}});
  }
  suite.Add("QZOCL2LF", {{"ID", 12}, {"HJYUN", 1}, {"REN", 1}, {"NAME", "胸部"}, {"HYOKBN", 1}});
  suite.Add("QZOCL2LF", {{"ID", 12}, {"HJYUN", 2}, {"REN", 2}, {"NAME", "腹部"}, {"HYOKBN", 0}});
  suite.Add("QZOCL2LF", {{"ID", 13}, {"HJYUN", 1}, {"REN", 1}, {"NAME", "他種別"}, {"HYOKBN", 1}});
  suite.Add("QZSYSLF", {{"KBN", data::kSysKbnSettings}, {"CODE", "      "},
                        {"HCODE_1", 1}, {"HKBN_1", "  Ａ"}, {"HCOL_1", "B"},
                        {"HCODE_2", 2}, {"HKBN_2", "  Ｂ"}, {"HCOL_2", "R"},
                        {"HCODE_3", 3}, {"HKBN_3", "  Ｃ"}, {"HCOL_3", "P"},
                        {"HCODE_4", 4}, {"HKBN_4", "  Ｄ"}, {"HCOL_4", "K"}});
  suite.Add("QZUSRLF", {{"ID", "U01"}, {"EXPLAIN", "検査 太郎"}});
  suite.Build();
  suite.ApplyPaths();
  ASSERT_TRUE(Fnc_OpenSyo2Master());
  ASSERT_TRUE(Fnc_OpenSyo3Master());
  ASSERT_TRUE(Fnc_OpenOcl2Master());
  ASSERT_TRUE(Fnc_OpenSysMaster());
  ASSERT_TRUE(Fnc_OpenUsrMaster());
  record::BtrAccess& sys = *basFileAccess.SysObj;
  sys.SetField("KBN", data::kSysKbnSettings);
  sys.SetField("CODE", "      ");
  ASSERT_EQ(sys.GetEqual("QZSYSLF"), 0);
}

void SyoSearchTest::TearDown() {
  frmSyoComb.Reset();
  for (BtrObject* slot : {&basFileAccess.QZSYO2LFObj, &basFileAccess.QZSYO3LFObj, &basFileAccess.QZOCL2LFObj,
                          &basFileAccess.SysObj, &basFileAccess.QZUSRLFObj}) {
    if (*slot) (*slot)->CloseFile();
  }
  basFileAccess = BasFileAccess{};
  SetClockForTest(nullptr);
}

}  // namespace qz::testkit
