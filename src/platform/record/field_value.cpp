#include "platform/record/field_value.h"

#include <utility>

#include "platform/runtime/run_time_error.h"

namespace qz::record {

namespace {

std::int64_t Ranged(Currency c, std::int64_t lo, std::int64_t hi) {
  std::int64_t v = RoundHalfEven(c);
  if (v < lo || v > hi) throw RunTimeError(kErrOverflow);
  return v;
}

}  // namespace

std::int64_t RoundHalfEven(Currency c) {
  std::int64_t raw = c.raw();
  std::int64_t whole = raw / Currency::kScale;
  std::int64_t rest = raw % Currency::kScale;
  if (rest < 0) rest = -rest;
  if (rest * 2 > Currency::kScale || (rest * 2 == Currency::kScale && whole % 2 != 0)) {
    whole += raw < 0 ? -1 : 1;
  }
  return whole;
}

FieldValue FieldValue::Text(std::string utf8) {
  FieldValue v;
  v.text_ = std::move(utf8);
  return v;
}

FieldValue FieldValue::Number(Currency value) {
  FieldValue v;
  v.is_number_ = true;
  v.number_ = value;
  return v;
}

std::string FieldValue::ToText() const& { return is_number_ ? number_.ToString() : text_; }
std::string FieldValue::ToText() && { return is_number_ ? number_.ToString() : std::move(text_); }

Currency FieldValue::ToCurrency() const {
  if (is_number_) return number_;
  if (text_.find_first_not_of(" \t") == std::string::npos) return Currency(0);
  auto c = Currency::Parse(text_);
  if (!c) throw RunTimeError(kErrTypeMismatch);
  return *c;
}

std::int64_t FieldValue::ToLong() const { return Ranged(ToCurrency(), INT32_MIN, INT32_MAX); }
std::int64_t FieldValue::ToInt() const { return Ranged(ToCurrency(), INT16_MIN, INT16_MAX); }

}  // namespace qz::record
