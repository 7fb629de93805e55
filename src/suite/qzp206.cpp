#include "suite/qzp206.h"

#include <algorithm>
#include <string>

#include "platform/text/cp932.h"
#include "suite/call_log.h"

namespace qz::suite {

void QZP206(std::string_view record) {
  std::string area(record.substr(0, std::min(record.size(), kQzp206RecordLength)));
  area.resize(kQzp206RecordLength, ' ');
  RecordCall("QZP206 " + text::FromCp932(area));
}

}  // namespace qz::suite
