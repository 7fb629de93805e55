// Stand-ins of the steps not yet written: each does nothing and lets the
// sequence go on, as an absent section does.
#include "update/bas_public.h"
#include "update/steps.h"

namespace qz::update {

void Sub_ShowWaitWindow() { basPublic.WaitProceed = true; }
bool Fnc_LockCheck() { return true; }
bool Fnc_Convert1(std::string_view) { return true; }
bool Fnc_Convert2(std::string_view) { return true; }
bool Fnc_CopyMain() { return true; }
bool Fnc_ImportSection(std::int32_t) { return true; }
bool Fnc_NumInit(std::int32_t) { return true; }
bool Fnc_External(std::int32_t) { return true; }
bool Fnc_EndMessage(std::int32_t) { return true; }

}  // namespace qz::update
