// Option rows: an item that receives a configured value sends configured
// keystrokes to the active window, so that an option program can be started
// without leaving the keyboard (settings basPublic.OptionTable 1..4).
//
// Called by the grid's Enter processing after a value was stored. The
// keystrokes go through the shell (ui::Shell::SendKeys) and arrive after the
// running handler. The result screen's thread only, with a shell installed.
#ifndef QZ_JUDGEMENT_OPTION_ROWS_H_
#define QZ_JUDGEMENT_OPTION_ROWS_H_

#include <cstdint>
#include <string_view>

namespace qz {

// For options 1..4 in order, the first whose item number equals that of
// item `item` (an item-table index), whose trigger text equals `value`
// exactly and whose keystrokes are not empty: sends its keystrokes (send-keys
// notation) and stops. The option's Enable setting is not consulted. A
// run-time error (bad notation among them) shows the error report
// "オプションボタンの呼び出しチェック処理でエラーが発生しました。".
void Sub_CallOptionButton(std::int16_t item, std::string_view value);

}  // namespace qz

#endif  // QZ_JUDGEMENT_OPTION_ROWS_H_
