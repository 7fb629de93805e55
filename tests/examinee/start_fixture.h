// The world of a program start for tests: a suite folder tree (the program
// folder is the current folder and App().path), a scripted shell, a fixed
// day (2026-12-09) and computer name ("TERM01"), no other copy running, no
// suite menu window unless a test opens one, and fresh program state. The
// main form and the group-jump window are stand-in forms with the controls
// the start lays out. Everything is put back when the fixture ends.
#ifndef QZ_TESTS_EXAMINEE_START_FIXTURE_H_
#define QZ_TESTS_EXAMINEE_START_FIXTURE_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "kit/suite_builder.h"
#include "platform/ui/form.h"
#include "platform/ui/scripted_shell.h"

namespace qz::test {

inline constexpr int kToday = 20261209;
inline constexpr const char* kTerminal = "TERM01";

// A main form with the controls the start lays out, designed 12000 wide.
std::unique_ptr<ui::Form> MakeResultInForm();
// A group-jump window with its list and label, designed 3000 wide.
std::unique_ptr<ui::Form> MakeGrpJmpForm();

class StartTest : public ::testing::Test {
 protected:
  StartTest();
  ~StartTest() override;

  // A logon row of QZLOGLF.
  void AddLogon(int ren, const std::string& user, const std::string& terminal, int date);
  // A user of QZUSRLF with input group `group` in INPGRP_`slot` (none when
  // `group` is 0).
  void AddUser(const std::string& id, const std::string& name, int first_group, int slot, int group);
  // Builds the tree and makes its program folder the current one.
  void Build();

  testkit::SuiteBuilder suite_;
  ui::ScriptedShell shell_;
  bool menu_window_open_ = false;  // what the window lookup answers
  bool another_copy_ = false;      // what the instance check answers

 private:
  std::string old_cwd_;
  std::string old_app_path_;
};

}  // namespace qz::test

#endif  // QZ_TESTS_EXAMINEE_START_FIXTURE_H_
