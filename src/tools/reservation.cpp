#include "tools/reservation.h"

namespace qz {

std::string ReservationText;

void Sub_GetReservation() { ReservationText.clear(); }

}  // namespace qz
