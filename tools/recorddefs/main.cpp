// recorddefs <file> [conversion-file]
//
// Writes the record definitions of every record-manager file the programs
// use (the definitions file's text, data/definitions_text.h) into <file>, and
// when given the conversion definition of the data folder's files (the
// text of QZPCSV.INI, data/conversion_definition_text.h) into
// [conversion-file]. The build puts both into the template program folder
// that is installed. Exit status 0, 1 for a usage error, 2 when a file
// cannot be written.
#include <cstdio>
#include <fstream>
#include <string>

#include "data/conversion_definition_text.h"
#include "data/definitions_text.h"

namespace {

bool Write(const char* file, const std::string& text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (out) return true;
  std::fprintf(stderr, "recorddefs: cannot write %s\n", file);
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: recorddefs <file> [conversion-file]\n");
    return 1;
  }
  if (!Write(argv[1], qz::data::DefinitionsIniText())) return 2;
  if (argc == 3 && !Write(argv[2], qz::data::ConversionDefinitionText())) return 2;
  return 0;
}
