// qzwindow: the top-level window registry of the suite's programs on this
// machine, from the command line.
//
//   qzwindow hold <title>   registers a window of that title and keeps it
//                           until stdin ends or the process is stopped
//                           (e.g. "バントリク初期メニュー" stands in for the
//                           suite's menu when [SysInfo] MenuCheck is 1)
//   qzwindow find <title>   exit status 0 when such a window is open, 1 if not
#include <csignal>
#include <iostream>
#include <string>

#include "platform/system/window_finder.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int) { g_stop = 1; }

int Usage() {
  std::cerr << "usage: qzwindow hold <title> | qzwindow find <title>\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return Usage();
  const std::string command = argv[1];
  const std::string title = argv[2];
  if (command == "find") return qz::system::FindTopLevelWindow(title) ? 0 : 1;
  if (command != "hold") return Usage();

  qz::system::WindowRegistration window(title);
  if (!window.ok()) {
    std::cerr << "qzwindow: cannot register \"" << title << "\"\n";
    return 1;
  }
  // A signal ends the wait; the registration is removed on the way out.
  struct sigaction sa = {};
  sa.sa_handler = OnSignal;
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
  std::cout << "holding \"" << title << "\"" << std::endl;
  std::string line;
  while (g_stop == 0 && std::getline(std::cin, line)) {
  }
  return 0;
}
