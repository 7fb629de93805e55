#include "suite/search_dysp.h"

#include "platform/runtime/run_time_error.h"
#include "platform/ui/form_slot.h"
#include "suite/search_form.h"

namespace qz {

namespace {

constexpr int kErrCannotCreateObject = 429;
int create_failures = 0;

}  // namespace

ClsSearchDysp::ClsSearchDysp() = default;

ClsSearchDysp::~ClsSearchDysp() { CloseSearch(); }

void ClsSearchDysp::ShowSearch() {
  if (form_ != nullptr && form_->unloaded()) ui::RetireForm(std::move(form_));
  if (form_ == nullptr) {
    form_ = std::make_unique<FrmSearch>([this](const SearchResultRecord& record) {
      if (SearchResult) SearchResult(record);
    });
  }
  form_->Load();
  form_->Fill();
  form_->Show(false, OwnerHwnd);
}

void ClsSearchDysp::CloseSearch() {
  if (form_ == nullptr) return;
  if (form_->loaded()) form_->Unload();
  ui::RetireForm(std::move(form_));
}

std::unique_ptr<ClsSearchDysp> CreateSearchDysp() {
  if (create_failures > 0) {
    --create_failures;
    throw RunTimeError(kErrCannotCreateObject, "ActiveX コンポーネントはオブジェクトを作成できません。");
  }
  return std::make_unique<ClsSearchDysp>();
}

void SetSearchCreateFailuresForTest(int failures) { create_failures = failures; }

}  // namespace qz
