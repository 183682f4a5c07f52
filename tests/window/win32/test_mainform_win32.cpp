// The main window, created hidden over fake dialogs, sound and store: the menu built from the
// table, solver-aid mode greying its five commands, pointer releases through the shared
// hit-testing, and the error report of a failing handler.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/fakes.h"
#include "window/menu_table.h"
#include "util/win32/ansi_text_win32.h"
#include "window/win32/mainform_win32.h"
#include "window/win32/menu_win32.h"
#include "window/window_measures.h"
#include "window/window_texts.h"
#include "window/win32/modal_answer_win32.h"

namespace lumera::win32 {
namespace {

using lumera::testing::FakeClock;
using lumera::testing::FakeDialogs;
using lumera::testing::FakeSound;
using lumera::testing::FakeStore;
using lumera::testing::SequenceRandom;
using lumera::testing::TempDir;

std::wstring MenuText(HMENU menu, UINT position) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
    return text;
}

class MainFormTest : public ::testing::Test {
protected:
    // The window starts in a folder holding the default puzzle file; with no stored record
    // it falls back to that file.
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        folder_.Write("Lumera8.dat", "HELLO WORLD\r\nSECOND LINE\r\n");
        std::filesystem::current_path(folder_.path);
        form_ = std::make_unique<TLumeraMainForm>(GetModuleHandleW(nullptr),
                                                  MainFormServices{{&store_, &dialogs_, &sound_, &random_, &clock_, {}, {}}, {}, {}});
    }
    void TearDown() override {
        form_.reset();
        std::filesystem::current_path(previous_);
    }

    void Release(UINT message, int x, int y) { SendMessageW(form_->Handle(), message, 0, MAKELPARAM(x, y)); }
    void Command(MenuCommand command) { SendMessageW(form_->Handle(), WM_COMMAND, CommandId(command), 0); }
    bool IsGrey(const char* itemName) {
        return (GetMenuState(form_->Menu(), *CommandIdOfItem(itemName), MF_BYCOMMAND) & MF_GRAYED) != 0;
    }
    bool IsChecked(const char* itemName) {
        return (GetMenuState(form_->Menu(), *CommandIdOfItem(itemName), MF_BYCOMMAND) & MF_CHECKED) != 0;
    }
    Colour FillOf(const CellRect& cell) { return form_->Board().Pixel(cell.Right - 1, cell.Bottom - 1); }

    TempDir folder_;
    std::filesystem::path previous_;
    FakeStore store_;
    FakeDialogs dialogs_;
    FakeSound sound_;
    SequenceRandom random_;
    FakeClock clock_;
    std::unique_ptr<TLumeraMainForm> form_;
};

TEST_F(MainFormTest, StartsLikeTheGameWithItsCaptionBoardAndPlace) {
    ASSERT_EQ(dialogs_.informations.size(), 1u);
    EXPECT_EQ(dialogs_.informations[0], "Unable to open puzzle file - Lumera2.dat! Defaulting to Lumera8.dat");
    EXPECT_EQ(lumera::testing::WindowText(form_->Handle()), FromAnsi(std::string(kAppCaption) + " - [Lumera8.dat]"));
    EXPECT_EQ(form_->Game().Solution, "HELLO WORLD");
    EXPECT_EQ(form_->Game().SelectedLetter, 'A');
    EXPECT_EQ(FillOf(AlphabetCellRect(1)), clRed);
    EXPECT_EQ(FillOf(PuzzleCellRect(6)), clSilver);  // the blank between the words is correct
    RECT frame{};
    GetWindowRect(form_->Handle(), &frame);
    EXPECT_EQ(frame.left, kWindowLeft);
    EXPECT_EQ(frame.top, kWindowTop);
    EXPECT_EQ(frame.right - frame.left, kWindowWidth);
    EXPECT_EQ(frame.bottom - frame.top, kWindowHeight);
    const LONG style = GetWindowLongW(form_->Handle(), GWL_STYLE);
    EXPECT_TRUE((style & WS_THICKFRAME) && (style & WS_MINIMIZEBOX) && (style & WS_MAXIMIZEBOX));
}

