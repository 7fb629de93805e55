#include "data/bas_rank_change.h"

#include "data/bas_file_access.h"
#include "platform/record/definitions.h"
#include "platform/runtime/run_time_error.h"

namespace qz {
namespace {

// The raw bytes of the declared field `name`: the mark is measured in
// code-page bytes, so it is taken from the record itself rather than from
// the field's decoded text. RunTimeError 5 when no such field is declared.
std::string RawFieldBytes(const record::BtrAccess& sys, std::string_view name) {
  for (const record::FieldInfo& f : sys.Fields()) {
    if (record::AsciiUpper(f.name) != name) continue;
    const std::string& bytes = sys.RecordBytes();
    auto from = static_cast<std::size_t>(f.position - 1);
    if (bytes.size() < from + static_cast<std::size_t>(f.length)) throw RunTimeError(kErrSubscript);
    return bytes.substr(from, static_cast<std::size_t>(f.length));
  }
  throw RunTimeError(kErrInvalidCall);
}

}  // namespace

JudgeSlots ReadJudgeSlots(const record::BtrAccess& sys) {
  JudgeSlots slots;
  for (int n = 1; n <= kJudgeSlotCount; ++n) {
    std::string suffix = std::to_string(n);
    JudgeSlot& s = slots[n - 1];
    s.code = static_cast<std::int16_t>(sys.GetField("HCODE_" + suffix).ToInt());
    s.kbn = RawFieldBytes(sys, "HKBN_" + suffix);
    s.color = sys.GetField("HCOL_" + suffix).ToText();
  }
  return slots;
}

std::int16_t Fnc_JudgeCodeToMark(const record::BtrAccess& sys, std::int16_t Code, std::string& Mark,
                                 std::string& ColorLetter) {
  if (!sys.HasCurrentRecord()) return 1;
  try {
    return JudgeCodeToMark(ReadJudgeSlots(sys), Code, Mark, ColorLetter);
  } catch (const RunTimeError&) {
    return 1;
  }
}

std::int16_t Fnc_MarkToJudgeCode(const record::BtrAccess& sys, std::string_view Mark, std::int16_t& Code,
                                 std::string& ColorLetter) {
  if (!sys.HasCurrentRecord()) return 1;
  try {
    return MarkToJudgeCode(ReadJudgeSlots(sys), Mark, Code, ColorLetter);
  } catch (const RunTimeError&) {
    return 1;
  }
}

std::int16_t Fnc_JudgeCodeToMark(std::int16_t Code, std::string& Mark, std::string& ColorLetter) {
  if (!basFileAccess.SysObj) return 1;
  return Fnc_JudgeCodeToMark(*basFileAccess.SysObj, Code, Mark, ColorLetter);
}

std::int16_t Fnc_MarkToJudgeCode(std::string_view Mark, std::int16_t& Code, std::string& ColorLetter) {
  if (!basFileAccess.SysObj) return 1;
  return Fnc_MarkToJudgeCode(*basFileAccess.SysObj, Mark, Code, ColorLetter);
}

}  // namespace qz
