// basRSVGET: the clinic's reservation of the examinee on screen, looked up
// in the reservation database (reservation_database.h) at every load of a
// consultation and turned into a short text of the booked examinations.
//
// The consultation loader calls Sub_GetReservation once the examinee
// number and consultation date are set. User-interface thread only.
#ifndef QZ_TOOLS_RESERVATION_LOOKUP_H_
#define QZ_TOOLS_RESERVATION_LOOKUP_H_

#include <string>
#include <string_view>

namespace qz {

struct BasRsvget {
  // Empty, or one line per booked examination group, each ending in CR LF.
  std::string ReservationText;
};

extern BasRsvget basRSVGET;

// The doctor code of the reservations the lookup reads.
inline constexpr int kReservationDoctor = 1;

// The text of the examination classes `classes` (one digit per group at a
// fixed character position): endoscopy (position 3), X-ray (1), women's
// examinations (2), hepatitis (5), stool (7) and urine (8), in this order,
// one line "  　<group>： <choice>" & CR LF each. A position the value does
// not reach, or a digit the group does not know, gives no line; at position
// 5 any character but "1" reads "なし". Pure.
std::string Fnc_DecodeReservationClasses(std::string_view classes);

// Clears basRSVGET.ReservationText, then reads the first reservation of
// doctor 1 for basPublic.ExamineeNo (as it stands, blanks included) on
// basPublic.ConsultDate from the database basPublic.ReservePath and sets the
// text from its 診療区分. No reservation leaves the text empty, silently.
// A database that does not open beeps and shows "MDB OPEN ERROR", a query
// that fails "TABLE OPEN ERROR", each with "ERROR STATUS: " and the
// database's number and description (critical, title "結果入力"); the text
// stays empty and the caller goes on.
void Sub_GetReservation();

}  // namespace qz

#endif  // QZ_TOOLS_RESERVATION_LOOKUP_H_
