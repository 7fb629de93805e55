// The screenshot tool (tools/uishot, run by scripts/screenshot under a
// virtual X display) run on Qt's offscreen platform: both PNG files are
// written and show the windows' contents, not an empty canvas.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <string>

#include "kit/scratch_dir.h"
#include "kit/tool_path.h"

namespace qz::qt {
namespace {

// The number of pixels of `image` that are exactly `color`.
int PixelsOf(const QImage& image, QColor color) {
  const QRgb want = color.rgb();
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == want;
  }
  return n;
}

TEST(ScreenshotTool, WritesTheProgressWindowsTheWaitWindowAndTheGridFormAsPngFiles) {
  const std::string tool = testkit::ToolPath("uishot");
  if (!std::filesystem::exists(tool)) GTEST_SKIP() << "uishot not built";
  testkit::ScratchDir dir;
  const QString out = QString::fromStdString(dir.Path("shots"));

  QProcess run;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  run.setProcessEnvironment(env);
  run.start(QString::fromStdString(tool), QStringList{out});
  ASSERT_TRUE(run.waitForFinished(60000));
  ASSERT_EQ(run.exitStatus(), QProcess::NormalExit);
  ASSERT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();

  const QImage guide(out + "/frm_guide.png");
  ASSERT_FALSE(guide.isNull()) << "frm_guide.png is a readable PNG";
  EXPECT_GT(guide.width(), guide.height()) << "the progress window is a wide strip";
  // The gauge at 2 of 3 steps: a blue bar (0xFF0000 is blue) about two
  // thirds of the state line wide.
  const int blue = PixelsOf(guide, QColor(0, 0, 255));
  EXPECT_GT(blue, guide.width() / 3) << "the gauge is drawn";
  EXPECT_LT(blue, guide.width() * guide.height() / 4);

  const QImage grid(out + "/sample_grid.png");
  ASSERT_FALSE(grid.isNull()) << "sample_grid.png is a readable PNG";
  EXPECT_GT(PixelsOf(grid, QColor(0xFF, 0xC0, 0xC0)), 100)
      << "the abnormal rows of the grid and the list are painted pale red (0xC0C0FF)";

  // The version-up's wait window: a real window with its list of the
  // programs still running (a white box) above its two buttons.
  const QImage wait(out + "/update_wait.png");
  ASSERT_FALSE(wait.isNull()) << "update_wait.png is a readable PNG";
  EXPECT_GE(wait.width(), 300);
  EXPECT_GE(wait.height(), 200);
  EXPECT_GT(PixelsOf(wait, QColor(255, 255, 255)), wait.width() * wait.height() / 4) << "the list is drawn";
  // Its progress window with the gauge half-way.
  const QImage progress(out + "/update_main.png");
  ASSERT_FALSE(progress.isNull()) << "update_main.png is a readable PNG";
  EXPECT_GT(PixelsOf(progress, QColor(0, 0, 255)), progress.width() * 5) << "the gauge is drawn";
}

// The demo's result screen shot by the real program: the loaded screen with
// its range column painted and the search dialog's screen.
TEST(ScreenshotTool, ShootsTheDemosResultScreenWithTheSearchDialog) {
  const std::string tool = testkit::ToolPath("uishot");
  const std::string demodata = testkit::ToolPath("demodata");
  if (!std::filesystem::exists(tool) || !std::filesystem::exists(demodata)) GTEST_SKIP() << "tools not built";
  testkit::ScratchDir dir;
  const QString suite = QString::fromStdString(dir.Path("demo"));
  const QString out = QString::fromStdString(dir.Path("shots"));
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  auto run = [&env](const std::string& program, const QStringList& args) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QString::fromStdString(program), args);
    EXPECT_TRUE(p.waitForFinished(120000));
    EXPECT_EQ(p.exitCode(), 0) << program << ": " << p.readAllStandardError().toStdString();
  };
  run(demodata, {suite});
  run(tool, {"--demo", suite, out});

  const QImage window(out + "/result_window.png");
  ASSERT_FALSE(window.isNull()) << "result_window.png is a readable PNG";
  EXPECT_GT(PixelsOf(window, QColor(0xFF, 0xFF, 0x80)), 1000) << "the standard-range column (0x80FFFF) is painted";
  for (const char* name : {"/result_screen.png", "/group_selection.png"}) {
    EXPECT_FALSE(QImage(out + name).isNull()) << name;
  }
}

}  // namespace
}  // namespace qz::qt
