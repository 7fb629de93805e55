#include "examinee/cls_vlmf_qzonllf.h"

#include <exception>
#include <string>
#include <vector>

#include "data/common_sub.h"
#include "data/define_fields.h"
#include "data/record_layouts.h"
#include "examinee/bas_public.h"
#include "platform/system/machine_lock.h"
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
  if (vb::Trim(obj_->GetField("JYUNO").ToText()) != vb::Trim(H_PatID)) return false;
  if (vb::Trim(obj_->GetField("TERMNAME").ToText()) != ThisTerminal()) return true;
  // At this terminal: the program that started this one with the examinee
  // on its command line holds nothing against it. A row of this program's
  // job holds while the session that wrote it runs (another user or log-in
  // on this computer): only a row whose holder is gone is left behind.
  if (H_PatID == basPublic.StartExamineeNo) return false;
  if (obj_->GetField("GYONO").ToLong() != kOnlineJobNo) return true;
  return system::MachineLockHeldElsewhere(HolderLockName(H_PatID));
}

bool ClsVlmfQzonllf::LeftBehindHere(std::string_view H_PatID) const {
  return vb::Trim(obj_->GetField("JYUNO").ToText()) == vb::Trim(H_PatID) &&
         vb::Trim(obj_->GetField("TERMNAME").ToText()) == ThisTerminal() &&
         obj_->GetField("GYONO").ToLong() == kOnlineJobNo &&
         !system::MachineLockHeldElsewhere(HolderLockName(H_PatID));
}

std::string ClsVlmfQzonllf::HolderLockName(std::string_view H_PatID) {
  return "QZONLLF\n" + basPublic.VlmfPath + "\n" + ThisTerminal() + "\n" + vb::Trim(H_PatID);
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
  const std::string lock = HolderLockName(H_PatID);
  bool locked = false;  // taken by this registration
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
        if (failure == nullptr && !locked) {
          // Held for as long as the row: another session on this computer
          // sees the row as live. Taken by another process although no row
          // shows it: that session is just taking or giving the examinee.
          locked = system::TakeMachineLock(lock);
          if (!locked) {
            holder.found = true;
            holder.job = std::string(kOnlineJobName);
            holder.terminal = ThisTerminal();
          }
        }
        if (failure == nullptr && !holder.found) {
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
  if (locked && R_ConNo <= 0) system::ReleaseMachineLock(lock);
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
  // The row is live while this session runs (see Sub_HoldOnlineInfo).
  system::TakeMachineLock(HolderLockName(H_PatID));
  try {
    if (OpenTable()) {
      for (int attempt = 1; attempt <= kInsertAttempts; ++attempt) {
        const std::int32_t n = Fnc_GetFreeOnlineRen();
        if (n == -1) {
          system::ReleaseMachineLock(HolderLockName(H_PatID));
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
  system::ReleaseMachineLock(HolderLockName(H_PatID));
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
      const std::string examinee = read == record::kStatusOk ? obj_->GetField("JYUNO").ToText() : "";
      if (nothing_held || (read == record::kStatusOk && obj_->Delete() == record::kStatusOk)) {
        if (obj_->EndTrans() == record::kStatusOk) {
          CloseTable();
          if (!nothing_held) system::ReleaseMachineLock(HolderLockName(examinee));
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
