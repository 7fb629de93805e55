#include "data/tiny_suite.h"

#include <gtest/gtest.h>

#include "platform/record/btr_file.h"
#include "platform/record/status.h"

namespace qz::testkit {

void TinySuite::AddFile(std::string_view file, std::string_view definition, int record_length,
                        std::vector<record::KeySegment> key) {
  record::FileDef def;
  def.name = std::string(file);
  def.record_length = record_length;
  def.keys.push_back(record::KeyDef{std::move(key), true});
  defs_.AddFile(def);
  defs_.AddDefinition(definition, file, 0);
  dir_.Write("CPFSPEC.INI", defs_.ToIni());
  ASSERT_EQ(record::CreateRecordFile(defs_, file, dir_.path()), record::kStatusOk) << file;
}

}  // namespace qz::testkit
