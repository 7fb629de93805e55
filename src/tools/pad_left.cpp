#include "tools/pad_left.h"

#include "platform/text/vb.h"

namespace qz {

std::string Fnc_PadLeft(std::string_view text, int width) {
  const std::int64_t missing = static_cast<std::int64_t>(width) - vb::Len(text);
  if (missing <= 0) return std::string(text);
  return vb::Space(missing) + std::string(text);
}

}  // namespace qz
