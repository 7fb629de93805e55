#include "examinee/bas_get_user_info.h"

#include "data/bas_file_access.h"
#include "platform/runtime/app.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/vb.h"
#include "platform/ui/error_report.h"
#include "platform/ui/msgbox.h"

namespace qz {
namespace {

constexpr const char* kDefinition = "QZUSRLF";
constexpr const char* kJobText = "ユーザ情報の取得処理でエラーが発生しました。";

void Tell(const std::string& text, const std::string& title) {
  ui::MsgBox(text, ui::MsgButtons::kOk, ui::MsgIcon::kNone, title);
}

std::string StatusLine(int status) { return "\r\nステータス : " + std::to_string(status); }

// Reads user `id` into the user master's buffer; the status of the read.
int ReadUser(const std::string& id) {
  record::BtrAccess& usr = *basFileAccess.QZUSRLFObj;
  usr.SetField("ID", id);
  return usr.GetEqual(kDefinition);
}

// DSPKBN when it reads as a number, else 0.
std::int16_t DisplayClass(const record::BtrAccess& usr) {
  try {
    const std::string text = usr.GetField("DSPKBN").ToText();
    return vb::IsNumeric(text) ? vb::CInt(text) : 0;
  } catch (const RunTimeError&) {
    return 0;
  }
}

}  // namespace

bool Fnc_GetUserInfo(const std::string& id, std::int32_t& first_group, std::string& name,
                     UserGroups& input_groups, std::int16_t& display_class) {
  try {
    if (!basFileAccess.QZUSRLFObj) throw RunTimeError(kErrObjectRequired);
    const int status = ReadUser(id);
    if (status == record::kStatusNotFound) {
      Tell("「" + id + "」の利用者マスタは登録されていません", App().title);
      return false;
    }
    if (status != record::kStatusOk) {
      Tell("「" + id + "」の利用者マスタの読み込みに失敗しました" + StatusLine(status), App().title);
      return false;
    }
    const record::BtrAccess& usr = *basFileAccess.QZUSRLFObj;
    first_group = static_cast<std::int32_t>(usr.GetField("1STGRP").ToLong());
    name = usr.GetField("EXPLAIN").ToText();
    bool any_group = false;
    for (int i = 1; i <= 100; ++i) {
      input_groups[i] = static_cast<std::int32_t>(usr.GetField("INPGRP_" + std::to_string(i)).ToLong());
      if (input_groups[i] != 0) any_group = true;
    }
    display_class = DisplayClass(usr);
    if (!any_group) {
      Tell("入力可能グループがセットされていません。\r\n利用者ID : " + id, "結果入力");
      return false;
    }
    return true;
  } catch (const RunTimeError& e) {
    ui::ShowErrorReport(kJobText, e, ui::MsgIcon::kCritical, App().title);
    return false;
  }
}

std::string Fnc_GetUserName(const std::string& id) {
  bool answered = false;
  return Fnc_GetUserName(id, answered);
}

std::string Fnc_GetUserName(const std::string& id, bool& answered) {
  answered = false;
  try {
    if (!basFileAccess.QZUSRLFObj) throw RunTimeError(kErrObjectRequired);
    const int status = ReadUser(id);
    if (status == record::kStatusOk) {
      std::string name = basFileAccess.QZUSRLFObj->GetField("EXPLAIN").ToText();
      answered = true;
      return name;
    }
    if (status == record::kStatusNotFound) {
      answered = true;
      return id;
    }
    Tell("「" + id + "」の利用者マスタの読み込みに失敗しました。" + StatusLine(status), App().title);
    return {};
  } catch (const RunTimeError& e) {
    ui::ShowErrorReport(kJobText, e, ui::MsgIcon::kCritical, App().title);
    return {};
  }
}

}  // namespace qz
