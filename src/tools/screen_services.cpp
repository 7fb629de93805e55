#include "tools/screen_services.h"

#include "judgement/auto_judge.h"

namespace qz {

ToolScreenServices DefaultToolScreenServices() {
  ToolScreenServices s;
  s.AutoJudgeItem = [](Currency code, std::string_view value, Currency finding_type, ItemJudgement& out) {
    return Fnc_AutoJudgeItem(code, value, finding_type, out.code, out.mark, out.color_letter, out.finding);
  };
  return s;
}

ToolScreenServices toolScreenServices = DefaultToolScreenServices();

}  // namespace qz
