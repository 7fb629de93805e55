#include "data/guide_progress.h"

#include <cmath>
#include <string>

namespace qz {

float LabelGuideProgress::StateWidth() const { return static_cast<float>(lbl_state_.width); }

void LabelGuideProgress::SetGageWidth(float width) { lbl_gage_.width = static_cast<int>(std::lround(width)); }

void LabelGuideProgress::SetStateCaption(std::string_view caption) { lbl_state_.caption = std::string(caption); }

float GageWidth(int done, int total, float full_width) {
  return static_cast<float>(static_cast<double>(done) / total * static_cast<double>(full_width));
}

}  // namespace qz
