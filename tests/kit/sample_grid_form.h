// A small form with every grid kind, filled with sample results: the Qt
// front end's tests and the screenshot tool render it.
//
// sprResult: 4 item columns, 6 rows; row 1 frozen; column 2 hidden (width
// 0); column 3 a list cell column; column 4 check boxes; row 2 locked and
// coloured; headers "項目", "結果", "判定", "済".
// grdList: a list grid of findings; tabKind: two tabs; lblTitle, txtMemo,
// cmdOk (its click is counted in ok_clicks).
#ifndef QZ_TESTS_KIT_SAMPLE_GRID_FORM_H_
#define QZ_TESTS_KIT_SAMPLE_GRID_FORM_H_

#include "platform/grid/list_grid.h"
#include "platform/grid/spread.h"
#include "platform/grid/tab_strip.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

namespace qz::testkit {

inline constexpr ui::Color kSampleAbnormalBack = 0xC0C0FF;  // pale red (0xBBGGRR)
inline constexpr ui::Color kSampleAbnormalFore = 0x0000C0;  // dark red

class SampleGridForm : public ui::Form {
 public:
  SampleGridForm();

  ui::Label& lblTitle;
  grid::TabStrip& tabKind;
  grid::Spread& sprResult;
  grid::ListGrid& grdList;
  ui::TextBox& txtMemo;
  ui::CommandButton& cmdOk;
  int ok_clicks = 0;
};

}  // namespace qz::testkit

#endif  // QZ_TESTS_KIT_SAMPLE_GRID_FORM_H_
