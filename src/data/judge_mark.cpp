#include "data/judge_mark.h"

#include "data/char_text.h"
#include "platform/text/cp932.h"

namespace qz {

std::string JudgeSlotMark(const JudgeSlot& slot) {
  std::string_view bytes = slot.kbn;
  if (bytes.size() <= 2) return text::FromCp932(bytes);
  std::size_t from = bytes.size() - 2;
  // Walk the characters to see whether the mark starts inside one.
  std::size_t i = 0;
  while (i < from) i += text::IsCp932LeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
  if (i == from) return text::FromCp932(bytes.substr(from));
  return "\xEF\xBF\xBD" + text::FromCp932(bytes.substr(from + 1));
}

std::int16_t JudgeCodeToMark(const JudgeSlots& slots, std::int16_t Code, std::string& Mark,
                             std::string& ColorLetter) {
  for (const JudgeSlot& s : slots) {
    if (s.code == Code) {
      Mark = JudgeSlotMark(s);
      ColorLetter = s.color;
      return 0;
    }
  }
  return 1;
}

std::int16_t MarkToJudgeCode(const JudgeSlots& slots, std::string_view Mark, std::int16_t& Code,
                             std::string& ColorLetter) {
  std::string_view wanted = TrimBlanks(Mark);
  for (const JudgeSlot& s : slots) {
    if (TrimBlanks(JudgeSlotMark(s)) == wanted) {
      Code = s.code;
      ColorLetter = s.color;
      return 0;
    }
  }
  return 1;
}

}  // namespace qz
