// The one QApplication of the Qt test program, on Qt's offscreen platform
// unless QT_QPA_PLATFORM says otherwise. Made on the first call.
#ifndef QZ_TESTS_QT_QT_TEST_APP_H_
#define QZ_TESTS_QT_QT_TEST_APP_H_

#include <QApplication>

namespace qz::qt {

QApplication& TestApp();

}  // namespace qz::qt

#endif  // QZ_TESTS_QT_QT_TEST_APP_H_
