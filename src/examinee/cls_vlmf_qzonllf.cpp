#include "examinee/cls_vlmf_qzonllf.h"

#include <exception>
#include <string>
#include <vector>

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

bool ClsVlmfQzonllf::HeldElsewhere(std::string_view H_PatID) const {
  if (vb::Trim(obj_->GetField("JYUNO").ToText()) != H_PatID) return false;
  if (vb::Trim(obj_->GetField("TERMNAME").ToText()) != ThisTerminal()) return true;
  // At this terminal: the program that started this one with the examinee
  // on its command line, or a row this program left behind (it ended
  // without its end processing). Neither holds the examinee against it.
  return H_PatID != basPublic.StartExamineeNo && obj_->GetField("GYONO").ToLong() != kOnlineJobNo;
}

bool ClsVlmfQzonllf::LeftBehindHere(std::string_view H_PatID) const {
  return vb::Trim(obj_->GetField("JYUNO").ToText()) == H_PatID &&
         vb::Trim(obj_->GetField("TERMNAME").ToText()) == ThisTerminal() &&
         obj_->GetField("GYONO").ToLong() == kOnlineJobNo;
}

std::string ClsVlmfQzonllf::ThisTerminal() {
  return vb::Trim(text::LeftB(Fnc_GetComputerName(), kTermNameBytes));
}

void ClsVlmfQzonllf::TellHolder(std::string_view H_PatID, const Holder& holder) {
  ui::Beep();
  ui::MsgBox("[受診者番号:" + std::string(H_PatID) + "]の受診者は､\r\n" + holder.terminal + "で『" + holder.job +
                 "』に使用されています。",
             ui::MsgButtons::kOk, ui::MsgIcon::kExclamation, "結果入力");
}

int ClsVlmfQzonllf::FindHolder(std::string_view H_PatID, Holder& holder, std::vector<std::int32_t>* left_behind) {
  obj_->SetField("REN", 1);
  int status = obj_->GetGreaterOrEqual(Definition());
  while (status == record::kStatusOk) {
    if (HeldElsewhere(H_PatID)) {
      holder.found = true;
      holder.job = vb::Trim(obj_->GetField("GYONAME").ToText());
      holder.terminal = vb::Trim(obj_->GetField("TERMNAME").ToText());
      return record::kStatusOk;
    }
    if (left_behind != nullptr && LeftBehindHere(H_PatID)) {
      left_behind->push_back(static_cast<std::int32_t>(obj_->GetField("REN").ToLong()));
    }
    status = obj_->GetNext();
  }
  // The end of the table ends the walk; any other status is a read that
  // failed, and a holder may lie beyond it.
  return status == record::kStatusNotFound || status == record::kStatusEndOfFile ? record::kStatusOk : status;
}

void ClsVlmfQzonllf::Sub_ReadOnlineInfo(std::string_view H_PatID, bool& R_Result, std::uint8_t H_ExMode) {
  R_Result = true;
  Holder holder;
  bool read = false;
  try {
    read = OpenTable() && FindHolder(H_PatID, holder, nullptr) == record::kStatusOk;
  } catch (const std::exception&) {
    read = false;  // reported below like a read failure
  }
  CloseTable();
  if (!read) {
    TellFailure("ログオン情報のレコードが取得ができませんでした。");
    R_Result = false;
    return;
  }
  if (!holder.found) return;
  R_Result = false;
  if (H_ExMode != 1) TellHolder(H_PatID, holder);
}

void ClsVlmfQzonllf::Sub_HoldOnlineInfo(std::string_view H_PatID, std::int32_t& R_ConNo) {
  R_ConNo = -1;
  Holder holder;
  const char* failure = nullptr;
  bool in_transaction = false;
  try {
    if (!OpenTable()) {
      failure = "ログオン情報のレコードが取得ができませんでした。";
    } else if (obj_->BeginTrans() != record::kStatusOk) {
      failure = "オンラインマスタのレコードの作成時にエラーが発生しました。";
    } else {
      // The transaction's first read takes the table's write lock: no
      // other terminal checks or registers until this one has ended.
      in_transaction = true;
      std::vector<std::int32_t> left_behind;
      if (FindHolder(H_PatID, holder, &left_behind) != record::kStatusOk) {
        failure = "ログオン情報のレコードが取得ができませんでした。";
      } else if (!holder.found) {
        for (std::int32_t ren : left_behind) {
          obj_->SetField("REN", static_cast<std::int64_t>(ren));
          if (obj_->GetEqual(Definition()) != record::kStatusOk || obj_->Delete() != record::kStatusOk) {
            failure = "オンラインマスタのレコードの作成時にエラーが発生しました。";
            break;
          }
        }
        std::int32_t n = -1;
        if (failure == nullptr) {
          n = Fnc_GetFreeOnlineRen();
          if (n == -1) failure = "連番の取得に失敗しました。";
        }
        if (failure == nullptr) {
          SetRow(H_PatID, n);
          if (obj_->Insert(Definition()) == record::kStatusOk && obj_->EndTrans() == record::kStatusOk) {
            in_transaction = false;
            R_ConNo = n;
          } else {
            failure = "オンラインマスタのレコードの作成時にエラーが発生しました。";
          }
        }
      }
    }
  } catch (const std::exception&) {
    failure = "オンラインマスタのレコードの作成時にエラーが発生しました。";
  }
  if (in_transaction) obj_->AbortTrans();
  CloseTable();
  // Messages only now: a box left standing must not hold the table.
  if (failure != nullptr) {
    R_ConNo = -1;
    TellFailure(failure);
  } else if (holder.found) {
    R_ConNo = 0;
    TellHolder(H_PatID, holder);
  }
}

void ClsVlmfQzonllf::SetRow(std::string_view H_PatID, std::int32_t ren) {
  obj_->SetField("REN", static_cast<std::int64_t>(ren));
  obj_->SetField("JYUNO", H_PatID);
  obj_->SetField("TERMNAME", Fnc_GetComputerName());
  obj_->SetField("GYONO", kOnlineJobNo);
  obj_->SetField("GYONAME", kOnlineJobName);
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
        SetRow(H_PatID, n);
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
  if (in_transaction) obj_->AbortTrans();
  CloseTable();
  TellFailure("オンラインマスタのレコードの作成時にエラーが発生しました。");
  R_ConNo = -1;
}

void ClsVlmfQzonllf::Sub_DelOnlineInfo(std::string_view H_RenNo, bool& R_Result) {
  R_Result = true;
  bool in_transaction = false;
  try {
    if (OpenTable() && obj_->BeginTrans() == record::kStatusOk) {
      in_transaction = true;
      obj_->SetField("REN", H_RenNo);
      const int read = obj_->GetEqual(Definition());
      // No such row, or a row of another terminal (the number may have been
      // given to that terminal since): nothing of this program's to release.
      const bool nothing_held =
          read == record::kStatusNotFound ||
          (read == record::kStatusOk && vb::Trim(obj_->GetField("TERMNAME").ToText()) != ThisTerminal());
      if (nothing_held || (read == record::kStatusOk && obj_->Delete() == record::kStatusOk)) {
        if (obj_->EndTrans() == record::kStatusOk) {
          CloseTable();
          return;
        }
      }
    }
  } catch (const std::exception&) {
    // Reported below.
  }
  if (in_transaction) obj_->AbortTrans();
  CloseTable();
  TellFailure("オンラインマスタのレコードの削除時にエラーが発生しました。");
  R_Result = false;
}

}  // namespace qz
