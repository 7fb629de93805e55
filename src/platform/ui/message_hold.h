// MessageHold: keeps every message box back while record files are held.
//
// A box the operator leaves standing must not keep a transaction's locks on
// the shared files: every other terminal's write would wait out its busy
// wait and fail. While a hold is in force, ui::MsgBox (and so every error
// report and warning, whoever raises it) shows nothing: it keeps the
// request and answers OK at once. When the hold is released, the kept boxes
// are shown in the order they were raised. A box that asks a question (any
// buttons but OK alone) cannot wait for its answer: under a hold it raises
// RunTimeError kErrInvalidCall instead, so that the work holding the files
// fails and is undone rather than go on with an answer nobody gave.
//
// Holds nest: the boxes are shown when the outermost one is released. A
// hold that ends without Release (the program ends while its work yields)
// drops its boxes. User-interface thread only.
//
//   ui::MessageHold hold;
//   RunTransaction();  // its warnings wait
//   EndTransaction();
//   hold.Release();    // now they are shown
#ifndef QZ_PLATFORM_UI_MESSAGE_HOLD_H_
#define QZ_PLATFORM_UI_MESSAGE_HOLD_H_

#include <optional>

#include "platform/ui/msgbox.h"

namespace qz::ui {

class MessageHold {
 public:
  MessageHold();
  ~MessageHold();

  MessageHold(const MessageHold&) = delete;
  MessageHold& operator=(const MessageHold&) = delete;

  // Ends this hold; when it was the outermost, shows the kept boxes. A
  // second call does nothing.
  void Release();

  // Whether any hold is in force.
  static bool InForce();

 private:
  bool active_ = true;
};

// For ui::MsgBox: when a hold is in force, keeps `request` and returns OK;
// otherwise nothing. Throws RunTimeError kErrInvalidCall for a question
// under a hold (nothing is kept).
std::optional<MsgResult> HoldMessage(const MessageBoxRequest& request);

}  // namespace qz::ui

#endif  // QZ_PLATFORM_UI_MESSAGE_HOLD_H_
