// The parameter areas of the suite's judgement and calculation libraries:
// fixed-length texts of blanks whose fields the program places by
// character position, converted to the code page for the call and back.
// Pure.
#ifndef QZ_JUDGEMENT_LIBRARY_AREA_H_
#define QZ_JUDGEMENT_LIBRARY_AREA_H_

#include <string>
#include <string_view>

namespace qz {

// Places `text` at the 1-based character `start` of `area`, over `length`
// characters, cut or blank-padded to them (the runtime's Mid statement on
// a blank area). Precondition: start >= 1, length >= 0.
void PlaceInArea(std::string& area, int start, int length, std::string_view text);

// Calls `library` with `area` converted to CP932 bytes and returns the area
// it left, converted back.
std::string CallWithArea(const std::string& area, void (*library)(std::string&));

}  // namespace qz

#endif  // QZ_JUDGEMENT_LIBRARY_AREA_H_
