#include "update/target_check.h"

#include <cctype>
#include <vector>

#include "data/ini_access.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/vb.h"
#include "platform/ui/msgbox.h"
#include "update/bas_public.h"
#include "update/run_log.h"

namespace qz::update {

namespace {

bool AllDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

void BadFormat(std::string_view v, const std::string& line) {
  ui::MsgBox("バージョンの書式が不正です。\r\n\r\nバージョン情報 : " + std::string(v), ui::MsgButtons::kOk,
             ui::MsgIcon::kCritical, kTitle);
  Sub_Log(line);
}

}  // namespace

std::string SectionName(std::string_view base, std::int32_t i) {
  if (i == 0) return std::string(base);
  return std::string(base) + "_" + vb::Format(i, "000");
}

double Fnc_VersionToNum(std::string_view v) {
  Sub_Log("  バージョンの数値変換開始 : " + std::string(v));
  std::vector<std::string> parts;
  std::size_t pos = 0;
  while (true) {
    std::size_t dot = v.find('.', pos);
    parts.emplace_back(v.substr(pos, dot == std::string_view::npos ? std::string_view::npos : dot - pos));
    if (dot == std::string_view::npos) break;
    pos = dot + 1;
  }
  if (parts.size() != 3) {
    BadFormat(v, "    バージョン文字列のピリオドの数が一致しません。");
    return -1;
  }
  std::string joined;
  for (std::size_t k = 0; k < parts.size(); ++k) {
    // Only plain digits make a version part: a sign, an exponent or a
    // hexadecimal form would give a wrong number.
    std::string part = vb::Trim(parts[k]);
    if (!AllDigits(part)) {
      BadFormat(v, "    バージョン文字列が数値ではありません。 : " + std::to_string(k + 1) + "個目");
      return -1;
    }
    if (part.size() > 5) {
      BadFormat(v, "    バージョン文字列の桁数が不正です。 : " + std::to_string(k + 1) + "個目");
      return -1;
    }
    std::size_t nz = part.find_first_not_of('0');
    part = nz == std::string::npos ? "0" : part.substr(nz);
    if (part.size() < 5) part.insert(0, 5 - part.size(), '0');
    joined += part;
  }
  double result = vb::CDbl(joined);
  Sub_Log("  バージョンの数値 : " + vb::CStr(result));
  return result;
}

bool TargetMalformed(std::int16_t result, std::string_view section) {
  if (result != kTargetUndecided) return false;
  Sub_Log("対象バージョンの指定が不正です。 : " + std::string(section));
  return true;
}

std::int16_t Fnc_TargetCheck(std::string_view section) {
  std::int16_t result = kTargetUndecided;
  Sub_Log("対象バージョンのチェック開始 : " + std::string(section));
  try {
    if (!basPublic.VersionCheck) {
      Sub_Log("  バージョンチェック不要のため無視します。");
      return kTargetApplies;
    }
    std::string min_text = Fnc_GetIni(section, "TargetMin", basPublic.TargetMin, basPublic.UpdateIniPath);
    if (min_text.empty()) min_text = basPublic.TargetMin;
    std::string max_text = Fnc_GetIni(section, "TargetMax", basPublic.TargetMax, basPublic.UpdateIniPath);
    if (max_text.empty()) max_text = basPublic.TargetMax;
    double min = Fnc_VersionToNum(min_text);
    if (min == -1) return result;
    double max = Fnc_VersionToNum(max_text);
    if (max == -1) return result;
    double current = basPublic.CurrentVersionNum;
    Sub_Log("  対象バージョンの範囲 : " + vb::CStr(min) + " <= " + vb::CStr(current) + " <= " + vb::CStr(max));
    if (current < min) {
      Sub_Log("  " + vb::CStr(min) + " > " + vb::CStr(current) + " のため対象外です。");
      return kTargetBelow;
    }
    if (current > max) {
      Sub_Log("  " + vb::CStr(max) + " < " + vb::CStr(current) + " のため対象外です。");
      return kTargetAbove;
    }
    result = kTargetApplies;
  } catch (const RunTimeError&) {
    // the result reached stands
  }
  return result;
}

}  // namespace qz::update
