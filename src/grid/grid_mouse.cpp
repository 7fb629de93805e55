#include "grid/grid_mouse.h"

#include <array>
#include <string>
#include <utility>

#include "examinee/bas_public.h"
#include "examinee/frm_result_in.h"
#include "examinee/save_and_end.h"
#include "grid/findings_search_launch.h"
#include "grid/grid_edit_events.h"
#include "grid/grid_procedure.h"
#include "grid/item_row_map.h"
#include "loading/load_driver.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"
#include "platform/process/child_process.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/vb.h"
#include "platform/ui/msgbox.h"

namespace qz {

namespace {

// Set by a right click on an earlier consultation's date, for the release
// of the same button that follows it: that click has been answered.
bool date_click_pending = false;

// The items whose name cell starts the viewer.
constexpr std::array<long long, 3> kViewerItems = {200100, 200102, 200104};

bool HasViewer(Currency code) {
  for (long long v : kViewerItems) {
    if (code == Currency(v)) return true;
  }
  return false;
}

void StartViewer(const KomInfo& kom) {
  const std::string parameters =
      basPublic.ExamineeNo + "," + std::to_string(basPublic.ConsultDate) + "," + kom.KomCode.ToString();
  const process::ChildProcess viewer = process::ChildProcess::Start(kViewerProgram, parameters);
  if (!viewer.started()) throw RunTimeError(kErrFileNotFound);
}

// The consultation date of earlier-consultation column `col`; error 9 when
// no consultation was loaded for it.
std::int32_t PastColumnDate(int col) {
  const int k = col - basPublic.PastCol + 1;
  if (k < 1 || k > frmResultIn.HistoryCount()) throw RunTimeError(kErrSubscript);
  return static_cast<std::int32_t>(vb::Val(frmResultIn.HistoryDates[static_cast<std::size_t>(k)].Jdate));
}

void OpenPastConsultation(int col) {
  if (Fnc_FindingsSearchRefuses()) return;
  // The right click leaves the focus on the grid: a value still being typed
  // is entered first, for the save offered.
  if (!Fnc_EnterEditedCell()) return;
  const std::int32_t date = PastColumnDate(col);
  const ui::MsgResult answer =
      ui::MsgBox(vb::Format(date, "0000/00/00") + "の結果入力を開きます。" + std::string(kCrLf) +
                     "現在の内容を保存しますか？",
                 ui::MsgButtons::kYesNoCancel, ui::MsgIcon::kQuestion, std::string(kResultScreenTitle));
  if (answer == ui::MsgResult::kCancel) return;
  if (answer == ui::MsgResult::kYes && !Fnc_SaveResults()) return;
  basPublic.ConsultDate = date;
  Sub_LoadExaminee(false);
}

}  // namespace

void sprResult_MouseUp(int button, int /*shift*/, float /*x*/, float /*y*/) {
  RunGridProcedure("スプレッドのマウスクリック処理でエラーが発生しました。", [button] {
    if (button != grid::kButtonRight) return;
    if (std::exchange(date_click_pending, false)) return;
    grid::Spread& spr = ResultGrid();
    if (spr.active_col() == basPublic.ItemCol) {
      const std::int16_t item = Fnc_RowToItem(spr.active_row());
      const KomInfo& kom = frmResultIn.ItemTable[item];
      if (item > 0 && HasViewer(kom.KomCode)) {
        StartViewer(kom);
        return;
      }
    }
    if (!spr.edit_mode()) cmdSearch_Click();
  });
}

void sprResult_RightClick(int /*click_type*/, int col, int row, int /*mouse_x*/, int /*mouse_y*/) {
  RunGridProcedure("スプレッドの右クリック処理でエラーが発生しました。", [col, row] {
    if (row < basPublic.DataRow) {
      if (col >= basPublic.PastCol) {
        date_click_pending = true;
        OpenPastConsultation(col);
      }
      return;
    }
    grid::Spread& spr = ResultGrid();
    spr.col = col;
    spr.row = row;
    spr.SetAction(grid::kActionActiveCell);
  });
}

void sprResult_TextTipFetch(int /*col*/, int /*row*/, int& /*multi_line*/, int& /*tip_width*/,
                            std::string& tip_text, bool& /*show_tip*/) {
  RunGridProcedure("スプレッドのツールチップ処理でエラーが発生しました。", [&tip_text] {
    grid::Spread& spr = ResultGrid();
    spr.text_tip = 0;
    spr.tool_tip_text = vb::Trim(tip_text);
    // The grid's own tip shows the same text as the control's.
    tip_text = spr.tool_tip_text;
    spr.text_tip = 2;
  });
}

void Sub_ConnectGridMouse(grid::Spread& spr) {
  spr.on_mouse_up = [](int button, int shift, float x, float y) { sprResult_MouseUp(button, shift, x, y); };
  spr.on_right_click = [](int click_type, int col, int row, int mouse_x, int mouse_y) {
    sprResult_RightClick(click_type, col, row, mouse_x, mouse_y);
  };
  spr.on_text_tip_fetch = [](int col, int row, int& multi_line, int& tip_width, std::string& tip_text,
                             bool& show_tip) {
    sprResult_TextTipFetch(col, row, multi_line, tip_width, tip_text, show_tip);
  };
}

}  // namespace qz
