// The board on screen: geometry, cell pixels, colours, status box and what each move redraws.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>

#include "window_rig.h"

using namespace lumera;
using namespace lumera::testing;

TEST(BoardGeometry, CellRectanglesAtTheCorners) {
    EXPECT_EQ(AlphabetCellRect(1), (CellRect{4, 4, 22, 24}));
    EXPECT_EQ(AlphabetCellRect(13), (CellRect{244, 4, 262, 24}));
    EXPECT_EQ(AlphabetCellRect(26), (CellRect{244, 26, 262, 46}));
    EXPECT_EQ(PuzzleCellRect(1), (CellRect{4, 64, 22, 84}));
    EXPECT_EQ(PuzzleCellRect(270), (CellRect{584, 240, 602, 260}));
}

TEST(BoardPixels, CellsOutlinesGapsAndColours) {
    WindowRig rig;
    const QImage screen = rig.Screen();
    // "A" is selected at start: red fill inside a black outline; the gap beside it is grey.
    for (QPoint corner : {QPoint(4, 4), QPoint(22, 4), QPoint(4, 24), QPoint(22, 24)})
        EXPECT_EQ(screen.pixel(corner), Rgb(clBlack)) << corner.x() << "," << corner.y();
    EXPECT_EQ(screen.pixel(21, 23), Rgb(clRed));
    EXPECT_EQ(screen.pixel(5, 23), Rgb(clRed));
    EXPECT_EQ(screen.pixel(23, 10), Rgb(clGray));
    EXPECT_EQ(screen.pixel(10, 25), Rgb(clGray));
    EXPECT_EQ(screen.pixel(25, 23), Rgb(clWhite));  // "B"
    EXPECT_EQ(screen.pixel(100, 55), Rgb(clGray));  // the empty band
    // Grid: past the end of the text the cells are silver; the status box is red in play.
    EXPECT_EQ(screen.pixel(PuzzleCellRect(270).Left + 1, PuzzleCellRect(270).Top + 1), Rgb(clSilver));
    EXPECT_EQ(screen.pixel(602, 260), Rgb(clBlack));
    EXPECT_EQ(screen.pixel(603, 261), Rgb(clGray));
    EXPECT_EQ(screen.pixel(599, 45), Rgb(clRed));
    EXPECT_EQ(screen.pixel(600, 46), Rgb(clBlack));
    EXPECT_EQ(screen.pixel(273, 5), Rgb(clRed));
}

TEST(BoardPixels, LettersAreDrawnInsideTheirCellsWithoutAntialiasing) {
    WindowRig rig;
    const QImage screen = rig.Screen();
    int dark = 0;
    for (int y = 5; y < 24; ++y)
        for (int x = 5; x < 22; ++x) {
            const QRgb p = screen.pixel(x, y);
            EXPECT_TRUE(p == Rgb(clRed) || p == qRgb(0, 0, 0)) << "blended pixel at " << x << "," << y;
            dark += p == qRgb(0, 0, 0);
        }
    EXPECT_GT(dark, 10);  // the letter "A" is there
    // Nothing of the text lies left of or above (Left + 2, Top + 2).
    for (int y = 5; y < 24; ++y) EXPECT_EQ(screen.pixel(5, y), Rgb(clRed));
}

// Without antialiasing, hinting decides the stem widths: some letters got two-pixel stems and
// others one, and the strip looked patchy. Every measured stem is one pixel, whether the cell
// was painted or copied from the cell cache.
TEST(BoardPixels, AlphabetLettersHaveEvenOnePixelStems) {
    WindowRig rig;
    for (bool cached : {true, false}) {
        rig.form->Board().SetCellCacheEnabled(cached);
        rig.form->Window().FullRepaint();
        std::set<char> measured;
        const std::string stems = AlphabetStems(rig.Screen(), 1, 5, &measured);
        for (char letter : {'H', 'N', 'U', 'M', 'I', 'L'}) EXPECT_TRUE(measured.count(letter)) << letter << " in " << stems;
        for (char letter : measured)
            EXPECT_EQ(StemWidths(rig.Screen(), AlphabetCellRect(letter - 'A' + 1), 1, 5), std::set<int>{1})
                << letter << (cached ? " (cell cache)" : " (painted)") << "; all: " << stems;
    }
}

