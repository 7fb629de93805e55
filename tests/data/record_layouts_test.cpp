#include "data/record_layouts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace qz::data {
namespace {

TEST(RecordLayouts, FieldsAscendWithoutOverlapAndKeysAreFields) {
  std::set<std::string> names;
  for (const FileLayout* l : AllLayouts()) {
    SCOPED_TRACE(l->name);
    EXPECT_TRUE(names.insert(l->name).second) << "layout name repeats";
    ASSERT_FALSE(l->fields.empty());
    std::set<std::string> fields;
    int last_end = 0;
    for (const FieldDef& f : l->fields) {
      EXPECT_GT(f.len, 0) << f.name;
      EXPECT_GT(f.pos, last_end) << f.name << " overlaps or is out of order";
      EXPECT_TRUE(fields.insert(f.name).second) << f.name << " declared twice";
      last_end = f.end();
    }
    EXPECT_LE(last_end, RecordLengthOf(l->file));
    ASSERT_FALSE(l->key_fields.empty());
    for (const std::string& k : l->key_fields) EXPECT_NE(l->Find(k), nullptr) << "key " << k;
  }
}

TEST(RecordLayouts, LayoutsOfOneFileAgreeOnSharedFields) {
  // A field name used by two layouts of one file (a second definition, a
  // work file twin aside) lies at the same place with the same kind.
  for (const FileLayout* a : AllLayouts()) {
    for (const FileLayout* b : AllLayouts()) {
      if (a == b || a->file != b->file || a->definition != b->definition) continue;
      for (const std::string& k : a->key_fields) {
        const FieldDef* fa = a->Find(k);
        const FieldDef* fb = b->Find(k);
        ASSERT_NE(fb, nullptr) << a->name << " key " << k << " missing in " << b->name;
        EXPECT_EQ(fa->pos, fb->pos);
        EXPECT_EQ(fa->len, fb->len);
        EXPECT_EQ(fa->kind, fb->kind);
      }
    }
  }
  const FileLayout& jsn = QzjsnlfLayout();
  for (const FieldDef& f : Qzjsn2lfLayout().fields) {
    const FieldDef* g = jsn.Find(f.name);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->pos, f.pos);
    EXPECT_EQ(g->len, f.len);
  }
}

TEST(RecordLayouts, RepeatedGroupsFollowTheirRules) {
  const FileLayout& jko = QzjkolfLayout();
  ASSERT_EQ(jko.fields.size(), 83u);  // CODE, KSYMD, 40 pairs, PCODE
  for (int n = 1; n <= 40; ++n) {
    const FieldDef& kbn = jko.fields[2 * n];
    const FieldDef& code = jko.fields[2 * n + 1];
    EXPECT_EQ(kbn.name, "KKBN_" + std::to_string(n));
    EXPECT_EQ(kbn.pos, 19 + 11 * (n - 1));
    EXPECT_EQ(kbn.len, 1);
    EXPECT_EQ(code.name, "KCODE_" + std::to_string(n));
    EXPECT_EQ(code.pos, 20 + 11 * (n - 1));
    EXPECT_EQ(code.len, 10);
    EXPECT_EQ(code.kind, FieldKind::kNumeric);
  }
  EXPECT_EQ(jko.Find("KKBN_41"), nullptr);
  EXPECT_EQ(jko.Find("KCODE_40")->end(), 458);
  EXPECT_EQ(jko.Find("PCODE")->pos, 487);

  const FileLayout& sys = SysSettingsLayout();
  for (int n = 1; n <= 8; ++n) {
    const std::string s = std::to_string(n);
    EXPECT_EQ(sys.Find("HCODE_" + s)->pos, 11 + 15 * (n - 1));
    EXPECT_EQ(sys.Find("HKBN_" + s)->pos, 13 + 15 * (n - 1));
    EXPECT_EQ(sys.Find("HKBN_" + s)->len, 4);
    EXPECT_EQ(sys.Find("HNAME_" + s)->kind, FieldKind::kKanji);
    EXPECT_EQ(sys.Find("HCOL_" + s)->pos, 25 + 15 * (n - 1));
  }
  EXPECT_EQ(sys.Find("HCOL_8")->pos, 130);
  EXPECT_EQ(sys.Find("JNKBN")->kind, FieldKind::kKanji);
  EXPECT_EQ(sys.Find("SYKETA")->kind, FieldKind::kKanji);

  const FileLayout& usr = QzusrlfLayout();
  EXPECT_EQ(usr.fields.size(), 105u);
  EXPECT_EQ(usr.fields[4].name, "INPGRP_1");
  EXPECT_EQ(usr.Find("INPGRP_100")->end(), 575);
  EXPECT_EQ(usr.fields.back().name, "DSPKBN");
  EXPECT_EQ(usr.fields.back().pos, 577);

  const FileLayout& era = SysEraLayout();
  EXPECT_EQ(era.Find("GNMEI_2")->pos, 22);
  EXPECT_EQ(era.Find("GNSYMD_6")->pos, 74);
  EXPECT_EQ(era.MinRecordLength(), 81);
}

TEST(RecordLayouts, RecordLengths) {
  struct Case {
    const char* file;
    int at_least;
  };
  const Case cases[] = {{"QZJSNLF.BTR", 229}, {"QZJKOLF.BTR", 496}, {"QZKKKLF.BTR", 287},
                        {"QZKOMLF.BTR", 313}, {"QZSYSLF.BTR", 354}, {"QZUSRLF.BTR", 577},
                        {"QZSYNLF.BTR", 247}, {"QZSYOLF.BTR", 245}};
  for (const Case& c : cases) {
    EXPECT_GE(RecordLengthOf(c.file), c.at_least) << c.file;
    EXPECT_EQ(RecordLengthOf(c.file) % 16, 0) << c.file;
  }
  EXPECT_EQ(RecordLengthOf("QZONLLF.BTR"), 57);  // shared with the suite's other programs
  EXPECT_EQ(RecordLengthOf("NOSUCH.BTR"), 0);
  EXPECT_EQ(QjkkklfLayout().folder, FileFolder::kWork);
  EXPECT_EQ(QjjrklfLayout().fields.size(), QzjrklfLayout().fields.size());
}

}  // namespace
}  // namespace qz::data
