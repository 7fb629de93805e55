// The run-time error of the program's runtime: a number and a description,
// as the error reports show them ("エラー番号 : ", "エラー内容 : ").
//
// Runtime helpers (conversions, record-buffer fields, array access) throw
// RunTimeError; each procedure's handler catches it and shows its report.
#ifndef QZ_PLATFORM_RUNTIME_RUN_TIME_ERROR_H_
#define QZ_PLATFORM_RUNTIME_RUN_TIME_ERROR_H_

#include <stdexcept>
#include <string>

namespace qz {

// Error numbers of the runtime that the program reports.
enum RunTimeErrorNumber : int {
  kErrInvalidCall = 5,         // "プロシージャの呼び出し、または引数が不正です。"
  kErrOverflow = 6,            // "オーバーフローしました。"
  kErrSubscript = 9,           // "インデックスが有効範囲にありません。"
  kErrDivisionByZero = 11,     // "0 で除算しました。"
  kErrTypeMismatch = 13,       // "型が一致しません。"
  kErrFileNotFound = 53,       // "ファイルが見つかりません。"
  kErrPathNotFound = 76,       // "パスが見つかりません。"
  kErrObjectRequired = 424,    // "オブジェクトが必要です。"
};

class RunTimeError : public std::runtime_error {
 public:
  // `description` empty means the runtime's own text for `number`.
  explicit RunTimeError(int number, std::string description = {});

  int number() const { return number_; }
  const std::string& description() const { return description_; }

 private:
  int number_;
  std::string description_;
};

// Returns the runtime's description of error `number` ("アプリケーション定義
// またはオブジェクト定義のエラーです。" for numbers it does not know).
std::string RunTimeErrorText(int number);

}  // namespace qz

#endif  // QZ_PLATFORM_RUNTIME_RUN_TIME_ERROR_H_
