// gtest helpers for the scripted shell: a test asserts that the script ran
// without failures (unexpected message boxes, refused input, a modal form
// left waiting), and reads the boxes that were shown.
#ifndef QZ_TESTS_KIT_UI_EXPECT_H_
#define QZ_TESTS_KIT_UI_EXPECT_H_

#include <gtest/gtest.h>

#include <string>

#include "platform/ui/scripted_shell.h"

namespace qz::testkit {

inline ::testing::AssertionResult ScriptOk(const ui::ScriptedShell& shell) {
  if (shell.failures().empty()) return ::testing::AssertionSuccess();
  auto result = ::testing::AssertionFailure();
  for (const std::string& f : shell.failures()) result << "\n  " << f;
  return result;
}

// The texts of the message boxes shown, in order.
inline std::vector<std::string> BoxTexts(const ui::ScriptedShell& shell) {
  std::vector<std::string> texts;
  for (const ui::ShownBox& b : shell.boxes()) texts.push_back(b.request.text);
  return texts;
}

}  // namespace qz::testkit

#define EXPECT_SCRIPT_OK(shell) EXPECT_TRUE(::qz::testkit::ScriptOk(shell))
#define ASSERT_SCRIPT_OK(shell) ASSERT_TRUE(::qz::testkit::ScriptOk(shell))

#endif  // QZ_TESTS_KIT_UI_EXPECT_H_
