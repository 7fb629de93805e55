// What the operator waits for through the Qt front end (Qt's offscreen
// platform), on scaled centres: the load until the grid is painted, one
// Enter until its cells are painted, the save (F12) until the search
// screen is painted, and one yield of the program with nothing changed and
// the loaded grid on screen.
//
// The program runs as it does on a screen: the operator's actions reach it
// through the backend's Dispatch, its yields sync at the display's pace,
// and a measure ends when Qt has painted what the action changed. The idle
// yield is measured with a sync at every yield (the dearest case).
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <memory>
#include <string>

#include "bench/centre/bench_main.h"
#include "platform/ui/shell.h"
#include "qt/qt_backend.h"

namespace qz::bench {
namespace {

class ScreenBed : public CentreBed {
 public:
  explicit ScreenBed(int items) : CentreBed(items) {}
  ~ScreenBed() override {
    // The program ends on its screen before the screen goes.
    if (qt_) qt_->Step([] { ui::Shell::Require().End(); });
    qt_.reset();
  }

  bool Start() override {
    qt_ = std::make_unique<qt::QtShell>();
    qt_->qt().PaceSyncs(true);
    qt_->qt().on_message_box = [this](QMessageBox& box) {
      ++boxes_;
      QTimer::singleShot(0, &box, &QMessageBox::reject);
    };
    qt_->SetMainForm(&form());
    return Act([this] { form().Show(); }) && SearchShown();
  }

  qt::QtShell& qt() { return *qt_; }
  int boxes() const override { return boxes_; }

 protected:
  bool Act(const std::function<void()>& action) override {
    qt_->qt().Dispatch([&](ui::Shell&) { action(); });
    // Back in the event loop: Qt paints what changed.
    QCoreApplication::processEvents();
    return !qt_->ended();
  }

 private:
  std::unique_ptr<qt::QtShell> qt_;
  int boxes_ = 0;
};

void IdleYield(benchmark::State& state, CentreBed& bed) {
  auto& screen = static_cast<ScreenBed&>(bed);
  if (!bed.Load()) {
    state.SkipWithError("the consultation did not load");
    return;
  }
  screen.qt().qt().PaceSyncs(false);
  for (auto _ : state) ui::DoEvents();
  screen.qt().qt().PaceSyncs(true);
  bed.Save();  // after the measure
}

}  // namespace
}  // namespace qz::bench

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  return qz::bench::RunCentreBenchmarks(
      argc, argv,
      {{"qt/load_painted", qz::bench::MeasureLoad},
       {"qt/enter_painted", qz::bench::MeasureEnter},
       {"qt/save_as_felt", qz::bench::MeasureSave},
       {"qt/idle_yield", qz::bench::IdleYield}},
      [](int items, const std::string&) { return std::make_unique<qz::bench::ScreenBed>(items); });
}
