#include "examinee/frm_result_in.h"

#include <string>

#include "loading/load_state.h"

namespace qz {

ui::FormSlot<FrmResultIn> frmResultInForm;

FrmResultIn::FrmResultIn()
    : Form("frmResultIn"),
      fraHead(Add<ui::Frame>("fraHead")),
      txtID(Add<ui::TextBox>("txtID")),
      txtKana(Add<ui::TextBox>("txtKana")),
      txtName(Add<ui::TextBox>("txtName")),
      txtSex(Add<ui::TextBox>("txtSex")),
      txtBirth(Add<ui::TextBox>("txtBirth")),
      txtAge(Add<ui::TextBox>("txtAge")),
      txtDanname(Add<ui::TextBox>("txtDanname")),
      txtHassou(Add<ui::TextBox>("txtHassou")),
      sprResult(Add<grid::Spread>("sprResult")),
      lblStatus(Add<ui::Label>("lblStatus")),
      cmdEnd(Add<ui::CommandButton>("cmdEnd")),
      cmdAgain(Add<ui::CommandButton>("cmdAgain")),
      cmdPreview(Add<ui::CommandButton>("cmdPreview")),
      cmdSearch(Add<ui::CommandButton>("cmdSearch")),
      cmdSubMenu(Add<ui::CommandButton>("cmdSubMenu")),
      cmdOpchk(Add<ui::CommandButton>("cmdOpchk")),
      cmdChkInput(Add<ui::CommandButton>("cmdChkInput")),
      cmdGrpSel(Add<ui::CommandButton>("cmdGrpSel")),
      cmdGrpJmp(Add<ui::CommandButton>("cmdGrpJmp")),
      cmdAutoJudge(Add<ui::CommandButton>("cmdAutoJudge")),
      chkSokutei(Add<ui::CheckBox>("chkSokutei")),
      chkOperation(Add<ui::CheckBox>("chkOperation")),
      chkPastDisp(Add<ui::CheckBox>("chkPastDisp")),
      fraKirikae(Add<ui::Frame>("fraKirikae")),
      tmrSyoSearch(Add<ui::Timer>("tmrSyoSearch")) {
  for (int n = 1; n <= 4; ++n) {
    cmdOption[n] = &Add<ui::CommandButton>("cmdOption", n);
    cmdOption[n]->caption = "オプション" + std::string(n == 1 ? "１" : n == 2 ? "２" : n == 3 ? "３" : "４");
  }
  for (int i = 0; i <= 2; ++i) {
    optKirikae[i] = &Add<ui::OptionButton>("optKirikae", i);
    optKirikae[i]->container = &fraKirikae;
  }
  caption = "結果入力";
  key_preview = true;
  on_load = [this] { Form_Load(); };
  on_activate = [this] { Form_Activate(); };
  on_resize = [this] { Form_Resize(); };
  on_query_unload = [this](int& cancel, int mode) { Form_QueryUnload(cancel, mode); };
  on_unload = [this](int& cancel) { Form_Unload(cancel); };
  on_key_down = [this](int& key_code, int& shift) { Form_KeyDown(key_code, shift); };
  chkSokutei.on_click = [this] { chkSokutei_Click(); };
  chkOperation.on_click = [this] { chkOperation_Click(); };
  chkPastDisp.on_click = [this] { chkPastDisp_Click(); };
  for (int i = 0; i <= 2; ++i) optKirikae[i]->on_click = [this, i] { optKirikae_Click(i); };
  cmdSubMenu.on_click = [this] { cmdSubMenu_Click(); };
  cmdOpchk.on_click = [this] { cmdOpchk_Click(); };
  for (int n = 1; n <= 4; ++n) cmdOption[n]->on_click = [this, n] { cmdOption_Click(n); };
  cmdChkInput.on_click = [this] { cmdChkInput_Click(); };
  cmdGrpSel.on_click = [this] { cmdGrpSel_Click(); };
  cmdGrpJmp.on_click = [this] { cmdGrpJmp_Click(); };
  cmdEnd.on_click = [this] { cmdEnd_Click(); };
  cmdEnd.on_mouse_up = [this](int button, int shift, float x, float y) { cmdEnd_MouseUp(button, shift, x, y); };
  cmdAgain.on_click = [this] { cmdAgain_Click(); };
  cmdPreview.on_click = [this] { cmdPreview_Click(); };

  frmResultIn.sprResult = &sprResult;
  frmResultIn.UnloadHook = [this] { Unload(); };
}

FrmResultIn::~FrmResultIn() {
  if (frmResultIn.sprResult == &sprResult) {
    frmResultIn.sprResult = nullptr;
    frmResultIn.UnloadHook = nullptr;
  }
}

void FrmResultIn::Form_Load() {}
void FrmResultIn::Form_Activate() {}
void FrmResultIn::Form_Resize() {}
void FrmResultIn::Form_QueryUnload(int& cancel, int unload_mode) {
  if (unload_mode == ui::kUnloadControlMenu) cancel = -1;
}
void FrmResultIn::Form_Unload(int& /*cancel*/) {}
void FrmResultIn::Form_KeyDown(int& /*key_code*/, int& /*shift*/) {}
void FrmResultIn::chkSokutei_Click() {}
void FrmResultIn::chkOperation_Click() {}
void FrmResultIn::chkPastDisp_Click() {}
void FrmResultIn::optKirikae_Click(int /*index*/) {}
void FrmResultIn::cmdSubMenu_Click() {}
void FrmResultIn::cmdOpchk_Click() {}
void FrmResultIn::cmdOption_Click(int /*index*/) {}
void FrmResultIn::cmdChkInput_Click() {}
void FrmResultIn::cmdGrpSel_Click() {}
void FrmResultIn::cmdGrpJmp_Click() {}
void FrmResultIn::cmdEnd_Click() {}
void FrmResultIn::cmdEnd_MouseUp(int, int, float, float) {}
void FrmResultIn::cmdAgain_Click() {}
void FrmResultIn::cmdPreview_Click() {}
void FrmResultIn::SearchDysp_SearchResult(const SearchResultRecord& /*result*/) {}
void FrmResultIn::Sub_CreateSearchDysp() {}

}  // namespace qz
