// basFileAccess: the data-access objects of the masters, the examinee and
// result files and the preview work files, and their open procedures.
//
// Each open procedure creates a fresh object in its slot (releasing the one
// that was there), opens its file with the data folder basPublic.VlmfPath
// and the definition folder basPublic.SpecPath, and declares the layout of
// record_layouts.h field by field. It returns true when the file is open and
// declared. A failed open shows "<name>オープンエラー" (title "エラー",
// critical icon), declares nothing and leaves the slot holding the unopened
// object; a run-time error shows the procedure's error report. Either way
// the result is false.
//
// Every other routine reads and writes through these objects by field name;
// none opens or closes a master itself. One thread only. Tests reset the
// module with `basFileAccess = BasFileAccess{}`.
#ifndef QZ_DATA_BAS_FILE_ACCESS_H_
#define QZ_DATA_BAS_FILE_ACCESS_H_

#include <memory>

#include "data/define_fields.h"
#include "data/guide_progress.h"
#include "data/record_layouts.h"
#include "platform/record/btr_access.h"

namespace qz {

using BtrObject = std::unique_ptr<record::BtrAccess>;

struct BasFileAccess {
  BtrObject QZJSNLFObj;    // 1 examinee master
  BtrObject QZJSN2LFObj;   // 2 examinee master by patient ID
  BtrObject QZDANLFObj;    // 3 organisation master
  BtrObject QZJKOLFObj;    // 4 consultation-items master
  BtrObject QZJRKLFObj;    // 5 consultation history
  BtrObject QZKOSLFObj;    // 6 course master
  BtrObject QZKSKLFObj;    // 7 course-items master
  BtrObject QZKOMLFObj;    // 8 examination-item master
  BtrObject QZGRPLFObj;    // 9 input-group master
  BtrObject QZKKKLFObj;    // 10 examination results
  BtrObject QZHATLFObj;    // 11 judgement (standard-range) master
  BtrObject QZSYOLFObj;    // 12 findings master, by tab
  BtrObject QZSYO2LFObj;   // 13 findings master, by typed code
  BtrObject QZSYO3LFObj;   // 14 findings master, by findings code
  BtrObject QZSYO4LFObj;   // 15 findings master, combo rows
  BtrObject SysObj;        // 16 settings master, the settings record
  BtrObject SysChohyoObj;  // 17 settings master, the report records
  BtrObject QZOCL2LFObj;   // 18 findings-tab master
  BtrObject QZUSRLFObj;    // 19 user master (opened by the log-on step)
  BtrObject QZCARLFObj;    // 20 insurer reception-number history
  BtrObject QZSYN2LFObj;   // 21 diagnosis-item master
  BtrObject QZJKRLFObj;    // 22 exam-ticket history
  BtrObject QJJRKLFObj;    // 23 preview work file: consultation history
  BtrObject QJKKKLFObj;    // 24 preview work file: examination results
};

extern BasFileAccess basFileAccess;

// --- Open procedures ----------------------------------------------------------
// The examinee master under both its definitions; "受診者マスタオープンエラー"
// or "受診者マスタ２オープンエラー". When the second fails the first stays
// open but undeclared.
bool Fnc_OpenJsnMaster();
bool Fnc_OpenDanMaster();
bool Fnc_OpenJkoMaster();
bool Fnc_OpenJrkMaster();
bool Fnc_OpenKkkMaster();
bool Fnc_OpenCarMaster();
bool Fnc_OpenJkrMaster();
bool Fnc_OpenKosMaster();
bool Fnc_OpenKskMaster();
bool Fnc_OpenKomMaster();
bool Fnc_OpenGrpMaster();
bool Fnc_OpenHatMaster();
bool Fnc_OpenSyoMaster();
bool Fnc_OpenSyo2Master();
bool Fnc_OpenSyo3Master();
bool Fnc_OpenSyo4Master();
bool Fnc_OpenSysMaster();
bool Fnc_OpenSysChohyoMaster();
bool Fnc_OpenOcl2Master();
bool Fnc_OpenUsrMaster();
bool Fnc_OpenSyn2Master();

// --- All masters and the preview files ----------------------------------------
// Opens the masters in their 20 steps (the user master aside), telling the
// progress window each step's caption and k/20 of the state line's width
// before step k, yielding to window events after each. Stops at the first
// step that fails and returns false; true when all 20 opened.
bool Fnc_OpenAllMasters(GuideProgress& guide);
// The same on the progress window frmGuide (lblState, lblGage).
bool Fnc_OpenAllMasters();

// Closes slots 1 to 22 (the user master included) and empties them, the
// gauge showing k/22 before slot k when `guide` is given. Empty slots and
// failing closes are passed over; shows nothing.
void Sub_CloseAllMasters(GuideProgress* guide);
// The same on the progress window frmGuide.
void Sub_CloseAllMasters();

// Opens the preview work files QJJRKLF and QJKKKLF in basPublic.SvworkPath
// into fresh objects of slots 23 and 24 and declares both. A failure of
// either shows "プレビュー用受診歴マスタオープンエラー" (no fields are then
// declared). Returns true when both are open and declared.
bool Sub_OpenPreviewFiles();

// Closes slots 23 and 24 and empties them; a slot never opened is passed
// over.
void Sub_ClosePreviewFiles();

}  // namespace qz

#endif  // QZ_DATA_BAS_FILE_ACCESS_H_
