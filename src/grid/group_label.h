// Sub_EditGroupLabel: the comment line under the group-jump list.
//
// Writes the COMMENT of the examinee record on which the examinee master's
// object (basFileAccess.QZJSNLFObj) stands, trailing blanks removed, into
// the label lblInfo of frmGrpJmp; nothing is read anew. Run by the examinee
// load after the header was read. User-interface thread only.
#ifndef QZ_GRID_GROUP_LABEL_H_
#define QZ_GRID_GROUP_LABEL_H_

namespace qz {

// A run-time error (the object not open among them) shows the error report
// "入力グループのラベル編集処理でエラーが発生しました。" and leaves the label.
void Sub_EditGroupLabel();

}  // namespace qz

#endif  // QZ_GRID_GROUP_LABEL_H_
