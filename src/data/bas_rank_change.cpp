#include "data/bas_rank_change.h"

#include "platform/runtime/run_time_error.h"
#include "platform/text/cp932.h"

namespace qz {

JudgeSlots ReadJudgeSlots(const record::BtrAccess& sys) {
  JudgeSlots slots;
  for (int n = 1; n <= kJudgeSlotCount; ++n) {
    std::string suffix = std::to_string(n);
    JudgeSlot& s = slots[n - 1];
    s.code = static_cast<std::int16_t>(sys.GetField("HCODE_" + suffix).ToInt());
    s.kbn = text::ToCp932(sys.GetField("HKBN_" + suffix).ToText());
    s.color = sys.GetField("HCOL_" + suffix).ToText();
  }
  return slots;
}

std::int16_t Fnc_JudgeCodeToMark(const record::BtrAccess& sys, std::int16_t Code, std::string& Mark,
                                 std::string& ColorLetter) {
  try {
    return JudgeCodeToMark(ReadJudgeSlots(sys), Code, Mark, ColorLetter);
  } catch (const RunTimeError&) {
    return 1;
  }
}

std::int16_t Fnc_MarkToJudgeCode(const record::BtrAccess& sys, std::string_view Mark, std::int16_t& Code,
                                 std::string& ColorLetter) {
  try {
    return MarkToJudgeCode(ReadJudgeSlots(sys), Mark, Code, ColorLetter);
  } catch (const RunTimeError&) {
    return 1;
  }
}

}  // namespace qz
