#include "platform/system/end_requests.h"

namespace qz::system {
namespace {

constexpr int kSignals[3] = {SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t g_request = 0;

extern "C" void NoteRequest(int signal_number) { g_request = signal_number; }

}  // namespace

EndRequestsHeld::EndRequestsHeld() {
  g_request = 0;
  struct sigaction held {};
  held.sa_handler = NoteRequest;
  sigemptyset(&held.sa_mask);
  held.sa_flags = SA_RESTART;
  for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &held, &previous_[i]);
}

EndRequestsHeld::~EndRequestsHeld() {
  for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &previous_[i], nullptr);
}

int TakeEndRequest() {
  const int request = g_request;
  g_request = 0;
  return request;
}

}  // namespace qz::system
