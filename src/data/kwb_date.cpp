#include "data/kwb_date.h"

#include <memory>
#include <string_view>

#include "data/char_text.h"
#include "data/sys_kbn.h"
#include "platform/record/btr_access.h"
#include "platform/runtime/run_time_error.h"
#include "platform/ui/msgbox.h"

namespace qz {

BasDate basDate;

namespace {

constexpr std::string_view kSysFile = "QZSYSLF.BTR";
constexpr std::string_view kSysDefinition = "QZSYSLF";

// The routine's own layout of the era record.
void DefineEraRecord(record::BtrAccess& sys) {
  sys.DefineNumericField("KBN", 1, 2, 0);
  sys.DefineAlphaField("CODE", 3, 6);
  sys.DefineNumericField("SGKBN", 9, 1, 0);
  for (int n = 1; n <= kEraCount; ++n) {
    int base = 10 + 12 * (n - 1);
    sys.DefineKanjiField("GNMEI_" + std::to_string(n), base, 4);
    sys.DefineNumericField("GNSYMD_" + std::to_string(n), base + 4, 8, 0);
  }
}

void ShowLoadFailure(std::string_view what) {
  ui::MsgBox(std::string(kSysDefinition) + std::string(what), ui::MsgButtons::kOk, ui::MsgIcon::kCritical,
             "BTRエラー");
}

// Reads the era record into `table`. Shows the failure and returns false
// when the file cannot be opened or the record read; `table` is then left
// as it was. Run-time errors of the data access pass to the caller.
bool LoadEraTable(std::string_view data_folder, std::string_view def_folder, EraTable& table) {
  auto sys = std::make_unique<record::BtrAccess>();
  if (!sys->OpenFile(kSysFile, kSysDefinition, data_folder, def_folder)) {
    ShowLoadFailure("の初期化に失敗しました");
    return false;
  }
  struct Closer {
    record::BtrAccess& obj;
    ~Closer() { obj.CloseFile(); }
  } closer{*sys};
  DefineEraRecord(*sys);
  sys->SetField("KBN", kSysKbnEra);
  sys->SetField("CODE", kSysBlankCode);
  if (sys->GetEqual(kSysDefinition) != record::kStatusOk) {
    ShowLoadFailure("の値取得に失敗しました");
    return false;
  }
  EraTable loaded;
  for (int n = 1; n <= kEraCount; ++n) {
    std::string suffix = std::to_string(n);
    loaded.EraNames[n - 1] = sys->GetField("GNMEI_" + suffix).ToText();
    auto start = static_cast<std::int32_t>(sys->GetField("GNSYMD_" + suffix).ToLong());
    loaded.EraStarts[n - 1] = start == 0 ? kEraNeverStarts : start;
  }
  table = loaded;
  return true;
}

}  // namespace

void Sub_KwbDate(std::int16_t& Mode, std::int16_t& Kind, std::int32_t& Date1, std::int32_t& Date2,
                 std::string& InText, std::int16_t& EraNo, std::string& EraName, std::string& DateText,
                 std::int32_t& OutNo, std::string& EraText, std::int16_t& ErrorCode, std::string& Note,
                 std::string DataFolder, std::string DefFolder) {
  try {
    KwbDateVars v{Mode, Kind, Date1, Date2, InText, EraNo, EraName, DateText, OutNo, EraText, Note};
    if (basDate.IsEmpty() && !LoadEraTable(DataFolder, DefFolder, basDate)) {
      ErrorCode = kKwbDateFailed;
      return;
    }
    std::int16_t code = RunKwbDate(basDate, v);
    Mode = v.Mode;
    Kind = v.Kind;
    Date1 = v.Date1;
    Date2 = v.Date2;
    InText = FixedLength(v.InText, kKwbInTextLength);
    EraNo = v.EraNo;
    EraName = FixedLength(v.EraName, kKwbEraNameLength);
    DateText = FixedLength(v.DateText, kKwbDateTextLength);
    OutNo = v.OutNo;
    EraText = FixedLength(v.EraText, kKwbEraTextLength);
    Note = v.Note;
    ErrorCode = code;
  } catch (const RunTimeError& e) {
    ui::MsgBox(std::to_string(e.number()) + ":" + e.description(), ui::MsgButtons::kOk, ui::MsgIcon::kExclamation,
               "KWBDATEエラー");
    ErrorCode = kKwbDateFailed;
  }
}

}  // namespace qz
