// CSV rows for btrutil: fields separated by ",", quoted with '"' when they
// hold a comma, a quote or a line break (quotes doubled inside).
#ifndef QZ_TOOLS_BTRUTIL_CSV_H_
#define QZ_TOOLS_BTRUTIL_CSV_H_

#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace qz::btrutil {

// One CSV line of `fields`, without the line end.
std::string CsvLine(const std::vector<std::string>& fields);

// The next row of `in` (a quoted field may span lines); nullopt at the end.
// A quoted field that the input ends inside sets `*unterminated` (when given)
// and still returns the row read so far, so the caller can refuse it.
std::optional<std::vector<std::string>> ReadCsvRow(std::istream& in, bool* unterminated = nullptr);

}  // namespace qz::btrutil

#endif  // QZ_TOOLS_BTRUTIL_CSV_H_
