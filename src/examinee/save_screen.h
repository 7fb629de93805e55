// The values of the result screen that the save reads besides the item
// table and the result matrix: the check box "実施チェックを行う"
// (chkOperation), the result dispatch date (txtHassou) and whether this
// save deleted the stored results first.
//
// One instance, `frmResultInSave`. The main form keeps chkOperation and
// txtHassou current (the loading fills txtHassou from the history row);
// the history write-back writes ResultsDeleted and the results write-back
// reads it. User-interface thread only. Tests reset it with
// `frmResultInSave = FrmResultInSave{}`.
#ifndef QZ_EXAMINEE_SAVE_SCREEN_H_
#define QZ_EXAMINEE_SAVE_SCREEN_H_

#include <cstdint>
#include <string>

namespace qz {

namespace ui {
class Form;
}

struct FrmResultInSave {
  std::int16_t chkOperation = 0;  // the check box's Value: 1 ticked
  std::string txtHassou;          // dispatch date as shown, "yyyy/mm/dd" or ""
  bool ResultsDeleted = false;    // the last history write-back deleted the results
};

extern FrmResultInSave frmResultInSave;

// The form that owns the progress window of the save steps: the form of
// the result grid, or none.
ui::Form* SaveOwnerForm();

}  // namespace qz

#endif  // QZ_EXAMINEE_SAVE_SCREEN_H_
