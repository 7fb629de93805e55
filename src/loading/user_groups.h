// Whether an input group is one of the logon user's input groups
// (basPublic.UserInputGroups: 100 entries from 1, the list ending at its
// first 0). Decides an item's edit permission and the groups the
// group-selection list starts with.
#ifndef QZ_LOADING_USER_GROUPS_H_
#define QZ_LOADING_USER_GROUPS_H_

#include <cstdint>

namespace qz {

// True when `ngrp` is in the logon user's list before its first 0.
bool IsUserInputGroup(std::int32_t ngrp);

}  // namespace qz

#endif  // QZ_LOADING_USER_GROUPS_H_
