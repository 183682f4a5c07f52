// The board painted by GDI into the memory bitmap, read back pixel by pixel: outlines, fills,
// gaps, the status box in both modes, single-cell redraws, and the board at 1.5 and 2 times the
// size, where every cell lies where the scaled geometry puts it.
#include <gtest/gtest.h>

#include <vector>

#include "window/board_geometry.h"
#include "window/layer_rig.h"
#include "window/win32/board_painter_win32.h"

namespace lumera::win32 {
namespace {

class BoardPainterTest : public ::testing::Test {
protected:
    // A board with "HELLO, WORLD" showing as "HEMMO, WORLD": cells 3 and 4 are wrong.
    void SetUp() override {
        game.Solution = "HELLO, WORLD";
        game.Working = "HEMMO, WORLD";
        game.PuzzleLen = static_cast<std::uint16_t>(game.Working.size());
        game.PuzzleIndex = 6;
        game.SelectedLetter = 'C';
        game.ShowCorrect = true;
    }

    std::vector<Colour> Snapshot() const {
        std::vector<Colour> pixels;
        for (int y = 0; y < kBoardHeight; ++y)
            for (int x = 0; x < kBoardWidth; ++x) pixels.push_back(painter.Pixel(x, y));
        return pixels;
    }

    // The colour at the inner corner just inside the outline, where no glyph reaches.
    Colour FillOf(const CellRect& cell) const { return painter.Pixel(cell.Right - 1, cell.Bottom - 1); }

