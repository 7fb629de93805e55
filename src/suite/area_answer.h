// The common frame of the stand-ins of the suite's libraries that are
// called with one fixed-length area and write their answer into a tail of
// it (the judgement and the calculation library): the call is recorded,
// the area brought to its length, the answer taken from a test's
// replacement or the stand-in's own rule and written in place.
// Single-threaded use, like the program.
#ifndef QZ_SUITE_AREA_ANSWER_H_
#define QZ_SUITE_AREA_ANSWER_H_

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace qz::suite {

// The layout of one library's area.
struct AreaShape {
  std::string_view library;  // name in the call log
  std::size_t length;        // the whole area, in bytes
  std::size_t out_start;     // 0-based start of the answer
  std::size_t out_length;
};

// A test's replacement of a library's answer: gets the area, gives the
// answer bytes (cut or blank-padded to out_length).
using AreaAnswer = std::function<std::string(std::string_view area)>;

// Blank-pads or cuts `area` to shape.length, records "<library> <area as
// UTF-8>" in the call log, and writes the answer at shape.out_start: that of
// `replacement` when set, else `own(area)`; when `own` throws, `on_error`.
void AnswerArea(const AreaShape& shape, std::string& area, const AreaAnswer& replacement,
                std::string (*own)(const std::string& area), std::string_view on_error);

}  // namespace qz::suite

#endif  // QZ_SUITE_AREA_ANSWER_H_
