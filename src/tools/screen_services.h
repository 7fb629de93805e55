// The automatic judgement of one item as the dummy-data filler calls it.
//
// NOT YET BUILT here: the judgement of one item (Fnc_AutoJudgeItem of the
// judgement routines) is not part of this program yet. The filler reaches
// it through `toolScreenServices.AutoJudgeItem`, whose least form judges
// nothing (false: the item gets no judgement); once the judgement routines
// are in, this one function is set to them. Tests put their own.
// User-interface thread only.
#ifndef QZ_TOOLS_SCREEN_SERVICES_H_
#define QZ_TOOLS_SCREEN_SERVICES_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/text/currency.h"

namespace qz {

// What the automatic judgement of one item gives when it succeeds.
struct ItemJudgement {
  std::int16_t code = 0;     // judgement code
  std::string mark;          // its mark
  std::string color_letter;  // its colour letter
  std::string finding;       // the judgement finding text
};

struct ToolScreenServices {
  // Judges value `value` of item `code` with finding type `finding_type`;
  // true and `out` filled when judged.
  std::function<bool(Currency code, std::string_view value, Currency finding_type, ItemJudgement& out)>
      AutoJudgeItem;
};

// The services in use; the defaults are the least forms above.
extern ToolScreenServices toolScreenServices;

// The least forms (a test restores them with
// `toolScreenServices = DefaultToolScreenServices()`).
ToolScreenServices DefaultToolScreenServices();

}  // namespace qz

#endif  // QZ_TOOLS_SCREEN_SERVICES_H_
