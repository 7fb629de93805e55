// frmGuide: the progress window shown while the program does a long step
// without user input (start, opening the masters, loading and writing a
// consultation, preview, exit).
//
// A caller shows it modeless, owned by the form it works for, rewrites
// lblState (and the width of lblGage, from 0 up to the width of lblState)
// before each step and yields so that it paints, and unloads it at the end.
// Every loading starts from the designed texts (the slot makes a fresh
// window), with an empty gauge; the guide line blinks every
// basPublic.GuideInterval ms, or stays steady when that is 0. The window has
// no buttons and no close box.
#ifndef QZ_EXAMINEE_FRM_GUIDE_H_
#define QZ_EXAMINEE_FRM_GUIDE_H_

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/form_slot.h"

namespace qz {

class FrmGuide : public ui::Form {
 public:
  FrmGuide();

  ui::Label& lblGuide;      // guide line; blinks while tmrGuide runs
  ui::Label& lblState;      // the step now running; its width is the gauge's full width
  ui::Label& lblGage;       // gauge bar
  ui::Label& lblCopyRight;
  ui::Label& lblVersion;
  ui::Timer& tmrGuide;

  // Window events.
  void Form_Load();
  void tmrGuide_Timer();

  // Sets the gauge to done / total of the state line's width (0 when total
  // is not positive). The callers that report progress use it.
  void SetGauge(int done, int total);
};

extern ui::FormSlot<FrmGuide> frmGuide;

}  // namespace qz

#endif  // QZ_EXAMINEE_FRM_GUIDE_H_
