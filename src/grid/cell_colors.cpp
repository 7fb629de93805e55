#include "grid/cell_colors.h"

#include <exception>
#include <optional>
#include <utility>

#include "grid/grid_procedure.h"
#include "loading/color_letters.h"
#include "loading/group_forms.h"
#include "platform/grid/spread.h"
#include "platform/runtime/run_time_error.h"

namespace qz {

namespace {

std::function<grid::Spread*()>& DebugGrid() {
  static std::function<grid::Spread*()> fn;
  return fn;
}

std::function<grid::Spread*()>& DeleteListGrid() {
  static std::function<grid::Spread*()> fn;
  return fn;
}

grid::Spread& TargetGrid(std::int16_t target) {
  if (target != kColorTargetDebug && target != kColorTargetDeleteList) return ResultGrid();
  const std::function<grid::Spread*()>& fn = target == kColorTargetDebug ? DebugGrid() : DeleteListGrid();
  grid::Spread* spr = fn ? fn() : nullptr;
  if (spr == nullptr) throw RunTimeError(kErrObjectRequired);
  return *spr;
}

}  // namespace

void SetColorTargetGrid(std::int16_t target, std::function<grid::Spread*()> grid) {
  if (target == kColorTargetDebug) DebugGrid() = std::move(grid);
  if (target == kColorTargetDeleteList) DeleteListGrid() = std::move(grid);
}

void Sub_SetCellForeColor(std::int32_t col, std::int32_t row, std::string_view letter, std::int16_t target) {
  RunGridProcedure("検査結果情報の更新処理でエラーが発生しました。", [&] {
    grid::Spread& spr = TargetGrid(target);
    spr.block_mode = false;
    spr.col = col;
    spr.row = row;
    if (const std::optional<ui::Color> color = ColorOfLetter(letter)) spr.SetForeColor(*color);
  });
}

void Sub_SetJumpCellColor(std::int32_t col, std::int32_t row, std::string_view letter) {
  grid::ListGrid& list = frmGrpJmp->flxGroop;
  bool addressed = true;
  try {
    list.SetCol(col);
  } catch (const std::exception&) {
    addressed = false;
  }
  try {
    list.SetRow(row);
  } catch (const std::exception&) {
    addressed = false;
  }
  const std::optional<ui::Color> color = ColorOfLetter(letter);
  if (addressed && color) list.SetCellForeColorAt(static_cast<int>(row), static_cast<int>(col), *color);
}

}  // namespace qz
