// GuideProgress: the part of the progress window that the opening and
// closing of the masters drive: the state line (its caption and its width,
// which is the full width of the gauge) and the gauge bar (its width).
//
// The progress window implements it over its labels lblState and lblGage;
// LabelGuideProgress does so over any two label models. Widths are twips.
#ifndef QZ_DATA_GUIDE_PROGRESS_H_
#define QZ_DATA_GUIDE_PROGRESS_H_

#include <string_view>

#include "platform/ui/control.h"

namespace qz {

class GuideProgress {
 public:
  virtual ~GuideProgress() = default;

  // The width of the state line.
  virtual float StateWidth() const = 0;
  // Sets the width of the gauge bar.
  virtual void SetGageWidth(float width) = 0;
  // Sets the caption of the state line.
  virtual void SetStateCaption(std::string_view caption) = 0;
};

// A GuideProgress over two label models, which must outlive it.
class LabelGuideProgress : public GuideProgress {
 public:
  LabelGuideProgress(ui::Control& lbl_state, ui::Control& lbl_gage)
      : lbl_state_(lbl_state), lbl_gage_(lbl_gage) {}

  float StateWidth() const override;
  void SetGageWidth(float width) override;
  void SetStateCaption(std::string_view caption) override;

 private:
  ui::Control& lbl_state_;
  ui::Control& lbl_gage_;
};

// The gauge width after `done` of `total` steps: done / total x
// `full_width`, worked out in double precision and held as single.
float GageWidth(int done, int total, float full_width);

}  // namespace qz

#endif  // QZ_DATA_GUIDE_PROGRESS_H_
