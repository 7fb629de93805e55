#include "data/conversion_definition_text.h"

#include <set>
#include <string>

#include "data/record_layouts.h"

namespace qz::data {

std::string ConversionDefinitionText() {
  std::set<std::string> files;
  for (const FileLayout* l : AllLayouts()) {
    if (l->folder == FileFolder::kData) files.insert(l->file);
  }
  std::string text = "[SysInfo]\r\nVersion=1\r\n";
  for (const std::string& file : files) {
    const std::string stem = file.substr(0, file.rfind('.'));
    text += "[" + stem + "]\r\nInFile=" + file + "\r\nOutFile=" + stem + ".CSV\r\n";
  }
  return text;
}

}  // namespace qz::data
