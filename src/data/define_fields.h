// Declaring a record layout on a data-access object.
#ifndef QZ_DATA_DEFINE_FIELDS_H_
#define QZ_DATA_DEFINE_FIELDS_H_

#include "data/record_layouts.h"
#include "platform/record/btr_access.h"

namespace qz {

// Declares every field of `layout` on `obj` in position order, each with
// the operation of its kind (numeric fields with 0 decimals). `obj` must be
// open. Errors of the object propagate.
void DefineLayoutFields(record::BtrAccess& obj, const data::FileLayout& layout);

}  // namespace qz

#endif  // QZ_DATA_DEFINE_FIELDS_H_
