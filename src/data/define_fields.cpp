#include "data/define_fields.h"

namespace qz {

void DefineLayoutFields(record::BtrAccess& obj, const data::FileLayout& layout) {
  for (const data::FieldDef& f : layout.fields) {
    switch (f.kind) {
      case data::FieldKind::kAlpha:
        obj.DefineAlphaField(f.name, f.pos, f.len);
        break;
      case data::FieldKind::kNumeric:
        obj.DefineNumericField(f.name, f.pos, f.len, 0);
        break;
      case data::FieldKind::kKanji:
        obj.DefineKanjiField(f.name, f.pos, f.len);
        break;
    }
  }
}

}  // namespace qz
