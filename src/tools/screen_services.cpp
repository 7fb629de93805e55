#include "tools/screen_services.h"

namespace qz {

ToolScreenServices DefaultToolScreenServices() {
  ToolScreenServices s;
  s.AutoJudgeItem = [](Currency, std::string_view, Currency, ItemJudgement&) { return false; };
  return s;
}

ToolScreenServices toolScreenServices = DefaultToolScreenServices();

}  // namespace qz
