#include "suite/qzp315.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "platform/text/cp932.h"
#include "platform/text/decimal_digits.h"
#include "platform/text/vb.h"
#include "suite/area_answer.h"

namespace qz::suite {
namespace {

constexpr std::size_t kOutStart = 40;  // bytes 41-50
constexpr std::size_t kOutLength = 10;
constexpr std::size_t kOperandStart = 3;
constexpr std::size_t kOperandLength = 10;

enum Pattern { kBmi = 1, kSum = 2, kDifference = 3, kRatio = 4 };
enum Rounding { kRoundHalf = 0, kRoundUp = 1, kCut = 2 };

AreaAnswer& Hook() {
  static AreaAnswer hook;
  return hook;
}

std::string Field(const std::string& area, std::size_t start, std::size_t length) {
  return vb::Trim(text::FromCp932(area.substr(start, length)));
}

// Operand k (1..3); nullopt when blank or no number.
std::optional<double> Operand(const std::string& area, int k) {
  const std::string text = Field(area, kOperandStart + static_cast<std::size_t>(k - 1) * kOperandLength,
                                 kOperandLength);
  if (!vb::IsNumeric(text)) return std::nullopt;
  return vb::CDbl(text);
}

std::optional<double> Compute(int pattern, const std::string& area) {
  const std::optional<double> a = Operand(area, 1);
  const std::optional<double> b = Operand(area, 2);
  const std::optional<double> c = Operand(area, 3);
  switch (pattern) {
    case kBmi:
      if (!a || !b || *a == 0) return std::nullopt;
      return *b / ((*a / 100) * (*a / 100));
    case kSum:
      if (!a && !b && !c) return std::nullopt;
      return a.value_or(0) + b.value_or(0) + c.value_or(0);
    case kDifference:
      if (!a || !b) return std::nullopt;
      return *a - *b;
    case kRatio:
      if (!a || !b || *b == 0) return std::nullopt;
      return *a / *b;
    default:
      return std::nullopt;
  }
}

// Adds one to the decimal digit string `digits` (may grow by one digit).
void Increment(std::string& digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return;
    }
    *it = '0';
  }
  digits.insert(digits.begin(), '1');
}

// `v` with exactly `decimals` decimals by the rounding class.
std::string Rounded(double v, int decimals, int rounding) {
  text::DecimalDigits d = text::DecimalDigits::FromDouble(v);
  if (rounding != kRoundUp && rounding != kCut) {
    d.RoundTo(decimals);
    std::string out = (d.negative && !d.IsZero() ? "-" : "") + (d.IntegerPart().empty() ? "0" : d.IntegerPart());
    if (decimals > 0) out += "." + d.FractionPart(decimals);
    return out;
  }
  // Exact digits of the 15-significant-digit value; cut at `decimals`.
  const std::string int_part = d.IntegerPart();
  const int all_decimals = d.exponent < 0 ? -d.exponent : 0;
  const std::string all_fraction = d.FractionPart(all_decimals);
  std::string kept = int_part + all_fraction.substr(0, static_cast<std::size_t>(std::min(decimals, all_decimals)));
  kept.append(static_cast<std::size_t>(decimals - std::min(decimals, all_decimals)), '0');
  const bool dropped = all_decimals > decimals &&
                       all_fraction.find_first_not_of('0', static_cast<std::size_t>(decimals)) != std::string::npos;
  if (rounding == kRoundUp && dropped) Increment(kept);
  if (kept.size() <= static_cast<std::size_t>(decimals)) {
    kept.insert(0, static_cast<std::size_t>(decimals) + 1 - kept.size(), '0');
  }
  const std::size_t point = kept.size() - static_cast<std::size_t>(decimals);
  std::string out = kept.substr(0, point);
  if (decimals > 0) out += "." + kept.substr(point);
  const bool zero = kept.find_first_not_of('0') == std::string::npos;
  return (d.negative && !zero ? "-" : "") + out;
}

std::string Calculate(const std::string& area) {
  const std::string blank(kOutLength, ' ');
  const std::string pattern = Field(area, 0, 3);
  const std::string rounding = Field(area, 37, 1);
  const std::string spec = Field(area, 38, 2);
  if (!vb::IsNumeric(pattern)) return blank;
  const std::optional<double> v = Compute(vb::CInt(pattern), area);
  if (!v || !std::isfinite(*v)) return blank;
  const int decimals = spec.size() == 2 && vb::IsNumeric(spec) ? spec[1] - '0' : 0;
  const int klass = vb::IsNumeric(rounding) ? static_cast<int>(vb::CInt(rounding)) : static_cast<int>(kRoundHalf);
  const std::string text = Rounded(*v, decimals, klass);
  if (text.size() > kOutLength) return blank;
  return std::string(kOutLength - text.size(), ' ') + text;
}

}  // namespace

void QZP315(std::string& area) {
  AnswerArea({"QZP315", kQzp315AreaLength, kOutStart, kOutLength}, area, Hook(), Calculate, "");
}

void SetQzp315AnswerForTest(std::function<std::string(std::string_view)> answer) { Hook() = std::move(answer); }

}  // namespace qz::suite
