// The window layer against fakes of its ports, for every front-end at once: the start-up and quit
// sequences, pointer releases at the hit areas' boundary pixels, what each cell shows, the menu
// by item name and the frame's states.
#include <gtest/gtest.h>

#include <filesystem>

#include "layer_rig.h"
#include "window/window_texts.h"

namespace lumera::testing {
namespace {

// A rig started in a folder that holds the default puzzle file.
struct StartedRig {
    TempDir dir;
    std::filesystem::path previous = std::filesystem::current_path();
    LayerRig rig;
    explicit StartedRig(const std::string& puzzles = "HELLO WORLD\nSECOND LINE\n") {
        dir.Write("Lumera8.dat", puzzles);
        std::filesystem::current_path(dir.path);
        rig.window.FormCreate();
    }
    ~StartedRig() { std::filesystem::current_path(previous); }
    void ClickCentreOf(const CellRect& r) { rig.window.FormMouseUp(r.Left + 9, r.Top + 10); }
};

TEST(GameWindowLife, CreationShowsTheSplashStartsTimer1DealsAndSelectsA) {
    StartedRig started;
    LayerRig& rig = started.rig;
    EXPECT_EQ(rig.shell.calls, std::vector<std::string>{"ShowSplash"});
    EXPECT_EQ(rig.frame.timerInterval, 1500);
    EXPECT_EQ(rig.Game().Solution, "HELLO WORLD");
    EXPECT_EQ(rig.Game().SelectedLetter, 'A');
    EXPECT_EQ(rig.window.Caption(), kAppCaption + " - [Lumera8.dat]");
    EXPECT_EQ(rig.frame.caption, rig.window.Caption());

    rig.window.Timer1Timer();
    EXPECT_EQ(rig.frame.timerInterval, 0);
    EXPECT_EQ(rig.shell.calls.back(), "CloseSplash");
    rig.frame.SetTimer1(1500);
    rig.window.MenuClick("menuAbout");
    EXPECT_EQ(rig.frame.timerInterval, 0) << "About stops Timer1 first";
    EXPECT_EQ(rig.shell.calls.back(), "ShowAbout");
}

TEST(GameWindowLife, AFailedStartIsReportedAndLeavesAnEmptyBoardWithNothingSelected) {
    TempDir empty;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(empty.path);
    LayerRig rig;
    rig.window.FormCreate();
    std::filesystem::current_path(previous);
    ASSERT_EQ(rig.frame.errors.size(), 1u);
    EXPECT_EQ(rig.Game().SelectedLetter, 0);
    EXPECT_EQ(rig.Game().PuzzleLen, 0);
    EXPECT_EQ(rig.frame.timerInterval, 1500) << "the splash still goes away";
}

TEST(GameWindowLife, QuitStoresThePositionAndClosesAndEveryCloseAsksTheReminder) {
    StartedRig started;
    LayerRig& rig = started.rig;
    const int writes = rig.store.writes;
    rig.window.MenuClick("menuQuit");
    EXPECT_GT(rig.store.writes, writes);
    EXPECT_EQ(rig.store.StoredIndex(), 0u);
    EXPECT_EQ(rig.frame.closes, 1);
    rig.window.FormClose();
    EXPECT_EQ(rig.shell.calls.back(), "CheckDonationReminder");
}

TEST(GameWindowInput, ReleasesActAtTheHitAreasBoundaryPixels) {
    StartedRig started;
    GameWindow& window = started.rig.window;
    LumeraGame& game = started.rig.Game();
    const auto selectedAfter = [&](int x, int y) {
        game.SelectLetter('Z');
        window.FormMouseUp(x, y);
        return game.SelectedLetter;
    };
    EXPECT_EQ(selectedAfter(23, 10), 'A');  // the gap right of cell 1 belongs to it
    EXPECT_EQ(selectedAfter(24, 10), 'B');
    EXPECT_EQ(selectedAfter(10, 25), 'A');  // so does the gap row below
    EXPECT_EQ(selectedAfter(10, 26), 'N');
    EXPECT_EQ(selectedAfter(263, 45), 'Z');
    for (auto [x, y] : {std::pair{4, 10}, {10, 4}, {10, 46}, {264, 20}, {272, 20}, {600, 20}, {10, 64}, {604, 100}})
        EXPECT_EQ(selectedAfter(x, y), 'Z') << x << "," << y;

    const std::string working = game.Working;
    window.FormMouseUp(603, 261);  // cell 270, past any text
    EXPECT_EQ(game.Working, working);
    window.FormMouseUp(599, 45);  // the status box deals the puzzle again
    EXPECT_EQ(game.SelectedLetter, kNoLetter);
    EXPECT_EQ(game.Solution, "HELLO WORLD");
}

TEST(GameWindowBoard, EveryCellShowsItsTextFillAndOutlineAndTheWholeBoardIsShown) {
    StartedRig started;
    LayerRig& rig = started.rig;
    rig.fakePainter.cells.clear();
    rig.window.FormPaint();
    const std::vector<CellLook>& cells = rig.fakePainter.cells;
    ASSERT_EQ(cells.size(), 26u + 270u + 1u);
    EXPECT_EQ(cells[0], (CellLook{AlphabetCellRect(1), "A", 16, clWindowText, clRed, clBlack}));
    EXPECT_EQ(cells[1].fill, clWhite);
    EXPECT_EQ(cells[26 + 269], (CellLook{PuzzleCellRect(270), " ", 16, clWindowText, clSilver, clBlack}));
    EXPECT_EQ(cells.back(), (CellLook{kStatusRect, "Puzzle # 1", 24, clWindowText, clRed, clBlack}));
    EXPECT_EQ(rig.fakePainter.shown.back(), (CellRect{0, 0, kBoardWidth, kBoardHeight}));

    const int clears = rig.fakePainter.clears;
    rig.dialogs.inputAnswers = {"ABC"};
    rig.window.MenuClick("menuSolve");
    EXPECT_EQ(rig.fakePainter.clears, clears + 1) << "entering solver-aid mode clears and repaints";
    EXPECT_EQ(rig.fakePainter.cells.back(), (CellLook{kStatusRect, kSolverStatusText, 24, clWindowText, clYellow, clBlack}));
}

TEST(GameWindowBoard, ASelectionDrawsAndShowsTwoCellsWithTheirOutlines) {
    StartedRig started;
    LayerRig& rig = started.rig;
    rig.fakePainter.cells.clear();
    rig.fakePainter.shown.clear();
    started.ClickCentreOf(AlphabetCellRect(3));
    ASSERT_EQ(rig.fakePainter.cells.size(), 2u);
    EXPECT_EQ(rig.fakePainter.cells[0].fill, clWhite);
    EXPECT_EQ(rig.fakePainter.cells[1], (CellLook{AlphabetCellRect(3), "C", 16, clWindowText, clRed, clBlack}));
    EXPECT_EQ(rig.fakePainter.shown, (std::vector<CellRect>{{4, 4, 23, 25}, {44, 4, 63, 25}}));
}

TEST(GameWindowMenu, CommandsByItemNameAndTheFrameMirrorsTheirStates) {
    StartedRig started;
    LayerRig& rig = started.rig;
    GameWindow& window = rig.window;
    EXPECT_FALSE(window.MenuClick("N1"));
    EXPECT_FALSE(window.MenuClick("noSuchItem"));
    EXPECT_TRUE(window.IsOptionChecked("menuSound"));
    EXPECT_TRUE(window.MenuClick("menuSound"));
    EXPECT_FALSE(window.IsOptionChecked("menuSound"));
    EXPECT_FALSE(rig.frame.checked.at("menuSound"));

    window.MenuClick("Contents1");
    EXPECT_EQ(rig.shell.calls.back(), "OpenDocument lumera8.html");
    window.MenuClick("MakeaDonation1");
    EXPECT_EQ(rig.shell.calls.back(), "ShowDonationDialog");

    rig.dialogs.inputAnswers = {"XYZ"};
    window.MenuClick("menuSolve");
    for (const char* name : kSolverDisabledCommands) {
        EXPECT_FALSE(window.IsCommandEnabled(name)) << name;
        EXPECT_FALSE(rig.frame.enabled.at(name)) << name;
    }
    EXPECT_TRUE(window.IsCommandEnabled("menuQuit"));
    window.FormMouseUp(400, 20);
    for (const char* name : kSolverDisabledCommands) EXPECT_TRUE(window.IsCommandEnabled(name)) << name;
}

TEST(GameWindowMenu, AnErrorInACommandIsReportedAndTheNextCommandRuns) {
    StartedRig started;
    LayerRig& rig = started.rig;
    std::filesystem::remove(started.dir.path / "Lumera8.dat");
    rig.Game().PuzzleText.Close();
    rig.window.MenuClick("menuNew");
    ASSERT_EQ(rig.frame.errors.size(), 1u);
    rig.window.MenuClick("menuSound");
    EXPECT_FALSE(rig.Game().SoundOn);
}

}  // namespace
}  // namespace lumera::testing

