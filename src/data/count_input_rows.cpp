#include "data/count_input_rows.h"

#include <string>

#include "examinee/bas_public.h"
#include "platform/runtime/run_time_error.h"

namespace qz {

std::vector<int> UnconfirmedRows(const grid::Spread& spr) {
  std::vector<int> rows;
  const auto past = static_cast<ui::Color>(basPublic.ColorPast);
  for (int r = basPublic.DataRow; r <= spr.max_rows(); ++r) {
    if (spr.BackColorAt(0, r) == past) continue;
    std::string text;
    if (!spr.GetText(basPublic.ChkCol, r, text) || text != basPublic.ChkStr) rows.push_back(r);
  }
  return rows;
}

std::int16_t Fnc_CountInputRows(const grid::Spread& spr) {
  const std::size_t count = UnconfirmedRows(spr).size();
  if (count > 32767) throw RunTimeError(kErrOverflow);
  return static_cast<std::int16_t>(count);
}

}  // namespace qz
