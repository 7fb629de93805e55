#include "grid/grid_bed.h"

#include "examinee/bas_public.h"
#include "examinee/frm_result_in.h"
#include "kit/ui_expect.h"
#include "loading/find_or_add_item.h"
#include "loading/group_forms.h"
#include "loading/load_state.h"

namespace qz::testing {

namespace {

grid::Spread& FreshScreen() {
  basPublic = BasPublic{};
  frmResultIn = FrmResultInState{};
  frmResultInForm.Reset();
  return frmResultInForm->sprResult;
}

}  // namespace

GridBed::GridBed() : spr(FreshScreen()) {
  shell.auto_answer = true;
  spr.SetMaxCols(basPublic.PastCol - 1);
  spr.SetMaxRows(basPublic.DataRow - 1);
}

GridBed::~GridBed() {
  frmResultInForm.Reset();
  frmGrpJmp.Reset();
  frmGrpSel.Reset();
  frmResultIn = FrmResultInState{};
  basPublic = BasPublic{};
}

KomInfo& GridBed::AddItem(long long code, std::int16_t ksyub, std::int32_t ngrp) {
  std::int16_t index = 0;
  Fnc_FindOrAddItem(Currency(code), index);
  KomInfo& item = frmResultIn.ItemTable[index];
  item.Ksyub = ksyub;
  item.Ngrp = ngrp;
  item.KomName = "item " + std::to_string(code);
  item.Stype = "31";
  return item;
}

void GridBed::ShowAll(int history) {
  frmResultIn.RowItems.Clear();
  for (int i = 1; i <= frmResultIn.ItemCount(); ++i) frmResultIn.RowItems.Append(static_cast<std::int16_t>(i));
  frmResultIn.HistoryDates.assign(static_cast<std::size_t>(history) + 1, JrkEntry{});
  frmResultIn.ResultMatrix.Create(frmResultIn.ItemCount(), history);
  spr.SetMaxCols(basPublic.PastCol - 1 + history);
  spr.SetMaxRows(frmResultIn.RowCount() + basPublic.DataRow - 1);
}

std::vector<std::string> GridBed::Boxes() const { return testkit::BoxTexts(shell); }

}  // namespace qz::testing
