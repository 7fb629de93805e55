#include "examinee/cls_vlmf_qzonllf.h"

#include <exception>
#include <string>

#include "data/common_sub.h"
#include "data/define_fields.h"
#include "data/record_layouts.h"
#include "examinee/bas_public.h"
#include "platform/text/cp932.h"
#include "platform/text/vb.h"
#include "platform/ui/msgbox.h"

namespace qz {

namespace {

const std::string& Definition() { return data::QzonllfLayout().definition; }

// A failure of the table: a beep, then the message with the stop icon.
void TellFailure(std::string_view text) {
  ui::Beep();
  ui::MsgBox(text, ui::MsgButtons::kOk, ui::MsgIcon::kCritical, kOnlineErrorTitle);
}

constexpr int kInsertAttempts = 3;
constexpr std::size_t kTermNameBytes = 20;  // TERMNAME

}  // namespace

ClsVlmfQzonllf::ClsVlmfQzonllf() : obj_(std::make_unique<record::BtrAccess>()) {}

ClsVlmfQzonllf::~ClsVlmfQzonllf() { CloseTable(); }

bool ClsVlmfQzonllf::OpenTable() {
  const data::FileLayout& layout = data::QzonllfLayout();
  CloseTable();
  if (!obj_->OpenFile(layout.file, layout.definition, basPublic.VlmfPath, basPublic.SpecPath)) return false;
  Sub_DefineOnlineFields();
  return true;
}

void ClsVlmfQzonllf::Sub_DefineOnlineFields() { DefineLayoutFields(*obj_, data::QzonllfLayout()); }

void ClsVlmfQzonllf::CloseTable() {
  if (obj_ && obj_->IsOpen()) obj_->CloseFile();
}

void ClsVlmfQzonllf::Sub_ReadOnlineInfo(std::string_view H_PatID, bool& R_Result, std::uint8_t H_ExMode) {
  R_Result = true;
  try {
    if (OpenTable()) {
      obj_->SetField("REN", 1);
      int status = obj_->GetGreaterOrEqual(Definition());
      if (status == record::kStatusNotFound || status == record::kStatusEndOfFile) {
        CloseTable();
        return;
      }
      while (status == record::kStatusOk) {
        const std::string holder = vb::Trim(obj_->GetField("JYUNO").ToText());
        if (holder == H_PatID && holder != basPublic.StartExamineeNo) {
          const std::string job = vb::Trim(obj_->GetField("GYONAME").ToText());
          const std::string terminal = vb::Trim(obj_->GetField("TERMNAME").ToText());
          CloseTable();
          R_Result = false;
          if (H_ExMode == 1) return;
          ui::Beep();
          ui::MsgBox("[受診者番号:" + std::string(H_PatID) + "]の受診者は､\r\n" + terminal + "で『" + job +
                         "』に使用されています。",
                     ui::MsgButtons::kOk, ui::MsgIcon::kExclamation, "結果入力");
          return;
        }
        status = obj_->GetNext();
      }
      // The end of the table ends the walk; any other status is a read
      // that failed, and a holder may lie beyond it.
      if (status == record::kStatusEndOfFile) {
        CloseTable();
        return;
      }
    }
  } catch (const std::exception&) {
    // Reported below like a read failure.
  }
  TellFailure("ログオン情報のレコードが取得ができませんでした。");
  CloseTable();
  R_Result = false;
}

std::int32_t ClsVlmfQzonllf::Fnc_GetFreeOnlineRen() {
  try {
    obj_->SetField("REN", 0);
    int status = obj_->GetGreater(Definition());
    if (status == record::kStatusNotFound || status == record::kStatusEndOfFile) return 1;
    if (status != record::kStatusOk) return -1;
    std::int32_t n = 1;
    while (obj_->GetField("REN").ToLong() == n) {
      ++n;
      status = obj_->GetNext();
      if (status == record::kStatusEndOfFile) break;
      if (status != record::kStatusOk) return -1;
    }
    return n;
  } catch (const std::exception&) {
    return -1;
  }
}

void ClsVlmfQzonllf::Sub_SetOnlineInfo(std::string_view H_PatID, std::int32_t& R_ConNo) {
  R_ConNo = 0;
  bool in_transaction = false;
  try {
    if (OpenTable()) {
      for (int attempt = 1; attempt <= kInsertAttempts; ++attempt) {
        const std::int32_t n = Fnc_GetFreeOnlineRen();
        if (n == -1) {
          TellFailure("連番の取得に失敗しました。");
          CloseTable();
          R_ConNo = -1;
          return;
        }
        if (obj_->BeginTrans() != record::kStatusOk) break;
        in_transaction = true;
        obj_->SetField("REN", static_cast<std::int64_t>(n));
        obj_->SetField("JYUNO", H_PatID);
        obj_->SetField("TERMNAME", Fnc_GetComputerName());
        obj_->SetField("GYONO", kOnlineJobNo);
        obj_->SetField("GYONAME", kOnlineJobName);
        const int status = obj_->Insert(Definition());
        if (status == record::kStatusOk) {
          if (obj_->EndTrans() != record::kStatusOk) break;
          in_transaction = false;
          CloseTable();
          R_ConNo = n;
          return;
        }
        obj_->AbortTrans();
        in_transaction = false;
        // Another terminal took the number between the choice and the
        // insert: choose again.
        if (status != record::kStatusDuplicateKey) break;
      }
    }
  } catch (const std::exception&) {
    // Reported below.
  }
  TellFailure("オンラインマスタのレコードの作成時にエラーが発生しました。");
  if (in_transaction) obj_->AbortTrans();
  CloseTable();
  R_ConNo = -1;
}

void ClsVlmfQzonllf::Sub_DelOnlineInfo(std::string_view H_RenNo, bool& R_Result) {
  R_Result = true;
  bool in_transaction = false;
  try {
    if (OpenTable()) {
      obj_->SetField("REN", H_RenNo);
      if (obj_->GetEqual(Definition()) != record::kStatusOk) {
        CloseTable();
        return;
      }
      // A row of another terminal is not this program's to release (the
      // number may have been given to that terminal since).
      if (vb::Trim(obj_->GetField("TERMNAME").ToText()) != vb::Trim(text::LeftB(Fnc_GetComputerName(), kTermNameBytes))) {
        CloseTable();
        return;
      }
      if (obj_->BeginTrans() == record::kStatusOk) {
        in_transaction = true;
        if (obj_->Delete() == record::kStatusOk && obj_->EndTrans() == record::kStatusOk) {
          CloseTable();
          return;
        }
      }
    }
  } catch (const std::exception&) {
    // Reported below.
  }
  TellFailure("オンラインマスタのレコードの削除時にエラーが発生しました。");
  if (in_transaction) obj_->AbortTrans();
  CloseTable();
  R_Result = false;
}

}  // namespace qz
