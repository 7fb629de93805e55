// The standard (reference) range of an item for one examinee
// (`Sub_GetStd`), looked up in the judgement master QZHATLF.
//
// The master's rows are keyed by item, generation (its first day) and row
// number. The generation valid on the consultation date is the last one
// starting on or before it; within it the rows are tried in row-number
// order and the first standard-range row (STDKBN 1) whose sex (0 = both)
// and age range fit wins. Its limits are zoned decimals scaled by the
// caller's Scale; they come out as plain decimal texts ("3.5", "-5"),
// computed in decimal so 0.1 stays 0.1. Shows no message.
#ifndef QZ_DATA_STD_RANGE_H_
#define QZ_DATA_STD_RANGE_H_

#include <cstdint>
#include <string>

#include "platform/record/btr_access.h"
#include "platform/text/currency.h"

namespace qz {

// Reads the range of item ItemCode through `Hat`, an open object of
// definition "QZHATLF" with the judgement-master layout (CODE, GENDATE, REN,
// SEX, STNEN, EDNEN, STDKBN, STKNSA, EDKNSA); the object's position moves.
// Scale <= 0 is taken as 1.
//
// Low and High start as "" and GenDate as 0. ErrorFlag 0 with no range
// (Low, High "", GenDate 0) when no generation of the item starts on or
// before ConsultDate and the row before the key is another item's;
// ErrorFlag 0 with GenDate the generation and Low, High "" when no row of
// it fits; ErrorFlag 0 with all three set when a row fits. ErrorFlag 1 when
// no row at all lies at or before the key, on a read failure, or for a
// limit that is not a zoned number (a bad upper limit leaves Low set).
void Sub_GetStd(record::BtrAccess& Hat, Currency ItemCode, std::int16_t Sex, std::int16_t Age,
                std::int32_t ConsultDate, Currency Scale, std::string& Low, std::string& High,
                std::int32_t& GenDate, std::int16_t& ErrorFlag);

// The program's entry: the same through basFileAccess.QZHATLFObj, which
// must be open. An empty slot gives ErrorFlag 1 (Low, High "", GenDate 0).
void Sub_GetStd(Currency ItemCode, std::int16_t Sex, std::int16_t Age, std::int32_t ConsultDate, Currency Scale,
                std::string& Low, std::string& High, std::int32_t& GenDate, std::int16_t& ErrorFlag);

}  // namespace qz

#endif  // QZ_DATA_STD_RANGE_H_
