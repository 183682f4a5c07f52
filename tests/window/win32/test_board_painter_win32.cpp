// The board painted by GDI into the memory bitmap, read back pixel by pixel: outlines, fills,
// gaps, the status box in both modes, and single-cell redraws.
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

}  // namespace
}  // namespace lumera::win32
