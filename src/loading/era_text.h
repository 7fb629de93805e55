// Date texts of the result screen made with the era-date routine
// (Sub_KwbDate): the birth date and the column dates in the era form, and
// the age in completed years.
#ifndef QZ_LOADING_ERA_TEXT_H_
#define QZ_LOADING_ERA_TEXT_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace qz {

// The era name and date text of `date` (yyyymmdd), by the era-date routine
// (mode 1, kind 0). Returns false when the routine reports an error.
bool ToEraDate(std::int32_t date, std::string& era_name, std::string& date_text);

// The completed years from `birth` to `today` (both yyyymmdd), by the
// era-date routine (mode 3, kind 1): 0 when `birth` is the later date.
// Returns false when the routine reports an error.
bool AgeInYears(std::int32_t birth, std::int32_t today, std::int16_t& age);

// The header form: the era name trimmed, then year, month and day with
// "年", "月", "日" and no leading zeros ("令和5年3月1日").
std::string EraDateLong(std::string_view era_name, std::string_view date_text);

// The column form: the first character of the era name, a blank, then
// year/month/day without leading zeros ("令 5/3/1").
std::string EraDateShort(std::string_view era_name, std::string_view date_text);

}  // namespace qz

#endif  // QZ_LOADING_ERA_TEXT_H_
