// Lengths at the display's scale (run under Wine): design pixels map to device pixels without
// seams and back, and pictures are copied as they are or enlarged by whole pixels.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "util/win32/display_scale_win32.h"

namespace lumera::win32 {
namespace {

TEST(DisplayScaleTest, EveryDevicePixelBelongsToTheOneDesignPixelThatCoversIt) {
    for (int dpi : {96, 120, 144, 168, 192, 240, 288}) {
        SCOPED_TRACE(dpi);
        const DisplayScale scale(dpi);
        for (int x = -50; x < 700; ++x) {
            const int first = scale.ToDevice(x);
            const int next = scale.ToDevice(x + 1);
            ASSERT_GE(next - first, dpi / 96) << x;  // never narrower than the whole scale
            ASSERT_LE(next - first, (dpi + 95) / 96) << x;
            for (int device = first; device < next; ++device) ASSERT_EQ(scale.ToDesign(device), x) << device;
        }
    }
    // At 96 dots per inch nothing moves; halves are rounded up, as the system rounds its sizes.
    EXPECT_EQ(DisplayScale(96).ToDevice(605), 605);
    EXPECT_EQ(DisplayScale(144).ToDevice(5), 8);
    EXPECT_EQ(DisplayScale(144).ToDevice(606), 909);
    EXPECT_EQ(DisplayScale(192).ToDevice(268), 536);
    EXPECT_EQ(DisplayScale(0).Dpi(), 96);  // a system that cannot say
}

class ScaledPictureTest : public ::testing::Test {
protected:
    // A 4 x 2 picture of distinct colours, and a white target of 16 x 8 pixels.
    void SetUp() override {
        screen_ = GetDC(nullptr);
        picture_ = CreateCompatibleBitmap(screen_, 4, 2);
        const HDC dc = CreateCompatibleDC(screen_);
        const HGDIOBJ old = SelectObject(dc, picture_);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x) SetPixel(dc, x, y, Colour(x, y));
        SelectObject(dc, old);
        DeleteDC(dc);
        target_ = CreateCompatibleDC(screen_);
        targetBitmap_ = CreateCompatibleBitmap(screen_, 16, 8);
        oldTarget_ = SelectObject(target_, targetBitmap_);
        const RECT all{0, 0, 16, 8};
        FillRect(target_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    void TearDown() override {
        SelectObject(target_, oldTarget_);
        DeleteObject(targetBitmap_);
        DeleteDC(target_);
        DeleteObject(picture_);
        ReleaseDC(nullptr, screen_);
    }
    static COLORREF Colour(int x, int y) { return RGB(40 + 60 * x, 200 - 150 * y, 30 * x + 90 * y); }

    HDC screen_ = nullptr;
    HBITMAP picture_ = nullptr;
    HDC target_ = nullptr;
    HBITMAP targetBitmap_ = nullptr;
    HGDIOBJ oldTarget_ = nullptr;
};

TEST_F(ScaledPictureTest, CopiedAsItIsAtItsSizeAndInSquareBlocksAtWholeScales) {
    DrawScaledPicture(target_, picture_, 4, 2, RECT{1, 1, 5, 3});
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(GetPixel(target_, 1 + x, 1 + y), Colour(x, y)) << x << "," << y;
    EXPECT_EQ(GetPixel(target_, 5, 1), RGB(255, 255, 255));

    // Three times as large: every pixel a 3 x 3 block of its own colour, nothing blended.
    DrawScaledPicture(target_, picture_, 4, 2, RECT{2, 1, 14, 7});
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(GetPixel(target_, 2 + x, 1 + y), Colour(x / 3, y / 3)) << x << "," << y;
    EXPECT_EQ(GetPixel(target_, 14, 3), RGB(255, 255, 255));
}

}  // namespace
}  // namespace lumera::win32
