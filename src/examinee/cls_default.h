// clsDefault: the start of the result-input program. DefaultSetting decides
// whether the program may run (no second copy, started from the suite's
// menu), shows the progress window, reads every setting (and sets the
// record manager's wait for another terminal's write from [SysInfo]
// WriteWait), fits the main form to the desktop work area, reads the data
// paths, sees that the data folder can be written (start_checks.h), establishes the logon user, starts the suite's run-time and work
// files and opens all masters.
//
// The main form's Load creates one object, calls DefaultSetting once with a
// shell installed and the program folder as the current folder, and drops
// the object. Every step shows its own messages. On failure the progress
// window stays on screen and the caller unloads the main form, which ends
// the program. The steps are public so that they can be run one by one;
// only DefaultSetting traps run-time errors (each step lets them go up to
// its report). One thread only.
#ifndef QZ_EXAMINEE_CLS_DEFAULT_H_
#define QZ_EXAMINEE_CLS_DEFAULT_H_

#include <cstdint>
#include <string>

#include "platform/ui/form.h"

namespace qz {

class ClsDefault {
 public:
  // `frm_result_in` is the main form (owner of the progress window) and
  // `frm_grp_jmp` the group-jump window beside it; the layout step finds
  // their controls by name. Both must outlive the object.
  ClsDefault(ui::Form& frm_result_in, ui::Form& frm_grp_jmp);

  ClsDefault(const ClsDefault&) = delete;
  ClsDefault& operator=(const ClsDefault&) = delete;

  // The start sequence. True when the program may go on.
  bool DefaultSetting();

  // Sizes and places the main form and the group-jump window in
  // basPublic.WorkArea and shows or hides the optional buttons, by the
  // settings. Needs the controls the main form is designed with.
  void Sub_SetFormLayout();

  // Reads the five required keys of QZPPATH.ini [FILE_PATH] (HOPE, VLMP,
  // VLMF, "CPFSPEC " with its blank, RESERVE) into the targets in this order.
  // A missing file or the first missing or empty key: a beep and its message
  // ("INIファイルエラー"), false; targets read before keep their new values.
  bool Fnc_ReadPathIni(std::string& hope, std::string& vlmp, std::string& vlmf, std::string& spec,
                       std::string& reserve);

  // One key of QZPPATH.ini: true and `target` set to the value (not trimmed
  // beyond what the profile read does) when the key has a value; false and
  // `target` untouched otherwise.
  bool Fnc_GetPathKey(const std::string& section, const std::string& key, std::string& target);

  // The user master, the logon user and the user's record into basPublic.
  // False when any of them fails (its message has been shown).
  bool Fnc_SetLogonUser();

  // True when [SysInfo] MenuCheck of QZP140.INI (default 1) is 0 or the
  // suite's menu window is open. The window is looked for in both cases.
  bool Fnc_MenuCheck();

  // The desktop work area in twips from the shell's screen. False, and the
  // targets untouched, when the platform cannot tell it.
  bool Fnc_GetWorkArea(std::int32_t& left, std::int32_t& top, std::int32_t& right, std::int32_t& bottom,
                       std::int32_t& width, std::int32_t& height);

 private:
  ui::Form& frm_result_in_;
  ui::Form& frm_grp_jmp_;
};

// The title of the suite's menu window that Fnc_MenuCheck looks for.
inline constexpr const char* kSuiteMenuTitle = "バントリク初期メニュー";

}  // namespace qz

#endif  // QZ_EXAMINEE_CLS_DEFAULT_H_