    BoardPainter painter;
    lumera::testing::LayerRig rig{&painter};
    LumeraGame& game = rig.Game();
};

TEST_F(BoardPainterTest, OutlinesCoverBothEdgeColumnsAndRowsAndGapsShowTheBackground) {
    rig.window.FormPaint();
    for (const CellRect cell : {AlphabetCellRect(1), AlphabetCellRect(26), PuzzleCellRect(1), PuzzleCellRect(270)}) {
        SCOPED_TRACE(::testing::Message() << "cell at " << cell.Left << "," << cell.Top);
        for (const auto& [x, y] : {std::pair{cell.Left, cell.Top}, {cell.Right, cell.Top}, {cell.Left, cell.Bottom},
                                   {cell.Right, cell.Bottom}, {cell.Left + 9, cell.Top}, {cell.Left + 9, cell.Bottom},
                                   {cell.Left, cell.Top + 10}, {cell.Right, cell.Top + 10}})
            EXPECT_EQ(painter.Pixel(x, y), clBlack) << x << "," << y;
        // The gap column right of the cell and the gap row below it.
        EXPECT_EQ(painter.Pixel(cell.Right + 1, cell.Top + 10), clGray);
        EXPECT_EQ(painter.Pixel(cell.Left + 9, cell.Bottom + 1), clGray);
        // Just inside the outline is fill, on all four sides.
        EXPECT_NE(painter.Pixel(cell.Left + 1, cell.Bottom - 1), clBlack);
        EXPECT_NE(painter.Pixel(cell.Right - 1, cell.Top + 1), clBlack);
    }
    // The band between the strip and the grid, the margin, and everything right of the grid.
    EXPECT_EQ(painter.Pixel(100, 47), clGray);
    EXPECT_EQ(painter.Pixel(100, 63), clGray);
    EXPECT_EQ(painter.Pixel(3, 100), clGray);
    EXPECT_EQ(painter.Pixel(266, 20), clGray);
    EXPECT_EQ(painter.Pixel(605, 267), clGray);
    EXPECT_EQ(painter.Pixel(kStatusRect.Right + 1, 20), clGray);
}

TEST_F(BoardPainterTest, FillsShowSelectionAndCorrectLetters) {
    rig.window.FormPaint();
    EXPECT_EQ(FillOf(AlphabetCellRect(3)), clRed);  // "C" is selected
    EXPECT_EQ(FillOf(AlphabetCellRect(1)), clWhite);
    EXPECT_EQ(FillOf(AlphabetCellRect(26)), clWhite);
    EXPECT_EQ(FillOf(PuzzleCellRect(1)), clSilver);   // "H" is right
    EXPECT_EQ(FillOf(PuzzleCellRect(3)), clWhite);    // "M" should be "L"
    EXPECT_EQ(FillOf(PuzzleCellRect(6)), clSilver);   // the comma equals itself
    EXPECT_EQ(FillOf(PuzzleCellRect(13)), clSilver);  // past the end of the text
    EXPECT_EQ(FillOf(PuzzleCellRect(270)), clSilver);

    game.ShowCorrect = false;
    game.SelectedLetter = ' ';
    painter.ClearBoard(clGray);
    rig.window.FormPaint();
    EXPECT_EQ(FillOf(AlphabetCellRect(3)), clWhite);
    EXPECT_EQ(FillOf(PuzzleCellRect(1)), clWhite);
    EXPECT_EQ(FillOf(PuzzleCellRect(6)), clWhite);
    EXPECT_EQ(FillOf(PuzzleCellRect(13)), clSilver);
}

TEST_F(BoardPainterTest, StatusBoxIsRedInPlayAndYellowInSolverMode) {
    rig.window.FormPaint();
    EXPECT_EQ(painter.Pixel(kStatusRect.Left, kStatusRect.Top), clBlack);
    EXPECT_EQ(painter.Pixel(kStatusRect.Right, kStatusRect.Bottom), clBlack);
    EXPECT_EQ(FillOf(kStatusRect), clRed);
    // "Puzzle # 7" in 24-pixel letters: ink reaches well below the 16-pixel letters' height.
    int inkRows = 0;
    for (int y = kStatusRect.Top + 1; y < kStatusRect.Bottom; ++y) {
        bool ink = false;
        for (int x = kStatusRect.Left + 1; x < kStatusRect.Left + 150; ++x) ink |= painter.Pixel(x, y) == clBlack;
        inkRows += ink;
    }
    EXPECT_GE(inkRows, 17);

    game.SolverMode = true;
    rig.window.FormPaint();
    EXPECT_EQ(FillOf(kStatusRect), clYellow);
    // "Click here to return to game." runs on past the first 150 pixels.
    bool inkFarRight = false;
    for (int y = kStatusRect.Top + 1; y < kStatusRect.Bottom; ++y)
        for (int x = kStatusRect.Left + 200; x < kStatusRect.Right; ++x) inkFarRight |= painter.Pixel(x, y) == clBlack;
    EXPECT_TRUE(inkFarRight);
}

TEST_F(BoardPainterTest, LettersAreDrawnWithoutAntialiasingFromTheCellsTopLeft) {
    rig.window.FormPaint();
    for (int n : {1, 13, 23}) {  // "A", "M", "W": the widest letters too stay inside the fill
        const CellRect cell = AlphabetCellRect(n);
        int ink = 0;
        for (int y = cell.Top + 1; y < cell.Bottom; ++y)
            for (int x = cell.Left + 1; x < cell.Right; ++x) {
                const Colour pixel = painter.Pixel(x, y);
                ASSERT_TRUE(pixel == clBlack || pixel == clWhite) << "cell " << n << " at " << x << "," << y;
                ink += pixel == clBlack;
                // The text starts at (Left + 2, Top + 2): nothing in the row and column before.
                if (y == cell.Top + 1 || x == cell.Left + 1) {
                    EXPECT_EQ(pixel, clWhite) << x << "," << y;
                }
            }
        EXPECT_GT(ink, 15) << "cell " << n;
    }
    // A blank grid cell holds no ink.
    const CellRect blank = PuzzleCellRect(100);
    for (int y = blank.Top + 1; y < blank.Bottom; ++y)
        for (int x = blank.Left + 1; x < blank.Right; ++x) ASSERT_EQ(painter.Pixel(x, y), clSilver);
}

TEST_F(BoardPainterTest, SingleCellRedrawChangesThatCellAlone) {
    rig.window.FormPaint();
    const std::vector<Colour> before = Snapshot();
    rig.window.DrawPuzzleCell(3, 'L', clSilver);
    const std::vector<Colour> after = Snapshot();
    const RECT area = CellArea(PuzzleCellRect(3));
    int changed = 0;
    for (int y = 0; y < kBoardHeight; ++y)
        for (int x = 0; x < kBoardWidth; ++x) {
            if (before[y * kBoardWidth + x] == after[y * kBoardWidth + x]) continue;
            ++changed;
            ASSERT_TRUE(x >= area.left && x < area.right && y >= area.top && y < area.bottom) << x << "," << y;
        }
    EXPECT_GT(changed, 200);  // the whole fill turned from white to silver
    EXPECT_EQ(FillOf(PuzzleCellRect(3)), clSilver);

    painter.ClearBoard(clGray);
    for (int y = 0; y < kBoardHeight; y += 7)
        for (int x = 0; x < kBoardWidth; x += 7) ASSERT_EQ(painter.Pixel(x, y), clGray);
}

// The board at a display scale: every part's outline is black across the whole width of its
// scaled pixels, the gap beside and below it grey, its fill where the scale puts it, and its
// letter drawn at the scale in two colours only.
class ScaledBoardTest : public BoardPainterTest, public ::testing::WithParamInterface<int> {
protected:
    void ExpectPartAt(const CellRect& cell, Colour fill) {
        const DisplayScale scale(GetParam());
        const auto at = [&](int x) { return scale.ToDevice(x); };
        const int left = at(cell.Left), top = at(cell.Top), right = at(cell.Right + 1), bottom = at(cell.Bottom + 1);
        const int line = at(cell.Left + 1) - left;  // the outline's width in device pixels
        for (int x = left; x < right; ++x)
            for (int y : {top, top + line - 1, bottom - line, bottom - 1})
                ASSERT_EQ(painter.Pixel(x, y), clBlack) << x << "," << y;
        for (int y = top; y < bottom; ++y)
            for (int x : {left, left + line - 1, right - line, right - 1})
                ASSERT_EQ(painter.Pixel(x, y), clBlack) << x << "," << y;
        // Inside the outline where no glyph reaches: left of the text and above it.
        EXPECT_EQ(painter.Pixel(left + line, bottom - line - 1), fill);
        EXPECT_EQ(painter.Pixel(right - line - 1, top + line), fill);
        if (right < painter.Width()) {
            EXPECT_EQ(painter.Pixel(right, (top + bottom) / 2), clGray);
        }
        EXPECT_EQ(painter.Pixel((left + right) / 2, bottom), clGray);
    }
    // Rows of a cell's fill that hold ink, and whether every pixel is ink or fill.
    int InkRows(const CellRect& cell, Colour fill, bool& twoColours) {
        const DisplayScale& scale = painter.Scale();
        int rows = 0;
        twoColours = true;
        for (int y = scale.ToDevice(cell.Top + 1); y < scale.ToDevice(cell.Bottom); ++y) {
            bool ink = false;
            for (int x = scale.ToDevice(cell.Left + 1); x < scale.ToDevice(cell.Right); ++x) {
                const Colour pixel = painter.Pixel(x, y);
                ink |= pixel == clBlack;
                twoColours &= pixel == clBlack || pixel == fill;
            }
            rows += ink;
        }
        return rows;
    }
};

TEST_P(ScaledBoardTest, EveryPartLiesWhereTheScaledGeometryPutsItWithSharpOutlinesAndLetters) {
    rig.window.FormPaint();
    bool sharp = true;
    const int letterRows96 = InkRows(AlphabetCellRect(1), clWhite, sharp);
    ASSERT_TRUE(painter.SetScale(DisplayScale(GetParam())));
    EXPECT_FALSE(painter.SetScale(DisplayScale(GetParam())));
    const DisplayScale scale(GetParam());
    ASSERT_EQ(painter.Width(), scale.ToDevice(kBoardWidth));
    ASSERT_EQ(painter.Height(), scale.ToDevice(kBoardHeight));
    rig.window.FormPaint();

    for (int n = 1; n <= 26; ++n) {
        SCOPED_TRACE(::testing::Message() << "alphabet cell " << n);
        ExpectPartAt(AlphabetCellRect(n), n == 3 ? clRed : clWhite);
    }
    for (int n = 1; n <= kGridCells; ++n) {
        SCOPED_TRACE(::testing::Message() << "grid cell " << n);
        ExpectPartAt(PuzzleCellRect(n), n == 3 || n == 4 ? clWhite : clSilver);
    }
    ExpectPartAt(kStatusRect, clRed);

    // "A" is drawn in the larger font: its ink is about the scale times as tall, and as sharp.
    const int letterRows = InkRows(AlphabetCellRect(1), clWhite, sharp);
    EXPECT_TRUE(sharp);
    EXPECT_GE(letterRows * 96, (letterRows96 - 1) * GetParam());
    EXPECT_LE(letterRows * 96, (letterRows96 + 1) * GetParam());
    EXPECT_GT(InkRows(kStatusRect, clRed, sharp), letterRows);
    EXPECT_TRUE(sharp);
}

TEST_P(ScaledBoardTest, ACellRedrawShowsItsOutlineRectangleAtTheScale) {
    std::vector<RECT> shown;
    painter.SetShowArea([&](const RECT& area) { shown.push_back(area); });
    painter.SetScale(DisplayScale(GetParam()));
    rig.window.DrawPuzzleCell(31, 'Q', clWhite);
    const DisplayScale scale(GetParam());
    const CellRect cell = PuzzleCellRect(31);
    const RECT expected = scale.ToDevice(CellArea(cell));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(EqualRect(&shown[0], &expected));
    ExpectPartAt(cell, clWhite);
}

INSTANTIATE_TEST_SUITE_P(AtOneAndAHalfAndTwice, ScaledBoardTest, ::testing::Values(144, 192));

}  // namespace
}  // namespace lumera::win32
