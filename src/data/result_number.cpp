#include "data/result_number.h"

namespace qz {

bool IsResultNumber(std::string_view text) {
  if (!text.empty() && text.front() == '-') text.remove_prefix(1);
  bool digit = false;
  bool point = false;
  for (const char ch : text) {
    if (ch >= '0' && ch <= '9') {
      digit = true;
    } else if (ch == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digit;
}

}  // namespace qz
