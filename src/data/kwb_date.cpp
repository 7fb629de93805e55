#include "data/kwb_date.h"

#include <memory>
#include <string_view>

#include "data/bas_file_access.h"
#include "data/char_text.h"
#include "data/record_layouts.h"
#include "platform/record/btr_access.h"
#include "platform/runtime/run_time_error.h"
#include "platform/ui/msgbox.h"

namespace qz {

BasDate basDate;

namespace {

constexpr std::string_view kBlankCode = "      ";

void ShowLoadFailure(std::string_view what) {
  ui::MsgBox(data::SysEraLayout().definition + std::string(what), ui::MsgButtons::kOk, ui::MsgIcon::kCritical,
             "BTRエラー");
}

// Reads the era record into `table`. Shows the failure and returns false
// when the file cannot be opened or the record read; `table` is then left
// as it was. Run-time errors of the data access pass to the caller.
bool LoadEraTable(std::string_view data_folder, std::string_view def_folder, EraTable& table) {
  const data::FileLayout& layout = data::SysEraLayout();
  auto sys = std::make_unique<record::BtrAccess>();
  if (!sys->OpenFile(layout.file, layout.definition, data_folder, def_folder)) {
    ShowLoadFailure("の初期化に失敗しました");
    return false;
  }
  struct Closer {
    record::BtrAccess& obj;
    ~Closer() { obj.CloseFile(); }
  } closer{*sys};
  DefineLayoutFields(*sys, layout);
  sys->SetField("KBN", data::kSysKbnEra);
  sys->SetField("CODE", kBlankCode);
  if (sys->GetEqual(layout.definition) != record::kStatusOk) {
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
