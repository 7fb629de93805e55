// qzp140b "<examinee>,<yyyymmdd>,<item number>"
//
// The stand-in of the image viewer QZP140B.EXE that the result screen
// starts for the items with pictures (copied into the program folder under
// that name). It checks its command line and appends it, as received, to
// QZP140B.log in the current folder, one line a start; a command line of
// another shape is refused with exit code 2 and written nowhere.
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

namespace {

bool AllDigits(const std::string& s) {
  if (s.empty()) return false;
  for (unsigned char c : s) {
    if (std::isdigit(c) == 0) return false;
  }
  return true;
}

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> parts(1);
  for (char c : s) {
    if (c == sep) {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

}  // namespace

int main(int argc, char** argv) {
  // An examinee number with blanks arrives in several arguments.
  std::string line;
  for (int i = 1; i < argc; ++i) line += (i > 1 ? " " : "") + std::string(argv[i]);
  const std::vector<std::string> fields = Split(line, ',');
  if (fields.size() != 3 || fields[0].empty() || fields[1].size() != 8 || !AllDigits(fields[1]) ||
      !AllDigits(fields[2])) {
    std::fprintf(stderr, "usage: QZP140B.EXE <examinee>,<yyyymmdd>,<item number>\n");
    return 2;
  }
  std::FILE* log = std::fopen("QZP140B.log", "a");
  if (log == nullptr) {
    std::perror("QZP140B.log");
    return 1;
  }
  std::fprintf(log, "%s\n", line.c_str());
  return std::fclose(log) == 0 ? 0 : 1;
}
