// frmMain: the progress window of the version-up. Its first activation runs
// the whole sequence (lock check, conversion sections with the copy step,
// master edit, external edits, end messages, the offer to start the suite)
// once, then the form unloads itself and its unload ends the program.
//
// Only labels; the steps write their progress into them. While the form
// exists, frmMain() gives it to the steps (nullptr otherwise), so steps run
// without a window in tests. While the sequence runs the operator cannot
// close the window, nor end the program with a signal (Ctrl+C, kill, a
// closed session): the request is refused, logged, and the run goes on.
//
// A run either completes or leaves the installation as it was: when a step
// fails after the lock check, every file the run changed is put back from
// the run's backups and every file it added is removed (run_journal.h);
// when the program is killed, the next start does so (unfinished_run.h). A
// failed file that the operator chose to go on from stays as it was before
// its step; the run then ends, not completed, and says so.
// RunCompleted() and RunPassedOverFailure() tell the program's exit status.
// UI thread only.
#ifndef QZ_UPDATE_FRM_MAIN_H_
#define QZ_UPDATE_FRM_MAIN_H_

#include <cstdint>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"

namespace qz::update {

class FrmMain : public ui::Form {
 public:
  FrmMain();
  ~FrmMain() override;

  ui::Label& lblTitle = Add<ui::Label>("lblTitle");
  ui::Label& lblGuide = Add<ui::Label>("lblGuide");
  ui::Label& lblWaitMsg = Add<ui::Label>("lblWaitMsg");
  ui::Label& lblCount = Add<ui::Label>("lblCount");
  ui::Label& lblGageMax = Add<ui::Label>("lblGageMax");
  ui::Label& lblGageNow = Add<ui::Label>("lblGageNow");
  ui::Label& lblBackup = Add<ui::Label>("lblBackup");
  ui::Label& lblCopyCountLabel = Add<ui::Label>("lblCopyCountLabel");
  ui::Label& lblCopyCount = Add<ui::Label>("lblCopyCount");

  void Form_Load();
  void Form_Activate();
  void Form_QueryUnload(int& cancel, int unload_mode);
  void Form_Unload(int& cancel);

  // The whole version-up; shows and logs its own failures.
  void Sub_VersionUp();
  // Conversion section `i` (number 0 also runs the copy step); the files
  // moved aside in it are put back at its end. True: go on.
  bool Fnc_ConvertSection(std::int32_t i);
  // Imports, then numeric initialisation. True: go on.
  bool Fnc_MasterEdit();
  // External edit sections 0 … 100. True: go on.
  bool Fnc_ExternalEdit();
  // End-message sections 0 … 100 from the release folder.
  void Sub_EndMessage();
  // Puts back what the failed run changed (run_journal.h), removes its
  // journal and tells the operator so, with the log; a restore that fails
  // is shown with the run folder, where the backups and the journal stay
  // (the next start tries again).
  void Sub_RollBack();

  // The window handle passed to the programs it starts.
  std::int32_t hWnd() const { return 0; }

  // True while Sub_VersionUp runs.
  bool running() const { return running_; }

 private:
  bool first_activation_ = false;
  bool running_ = false;
};

// True when the last Sub_VersionUp ran every step to its end and every step
// did what it says (the program then exits with status 0; any refusal or
// failure gives a non-zero one).
bool RunCompleted();

// Notes that the operator chose to go on past a failed item of a step
// ("続行しますか？" answered Yes; the item was left as it was before it).
// The run goes on, but does not count as completed: its closing message and
// log say so.
void NoteFailurePassedOver();

// True when the last Sub_VersionUp ran every step to its end after going on
// past a failure (NoteFailurePassedOver).
bool RunPassedOverFailure();

// The main form while it exists, else nullptr.
FrmMain* frmMain();

// Processes pending events when a shell is running (steps call it after
// each change of a label).
void ProcessEvents();

}  // namespace qz::update

#endif  // QZ_UPDATE_FRM_MAIN_H_
