#include "suite/qzp016.h"

#include "platform/text/cp932.h"
#include "suite/call_log.h"

namespace qz::suite {

void QZP016(std::string& area) {
  area.resize(kQzp016AreaLength, ' ');
  RecordCall("QZP016 " + text::FromCp932(area));
}

}  // namespace qz::suite
