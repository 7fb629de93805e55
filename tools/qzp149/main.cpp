// qzp149: the stand-in of the suite's two automatic-judgement programs. The
// suite installs it twice in the program folder, as QZP149C.EXE (the
// basic-checkup judgement) and QZP149D.EXE (the specific-checkup
// judgement); the result screen starts them there with one argument:
//
//   <examinee number, 10><consultation date yyyymmdd>1          QZP149C.EXE
//   <examinee number, 10><consultation date yyyymmdd>1<mode>    QZP149D.EXE
//
// Both work on the preview results work file QJKKKLF of the work folder
// (QZPPATH.ini [FILE_PATH] SVWORK and "CPFSPEC " of the current folder),
// on the rows of that consultation only, and mark every row they write
// with their name as updater ("QZP149C", "QZP149D"), today's date and time.
//
// The basic judgement judges every row whose value is a number and which
// carries a standard range (STNDLW, STNDHI; a blank bound is no limit):
// judgement code 1 within the range, 3 outside it. A row measured "not
// performed" or "unmeasurable" is passed over.
//
// The specific judgement sets the trigger items of QZP149D.INI [KENSA_NO]
// that its mode names (0 both, 1 METABO, 2 HOKENSIDOU) to a level 1-3 by
// how many rows of the consultation are judged outside their range (none,
// one or two, three or more): the level is the value, its name the
// finding, and the level the judgement code.
//
// Exit status 0 when the work file was read and written, 1 on a bad
// argument, 2 when the work file cannot be opened or written.
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "data/define_fields.h"
#include "data/record_layouts.h"
#include "platform/ini/profile.h"
#include "platform/record/btr_access.h"
#include "platform/text/currency.h"
#include "platform/text/vb.h"

