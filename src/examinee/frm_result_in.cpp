#include "examinee/frm_result_in.h"

#include <exception>
#include <string>

#include "data/bas_file_access.h"
#include "data/close_erase.h"
#include "data/common_sub.h"
#include "data/program_log.h"
#include "examinee/bas_public.h"
#include "examinee/cls_default.h"
#include "examinee/frm_guide.h"
#include "examinee/save_and_end.h"
#include "examinee/save_screen.h"
#include "examinee/start_checks.h"
#include "grid/cursor_destination.h"
#include "grid/findings_search_launch.h"
#include "grid/grid_edit_events.h"
#include "grid/grid_mouse.h"
#include "grid/searched_row.h"
#include "judgement/frm_syo_comb.h"
#include "judgement/syo_search_handoff.h"
#include "loading/group_forms.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "platform/process/child_process.h"
#include "platform/runtime/app.h"
#include "platform/text/vb.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/shell.h"
#include "suite/runtime_entries.h"

namespace qz {

ui::FormSlot<FrmResultIn> frmResultInForm;

namespace {

// Creation attempts of the search object: one, and one after each of three
// registration runs of the search server.
constexpr int kSearchCreateAttempts = 4;

// Runs `step`, ignoring a run-time error (the unload goes on with its next
// step whatever happened).
template <class F>
void IgnoringErrors(F&& step) {
  try {
    step();
  } catch (const std::exception&) {
  }
}

}  // namespace

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
  for (int n = 1; n <= 4; ++n) cmdOption[n] = &Add<ui::CommandButton>("cmdOption", n);
  for (int i = 0; i <= 2; ++i) optKirikae[i] = &Add<ui::OptionButton>("optKirikae", i);
  Design();

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
  cmdAutoJudge.on_click = [this] { cmdAutoJudge_Click(); };
  cmdSearch.on_click = [] { cmdSearch_Click(); };
  tmrSyoSearch.on_timer = [] { tmrSyoSearch_Timer(); };
  Sub_ConnectGridMouse(sprResult);

  BindResultGridEvents(sprResult);
  // The findings search moves the cursor on through the grid's Enter.
  syoSearchSteps.grid_enter = [] {
    int key = kEnterKey;
    sprResult_KeyDown(key, 0);
  };

  frmResultIn.sprResult = &sprResult;
  frmResultIn.UnloadHook = [this] { Unload(); };
}

FrmResultIn::~FrmResultIn() {
  if (frmResultIn.sprResult == &sprResult) {
    frmResultIn.sprResult = nullptr;
    frmResultIn.UnloadHook = nullptr;
  }
}

void FrmResultIn::Form_Load() {
  // The log takes this run's messages from the first.
  program_log::Begin();
  if (!Fnc_ChangeDir(App().path, true)) {
    frmResultIn.StartFailed = true;
    ShowChangeDirFailure();
    ui::Shell::Require().End();
  }
  frmResultIn.SearchCreated = true;
  frmResultIn.Loading = true;
  frmResultIn.ReturnToSearch = false;
  frmResultIn.EnterBusy = false;
  frmResultIn.Activated = false;
  try {
    Sub_CloseErase(*this);
    bool started = false;
    {
      ClsDefault start(*this, *frmGrpJmp);
      started = start.DefaultSetting();
    }
    if (started) {
      Sub_CreateSearchDysp();
    } else {
      // Still inside the load: the unload ends the program without an end
      // of an examinee cycle that never began.
      frmResultIn.StartFailed = true;
      Unload();
      return;
    }
  } catch (const std::exception&) {
    frmResultIn.StartFailed = true;
    Unload();
    return;
  }
  frmResultIn.SearchCreated = false;
}

void FrmResultIn::Sub_CreateSearchDysp() {
  for (int attempt = 1;; ++attempt) {
    try {
      SearchDysp = CreateSearchDysp();
      SearchDysp->SearchResult = [this](const SearchResultRecord& result) { SearchDysp_SearchResult(result); };
      return;
    } catch (const std::exception&) {
      SearchDysp.reset();
    }
    if (attempt >= kSearchCreateAttempts) return;
    // Registration of the search server; a run that cannot start only
    // leaves the next attempt to fail as well.
    process::ChildProcess::Start(basPublic.VlmpPath + "QZP111.exe", "/REGSERVER");
  }
}

void FrmResultIn::Form_Resize() {
  if (frmResultIn.Loading) return;
  IgnoringErrors([&] {
    if (window_state() == ui::WindowState::kNormal) {
      frmGrpJmp->Show();
      frmGrpSel->Show();
    } else {
      frmGrpJmp->Hide();
      frmGrpSel->Hide();
    }
  });
  IgnoringErrors([&] { SetFocus(); });
}

void FrmResultIn::Form_QueryUnload(int& cancel, int unload_mode) {
  if (unload_mode == ui::kUnloadControlMenu) cancel = -1;
}

void FrmResultIn::Form_Unload(int& /*cancel*/) {
  UnloadRunning = true;
  // The end of the examinee cycle, when one holds its on-line row (not
  // after a start that failed or was refused, nor after the search screen
  // was closed between cycles: the program then ends at once).
  if (!frmResultIn.SearchCreated && basPublic.OnlineRen > 0) {
    IgnoringErrors([] { Sub_EndExaminee(); });
  }
  IgnoringErrors([&] {
    frmGuide->Show(false, this);
    frmGuide->lblGuide.caption = "終了処理中です．．．";
    frmGuide->lblState.caption = "";
    frmGuide->lblState.caption = "ファイルクローズ中";
  });
  IgnoringErrors([] { Sub_CloseAllMasters(); });
  IgnoringErrors([] { suite::JMPCINT3(); });
  IgnoringErrors([&] {
    if (SearchDysp != nullptr) SearchDysp->CloseSearch();
  });
  SearchDysp.reset();
  IgnoringErrors([] { frmGuide->Unload(); });
  program_log::Ended();
  ui::Shell::Require().End();
}

bool Fnc_FindingsSearchRefuses() {
  Sub_ApplyClosedSearch();
  if (!basPublic.SyoSearchOpen) return false;
  std::string name;
  const int item = frmResultIn.SyoSearchItem;
  if (item >= 1 && item <= frmResultIn.ItemCount()) name = frmResultIn.ItemTable[item].KomName;
  ShowLoadWarning("所見検索画面が「" + name + "」で開かれています。");
  if (frmSyoComb.loaded()) frmSyoComb->ZOrder(0);
  return true;
}

void Sub_KeepSaveScreen() {
  FrmResultIn& form = *frmResultInForm;
  frmResultInSave.chkOperation = static_cast<std::int16_t>(form.chkOperation.value());
  frmResultInSave.txtHassou = form.txtHassou.text();
}

bool Fnc_HasCommandLine() { return !vb::Trim(App().command).empty(); }

bool Fnc_ExamineeHeld() { return !frmResultIn.Loading && !basPublic.ExamineeNo.empty(); }

bool Fnc_ExamineeOnScreen() {
  return Fnc_ExamineeHeld() && frmResultInForm.loaded() && frmResultInForm->sprResult.visible;
}

}  // namespace qz