// The board image holds the board alone: made while the window is built, before it has its
// size, it used to be made at the widget's default size (640 x 480, 1.2 MB) first. A window made
// larger shows grey beyond the board.
TEST(BoardPixels, TheBoardImageIsTheBoardsSizeAndALargerWindowIsGreyBeyondIt) {
    WindowRig rig;
    EXPECT_EQ(rig.form->Board().Image().size(), QSize(606, 268));
    rig.form->show();
    rig.form->resize(800, 500);
    QApplication::processEvents();
    ASSERT_GT(rig.form->Board().width(), 700);
    EXPECT_EQ(rig.form->Board().Image().size(), QSize(606, 268));
    const QImage screen = rig.Screen();
    EXPECT_EQ(screen.pixel(4, 4), Rgb(clBlack));
    EXPECT_EQ(screen.pixel(599, 45), Rgb(clRed));
    EXPECT_EQ(screen.pixel(602, 260), Rgb(clBlack));
    for (QPoint beyond : {QPoint(606, 10), QPoint(rig.form->Board().width() - 1, 100), QPoint(300, 268),
                          QPoint(300, rig.form->Board().height() - 1)})
        EXPECT_EQ(screen.pixel(beyond), Rgb(clGray)) << beyond.x() << "," << beyond.y();
}

TEST(BoardPixels, ShadingAndStatusBoxFollowTheState) {
    WindowRig rig;
    LumeraGame& game = rig.Game();
    ASSERT_TRUE(game.ShowCorrect);
    auto fillOf = [&](int n) {
        const CellRect r = PuzzleCellRect(n);
        return rig.Screen().pixel(r.Right - 1, r.Bottom - 1);
    };
    int blank = 0;
    while (game.Working[blank] != ' ') ++blank;
    EXPECT_EQ(fillOf(blank + 1), Rgb(clSilver));
    rig.form->Window().menuShowCorrectLettersClick();
    EXPECT_EQ(fillOf(blank + 1), Rgb(clWhite));
    EXPECT_EQ(fillOf(270), Rgb(clSilver));

    rig.dialogs.inputAnswers = {"ab cd"};
    rig.form->Window().menuSolveClick();
    EXPECT_EQ(rig.Screen().pixel(599, 45), Rgb(clYellow));
    rig.form->Window().menuShowCorrectLettersClick();
    EXPECT_EQ(fillOf(3), Rgb(clSilver));  // the blank equals the all-blank solution
    EXPECT_EQ(fillOf(1), Rgb(clWhite));
}

TEST(BoardRedraw, SelectionDrawsTwoCellsAndAnExchangeOnlyItsLetters) {
    WindowRig rig;
    LumeraGame& game = rig.Game();
    int before = rig.form->Board().CellDrawCount();
    rig.ClickAlphabet('C');
    EXPECT_EQ(rig.form->Board().CellDrawCount() - before, 2);
    EXPECT_EQ(rig.Screen().pixel(45, 10), Rgb(clRed));
    EXPECT_EQ(rig.Screen().pixel(5, 10), Rgb(clWhite));

    game.Solution = "ABCDEFGH";
    game.Working = "QXEQYEQZ";
    game.PuzzleLen = 8;
    rig.form->Window().FullRepaint();
    rig.ClickAlphabet('Q');
    before = rig.form->Board().CellDrawCount();
    rig.ClickCell(3);  // an "E": three "Q" cells and two "E" cells change
    EXPECT_EQ(game.Working, "EXQEYQEZ");
    EXPECT_EQ(rig.form->Board().CellDrawCount() - before, 5);
}

TEST(Cp1252, TypedTextBecomesBytes) {
    EXPECT_EQ(ToCp1252Bytes(QString::fromUtf8("caf\u00e9 \u20ac \u2603")), "caf\xe9 \x80 ?");
    EXPECT_EQ(ToCp1252Bytes(QString(300, 'x')).size(), 255u);
    EXPECT_EQ(FromCp1252("\x93Hi\x94"), QString::fromUtf8("\u201cHi\u201d"));
}

TEST(Sound, SynchronousPlayEndsAndWaveLengthsComeFromTheResources) {
    EXPECT_NEAR(WaveLengthMs(":/sounds/WAVE1.wav"), 3400, 100);
    EXPECT_NEAR(WaveLengthMs(":/sounds/WAVE4.wav"), 200, 20);
    EXPECT_EQ(WaveLengthMs(":/sounds/none.wav"), 0);
    QtSound sound(nullptr);
    EXPECT_FALSE(sound.ModuleLoaded());  // the audio module is opened by the first play only
    QElapsedTimer clock;
    clock.start();
    sound.PlaySound("WAVE4", true);  // with or without an audio device, it returns
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_TRUE(sound.ModuleLoaded());
    sound.PlaySound("WAVE1", false);
    EXPECT_LT(clock.elapsed(), 2500);  // asynchronous: no wait for its 3.4 seconds
}
