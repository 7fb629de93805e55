#include "tools/reservation_lookup.h"

#include <array>
#include <optional>
#include <string>

#include "examinee/bas_public.h"
#include "platform/text/vb.h"
#include "platform/ui/msgbox.h"
#include "tools/reservation_database.h"

namespace qz {

BasRsvget basRSVGET;

namespace {

// One examination group of 診療区分: its character position and the line
// of each digit it knows. `other` is the line of any other character ("" =
// none).
struct ClassGroup {
  int position;
  std::array<const char*, 4> lines;  // digits "0" .. "3"; nullptr = none
  const char* other;
};

constexpr std::array<ClassGroup, 6> kGroups = {{
    {3, {"  　内視鏡： なし", "  　内視鏡： あり", "  　内視鏡： 生検", nullptr}, nullptr},
    {1, {"  　Ｘ－Ｐ： 胸・胃", "  　Ｘ－Ｐ： 胃なし", "  　Ｘ－Ｐ： 胸なし", "  　Ｘ－Ｐ： なし"}, nullptr},
    {2, {"  　婦人　： 乳・子", "  　婦人　： 子なし", "  　婦人　： 乳なし", "  　婦人　： 乳子なし"}, nullptr},
    {5, {nullptr, "  　肝炎　： あり", nullptr, nullptr}, "  　肝炎　： なし"},
    {7, {"  　便　　： ２本", "  　便　　： １本", "  　便　　： なし", nullptr}, nullptr},
    {8, {"  　尿　　： あり", "  　尿　　： なし", nullptr, nullptr}, nullptr},
}};

void ShowDbError(std::string_view what, const ReservationDbError& e) {
  ui::Beep();
  ui::MsgBox(std::string(what) + "\r\nERROR STATUS: " + std::to_string(e.number) + "\r\n" + e.description,
             ui::MsgButtons::kOk, ui::MsgIcon::kCritical, "結果入力");
}

}  // namespace

std::string Fnc_DecodeReservationClasses(std::string_view classes) {
  std::string text;
  for (const ClassGroup& g : kGroups) {
    const std::string c = vb::Mid(classes, g.position, 1);
    if (c.empty()) continue;
    const char* line = g.other;
    if (c.size() == 1 && c[0] >= '0' && c[0] <= '3' && g.lines[static_cast<std::size_t>(c[0] - '0')] != nullptr) {
      line = g.lines[static_cast<std::size_t>(c[0] - '0')];
    }
    if (line != nullptr) text += std::string(line) + "\r\n";
  }
  return text;
}

void Sub_GetReservation() {
  basRSVGET.ReservationText.clear();
  ReservationDatabase db;
  if (auto e = db.Open(basPublic.ReservePath)) {
    ShowDbError("MDB OPEN ERROR", *e);
    return;
  }
  std::optional<ReservationRow> row;
  if (auto e = db.FindFirst(kReservationDoctor, basPublic.ExamineeNo, basPublic.ConsultDate, row)) {
    ShowDbError("TABLE OPEN ERROR", *e);
    return;
  }
  if (row) basRSVGET.ReservationText = Fnc_DecodeReservationClasses(row->classes);
}

}  // namespace qz
