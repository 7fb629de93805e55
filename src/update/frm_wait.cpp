#include "update/frm_wait.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <vector>

#include "data/close_erase.h"
#include "data/ini_access.h"
#include "platform/path/host_path.h"
#include "platform/path/no_case.h"
#include "platform/system/window_finder.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/shell.h"
#include "update/bas_public.h"
#include "update/path_routines.h"
#include "update/process_list.h"
#include "update/run_log.h"
#include "update/steps.h"

namespace qz::update {

ui::FormSlot<FrmWait> frmWait;

namespace {

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// `path` as this machine's real path: links followed and "." and ".."
// resolved as far as it exists, so that one folder named in several ways
// (a link, "..", a closing separator) compares equal.
std::string RealPath(std::string_view path) {
  std::error_code ec;
  const std::filesystem::path given{std::string(path)};
  const std::filesystem::path real = std::filesystem::weakly_canonical(given, ec);
  return ec ? given.lexically_normal().string() : real.string();
}

bool AskYesNo(std::string_view text) {
  return ui::MsgBox(text, ui::MsgButtons::kYesNo, ui::MsgIcon::kQuestion, kTitle, 1) == ui::MsgResult::kYes;
}

}  // namespace

FrmWait::FrmWait() : Form("frmWait") {
  caption = kTitle;
  font.name = "ＭＳ ゴシック";
  font.size = 10;
  width = 5400;
  height = 3780;
  lblGuide.caption = "以下のプログラムが実行中です。";
  lblGuide.Move(240, 180, 4800, 300);
  lstPG.Move(240, 540, 4800, 2040);
  cmdRun.caption = "強制実行";
  cmdRun.Move(1200, 2760, 1800, 480);
  cmdCancel.caption = "中止";
  cmdCancel.Move(3240, 2760, 1800, 480);
  tmrTimer.interval = 1000;
  tmrTimer.enabled = true;
  on_load = [this] { Form_Load(); };
  on_activate = [this] { Form_Activate(); };
  on_query_unload = [this](int& cancel, int mode) { Form_QueryUnload(cancel, mode); };
  tmrTimer.on_timer = [this] { tmrTimer_Timer(); };
  cmdRun.on_click = [this] { cmdRun_Click(); };
  cmdCancel.on_click = [this] { cmdCancel_Click(); };
}

void FrmWait::Form_Load() {
  first_activation_ = true;
  basPublic.WaitProceed = false;
  // The processes report paths of this machine: the folder is compared in
  // that form, so that "D:\SUITE\" finds programs of its host folder.
  // Both it and the processes' paths are real paths, however either is named.
  program_folder_ = WithClosingSeparator(RealPath(path::ResolveSuitePath(basPublic.ProgramPath)));
  pg_list_path_ = basPublic.RootPath + "PGList.ini";
  own_path_ = RealPath(OwnExecutablePath());
  query_failed_ = false;
  Sub_CloseErase(*this);
  // At the left edge, its bottom on the work area's bottom (inside the
  // work area also when a task bar lies above it).
  std::int32_t l = 0, t = 0, r = 0, b = 0, w = 0, h = 0;
  if (Fnc_GetWorkArea(l, t, r, b, w, h)) Move(l, std::max(t, b - height));
  SetWindowState(ui::WindowState::kMinimized);
}

void FrmWait::Form_Activate() {
  if (!first_activation_) return;
  first_activation_ = false;
  Sub_Log("");
  if (Fnc_FindWindow(kMenuCaption)) {
    // The menu is brought to the front by the menu's own program when the
    // operator is told to close it; this window only waits.
    Sub_Log("「" + std::string(kMenuCaption) + "」が終了されるまで待機します。");
  } else {
    Sub_Log("「" + std::string(kMenuCaption) + "」が実行されていません。");
  }
}

void FrmWait::Form_QueryUnload(int& cancel, int unload_mode) {
  if (unload_mode == ui::kUnloadControlMenu) cancel = 1;
}

void FrmWait::tmrTimer_Timer() {
  lstPG.Clear();
  std::vector<std::string> paths;
  bool failed = false;
  const std::int32_t n = Fnc_GetProcessPaths("", paths, &failed);
  if (failed) {
    // Nothing could be asked: that is no answer that nothing runs.
    if (!query_failed_) Sub_Log("実行中のプログラムを取得できません。待機を続けます。");
    query_failed_ = true;
    if (!Fnc_FindWindow(kMenuCaption)) SetWindowState(ui::WindowState::kNormal);
    return;
  }
  query_failed_ = false;
  for (std::int32_t i = 1; i <= n; ++i) {
    const std::string p = RealPath(paths[static_cast<std::size_t>(i)]);
    if (!own_path_.empty() && p == own_path_) continue;
    if (p.size() < program_folder_.size()) continue;
    if (!path::EqualNoCase(std::string_view(p).substr(0, program_folder_.size()), program_folder_)) continue;
    lstPG.AddItem(Fnc_PGName(Fnc_FileName(p)));
  }
  if (lstPG.list_count() > 0) {
    ui::DoEvents();
    if (!Fnc_FindWindow(kMenuCaption)) SetWindowState(ui::WindowState::kNormal);
    return;
  }
  Sub_Log(basPublic.ProgramPath + "で実行中のプログラムが全て終了されました。");
  basPublic.WaitProceed = true;
  Unload();
}

void FrmWait::cmdRun_Click() {
  if (!AskYesNo("強制実行すると、マスタの更新に失敗する可能性があります。\r\nよろしいですか？")) return;
  basPublic.WaitProceed = true;
  Sub_Log("「" + cmdRun.caption + "」を押されたため、バージョンアップ処理を強制実行します。");
  Unload();
}

void FrmWait::cmdCancel_Click() {
  if (!AskYesNo("バージョンアップを中止します。\r\nよろしいですか？")) return;
  Sub_Log("「" + cmdCancel.caption + "」を押されたため、バージョンアップ処理を終了します。");
  Unload();
}

std::string FrmWait::Fnc_PGName(std::string_view file_name) const {
  std::string name = Fnc_GetIni("PG", Upper(file_name), "", pg_list_path_);
  return name.empty() ? std::string(file_name) : name;
}

bool Fnc_FindWindow(std::string_view caption) { return system::FindTopLevelWindow(caption); }

bool Fnc_GetWorkArea(std::int32_t& left, std::int32_t& top, std::int32_t& right, std::int32_t& bottom,
                     std::int32_t& width, std::int32_t& height) {
  ui::Shell* shell = ui::Shell::Current();
  if (shell == nullptr) return false;
  bool ok = false;
  const ui::TwipsRect area = shell->WorkAreaTwips(&ok);
  if (!ok) return false;
  left = area.left;
  top = area.top;
  right = area.right;
  bottom = area.bottom;
  width = area.width();
  height = area.height();
  return true;
}

void Sub_ShowWaitWindow() {
  frmWait->Show(true);
}

}  // namespace qz::update