TEST_F(MainFormTest, MenuBarFollowsTheTableWithMnemonicsAndCheckMarks) {
    const HMENU bar = form_->Menu();
    ASSERT_EQ(GetMenuItemCount(bar), static_cast<int>(kMainMenu.size()));
    for (UINT entry = 0; entry < kMainMenu.size(); ++entry) {
        EXPECT_EQ(MenuText(bar, entry), FromAnsi(kMainMenu[entry].caption));
        const HMENU popup = GetSubMenu(bar, static_cast<int>(entry));
        ASSERT_NE(popup, nullptr);
        ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(kMainMenu[entry].items.size()));
        for (UINT at = 0; at < kMainMenu[entry].items.size(); ++at) {
            const MenuItemDef& item = kMainMenu[entry].items[at];
            const UINT state = GetMenuState(popup, at, MF_BYPOSITION);
            if (item.IsSeparator()) {
                EXPECT_TRUE(state & MF_SEPARATOR) << item.name;
                continue;
            }
            EXPECT_EQ(MenuText(popup, at), FromAnsi(item.caption));
            EXPECT_EQ(GetMenuItemID(popup, static_cast<int>(at)), CommandId(item.command));
            EXPECT_FALSE(state & MF_GRAYED) << item.name;
            EXPECT_EQ((state & MF_CHECKED) != 0, item.isCheckable) << item.name;  // both options start on
        }
    }
    // The options follow the record: switching one off clears its mark and stores it.
    Command(MenuCommand::menuSound);
    EXPECT_FALSE(IsChecked("menuSound"));
    EXPECT_TRUE(IsChecked("menuShowCorrectLetters"));
    EXPECT_EQ(store_.Record().at(146), 0);
}

TEST_F(MainFormTest, SolverModeGreysExactlyTheFiveCommandsUntilTheStatusBoxIsClicked) {
    dialogs_.inputAnswers.push_back(std::string("QWERTY ZXC"));
    Command(MenuCommand::menuSolve);
    ASSERT_TRUE(form_->Game().SolverMode);
    const std::vector<std::string> five{"menuNew", "menuCheat", "menuSpecifyStart", "menuNewPuzzleSet", "menuSolve"};
    for (const MenuEntryDef& entry : kMainMenu)
        for (const MenuItemDef& item : entry.items) {
            if (item.IsSeparator()) continue;
            const bool inFive = std::find(five.begin(), five.end(), item.name) != five.end();
            EXPECT_EQ(IsGrey(item.name), inFive) << item.name;
        }
    EXPECT_EQ(FillOf(kStatusRect), clYellow);

    Release(WM_LBUTTONUP, 400, 20);  // the status box: back to the game
    EXPECT_FALSE(form_->Game().SolverMode);
    for (const std::string& name : five) EXPECT_FALSE(IsGrey(name.c_str())) << name;
    EXPECT_EQ(FillOf(kStatusRect), clRed);
}

TEST_F(MainFormTest, EveryButtonReleaseActsThroughTheSharedHitAreas) {
    Release(WM_RBUTTONUP, 24, 10);  // the left edge of "B"
    EXPECT_EQ(form_->Game().SelectedLetter, 'B');
    EXPECT_EQ(FillOf(AlphabetCellRect(2)), clRed);
    EXPECT_EQ(FillOf(AlphabetCellRect(1)), clWhite);

    Release(WM_MBUTTONUP, 4, 10);  // the strip's own boundary: nothing
    EXPECT_EQ(form_->Game().SelectedLetter, 'B');
    Release(WM_LBUTTONUP, 23, 10);  // the gap right of "A" belongs to "A"
    EXPECT_EQ(form_->Game().SelectedLetter, 'A');

    // Select the letter that cell 1 should hold and click cell 1: the two letters change
    // places everywhere, and the board's pixels follow at once.
    const std::string before = form_->Game().Working;
    const char code = before[0];
    std::string expected = before;
    for (char& c : expected) c = c == code ? 'H' : c == 'H' ? code : c;
    const CellRect letter = AlphabetCellRect('H' - 'A' + 1);
    Release(WM_LBUTTONUP, letter.Left + 5, letter.Top + 5);
    EXPECT_EQ(form_->Game().SelectedLetter, 'H');
    Release(WM_LBUTTONUP, PuzzleCellRect(1).Left + 5, PuzzleCellRect(1).Top + 5);
    EXPECT_EQ(form_->Game().Working, expected);
    EXPECT_EQ(FillOf(PuzzleCellRect(1)), clSilver);
}

