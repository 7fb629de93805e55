// Version numbers and the version range of a section of Update.INI.
//
// A version is three numbers of one to five digits separated by dots
// ("3.1.0"); its number is the three parts, each written with five digits,
// read as one number (1.2.3 -> 10000200003). A longer part would run into
// its neighbour (1.100000.0 is not 11.0.0) and is a format error. Every numbered section of Update.INI (Convert,
// Import, QZPCNV, External, EndMessage; Copy_ always numbered) may narrow
// the installed versions it applies to with TargetMin and TargetMax, which
// default to those of the section Setting. Both routines log what they do
// and never raise.
#ifndef QZ_UPDATE_TARGET_CHECK_H_
#define QZ_UPDATE_TARGET_CHECK_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace qz::update {

// Results of Fnc_TargetCheck.
enum TargetResult : std::int16_t {
  kTargetApplies = 0,
  kTargetBelow = 1,      // the installed version is below the section's range
  kTargetAbove = 2,      // above it
  kTargetUndecided = 9,  // a bound is malformed (its box has been shown)
};

// The name of numbered section `i` of `base`: number 0 the bare name,
// number i >= 1 the name & "_" & i formatted "000" (Convert_001).
std::string SectionName(std::string_view base, std::int32_t i);

// The number of version text `v`, or -1 when it is not three dot-separated
// parts of one to five digits (then the box "バージョンの書式が不正です。" is
// shown and the reason logged).
double Fnc_VersionToNum(std::string_view v);

// Whether `section` of Update.INI applies to basPublic.CurrentVersionNum
// (bounds inclusive); every section applies while VersionCheck is off.
std::int16_t Fnc_TargetCheck(std::string_view section);

// For a section step: true when `result` of Fnc_TargetCheck of `section` is
// kTargetUndecided, after logging "対象バージョンの指定が不正です。 : " &
// section. Such a section fails (it is never skipped silently).
bool TargetMalformed(std::int16_t result, std::string_view section);

}  // namespace qz::update

#endif  // QZ_UPDATE_TARGET_CHECK_H_
