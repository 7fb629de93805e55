// The statements a load and a save send to the database server, counted
// (never timed) on a scaled centre when the suite runs on PostgreSQL
// (QZ_SUITE_ENGINE=postgres); on SQLite files there is no server and the
// tests skip. Each read of the load by key and each rewrite of the save is
// no statement of its own: the counts stay under a ceiling whatever the
// number of items.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "examinee/bas_public.h"
#include "examinee/screen_fixture.h"
#include "grid/item_row_map.h"
#include "loading/load_state.h"
#include "kit/scaled_centre.h"
#include "platform/record/server_statements.h"
#include "platform/ui/shell.h"
#include "suite/search_form.h"

namespace qz::test {
namespace {

bool OnServer() {
  const char* engine = std::getenv("QZ_SUITE_ENGINE");
  return engine != nullptr && std::string_view(engine) == "postgres";
}

class ServerStatements : public ScreenTest, public ::testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    if (!OnServer()) GTEST_SKIP() << "the suite runs on SQLite files (QZ_SUITE_ENGINE=postgres counts)";
    BuildScaledCentre(GetParam(), 20);
    shell_.auto_answer = true;
    ASSERT_TRUE(Start());
    ASSERT_TRUE(SearchShown());
  }

  bool Load() {
    const int row = SearchRow(testkit::kScaledExaminee, kToday);
    if (row < 1) return false;
    Drive([row] {
      auto* search = dynamic_cast<FrmSearch*>(ui::Shell::Require().FindForm("frmSearch"));
      search->lstExaminee.SetRow(row);
      search->cmdSelect_Click();
    });
    return form().sprResult.visible && frmResultIn.ItemCount() >= GetParam();
  }
};

// The statements of a load, and of the save of one entry until the search
// screen shows again: the first save of the new consultation adds every
// result, the second rewrites the results its load read.
TEST_P(ServerStatements, ALoadAndASaveSendFewStatementsWhateverTheItems) {
  std::uint64_t load = 0, save = 0;
  std::string stored;
  for (const char* value : {"45.0", "75.0"}) {
    std::uint64_t before = record::ServerStatements();
    ASSERT_TRUE(Load());
    load = record::ServerStatements() - before;
    int line = 1;
    while (frmResultIn.ItemTable[frmResultIn.RowItems[line]].Ksyub != kKsyubNumeric) ++line;
    const long long item = frmResultIn.ItemTable[frmResultIn.RowItems[line]].KomCode.whole();
    const int row = Fnc_ItemToRow(static_cast<std::int16_t>(line));
    Drive([&] {
      form().sprResult.TypeIntoCell(basPublic.ResultCol, row, value);
      ui::Shell::Require().UserKey(ui::kKeyReturn);
    });
    before = record::ServerStatements();
    Drive([] { ui::Shell::Require().UserKey(ui::kKeyF12); });
    ASSERT_TRUE(SearchShown());
    save = record::ServerStatements() - before;
    EXPECT_LE(save, 60u) << "items " << GetParam() << ", the save of " << value;
    stored = StoredResult(testkit::kScaledExaminee, kToday, item, {"KNSACH"});
    EXPECT_NE(stored.find(value), std::string::npos) << stored;
  }
  EXPECT_TRUE(Boxes().empty());
  RecordProperty("load_statements", static_cast<int>(load));
  RecordProperty("save_statements", static_cast<int>(save));
  EXPECT_LE(load, 60u) << "items " << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Items, ServerStatements, ::testing::Values(100, 400, 1600));

}  // namespace
}  // namespace qz::test