TEST_F(MainFormTest, CellRedrawsAreOnTheWindowWhenTheClickReturns) {
    ShowWindow(form_->Handle(), SW_SHOWNOACTIVATE);
    UpdateWindow(form_->Handle());
    const HDC screen = GetDC(form_->Handle());
    const CellRect b = AlphabetCellRect(2);
    EXPECT_EQ(GetPixel(screen, b.Right - 1, b.Bottom - 1), clWhite);
    // No message is pumped between the click and the reading: the cell was copied at once.
    Release(WM_LBUTTONUP, b.Left + 5, b.Top + 5);
    EXPECT_EQ(GetPixel(screen, b.Right - 1, b.Bottom - 1), clRed);
    EXPECT_EQ(GetPixel(screen, AlphabetCellRect(1).Right - 1, AlphabetCellRect(1).Bottom - 1), clWhite);
    // A full repaint reaches the window as well: solver-aid mode turns the status box yellow.
    dialogs_.inputAnswers.push_back(std::string("ABC"));
    Command(MenuCommand::menuSolve);
    EXPECT_EQ(GetPixel(screen, kStatusRect.Right - 1, kStatusRect.Bottom - 1), clYellow);
    ReleaseDC(form_->Handle(), screen);
}

TEST_F(MainFormTest, AMoveToAScreenOfTwiceTheDensityRedrawsTheBoardThereAndClicksFindTheirCells) {
    RECT suggested{100, 50, 900, 450};  // within the test screen: larger windows are cut to it
    SendMessageW(form_->Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    RECT frame{};
    GetWindowRect(form_->Handle(), &frame);
    EXPECT_TRUE(EqualRect(&frame, &suggested));
    ASSERT_EQ(form_->Board().Scale().Dpi(), 192);
    ASSERT_EQ(form_->Board().Width(), 2 * kBoardWidth);
    // The board as it stood, now at twice the size: "A" selected, the blank of cell 6 correct.
    const auto fillAt2x = [&](const CellRect& cell) {
        return form_->Board().Pixel(2 * cell.Right - 1, 2 * cell.Bottom - 1);
    };
    EXPECT_EQ(fillAt2x(AlphabetCellRect(1)), clRed);
    EXPECT_EQ(fillAt2x(PuzzleCellRect(6)), clSilver);
    // Board pixel 23 (the gap right of "A", which belongs to "A") is device pixels 46 and 47.
    Release(WM_LBUTTONUP, 48, 20);
    EXPECT_EQ(form_->Game().SelectedLetter, 'B');
    EXPECT_EQ(fillAt2x(AlphabetCellRect(2)), clRed);
    Release(WM_LBUTTONUP, 47, 20);
    EXPECT_EQ(form_->Game().SelectedLetter, 'A');
    Release(WM_LBUTTONUP, 9, 20);  // board pixel 4, the strip's own boundary: nothing
    EXPECT_EQ(form_->Game().SelectedLetter, 'A');
}

TEST_F(MainFormTest, TellsTheSystemTheWindowThatHoldsTheBoardAtAnotherDensity) {
    RECT frame{};
    GetWindowRect(form_->Handle(), &frame);
    SIZE here{}, twice{};
    ASSERT_TRUE(SendMessageW(form_->Handle(), WM_GETDPISCALEDSIZE, 96, reinterpret_cast<LPARAM>(&here)));
    EXPECT_EQ(here.cx, frame.right - frame.left);
    EXPECT_EQ(here.cy, frame.bottom - frame.top);
    ASSERT_TRUE(SendMessageW(form_->Handle(), WM_GETDPISCALEDSIZE, 192, reinterpret_cast<LPARAM>(&twice)));
    // The board doubles; the frame and the menu bar around it do not shrink.
    EXPECT_GE(twice.cx - 2 * kBoardWidth, here.cx - kBoardWidth);
    EXPECT_GE(twice.cy - 2 * kBoardHeight, here.cy - kBoardHeight);
    EXPECT_LT(twice.cx, 2 * here.cx);  // not the proportional guess: the frame grows less
}

TEST_F(MainFormTest, ErrorInAHandlerIsReportedWithTheStopIconAndTheGameGoesOn) {
    std::wstring caption, text;
    lumera::testing::ModalAnswerer answerer([&](HWND box) {
        caption = lumera::testing::WindowText(box);
        text = lumera::testing::MessageBoxText(box);
        lumera::testing::PressButton(box, IDOK);
        return true;
    });
    // No answer is queued for the number box: the fake input box throws.
    Command(MenuCommand::menuSpecifyStart);
    EXPECT_EQ(answerer.Answered(), 1);
    EXPECT_EQ(caption, FromAnsi(kApplicationTitle));
    EXPECT_EQ(text, L"unexpected input box: Enter new puzzle number to start at:.");
    Release(WM_LBUTTONUP, 30, 10);
    EXPECT_EQ(form_->Game().SelectedLetter, 'B');
}

}  // namespace
}  // namespace lumera::win32
