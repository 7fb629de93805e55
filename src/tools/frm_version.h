// frmVersion ("結果入力"): the version and system-information dialog of the
// result screen (Ctrl+F1). It shows the program's version (App(): the
// build's version unless the program set another), the copyright
// text (typed in character by character by tmrCopyRight), the time since
// the system started (refreshed every second by tmrProgress), the logged-on
// user of the suite, the institution name of the settings master and a list
// of system information (system_info_lines.h) for support staff. It has no
// buttons: the close box closes it. Sub_ShowVersion (function_key_tools.h)
// shows it.
//
// The institution is read through a data-access object of the dialog's own
// (QZSYSLF, the institution record KBN 1). The dialog writes no file.
// User-interface thread only.
#ifndef QZ_TOOLS_FRM_VERSION_H_
#define QZ_TOOLS_FRM_VERSION_H_

#include <cstdint>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/form_slot.h"

namespace qz {

class FrmVersion : public ui::Form {
 public:
  FrmVersion();

  ui::Label& lblVersionTitle;      // "バージョン："
  ui::Label& lblVersion;
  ui::Label& lblCopyRight;
  ui::Label& lblProgressTitle;     // "コンピュータ起動時間："
  ui::Label& lblProgress;
  ui::Label& lblUserTitle;         // "利用者"
  ui::Label& lblLogUser;
  ui::Label& lblExplain;
  ui::Label& lblInstitutionTitle;  // "施設名："
  ui::Label& lblInstitution;
  ui::Label& lblMessage;
  ui::ListBox& lstInfo;
  ui::Timer& tmrCopyRight;         // 100 ms
  ui::Timer& tmrProgress;          // 1000 ms

  // Next character of the copyright text that tmrCopyRight adds (from 1).
  std::int32_t CopyRightPos = 1;

  // Fills every label and the list once.
  void Form_Load();
  // Adds the next character of the copyright text to lblCopyRight; after
  // the last one the timer stops.
  void tmrCopyRight_Timer();
  // lblProgress := the time since the system started.
  void tmrProgress_Timer();
  // lblInstitution := NAME of the institution record, "<不明>" when there is
  // none. A settings master that does not open shows "設定マスタオープンエラー"
  // (title "エラー") and the label keeps its text.
  void Sub_ShowInstitution();
};

extern ui::FormSlot<FrmVersion> frmVersion;

}  // namespace qz

#endif  // QZ_TOOLS_FRM_VERSION_H_
