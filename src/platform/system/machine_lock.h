// Named locks of this machine that live exactly as long as the process that
// holds them: what one program holds, every other process of the machine
// (of any user) sees as held, and a process that ends or is killed gives
// its locks up with it.
//
// A lock is an flock'ed file in the machine's lock folder (/tmp/qz-locks,
// shared by every user), named by a hash of the lock's name. A file is
// removed when its lock is given back; a file left by a killed holder is
// taken again as it is. The folder is used only as a real folder of mode
// 1777 (made so when missing); a lock whose file is a link or not a plain
// file of one name (planted by another user) cannot be taken and counts as
// held: nothing is ever followed or changed outside. A forked child shares its parent's locks until it
// execs (the descriptors close then). Single-threaded use, like the program.
#ifndef QZ_PLATFORM_SYSTEM_MACHINE_LOCK_H_
#define QZ_PLATFORM_SYSTEM_MACHINE_LOCK_H_

#include <string_view>

namespace qz::system {

// Takes lock `name` for this process. True when this process holds it now
// (also when it held it before); false when another live process holds it
// or the lock folder cannot be used.
bool TakeMachineLock(std::string_view name);

// True when a process other than this one holds lock `name`. A lock that
// cannot be looked at (no lock folder) counts as held: the caller must not
// take what another may still hold.
bool MachineLockHeldElsewhere(std::string_view name);

// Gives lock `name` back (nothing when this process does not hold it).
void ReleaseMachineLock(std::string_view name);

}  // namespace qz::system

#endif  // QZ_PLATFORM_SYSTEM_MACHINE_LOCK_H_
