// FrmResultInState: the tables and values of the result screen that the
// loading steps fill for one consultation: the item table, the result
// matrix, the consultation columns, the booked courses, the header texts,
// the judgement lists and the examinee's sex and age.
//
// One instance, `frmResultIn`, so the steps read `frmResultIn.ItemTable(i)`
// as `frmResultIn.ItemTable[i]`. The main form owns the screen; it points
// `sprResult` at its grid and `UnloadHook` at its unload processing. The
// loading steps, the grid, the judgement routines, the tools and the save
// path may read and change the state; they run on the user-interface thread
// only. Tests reset it with `frmResultIn = FrmResultInState{}`.
//
// Item indexes held anywhere (result-matrix rows, row items, group items,
// calculated items, NgrpIndex, SougouDest) are valid only after the item
// table has been sorted for the load and until the next load.
#ifndef QZ_LOADING_LOAD_STATE_H_
#define QZ_LOADING_LOAD_STATE_H_

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "grid/cell_kind_table.h"
#include "loading/consult_records.h"
#include "loading/one_based.h"
#include "loading/result_matrix.h"
#include "platform/text/currency.h"

namespace qz {

namespace grid {
class Spread;
}

// Number of course slots of a consultation.
inline constexpr int kCourseSlots = 40;
// Highest decision-group number of the group-item table.
inline constexpr int kMaxDecisionGroup = 1000;
// Most records the item table holds (its count is 16-bit).
inline constexpr int kMaxItemCount = 32767;

struct FrmResultInState {
  // --- Item table and result matrix --------------------------------------
  // Items 1..ItemCount(); records enter only through Fnc_FindOrAddItem.
  OneBasedList<KomInfo> ItemTable;
  int ItemCount() const { return ItemTable.Count(); }

  // [1..ItemCount(), 0..HistoryCount()], created by the result load.
  qz::ResultMatrix ResultMatrix;

  // Consultation columns: element 0 the current consultation, then the
  // earlier ones newest first.
  std::vector<JrkEntry> HistoryDates;
  int HistoryCount() const { return static_cast<int>(HistoryDates.size()) - 1; }

  // Derived tables.
  OneBasedList<CalcKomInfo> CalcItems;
  int CalcCount() const { return CalcItems.Count(); }
  OneBasedList<SyoComboInfo> SyoComboLists;
  int SyoComboCount() const { return SyoComboLists.Count(); }
  OneBasedList<NgrpInfo> InputGroups;
  int InputGroupCount() const { return InputGroups.Count(); }
  std::array<GroupItemInfo, kMaxDecisionGroup + 1> GroupItems{};  // 0..1000
  std::int16_t OverallItem = 0;          // index of item 9999999999 (0 = none)
  // Grid line k (k >= 1) shows item RowItems[k]; line k is grid row
  // k + basPublic.DataRow - 1.
  OneBasedList<std::int16_t> RowItems;
  int RowCount() const { return RowItems.Count(); }
  std::int16_t JumpStartRow = 0;         // group-jump row of the user's first group

  // --- Courses of the current consultation --------------------------------
  OneBasedArray<Currency, kCourseSlots> CourseCodes;         // entry 1 the main course
  OneBasedArray<std::int32_t, kCourseSlots> CourseGenDates;  // yyyymmdd
  std::string SendDateText;              // result dispatch date yyyymmdd, or ""

  // --- Settings master -----------------------------------------------------
  std::string HanComboList;              // judgements 1..8, tab-separated
  std::string HanComboListLimited;       // the same, limited by basPublic.HanSort
  std::array<std::string, 5> SysColors;  // colour letters of the item kinds 0..4
  std::string SouChk;                    // "1": an overall judgement locks
  std::string DefaultColorLetter;        // colour letter of judgement 1

  // --- Examinee header -------------------------------------------------------
  std::int16_t ExamineeSex = 0;          // 1 male
  std::int16_t ExamineeAge = 0;          // completed years on today's date
  std::string txtID;
  std::string txtKana;
  std::string txtName;
  std::string txtSex;
  std::string txtBirth;
  std::string txtAge;
  std::string txtDanname;

  // --- Screen -----------------------------------------------------------------
  // The result grid, owned by the main form (null until it sets it).
  grid::Spread* sprResult = nullptr;
  // The kind of every cell of the item lines (grid/cell_kinds.h), built by
  // Sub_SprSet for the current row list.
  CellKindTable CellKinds;
  // Called by UnloadMainForm; the main form's unload processing.
  std::function<void()> UnloadHook;
  // True once the screen was unloaded during this load.
  bool Unloaded = false;

  // --- Form-level flags of the main form ---------------------------------
  bool SearchCreated = false;   // only while the main form's Load runs
  bool Loading = false;         // no examinee shown yet, or one is loading
  bool EnterBusy = false;       // re-entry guard of the grid's Enter processing
  bool ReturnToSearch = false;  // the examinee cycle is being left
  bool Activated = false;       // the form was activated for this cycle
  bool ForceSave = false;       // the next save skips the input checks
  bool StartFailed = false;     // the start was refused or failed: the program ends with status 1
  // The findings search: grid row of the target cell and item index of the
  // item searched (0 none).
  std::int32_t SyoSearchRow = 0;
  std::int16_t SyoSearchItem = 0;
  // The trigger items of the external automatic judgement found by its last
  // run (item-table indexes, 0 = not in the consultation).
  std::int16_t TriggerItemA = 0;  // basPublic.HokenSidouCode
  std::int16_t TriggerItemB = 0;  // basPublic.MetaboCode

  // Unloads the result screen: sets Unloaded and calls UnloadHook when set.
  // A loading step that calls it ends the load (it returns false).
  void UnloadMainForm();
};

extern FrmResultInState frmResultIn;

}  // namespace qz

#endif  // QZ_LOADING_LOAD_STATE_H_
