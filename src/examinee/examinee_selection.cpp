#include "examinee/examinee_selection.h"

#include <exception>

#include "data/form_routines.h"
#include "examinee/bas_public.h"
#include "examinee/cls_vlmf_qzonllf.h"
#include "examinee/frm_result_in.h"
#include "loading/consult_reads.h"
#include "loading/load_driver.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "platform/runtime/app.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/utf8.h"
#include "platform/text/vb.h"
#include "platform/ui/msgbox.h"

namespace qz {

namespace {

constexpr int kNumberLength = 10;
constexpr int kDatedLength = 18;
constexpr int kDateLength = 8;
constexpr int kErrObjectNotSet = 91;

}  // namespace

CommandLineExaminee ReadCommandLine(std::string_view command) {
  CommandLineExaminee read;
  read.Number = vb::Left(command, kNumberLength);
  read.IsPatientId = vb::Mid(command, kNumberLength + 1, 1) == "I";
  // The suite gets its command line in the code page, one character for
  // each character of the text (one a character outside it, which becomes
  // "?"): counted so, as the slices above count, never in UTF-16 units.
  if (text::CodePointCount(command) >= kDatedLength) read.DateText = vb::Right(command, kDateLength);
  return read;
}

void FrmResultIn::ShowSearchScreen() {
  if (SearchDysp == nullptr) {
    throw RunTimeError(kErrObjectNotSet, "オブジェクト変数または With ブロック変数が設定されていません。");
  }
  SearchDysp->OptionC = 0;
  SearchDysp->OptionA = 3;
  SearchDysp->OptionB = 3;
  SearchDysp->OwnerHwnd = this;
  SearchDysp->ShowSearch();
}

void FrmResultIn::Form_Activate() {
  try {
    if (frmResultIn.Activated) return;
    const bool has_command = Fnc_HasCommandLine();
    if (has_command && frmResultIn.ReturnToSearch) return;
    frmResultIn.Activated = true;
    basPublic.StartExamineeNo.clear();
    if (!has_command) {
      ShowSearchScreen();
      Sub_EnableCommandControls(*this, false);
      return;
    }
    const CommandLineExaminee read = ReadCommandLine(App().command);
    basPublic.ExamineeNo = read.Number;
    if (read.IsPatientId) {
      basPublic.ExamineeNo = Fnc_GetExamineeByPatientId(read.Number);
      if (frmResultIn.Unloaded) return;
      if (basPublic.ExamineeNo.empty()) {
        ui::MsgBox("医事患者番号 : " + read.Number + "の受診者マスタが見つかりません。", ui::MsgButtons::kOk,
                   ui::MsgIcon::kCritical, kResultScreenTitle);
        Unload();
        return;
      }
    }
    basPublic.StartExamineeNo = basPublic.ExamineeNo;
    if (read.DateText) {
      basPublic.ConsultDate = vb::CLng(*read.DateText);
    } else {
      basPublic.ConsultDate = Fnc_GetLastExamDate();
      if (frmResultIn.Unloaded) return;
    }
    Sub_LoadExaminee(true);
  } catch (const std::exception& e) {
    ShowLoadErrorReport("フォームのアクティブ処理でエラーが発生しました。", e);
    // A cycle that cannot start (a command-line date that is not a number,
    // a search screen that cannot be shown) leaves nothing to do: the
    // program ends rather than wait before a screen that takes nothing.
    Unload();
  }
}

void FrmResultIn::SearchDysp_SearchResult(const SearchResultRecord& result) {
  try {
    try {
      ZOrder(0);
    } catch (const std::exception&) {
      // Only the window order; the choice is handled all the same.
    }
    switch (result.Kind) {
      case kSearchChosen:
        frmResultIn.Activated = true;
        if (result.ConsultDate != 0) {
          basPublic.ExamineeNo = result.ExamineeNo;
          basPublic.ConsultDate = result.ConsultDate;
          basPublic.OnlineRen = result.OnlineRen;
          SetEnabled(false);
          Sub_LoadExaminee(false);
          SetEnabled(true);
        } else {
          ShowLoadWarning("受診者番号「" + result.ExamineeNo + "」は\r\n受診日が登録されていません。");
          bool released = false;
          ClsVlmfQzonllf().Sub_DelOnlineInfo(std::to_string(result.OnlineRen), released);
          // Released or not (its failure has been told), the operator
          // chooses again: no screen is left without a way on.
          ShowSearchScreen();
        }
        break;
      case kSearchNewRegistration:
        ShowLoadWarning("受診者の新規登録はできません。");
        frmResultIn.Activated = false;
        ShowSearchScreen();
        break;
      case kSearchClosed:
        Unload();
        break;
      default:
        break;
    }
  } catch (const std::exception& e) {
    ShowLoadErrorReport("検索結果の戻り処理でエラーが発生しました。", e);
  }
}

}  // namespace qz
