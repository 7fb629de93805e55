#include "bench/centre/centre_bed.h"

#include "examinee/bas_public.h"
#include "grid/item_row_map.h"
#include "kit/scaled_centre.h"
#include "loading/load_state.h"
#include "platform/ui/shell.h"
#include "suite/search_form.h"

namespace qz::bench {

CentreBed::CentreBed(int items, const std::string& server) : items_(items) {
  if (!server.empty()) suite_.OnServer(server);
  testkit::ScaledCentreOptions o;
  o.items = items;
  o.today = test::kToday;
  o.computer_name = test::kTerminal;
  testkit::AddScaledCentre(suite_, o);
  suite_.SetIni("SysInfo", "AutoPastCopy", "0");
  Build();
  shell_.auto_answer = true;
}

CentreBed::~CentreBed() = default;

bool CentreBed::Start() { return ScreenTest::Start() && SearchShown(); }

bool CentreBed::Act(const std::function<void()>& action) { return Drive(action); }

bool CentreBed::Load() {
  const int row = SearchRow(testkit::kScaledExaminee, test::kToday);
  if (row < 1) return false;
  Act([row] {
    auto* search = dynamic_cast<FrmSearch*>(ui::Shell::Require().FindForm("frmSearch"));
    if (search == nullptr) return;
    search->lstExaminee.SetRow(row);
    search->cmdSelect_Click();
  });
  numeric_lines_.clear();
  for (int k = 1; k <= lines(); ++k) {
    if (frmResultIn.ItemTable[frmResultIn.RowItems[k]].Ksyub == kKsyubNumeric) numeric_lines_.push_back(k);
  }
  return form().sprResult.visible && !numeric_lines_.empty();
}

std::string CentreBed::EnterValue(int k) const {
  // Line NumericLine(k) comes round once in every numeric_lines_.size()
  // Enters: each round types the other value.
  const int round = k / static_cast<int>(numeric_lines_.size());
  return round % 2 == 0 ? "45.0" : "75.0";
}

int CentreBed::NumericLine(int k) const {
  return numeric_lines_[static_cast<std::size_t>(k) % numeric_lines_.size()];
}

void CentreBed::Enter(int line, const std::string& value) {
  const int row = Fnc_ItemToRow(static_cast<std::int16_t>(line));
  Act([&] {
    form().sprResult.TypeIntoCell(basPublic.ResultCol, row, value);
    ui::Shell::Require().UserKey(ui::kKeyReturn);
  });
}

bool CentreBed::Save() {
  Act([] { ui::Shell::Require().UserKey(ui::kKeyF12); });
  return SearchShown();
}

bool CentreBed::Refill() {
  Act([] {
    auto* search = dynamic_cast<FrmSearch*>(ui::Shell::Require().FindForm("frmSearch"));
    if (search != nullptr) search->Fill();
  });
  return SearchRow(testkit::kScaledExaminee, test::kToday) >= 1;
}

int CentreBed::lines() const { return frmResultIn.RowCount(); }

}  // namespace qz::bench
