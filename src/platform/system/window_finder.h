// The top-level windows of the suite's programs on this machine, as far as
// the window lookup of the programs needs them: a program registers each
// top-level window by its title for as long as the window is open, and any
// program of the same user can ask whether a window of a given title exists.
//
// A registration is a file in "<runtime folder>/windows" named after the
// title (user_runtime_dir.h), held under a shared flock by the registering
// process. A file whose lock no process holds any more (its program ended
// without removing it) does not count. Tests replace the lookup with a fake.
// Single-threaded use, like the program.
#ifndef QZ_PLATFORM_SYSTEM_WINDOW_FINDER_H_
#define QZ_PLATFORM_SYSTEM_WINDOW_FINDER_H_

#include <functional>
#include <string>
#include <string_view>

namespace qz::system {

// True when a top-level window whose title is exactly `title` is open (the
// lookup by title only, without a class name). An empty title finds nothing.
bool FindTopLevelWindow(std::string_view title);

// Replaces the lookup (nullptr: the registry again).
void SetWindowFinderForTest(std::function<bool(std::string_view title)> finder);

// The registration of one open window. Registered from construction to
// destruction; not copyable. `ok()` is false when the registry could not be
// written (the window is then simply not seen by others).
class WindowRegistration {
 public:
  explicit WindowRegistration(std::string_view title);
  ~WindowRegistration();

  WindowRegistration(const WindowRegistration&) = delete;
  WindowRegistration& operator=(const WindowRegistration&) = delete;

  bool ok() const { return fd_ >= 0; }

 private:
  std::string file_;
  int fd_ = -1;
};

// The registry file name of `title`: the title with "%", "/" and control
// characters written as "%XX". Exposed for the tools that list windows.
std::string WindowFileName(std::string_view title);

}  // namespace qz::system

#endif  // QZ_PLATFORM_SYSTEM_WINDOW_FINDER_H_
