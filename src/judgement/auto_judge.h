// Fnc_AutoJudgeItem: the automatic judgement of one item's result value by
// the suite's judgement library (QZP310), turned into a finding, a
// judgement code, its mark and colour letter through the findings master
// (definition QZSYO3LF) and the settings record.
//
// Used by the Enter processing of a typed value, the calculated items and
// the dummy-data filling. Reads frmResultIn (the consultation date of
// column 0, the examinee's sex and age) and basFileAccess.QZSYO3LFObj,
// which the start opened. The result screen's thread only.
#ifndef QZ_JUDGEMENT_AUTO_JUDGE_H_
#define QZ_JUDGEMENT_AUTO_JUDGE_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/text/currency.h"

namespace qz {

// The longest result text (in characters, after trimming) that the
// judgement area takes.
inline constexpr int kJudgedValueLength = 10;

// Judges `value` (the result text) of the item numbered `item_code`, whose
// findings stand under `finding_type` in the findings master.
//
// Returns true when the library judged it and its findings code names a
// finding with a judgement that has a mark: `judgement`, `mark`,
// `color_letter` and `finding` (the trimmed finding text) are then set.
// Returns false, the outputs carrying nothing to use, when the library did
// not judge (a status other than 1), the judgement has no mark, or the
// trimmed value is longer than kJudgedValueLength (it is never judged cut):
// no message. A findings code missing from the master warns "コード「<code>」は
// 所見マスタに登録されていません。" and returns false; any other read failure
// warns "所見マスタ３の読み込みに失敗しました。" with the finding type and
// the status and returns false (the screen stays). A run-time error,
// a status that is no number among them, shows the error report "自動判定
// 処理でエラーが発生しました。" and returns false.
bool Fnc_AutoJudgeItem(Currency item_code, std::string_view value, Currency finding_type,
                       std::int16_t& judgement, std::string& mark, std::string& color_letter,
                       std::string& finding);

}  // namespace qz

#endif  // QZ_JUDGEMENT_AUTO_JUDGE_H_
