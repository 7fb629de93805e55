#include "judgement/library_area.h"

#include "platform/text/cp932.h"
#include "platform/text/vb.h"

namespace qz {

void PlaceInArea(std::string& area, int start, int length, std::string_view text) {
  area = vb::Left(area, start - 1) + vb::FixedLength(text, static_cast<std::size_t>(length)) +
         vb::Mid(area, start + length);
}

std::string CallWithArea(const std::string& area, void (*library)(std::string&)) {
  std::string bytes = text::ToCp932(area);
  library(bytes);
  return text::FromCp932(bytes);
}

}  // namespace qz
