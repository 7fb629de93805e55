#include "platform/process/command_line.h"

namespace qz::process {

std::vector<std::string> SplitCommandLine(std::string_view s) {
  std::vector<std::string> args;
  std::string cur;
  bool in_arg = false, quoted = false;
  std::size_t i = 0;
  while (i < s.size()) {
    char c = s[i];
    if ((c == ' ' || c == '\t') && !quoted) {
      if (in_arg) args.push_back(std::move(cur));
      cur.clear();
      in_arg = false;
      ++i;
      continue;
    }
    in_arg = true;
    if (c == '\\') {
      std::size_t n = 0;
      while (i < s.size() && s[i] == '\\') ++n, ++i;
      if (i < s.size() && s[i] == '"') {
        cur.append(n / 2, '\\');
        if (n % 2 == 1) {
          cur += '"';
          ++i;
        }
      } else {
        cur.append(n, '\\');
      }
      continue;
    }
    if (c == '"') {
      if (quoted && i + 1 < s.size() && s[i + 1] == '"') {
        cur += '"';
        i += 2;
      } else {
        quoted = !quoted;
        ++i;
      }
      continue;
    }
    cur += c;
    ++i;
  }
  if (in_arg) args.push_back(std::move(cur));
  return args;
}

}  // namespace qz::process
