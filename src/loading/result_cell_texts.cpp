#include "loading/result_cell_texts.h"

#include <array>

#include "platform/text/vb.h"

namespace qz {

namespace {

// The measurement classes 1..6 as the list shows them.
constexpr std::array<std::string_view, 6> kClassNames = {"未実施", "測定不能", "以下(≦)",
                                                         "未満(＜)", "以上(≧)", "超(＞)"};
// The signs of the classes 3..6.
constexpr std::array<std::string_view, 4> kClassSigns = {"≦", "＜", "≧", "＞"};

}  // namespace

std::string MeasureClassList(std::int16_t ksyub) {
  const bool numeric = ksyub == kKsyubNumeric || ksyub == kKsyubCalculated;
  const std::size_t count = numeric ? kClassNames.size() : 2;
  std::string list;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) list += '\t';
    list += kClassNames[i];
  }
  return list;
}

std::string FindingsComboEntry(const SyoComboInfo& entry) {
  return entry.Sykn + "$" + vb::Format(entry.Scode, "000000") + vb::Format(entry.Khantei, "00") + "\r\n";
}

std::string MeasureClassMark(std::int16_t sokutei, std::string_view value) {
  switch (sokutei) {
    case kSokuteiNotPerformed:
      return "(未実施)";
    case kSokuteiUnmeasurable:
      return "(測定不能)";
    case kSokuteiAtOrBelow:
    case kSokuteiBelow:
    case kSokuteiAtOrAbove:
    case kSokuteiAbove:
      return "(" + std::string(kClassSigns[static_cast<std::size_t>(sokutei - kSokuteiAtOrBelow)]) +
             vb::Trim(value) + ")";
    default:
      return "";
  }
}

}  // namespace qz
