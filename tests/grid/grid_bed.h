// The test bed of the result grid's routines: a fresh settings record and
// screen state, the main form's grid as frmResultIn.sprResult, a scripted
// shell that answers every message box and records it, and helpers that
// put items on the item lines.
//
// The destructor resets basPublic, frmResultIn and the forms the routines
// touch. One bed at a time.
#ifndef QZ_TESTS_GRID_GRID_BED_H_
#define QZ_TESTS_GRID_GRID_BED_H_

#include <cstdint>
#include <string>
#include <vector>

#include "loading/consult_records.h"
#include "platform/grid/spread.h"
#include "platform/ui/scripted_shell.h"

namespace qz::testing {

class GridBed {
 public:
  GridBed();
  ~GridBed();
  GridBed(const GridBed&) = delete;
  GridBed& operator=(const GridBed&) = delete;

  // Appends item `code` of kind `ksyub` and input group `ngrp` to the item
  // table (not shown yet) and returns it.
  KomInfo& AddItem(long long code, std::int16_t ksyub, std::int32_t ngrp = 10);

  // Shows every item of the table, in table order, as the item lines; the
  // grid gets their rows and `history` earlier-consultation columns, and
  // the result matrix is created for them.
  void ShowAll(int history = 0);

  // The texts of the message boxes shown so far.
  std::vector<std::string> Boxes() const;

  ui::ScriptedShell shell;
  grid::Spread& spr;
};

}  // namespace qz::testing

#endif  // QZ_TESTS_GRID_GRID_BED_H_
