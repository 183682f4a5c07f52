// The window layer against fakes of its ports, for every front-end at once: the start-up and quit
// sequences, pointer releases at the hit areas' boundary pixels, what each cell shows, the menu
// by item name and the frame's states.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <tuple>

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
    std::vector<std::string> spoken;
    void BoardPartChanged(int part, const BoardPart&, const BoardPart&) override { changed.push_back(part); }
    void Announce(const std::string& text) override { spoken.push_back(text); }
};

TEST(GameWindowForScreenReaders, TheBoardReadsAsLettersStatusAndPuzzleWithEachPartsPlaceAndAClickAsItsAction) {
    StartedRig started("HI, YOU\n");
    GameWindow& window = started.rig.window;
    LumeraGame& game = started.rig.Game();
    int parts = 0;
    for (int part = 0; part < kBoardPartCount; ++part) parts += kBoardGroups[BoardGroupOf(part)].Holds(part);
    EXPECT_EQ(parts, kBoardPartCount) << "every part is in its group";
    EXPECT_EQ(std::string(kBoardGroups[0].name) + kBoardGroups[1].name + kBoardGroups[2].name, "AlphabetStatusPuzzle");

    EXPECT_EQ(window.DescribeBoardPart(0),
              (BoardPart{BoardPartKind::AlphabetButton, 0, 0, 0, AlphabetCellRect(1), "A", "", true}));
    const BoardPart n = window.DescribeBoardPart(13);
    EXPECT_EQ(std::tuple(n.name, n.row, n.column, n.rect), std::tuple("N", 1, 0, AlphabetCellRect(14)));
    const BoardPart status = window.DescribeBoardPart(kStatusPart);
    EXPECT_EQ(std::tuple(status.kind, status.group, status.name),
              std::tuple(BoardPartKind::StatusButton, 1, std::string("Puzzle # 1")));
    EXPECT_EQ(window.DescribeBoardPart(kFirstGridPart + 2).name, ",");
    EXPECT_EQ(window.DescribeBoardPart(kFirstGridPart + 3).name, "blank");
    EXPECT_EQ(window.DescribeBoardPart(kFirstGridPart + 3).description, "correct") << "a blank is always in place";
    const BoardPart last = window.DescribeBoardPart(kFirstGridPart + 269);
    EXPECT_EQ(std::tuple(last.group, last.row, last.column, last.rect, last.description),
              std::tuple(2, 8, 29, PuzzleCellRect(270), std::string())) << "past the text: grey, not correct";
    EXPECT_EQ(window.DescribeBoardPart(kFirstGridPart).name, std::string(1, game.Working[0]));

    window.ActivateBoardPart(7);
    EXPECT_EQ(game.SelectedLetter, 'H');
    window.ActivateBoardPart(kFirstGridPart);  // exchanges H with the letter in cell 1
    EXPECT_EQ(game.Working[0], 'H');
    EXPECT_EQ(window.DescribeBoardPart(kFirstGridPart).description, "correct");
}

// The status part tells how many letters are left, from what the board shows: the shaded cells
// with Show Correct Letters on, only the different letters with it off.
TEST(GameWindowForScreenReaders, TheStatusTellsTheLettersStillToPlaceOnlyAsFarAsTheBoardShowsThem) {
    StartedRig started("ABBA CAB\n");
    GameWindow& window = started.rig.window;
    LumeraGame& game = started.rig.Game();
    auto toPlace = [&] { return window.DescribeBoardPart(kStatusPart).description; };
    auto wrongLetters = [&] {
        std::set<char> wrong;
        for (std::size_t i = 0; i < game.Working.size(); ++i)
            if (game.Working[i] != game.Solution[i]) wrong.insert(game.Working[i]);
        return std::to_string(wrong.size()) + " of 3 letters still to place";
    };
    const std::string atStart = wrongLetters();
    EXPECT_EQ(toPlace(), atStart);
    window.MenuClick("menuCheat");
    EXPECT_EQ(toPlace(), wrongLetters());
    EXPECT_NE(toPlace(), atStart);

    window.MenuClick("menuShowCorrectLetters");
    EXPECT_EQ(toPlace(), "3 different letters");
    game.Working = game.Solution;  // even a finished board tells nothing more while the option is off
    EXPECT_EQ(toPlace(), "3 different letters");
    window.MenuClick("menuShowCorrectLetters");
    EXPECT_EQ(toPlace(), "0 of 3 letters still to place");
}

