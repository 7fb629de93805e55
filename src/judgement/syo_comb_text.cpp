#include "judgement/syo_comb_text.h"

#include <algorithm>

#include "platform/text/cp932.h"
#include "platform/text/vb.h"
#include "platform/ui/text_edit.h"

namespace qz {

namespace {

constexpr std::string_view kNotDone = "(未実施)";
constexpr std::string_view kNotMeasurable = "(測定不能)";

// The first `n` characters of `text` and the rest.
std::pair<std::string, std::string> SplitAt(std::string_view text, int n) {
  std::string head, tail;
  int i = 0;
  for (const std::string& ch : ui::SplitChars(text)) (i++ < n ? head : tail) += ch;
  return {head, tail};
}

std::string Counter(float value) { return vb::Format(vb::CStr(value), "@@@@@"); }

}  // namespace

SyoTextEdit InsertPickedFinding(const SyoTextEdit& edit, std::string_view finding,
                                std::string_view separator) {
  std::string text = edit.text;
  if (text == kNotDone || text == kNotMeasurable) text.clear();
  const int finding_chars = ui::CharLength(finding);
  if (text.empty()) return {std::string(finding), finding_chars};
  const int caret = std::clamp(edit.caret, 0, ui::CharLength(text));
  if (caret == 0) return {std::string(finding) + text, finding_chars};
  auto [head, tail] = SplitAt(text, caret);
  return {head + std::string(separator) + std::string(finding) + tail,
          caret + ui::CharLength(separator) + finding_chars};
}

std::string AppendPickedFinding(std::string_view text, std::string_view finding,
                                std::string_view separator) {
  if (text.empty()) return std::string(finding);
  return std::string(text) + std::string(separator) + std::string(finding);
}

std::string CaretInfoText(std::string_view text, int caret, std::int16_t max_len) {
  const std::string left = SplitAt(text, std::max(caret, 0)).first;
  const float position = static_cast<float>(text::Cp932Length(left)) / 2 + 1;
  const float rest =
      static_cast<float>(max_len) - static_cast<float>(text::Cp932Length(vb::RTrim(text))) / 2;
  return "現在" + Counter(position) + " 桁目です." + " あと" + Counter(rest) + " 文字入力できます.";
}

std::int16_t CheckSyokenLength(std::string_view text, std::int16_t max_len) {
  return text::Cp932Length(text) > 2 * static_cast<std::size_t>(std::max<int>(max_len, 0)) ? 2 : 0;
}

bool TakesTypedCodeChar(int code_point) {
  return (code_point >= 0 && code_point < 0x80) || (code_point >= 0xFF61 && code_point <= 0xFF9F);
}

}  // namespace qz
