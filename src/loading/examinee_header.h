// Sub_LoadExamineeHeader: the examinee step of every examinee load. It reads
// the examinee master record of basPublic.ExamineeNo and fills the header
// texts of frmResultIn (number, reading, name, sex, birth date in the era
// form, age, organisation name) and keeps the examinee's sex and age
// (frmResultIn.ExamineeSex, frmResultIn.ExamineeAge) for the later steps.
//
// The examinee record stays the current record of basFileAccess.QZJSNLFObj;
// the history step compares against its CODE.
#ifndef QZ_LOADING_EXAMINEE_HEADER_H_
#define QZ_LOADING_EXAMINEE_HEADER_H_

namespace qz {

// The age is counted on today's date (platform/clock). Returns false when
// the examinee or the organisation cannot be read or a date does not
// convert: its warning was shown and the result screen unloaded, so the
// load ends. A run-time error shows the report "受診者情報表示でエラーが
// 発生しました。" and returns true.
bool Sub_LoadExamineeHeader();

}  // namespace qz

#endif  // QZ_LOADING_EXAMINEE_HEADER_H_
