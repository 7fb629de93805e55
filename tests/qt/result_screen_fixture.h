// The result screen of the demo on the Qt front end: the real program on
// the demo data, started with an examinee on its command line, its load
// (with or without the previous-result copy dialog, closed by its 閉じる
// button as the operator would) and helpers to act on the screen as the
// operator does. Message boxes are answered with their first button and
// their texts kept.
#ifndef QZ_TESTS_QT_RESULT_SCREEN_FIXTURE_H_
#define QZ_TESTS_QT_RESULT_SCREEN_FIXTURE_H_

#include <memory>
#include <string>
#include <vector>

#include "examinee/screen_fixture.h"
#include "qt/qt_backend.h"

class QWidget;

namespace qz::qt {

class QtResultScreen : public test::ScreenTest {
 protected:
  QtResultScreen();
  ~QtResultScreen() override;

  // Starts the program on the demo's first examinee; the copy dialog that
  // ends the load (unless `copy` is false) is closed. Returns whether the
  // program goes on.
  bool StartOnFirstExaminee(bool copy = true);

  // A left press on the middle of `w`.
  static void Click(QWidget* w);
  // Lets the window system's activation and focus events arrive.
  static void Settle();
  // Presses `key` in the widget with the keyboard.
  static void KeyToFocus(int key);
  // Clicks cell (col, row) of the result grid, which must be in sight.
  void ClickCell(int col, int row);
  // The grid row of demo item `code`.
  static int RowOfItem(long long code);

  std::unique_ptr<QtShell> qt_;
  std::vector<std::string> boxes_;
  bool copy_shown_ = false;
};

}  // namespace qz::qt

#endif  // QZ_TESTS_QT_RESULT_SCREEN_FIXTURE_H_
