// The rules of setting an item's done-check, shared by the click on the
// done-check column and the automatic check after Enter
// (basPublic.AutoCheck), so that Enter never sets a check that a click on
// the same cell would refuse, and both run the same follow-ups.
//
// The result screen's thread only, with a shell installed.
#ifndef QZ_GRID_DONE_CHECK_H_
#define QZ_GRID_DONE_CHECK_H_

#include <cstdint>

namespace qz {

// How a refusal is told: the click shows its message and puts the cursor on
// the cell to fill; the automatic check leaves the check unset quietly
// (Enter moves the cursor on, and a click on the check tells why).
enum class CheckRefusal { kTell, kQuiet };

// Whether item `item` (an item-table index, on grid row `row`) may receive
// its done-check. False when:
// - its number is in basPublic.KekkaKomCode and it has no result
//   ("(未実施)", or no class and no content): "結果値が未入力のためチェック
//   できません。", cursor to its result cell;
// - it is judgement-coded, frmResultIn.SouChk is "1" and it has no
//   judgement ("(未実施)", or no class and judgement 0): "判定値が未入力です";
// - it is the overall item, basPublic.SougouChk is not 0 and a required
//   judgement is missing: "「<name>」 が未入力です。", cursor to that item's
//   cell when it is on screen.
// The messages and cursor moves only with CheckRefusal::kTell.
bool Fnc_MayCheck(std::int16_t item, std::int32_t row, CheckRefusal how);

// The follow-ups of any change of `item`'s done-check: for the overall item
// the comment line under the group-jump list is redrawn and the overall
// judger stamped; nothing for other items.
void Sub_DoneCheckChanged(std::int16_t item);

}  // namespace qz

#endif  // QZ_GRID_DONE_CHECK_H_
