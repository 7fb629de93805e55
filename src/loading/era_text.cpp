#include "loading/era_text.h"

#include "data/kwb_date.h"
#include "examinee/bas_public.h"
#include "platform/text/vb.h"

namespace qz {

namespace {

struct KwbOut {
  std::int16_t error = 0;
  std::string era_name;
  std::string date_text;
};

KwbOut RunKwb(std::int16_t mode, std::int16_t kind, std::int32_t date1, std::int32_t date2) {
  std::string in_text, era_name, date_text, era_text, note;
  std::int16_t era_no = 0, error = 0;
  std::int32_t out_no = 0;
  Sub_KwbDate(mode, kind, date1, date2, in_text, era_no, era_name, date_text, out_no, era_text, error,
              note, basPublic.VlmfPath, basPublic.SpecPath);
  return {error, std::move(era_name), std::move(date_text)};
}

// The two characters of `date_text` from position `pos` (1-based) read as
// a number, as text without leading zeros.
std::string Part(std::string_view date_text, int pos) {
  return vb::CStr(vb::Val(vb::Mid(date_text, pos, 2)));
}

}  // namespace

bool ToEraDate(std::int32_t date, std::string& era_name, std::string& date_text) {
  KwbOut out = RunKwb(1, 0, date, 0);
  if (out.error != 0) return false;
  era_name = std::move(out.era_name);
  date_text = std::move(out.date_text);
  return true;
}

bool AgeInYears(std::int32_t birth, std::int32_t today, std::int16_t& age) {
  KwbOut out = RunKwb(3, 1, birth, today);
  if (out.error != 0) return false;
  age = vb::CInt(vb::Val(vb::Mid(out.date_text, 2, 3)));
  return true;
}

std::string EraDateLong(std::string_view era_name, std::string_view date_text) {
  return vb::Trim(era_name) + Part(date_text, 3) + "年" + Part(date_text, 5) + "月" + Part(date_text, 7) +
         "日";
}

std::string EraDateShort(std::string_view era_name, std::string_view date_text) {
  return vb::Left(era_name, 1) + " " + Part(date_text, 3) + "/" + Part(date_text, 5) + "/" +
         Part(date_text, 7);
}

}  // namespace qz
