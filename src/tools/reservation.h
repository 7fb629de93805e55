// Sub_GetReservation: the clinic's reservation of the examinee and
// consultation date on screen, as a short text of the booked examinations
// (ReservationText, one line per examination group, each ending in CR LF).
//
// Not yet built: the reservation database is not read; every call leaves
// the text empty, and the load goes on. User-interface thread only.
#ifndef QZ_TOOLS_RESERVATION_H_
#define QZ_TOOLS_RESERVATION_H_

#include <string>

namespace qz {

// The text of the last lookup; cleared at the start of every call.
extern std::string ReservationText;

void Sub_GetReservation();

}  // namespace qz

#endif  // QZ_TOOLS_RESERVATION_H_
