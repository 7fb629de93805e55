// The demo's reservation database: the clinic's bookings of today's
// consultations of the first two demo examinees, for the reservation lookup
// that every load of a consultation runs.
#include <filesystem>
#include <string>
#include <vector>

#include "kit/demo_data.h"
#include "tools/reservation_database.h"
#include "tools/reservation_lookup.h"

namespace qz::testkit {

void AddDemoReservations(SuiteBuilder& b, const DemoOptions& o);

void AddDemoReservations(SuiteBuilder& b, const DemoOptions& o) {
  const std::vector<std::string>& numbers = DemoExamineeNumbers();
  const std::string& db = b.paths().reserve;
  std::filesystem::remove(db);  // a folder made again starts from no bookings
  CreateReservationDatabase(db);
  // Endoscopy with biopsy, chest and stomach X-ray, cervix only, no
  // hepatitis test, one stool sample, urine.
  AddReservation(db, {o.today, "0830", kReservationDoctor, numbers.at(0), "01230010"});
  // No endoscopy, no X-ray, no women's examinations, hepatitis test, no
  // stool, urine.
  AddReservation(db, {o.today, "0900", kReservationDoctor, numbers.at(1), "33001120"});
}

}  // namespace qz::testkit
