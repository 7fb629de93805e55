// The error report's text and the send-keys notation.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/ui_expect.h"
#include "platform/runtime/app.h"
#include "platform/runtime/run_time_error.h"
#include "platform/ui/error_report.h"
#include "platform/ui/key_strokes.h"
#include "platform/ui/scripted_shell.h"

namespace qz::ui {
namespace {

TEST(UiErrorReport, TextHasTheJobLineNumberDescriptionAndOptionalStatus) {
  struct Case {
    std::string job;
    int number;
    std::string description;
    std::optional<int> status;
    std::string expected;
  } cases[] = {
      {JobText("グループ選択ボタンのクリック処理"), 13, "型が一致しません。", std::nullopt,
       "グループ選択ボタンのクリック処理でエラーが発生しました。\r\nエラー番号 : 13\r\nエラー内容 : 型が一致しません。"},
      {"帳票の実行処理でエラーが発生しました", 53, "ファイルが見つかりません。", std::nullopt,
       "帳票の実行処理でエラーが発生しました\r\nエラー番号 : 53\r\nエラー内容 : ファイルが見つかりません。"},
      {"マスタオープン処理でエラーが発生しました。", 5, "x", 12,
       "マスタオープン処理でエラーが発生しました。\r\nエラー番号 : 5\r\nエラー内容 : x\r\nステータス : 12"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ErrorReportText(c.job, c.number, c.description, c.status), c.expected);
  }
}

TEST(UiErrorReport, IsShownWithTheCallersIconAndTitleOrTheProgramsTitle) {
  App().title = "QZP140";
  ScriptedShell shell;
  shell.AnswerBox(MsgResult::kOk).AnswerBox(MsgResult::kOk);
  ASSERT_TRUE(shell.Drive([] {
    RunTimeError e(kErrSubscript);
    ShowErrorReport("添字の計算処理でエラーが発生しました。", e, MsgIcon::kCritical, "結果入力");
    ShowErrorReport("閉じるボタンの消去処理でエラーが発生しました。", e);
  }));
  ASSERT_EQ(shell.boxes().size(), 2u);
  EXPECT_EQ(shell.boxes()[0].request.text,
            "添字の計算処理でエラーが発生しました。\r\nエラー番号 : 9\r\nエラー内容 : インデックスが有効範囲にありません。");
  EXPECT_EQ(shell.boxes()[0].request.title, "結果入力");
  EXPECT_EQ(shell.boxes()[0].request.icon, MsgIcon::kCritical);
  EXPECT_EQ(shell.boxes()[0].request.buttons, MsgButtons::kOk);
  EXPECT_EQ(shell.boxes()[1].request.title, "QZP140");
  EXPECT_SCRIPT_OK(shell);
}

std::string Show(const std::vector<KeyStroke>& strokes) {
  std::string s;
  for (const KeyStroke& k : strokes) {
    if (!s.empty()) s += " ";
    s += k.key_code != 0 ? std::to_string(k.key_code) : "'" + k.text + "'";
    if (k.shift != 0) s += "/" + std::to_string(k.shift);
    if (k.ascii != 0 && k.key_code != 0) s += "=" + std::to_string(k.ascii);
  }
  return s;
}

TEST(UiKeyStrokes, ParseTheSendKeysNotation) {
  struct Case {
    const char* keys;
    const char* expected;
  } cases[] = {
      {"{ENTER}", "13=13"},
      {"~", "13=13"},
      {"%{F5}", "116/4"},
      {"^a", "65/2"},
      {"+{TAB}", "9/1"},
      {"aB1", "65=97 66/1=66 49=49"},
      {"{DOWN 3}", "40 40 40"},
      {"{+}{{}{}}", "'+' '{' '}'"},
      {"^(ab)c", "65/2 66/2 67=99"},
      {"あ", "'あ'"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Show(ParseKeyStrokes(c.keys)), c.expected) << c.keys;
}

TEST(UiKeyStrokes, RejectBadNotation) {
  for (const char* bad : {"{NOSUCH}", "{ENTER", "(ab", "ab)", "{F17}", "{DOWN x}"}) {
    EXPECT_THROW(ParseKeyStrokes(bad), RunTimeError) << bad;
  }
}

}  // namespace
}  // namespace qz::ui
