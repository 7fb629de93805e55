// The services of the result screen that the dummy-data filler calls and
// that other parts of the program provide: the last-write stamp text of the
// grid, the group-jump list of frmGrpJmp and the automatic judgement of one
// item.
//
// The filler reaches them through `toolScreenServices`, one std::function
// each, so the real routines are set in this one place and tests put their
// own.
// NOT YET BUILT: until the grid's stamp text, the group-jump lookup and the
// one-item judgement exist, the defaults are their least forms: an empty
// stamp text, no group-jump row (-1), no jump-cell colour and no judgement
// (false). User-interface thread only.
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
  // Fnc_FormatLastWrite: "yyyy/mm/dd hh:nn:ss" of the current result of
  // item `item`, "" when it has no updater.
  std::function<std::string(std::int16_t item)> FormatLastWrite;
  // Fnc_GetJumpGroupIndex: the row of frmGrpJmp.flxGroop of input group
  // subscript `ngrp_index`, -1 when the list has none.
  std::function<std::int32_t(std::int16_t ngrp_index)> GetJumpGroupIndex;
  // Sub_SetJumpCellColor: the text colour of cell (col, row) of
  // frmGrpJmp.flxGroop from a colour letter.
  std::function<void(int col, int row, std::string_view letter)> SetJumpCellColor;
  // Fnc_AutoJudgeItem: judges value `value` of item `code` with finding
  // type `finding_type`; true and `out` filled when judged.
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