TEST(GameWindowForScreenReaders, EachChangedPartIsToldOnceAndEachActionIsAnnouncedOnceWithWhatItChanged) {
    StartedRig started("ABBA CAB\nSECOND\n");
    LayerRig& rig = started.rig;
    GameWindow& window = rig.window;
    LumeraGame& game = rig.Game();
    RecordingObserver observer;
    window.SetBoardObserver(&observer);
    window.ActivateBoardPart(2);  // select C: A's button and C's button change, nothing is said
    EXPECT_EQ(observer.changed, (std::vector<int>{0, 2}));
    EXPECT_TRUE(observer.spoken.empty());

    observer.changed.clear();
    const char other = game.Working[0] == 'C' ? game.Working[1] : game.Working[0];
    const std::string before = game.Working;
    window.ActivateBoardPart(kFirstGridPart + static_cast<int>(before.find(other)));
    std::vector<int> expected;
    for (std::size_t i = 0; i < before.size(); ++i)
        if (before[i] == 'C' || before[i] == other) expected.push_back(kFirstGridPart + static_cast<int>(i));
    std::erase(observer.changed, kStatusPart);  // its letters to place may change too
    EXPECT_EQ(observer.changed, expected);
    auto cells = [&](char letter) {
        const auto count = std::count(game.Working.begin(), game.Working.end(), letter);
        const std::string number = count == 0 ? "no" : std::to_string(count);
        return std::string(1, letter) + " in " + number + (count == 1 ? " cell" : " cells");
    };
    EXPECT_EQ(observer.spoken, std::vector<std::string>{cells('C') + ", " + cells(other)});

    observer.changed.clear();
    observer.spoken.clear();
    window.FullRepaint();
    window.MenuClick("menuShowCorrectLetters");
    window.MenuClick("menuShowCorrectLetters");
    EXPECT_TRUE(observer.spoken.empty()) << "a repaint and the option say nothing";
    window.FormMouseUp(280, 20);  // the status box: a restart
    EXPECT_EQ(observer.spoken, std::vector<std::string>{"Puzzle # 1"});

    // The move that completes the puzzle is heard before the congratulation, the next deal after.
    std::vector<std::string> spokenAtMessage;
    rig.dialogs.onMessage = [&] { spokenAtMessage = observer.spoken; };
    observer.spoken.clear();
    window.MenuClick("menuCheat");
    while (game.PuzzleIndex == 0) window.MenuClick("menuCheat");
    ASSERT_FALSE(spokenAtMessage.empty());
    EXPECT_EQ(spokenAtMessage.back().rfind("Hint: ", 0), 0u) << spokenAtMessage.back();
    EXPECT_EQ(observer.spoken.back(), "Puzzle # 2");
    EXPECT_EQ(observer.spoken.size(), spokenAtMessage.size() + 1);
    observer.spoken.clear();
    window.MenuClick("menuCheat");
    EXPECT_EQ(observer.spoken, std::vector<std::string>{"Hint: " + cells(game.SelectedLetter)});

    observer.spoken.clear();
    rig.dialogs.inputAnswers = {std::string("abc")};
    window.MenuClick("menuSolve");
    window.FormMouseUp(280, 20);
    EXPECT_EQ(observer.spoken, (std::vector<std::string>{"Solver-aid mode", "Solver-aid mode ended. Puzzle # 2"}));
}

}  // namespace
}  // namespace lumera::testing
