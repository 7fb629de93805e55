// Layout files for btrutil: one field a line, "NAME POSITION LENGTH KIND"
// (KIND A alpha, N numeric, K kanji), blanks or commas between; lines that
// begin with "#" or ";" are comments.
#ifndef QZ_TOOLS_BTRUTIL_LAYOUT_FILE_H_
#define QZ_TOOLS_BTRUTIL_LAYOUT_FILE_H_

#include <string>

#include "platform/record/layout_registry.h"

namespace qz::btrutil {

// The layout in `path`; sets `error` and returns an empty provider when the
// file is missing or a line is malformed.
record::LayoutProvider ReadLayoutFile(const std::string& path, std::string* error);

}  // namespace qz::btrutil

#endif  // QZ_TOOLS_BTRUTIL_LAYOUT_FILE_H_
