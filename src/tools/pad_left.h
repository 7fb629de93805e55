// Fnc_PadLeft: a text right-aligned in a field of blanks, as the debug
// window and the deletion list show numbers and codes.
//
// Pure and thread-safe.
#ifndef QZ_TOOLS_PAD_LEFT_H_
#define QZ_TOOLS_PAD_LEFT_H_

#include <string>
#include <string_view>

namespace qz {

// Blanks in front of `text` up to `width` characters (characters as the
// runtime counts them, vb::Len); `text` unchanged when it is as long as
// `width` or longer, or `width` is not positive.
std::string Fnc_PadLeft(std::string_view text, int width);

}  // namespace qz

#endif  // QZ_TOOLS_PAD_LEFT_H_
