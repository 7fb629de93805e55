// The texts the result cells are drawn with: the measurement-class lists
// and marks and the entries of a findings list.
//
// The grid's list handling reads a chosen findings entry from its end (CR
// LF, two digits of judgement code, six digits of findings code, "$", the
// finding), so FindingsComboEntry and that reading must agree. Pure.
#ifndef QZ_LOADING_RESULT_CELL_TEXTS_H_
#define QZ_LOADING_RESULT_CELL_TEXTS_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "loading/consult_records.h"

namespace qz {

// The measurement-class list of an item of kind `ksyub`, entries joined by
// tab characters (entry i from 0 is class i + 1): "未実施", "測定不能",
// "以下(≦)", "未満(＜)", "以上(≧)", "超(＞)" for the numeric kinds 1 and 2;
// only the first two for every other kind.
std::string MeasureClassList(std::int16_t ksyub);

// One entry of a findings list: Sykn, "$", Scode as six digits, Khantei as
// two digits, CR LF.
std::string FindingsComboEntry(const SyoComboInfo& entry);

// What a value cell shows for measurement class `sokutei` in place of its
// value: "(未実施)" for 1, "(測定不能)" for 2, for 3..6 "(" and the sign
// "≦", "＜", "≧" or "＞" and the trimmed `value` and ")"; empty for 0 and
// every other class (the value stays).
std::string MeasureClassMark(std::int16_t sokutei, std::string_view value);

}  // namespace qz

#endif  // QZ_LOADING_RESULT_CELL_TEXTS_H_
