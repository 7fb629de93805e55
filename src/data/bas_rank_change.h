// basRankChange: the program's judgement code <-> mark conversions over
// the settings record (judge_mark.h gives the rules).
//
// They read HCODE_n, HKBN_n and HCOL_n from the current record of a
// settings-record object without a new read: the program's entries use the
// settings object of the masters, positioned on the settings record by the
// consultation load.
#ifndef QZ_DATA_BAS_RANK_CHANGE_H_
#define QZ_DATA_BAS_RANK_CHANGE_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "data/judge_mark.h"
#include "platform/record/btr_access.h"

namespace qz {

// Reads HCODE_n, HKBN_n and HCOL_n (n = 1 to 8) from the current record of
// `sys`, an object with the settings-record layout; HKBN_n as the raw bytes
// of the record. Throws RunTimeError as the object's field reads do (5 for
// a field the layout does not declare).
JudgeSlots ReadJudgeSlots(const record::BtrAccess& sys);

// JudgeCodeToMark and MarkToJudgeCode (judge_mark.h) over the current
// record of `sys`. Without a current record (none read yet, or the last
// read failed), or on a run-time error (a layout without the judgement
// fields, for example), they return 1 like not found, outputs untouched:
// a blank buffer is never taken for eight blank judgements.
std::int16_t Fnc_JudgeCodeToMark(const record::BtrAccess& sys, std::int16_t Code, std::string& Mark,
                                 std::string& ColorLetter);
std::int16_t Fnc_MarkToJudgeCode(const record::BtrAccess& sys, std::string_view Mark, std::int16_t& Code,
                                 std::string& ColorLetter);

// The program's entries: the same over basFileAccess.SysObj, positioned on
// the settings record by the consultation load. An empty slot returns 1.
std::int16_t Fnc_JudgeCodeToMark(std::int16_t Code, std::string& Mark, std::string& ColorLetter);
std::int16_t Fnc_MarkToJudgeCode(std::string_view Mark, std::int16_t& Code, std::string& ColorLetter);

}  // namespace qz

#endif  // QZ_DATA_BAS_RANK_CHANGE_H_
