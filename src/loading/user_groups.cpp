#include "loading/user_groups.h"

#include <cstddef>

#include "examinee/bas_public.h"

namespace qz {

namespace {
constexpr int kUserGroupSlots = 100;
}  // namespace

bool IsUserInputGroup(std::int32_t ngrp) {
  for (int n = 1; n <= kUserGroupSlots; ++n) {
    const std::int32_t g = basPublic.UserInputGroups[static_cast<std::size_t>(n)];
    if (g == 0) return false;
    if (g == ngrp) return true;
  }
  return false;
}

}  // namespace qz
