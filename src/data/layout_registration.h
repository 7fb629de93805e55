// Registers the program's record layouts with the record manager's layout
// registry, so that tools reading any file (btrutil) know their fields.
// Each definition gets the first of its layouts (for the settings master
// QZSYSLF, the settings record). Call once at start, from one thread.
#ifndef QZ_DATA_LAYOUT_REGISTRATION_H_
#define QZ_DATA_LAYOUT_REGISTRATION_H_

namespace qz::data {

void RegisterRecordLayouts();

}  // namespace qz::data

#endif  // QZ_DATA_LAYOUT_REGISTRATION_H_
