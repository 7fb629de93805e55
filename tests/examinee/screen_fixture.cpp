#include "examinee/screen_fixture.h"

#include "data/bas_file_access.h"
#include "data/define_fields.h"
#include "data/record_layouts.h"
#include "examinee/save_screen.h"
#include "judgement/frm_syo_comb.h"
#include "kit/demo_data.h"
#include "kit/scaled_centre.h"
#include "loading/group_forms.h"
#include "loading/load_state.h"
#include "platform/record/btr_access.h"
#include "platform/record/status.h"
#include "platform/runtime/app.h"
#include "platform/text/vb.h"
#include "suite/search_form.h"
#include "tools/frm_chk_input.h"
#include "tools/frm_copy.h"
#include "tools/frm_del_list.h"
#include "tools/frm_hint.h"
#include "tools/frm_opchk.h"
#include "tools/frm_qzp_print.h"
#include "tools/frm_sub_menu.h"

namespace qz::test {

namespace {

void ResetForms() {
  frmResultInForm.Reset();
  frmGrpJmp.Reset();
  frmGrpSel.Reset();
  frmSyoComb.Reset();
  frmOpchk.Reset();
  frmChkInput.Reset();
  frmSubMenu.Reset();
  frmQZPprint.Reset();
  frmHint.Reset();
  frmDelList.Reset();
  frmCopy.Reset();
  frmResultIn = FrmResultInState{};
  frmResultInSave = FrmResultInSave{};
  App().command.clear();
  SetSearchCreateFailuresForTest(0);
}

FrmSearch* SearchForm() {
  return dynamic_cast<FrmSearch*>(ui::Shell::Require().FindForm("frmSearch"));
}

}  // namespace

ScreenTest::ScreenTest() { ResetForms(); }

ScreenTest::~ScreenTest() {
  ResetForms();
  Sub_CloseAllMasters(nullptr);
}

void ScreenTest::BuildDemo() {
  testkit::AddDemoData(suite_, testkit::DemoOptions{kTerminal, kToday});
  // The previous-result copy at the end of each load is a test of its own.
  if (!ini_set_auto_copy_) suite_.SetIni("SysInfo", "AutoPastCopy", "0");
  Build();
}

void ScreenTest::BuildScaledCentre(int items, int others) {
  testkit::ScaledCentreOptions o;
  o.items = items;
  o.others = others;
  o.today = kToday;
  o.computer_name = kTerminal;
  testkit::AddScaledCentre(suite_, o);
  suite_.SetIni("SysInfo", "AutoPastCopy", "0");
  Build();
}

bool ScreenTest::Start(const std::string& command) {
  App().command = command;
  shell_.SetMainForm(&form());
  return shell_.Drive([&] { form().Show(); });
}

bool ScreenTest::StartAndChoose(const std::string& examinee, int date) {
  return Start() && Choose(examinee, date);
}

bool ScreenTest::Choose(const std::string& examinee, int date) {
  const int row = SearchRow(examinee, date);
  EXPECT_GE(row, 1) << examinee << " " << date;
  return Drive([&] {
    FrmSearch* search = SearchForm();
    search->lstExaminee.SetRow(row);
    search->cmdSelect_Click();
  });
}

bool ScreenTest::Drive(const std::function<void()>& step) { return shell_.Drive(step); }

bool ScreenTest::OpenTable(record::BtrAccess& obj, const data::FileLayout& layout) const {
  const std::string& folder = layout.folder == data::FileFolder::kWork ? suite_.paths().work : suite_.paths().data;
  if (!obj.OpenFile(layout.file, layout.definition, folder, suite_.paths().spec_file)) {
    ADD_FAILURE() << layout.file << " does not open";
    return false;
  }
  DefineLayoutFields(obj, layout);
  return true;
}

void ScreenTest::ForEachRecord(const data::FileLayout& layout,
                               const std::function<void(const record::BtrAccess&)>& visit) const {
  record::BtrAccess obj;
  if (!OpenTable(obj, layout)) return;
  for (int s = obj.GetFirst(layout.definition); s == record::kStatusOk; s = obj.GetNext()) visit(obj);
  obj.CloseFile();
}

std::vector<OnlineRow> ScreenTest::OnlineRows() const {
  std::vector<OnlineRow> rows;
  ForEachRecord(data::QzonllfLayout(), [&](const record::BtrAccess& obj) {
    rows.push_back(OnlineRow{static_cast<int>(obj.GetField("REN").ToLong()), vb::RTrim(obj.GetField("JYUNO").ToText()),
                             vb::RTrim(obj.GetField("TERMNAME").ToText()),
                             static_cast<int>(obj.GetField("GYONO").ToLong())});
  });
  return rows;
}

void ScreenTest::AddOnlineRow(int ren, const std::string& examinee, const std::string& terminal) {
  record::BtrAccess obj;
  const data::FileLayout& layout = data::QzonllfLayout();
  ASSERT_TRUE(OpenTable(obj, layout));
  obj.SetField("REN", ren);
  obj.SetField("JYUNO", examinee);
  obj.SetField("TERMNAME", terminal);
  obj.SetField("GYONO", 1);
  obj.SetField("GYONAME", "受付");
  ASSERT_EQ(obj.Insert(layout.definition), record::kStatusOk);
  obj.CloseFile();
}

std::vector<std::string> ScreenTest::StoredResults(const std::string& examinee, int date) const {
  std::vector<std::string> values;
  ForEachRecord(data::QzkkklfLayout(), [&](const record::BtrAccess& obj) {
    if (vb::RTrim(obj.GetField("CODE").ToText()) != examinee || obj.GetField("JDATE").ToLong() != date) return;
    values.push_back(obj.GetField("KKMKNO").ToText() + "=" + vb::Trim(obj.GetField("KNSACH").ToText()));
  });
  return values;
}

std::string ScreenTest::StoredResult(const std::string& examinee, int date, long long item,
                                     const std::vector<std::string>& fields) const {
  std::string out;
  ForEachRecord(data::QzkkklfLayout(), [&](const record::BtrAccess& obj) {
    if (vb::RTrim(obj.GetField("CODE").ToText()) != examinee || obj.GetField("JDATE").ToLong() != date ||
        obj.GetField("KKMKNO").ToText() != std::to_string(item)) {
      return;
    }
    for (const std::string& f : fields) out += (out.empty() ? "" : " ") + f + "=" + obj.GetField(f).ToText();
  });
  return out;
}

std::string ScreenTest::StoredHistoryField(const std::string& examinee, int date, const std::string& field) const {
  std::string out;
  ForEachRecord(data::QzjrklfLayout(), [&](const record::BtrAccess& obj) {
    if (vb::RTrim(obj.GetField("CODE").ToText()) == examinee && obj.GetField("JDATE").ToLong() == date) {
      out = obj.GetField(field).ToText();
    }
  });
  return out;
}

int ScreenTest::CountRecords(const data::FileLayout& layout) const {
  int n = 0;
  ForEachRecord(layout, [&](const record::BtrAccess&) { ++n; });
  return n;
}

int ScreenTest::ItemIndex(long long code) {
  for (int i = 1; i <= frmResultIn.ItemCount(); ++i) {
    if (frmResultIn.ItemTable[i].KomCode == Currency(code)) return i;
  }
  return 0;
}

bool ScreenTest::WasShown(const std::string& name) const {
  for (const ui::ShownForm& f : shell_.shown_forms()) {
    if (f.name == name) return true;
  }
  return false;
}

bool ScreenTest::SearchShown() const {
  FrmSearch* search = SearchForm();
  return search != nullptr && search->visible();
}

int ScreenTest::SearchRow(const std::string& examinee, int date) const {
  FrmSearch* search = SearchForm();
  if (search == nullptr) return -1;
  const auto& entries = search->entries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (vb::RTrim(entries[i].ExamineeNo) == examinee && entries[i].ConsultDate == date) return static_cast<int>(i) + 1;
  }
  return -1;
}

std::vector<std::string> ScreenTest::Boxes() const {
  std::vector<std::string> texts;
  for (const ui::ShownBox& b : shell_.boxes()) texts.push_back(b.request.text);
  return texts;
}

}  // namespace qz::test
