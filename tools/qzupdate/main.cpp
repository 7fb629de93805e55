// qzupdate: the version-up program Update without a display, for tests that
// end it the way a power cut does.
//
//   qzupdate <release folder> <installed program folder> [<kind> <text> <n> [hold]]
//
// Runs the real program (its Main and main form) through the scripted
// shell, as the executable Update of <release folder> started with the
// installed program folder on its command line. With a kill point, the
// program kills itself with SIGKILL as soon as the <n>-th change of kind
// <kind> whose path or parameters contain <text> is in its journal on the
// disk, before the change is made. Kinds as the journal writes them: B a
// backup, A a file that may be added, D a folder that may be added, R a
// move aside, X an outside program started; E is the end of a run, after
// its last change, just before its journal is removed. With "hold" the
// program does not die there: it says HOLD and waits for a line on its
// input, then goes on (the test changes the world in between).
//
// It writes one line per event to its standard output:
//
//   BOX <text>      a message box (line breaks as "|"); the program waits
//                   for a line on its input, then the box gets its close
//                   answer (OK for an OK box)
//   KILL <kind> <path>   the kill point is reached; SIGKILL follows
//   HOLD <kind> <path>   the hold point is reached; the program waits for a
//                        line on its input
//   ENDED <status>  the program has ended with that exit status
//
// Exit status: the program's, or 2 on bad arguments.
#include <csignal>
#include <iostream>
#include <string>

#include "platform/runtime/app.h"
#include "platform/ui/scripted_shell.h"
#include "update/journal_file.h"
#include "update/update_main.h"

namespace {

std::string OneLine(std::string text) {
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
    text.replace(at, 2, "|");
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc == 4 || argc == 5 || argc > 7 || (argc == 7 && std::string(argv[6]) != "hold")) {
    std::cerr << "usage: qzupdate <release folder> <program folder> [<kind> <text> <n> [hold]]\n";
    return 2;
  }
  qz::InitApp("Update", 0, nullptr);
  qz::App().path = argv[1];
  qz::App().exe_name = "Update";
  if (argc >= 6) {
    const bool hold = argc == 7;
    const char kind = argv[3][0];
    const std::string text = argv[4];
    const int n = std::stoi(argv[5]);
    int seen = 0;
    qz::update::SetJournalHookForTest([=](const qz::update::JournalEntry& e) mutable {
      const bool end = e.kind == qz::update::JournalEntry::kRan && e.path.empty();
      if ((end ? 'E' : static_cast<char>(e.kind)) != kind) return;
      if ((e.path + " " + e.backup).find(text) == std::string::npos || ++seen != n) return;
      if (hold) {
        std::cout << "HOLD " << kind << " " << e.path << std::endl;
        std::string line;
        std::getline(std::cin, line);
        return;
      }
      std::cout << "KILL " << kind << " " << e.path << std::endl;
      std::raise(SIGKILL);
    });
  }
  qz::ui::ScriptedShell shell;
  shell.auto_answer = true;
  shell.on_box = [](const qz::ui::MessageBoxRequest& box) {
    std::cout << "BOX " << OneLine(box.text) << std::endl;
    std::string line;
    std::getline(std::cin, line);
  };
  const int status = qz::update::ProgramMain(shell, argv[2]);
  std::cout << "ENDED " << status << std::endl;
  return status;
}
