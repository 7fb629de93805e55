// Record layouts by definition name, for tools that read any file (btrutil).
//
// A layout declares the fields of one definition on an open object. The
// program's layouts may be registered here at start-up; a tool then finds
// the layout of a definition without knowing the program. Not thread-safe:
// register before use, from one thread.
#ifndef QZ_PLATFORM_RECORD_LAYOUT_REGISTRY_H_
#define QZ_PLATFORM_RECORD_LAYOUT_REGISTRY_H_

#include <functional>
#include <string_view>

#include "platform/record/btr_access.h"

namespace qz::record {

// Declares every field of a layout on `file`, which is open.
using LayoutProvider = std::function<void(BtrAccess& file)>;

// Registers (or replaces) the layout of `definition` (any case).
void RegisterLayout(std::string_view definition, LayoutProvider provider);

// The layout registered for `definition`; nullptr when there is none.
const LayoutProvider* FindLayout(std::string_view definition);

}  // namespace qz::record

#endif  // QZ_PLATFORM_RECORD_LAYOUT_REGISTRY_H_
