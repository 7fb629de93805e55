#include "judgement/frm_syo_comb.h"

#include <exception>
#include <string>

#include "examinee/bas_public.h"
#include "judgement/syo_comb_text.h"
#include "platform/text/cp932.h"
#include "platform/text/vb.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/shell.h"
#include "platform/ui/text_edit.h"
#include "suite/qzp016.h"

namespace qz {

ui::FormSlot<FrmSyoComb> frmSyoComb;

namespace {

constexpr const char* kMessageTitle = "ﾒｯｾｰｼﾞ";
constexpr std::size_t kMasterTextBytes = 200;

// Places the caret of `box` at the end of its text.
void CaretToEnd(ui::TextBox& box) {
  box.sel_start = ui::CharLength(box.text());
  box.sel_length = 0;
}

// Gives `control` the focus when it can take it now; a dialog not on
// screen (a test driving a handler) keeps its focus as it is.
void FocusIfPossible(ui::Form& form, ui::Control& control) {
  if (form.visible() && control.CanFocus()) form.SetFocusTo(&control);
}

}  // namespace

FrmSyoComb::FrmSyoComb()
    : Form("frmSyoComb"),
      tabSyoList(Add<grid::TabStrip>("tabSyoList")),
      flexSyoList(Add<grid::ListGrid>("flexSyoList")),
      fraSearch(Add<ui::Frame>("fraSearch")),
      lblRCode(Add<ui::Label>("lblRCode")),
      txtRCode(Add<ui::TextBox>("txtRCode")),
      cmdSearch(Add<ui::CommandButton>("cmdSearch")),
      fraSyoken(Add<ui::Frame>("fraSyoken")),
      Frame1(Add<ui::Frame>("Frame1")),
      txtSyoken(Add<ui::TextBox>("txtSyoken")),
      Label1(Add<ui::Label>("Label1")),
      cmdDecision(Add<ui::CommandButton>("cmdDecision")),
      cmdCancel(Add<ui::CommandButton>("cmdCancel")),
      cmdClose(Add<ui::CommandButton>("cmdClose")),
      cmdMaster(Add<ui::CommandButton>("cmdMaster")) {
  caption = kSyoCombCaption;
  key_preview = true;
  Move(0, 0, 10600, 11400);

  fraSearch.Move(120, 60, 4800, 600);
  lblRCode.caption = "略称：";
  lblRCode.container = &fraSearch;
  lblRCode.Move(120, 200, 600, 300);
  txtRCode.container = &fraSearch;
  txtRCode.Move(720, 160, 2400, 330);
  txtRCode.max_length = 6;
  txtRCode.ime_mode = 2;  // single-byte codes
  cmdSearch.caption = "検索";
  cmdSearch.container = &fraSearch;
  cmdSearch.Move(3300, 140, 1300, 380);

  tabSyoList.Move(120, 760, 10200, 800);
  flexSyoList.Move(120, 1600, 10200, 7100);
  flexSyoList.SetCols(kSyoColCount);
  flexSyoList.SetFixedCols(0);

  fraSyoken.Move(120, 8760, 10200, 1560);
  Frame1.container = &fraSyoken;
  Frame1.Move(120, 240, 9960, 900);
  txtSyoken.container = &Frame1;
  txtSyoken.Move(60, 160, 9840, 660);
  txtSyoken.multi_line = true;
  Label1.container = &fraSyoken;
  Label1.Move(120, 1180, 9960, 300);

  cmdDecision.caption = "確定";
  cmdDecision.Move(120, 10440, 1600, 500);
  cmdCancel.caption = "取消";
  cmdCancel.Move(1840, 10440, 1600, 500);
  cmdClose.caption = "戻る";
  cmdClose.Move(3560, 10440, 1600, 500);
  cmdMaster.caption = "所見マスタへ登録";
  cmdMaster.Move(8320, 10440, 2000, 500);

  int tab = 0;
  for (ui::Control* c : {static_cast<ui::Control*>(&txtRCode), static_cast<ui::Control*>(&cmdSearch),
                         static_cast<ui::Control*>(&tabSyoList), static_cast<ui::Control*>(&flexSyoList),
                         static_cast<ui::Control*>(&txtSyoken), static_cast<ui::Control*>(&cmdDecision),
                         static_cast<ui::Control*>(&cmdCancel), static_cast<ui::Control*>(&cmdClose),
                         static_cast<ui::Control*>(&cmdMaster)}) {
    c->tab_index = tab++;
  }

  on_load = [this] { Form_Load(); };
  on_key_down = [this](int& key_code, int& shift) { Form_KeyDown(key_code, shift); };
  on_unload = [this](int& cancel) { Form_Unload(cancel); };
  cmdDecision.on_click = [this] { cmdDecision_Click(); };
  cmdCancel.on_click = [this] { cmdCancel_Click(); };
  cmdClose.on_click = [this] { cmdClose_Click(); };
  cmdSearch.on_click = [this] { cmdSearch_Click(); };
  cmdMaster.on_click = [this] { cmdMaster_Click(); };
  tabSyoList.on_click = [this] { tabSyoList_Click(); };
  tabSyoList.on_key_down = [this](int& key_code, int shift) { tabSyoList_KeyDown(key_code, shift); };
  txtRCode.on_got_focus = [this] { txtRCode_GotFocus(); };
  txtRCode.on_key_press = [this](int& key_ascii) { txtRCode_KeyPress(key_ascii); };
  txtSyoken.on_got_focus = [this] { Sub_ShowCaretInfo(); };
  txtSyoken.on_key_press = [this](int& key_ascii) { txtSyoken_KeyPress(key_ascii); };
  txtSyoken.on_key_up = [this](int& key_code, int& shift) { txtSyoken_KeyUp(key_code, shift); };
  txtSyoken.on_change = [this] { txtSyoken_Change(); };
  txtSyoken.on_mouse_up = [this](int, int, float, float) { Sub_ShowCaretInfo(); };
  flexSyoList.on_got_focus = [this] { flexSyoList_GotFocus(); };
  flexSyoList.on_lost_focus = [this] { flexSyoList_LostFocus(); };
  flexSyoList.on_key_down = [this](int& key_code, int shift) { flexSyoList_KeyDown(key_code, shift); };
  flexSyoList.on_mouse_up = [this](int button, int shift, float x, float y) {
    flexSyoList_MouseUp(button, shift, x, y);
  };
}

// --- Load and unload -----------------------------------------------------------

void FrmSyoComb::Form_Load() {
  try {
    SearchText = basPublic.SyoSearchRcode;
    EntryText = basPublic.SyoSearchText;
    SetSyokenText(EntryText);
    CombinedHan = basPublic.SyoSearchHan;
    basPublic.SyoSearchDecided = false;
    HideHighlight();
    flexSyoList.SetRowHeight(-1, kSyoRowTwips);

    const Currency type = basPublic.SyoSearchKomCode;
    std::int32_t error = 0;
    Sub_SearchSyoList(type, "", error, "");
    if (NextRow == 1) {
      tag = "1";
      Sub_ShowSyoMessage(1);
      return;
    }

    Sub_LoadSyoTabs();
    error = 0;
    Sub_SearchSyoList(type, SearchText, error, SelectedTabTag());
    if (error != 0) {
      ui::MsgBox("ｴﾗｰが発生しました。", ui::MsgButtons::kOk, ui::MsgIcon::kCritical, "ｴﾗｰ発生");
    } else if (NextRow == 1 && vb::IsNumeric(SearchText)) {
      Sub_SearchSyoCode(type, vb::CLng(SearchText), error);
      if (NextRow == 2 && flexSyoList.TextMatrix(1, kSyoColTitle) == "1") {
        // A heading is no finding: refused as a pick of it is, nothing
        // handed back.
        ui::MsgBox("タイトル用所見は選択できません。", ui::MsgButtons::kOk, ui::MsgIcon::kExclamation, "結果入力");
        tag = "1";
        return;
      }
      if (NextRow == 2) {
        // One finding has exactly this code: it is the operator's choice,
        // handed back as a decision without showing the list.
        Sub_ReturnSyoken(vb::RTrim(flexSyoList.TextMatrix(1, kSyoColSykn)),
                         vb::CInt(flexSyoList.TextMatrix(1, kSyoColHan)));
        basPublic.SyoSearchDecided = true;
        tag = "1";
        return;
      }
    }
  } catch (const std::exception&) {
    ui::MsgBox("ｴﾗｰが発生しました。", ui::MsgButtons::kOk, ui::MsgIcon::kCritical, "ｴﾗｰ発生");
  }
  // Shown with whatever the list holds.
  HideHighlight();
  CaretToEnd(txtSyoken);
  txtRCode.SetText(SearchText);
  txtRCode.sel_start = 0;
  txtRCode.sel_length = ui::CharLength(SearchText);
}

void FrmSyoComb::Form_Unload(int& /*cancel*/) { basPublic.SyoSearchOpen = false; }

void FrmSyoComb::Form_KeyDown(int& key_code, int& /*shift*/) {
  switch (key_code) {
    case ui::kKeyF5:
      key_code = 0;
      cmdSearch_Click();
      break;
    case ui::kKeyF9:
      key_code = 0;
      cmdCancel_Click();
      break;
    case ui::kKeyF12:
      key_code = 0;
      cmdDecision_Click();
      break;
    default:
      break;
  }
}

// --- Buttons -------------------------------------------------------------------

void FrmSyoComb::cmdDecision_Click() {
  if (Fnc_CheckSyokenLength() != 0) {
    Sub_ShowSyoMessage(3);
    return;
  }
  basPublic.SyoSearchDecided = true;
  Sub_ReturnSyoken(txtSyoken.text(), CombinedHan);
  Unload();
}

void FrmSyoComb::cmdCancel_Click() {
  Label1.caption.clear();
  txtRCode.SetText("");
  SetSyokenText(EntryText);
  CaretToEnd(txtSyoken);
  CombinedHan = basPublic.SyoSearchHan;
  SearchText.clear();
  ResearchQuietly();
}

void FrmSyoComb::cmdClose_Click() {
  if (txtSyoken.text() != EntryText &&
      ui::MsgBox("所見を変更せずに終了します。よろしいですか？", ui::MsgButtons::kOkCancel,
                 ui::MsgIcon::kQuestion, kMessageTitle) != ui::MsgResult::kOk) {
    return;
  }
  Unload();
}

void FrmSyoComb::cmdSearch_Click() {
  SearchText = txtRCode.text();
  ResearchQuietly();
  try {
    FocusIfPossible(*this, flexSyoList);
    SelectFirstRow();
  } catch (const std::exception&) {
    // A list that cannot take the focus keeps the search's rows.
  }
}

void FrmSyoComb::cmdMaster_Click() {
  const std::string text = txtSyoken.text();
  if (text::Cp932Length(text) > kMasterTextBytes) {
    // The registration area holds 200 bytes: a longer finding is refused
    // rather than registered cut.
    Sub_ShowSyoMessage(3);
    return;
  }
  const std::string tab = SelectedTabTag();
  std::string area = text::ToCp932(vb::Format(basPublic.SyoSearchKomCode, "0000000000") +
                                   (tab.empty() ? std::string("00") : vb::Format(tab, "00")) +
                                   text::PadRightB(text, kMasterTextBytes));
  suite::QZP016(area);
}

// --- Tabs and typed code ---------------------------------------------------------

void FrmSyoComb::tabSyoList_Click() {
  const int index = tabSyoList.selected_index();
  if (index == LastTabIndex) return;
  ResearchQuietly();
  LastTabIndex = index;
}

void FrmSyoComb::tabSyoList_KeyDown(int& key_code, int /*shift*/) {
  if (key_code != ui::kKeyReturn) return;
  try {
    FocusIfPossible(*this, flexSyoList);
  } catch (const std::exception&) {
  }
}

void FrmSyoComb::txtRCode_GotFocus() {
  txtRCode.sel_start = 0;
  txtRCode.sel_length = ui::CharLength(txtRCode.text());
}

void FrmSyoComb::txtRCode_KeyPress(int& key_ascii) {
  if (key_ascii == ui::kKeyReturn) {
    key_ascii = 0;
    cmdSearch_Click();
    return;
  }
  if (!TakesTypedCodeChar(key_ascii)) key_ascii = 0;
}

// --- The findings text -------------------------------------------------------------

void FrmSyoComb::txtSyoken_KeyPress(int& key_ascii) {
  if (key_ascii == ui::kKeyReturn) key_ascii = 0;
  Sub_ShowCaretInfo();
  if (vb::RTrim(txtSyoken.text()).empty()) CombinedHan = 0;
}

void FrmSyoComb::txtSyoken_KeyUp(int& /*key_code*/, int& /*shift*/) {
  Sub_ShowCaretInfo();
  if (vb::RTrim(txtSyoken.text()).empty()) CombinedHan = 0;
}

void FrmSyoComb::txtSyoken_Change() {
  // Only a text the operator changed resets the judgement; a caret or
  // selection move changes no text, and the dialog's own writes (a pick,
  // "取消", the load) keep the judgement they set. Typed back to the text
  // the dialog last wrote, the text has not changed after all: its
  // judgement comes back.
  if (settingText_ || basPublic.SyoCombHatErase != 1) return;
  if (!writtenHanKept_) {
    writtenHan_ = CombinedHan;
    writtenHanKept_ = true;
  }
  CombinedHan = txtSyoken.text() == writtenText_ ? writtenHan_ : std::int16_t{0};
}

void FrmSyoComb::SetSyokenText(const std::string& text) {
  settingText_ = true;
  txtSyoken.SetText(text);
  settingText_ = false;
  writtenText_ = text;
  writtenHanKept_ = false;
}

void FrmSyoComb::Sub_ShowCaretInfo() {
  try {
    Label1.caption = CaretInfoText(txtSyoken.text(), txtSyoken.sel_start, basPublic.SyoSearchMaxLen);
  } catch (const std::exception&) {
  }
}

std::int16_t FrmSyoComb::Fnc_CheckSyokenLength() const {
  return CheckSyokenLength(txtSyoken.text(), basPublic.SyoSearchMaxLen);
}

void FrmSyoComb::Sub_InsertPickedFinding() {
  const std::string finding = vb::RTrim(flexSyoList.TextMatrix(flexSyoList.row(), kSyoColSykn));
  const SyoTextEdit edit =
      InsertPickedFinding({txtSyoken.text(), txtSyoken.sel_start}, finding, basPublic.DivSykn);
  SetSyokenText(edit.text);
  txtSyoken.sel_start = edit.caret;
  txtSyoken.sel_length = 0;
}

void FrmSyoComb::Sub_ReturnSyoken(const std::string& text, std::int16_t judgement) {
  basPublic.SyoSearchText = text;
  basPublic.SyoSearchHan = judgement;
}

void FrmSyoComb::Sub_ShowSyoMessage(std::int16_t number) {
  const char* message = number == 1 ? "所見マスタが登録されていません"
                        : number == 3 ? "文字数が多すぎます。"
                                      : nullptr;
  if (message == nullptr) return;
  ui::Beep();
  ui::MsgBox(message, ui::MsgButtons::kOk, ui::MsgIcon::kCritical, kMessageTitle);
}

// --- Picking from the list ---------------------------------------------------------

void FrmSyoComb::flexSyoList_GotFocus() {
  flexSyoList.SetCol(0);
  flexSyoList.SetColSel(kSyoColCount - 1);
}

void FrmSyoComb::flexSyoList_LostFocus() { HideHighlight(); }

void FrmSyoComb::flexSyoList_KeyDown(int& key_code, int /*shift*/) {
  if (key_code != ui::kKeyReturn) return;
  try {
    if (CurrentRowIsTitle()) {
      ui::Beep();
      return;
    }
    flexSyoList.SetRowSel(flexSyoList.row());
    TakeRowJudgement();
    const std::string finding = vb::RTrim(flexSyoList.TextMatrix(flexSyoList.row(), kSyoColSykn));
    SetSyokenText(AppendPickedFinding(txtSyoken.text(), finding, basPublic.DivSykn));
  } catch (const std::exception&) {
  }
}

void FrmSyoComb::flexSyoList_MouseUp(int button, int /*shift*/, float /*x*/, float y) {
  try {
    if (static_cast<float>(flexSyoList.rows() * kSyoRowTwips) < y) {
      HideHighlight();
      return;
    }
    if (button != 1) return;
    if (CurrentRowIsTitle()) {
      ui::Beep();
      FocusIfPossible(*this, txtSyoken);
      return;
    }
    flexSyoList.SetRowSel(flexSyoList.row());
    const std::string finding = flexSyoList.TextMatrix(flexSyoList.row(), kSyoColSykn);
    if (finding.empty() || flexSyoList.mouse_row() < flexSyoList.fixed_rows()) return;
    TakeRowJudgement();
    Sub_InsertPickedFinding();
    Sub_ShowCaretInfo();
    FocusIfPossible(*this, txtSyoken);
  } catch (const std::exception&) {
  }
}

bool FrmSyoComb::CurrentRowIsTitle() const {
  return flexSyoList.TextMatrix(flexSyoList.row(), kSyoColTitle) == "1";
}

void FrmSyoComb::TakeRowJudgement() {
  const std::int16_t han = vb::CInt(vb::Val(flexSyoList.TextMatrix(flexSyoList.row(), kSyoColHan)));
  if (han > CombinedHan) CombinedHan = han;
}

}  // namespace qz
