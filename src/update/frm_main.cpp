#include "update/frm_main.h"

#include "platform/ui/shell.h"
#include "update/bas_public.h"

namespace qz::update {

namespace {
FrmMain* g_main = nullptr;
}  // namespace

FrmMain* frmMain() { return g_main; }

void ProcessEvents() {
  if (ui::Shell::Current() != nullptr) ui::DoEvents();
}

FrmMain::FrmMain() : Form("frmMain") {
  caption = kTitle;
  font.name = "ＭＳ ゴシック";
  lblWaitMsg.caption = "バージョンアップ中です．しばらくお待ち下さい．．．";
  lblCopyCountLabel.caption = "コピーしたファイル：";
  g_main = this;
}

FrmMain::~FrmMain() {
  if (g_main == this) g_main = nullptr;
}

}  // namespace qz::update
