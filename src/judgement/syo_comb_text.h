// The text rules of the findings dialog (frmSyoComb): how a picked finding
// joins the findings text being edited, the caret counter line, the length
// limit and the characters the typed-code box takes.
//
// Texts are UTF-8; positions count characters (as a text box's caret does);
// lengths count the CP932 bytes the findings field stores (two a full-width
// character). Pure functions, safe from any thread.
#ifndef QZ_JUDGEMENT_SYO_COMB_TEXT_H_
#define QZ_JUDGEMENT_SYO_COMB_TEXT_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace qz {

// A findings text and the caret position in it (characters from 0).
struct SyoTextEdit {
  std::string text;
  int caret = 0;
};

// A mouse pick: the text "(未実施)" or "(測定不能)" is dropped first. An
// empty text becomes `finding` with the caret at its end; a caret at 0 puts
// `finding` in front of the text without a separator; a caret p > 0 (cut
// to the text's length) inserts `separator` and `finding` after the first
// p characters. The caret ends after the finding.
SyoTextEdit InsertPickedFinding(const SyoTextEdit& edit, std::string_view finding,
                                std::string_view separator);

// Enter in the list: `finding` alone for an empty text, else text,
// `separator` and `finding` (a "(未実施)" in front is kept).
std::string AppendPickedFinding(std::string_view text, std::string_view finding,
                                std::string_view separator);

// The caret counter: "現在<pos> 桁目です. あと<rest> 文字入力できます." with
// pos = bytes left of the caret / 2 + 1 and rest = max_len - bytes of the
// text without trailing blanks / 2, each right-aligned in five places (a
// half-width character counts one half: "2.5").
std::string CaretInfoText(std::string_view text, int caret, std::int16_t max_len);

// 2 when the text's byte length (trailing blanks included) exceeds
// 2 x max_len, else 0.
std::int16_t CheckSyokenLength(std::string_view text, std::int16_t max_len);

// Whether the typed-code box takes character `code_point`: single-byte
// characters only (ASCII and half-width katakana).
bool TakesTypedCodeChar(int code_point);

}  // namespace qz

#endif  // QZ_JUDGEMENT_SYO_COMB_TEXT_H_
