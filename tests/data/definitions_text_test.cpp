#include "data/definitions_text.h"

#include <gtest/gtest.h>

#include <string>

#include "data/record_layouts.h"
#include "platform/record/definitions.h"

namespace qz::data {
namespace {

TEST(DefinitionsText, DescribesEveryLayoutToTheRecordManager) {
  std::string error;
  auto defs = record::Definitions::Parse(DefinitionsIniText(), &error);
  ASSERT_TRUE(defs.has_value()) << error;
  for (const FileLayout* l : AllLayouts()) {
    SCOPED_TRACE(l->name);
    const record::DefinitionEntry* d = defs->FindDefinition(l->definition);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->file, l->file);
    const record::FileDef* f = defs->FindFile(l->file);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->record_length, RecordLengthOf(l->file));
    ASSERT_LT(static_cast<std::size_t>(d->key), f->keys.size());
    const record::KeyDef& key = f->keys[d->key];
    EXPECT_EQ(key.unique, !l->duplicates);
    ASSERT_EQ(key.segments.size(), l->key_fields.size());
    for (std::size_t i = 0; i < key.segments.size(); ++i) {
      const FieldDef* field = l->Find(l->key_fields[i]);
      EXPECT_EQ(key.segments[i].position, field->pos);
      EXPECT_EQ(key.segments[i].length, field->len);
      EXPECT_EQ(key.segments[i].kind == record::SegmentKind::kNumeric, field->kind == FieldKind::kNumeric);
    }
  }
  // One file, several definitions: each its own key.
  EXPECT_EQ(defs->FindFile("QZSYOLF.BTR")->keys.size(), 4u);
  EXPECT_EQ(defs->FindFile("QZSYSLF.BTR")->keys.size(), 1u);
}

}  // namespace
}  // namespace qz::data
