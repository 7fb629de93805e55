// WorkInProgress: holds the user's input back while the program works.
//
// A handler that saves, loads, or waits for another program yields to
// window events so that the screen repaints; without this scope a click or
// key taken at such a yield would run a second handler on half-done work
// (a second save, a click on a list being rebuilt). While a scope lives the
// current shell takes no user input but for the work's own modal dialogs
// (Shell::BeginWork). Scopes nest. Without a shell installed it does
// nothing. User-interface thread only.
//
//   ui::WorkInProgress busy;
//   SaveEverything();  // yields; the screen takes no input meanwhile
#ifndef QZ_PLATFORM_UI_WORK_IN_PROGRESS_H_
#define QZ_PLATFORM_UI_WORK_IN_PROGRESS_H_

namespace qz::ui {

class Shell;

class WorkInProgress {
 public:
  WorkInProgress();
  ~WorkInProgress();

  WorkInProgress(const WorkInProgress&) = delete;
  WorkInProgress& operator=(const WorkInProgress&) = delete;

 private:
  Shell* shell_;  // the shell held back; null without one
};

}  // namespace qz::ui

#endif  // QZ_PLATFORM_UI_WORK_IN_PROGRESS_H_
