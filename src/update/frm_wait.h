// frmWait: the wait window shown at start (with RunCheck on, once the
// operator has confirmed) until nothing of the suite runs from the
// installed program folder. Every second it lists the programs whose
// executable lies in basPublic.ProgramPath (both compared as real paths,
// links and ".." resolved, and without regard to case), by their names in PGList.ini of the release folder; when none is
// left it logs so, sets basPublic.WaitProceed and unloads itself. The
// operator may force the run ("強制実行") or stop it ("中止"); the close box
// is refused. It waits minimised at the bottom left of the work area, and
// shows itself again once the suite's initial menu is closed while
// programs still run. This program itself is never listed (its release
// folder may lie under the program folder), and a process query that fails
// lists nothing but keeps the window waiting: only an answer that nothing
// runs lets the version-up go on.
//
// UI thread only; shown modally by Sub_ShowWaitWindow.
#ifndef QZ_UPDATE_FRM_WAIT_H_
#define QZ_UPDATE_FRM_WAIT_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/form_slot.h"

namespace qz::update {

// The caption by which the suite's initial menu is known.
inline constexpr const char* kMenuCaption = "バントリク初期メニュー";

class FrmWait : public ui::Form {
 public:
  FrmWait();

  ui::Label& lblGuide = Add<ui::Label>("lblGuide");
  ui::ListBox& lstPG = Add<ui::ListBox>("lstPG");
  ui::CommandButton& cmdRun = Add<ui::CommandButton>("cmdRun");
  ui::CommandButton& cmdCancel = Add<ui::CommandButton>("cmdCancel");
  ui::Timer& tmrTimer = Add<ui::Timer>("tmrTimer");

  void Form_Load();
  void Form_Activate();
  void Form_QueryUnload(int& cancel, int unload_mode);
  void tmrTimer_Timer();
  void cmdRun_Click();
  void cmdCancel_Click();

  // The display name of the program file `file_name`: its entry in section
  // PG of PGList.ini (key in capitals), or the name itself.
  std::string Fnc_PGName(std::string_view file_name) const;

 private:
  bool first_activation_ = false;
  std::string program_folder_;  // ProgramPath as a real path of this machine
  std::string pg_list_path_;
  std::string own_path_;        // this program's executable
  bool query_failed_ = false;   // logged once per failing spell
};

extern ui::FormSlot<FrmWait> frmWait;

// True when a top-level window of caption `caption` is open.
bool Fnc_FindWindow(std::string_view caption);

// The desktop's work area in twips; false when the system does not tell.
bool Fnc_GetWorkArea(std::int32_t& left, std::int32_t& top, std::int32_t& right, std::int32_t& bottom,
                     std::int32_t& width, std::int32_t& height);

}  // namespace qz::update

#endif  // QZ_UPDATE_FRM_WAIT_H_
