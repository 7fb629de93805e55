#include "csv.h"

namespace qz::btrutil {

std::string CsvLine(const std::vector<std::string>& fields) {
  std::string out;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i) out += ',';
    const std::string& f = fields[i];
    if (f.find_first_of(",\"\r\n") == std::string::npos) {
      out += f;
      continue;
    }
    out += '"';
    for (char c : f) {
      if (c == '"') out += '"';
      out += c;
    }
    out += '"';
  }
  return out;
}

std::optional<std::vector<std::string>> ReadCsvRow(std::istream& in, bool* unterminated) {
  std::vector<std::string> row;
  std::string field;
  bool quoted = false, any = false;
  int c;
  while ((c = in.get()) != EOF) {
    any = true;
    char ch = static_cast<char>(c);
    if (quoted) {
      if (ch == '"') {
        if (in.peek() == '"') {
          field += '"';
          in.get();
        } else {
          quoted = false;
        }
      } else {
        field += ch;
      }
    } else if (ch == '"') {
      quoted = true;
    } else if (ch == ',') {
      row.push_back(std::move(field));
      field.clear();
    } else if (ch == '\n') {
      break;
    } else if (ch != '\r') {
      field += ch;
    }
  }
  if (!any) return std::nullopt;
  if (unterminated) *unterminated = quoted;
  row.push_back(std::move(field));
  return row;
}

}  // namespace qz::btrutil
