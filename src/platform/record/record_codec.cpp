#include "platform/record/record_codec.h"

namespace qz::record {

std::int64_t DecodeZoned(std::string_view b, bool* valid) {
  bool digits_only = true;
  while (!b.empty() && (b.front() == ' ' || b.front() == '\0')) b.remove_prefix(1);
  while (!b.empty() && (b.back() == ' ' || b.back() == '\0')) b.remove_suffix(1);
  if (b.empty()) {
    if (valid) *valid = true;
    return 0;
  }
  bool negative = false;
  if (b.front() == '-' || b.front() == '+') {
    negative = b.front() == '-';
    b.remove_prefix(1);
    if (b.empty()) {
      if (valid) *valid = false;  // a sign alone
      return 0;
    }
  }
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < b.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(b[i]);
    int digit = c & 0x0F;
    if (digit > 9) digit = 0;
    const int zone = c >> 4;
    const bool last = i + 1 == b.size();
    if (last && (zone == 5 || zone == 7)) negative = true;
    // "0"-"9"; the last byte also "@", "A"-"I", "P"-"Y" or "p"-"y".
    const bool zone_ok = zone == 3 || (last && (zone == 4 || zone == 5 || zone == 7));
    if (!zone_ok || (c & 0x0F) > 9) digits_only = false;
    if (value < 100000000000000000ULL) value = value * 10 + static_cast<unsigned>(digit);
  }
  if (valid) *valid = digits_only;
  std::int64_t v = static_cast<std::int64_t>(value);
  return negative ? -v : v;
}

bool EncodeZoned(std::int64_t value, int length, char* out) {
  if (length < 1) return false;
  std::uint64_t mag = value < 0 ? 0ULL - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  std::string digits(static_cast<std::size_t>(length), '0');
  for (int i = length - 1; i >= 0 && mag > 0; --i) {
    digits[static_cast<std::size_t>(i)] = static_cast<char>('0' + mag % 10);
    mag /= 10;
  }
  if (mag > 0) return false;
  if (value < 0) digits.back() = static_cast<char>(digits.back() - '0' + 0x50);  // "P"-"Y"
  digits.copy(out, digits.size());
  return true;
}

std::string BuildKey(std::string_view record, const KeyDef& key) {
  std::string out;
  for (const KeySegment& s : key.segments) {
    std::string_view bytes = record.substr(static_cast<std::size_t>(s.position - 1),
                                           static_cast<std::size_t>(s.length));
    if (s.kind != SegmentKind::kNumeric) {
      out.append(bytes);
      continue;
    }
    std::uint64_t u = static_cast<std::uint64_t>(DecodeZoned(bytes)) ^ (1ULL << 63);
    for (int i = 7; i >= 0; --i) out.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
  }
  return out;
}

}  // namespace qz::record
