// CentreBed: the result-input program running on a scaled centre
// (tests/kit/scaled_centre.h) of a given size, for the benchmarks of what
// the operator feels: the load of the examinee's consultation from the
// search screen, one Enter in the grid, and the save (F12) until the search
// screen shows again.
//
// The bed is the result screen's test bed (tests/examinee/screen_fixture.h):
// its own folder tree, fixed clock and terminal, the real forms; its record
// files SQLite files, or schemas of a database server. Headless it
// drives the program through the scripted shell, answering any message box
// with its close answer; a front end's bed overrides Act to run the
// operator's actions through its own shell and wait until the screen is
// painted.
//
// One bed at a time: the program's state is global. Not copyable.
#ifndef QZ_BENCH_CENTRE_CENTRE_BED_H_
#define QZ_BENCH_CENTRE_CENTRE_BED_H_

#include <functional>
#include <string>
#include <vector>

#include "examinee/screen_fixture.h"

namespace qz::bench {

class CentreBed : public test::ScreenTest {
 public:
  // Builds a centre of `items` items on disk (the other sizes as the kit's
  // defaults), its record files on the PostgreSQL server that `server`
  // (a connection string) reaches when not empty. Does not start the
  // program: call Start.
  explicit CentreBed(int items, const std::string& server = {});
  ~CentreBed() override;

  CentreBed(const CentreBed&) = delete;
  CentreBed& operator=(const CentreBed&) = delete;

  // Starts the program without a command line: the search screen shows.
  // Returns false when it did not.
  virtual bool Start();
  // Chooses the examinee's consultation of today on the search screen.
  // Returns whether the grid shows its items.
  bool Load();
  // Types `value` into the current result of grid line `line` (1-based)
  // and presses Enter.
  void Enter(int line, const std::string& value);
  // Presses F12 (save and end). Returns whether the search screen shows.
  bool Save();
  // Fills the search screen on view again, as a save does before it shows
  // it. Returns whether the list holds the examinee's consultation.
  bool Refill();

  int items() const { return items_; }
  // Grid lines of the loaded consultation.
  int lines() const;
  // The k-th grid line (counting round) that shows a numeric item, the
  // lines an Enter of a value is meant for.
  int NumericLine(int k) const;
  // A value for the k-th Enter: within the standard range and above it by
  // turns, and on each line another value than the time before, so that
  // every Enter changes a result and its judgements.
  std::string EnterValue(int k) const;
  // Message boxes the program showed so far (none is expected); each was
  // answered with its close answer.
  virtual int boxes() const { return static_cast<int>(Boxes().size()); }

 protected:
  // Runs one action of the operator and what it sets going, until the
  // program waits again. Returns whether the program goes on.
  virtual bool Act(const std::function<void()>& action);

 private:
  void TestBody() override {}

  int items_;
  std::vector<int> numeric_lines_;
};

}  // namespace qz::bench

#endif  // QZ_BENCH_CENTRE_CENTRE_BED_H_
