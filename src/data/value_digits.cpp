#include "data/value_digits.h"

#include <optional>

#include "data/char_text.h"
#include "platform/text/currency.h"

namespace qz {
namespace {

// `c` as a whole number, rounding half to even as the runtime's integer
// conversion does.
std::int64_t RoundHalfEven(Currency c) {
  std::int64_t raw = c.raw();
  std::int64_t whole = raw / Currency::kScale;
  std::int64_t rest = raw % Currency::kScale;
  std::int64_t half = Currency::kScale / 2;
  if (rest > half || (rest == half && whole % 2 != 0)) ++whole;
  if (rest < -half || (rest == -half && whole % 2 != 0)) --whole;
  return whole;
}

// The first dot's character position (1-based), 0 when there is none.
std::size_t DotPosition(std::string_view value) {
  std::size_t i = value.find('.');
  return i == std::string_view::npos ? 0 : CharCount(value.substr(0, i)) + 1;
}

bool AllZeros(std::string_view text) { return text.find_first_not_of('0') == std::string_view::npos; }

}  // namespace

bool Fnc_EditIntPart(std::string_view Value, int IntDigits, std::size_t DotPos, std::string& IntText) {
  std::string_view t = DotPos == 1 ? std::string_view("0") : DotPos == 0 ? Value : CharLeft(Value, DotPos - 1);
  while (t.size() >= 2 && t.front() == '0') t.remove_prefix(1);
  if (IntDigits < 0 || CharCount(t) > static_cast<std::size_t>(IntDigits)) return false;
  IntText = std::string(t);
  return true;
}

bool Fnc_EditDecPart(std::string_view Value, int DecDigits, std::size_t DotPos, std::string_view KeepDecimals,
                     std::string& DecText) {
  std::string t = DotPos == 0 ? std::string() : std::string(CharMidToEnd(Value, DotPos + 1));
  if (DecDigits < 0 || CharCount(t) > static_cast<std::size_t>(DecDigits)) return false;
  t.append(static_cast<std::size_t>(DecDigits) - CharCount(t), '0');
  if (KeepDecimals != kKeepAllDecimals) {
    std::optional<Currency> keep = Currency::Parse(KeepDecimals);
    if (!keep) return false;
    std::int64_t k = RoundHalfEven(*keep);
    if (k > INT16_MAX) return false;
    if (k >= 0 && AllZeros(CharMidToEnd(t, static_cast<std::size_t>(k) + 1))) {
      t = std::string(CharLeft(t, static_cast<std::size_t>(k)));
    }
  }
  DecText = std::move(t);
  return true;
}

void Sub_EditValueByDigits(std::string_view Value, std::string_view DigitSpec, std::string_view KeepDecimals,
                           std::string& Edited, std::int16_t& ErrorFlag) {
  ErrorFlag = 1;
  std::optional<Currency> digits = Currency::Parse(DigitSpec);
  if (!digits || *digits < Currency(0)) return;
  std::int64_t int_digits = digits->raw() / (10 * Currency::kScale);
  std::int64_t dec_digits = RoundHalfEven(*digits) % 10;
  if (int_digits + dec_digits > 9) return;
  std::size_t dot = DotPosition(Value);
  std::string int_text, dec_text;
  if (!Fnc_EditIntPart(Value, static_cast<int>(int_digits), dot, int_text)) return;
  if (!Fnc_EditDecPart(Value, static_cast<int>(dec_digits), dot, KeepDecimals, dec_text)) return;
  Edited = dec_text.empty() ? int_text : int_text + "." + dec_text;
  ErrorFlag = 0;
}

}  // namespace qz
