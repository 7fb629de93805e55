// Every field of every layout, pinned one by one: a transcription slip in a
// position, a length, a kind or the declaration order reads the wrong bytes of
// another program's records, so each table here is written out in full.
#include "data/record_layouts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qz::data {
namespace {

constexpr FieldKind A = FieldKind::kAlpha;
constexpr FieldKind N = FieldKind::kNumeric;
constexpr FieldKind K = FieldKind::kKanji;

struct Expected {
  const char* layout;
  std::vector<FieldDef> fields;
};

void ExpectFields(const FileLayout& l, const std::vector<FieldDef>& want) {
  SCOPED_TRACE(l.name);
  ASSERT_EQ(l.fields.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE(want[i].name);
    EXPECT_EQ(l.fields[i].name, want[i].name) << "field #" << i;
    EXPECT_EQ(l.fields[i].pos, want[i].pos);
    EXPECT_EQ(l.fields[i].len, want[i].len);
    EXPECT_EQ(l.fields[i].kind, want[i].kind);
  }
}

std::string Nth(const char* stem, int n) { return stem + std::to_string(n); }

TEST(RecordLayoutFields, PlainTablesFieldByField) {
  const std::vector<Expected> tables = {
      {"QZJSNLF",
       {{"CODE", 1, 10, A}, {"KANA", 11, 20, A}, {"NAME", 31, 40, K}, {"SEX", 71, 1, N},
        {"BIRTH", 73, 8, N}, {"KDANID", 84, 10, N}, {"ZNKDAT", 150, 8, N}, {"IKANID", 158, 10, A},
        {"RENKBN", 168, 1, N}, {"SEIKAN", 171, 10, A}, {"COMMENT", 190, 40, A}}},
      {"QZJSN2LF",
       {{"CODE", 1, 10, A}, {"IKANID", 158, 10, A}}},
      {"QZDANLF",
       {{"KDANID", 1, 10, N}, {"NAME", 17, 88, K}}},
      {"QZJRKLF",
       {{"CODE", 1, 10, A}, {"JDATE", 11, 8, N}, {"SHAT", 19, 2, A}, {"CNO1", 21, 10, N},
        {"CNO2", 31, 10, N}, {"CNO3", 41, 10, N}, {"KDANID", 51, 10, A}, {"SEIKAN", 61, 10, A},
        {"EDIT", 71, 1, A}, {"PRINT", 72, 1, A}, {"PRYMD", 73, 8, A}, {"JHKBN", 81, 1, A},
        {"JSNO", 82, 11, A}}},
      {"QZJRK2LF",
       {{"CODE", 1, 10, A}, {"JDATE", 11, 8, N}}},
      {"QZKKKLF",
       {{"CODE", 1, 10, A}, {"JDATE", 11, 8, N}, {"KKMKNO", 19, 10, N}, {"KNSACH", 29, 10, A},
        {"SYOKEN", 39, 200, A}, {"HEKBN", 239, 1, N}, {"HAN", 240, 2, N}, {"STNDLW", 242, 10, A},
        {"STNDHI", 252, 10, A}, {"OPFLG", 262, 1, A}, {"USER", 263, 10, A}, {"YMD", 273, 8, A},
        {"HMS", 281, 6, A}, {"SOKUTEI", 287, 1, N}}},
      {"QZCARLF",
       {{"CODE", 1, 10, A}, {"DATE", 11, 8, N}, {"REN", 19, 2, N}, {"SEIKAN", 21, 10, A}}},
      {"QZJKRLF",
       {{"CODE", 1, 10, A}, {"DATE", 11, 8, N}, {"REN", 19, 2, N}, {"JSNO", 21, 11, A},
        {"JSDATE", 102, 8, N}}},
      {"QZKOSLF",
       {{"CNO", 1, 10, N}, {"GENDATE", 11, 8, N}, {"CNAME", 25, 20, K}, {"PRNO", 69, 3, N}}},
      {"QZKSKLF",
       {{"CNO", 1, 10, N}, {"GENDATE", 11, 8, N}, {"REN", 19, 3, N}, {"CODE", 22, 10, N},
        {"KETA", 32, 2, N}, {"KEKANO", 34, 1, N}, {"HANTNO", 35, 1, N}, {"SYOKNO", 36, 1, N},
        {"NGRP", 37, 5, N}, {"HJYUN", 42, 2, N}, {"HGRP1", 44, 3, N}, {"HGRP2", 47, 3, N},
        {"HGRP3", 50, 3, N}, {"HGRP4", 53, 3, N}, {"PJYUN", 56, 6, N}}},
      {"QZKOMLF",
       {{"CODE", 1, 10, N}, {"GENDATE", 11, 8, N}, {"HMEI", 66, 20, K}, {"TANI", 86, 10, A},
        {"KSYUB", 96, 2, N}, {"NGRP", 98, 5, N}, {"HJYUN", 103, 2, N}, {"HGRP_1", 105, 3, N},
        {"HGRP_2", 108, 3, N}, {"HGRP_3", 111, 3, N}, {"HGRP_4", 114, 3, N}, {"STYPE", 117, 2, N},
        {"JHKBN", 202, 1, N}, {"PJYUN", 203, 6, N}, {"CALPT", 209, 3, N}, {"KTAINO_1", 212, 10, N},
        {"KTAINO_2", 222, 10, N}, {"KTAINO_3", 232, 10, N}, {"KRKBN", 242, 1, N}, {"KETA", 243, 2, N},
        {"KEKANO", 245, 1, N}, {"HANTNO", 246, 1, N}, {"SYOKNO", 247, 1, N}, {"SKOMCD", 248, 10, N},
        {"SGKBN", 258, 1, N}, {"SEX", 259, 1, N}, {"YUKO", 260, 1, A}, {"OPCHK", 261, 1, A},
        {"HANSYO", 262, 10, N}, {"JLACNO", 272, 20, A}, {"MONFLG", 292, 1, N}, {"COPY", 313, 1, N}}},
      {"QZGRPLF",
       {{"CODE", 1, 5, N}, {"NAME", 6, 20, K}}},
      {"QZHATLF",
       {{"CODE", 1, 10, N}, {"GENDATE", 11, 8, N}, {"REN", 19, 3, N}, {"SEX", 22, 1, N},
        {"STNEN", 23, 3, N}, {"EDNEN", 26, 3, N}, {"STDKBN", 29, 1, N}, {"STKNSA", 30, 9, A},
        {"EDKNSA", 39, 9, A}, {"SYCODE", 48, 6, N}}},
      {"QZSYOLF",
       {{"CODE", 1, 10, N}, {"TCODE", 11, 2, N}, {"SCODE", 13, 6, N}, {"RCODE", 19, 6, A},
        {"SYKN", 25, 200, K}, {"DSPSYKN", 225, 14, K}, {"KHANTEI", 239, 2, N}, {"SHANTEI", 241, 2, N},
        {"COMBO", 243, 1, A}, {"TITLE", 244, 1, N}, {"DEFAULT", 245, 1, N}}},
      {"QZSYSLF.CHOHYO",
       {{"KBN", 1, 2, N}, {"CODE", 3, 6, A}, {"CHOHYOMEI", 9, 20, K}, {"CHOHYOPGM", 29, 8, A},
        {"CHOHYOKBN", 120, 1, A}}},
      {"QZOCL2LF",
       {{"ID", 1, 10, N}, {"REN", 11, 2, N}, {"NAME", 13, 20, A}, {"HYOKBN", 33, 1, N},
        {"HJYUN", 34, 2, N}}},
      {"QZSYN2LF",
       {{"ID", 1, 10, N}, {"RANK", 11, 3, N}, {"REN", 14, 3, N}, {"CODE", 17, 10, N},
        {"KSYUB", 27, 2, N}, {"STKNSA", 29, 9, N}, {"EDKNSA", 38, 9, N}, {"FLG", 47, 1, N},
        {"SYCODE", 48, 200, A}}},
      {"QZSYSLF.ERA",
       {{"KBN", 1, 2, N}, {"CODE", 3, 6, A}, {"SGKBN", 9, 1, N},
        {"GNMEI_1", 10, 4, K}, {"GNSYMD_1", 14, 8, N}, {"GNMEI_2", 22, 4, K}, {"GNSYMD_2", 26, 8, N},
        {"GNMEI_3", 34, 4, K}, {"GNSYMD_3", 38, 8, N}, {"GNMEI_4", 46, 4, K}, {"GNSYMD_4", 50, 8, N},
        {"GNMEI_5", 58, 4, K}, {"GNSYMD_5", 62, 8, N}, {"GNMEI_6", 70, 4, K}, {"GNSYMD_6", 74, 8, N}}},
  };
  for (const Expected& e : tables) {
    const FileLayout* l = FindLayout(e.layout);
    ASSERT_NE(l, nullptr) << e.layout;
    ExpectFields(*l, e.fields);
  }
  // The work-file twins carry exactly the fields of their originals.
  ExpectFields(QjjrklfLayout(), QzjrklfLayout().fields);
  ExpectFields(QjkkklfLayout(), QzkkklfLayout().fields);
  // The findings master's four definitions share one record.
  for (const FileLayout* l : {&Qzsyo2lfLayout(), &Qzsyo3lfLayout(), &Qzsyo4lfLayout()})
    ExpectFields(*l, QzsyolfLayout().fields);
}

TEST(RecordLayoutFields, RepeatedGroupsFieldByField) {
  std::vector<FieldDef> jko = {{"CODE", 1, 10, A}, {"KSYMD", 11, 8, N}};
  for (int n = 1; n <= 40; ++n) {
    jko.push_back({Nth("KKBN_", n), 19 + 11 * (n - 1), 1, N});
    jko.push_back({Nth("KCODE_", n), 20 + 11 * (n - 1), 10, N});
  }
  jko.push_back({"PCODE", 487, 10, A});
  ExpectFields(QzjkolfLayout(), jko);

  std::vector<FieldDef> sys = {{"KBN", 1, 2, N}, {"CODE", 3, 6, A}, {"RENKBN", 9, 1, N}, {"JNKBN", 10, 1, K}};
  for (int n = 1; n <= 8; ++n) {
    sys.push_back({Nth("HCODE_", n), 11 + 15 * (n - 1), 2, N});
    sys.push_back({Nth("HKBN_", n), 13 + 15 * (n - 1), 4, A});
    sys.push_back({Nth("HNAME_", n), 17 + 15 * (n - 1), 8, K});
    sys.push_back({Nth("HCOL_", n), 25 + 15 * (n - 1), 1, A});
  }
  const std::vector<FieldDef> sys_tail = {
      {"PTN_1", 131, 3, N},    {"PTN_2", 134, 3, N},    {"PTN_3", 137, 3, N},    {"PTN_4", 140, 3, N},
      {"COLOR_1", 143, 1, A},  {"COLOR_2", 144, 1, A},  {"COLOR_3", 145, 1, A},  {"COLOR_4", 146, 1, A},
      {"COLOR_5", 147, 1, A},  {"SZEI", 148, 4, N},     {"UKBN", 152, 1, N},     {"RENID", 153, 10, A},
      {"TEGNM_1", 163, 10, A}, {"TEGNM_2", 173, 10, A}, {"TEGNM_3", 183, 10, A}, {"TEGNM_4", 193, 10, A},
      {"KANREN", 203, 1, N},   {"SYKETA", 204, 2, K},   {"HKNKBN", 206, 1, N},   {"SYOHI", 207, 1, N},
      {"SISYA", 208, 1, N},    {"SSKBN", 209, 1, N},    {"DELKBN", 210, 1, N},   {"SOUCHK", 215, 1, A}};
  sys.insert(sys.end(), sys_tail.begin(), sys_tail.end());
  ExpectFields(SysSettingsLayout(), sys);

  std::vector<FieldDef> usr = {{"ID", 1, 10, A}, {"EXPLAIN", 11, 50, A}, {"PASSWD", 61, 10, A}, {"1STGRP", 71, 5, N}};
  for (int n = 1; n <= 100; ++n) usr.push_back({Nth("INPGRP_", n), 76 + 5 * (n - 1), 5, N});
  usr.push_back({"DSPKBN", 577, 1, N});
  ExpectFields(QzusrlfLayout(), usr);
}

TEST(RecordLayoutFields, FilesDefinitionsAndKeys) {
  struct Case {
    const char* layout;
    const char* file;
    const char* definition;
    std::vector<std::string> keys;
  };
  const Case cases[] = {
      {"QZJSNLF", "QZJSNLF.BTR", "QZJSNLF", {"CODE"}},
      {"QZJSN2LF", "QZJSNLF.BTR", "QZJSN2LF", {"IKANID"}},
      {"QZDANLF", "QZDANLF.BTR", "QZDANLF", {"KDANID"}},
      {"QZJKOLF", "QZJKOLF.BTR", "QZJKOLF", {"CODE", "KSYMD"}},
      {"QZJRKLF", "QZJRKLF.BTR", "QZJRKLF", {"CODE", "JDATE"}},
      {"QZJRK2LF", "QZJRKLF.BTR", "QZJRK2LF", {"JDATE", "CODE"}},
      {"QZKKKLF", "QZKKKLF.BTR", "QZKKKLF", {"CODE", "JDATE", "KKMKNO"}},
      {"QZCARLF", "QZCARLF.BTR", "QZCARLF", {"CODE", "DATE", "REN"}},
      {"QZJKRLF", "QZJKRLF.BTR", "QZJKRLF", {"CODE", "DATE", "REN"}},
      {"QJJRKLF", "QJJRKLF.BTR", "QJJRKLF", {"CODE", "JDATE"}},
      {"QJKKKLF", "QJKKKLF.BTR", "QJKKKLF", {"CODE", "JDATE", "KKMKNO"}},
      {"QZKOSLF", "QZKOSLF.BTR", "QZKOSLF", {"CNO", "GENDATE"}},
      {"QZKSKLF", "QZKSKLF.BTR", "QZKSKLF", {"CNO", "GENDATE", "REN"}},
      {"QZKOMLF", "QZKOMLF.BTR", "QZKOMLF", {"CODE", "GENDATE"}},
      {"QZGRPLF", "QZGRPLF.BTR", "QZGRPLF", {"CODE"}},
      {"QZHATLF", "QZHATLF.BTR", "QZHATLF", {"CODE", "GENDATE", "REN"}},
      {"QZSYOLF", "QZSYOLF.BTR", "QZSYOLF", {"CODE", "TCODE", "SCODE"}},
      {"QZSYO2LF", "QZSYOLF.BTR", "QZSYO2LF", {"CODE", "RCODE"}},
      {"QZSYO3LF", "QZSYOLF.BTR", "QZSYO3LF", {"CODE", "SCODE"}},
      {"QZSYO4LF", "QZSYOLF.BTR", "QZSYO4LF", {"CODE", "COMBO", "RCODE"}},
      {"QZSYSLF", "QZSYSLF.BTR", "QZSYSLF", {"KBN", "CODE"}},
      {"QZSYSLF.CHOHYO", "QZSYSLF.BTR", "QZSYSLF", {"KBN", "CODE"}},
      {"QZSYSLF.ERA", "QZSYSLF.BTR", "QZSYSLF", {"KBN", "CODE"}},
      {"QZOCL2LF", "QZOCLLF.BTR", "QZOCL2LF", {"ID", "HJYUN", "REN"}},
      {"QZUSRLF", "QZUSRLF.BTR", "QZUSRLF", {"ID"}},
      {"QZSYN2LF", "QZSYNLF.BTR", "QZSYN2LF", {"ID", "RANK", "REN"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.layout);
    const FileLayout* l = FindLayout(c.layout);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->file, c.file);
    EXPECT_EQ(l->definition, c.definition);
    EXPECT_EQ(l->key_fields, c.keys);
    EXPECT_EQ(l->folder, c.file[1] == 'J' ? FileFolder::kWork : FileFolder::kData);
  }
}

}  // namespace
}  // namespace qz::data
