#include "suite/qzp310.h"

#include <cstdint>
#include <string>

#include "data/std_range.h"
#include "platform/text/cp932.h"
#include "platform/text/currency.h"
#include "platform/text/vb.h"
#include "suite/area_answer.h"

namespace qz::suite {
namespace {

constexpr std::size_t kOutStart = 32;  // bytes 33-39
constexpr std::size_t kOutLength = 7;
constexpr std::string_view kNotJudged = "      0";
constexpr std::string_view kNoUpperLimit = "99999.9999";
const Currency kRangeScale = Currency(10000);  // limits are stored x 10000

AreaAnswer& Hook() {
  static AreaAnswer hook;
  return hook;
}

std::string Field(const std::string& area, std::size_t start, std::size_t length) {
  return vb::Trim(text::FromCp932(area.substr(start, length)));
}

// Bytes 33-39 of the stand-in's own judgement.
std::string Judge(const std::string& area) {
  const std::string item = Field(area, 0, 10);
  const std::string date = Field(area, 10, 8);
  const std::string sex = Field(area, 18, 1);
  const std::string age = Field(area, 19, 3);
  const std::string value = Field(area, 22, 10);
  if (!vb::IsNumeric(item) || !vb::IsNumeric(date) || !vb::IsNumeric(sex) || !vb::IsNumeric(age) ||
      !vb::IsNumeric(value)) {
    return std::string(kNotJudged);
  }
  std::string low;
  std::string high;
  std::int32_t gen = 0;
  std::int16_t error = 1;
  Sub_GetStd(vb::CCur(item), vb::CInt(sex), vb::CInt(age), vb::CLng(date), kRangeScale, low, high, gen, error);
  if (error != 0 || (low.empty() && high.empty())) return std::string(kNotJudged);
  const double v = vb::CDbl(value);
  int code = kQzp310InRange;
  if (!low.empty() && v < vb::CDbl(low)) {
    code = kQzp310BelowRange;
  } else if (!high.empty() && high != kNoUpperLimit && v > vb::CDbl(high)) {
    code = kQzp310AboveRange;
  }
  return vb::FormatInteger(code, "000000") + "1";
}

}  // namespace

void QZP310(std::string& area) {
  AnswerArea({"QZP310", kQzp310AreaLength, kOutStart, kOutLength}, area, Hook(), Judge, kNotJudged);
}

void SetQzp310AnswerForTest(std::function<std::string(std::string_view)> answer) { Hook() = std::move(answer); }

}  // namespace qz::suite
