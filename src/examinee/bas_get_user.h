// basGetUser: who is logged on at this terminal today, from the suite's
// logon table QZLOGLF.
//
// The table is filled by the suite's logon; this program only reads it. Each
// call opens the table into its own data-access object, walks it from the
// highest running number REN backwards to the first row whose terminal is
// this computer (its name compared exactly, case counting) and whose date is
// today, and closes it again: of several logons today the latest counts.
//
// Called by the start after the data paths are known (basPublic.VlmfPath,
// basPublic.SpecPath) and with a shell installed (it shows its own
// messages). One thread only.
#ifndef QZ_EXAMINEE_BAS_GET_USER_H_
#define QZ_EXAMINEE_BAS_GET_USER_H_

#include <memory>
#include <string>

#include "platform/record/btr_access.h"

namespace qz {

struct BasGetUser {
  // The logon table while Fnc_GetLogonUser runs; empty otherwise.
  std::unique_ptr<record::BtrAccess> QZLOGLFObj;
};

extern BasGetUser basGetUser;

// Sets `user_id` to the trimmed UNAME of today's logon of this computer and
// returns true. Otherwise `user_id` is empty, the reason has been shown
// ("ログオン情報マスタオープンエラー", "ログオン情報が存在しません。", the read
// status, "ログオン情報が取得できませんでした。", or the error report of a
// run-time error) and the result is false. The table is closed either way.
bool Fnc_GetLogonUser(std::string& user_id);

// Opens QZLOGLF.BTR into a fresh basGetUser.QZLOGLFObj. On failure shows
// "ログオン情報マスタオープンエラー" and returns false.
bool Fnc_OpenLogMaster();

// Declares the fields of the open logon table (REN, UNAME, TNAME, DATE, as
// the log-on table's layout gives them).
void Sub_DefineLogFields();

// Closes the logon table and releases its object (nothing when none).
void Sub_CloseLogMaster();

}  // namespace qz

#endif  // QZ_EXAMINEE_BAS_GET_USER_H_
