#include "tools/pad_left.h"

#include "platform/text/vb.h"

namespace qz {

std::string Fnc_PadLeft(std::string_view text, int width) {
  const std::int32_t len = vb::Len(text);
  if (len >= width) return std::string(text);
  return vb::Space(width - len) + std::string(text);
}

}  // namespace qz
