// The command-line helpers of this build (tools/<name>), for tests that run
// them end to end. Any test may call it.
#ifndef QZ_TESTS_KIT_TOOL_PATH_H_
#define QZ_TESTS_KIT_TOOL_PATH_H_

#include <string>

namespace qz::testkit {

// <build>/tools/<name>, found from the running test program in
// <build>/tests. The file may not exist (the tool was not built).
std::string ToolPath(const std::string& name);

}  // namespace qz::testkit

#endif  // QZ_TESTS_KIT_TOOL_PATH_H_
