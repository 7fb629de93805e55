// Fnc_PadLeft: a text right-aligned in a column of fixed width, as the
// delete list and the debug window show item numbers and values. Pure.
#ifndef QZ_TOOLS_PAD_LEFT_H_
#define QZ_TOOLS_PAD_LEFT_H_

#include <string>
#include <string_view>

namespace qz {

// `text` preceded by blanks up to `width` characters; unchanged when it has
// that many characters or more.
std::string Fnc_PadLeft(std::string_view text, int width);

}  // namespace qz

#endif  // QZ_TOOLS_PAD_LEFT_H_
