// The steps of the version-up that the main sequence (frm_main.h) and the
// start (update_main.h) call, each in a file of its own: the wait window and
// the lock check, the copy step, the conversion, import and
// numeric-initialisation sections, the external edits and the end messages.
//
// Every step logs what it does and shows its own failures; none raises. A
// section step returns true when its section is absent, does not apply to
// the installed version (Fnc_TargetCheck) or was done, false on a failure
// (the sequence then stops).
#ifndef QZ_UPDATE_STEPS_H_
#define QZ_UPDATE_STEPS_H_

#include <cstdint>
#include <string_view>

namespace qz::update {

// Shows the wait window modally until nothing of the suite runs from
// basPublic.ProgramPath, or the operator forces the run or stops it; sets
// basPublic.WaitProceed (true: go on).
void Sub_ShowWaitWindow();

// Renames the data folder away and back to see that nothing in it is in
// use (off with LockCheck). True: go on.
bool Fnc_LockCheck();

// Conversion section `section` (a name by the section-naming rule): the
// export (Fnc_Convert1), then the rebuild and re-import (Fnc_Convert2).
// Files moved aside go to basPublic.RenameBackList.
bool Fnc_Convert1(std::string_view section);
bool Fnc_Convert2(std::string_view section);

// The copy step: the copy sections Copy_001 … Copy_100 into the
// installation, with backups. Runs once, inside conversion section 0.
bool Fnc_CopyMain();

// Import section `i` and numeric-initialisation section `i`.
bool Fnc_ImportSection(std::int32_t i);
bool Fnc_NumInit(std::int32_t i);

// External edit section `i` and end-message section `i`.
bool Fnc_External(std::int32_t i);
bool Fnc_EndMessage(std::int32_t i);

}  // namespace qz::update

#endif  // QZ_UPDATE_STEPS_H_
