#include "platform/runtime/run_time_error.h"

namespace qz {

std::string RunTimeErrorText(int number) {
  switch (number) {
    case kErrInvalidCall: return "プロシージャの呼び出し、または引数が不正です。";
    case kErrOverflow: return "オーバーフローしました。";
    case kErrSubscript: return "インデックスが有効範囲にありません。";
    case kErrDivisionByZero: return "0 で除算しました。";
    case kErrTypeMismatch: return "型が一致しません。";
    case kErrFileNotFound: return "ファイルが見つかりません。";
    case kErrPathNotFound: return "パスが見つかりません。";
    case kErrObjectRequired: return "オブジェクトが必要です。";
    default: return "アプリケーション定義またはオブジェクト定義のエラーです。";
  }
}

namespace {

std::string DescriptionOr(int number, std::string description) {
  if (description.empty()) return RunTimeErrorText(number);
  return description;
}

}  // namespace

RunTimeError::RunTimeError(int number, std::string description)
    : std::runtime_error("run-time error " + std::to_string(number)),
      number_(number),
      description_(DescriptionOr(number, std::move(description))) {}

}  // namespace qz
