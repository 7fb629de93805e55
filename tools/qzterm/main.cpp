// qzterm: one terminal of the result screen, without a display, for tests
// that need two real processes on one data folder.
//
//   qzterm <program folder> <computer name> <today yyyymmdd> command <command line>
//   qzterm <program folder> <computer name> <today yyyymmdd> search <examinee> <consultation date>
//   qzterm lock <record-manager file> [<ms>]
//
// The first two run the real main form QZP140 through the scripted shell,
// as the computer named, on the given day, as if started from the suite's
// menu (no other copy is looked for: the terminals are other machines).
// "command" starts with the command line; "search" starts without one and
// chooses the examinee's row of that date on the search screen. The program
// waits for a line "go" on its standard input before it starts, so that
// two terminals can be started at the same moment. It writes one line per
// event to its standard output:
//
//   READY          set up, waiting for "go"
//   BOX <text>     a message box (line breaks as "|"), answered OK
//   HELD <ren>     the examinee is on screen, held under on-line row <ren>
//   REFUSED        the search screen stayed (the choice was refused)
//   ENDED          the program has ended
//   RUNNING        the program goes on when it should have ended
//
// After HELD it waits for a line, then presses F12 (after a search start it
// then closes the search screen that comes back).
//
// "lock" takes the write lock of the file as another terminal's save would
// and writes LOCKED; it holds it for <ms> milliseconds, or without <ms>
// until a line arrives, then lets it go and writes FREE.
//
// Exit status 0, or 2 on bad arguments.
#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>
#include <thread>

#include "examinee/bas_public.h"
#include "examinee/frm_result_in.h"
#include "platform/clock/clock.h"
#include "platform/runtime/app.h"
#include "platform/system/instance_lock.h"
#include "platform/system/system_info.h"
#include "platform/system/window_finder.h"
#include "platform/text/vb.h"
#include "platform/ui/scripted_shell.h"
#include "suite/search_form.h"

namespace {

void Say(const std::string& line) {
  std::cout << line << std::endl;
}

std::string ReadLine() {
  std::string line;
  if (!std::getline(std::cin, line)) return {};
  return line;
}

int Lock(const std::string& file, int ms) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) return 2;
  sqlite3_busy_timeout(db, 10000);
  if (sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) return 2;
  Say("LOCKED");
  if (ms >= 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  } else {
    ReadLine();
  }
  sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  Say("FREE");
  return 0;
}

qz::FrmSearch* SearchScreen() {
  return dynamic_cast<qz::FrmSearch*>(qz::ui::Shell::Require().FindForm("frmSearch"));
}

// Chooses the row of `examinee` on `date` on the search screen on view.
void Choose(const std::string& examinee, int date) {
  qz::FrmSearch* search = SearchScreen();
  if (search == nullptr) return;
  const auto& entries = search->entries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (qz::vb::RTrim(entries[i].ExamineeNo) == examinee && entries[i].ConsultDate == date) {
      search->lstExaminee.SetRow(static_cast<int>(i) + 1);
      search->cmdSelect_Click();
      return;
    }
  }
}

void CloseSearch() {
  if (qz::FrmSearch* search = SearchScreen()) search->cmdClose_Click();
}

int Terminal(int argc, char** argv) {
  const std::string folder = argv[1];
  const std::string mode = argv[4];
  const int today = std::stoi(argv[3]);
  qz::App().path = folder;
  qz::App().command = mode == "command" ? argv[5] : "";
  if (::chdir(folder.c_str()) != 0) return 2;
  qz::system::SetComputerNameForTest(std::string(argv[2]));
  qz::system::SetInstanceCheckForTest([](std::string_view) { return false; });
  qz::system::SetWindowFinderForTest([](std::string_view) { return true; });
  qz::FixClockForTest(qz::LocalDateTime{today / 10000, today / 100 % 100, today % 100, 9, 30, 0, 0});

  qz::ui::ScriptedShell shell;
  shell.auto_answer = true;
  shell.on_box = [](const qz::ui::MessageBoxRequest& box) {
    std::string text = box.text;
    for (std::size_t p; (p = text.find("\r\n")) != std::string::npos;) text.replace(p, 2, "|");
    Say("BOX " + text);
  };
  qz::FrmResultIn& form = *qz::frmResultInForm;
  shell.SetMainForm(&form);
  Say("READY");
  if (ReadLine() != "go") return 2;

  bool going = shell.Drive([&] { form.Show(); });
  if (going && mode == "search" && argc > 6) {
    const std::string examinee = argv[5];
    const int date = std::stoi(argv[6]);
    going = shell.Drive([&] { Choose(examinee, date); });
  }
  if (going && qz::Fnc_ExamineeOnScreen()) {
    Say("HELD " + std::to_string(qz::basPublic.OnlineRen));
    ReadLine();
    going = shell.Drive([&] {
      if (!shell.UserKey(qz::ui::kKeyF12)) Say("BOX F12 refused");
    });
  } else if (going) {
    Say("REFUSED");
  }
  if (going) going = shell.Drive([] { CloseSearch(); });
  Say(going ? "RUNNING" : "ENDED");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string first = argc > 1 ? argv[1] : "";
  if (first == "lock" && argc >= 3) return Lock(argv[2], argc > 3 ? std::stoi(argv[3]) : -1);
  if (argc >= 6 && (std::string(argv[4]) == "command" || std::string(argv[4]) == "search")) return Terminal(argc, argv);
  std::fprintf(stderr, "usage: qzterm <program folder> <computer> <yyyymmdd> command <line> | ... search <no> <date>"
                       " | lock <file> [<ms>]\n");
  return 2;
}
