// The board on a screen of twice the density: same layout in logical pixels, drawn sharp.
#include <gtest/gtest.h>

#include <QApplication>
#include <set>

#include "window_rig.h"

using namespace lumera;
using namespace lumera::testing;

TEST(HighDensity, BoardIsDrawnAtTheDeviceRatio) {
    WindowRig rig;
    rig.form->show();
    QApplication::processEvents();
    ASSERT_EQ(rig.form->Board().devicePixelRatioF(), 2.0) << "run with QT_SCALE_FACTOR=2";
    const QImage screen = rig.Screen();
    ASSERT_EQ(screen.size(), QSize(2 * 606, 2 * 268));
    // Cell 1 of the alphabet: a two-device-pixel outline from (8, 8), red inside.
    for (QPoint p : {QPoint(8, 8), QPoint(9, 9), QPoint(45, 49), QPoint(44, 48)})
        EXPECT_EQ(screen.pixel(p), Rgb(clBlack)) << p.x() << "," << p.y();
    EXPECT_EQ(screen.pixel(10, 10), Rgb(clRed));
    EXPECT_EQ(screen.pixel(46, 20), Rgb(clGray));
    // The letter is drawn at full resolution: strokes one device pixel apart are not doubled.
    std::set<QRgb> colours;
    int dark = 0;
    for (int y = 10; y < 48; ++y)
        for (int x = 10; x < 44; ++x) {
            colours.insert(screen.pixel(x, y));
            dark += screen.pixel(x, y) == qRgb(0, 0, 0);
        }
    EXPECT_EQ(colours.size(), 2u);  // red and black, no blending
    bool oddEdge = false;
    for (int y = 10; y < 48 && !oddEdge; ++y)
        for (int x = 11; x < 44 && !oddEdge; x += 2)
            oddEdge = screen.pixel(x, y) != screen.pixel(x - 1, y);
    EXPECT_TRUE(oddEdge) << "the letter looks scaled up from a low-resolution image";
    EXPECT_GT(dark, 40);
}
