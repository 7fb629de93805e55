// cpfspec <file>
//
// Writes the record definitions of every record-manager file the programs
// use (the text of CPFSPEC.INI, data/definitions_text.h) into <file>. The
// build puts its output into the template program folder that is installed.
// Exit status 0, 1 for a usage error, 2 when the file cannot be written.
#include <cstdio>
#include <fstream>

#include "data/definitions_text.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: cpfspec <file>\n");
    return 1;
  }
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out << qz::data::DefinitionsIniText();
  out.close();
  if (!out) {
    std::fprintf(stderr, "cpfspec: cannot write %s\n", argv[1]);
    return 2;
  }
  return 0;
}
