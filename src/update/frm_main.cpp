#include "update/frm_main.h"

#include <string>

#include "data/create_process.h"
#include "platform/runtime/run_time_error.h"
#include "platform/system/end_requests.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/shell.h"
#include "update/bas_public.h"
#include "update/org_ini.h"
#include "update/path_routines.h"
#include "update/run_journal.h"
#include "update/run_log.h"
#include "update/steps.h"
#include "update/target_check.h"

namespace qz::update {

namespace {

FrmMain* g_main = nullptr;
bool g_completed = false;
bool g_passed_over = false;  // went on past a failure in this run

const std::string kAsterisks(70, '*');

constexpr ui::Color kGaugeColor = 0xFF0000;  // blue (0xBBGGRR)
constexpr ui::Color kGaugeBack = 0xFFFFFF;   // white

void Critical(const std::string& text) {
  ui::MsgBox(text, ui::MsgButtons::kOk, ui::MsgIcon::kCritical, kTitle);
}

void Separator() {
  Sub_Log("");
  Sub_Log(kAsterisks);
}

// Puts back every file moved aside in the running conversion section.
bool PutBackMovedFiles() {
  bool ok = true;
  std::vector<RenameBackEntry>& list = basPublic.RenameBackList;
  for (std::size_t k = 1; k < list.size(); ++k) {
    if (!Fnc_ReNameBack(list[k].MovedName, list[k].OwnName)) ok = false;
  }
  return ok;
}

// Logs a request to end the program that came as a signal while the run
// holds such requests off (as it refuses the close box).
void LogHeldEndRequest() {
  if (const int signal_number = system::TakeEndRequest(); signal_number != 0) {
    Sub_Log("バージョンアップ処理中のため、終了要求（シグナル " + std::to_string(signal_number) +
            "）を受け付けません。");
  }
}

}  // namespace

FrmMain* frmMain() { return g_main; }

bool RunCompleted() { return g_completed && !g_passed_over; }

void NoteFailurePassedOver() { g_passed_over = true; }

bool RunPassedOverFailure() { return g_completed && g_passed_over; }

void ProcessEvents() {
  LogHeldEndRequest();
  if (ui::Shell::Current() != nullptr) ui::DoEvents();
}

FrmMain::FrmMain() : Form("frmMain") {
  caption = kTitle;
  font.name = "ＭＳ ゴシック";
  font.size = 10;
  // The window: the waiting note, the step and its item, the gauge with
  // its counter, the copied files and the backup under way.
  width = 7560;
  height = 3840;
  lblWaitMsg.caption = "バージョンアップ中です．しばらくお待ち下さい．．．";
  lblWaitMsg.font.bold = true;
  lblWaitMsg.Move(360, 240, 6720, 300);
  lblTitle.Move(360, 720, 6720, 300);
  lblGuide.Move(360, 1080, 6720, 300);
  lblGageMax.back_color = kGaugeBack;
  lblGageMax.Move(360, 1500, 6720, 240);
  lblGageNow.back_color = kGaugeColor;
  lblGageNow.Move(360, 1500, 0, 240);
  lblCount.alignment = 1;
  lblCount.Move(360, 1800, 6720, 240);
  lblCopyCountLabel.caption = "コピーしたファイル：";
  lblCopyCountLabel.Move(360, 2160, 2400, 240);
  lblCopyCount.Move(2760, 2160, 1440, 240);
  lblBackup.font.size = 9;
  lblBackup.Move(360, 2640, 6720, 480);
  on_load = [this] { Form_Load(); };
  on_activate = [this] { Form_Activate(); };
  on_query_unload = [this](int& cancel, int mode) { Form_QueryUnload(cancel, mode); };
  on_unload = [this](int& cancel) { Form_Unload(cancel); };
  g_main = this;
  g_completed = false;
  g_passed_over = false;
}

FrmMain::~FrmMain() {
  if (g_main == this) g_main = nullptr;
}

void FrmMain::Form_Load() {
  Sub_Log("");
  Sub_Log("◆◇◆ メインフォーム読み込み ◆◇◆");
  first_activation_ = true;
  lblWaitMsg.caption = "バージョンアップ中です．しばらくお待ち下さい．．．";
  for (ui::Label* l : {&lblCount, &lblGageMax, &lblGageNow, &lblCopyCountLabel, &lblCopyCount}) l->visible = false;
  for (ui::Label* l : {&lblTitle, &lblGuide, &lblBackup, &lblCopyCount}) l->caption.clear();
  basPublic.FileSystem = std::make_shared<FileSystemObject>();
  ZOrder(0);
}

void FrmMain::Form_Activate() {
  if (!first_activation_) return;
  first_activation_ = false;
  Sub_VersionUp();
  Unload();
}

void FrmMain::Form_QueryUnload(int& cancel, int unload_mode) {
  // Closing mid-run would leave files half converted: only the program
  // itself unloads the window while the sequence runs.
  if (running_ && unload_mode != ui::kUnloadCode) {
    cancel = 1;
    Sub_Log("バージョンアップ処理中のため、画面を閉じることはできません。");
  }
}

void FrmMain::Form_Unload(int& /*cancel*/) {
  Sub_Log("");
  Sub_Log("■■■■■ バージョンアップ処理終了 ■■■■■");
  basPublic.FileSystem.reset();
  // As the program's main form, its unload ends the program (the shell).
}

void FrmMain::Sub_VersionUp() {
  // Neither the close box nor a signal ends the program half-way through.
  system::EndRequestsHeld held;
  g_completed = false;
  g_passed_over = false;
  running_ = true;
  ClearRunJournal();
  bool ok = false;
  bool started = false;  // the lock check passed: the installation may change
  bool crashed = false;
  try {
    Sub_Log("");
    Sub_Log("");
    Sub_Log("■■■■■ バージョンアップ処理開始 ■■■■■");
    if (basPublic.RunCheck) {
      ui::MsgBox("バージョンアップを開始します。", ui::MsgButtons::kOk, ui::MsgIcon::kInformation, kTitle);
    }
    ok = Fnc_LockCheck();
    started = ok;
    for (std::int32_t i = 0; ok && i <= basPublic.ConvertMax; ++i) ok = Fnc_ConvertSection(i);
    ok = ok && Fnc_MasterEdit();
    ok = ok && Fnc_ExternalEdit();
  } catch (const std::exception&) {
    ok = false;
    crashed = true;
  }
  if (!ok && started && !RunJournalEmpty()) {
    Sub_RollBack();
  } else {
    // Complete, or nothing of the installation changed: the journal goes.
    FinishRunJournal();
    if (crashed) Critical("バージョンアップに失敗しました。");
  }
  if (ok) {
    try {
      Sub_Log("");
      Sub_Log("");
      lblTitle.caption = "バージョンアップ処理が終了しました。";
      lblGuide.caption.clear();
      ProcessEvents();
      Sub_EndMessage();
      if (!Fnc_ChangeDir(basPublic.ProgramPath, false)) {
        std::string text = "「" + basPublic.ProgramPath + "」に移動できません。";
        Critical(text);
        Sub_Log(text);
        Critical("バージョンアップに失敗しました。");
      } else {
        g_completed = true;
        // A run that went on past a failure is not a complete version-up.
        std::string done = "バージョンアップ処理が終了しました。";
        if (g_passed_over) {
          Sub_Log("");
          Sub_Log("※失敗した処理を続行したため、バージョンアップは完了していません。");
          done += "\r\n\r\n失敗した処理を続行したため、バージョンアップは完了していません。\r\nログを確認して下さい。"
                  "\r\n\r\nログ : " + basPublic.LogFile;
        }
        if (basPublic.RunCheck) {
          if (ui::MsgBox(done + "\r\n\r\nバントリクを起動しますか？", ui::MsgButtons::kYesNo,
                         ui::MsgIcon::kInformation, kTitle) == ui::MsgResult::kYes) {
            Sub_Log("");
            Sub_Log("バントリクを起動します。");
            Sub_CreateProcess(hWnd(), "VANTORIK.EXE", "", 0);
          }
        } else {
          ui::MsgBox(done, ui::MsgButtons::kOk, ui::MsgIcon::kInformation, kTitle);
        }
      }
    } catch (const std::exception&) {
      g_completed = false;
      Critical("バージョンアップに失敗しました。");
    }
  }
  // Until here (the end messages, the closing boxes) a close would end the
  // program before its run is complete.
  LogHeldEndRequest();
  running_ = false;
  Separator();
}

void FrmMain::Sub_RollBack() {
  lblTitle.caption = "バージョンアップ前の状態に戻しています。";
  lblGuide.caption.clear();
  ProcessEvents();
  if (Fnc_RollBack()) {
    FinishRunJournal();
    Sub_Log("バージョンアップ前の状態に戻しました。");
    Critical("バージョンアップに失敗しました。\r\n\r\nバージョンアップ前の状態に戻しました。\r\n\r\nログ : " +
             basPublic.LogFile);
    return;
  }
  Critical("バージョンアップ前の状態に戻せませんでした。\r\n\r\nバックアップ : " + basPublic.LogFolder +
           "\r\n\r\nサポートセンターに連絡して下さい。");
}

bool FrmMain::Fnc_ConvertSection(std::int32_t i) {
  basPublic.RenameBackList.assign(1, RenameBackEntry{});
  std::string name = SectionName("Convert", i);
  Sub_Log("");
  Sub_Log("");
  Sub_Log("■■■ コンバート処理開始 ■■■");
  Sub_Log("セクション : " + name);
  Sub_Log("");
  bool result = false;
  try {
    std::int16_t t = Fnc_TargetCheck(name);
    if (t == kTargetApplies) Separator();
    if (TargetMalformed(t, name)) {
      result = false;
    } else if (i >= 1) {
      if (t != kTargetApplies) {
        result = true;
      } else if (Fnc_Convert1(name)) {
        Separator();
        result = Fnc_Convert2(name);
      }
    } else if (t != kTargetApplies || Fnc_Convert1(name)) {
      // The copy step runs once, between the export and the rebuild, even
      // when section 0 itself does not apply.
      Separator();
      if (Fnc_CopyMain()) {
        if (t != kTargetApplies) {
          result = true;
        } else {
          Separator();
          result = Fnc_Convert2(name);
        }
      }
    }
  } catch (...) {
    // The files moved aside go back even when a step fails on the way.
    PutBackMovedFiles();
    throw;
  }
  if (!PutBackMovedFiles()) result = false;
  Sub_Log("");
  Sub_Log("■■■ コンバート処理終了 ■■■");
  Sub_Log("");
  return result;
}

bool FrmMain::Fnc_MasterEdit() {
  Sub_Log("");
  Sub_Log("■■■ マスタ編集処理開始 ■■■");
  lblTitle.caption = "マスタのインポート中です。";
  lblGuide.caption.clear();
  ProcessEvents();
  bool ok = true;
  for (std::int32_t i = 0; ok && i <= basPublic.ImportMax; ++i) ok = Fnc_ImportSection(i);
  if (ok) {
    lblTitle.caption = "数値項目の初期化中です。";
    lblGuide.caption.clear();
    ProcessEvents();
    Separator();
    for (std::int32_t i = 0; ok && i <= basPublic.QzpcnvMax; ++i) ok = Fnc_NumInit(i);
  }
  Sub_Log("");
  Sub_Log("■■■ マスタ編集処理終了 ■■■");
  return ok;
}

bool FrmMain::Fnc_ExternalEdit() {
  Sub_Log("");
  Sub_Log("");
  Sub_Log("■■■ 外部編集処理開始 ■■■");
  lblTitle.caption = "外部編集処理中です。";
  lblGuide.caption.clear();
  ProcessEvents();
  bool ok = true;
  for (std::int32_t i = 0; ok && i <= 100; ++i) ok = Fnc_External(i);
  Sub_Log("");
  Sub_Log("■■■ 外部編集処理終了 ■■■");
  return ok;
}

void FrmMain::Sub_EndMessage() {
  Sub_Log("");
  Sub_Log("");
  Sub_Log("■■■ 終了メッセージ編集処理開始 ■■■");
  if (Fnc_ChangeDir(basPublic.RootPath, false)) {
    for (std::int32_t i = 0; i <= 100; ++i) {
      if (!Fnc_EndMessage(i)) break;
    }
  } else {
    std::string text = "「" + basPublic.RootPath + "」に移動できません。";
    Critical(text);
    Sub_Log(text);
  }
  Sub_Log("");
  Sub_Log("■■■ 終了メッセージ編集処理終了 ■■■");
}

}  // namespace qz::update
