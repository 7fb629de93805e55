#include "data/std_range.h"

#include <optional>
#include <string_view>

#include "data/bas_file_access.h"
#include "data/pic_s9.h"
#include "platform/record/status.h"
#include "platform/runtime/run_time_error.h"

namespace qz {
namespace {

constexpr std::string_view kHatDefinition = "QZHATLF";
constexpr int kRenAfterAll = 999;
constexpr int kRenFirst = 0;
constexpr std::int64_t kStandardRangeRow = 1;

// `zoned` / `scale` as decimal text; nullopt when `zoned` is not a zoned
// number or the quotient does not fit.
std::optional<std::string> ScaledLimit(const std::string& zoned, Currency scale) {
  std::string text;
  std::int16_t error = 1;
  Sub_CnvPicS9(zoned, text, error);
  if (error != 0) return std::nullopt;
  std::optional<Currency> value = Currency::Parse(text);
  if (!value) return std::nullopt;
  // raw(result) = raw(value) * kScale / raw(scale), rounded half away from zero.
  __int128 num = static_cast<__int128>(value->raw()) * Currency::kScale;
  __int128 den = scale.raw();
  __int128 q = num / den;
  __int128 r = num % den;
  if (r != 0 && 2 * (r < 0 ? -r : r) >= den) q += (num < 0) ? -1 : 1;
  if (q > INT64_MAX || q < INT64_MIN) return std::nullopt;
  return Currency::FromRaw(static_cast<std::int64_t>(q)).ToString();
}

bool SameGeneration(const record::BtrAccess& hat, Currency item, std::int64_t gen) {
  return hat.GetField("CODE").ToCurrency() == item && hat.GetField("GENDATE").ToLong() == gen;
}

bool RowFits(const record::BtrAccess& hat, std::int16_t sex, std::int16_t age) {
  if (hat.GetField("STDKBN").ToInt() != kStandardRangeRow) return false;
  std::int64_t row_sex = hat.GetField("SEX").ToInt();
  if (row_sex != 0 && row_sex != sex) return false;
  return hat.GetField("STNEN").ToLong() <= age && age <= hat.GetField("EDNEN").ToLong();
}

// The lookup; returns the error flag.
std::int16_t Lookup(record::BtrAccess& hat, Currency item, std::int16_t sex, std::int16_t age, std::int32_t date,
                    Currency scale, std::string& low, std::string& high, std::int32_t& gen_date) {
  hat.SetField("CODE", item);
  hat.SetField("GENDATE", std::int64_t{date});
  hat.SetField("REN", kRenAfterAll);
  int status = hat.GetLessOrEqual(kHatDefinition);
  // No row at all at or before the key (the end of file included) is an
  // error; a row of another item before it means no generation has begun.
  if (status != record::kStatusOk) return 1;
  if (hat.GetField("CODE").ToCurrency() != item) return 0;
  std::int64_t gen = hat.GetField("GENDATE").ToLong();

  hat.SetField("CODE", item);
  hat.SetField("GENDATE", gen);
  hat.SetField("REN", kRenFirst);
  status = hat.GetGreaterOrEqual(kHatDefinition);
  if (status != record::kStatusOk) return 1;
  bool found = false;
  while (status == record::kStatusOk && SameGeneration(hat, item, gen)) {
    if (RowFits(hat, sex, age)) {
      found = true;
      break;
    }
    status = hat.GetNext();
  }
  if (status != record::kStatusOk && status != record::kStatusEndOfFile) return 1;
  if (found) {
    std::optional<std::string> lo = ScaledLimit(hat.GetField("STKNSA").ToText(), scale);
    if (!lo) return 1;
    low = *lo;
    std::optional<std::string> hi = ScaledLimit(hat.GetField("EDKNSA").ToText(), scale);
    if (!hi) return 1;
    high = *hi;
  }
  gen_date = static_cast<std::int32_t>(gen);
  return 0;
}

}  // namespace

void Sub_GetStd(record::BtrAccess& Hat, Currency ItemCode, std::int16_t Sex, std::int16_t Age,
                std::int32_t ConsultDate, Currency Scale, std::string& Low, std::string& High,
                std::int32_t& GenDate, std::int16_t& ErrorFlag) {
  if (Scale <= Currency(0)) Scale = Currency(1);
  Low.clear();
  High.clear();
  GenDate = 0;
  try {
    ErrorFlag = Lookup(Hat, ItemCode, Sex, Age, ConsultDate, Scale, Low, High, GenDate);
  } catch (const RunTimeError&) {
    ErrorFlag = 1;
  }
}

void Sub_GetStd(Currency ItemCode, std::int16_t Sex, std::int16_t Age, std::int32_t ConsultDate, Currency Scale,
                std::string& Low, std::string& High, std::int32_t& GenDate, std::int16_t& ErrorFlag) {
  if (!basFileAccess.QZHATLFObj) {
    Low.clear();
    High.clear();
    GenDate = 0;
    ErrorFlag = 1;
    return;
  }
  Sub_GetStd(*basFileAccess.QZHATLFObj, ItemCode, Sex, Age, ConsultDate, Scale, Low, High, GenDate, ErrorFlag);
}

}  // namespace qz