namespace {

constexpr int kHanWithin = 1;
constexpr int kHanOutside = 3;
constexpr int kSokuteiNotPerformed = 1;
constexpr int kSokuteiUnmeasurable = 2;

struct Consultation {
  std::string examinee;
  std::string date;
  char mode = 0;  // 0: the basic judgement
};

struct Stamp {
  std::string user;
  std::string ymd;
  std::string hms;
};

Stamp Now(const char* user) {
  const std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  char ymd[16];
  char hms[16];
  std::strftime(ymd, sizeof ymd, "%Y%m%d", &tm);
  std::strftime(hms, sizeof hms, "%H%M%S", &tm);
  return {user, ymd, hms};
}

bool IsNumber(const std::string& text) { return !text.empty() && qz::vb::IsNumeric(text); }

// The judgement of one row, or 0 when it is not judged.
int JudgeRow(const qz::record::BtrAccess& kkk) {
  const std::int64_t sokutei = kkk.GetField("SOKUTEI").ToInt();
  if (sokutei == kSokuteiNotPerformed || sokutei == kSokuteiUnmeasurable) return 0;
  const std::string value = qz::vb::Trim(kkk.GetField("KNSACH").ToText());
  const std::string low = qz::vb::Trim(kkk.GetField("STNDLW").ToText());
  const std::string high = qz::vb::Trim(kkk.GetField("STNDHI").ToText());
  if (!IsNumber(value) || (!IsNumber(low) && !IsNumber(high))) return 0;
  const double v = qz::vb::CDbl(value);
  if (IsNumber(low) && v < qz::vb::CDbl(low)) return kHanOutside;
  if (IsNumber(high) && v > qz::vb::CDbl(high)) return kHanOutside;
  return kHanWithin;
}

void SetStamp(qz::record::BtrAccess& kkk, const Stamp& stamp) {
  kkk.SetField("USER", stamp.user);
  kkk.SetField("YMD", stamp.ymd);
  kkk.SetField("HMS", stamp.hms);
}

// Calls `visit` on every row of the consultation; false when a read or a
// write failed.
template <typename Visit>
bool ForEachRow(qz::record::BtrAccess& kkk, const Consultation& c, Visit visit) {
  kkk.SetField("CODE", c.examinee);
  kkk.SetField("JDATE", c.date);
  kkk.SetField("KKMKNO", 0);
  int status = kkk.GetGreaterOrEqual("QJKKKLF");
  while (status == qz::record::kStatusOk) {
    if (qz::vb::Trim(kkk.GetField("CODE").ToText()) != qz::vb::Trim(c.examinee) ||
        kkk.GetField("JDATE").ToText() != c.date) {
      break;
    }
    if (!visit()) return false;
    status = kkk.GetNext();
  }
  return status == qz::record::kStatusOk || status == qz::record::kStatusEndOfFile;
}

bool BasicJudgement(qz::record::BtrAccess& kkk, const Consultation& c) {
  const Stamp stamp = Now("QZP149C");
  return ForEachRow(kkk, c, [&] {
    const int han = JudgeRow(kkk);
    if (han == 0) return true;
    kkk.SetField("HAN", han);
    SetStamp(kkk, stamp);
    return kkk.Update() == qz::record::kStatusOk;
  });
}

struct Trigger {
  const char* key;  // of QZP149D.INI [KENSA_NO]
  const char* names[3];
};

constexpr Trigger kHokenSidou = {"HOKENSIDOU", {"情報提供", "動機付け支援", "積極的支援"}};
constexpr Trigger kMetabo = {"METABO", {"非該当", "予備群該当", "基準該当"}};

bool SpecificJudgement(qz::record::BtrAccess& kkk, const Consultation& c) {
  std::vector<const Trigger*> triggers;
  if (c.mode == '0' || c.mode == '2') triggers.push_back(&kHokenSidou);
  if (c.mode == '0' || c.mode == '1') triggers.push_back(&kMetabo);
  int outside = 0;
  if (!ForEachRow(kkk, c, [&] {
        if (JudgeRow(kkk) == kHanOutside) ++outside;
        return true;
      })) {
    return false;
  }
  const int level = outside == 0 ? 1 : outside <= 2 ? 2 : 3;
  const Stamp stamp = Now("QZP149D");
  for (const Trigger* t : triggers) {
    const std::string code = qz::vb::Trim(qz::ini::GetProfileString("./QZP149D.INI", "KENSA_NO", t->key, ""));
    if (!IsNumber(code)) continue;
    const qz::Currency item = qz::vb::CCur(code);
    if (!ForEachRow(kkk, c, [&] {
          if (kkk.GetField("KKMKNO").ToCurrency() != item) return true;
          kkk.SetField("KNSACH", qz::vb::Format(std::string_view(std::to_string(level)), "@@@@@@@@@@"));
          kkk.SetField("SYOKEN", t->names[level - 1]);
          kkk.SetField("HAN", level);
          SetStamp(kkk, stamp);
          return kkk.Update() == qz::record::kStatusOk;
        })) {
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string arg = argc > 1 ? argv[1] : "";
  if (arg.size() < 19 || arg.size() > 20 || arg[18] != '1') {
    std::fprintf(stderr, "usage: qzp149 <examinee 10><yyyymmdd>1[mode]\n");
    return 1;
  }
  Consultation c{arg.substr(0, 10), arg.substr(10, 8), arg.size() == 20 ? arg[19] : '\0'};
  const std::string work = qz::ini::GetProfileString("./QZPPATH.ini", "FILE_PATH", "SVWORK", "");
  const std::string spec = qz::ini::GetProfileString("./QZPPATH.ini", "FILE_PATH", "CPFSPEC ", "");
  const qz::data::FileLayout& layout = qz::data::QjkkklfLayout();
  qz::record::BtrAccess kkk;
  if (!kkk.OpenFile(layout.file, layout.definition, work, spec)) {
    std::fprintf(stderr, "qzp149: %s cannot be opened\n", layout.file.c_str());
    return 2;
  }
  qz::DefineLayoutFields(kkk, layout);
  const bool ok = c.mode == '\0' ? BasicJudgement(kkk, c) : SpecificJudgement(kkk, c);
  kkk.CloseFile();
  return ok ? 0 : 2;
}
