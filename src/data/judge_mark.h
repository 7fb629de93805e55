// Judgement code <-> judgement mark and colour letter.
//
// The clinic defines up to eight judgements in the settings record of
// QZSYSLF: slot n holds a code (HCODE_n), a 4-byte text whose last two
// code-page bytes are the mark (HKBN_n: one full-width or two half-width
// characters, or blanks) and a colour letter (HCOL_n). Slots are searched
// in order; the lowest slot wins when two share a code or a mark.
//
// JudgeSlots is the judgement part of the settings record; the program's
// entries that read it from the settings record are in bas_rank_change.h.
// Pure and thread-safe.
#ifndef QZ_DATA_JUDGE_MARK_H_
#define QZ_DATA_JUDGE_MARK_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qz {

inline constexpr int kJudgeSlotCount = 8;

struct JudgeSlot {
  std::int16_t code = 0;  // HCODE_n
  std::string kbn;        // HKBN_n as CP932 bytes (4 bytes in the record)
  std::string color;      // HCOL_n, as read
};

using JudgeSlots = std::array<JudgeSlot, kJudgeSlotCount>;

// The mark of `slot`: the last two CP932 bytes of its HKBN, as UTF-8. When
// those bytes begin with the trail byte of a split double-byte character,
// that byte decodes as U+FFFD (never a wrong character).
std::string JudgeSlotMark(const JudgeSlot& slot);

// Code -> mark: the first slot whose code equals Code gives Mark (untrimmed)
// and ColorLetter; returns 0. Returns 1 and leaves both untouched when no
// slot has the code.
std::int16_t JudgeCodeToMark(const JudgeSlots& slots, std::int16_t Code, std::string& Mark,
                             std::string& ColorLetter);

// Mark -> code: the first slot whose mark, blanks trimmed on both sides,
// equals Mark trimmed (exactly: case and width count) gives Code and
// ColorLetter; returns 0. Returns 1 and leaves both untouched otherwise. An
// empty Mark finds the first slot whose mark is blank.
std::int16_t MarkToJudgeCode(const JudgeSlots& slots, std::string_view Mark, std::int16_t& Code,
                             std::string& ColorLetter);

}  // namespace qz

#endif  // QZ_DATA_JUDGE_MARK_H_
