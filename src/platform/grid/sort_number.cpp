#include "platform/grid/sort_number.h"

#include <charconv>
#include <cmath>

namespace qz::grid {

bool ParseSortNumber(std::string_view text, double& out) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  const auto last = text.find_last_not_of(' ');
  std::string_view digits = text.substr(first, last - first + 1);
  bool negative = false;
  if (digits.front() == '+' || digits.front() == '-') {
    negative = digits.front() == '-';
    digits.remove_prefix(1);
    // A second sign is no number.
    if (digits.empty() || digits.front() == '+' || digits.front() == '-') return false;
  }
  double value = 0;
  const char* end = digits.data() + digits.size();
  const auto [ptr, ec] = std::from_chars(digits.data(), end, value, std::chars_format::general);
  if (ec != std::errc() || ptr != end || !std::isfinite(value)) return false;
  out = negative ? -value : value;
  return true;
}

}  // namespace qz::grid
