#include "data/pic_s9.h"

#include "platform/text/cp932.h"

namespace qz {

void Sub_CnvPicS9(std::string_view Zoned, std::string& Text, std::int16_t& ErrorFlag) {
  ErrorFlag = 1;
  if (Zoned.empty()) return;
  // The last character of the UTF-8 text.
  std::size_t last = Zoned.size() - 1;
  while (last > 0 && (static_cast<unsigned char>(Zoned[last]) & 0xC0) == 0x80) --last;
  std::string code = text::ToCp932(Zoned.substr(last));
  if (code.size() != 1) return;  // a double-byte character: zone 8 or more
  unsigned char b = static_cast<unsigned char>(code[0]);
  int zone = b >> 4;
  int digit = b & 0x0F;
  if (zone < 3 || zone > 5 || digit > 9) return;
  std::string out = zone == 5 ? "-" : "";
  out.append(Zoned.substr(0, last));
  out.push_back(static_cast<char>('0' + digit));
  Text = std::move(out);
  ErrorFlag = 0;
}

}  // namespace qz