namespace lumera::testing {
namespace {

struct RecordingObserver : IBoardObserver {
    std::vector<int> changed;
    void BoardPartChanged(int part, const BoardPart&, const BoardPart&) override { changed.push_back(part); }
};

TEST(GameWindowForScreenReaders, PartsAreNamedByWhatTheyShowAndTheirActionIsAClick) {
    StartedRig started("HI, YOU\n");
    GameWindow& window = started.rig.window;
    LumeraGame& game = started.rig.Game();
    EXPECT_EQ(window.DescribeBoardPart(0), (BoardPart{BoardPartKind::AlphabetButton, AlphabetCellRect(1), "A", "", true}));
    EXPECT_EQ(window.DescribeBoardPart(25).name, "Z");
    EXPECT_EQ(window.DescribeBoardPart(kFirstGridPart + 2).name, ",");
    EXPECT_EQ(window.DescribeBoardPart(kFirstGridPart + 3).name, "blank");
    EXPECT_EQ(window.DescribeBoardPart(kFirstGridPart + 3).description, "correct") << "a blank is always in place";
    EXPECT_EQ(window.DescribeBoardPart(kFirstGridPart + 269).description, "") << "past the text: grey, not correct";
    EXPECT_EQ(window.DescribeBoardPart(kStatusPart).name, "Puzzle # 1");
    EXPECT_EQ(window.DescribeBoardPart(kFirstGridPart).name, std::string(1, game.Working[0]));

    window.ActivateBoardPart(7);
    EXPECT_EQ(game.SelectedLetter, 'H');
    window.ActivateBoardPart(kFirstGridPart);  // exchanges H with the letter in cell 1
    EXPECT_EQ(game.Working[0], 'H');
    EXPECT_EQ(window.DescribeBoardPart(kFirstGridPart).description, "correct");
}

TEST(GameWindowForScreenReaders, AnExchangeAnnouncesEachChangedPartOnce) {
    StartedRig started("ABBA CAB\n");
    GameWindow& window = started.rig.window;
    LumeraGame& game = started.rig.Game();
    RecordingObserver observer;
    window.SetBoardObserver(&observer);
    window.ActivateBoardPart(2);  // select C: A's button and C's button change
    EXPECT_EQ(observer.changed, (std::vector<int>{0, 2}));

    observer.changed.clear();
    const char other = game.Working[0] == 'C' ? game.Working[1] : game.Working[0];
    const std::string before = game.Working;
    window.ActivateBoardPart(kFirstGridPart + static_cast<int>(before.find(other)));
    std::vector<int> expected;
    for (std::size_t i = 0; i < before.size(); ++i)
        if (before[i] == 'C' || before[i] == other) expected.push_back(kFirstGridPart + static_cast<int>(i));
    EXPECT_EQ(observer.changed, expected);

    observer.changed.clear();
    window.FullRepaint();
    EXPECT_TRUE(observer.changed.empty()) << "a repaint that changes nothing announces nothing";
}

}  // namespace
}  // namespace lumera::testing
