#include "judgement/option_rows.h"

#include <exception>

#include "examinee/bas_public.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "platform/runtime/run_time_error.h"
#include "platform/ui/shell.h"

namespace qz {
namespace {

constexpr int kOptionCount = 4;

void CallOptionButton(std::int16_t item, std::string_view value) {
  const Currency code = frmResultIn.ItemTable[item].KomCode;
  for (int n = 1; n <= kOptionCount; ++n) {
    const OptionInfo& option = basPublic.OptionTable[static_cast<std::size_t>(n)];
    if (option.KomCode != code || option.Syoken != value || option.KeyCode.empty()) continue;
    ui::Shell* shell = ui::Shell::Current();
    if (shell == nullptr) throw RunTimeError(kErrObjectRequired);
    shell->SendKeys(option.KeyCode);
    return;
  }
}

}  // namespace

void Sub_CallOptionButton(std::int16_t item, std::string_view value) {
  try {
    CallOptionButton(item, value);
  } catch (const std::exception& e) {
    ShowLoadErrorReport("オプションボタンの呼び出しチェック処理でエラーが発生しました。", e);
  }
}

}  // namespace qz
