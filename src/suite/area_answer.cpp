#include "suite/area_answer.h"

#include <exception>

#include "platform/text/cp932.h"
#include "suite/call_log.h"

namespace qz::suite {

void AnswerArea(const AreaShape& shape, std::string& area, const AreaAnswer& replacement,
                std::string (*own)(const std::string& area), std::string_view on_error) {
  area.resize(shape.length, ' ');
  RecordCall(std::string(shape.library) + " " + text::FromCp932(area));
  std::string out;
  if (replacement) {
    out = replacement(area);
  } else {
    try {
      out = own(area);
    } catch (const std::exception&) {
      out = on_error;
    }
  }
  out.resize(shape.out_length, ' ');
  area.replace(shape.out_start, shape.out_length, out);
}

}  // namespace qz::suite
