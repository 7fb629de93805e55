#include "layout_file.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace qz::btrutil {

record::LayoutProvider ReadLayoutFile(const std::string& path, std::string* error) {
  std::ifstream in(path);
  if (!in) {
    *error = "cannot read layout " + path;
    return {};
  }
  std::vector<record::FieldInfo> fields;
  std::string line;
  for (int n = 1; std::getline(in, line); ++n) {
    for (char& c : line) {
      if (c == ',' || c == '\t' || c == '\r') c = ' ';
    }
    std::istringstream words(line);
    std::string name, kind;
    int position = 0, length = 0;
    if (!(words >> name) || name[0] == '#' || name[0] == ';') continue;
    if (!(words >> position >> length >> kind) || (kind != "A" && kind != "N" && kind != "K")) {
      *error = path + ":" + std::to_string(n) + ": expected NAME POSITION LENGTH A|N|K";
      return {};
    }
    record::FieldKind k = kind == "A" ? record::FieldKind::kAlpha
                          : kind == "N" ? record::FieldKind::kNumeric
                                        : record::FieldKind::kKanji;
    fields.push_back(record::FieldInfo{name, k, position, length});
  }
  return [fields](record::BtrAccess& file) {
    for (const record::FieldInfo& f : fields) {
      switch (f.kind) {
        case record::FieldKind::kAlpha: file.DefineAlphaField(f.name, f.position, f.length); break;
        case record::FieldKind::kNumeric: file.DefineNumericField(f.name, f.position, f.length, 0); break;
        case record::FieldKind::kKanji: file.DefineKanjiField(f.name, f.position, f.length); break;
      }
    }
  };
}

}  // namespace qz::btrutil
