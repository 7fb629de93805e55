// clsVlmfQzonllf: the on-line table QZONLLF, the suite's shared record of
// which examinee is in use at which terminal for which job.
//
// One row per examinee in use (REN the row number and key, JYUNO the
// examinee, TERMNAME the terminal, GYONO / GYONAME the job). This program
// writes job 3 "結果入力". Other programs of the suite, on this and other
// terminals, read and write the same table.
//
// Every caller creates a fresh object for one operation and releases it;
// the object holds its own data-access object and opens and closes the
// table itself in each operation (data folder basPublic.VlmfPath,
// definition folder basPublic.SpecPath). Failures are shown to the operator
// (a beep, a stop-icon message titled "BTRVエラー", no status); the caller
// sees only the result argument. Needs the program's shell. One thread.
#ifndef QZ_EXAMINEE_CLS_VLMF_QZONLLF_H_
#define QZ_EXAMINEE_CLS_VLMF_QZONLLF_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/record/btr_access.h"

namespace qz {

// This program's job in the on-line table.
inline constexpr int kOnlineJobNo = 3;
inline constexpr std::string_view kOnlineJobName = "結果入力";
// The title of the on-line table's failure messages.
inline constexpr std::string_view kOnlineErrorTitle = "BTRVエラー";

class ClsVlmfQzonllf {
 public:
  ClsVlmfQzonllf();   // Class_Initialize: creates the data-access object
  ~ClsVlmfQzonllf();  // Class_Terminate: closes and releases it

  ClsVlmfQzonllf(const ClsVlmfQzonllf&) = delete;
  ClsVlmfQzonllf& operator=(const ClsVlmfQzonllf&) = delete;

  // Whether examinee `H_PatID` may be used here. R_Result is False when a
  // row of another holder has JYUNO equal to H_PatID, both trimmed (an
  // examinee number shorter than its ten characters comes from the command
  // line with trailing blanks); then, unless H_ExMode is 1 (quiet), it beeps and
  // shows "[受診者番号:<id>]の受診者は､" / "<TERMNAME>で『<GYONAME>』に使用
  // されています。" (exclamation, "結果入力"). Rows of this terminal
  // (TERMNAME = this computer) hold nothing against this program when they
  // are for the command-line examinee (basPublic.StartExamineeNo: the
  // program that started this one) or of this program's own job left behind
  // by a session that no longer runs (see Sub_HoldOnlineInfo); every other
  // row holds, another session's of this program on this computer too. A table that cannot be
  // opened or read to its end gives False with "ログオン情報のレコードが取得
  // ができませんでした。".
  void Sub_ReadOnlineInfo(std::string_view H_PatID, bool& R_Result, std::uint8_t H_ExMode);

  // The check of Sub_ReadOnlineInfo and the registration of
  // Sub_SetOnlineInfo as one step: both in one transaction that holds the
  // table's write lock from the first read to the insert, so that of two
  // terminals taking the same examinee at once exactly one gets it. The
  // session that registers holds a lock of this computer for the examinee
  // (system::TakeMachineLock) until Sub_DelOnlineInfo releases the row or
  // the process ends: a row of this program at this terminal whose lock no
  // live process holds was left behind by a session that ended without its
  // end processing, and is replaced, not kept beside the new one. One whose
  // lock is held belongs to another live session and holds the examinee. R_ConNo is the new row's REN; 0 when another
  // holder was found (its message shown as by Sub_ReadOnlineInfo); -1 after
  // a failure (its message shown). Messages come after the transaction.
  void Sub_HoldOnlineInfo(std::string_view H_PatID, std::int32_t& R_ConNo);

  // Inserts this program's row for `H_PatID` at the lowest free REN, this
  // computer's name and job 3, in its own transaction. R_ConNo is the REN,
  // or -1 after a failure ("連番の取得に失敗しました。" or "オンライン
  // マスタのレコードの作成時にエラーが発生しました。" shown). A number taken
  // by another terminal at the same moment is chosen again (up to three
  // times in all).
  void Sub_SetOnlineInfo(std::string_view H_PatID, std::int32_t& R_ConNo);

  // Deletes row `H_RenNo` (a number as text) in its own transaction, and
  // gives back the lock that this session held with it.
  // R_Result is True when the row is gone: also when there was no such row,
  // or the row belongs to another terminal (it is left alone). False after
  // a failure, a read that failed included ("オンラインマスタのレコードの
  // 削除時にエラーが発生しました。"): the row may still be there.
  void Sub_DelOnlineInfo(std::string_view H_RenNo, bool& R_Result);

 private:
  // Opens the table and declares its layout; false when it does not open.
  bool OpenTable();
  // Sub_DefineOnlineFields.
  void Sub_DefineOnlineFields();
  // The lowest REN from 1 upward that no row holds; -1 on a read failure.
  std::int32_t Fnc_GetFreeOnlineRen();

  struct Holder {
    bool found = false;
    std::string job, terminal;  // GYONAME, TERMNAME, trimmed
  };
  // Walks the table for a row that holds `H_PatID` against this program;
  // `left_behind` (when given) receives the RENs of this program's own
  // rows for it at this terminal. 0, or the status of a read that failed.
  int FindHolder(std::string_view H_PatID, Holder& holder, std::vector<std::int32_t>* left_behind);
  // About the current row.
  bool HeldElsewhere(std::string_view H_PatID) const;
  bool LeftBehindHere(std::string_view H_PatID) const;
  static std::string ThisTerminal();
  // The name of the lock of this computer that a session holds with its
  // row for `H_PatID` in this data folder's table.
  static std::string HolderLockName(std::string_view H_PatID);
  static void TellHolder(std::string_view H_PatID, const Holder& holder);
  // The fields of this program's row for `H_PatID` at `ren`.
  void SetRow(std::string_view H_PatID, std::int32_t ren);
  void CloseTable();

  std::unique_ptr<record::BtrAccess> obj_;
};

}  // namespace qz

#endif  // QZ_EXAMINEE_CLS_VLMF_QZONLLF_H_
