#include "tools/frm_dmy_data_set.h"

#include "data/bas_file_access.h"
#include "data/bas_rank_change.h"
#include "data/form_routines.h"
#include "data/judge_mark.h"
#include "examinee/bas_public.h"
#include "platform/text/vb.h"

namespace qz {

ui::FormSlot<FrmDmyDataSet> frmDmyDataSet;

namespace {

constexpr int kLabelLeft = 240;
constexpr int kInputLeft = 2760;
constexpr int kInputWidth = 2400;
constexpr int kLineHeight = 480;

void PlaceLine(ui::Control& label, ui::Control& input, int line) {
  label.Move(kLabelLeft, 240 + line * kLineHeight + 60, kInputLeft - kLabelLeft - 60, 300);
  input.Move(kInputLeft, 240 + line * kLineHeight, kInputWidth, 360);
  input.tab_index = line;
}

}  // namespace

FrmDmyDataSet::FrmDmyDataSet()
    : Form("frmDmyDataSet"),
      lblNumType(Add<ui::Label>("lblNumType")),
      cboNumType(Add<ui::ComboBox>("cboNumType")),
      lblHanStart(Add<ui::Label>("lblHanStart")),
      cboHanStart(Add<ui::ComboBox>("cboHanStart")),
      lblKnsachStart(Add<ui::Label>("lblKnsachStart")),
      txtKnsachStart(Add<ui::TextBox>("txtKnsachStart")),
      lblSyoken(Add<ui::Label>("lblSyoken")),
      cboSyoken(Add<ui::ComboBox>("cboSyoken")),
      chkSyoDefault(Add<ui::CheckBox>("chkSyoDefault")),
      cmdRun(Add<ui::CommandButton>("cmdRun")),
      cmdCancel(Add<ui::CommandButton>("cmdCancel")) {
  caption = "結果ダミーデータ自動セット";
  font.name = "ＭＳ ゴシック";
  width = 5700;
  height = 4200;
  lblNumType.caption = "数値項目の値：";
  lblHanStart.caption = "判定の開始：";
  lblKnsachStart.caption = "基準値未登録の開始値：";
  lblSyoken.caption = "所見マスタ：";
  chkSyoDefault.caption = "所見マスタのデフォルトを使用する";
  cmdRun.caption = "実行";
  cmdCancel.caption = "キャンセル";
  cmdCancel.is_cancel = true;
  cboNumType.style = 2;
  cboHanStart.style = 2;
  cboSyoken.style = 2;
  PlaceLine(lblNumType, cboNumType, 0);
  PlaceLine(lblHanStart, cboHanStart, 1);
  PlaceLine(lblKnsachStart, txtKnsachStart, 2);
  txtKnsachStart.ime_mode = 2;  // a number
  PlaceLine(lblSyoken, cboSyoken, 3);
  chkSyoDefault.Move(kLabelLeft, 240 + 4 * kLineHeight, kInputLeft + kInputWidth - kLabelLeft, 300);
  chkSyoDefault.tab_index = 4;
  cmdRun.Move(kInputLeft - 1320, 240 + 5 * kLineHeight + 120, 1200, 420);
  cmdRun.tab_index = 5;
  cmdCancel.Move(kInputLeft, 240 + 5 * kLineHeight + 120, 1200, 420);
  cmdCancel.tab_index = 6;
  for (ui::Control* c : controls()) c->font = font;

  on_load = [this] { Form_Load(); };
  cmdRun.on_click = [this] { cmdRun_Click(); };
  cmdCancel.on_click = [this] { cmdCancel_Click(); };
  txtKnsachStart.on_got_focus = [this] { txtKnsachStart_GotFocus(); };
}

void FrmDmyDataSet::Form_Load() {
  basPublic.DummyDataSettings.Accepted = false;
  cboNumType.Clear();
  for (const char* t : {"基準値", "＞基準値", "＜基準値", "連番"}) cboNumType.AddItem(t);
  cboNumType.SetListIndex(kDummyNumRunning - 1);
  txtKnsachStart.SetText("1");
  Sub_LoadHanStartList();
  cboSyoken.Clear();
  cboSyoken.AddItem("使用する");
  cboSyoken.AddItem("使用しない");
  cboSyoken.SetListIndex(0);
}

void FrmDmyDataSet::Sub_LoadHanStartList() {
  cboHanStart.Clear();
  if (basFileAccess.SysObj == nullptr) return;
  for (const JudgeSlot& slot : ReadJudgeSlots(*basFileAccess.SysObj)) {
    if (slot.code != 0) cboHanStart.AddItem(JudgeSlotMark(slot));
  }
  // A settings record without judgement codes leaves the list empty and
  // nothing selected; the filler then starts at the first judgement.
  if (cboHanStart.list_count() > 0) cboHanStart.SetListIndex(0);
}

void FrmDmyDataSet::cmdRun_Click() {
  DummyDataSettingsInfo& s = basPublic.DummyDataSettings;
  s.NumType = static_cast<std::int16_t>(cboNumType.list_index() + 1);
  s.KnsachStart = vb::IsNumeric(txtKnsachStart.text()) ? vb::CDbl(txtKnsachStart.text()) : 0.0;
  s.HanStartIndex = static_cast<std::int16_t>(cboHanStart.list_index() + 1);
  s.SyokenUse = static_cast<std::int16_t>(cboSyoken.list_index() + 1);
  s.SyoDefault = chkSyoDefault.value() == 1;
  s.Accepted = true;
  Unload();
}

void FrmDmyDataSet::cmdCancel_Click() { Unload(); }

void FrmDmyDataSet::txtKnsachStart_GotFocus() { Sub_SelectActiveText(*this); }

}  // namespace qz
