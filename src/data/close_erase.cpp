#include "data/close_erase.h"

#include "platform/runtime/app.h"
#include "platform/runtime/run_time_error.h"
#include "platform/ui/error_report.h"

namespace qz {

void Sub_CloseErase(ui::Form& form) {
  try {
    for (std::size_t position : {6u, 5u, 4u}) {
      if (position < form.system_menu.size()) {
        form.system_menu.erase(form.system_menu.begin() + static_cast<std::ptrdiff_t>(position));
      }
    }
  } catch (const RunTimeError& e) {
    ui::ShowErrorReport("閉じるボタンの消去処理でエラーが発生しました。", e, ui::MsgIcon::kCritical, App().title);
  }
}

}  // namespace qz
