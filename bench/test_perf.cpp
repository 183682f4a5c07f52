// Tests of what the speed-ups must not change and of the start-up measurement: the board's cell
// cache gives the very pixels of painting every cell with QPainter (at the device ratio this
// suite runs at), and the measurement hook reads the clock and the memory figures.
#include <gtest/gtest.h>

#include <QApplication>

#include "startup/qt/perf_hook.h"
#include "window/qt/application.h"
#include "window_rig.h"

using namespace lumera;
using namespace lumera::testing;

namespace {

// Every byte from 1 to 255 on the board: letters, digits, punctuation and Windows-1252 signs.
void PutEveryByteOnTheBoard(LumeraGame& game) {
    std::string text;
    for (int byte = 1; byte <= 255; ++byte) text += static_cast<char>(byte);
    game.Working = text;
    game.Solution = text;
    for (std::size_t k = 0; k < text.size(); k += 3) game.Solution[k] = 'Q';  // white and silver cells
    game.PuzzleLen = 255;
    game.ShowCorrect = true;
}

QImage Painted(WindowRig& rig, bool cached) {
    rig.form->Board().SetCellCacheEnabled(cached);
    rig.form->Window().FullRepaint();
    return rig.form->Board().Image().copy();
}

}  // namespace

TEST(CellCache, FullPaintIsPixelForPixelThatOfPaintingEachCell) {
    WindowRig rig;
    rig.form->show();
    QApplication::processEvents();
    PutEveryByteOnTheBoard(rig.Game());
    const QImage painted = Painted(rig, false);
    const QImage cached = Painted(rig, true);
    ASSERT_EQ(cached.size(), painted.size());
    EXPECT_EQ(cached.devicePixelRatio(), rig.form->Board().devicePixelRatioF());
    EXPECT_TRUE(cached == painted) << "device ratio " << cached.devicePixelRatio();
    // Painting from the filled cache again gives the same board too.
    EXPECT_TRUE(Painted(rig, true) == painted);
}

TEST(CellCache, SingleCellRedrawsMatchAndAChangedTextColourIsNotServedStale) {
    WindowRig rig;
    rig.form->show();
    QApplication::processEvents();
    LumeraGame& game = rig.Game();
    game.Solution = "ABCDEFGH";
    game.Working = "QXEQYEQZ";
    game.PuzzleLen = 8;
    game.ShowCorrect = true;
    BoardWidget& board = rig.form->Board();
    board.SetCellCacheEnabled(true);
    rig.form->Window().FullRepaint();
    rig.ClickAlphabet('Q');
    rig.ClickCell(3);  // exchanges Q and E in five cells
    const QImage cached = board.Image().copy();
    board.SetCellCacheEnabled(false);
    rig.form->Window().FullRepaint();
    EXPECT_TRUE(cached == board.Image());

    // The cache is full of black letters; after the text colour changes it must not serve them.
    board.SetCellCacheEnabled(true);
    rig.form->Window().FullRepaint();
    QPalette blueText = board.palette();
    blueText.setColor(QPalette::WindowText, QColor(0, 0, 255));
    board.setPalette(blueText);
    rig.form->Window().FullRepaint();
    const QImage afterChange = board.Image().copy();
    EXPECT_TRUE(afterChange == Painted(rig, false));
    // Some pixel of the letter in cell 1 is blue, at whatever device ratio.
    const QImage& image = afterChange;
    const qreal ratio = image.devicePixelRatio();
    const CellRect first = PuzzleCellRect(1);
    bool blue = false;
    for (int y = int(first.Top * ratio); y < int(first.Bottom * ratio) && !blue; ++y)
        for (int x = int(first.Left * ratio); x < int(first.Right * ratio) && !blue; ++x)
            blue = image.pixel(x, y) == qRgb(0, 0, 255);
    EXPECT_TRUE(blue) << "the letter keeps its old colour";
}

TEST(PerfHook, ReportsMemoryAndTheTimeSinceTheLauncherStartedIt) {
    EXPECT_GT(PerfStatusKilobytes("VmHWM:"), 1000);
    EXPECT_GE(PerfStatusKilobytes("VmHWM:"), PerfStatusKilobytes("VmRSS:"));
    EXPECT_EQ(PerfStatusKilobytes("NoSuchField:"), -1);

    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const long long nowNs = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
    qputenv("LUMERA_PERF_T0_NS", QByteArray::number(nowNs - 25'000'000));
    EXPECT_NEAR(PerfMillisecondsSinceStart(nowNs), 25.0, 1e-6);
    qunsetenv("LUMERA_PERF_T0_NS");
    // From the kernel's start time: this process has run for a while, but not for an hour.
    const double sinceStart = PerfMillisecondsSinceStart(nowNs);
    EXPECT_GT(sinceStart, 0.0);
    EXPECT_LT(sinceStart, 3600e3);
}

TEST(PerfHook, AsksForTheMeasurementOnlyWhenTold) {
    qunsetenv("LUMERA_PERF_EXIT_AFTER_PAINT");
    EXPECT_FALSE(PerfExitAfterPaintRequested());
    qputenv("LUMERA_PERF_EXIT_AFTER_PAINT", "0");
    EXPECT_FALSE(PerfExitAfterPaintRequested());
    qputenv("LUMERA_PERF_EXIT_AFTER_PAINT", "1");
    EXPECT_TRUE(PerfExitAfterPaintRequested());
    qunsetenv("LUMERA_PERF_EXIT_AFTER_PAINT");
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    LumeraApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
