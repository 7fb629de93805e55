// Sub_AutoSetDefaultFindings: the tool that fills every empty findings item
// on the screen with the default finding of its finding type, as if the
// operator had typed its code and pressed Enter.
//
// Started from the sub-menu and from Alt+F5 (which asks first). Reads the
// findings master through Fnc_GetDefaultFindingCode and drives the result
// grid frmResultIn.sprResult: the code is entered through the grid's Enter
// processing and the Enter then goes to the grid's key-down handler
// (sprResult_KeyDown), which moves on. The result screen's thread only.
#ifndef QZ_JUDGEMENT_DEFAULT_FINDINGS_SET_H_
#define QZ_JUDGEMENT_DEFAULT_FINDINGS_SET_H_

namespace qz {

// For every item in table order that is a findings item with a finding
// type, booked now, editable by the logged-on user, on the screen, not
// done-checked and with a blank finding text, and whose type has a default
// finding: the findings-code cell of its row takes the default's code
// (RCODE) and becomes the active cell; the code is entered as typed
// (Fnc_ProcessFindingCodeEntry, whatever the item's automatic-judgement
// class: the finding, its judgement and what follows them, the stamp), and
// when it went in the grid's key-down handler gets Enter (13) without shift,
// which moves on. Items without a default, and items whose code is refused,
// get no Enter and no stamp. A run-time error shows the error report
// "所見のデフォルト値自動セット処理でエラーが発生しました。" and stops at that
// item.
void Sub_AutoSetDefaultFindings();

}  // namespace qz

#endif  // QZ_JUDGEMENT_DEFAULT_FINDINGS_SET_H_
