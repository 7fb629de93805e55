#include "examinee/bas_get_user.h"

#include "data/bas_file_access.h"
#include "data/common_sub.h"
#include "data/record_layouts.h"
#include "examinee/bas_public.h"
#include "platform/clock/clock.h"
#include "platform/runtime/app.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/vb.h"
#include "platform/ui/error_report.h"
#include "platform/ui/msgbox.h"

namespace qz {

BasGetUser basGetUser;

namespace {

const std::string& Definition() { return data::QzloglfLayout().definition; }

// The messages of the logon read: OK only, no icon, the program's title.
void Tell(const std::string& text) { ui::MsgBox(text, ui::MsgButtons::kOk, ui::MsgIcon::kNone, App().title); }

}  // namespace

bool Fnc_OpenLogMaster() {
  basGetUser.QZLOGLFObj = std::make_unique<record::BtrAccess>();
  const data::FileLayout& layout = data::QzloglfLayout();
  if (basGetUser.QZLOGLFObj->OpenFile(layout.file, layout.definition, basPublic.VlmfPath, basPublic.SpecPath)) {
    return true;
  }
  ui::MsgBox("ログオン情報マスタオープンエラー", ui::MsgButtons::kOk, ui::MsgIcon::kCritical, "エラー");
  return false;
}

void Sub_DefineLogFields() { DefineLayoutFields(*basGetUser.QZLOGLFObj, data::QzloglfLayout()); }

void Sub_CloseLogMaster() {
  if (!basGetUser.QZLOGLFObj) return;
  basGetUser.QZLOGLFObj->CloseFile();
  basGetUser.QZLOGLFObj.reset();
}

bool Fnc_GetLogonUser(std::string& user_id) {
  user_id.clear();
  bool result = false;
  try {
    if (!Fnc_OpenLogMaster()) {
      basGetUser.QZLOGLFObj.reset();
      return false;
    }
    Sub_DefineLogFields();
    record::BtrAccess& log = *basGetUser.QZLOGLFObj;
    const std::string computer = Fnc_GetComputerName();

    log.SetField("REN", static_cast<std::int64_t>(99999999));
    const int first = log.GetLessOrEqual(Definition());
    if (first != record::kStatusOk) {
      Tell(first == record::kStatusEndOfFile
               ? std::string("ログオン情報が存在しません。")
               : "ログオン情報マスタの読み込みに失敗しました\r\nステータス : " + std::to_string(first));
      Sub_CloseLogMaster();
      return false;
    }
    // Backwards from the latest row; rows of earlier days do not end the walk.
    const std::int32_t today = Today();
    while (true) {
      if (vb::Trim(log.GetField("TNAME").ToText()) == computer && log.GetField("DATE").ToLong() == today) {
        user_id = vb::Trim(log.GetField("UNAME").ToText());
        result = true;
        break;
      }
      if (log.GetPrevious() != record::kStatusOk) {
        Tell("ログオン情報が取得できませんでした。");
        break;
      }
    }
  } catch (const RunTimeError& e) {
    ui::ShowErrorReport("ログオンユーザの取得処理でエラーが発生しました。", e, ui::MsgIcon::kCritical, App().title);
    user_id.clear();
    result = false;
  }
  Sub_CloseLogMaster();
  return result;
}

}  // namespace qz
