#include "data/record_layouts.h"

#include <string>
#include <utility>

namespace qz::data {

namespace {

FieldDef A(std::string name, int pos, int len) { return {std::move(name), pos, len, FieldKind::kAlpha}; }
FieldDef N(std::string name, int pos, int len) { return {std::move(name), pos, len, FieldKind::kNumeric}; }
FieldDef K(std::string name, int pos, int len) { return {std::move(name), pos, len, FieldKind::kKanji}; }

std::string Nth(const char* stem, int n) { return stem + std::to_string(n); }

FileLayout Make(std::string name, std::string file, std::string definition, std::vector<FieldDef> fields,
                std::vector<std::string> keys, bool duplicates = false,
                FileFolder folder = FileFolder::kData) {
  FileLayout l;
  l.name = std::move(name);
  l.file = std::move(file);
  l.definition = std::move(definition);
  l.folder = folder;
  l.fields = std::move(fields);
  l.key_fields = std::move(keys);
  l.duplicates = duplicates;
  return l;
}

std::vector<FieldDef> HistoryFields() {
  return {A("CODE", 1, 10),   N("JDATE", 11, 8),  A("SHAT", 19, 2),   N("CNO1", 21, 10),
          N("CNO2", 31, 10),  N("CNO3", 41, 10),  A("KDANID", 51, 10), A("SEIKAN", 61, 10),
          A("EDIT", 71, 1),   A("PRINT", 72, 1),  A("PRYMD", 73, 8),  A("JHKBN", 81, 1),
          A("JSNO", 82, 11)};
}

std::vector<FieldDef> ResultFields() {
  return {A("CODE", 1, 10),     N("JDATE", 11, 8),    N("KKMKNO", 19, 10), A("KNSACH", 29, 10),
          A("SYOKEN", 39, 200), N("HEKBN", 239, 1),   N("HAN", 240, 2),    A("STNDLW", 242, 10),
          A("STNDHI", 252, 10), A("OPFLG", 262, 1),   A("USER", 263, 10),  A("YMD", 273, 8),
          A("HMS", 281, 6),     N("SOKUTEI", 287, 1)};
}

std::vector<FieldDef> FindingsFields() {
  return {N("CODE", 1, 10),    N("TCODE", 11, 2),    N("SCODE", 13, 6),    A("RCODE", 19, 6),
          K("SYKN", 25, 200),  K("DSPSYKN", 225, 14), N("KHANTEI", 239, 2), N("SHANTEI", 241, 2),
          A("COMBO", 243, 1),  N("TITLE", 244, 1),    N("DEFAULT", 245, 1)};
}

std::vector<FieldDef> JkoFields() {
  std::vector<FieldDef> f = {A("CODE", 1, 10), N("KSYMD", 11, 8)};
  for (int n = 1; n <= 40; ++n) {
    f.push_back(N(Nth("KKBN_", n), 19 + 11 * (n - 1), 1));
    f.push_back(N(Nth("KCODE_", n), 20 + 11 * (n - 1), 10));
  }
  f.push_back(A("PCODE", 487, 10));
  return f;
}

std::vector<FieldDef> SettingsFields() {
  std::vector<FieldDef> f = {N("KBN", 1, 2), A("CODE", 3, 6), N("RENKBN", 9, 1), K("JNKBN", 10, 1)};
  for (int n = 1; n <= 8; ++n) {
    const int base = 15 * (n - 1);
    f.push_back(N(Nth("HCODE_", n), 11 + base, 2));
    f.push_back(A(Nth("HKBN_", n), 13 + base, 4));
    f.push_back(K(Nth("HNAME_", n), 17 + base, 8));
    f.push_back(A(Nth("HCOL_", n), 25 + base, 1));
  }
  for (int n = 1; n <= 4; ++n) f.push_back(N(Nth("PTN_", n), 131 + 3 * (n - 1), 3));
  for (int n = 1; n <= 5; ++n) f.push_back(A(Nth("COLOR_", n), 143 + (n - 1), 1));
  f.insert(f.end(), {N("SZEI", 148, 4), N("UKBN", 152, 1), A("RENID", 153, 10)});
  for (int n = 1; n <= 4; ++n) f.push_back(A(Nth("TEGNM_", n), 163 + 10 * (n - 1), 10));
  f.insert(f.end(), {N("KANREN", 203, 1), K("SYKETA", 204, 2), N("HKNKBN", 206, 1), N("SYOHI", 207, 1),
                     N("SISYA", 208, 1), N("SSKBN", 209, 1), N("DELKBN", 210, 1), A("SOUCHK", 215, 1)});
  return f;
}

std::vector<FieldDef> EraFields() {
  std::vector<FieldDef> f = {N("KBN", 1, 2), A("CODE", 3, 6), N("SGKBN", 9, 1)};
  for (int n = 1; n <= 6; ++n) {
    f.push_back(K(Nth("GNMEI_", n), 10 + 12 * (n - 1), 4));
    f.push_back(N(Nth("GNSYMD_", n), 14 + 12 * (n - 1), 8));
  }
  return f;
}

std::vector<FieldDef> UserFields() {
  std::vector<FieldDef> f = {A("ID", 1, 10), A("EXPLAIN", 11, 50), A("PASSWD", 61, 10), N("1STGRP", 71, 5)};
  for (int n = 1; n <= 100; ++n) f.push_back(N(Nth("INPGRP_", n), 76 + 5 * (n - 1), 5));
  f.push_back(N("DSPKBN", 577, 1));
  return f;
}

const std::vector<std::string> kSysKey = {"KBN", "CODE"};

}  // namespace

const FieldDef* FileLayout::Find(std::string_view field_name) const {
  for (const FieldDef& f : fields) {
    if (f.name == field_name) return &f;
  }
  return nullptr;
}

int FileLayout::MinRecordLength() const {
  int end = 0;
  for (const FieldDef& f : fields) end = f.end() > end ? f.end() : end;
  return end;
}

const FileLayout& QzjsnlfLayout() {
  static const FileLayout l = Make(
      "QZJSNLF", "QZJSNLF.BTR", "QZJSNLF",
      {A("CODE", 1, 10), A("KANA", 11, 20), K("NAME", 31, 40), N("SEX", 71, 1), N("BIRTH", 73, 8),
       N("KDANID", 84, 10), N("ZNKDAT", 150, 8), A("IKANID", 158, 10), N("RENKBN", 168, 1),
       A("SEIKAN", 171, 10), A("COMMENT", 190, 40)},
      {"CODE"});
  return l;
}

const FileLayout& Qzjsn2lfLayout() {
  static const FileLayout l = Make("QZJSN2LF", "QZJSNLF.BTR", "QZJSN2LF",
                                   {A("CODE", 1, 10), A("IKANID", 158, 10)}, {"IKANID"}, true);
  return l;
}

const FileLayout& QzdanlfLayout() {
  static const FileLayout l =
      Make("QZDANLF", "QZDANLF.BTR", "QZDANLF", {N("KDANID", 1, 10), K("NAME", 17, 88)}, {"KDANID"});
  return l;
}

const FileLayout& QzjkolfLayout() {
  static const FileLayout l = Make("QZJKOLF", "QZJKOLF.BTR", "QZJKOLF", JkoFields(), {"CODE", "KSYMD"});
  return l;
}

const FileLayout& QzjrklfLayout() {
  static const FileLayout l = Make("QZJRKLF", "QZJRKLF.BTR", "QZJRKLF", HistoryFields(), {"CODE", "JDATE"});
  return l;
}

const FileLayout& Qzjrk2lfLayout() {
  static const FileLayout l =
      Make("QZJRK2LF", "QZJRKLF.BTR", "QZJRK2LF", {A("CODE", 1, 10), N("JDATE", 11, 8)}, {"JDATE", "CODE"});
  return l;
}

const FileLayout& QzkkklfLayout() {
  static const FileLayout l =
      Make("QZKKKLF", "QZKKKLF.BTR", "QZKKKLF", ResultFields(), {"CODE", "JDATE", "KKMKNO"});
  return l;
}

const FileLayout& QzcarlfLayout() {
  static const FileLayout l =
      Make("QZCARLF", "QZCARLF.BTR", "QZCARLF",
           {A("CODE", 1, 10), N("DATE", 11, 8), N("REN", 19, 2), A("SEIKAN", 21, 10)}, {"CODE", "DATE", "REN"});
  return l;
}

const FileLayout& QzjkrlfLayout() {
  static const FileLayout l = Make(
      "QZJKRLF", "QZJKRLF.BTR", "QZJKRLF",
      {A("CODE", 1, 10), N("DATE", 11, 8), N("REN", 19, 2), A("JSNO", 21, 11), N("JSDATE", 102, 8)},
      {"CODE", "DATE", "REN"});
  return l;
}

const FileLayout& QjjrklfLayout() {
  static const FileLayout l =
      Make("QJJRKLF", "QJJRKLF.BTR", "QJJRKLF", HistoryFields(), {"CODE", "JDATE"}, false, FileFolder::kWork);
  return l;
}

const FileLayout& QjkkklfLayout() {
  static const FileLayout l = Make("QJKKKLF", "QJKKKLF.BTR", "QJKKKLF", ResultFields(),
                                   {"CODE", "JDATE", "KKMKNO"}, false, FileFolder::kWork);
  return l;
}

const FileLayout& QzkoslfLayout() {
  static const FileLayout l =
      Make("QZKOSLF", "QZKOSLF.BTR", "QZKOSLF",
           {N("CNO", 1, 10), N("GENDATE", 11, 8), K("CNAME", 25, 20), N("PRNO", 69, 3)}, {"CNO", "GENDATE"});
  return l;
}

const FileLayout& QzksklfLayout() {
  static const FileLayout l = Make(
      "QZKSKLF", "QZKSKLF.BTR", "QZKSKLF",
      {N("CNO", 1, 10), N("GENDATE", 11, 8), N("REN", 19, 3), N("CODE", 22, 10), N("KETA", 32, 2),
       N("KEKANO", 34, 1), N("HANTNO", 35, 1), N("SYOKNO", 36, 1), N("NGRP", 37, 5), N("HJYUN", 42, 2),
       N("HGRP1", 44, 3), N("HGRP2", 47, 3), N("HGRP3", 50, 3), N("HGRP4", 53, 3), N("PJYUN", 56, 6)},
      {"CNO", "GENDATE", "REN"});
  return l;
}

const FileLayout& QzkomlfLayout() {
  static const FileLayout l = Make(
      "QZKOMLF", "QZKOMLF.BTR", "QZKOMLF",
      {N("CODE", 1, 10),       N("GENDATE", 11, 8),   K("HMEI", 66, 20),     A("TANI", 86, 10),
       N("KSYUB", 96, 2),      N("NGRP", 98, 5),      N("HJYUN", 103, 2),    N("HGRP_1", 105, 3),
       N("HGRP_2", 108, 3),    N("HGRP_3", 111, 3),   N("HGRP_4", 114, 3),   N("STYPE", 117, 2),
       N("JHKBN", 202, 1),     N("PJYUN", 203, 6),    N("CALPT", 209, 3),    N("KTAINO_1", 212, 10),
       N("KTAINO_2", 222, 10), N("KTAINO_3", 232, 10), N("KRKBN", 242, 1),   N("KETA", 243, 2),
       N("KEKANO", 245, 1),    N("HANTNO", 246, 1),   N("SYOKNO", 247, 1),   N("SKOMCD", 248, 10),
       N("SGKBN", 258, 1),     N("SEX", 259, 1),      A("YUKO", 260, 1),     A("OPCHK", 261, 1),
       N("HANSYO", 262, 10),   A("JLACNO", 272, 20),  N("MONFLG", 292, 1),   N("COPY", 313, 1)},
      {"CODE", "GENDATE"});
  return l;
}

const FileLayout& QzgrplfLayout() {
  static const FileLayout l =
      Make("QZGRPLF", "QZGRPLF.BTR", "QZGRPLF", {N("CODE", 1, 5), K("NAME", 6, 20)}, {"CODE"});
  return l;
}

const FileLayout& QzhatlfLayout() {
  static const FileLayout l = Make(
      "QZHATLF", "QZHATLF.BTR", "QZHATLF",
      {N("CODE", 1, 10), N("GENDATE", 11, 8), N("REN", 19, 3), N("SEX", 22, 1), N("STNEN", 23, 3),
       N("EDNEN", 26, 3), N("STDKBN", 29, 1), A("STKNSA", 30, 9), A("EDKNSA", 39, 9), N("SYCODE", 48, 6)},
      {"CODE", "GENDATE", "REN"});
  return l;
}

const FileLayout& QzsyolfLayout() {
  static const FileLayout l =
      Make("QZSYOLF", "QZSYOLF.BTR", "QZSYOLF", FindingsFields(), {"CODE", "TCODE", "SCODE"});
  return l;
}

const FileLayout& Qzsyo2lfLayout() {
  static const FileLayout l =
      Make("QZSYO2LF", "QZSYOLF.BTR", "QZSYO2LF", FindingsFields(), {"CODE", "RCODE"}, true);
  return l;
}

const FileLayout& Qzsyo3lfLayout() {
  static const FileLayout l =
      Make("QZSYO3LF", "QZSYOLF.BTR", "QZSYO3LF", FindingsFields(), {"CODE", "SCODE"}, true);
  return l;
}

const FileLayout& Qzsyo4lfLayout() {
  static const FileLayout l =
      Make("QZSYO4LF", "QZSYOLF.BTR", "QZSYO4LF", FindingsFields(), {"CODE", "COMBO", "RCODE"}, true);
  return l;
}

const FileLayout& SysSettingsLayout() {
  static const FileLayout l = Make("QZSYSLF", "QZSYSLF.BTR", "QZSYSLF", SettingsFields(), kSysKey);
  return l;
}

const FileLayout& SysChohyoLayout() {
  static const FileLayout l = Make(
      "QZSYSLF.CHOHYO", "QZSYSLF.BTR", "QZSYSLF",
      {N("KBN", 1, 2), A("CODE", 3, 6), K("CHOHYOMEI", 9, 20), A("CHOHYOPGM", 29, 8), A("CHOHYOKBN", 120, 1)},
      kSysKey);
  return l;
}

const FileLayout& SysEraLayout() {
  static const FileLayout l = Make("QZSYSLF.ERA", "QZSYSLF.BTR", "QZSYSLF", EraFields(), kSysKey);
  return l;
}

const FileLayout& SysInstitutionLayout() {
  static const FileLayout l = Make(
      "QZSYSLF.INSTITUTION", "QZSYSLF.BTR", "QZSYSLF",
      {N("KBN", 1, 2), A("CODE", 3, 6), K("NAME", 9, 88), A("ICODE1", 97, 15), A("ICODE2", 112, 15),
       A("POSTNO", 127, 7), K("ADR", 134, 88), A("TELNO", 222, 15), A("FAXNO", 237, 15), K("BIKOU", 252, 88),
       A("LNO", 340, 15)},
      kSysKey);
  return l;
}

const FileLayout& Qzocl2lfLayout() {
  static const FileLayout l = Make(
      "QZOCL2LF", "QZOCLLF.BTR", "QZOCL2LF",
      {N("ID", 1, 10), N("REN", 11, 2), A("NAME", 13, 20), N("HYOKBN", 33, 1), N("HJYUN", 34, 2)},
      {"ID", "HJYUN", "REN"});
  return l;
}

const FileLayout& QzusrlfLayout() {
  static const FileLayout l = Make("QZUSRLF", "QZUSRLF.BTR", "QZUSRLF", UserFields(), {"ID"});
  return l;
}

const FileLayout& Qzsyn2lfLayout() {
  static const FileLayout l = Make(
      "QZSYN2LF", "QZSYNLF.BTR", "QZSYN2LF",
      {N("ID", 1, 10), N("RANK", 11, 3), N("REN", 14, 3), N("CODE", 17, 10), N("KSYUB", 27, 2),
       N("STKNSA", 29, 9), N("EDKNSA", 38, 9), N("FLG", 47, 1), A("SYCODE", 48, 200)},
      {"ID", "RANK", "REN"});
  return l;
}

const FileLayout& QzloglfLayout() {
  static const FileLayout l =
      Make("QZLOGLF", "QZLOGLF.BTR", "QZLOGLF",
           {N("REN", 1, 8), A("UNAME", 9, 10), A("TNAME", 19, 20), N("DATE", 39, 8)}, {"REN"});
  return l;
}

const FileLayout& QzonllfLayout() {
  static const FileLayout l = [] {
    FileLayout x = Make(
        "QZONLLF", "QZONLLF.BTR", "QZONLLF",
        {N("REN", 1, 5), A("JYUNO", 6, 10), A("TERMNAME", 16, 20), N("GYONO", 36, 2), A("GYONAME", 38, 20)},
        {"REN"});
    x.fixed_length = 57;  // other programs of the suite share this table
    return x;
  }();
  return l;
}

const std::vector<const FileLayout*>& AllLayouts() {
  static const std::vector<const FileLayout*> all = {
      &QzjsnlfLayout(),   &Qzjsn2lfLayout(),   &QzdanlfLayout(),        &QzjkolfLayout(),
      &QzjrklfLayout(),   &Qzjrk2lfLayout(),   &QzkkklfLayout(),        &QzcarlfLayout(),
      &QzjkrlfLayout(),   &QjjrklfLayout(),    &QjkkklfLayout(),        &QzkoslfLayout(),
      &QzksklfLayout(),   &QzkomlfLayout(),    &QzgrplfLayout(),        &QzhatlfLayout(),
      &QzsyolfLayout(),   &Qzsyo2lfLayout(),   &Qzsyo3lfLayout(),       &Qzsyo4lfLayout(),
      &SysSettingsLayout(), &SysChohyoLayout(), &SysEraLayout(),        &SysInstitutionLayout(),
      &Qzocl2lfLayout(),  &QzusrlfLayout(),    &Qzsyn2lfLayout(),       &QzloglfLayout(),
      &QzonllfLayout()};
  return all;
}

const FileLayout* FindLayout(std::string_view name) {
  for (const FileLayout* l : AllLayouts()) {
    if (l->name == name) return l;
  }
  return nullptr;
}

int RecordLengthOf(std::string_view file) {
  int longest = 0;
  for (const FileLayout* l : AllLayouts()) {
    if (l->file != file) continue;
    if (l->fixed_length > 0) return l->fixed_length;
    if (l->MinRecordLength() > longest) longest = l->MinRecordLength();
  }
  return (longest + 15) / 16 * 16;
}

}  // namespace qz::data
