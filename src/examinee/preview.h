// The preview of the result screen (プレビュー(F10); Shift+F10 asks for the
// report selection): the consultation as it stands on screen, checked but
// not saved, is written into the emptied preview work files, and the
// report-selection dialog shows or prints it; a value still being typed
// into the grid is entered first. The handler is the main
// form's cmdPreview_Click (frm_result_in.h); this header holds its part
// that needs no form.
//
// User-interface thread only.
#ifndef QZ_EXAMINEE_PREVIEW_H_
#define QZ_EXAMINEE_PREVIEW_H_

#include <string_view>

namespace qz {

// Empties the preview work file `work_file` ("QJKKKLF" or "QJJRKLF")
// through the suite's clearing library. True when it answered "00";
// otherwise warns `failure_text`, a line break and "LNK AREA : " with the
// returned area, and gives false.
bool Fnc_ClearPreviewFile(std::string_view work_file, std::string_view failure_text);

class FrmResultIn;

// The refusals before the consultation on screen goes into the work files
// (the preview and the external automatic judgement): true, after the
// findings-search guard's warning, while the findings search is open, or
// after the warning "結果発送日が正しくありません。" with the focus on the
// dispatch date when `form`'s txtHassou holds something that is no date.
bool Fnc_WorkFileRunRefuses(FrmResultIn& form);

}  // namespace qz

#endif  // QZ_EXAMINEE_PREVIEW_H_
