#include "tools/screen_services.h"

namespace qz {

ToolScreenServices DefaultToolScreenServices() {
  ToolScreenServices s;
  s.FormatLastWrite = [](std::int16_t) { return std::string(); };
  s.GetJumpGroupIndex = [](std::int16_t) { return std::int32_t{-1}; };
  s.SetJumpCellColor = [](int, int, std::string_view) {};
  s.AutoJudgeItem = [](Currency, std::string_view, Currency, ItemJudgement&) { return false; };
  return s;
}

ToolScreenServices toolScreenServices = DefaultToolScreenServices();

}  // namespace qz
