// Holding off the requests to end this program that come as signals:
// SIGINT (Ctrl+C in its terminal), SIGTERM (kill, a logout or a shutdown)
// and SIGHUP (its terminal or session closed), while work runs that must
// not be cut short half-way.
//
// While an EndRequestsHeld lives such a signal ends nothing: it is noted,
// and TakeEndRequest() reports it once. A program started meanwhile gets
// the default dispositions (a handler does not survive exec), so it can
// still be stopped. SIGKILL and a power cut cannot be held off. One object
// at a time (the dispositions are the process's); UI thread only.
#ifndef QZ_PLATFORM_SYSTEM_END_REQUESTS_H_
#define QZ_PLATFORM_SYSTEM_END_REQUESTS_H_

#include <csignal>

namespace qz::system {

class EndRequestsHeld {
 public:
  // Installs the handlers; requests noted before are forgotten.
  EndRequestsHeld();
  // Puts back the dispositions found at construction.
  ~EndRequestsHeld();

  EndRequestsHeld(const EndRequestsHeld&) = delete;
  EndRequestsHeld& operator=(const EndRequestsHeld&) = delete;

 private:
  struct sigaction previous_[3];
};

// The signal number of the latest request held off since the last call, or
// 0 when none came.
int TakeEndRequest();

}  // namespace qz::system

#endif  // QZ_PLATFORM_SYSTEM_END_REQUESTS_H_
