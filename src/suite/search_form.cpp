#include "suite/search_form.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "data/define_fields.h"
#include "data/record_layouts.h"
#include "examinee/bas_public.h"
#include "examinee/cls_vlmf_qzonllf.h"
#include "platform/clock/clock.h"
#include "platform/record/btr_access.h"
#include "platform/record/read_batch.h"
#include "platform/record/status.h"
#include "platform/text/vb.h"
#include "platform/ui/msgbox.h"

namespace qz {

namespace {

// A file the list reads, with the warnings of its failures.
struct ListedFile {
  const data::FileLayout& layout;
  const char* open_error;  // the file does not open
  const char* read_error;  // a read fails: its first line
};

const ListedFile kHistory{data::QzjrklfLayout(), "受診歴マスタオープンエラー", "受診歴マスタの読み込みに失敗しました。"};
const ListedFile kExaminees{data::QzjsnlfLayout(), "受診者マスタオープンエラー", "受診者マスタの読み込みに失敗しました。"};

// Opens `file` in the data folder with its fields; "" or the warning.
std::string OpenListed(record::BtrAccess& obj, const ListedFile& file) {
  if (!obj.OpenFile(file.layout.file, file.layout.definition, basPublic.VlmfPath, basPublic.SpecPath)) {
    return file.open_error;
  }
  DefineLayoutFields(obj, file.layout);
  return "";
}

// The warning of a read of `file` that gave `status`; `detail` (lines
// ending in CR LF) goes before the status.
std::string ReadFailure(const ListedFile& file, int status, const std::string& detail = "") {
  return std::string(file.read_error) + "\r\n" + detail + "ステータス : " + std::to_string(status);
}

// Adds to `codes` the examinees who have a consultation on `date`, in
// number order: read by the history's date key, or, where the definitions
// or the history file have no such key (an earlier release's, or a file not
// rebuilt since), picked from the whole file. "" or the warning of the open
// or read that failed.
std::string ReadConsultingExaminees(std::int32_t date, std::vector<std::string>* codes) {
  record::BtrAccess obj;
  if (std::string failure = OpenListed(obj, kHistory); !failure.empty()) return failure;
  obj.SetRecordBytes("");
  obj.SetField("JDATE", static_cast<std::int64_t>(date));
  int status = obj.GetGreaterOrEqual(data::Qzjrk2lfLayout().definition);
  if (status != record::kStatusInvalidKey) {
    for (; status == record::kStatusOk && obj.GetField("JDATE").ToLong() == date; status = obj.GetNext()) {
      codes->push_back(obj.GetField("CODE").ToText());
    }
  } else {
    for (status = obj.GetFirst(kHistory.layout.definition); status == record::kStatusOk; status = obj.GetNext()) {
      if (obj.GetField("JDATE").ToLong() == date) codes->push_back(obj.GetField("CODE").ToText());
    }
  }
  obj.CloseFile();
  if (status != record::kStatusOk && status != record::kStatusEndOfFile) return ReadFailure(kHistory, status);
  return "";
}

// Adds to `entries` the consultations of `date` whose examinee the
// examinee master holds, in examinee-number order. "" or the warning of
// the open or read that failed.
std::string ReadEntries(std::int32_t date, std::vector<SearchListEntry>* entries) {
  std::vector<std::string> codes;
  if (std::string failure = ReadConsultingExaminees(date, &codes); !failure.empty()) return failure;
  if (codes.empty()) return "";
  record::BtrAccess obj;
  if (std::string failure = OpenListed(obj, kExaminees); !failure.empty()) return failure;
  for (const std::string& code : codes) {
    obj.SetRecordBytes("");
    obj.SetField("CODE", code);
    const int status = obj.GetEqual(kExaminees.layout.definition);
    if (status == record::kStatusNotFound) continue;  // no examinee to choose
    if (status != record::kStatusOk) return ReadFailure(kExaminees, status, "受診者番号 : " + code + "\r\n");
    entries->push_back(SearchListEntry{code, vb::Trim(obj.GetField("KANA").ToText()),
                                       vb::Trim(obj.GetField("NAME").ToText()), date});
  }
  return "";
}

std::string DateText(std::int32_t date) {
  if (date == 0) return "";
  const std::string d = std::to_string(date);
  if (d.size() != 8) return d;
  return d.substr(0, 4) + "/" + d.substr(4, 2) + "/" + d.substr(6, 2);
}

}  // namespace

FrmSearch::FrmSearch(std::function<void(const SearchResultRecord&)> raise)
    : Form("frmSearch"),
      lstExaminee(Add<grid::ListGrid>("lstExaminee")),
      cmdSelect(Add<ui::CommandButton>("cmdSelect")),
      cmdNew(Add<ui::CommandButton>("cmdNew")),
      cmdClose(Add<ui::CommandButton>("cmdClose")),
      raise_(std::move(raise)) {
  caption = "受診者検索";
  Move(0, 0, 9000, 6600);
  lstExaminee.SetCols(4);
  lstExaminee.SetRows(1);
  lstExaminee.SetFixedRows(1);
  lstExaminee.SetFixedCols(0);
  const char* headers[] = {"受診者番号", "カナ氏名", "氏名", "受診日"};
  const int widths[] = {1500, 2600, 2600, 1500};
  for (int c = 0; c < 4; ++c) {
    lstExaminee.SetTextMatrix(0, c, headers[c]);
    lstExaminee.SetColWidth(c, widths[c]);
  }
  lstExaminee.Move(120, 120, 8700, 5400);
  cmdSelect.caption = "選択";
  cmdSelect.is_default = true;
  cmdNew.caption = "新規登録";
  cmdClose.caption = "閉じる";
  cmdClose.is_cancel = true;
  int left = 4500;
  for (ui::CommandButton* b : {&cmdSelect, &cmdNew, &cmdClose}) {
    b->left = left;
    b->top = 5640;
    b->width = 1380;
    b->height = 420;
    left += 1440;
  }
  cmdSelect.on_click = [this] { cmdSelect_Click(); };
  cmdNew.on_click = [this] { cmdNew_Click(); };
  cmdClose.on_click = [this] { cmdClose_Click(); };
  lstExaminee.on_dbl_click = [this] { cmdSelect_Click(); };
  on_query_unload = [this](int& cancel, int mode) { Form_QueryUnload(cancel, mode); };
}

void FrmSearch::Fill() {
  entries_.clear();
  std::string failure;
  {
    // One batch: on a database server the history's records of the day
    // come in one block and the examinee reads follow without a lock taken
    // each. It ends before any message.
    record::ReadBatch batch;
    failure = ReadEntries(Today(), &entries_);
  }
  // A list that could not be read whole offers nothing to choose.
  if (!failure.empty()) entries_.clear();
  lstExaminee.SetRows(1);
  for (const SearchListEntry& e : entries_) {
    lstExaminee.AddItem(vb::RTrim(e.ExamineeNo) + "\t" + e.Kana + "\t" + e.Name + "\t" + DateText(e.ConsultDate));
  }
  if (!entries_.empty()) lstExaminee.SetRow(1);
  if (!failure.empty()) ui::MsgBox(failure, ui::MsgButtons::kOk, ui::MsgIcon::kExclamation, caption);
}

void FrmSearch::cmdSelect_Click() {
  const int row = lstExaminee.row();
  if (row < 1 || row > static_cast<int>(entries_.size())) return;
  const SearchListEntry& entry = entries_[static_cast<std::size_t>(row - 1)];
  // The check and the registration are one step: of two terminals choosing
  // the examinee at once, one gets it and the other is told who holds it.
  std::int32_t ren = 0;
  ClsVlmfQzonllf().Sub_HoldOnlineInfo(vb::RTrim(entry.ExamineeNo), ren);
  if (ren <= 0) return;
  Raise(SearchResultRecord{entry.ExamineeNo, entry.ConsultDate, kSearchChosen, static_cast<std::int16_t>(ren)});
}

void FrmSearch::cmdNew_Click() { Raise(SearchResultRecord{"", 0, kSearchNewRegistration, 0}); }

void FrmSearch::cmdClose_Click() { Raise(SearchResultRecord{"", 0, kSearchClosed, 0}); }

void FrmSearch::Form_QueryUnload(int& cancel, int unload_mode) {
  // The close box closes the search as the close button does.
  if (unload_mode != ui::kUnloadControlMenu) return;
  cancel = -1;
  cmdClose_Click();
}

void FrmSearch::Raise(const SearchResultRecord& record) {
  Hide();
  if (raise_) raise_(record);
}

}  // namespace qz
