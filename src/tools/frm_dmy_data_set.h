// frmDmyDataSet ("結果ダミーデータ自動セット"): the modal dialog of the
// dummy-data tool of the result screen. It offers how numeric items are
// filled, the first judgement, the first running number and the use of the
// findings master, and answers through basPublic.DummyDataSettings:
// Accepted is False when it loads and True once 実行 stored the choices;
// キャンセル or the close box leave it False, so nothing is filled.
//
// The judgement list holds the marks of the settings record that
// basFileAccess.SysObj holds (positioned at start); the settings master
// must be open. User-interface thread only.
#ifndef QZ_TOOLS_FRM_DMY_DATA_SET_H_
#define QZ_TOOLS_FRM_DMY_DATA_SET_H_

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/form_slot.h"

namespace qz {

// How numeric items are filled (DummyDataSettings.NumType).
enum DummyNumType : int {
  kDummyNumStandard = 1,   // 基準値: the high limit, else the low limit
  kDummyNumAbove = 2,      // ＞基準値: one step above the high limit
  kDummyNumBelow = 3,      // ＜基準値: one step below the low limit
  kDummyNumRunning = 4,    // 連番: running numbers
};

class FrmDmyDataSet : public ui::Form {
 public:
  FrmDmyDataSet();

  ui::Label& lblNumType;
  ui::ComboBox& cboNumType;
  ui::Label& lblHanStart;
  ui::ComboBox& cboHanStart;
  ui::Label& lblKnsachStart;
  ui::TextBox& txtKnsachStart;
  ui::Label& lblSyoken;
  ui::ComboBox& cboSyoken;
  ui::CheckBox& chkSyoDefault;
  ui::CommandButton& cmdRun;
  ui::CommandButton& cmdCancel;

  // Clears Accepted, fills the lists ("連番" and "使用する" selected, the
  // first judgement selected when there is one) and sets the start text "1".
  void Form_Load();
  // Stores the choices in basPublic.DummyDataSettings, Accepted True, and
  // unloads the dialog.
  void cmdRun_Click();
  // Unloads the dialog; Accepted stays False.
  void cmdCancel_Click();
  // Selects the whole start text.
  void txtKnsachStart_GotFocus();

 private:
  // The marks of the judgement codes 1..8 of the settings record that are
  // not 0, in slot order; the first selected.
  void Sub_LoadHanStartList();
};

extern ui::FormSlot<FrmDmyDataSet> frmDmyDataSet;

}  // namespace qz

#endif  // QZ_TOOLS_FRM_DMY_DATA_SET_H_
