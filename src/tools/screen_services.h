// The automatic judgement of one item as the dummy-data filler calls it:
// `toolScreenServices.AutoJudgeItem`, by default Fnc_AutoJudgeItem of the
// judgement routines (judgement/auto_judge.h). Tests that are about the
// filler, not about the judgement, put their own. User-interface thread
// only.
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

// The services in use.
extern ToolScreenServices toolScreenServices;

// The program's own routines (a test restores them with
// `toolScreenServices = DefaultToolScreenServices()`).
ToolScreenServices DefaultToolScreenServices();

}  // namespace qz

#endif  // QZ_TOOLS_SCREEN_SERVICES_H_
