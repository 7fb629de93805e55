// The run-time error a call raises, for table tests of routines that report
// their faults as the runtime does. Any test may call it.
#ifndef QZ_TESTS_KIT_ERROR_OF_H_
#define QZ_TESTS_KIT_ERROR_OF_H_

#include <functional>

namespace qz::testkit {

// Runs `f`; returns the number of the RunTimeError it throws, 0 when it
// returns normally. Other exceptions pass through.
int ErrorOf(const std::function<void()>& f);

}  // namespace qz::testkit

#endif  // QZ_TESTS_KIT_ERROR_OF_H_
