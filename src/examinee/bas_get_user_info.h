// basGetUserInfo: the user master record of a user, read through
// basFileAccess.QZUSRLFObj (which the start opens and keeps open for the
// whole run).
//
// Both routines show their own messages and need a shell. One thread only.
#ifndef QZ_EXAMINEE_BAS_GET_USER_INFO_H_
#define QZ_EXAMINEE_BAS_GET_USER_INFO_H_

#include <array>
#include <cstdint>
#include <string>

namespace qz {

// Input groups of a user, indexes 1 to 100 (element 0 unused); 0 is no group.
using UserGroups = std::array<std::int32_t, 101>;

// Reads user `id` and fills the first group (1STGRP), the name (EXPLAIN, as
// the field gives it), the 100 input groups (INPGRP_1 .. INPGRP_100) and the
// display class (DSPKBN when it reads as a number, else 0).
//
// Returns true when the user exists and has at least one input group. A
// missing user or a read failure shows its message and touches no output; a
// user without input groups has the outputs filled but shows
// "入力可能グループがセットされていません。" with the ID. A run-time error
// shows the error report. Each failure returns false.
bool Fnc_GetUserInfo(const std::string& id, std::int32_t& first_group, std::string& name,
                     UserGroups& input_groups, std::int16_t& display_class);

// The name (EXPLAIN) of user `id`; the ID itself when the user master has no
// such user; "" after a read failure (whose message has been shown). Never
// stops the caller.
std::string Fnc_GetUserName(const std::string& id);
// The same; `answered` tells whether the user master answered (the user was
// read or is not there), so that a caller may keep the name.
std::string Fnc_GetUserName(const std::string& id, bool& answered);

}  // namespace qz

#endif  // QZ_EXAMINEE_BAS_GET_USER_INFO_H_
