#include "data/era_date.h"

#include <algorithm>
#include <string_view>

namespace qz {
namespace {

// `value` in decimal with at least `width` digits, zero-filled ("-05").
std::string Digits(std::int64_t value, int width) {
  bool neg = value < 0;
  std::string s = std::to_string(neg ? -value : value);
  if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<std::size_t>(width) - s.size(), '0');
  return neg ? "-" + s : s;
}

// `value` in decimal, right-aligned in at least `width` characters.
std::string RightAligned(std::int64_t value, int width) {
  std::string s = std::to_string(value);
  if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<std::size_t>(width) - s.size(), ' ');
  return s;
}

struct Ymd {
  int y = 0;
  int m = 0;
  int d = 0;
};

Ymd Split(std::int32_t date) {
  if (date < 0) return Ymd{0, -1, 0};
  return Ymd{date / 10000, date / 100 % 100, date % 100};
}

bool IsLeap(int year) { return year % 100 == 0 ? year % 400 == 0 : year % 4 == 0; }

// The month table: month range, then the day in months of 30 and 31 days.
std::int16_t CheckMonthAndDay(int month, int day) {
  if (month < 1 || month > 12) return kKwbDateBadMonth;
  switch (month) {
    case 4: case 6: case 9: case 11:
      if (day < 1 || day > 30) return kKwbDateBadDay;
      break;
    case 2:
      break;
    default:
      if (day < 1 || day > 31) return kKwbDateBadDay;
  }
  return kKwbDateOk;
}

// The February check, with the Western year.
std::int16_t CheckFebruary(int year, int month, int day) {
  if (month != 2) return kKwbDateOk;
  if (day < 1 || day > (IsLeap(year) ? 29 : 28)) return kKwbDateBadDay;
  return kKwbDateOk;
}

int StartYear(std::int32_t start) { return start / 10000; }

void NextMonth(int& year, int& month) {
  if (month >= 12) {
    month = 1;
    ++year;
  } else {
    ++month;
  }
}

std::int16_t WesternToEra(const EraTable& eras, KwbDateVars& v) {
  if (v.Kind < 0 || v.Kind > 3) return kKwbDateBadKind;
  Ymd d = Split(v.Date1);
  const auto& s = eras.EraStarts;
  int era = 0;
  for (int k = 0; k < kEraCount - 1; ++k) {
    if (s[k] <= v.Date1 && v.Date1 < s[k + 1]) {
      era = k + 1;
      break;
    }
  }
  if (era == 0) {
    if (v.Date1 < s[kEraCount - 1]) return kKwbDateBeforeEras;
    era = kEraCount;
  }
  v.EraNo = static_cast<std::int16_t>(era);
  if (std::int16_t e = CheckMonthAndDay(d.m, d.d)) return e;
  if (std::int16_t e = CheckFebruary(d.y, d.m, d.d)) return e;
  int year = d.y - StartYear(s[era - 1]) + 1;
  v.DateText = "00" + Digits(year, 2) + Digits(d.m, 2) + Digits(d.d, 2) + "00";
  v.EraName = eras.EraNames[era - 1];
  v.OutNo = 0;
  switch (v.Kind) {
    case 0:
      v.EraText.clear();
      break;
    case 1:
      v.EraText = Digits(year, 2) + "." + Digits(d.m, 2) + "." + Digits(d.d, 2);
      break;
    case 2:
      v.EraText = RightAligned(year, 2) + "." + RightAligned(d.m, 2) + "." + RightAligned(d.d, 2);
      break;
    default:
      v.EraText = std::to_string(year) + "." + std::to_string(d.m) + "." + std::to_string(d.d);
  }
  return kKwbDateOk;
}

std::int16_t EraToWestern(const EraTable& eras, KwbDateVars& v) {
  if (v.EraNo < 1 || v.EraNo > kEraCount - 1) return kKwbDateBadEra;
  // An era whose slot never begins holds no date (its first year would read
  // as 9999 and give a Western year of five digits).
  if (eras.EraStarts[v.EraNo - 1] == kEraNeverStarts) return kKwbDateBadEra;
  Ymd d = Split(v.Date1);
  if (std::int16_t e = CheckMonthAndDay(d.m, d.d)) return e;
  const auto& s = eras.EraStarts;
  int year = StartYear(s[v.EraNo - 1]) + d.y - 1;
  if (std::int16_t e = CheckFebruary(year, d.m, d.d)) return e;
  v.DateText = Digits(year, 4) + Digits(d.m, 2) + Digits(d.d, 2) + "00";
  std::int64_t date = std::int64_t{year} * 10000 + d.m * 100 + d.d;
  if (date < s[v.EraNo - 1]) return kKwbDateBadEra;
  if (v.EraNo < kEraCount - 1 && date >= s[v.EraNo]) return kKwbDateBadEra;
  v.EraName.clear();
  v.OutNo = 0;
  v.EraText.clear();
  return kKwbDateOk;
}

std::int16_t Interval(KwbDateVars& v) {
  Ymd a = Split(v.Date1);
  Ymd b = Split(v.Date2);
  if (v.Kind != 2 && v.Date1 > v.Date2) {
    v.DateText = "00000000";
    return kKwbDateOk;
  }
  switch (v.Kind) {
    case 0: {
      // The month walk would never meet a month outside 1 to 12.
      if (a.m < 1 || a.m > 12 || b.m < 1 || b.m > 12) return kKwbDateBadMonth;
      std::int64_t days = 1 - a.d;
      int y = a.y;
      int m = a.m;
      while (y != b.y || m != b.m) {
        days += DaysOfMonth(y, m);
        NextMonth(y, m);
      }
      days += b.d;
      v.DateText = Digits(days, 8) + "00";
      return kKwbDateOk;
    }
    case 1: {
      std::int64_t years = (std::int64_t{v.Date2} - v.Date1) / 10000;
      int months = (b.m - a.m + 12) % 12;
      int days;
      if (b.d < a.d) {
        days = b.d + DaysOfMonth(a.y, a.m) - a.d;
        months = months == 0 ? 11 : months - 1;
      } else {
        days = b.d - a.d;
      }
      v.DateText = Digits(years, 4) + Digits(months, 2) + Digits(days, 2) + "00";
      return kKwbDateOk;
    }
    case 2: {
      int year = a.y + b.y;
      int month = a.m + b.m;
      if (month > 12) {
        year += (month - 1) / 12;
        month = (month - 1) % 12 + 1;
      }
      // A month of 0 has no days: the day walk would never end.
      if (month < 1) return kKwbDateBadMonth;
      int n = DaysOfMonth(year, month);
      int day = std::min(a.d, n) + b.d;
      while (day > n) {
        day -= n;
        NextMonth(year, month);
      }
      v.DateText = Digits(year, 4) + Digits(month, 2) + Digits(day, 2) + "00";
      return kKwbDateOk;
    }
    default:
      return kKwbDateOk;
  }
}

}  // namespace

int DaysOfMonth(int year, int month) {
  switch (month) {
    case 1: case 3: case 5: case 7: case 8: case 10: case 12:
      return 31;
    case 4: case 6: case 9: case 11:
      return 30;
    case 2:
      return IsLeap(year) ? 29 : 28;
    default:
      return 0;
  }
}

std::int16_t RunKwbDate(const EraTable& eras, KwbDateVars& v) {
  switch (v.Mode) {
    case 1:
      return WesternToEra(eras, v);
    case 2:
      return EraToWestern(eras, v);
    case 3:
      return Interval(v);
    default:
      return kKwbDateBadMode;
  }
}

}  // namespace qz
