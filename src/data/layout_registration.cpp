#include "data/layout_registration.h"

#include "data/define_fields.h"
#include "data/record_layouts.h"
#include "platform/record/layout_registry.h"

namespace qz::data {

void RegisterRecordLayouts() {
  for (const FileLayout* l : AllLayouts()) {
    if (record::FindLayout(l->definition) != nullptr) continue;
    record::RegisterLayout(l->definition, [l](record::BtrAccess& file) { DefineLayoutFields(file, *l); });
  }
}

}  // namespace qz::data
