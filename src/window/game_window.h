// The game window without a toolkit: it owns the engine, takes pointer releases and menu
// commands, decides what every cell shows and hands it to a drawing port, keeps the caption and
// the menu states, and runs the start-up and quit sequences. Each front-end only translates its
// toolkit's events into calls on it and draws the cells it is given.
#pragma once

#include <map>
#include <set>
#include <memory>
#include <string>
#include <vector>

#include "engine/fitting.h"
#include "engine/game.h"
#include "window/board_geometry.h"
#include "window/board_tree.h"
#include "window/menu_table.h"

namespace lumera {

// What one cell of the board shows. The text is drawn in "Arial" at fontPixels, its top-left
// corner (the top of the character cell) at (Left + 2, Top + 2), clipped to the fill; the fill
// stops short of column Right and row Bottom; the outline is a one-pixel line on columns Left and
// Right and rows Top and Bottom, drawn last.
struct CellLook {
    CellRect rect{};
    std::string text;             // Windows-1252 bytes: one character in a cell, a line in the status box
    int fontPixels = 0;           // character height in pixels at 96 dots per inch
    Colour textColour = clWindowText;
    Colour fill = clWhite;
    Colour outline = clBlack;
    bool operator==(const CellLook&) const = default;
};

// The drawing port: a persistent board image that the front-end copies to the screen.
class ICellPainter {
public:
    virtual ~ICellPainter() = default;
    // Fills the whole board, kBoardWidth x kBoardHeight, with one colour.
    virtual void ClearBoard(Colour background) = 0;
    // Paints one cell into the board image.
    virtual void DrawCell(const CellLook& cell) = 0;
    // The area (Right and Bottom exclusive) has changed: it is to be on screen by the time the
    // event that changed it ends, and before any modal window or sound.
    virtual void ShowArea(const CellRect& area) = 0;
};

// The main window's frame: caption, menu states, Timer1, closing and the error report.
class IWindowFrame {
public:
    virtual ~IWindowFrame() = default;
    // The caption holds the puzzle file's name in the file system's encoding; the rest is ASCII.
    virtual void SetCaption(const std::string& caption) = 0;
    // Shows a menu item ("menuNew" ...) enabled or greyed, its check mark set or not.
    virtual void SetMenuItemState(const std::string& itemName, bool enabled, bool checked) = 0;
    // Starts Timer1 with an interval; 0 stops it.
    virtual void SetTimer1(int milliseconds) = 0;
    // Closes the main window; the close runs FormClose through the front-end's close event.
    virtual void Close() = 0;
    // The top-level error report: the stop-icon message for an error that escaped a handler.
    virtual void ShowErrorReport(const std::string& what) = 0;
};

// The windows and services outside the game window, which the program's entry point provides.
class IShell {
public:
    virtual ~IShell() = default;
    virtual void ShowSplash() = 0;              // the start-up splash, shown non-modally
    virtual void CloseSplash() = 0;             // closes and releases the splash in use
    virtual void ShowAbout() = 0;               // the about window, modally
    virtual void ShowDonationDialog() = 0;      // always shows the donation dialog
    virtual void CheckDonationReminder() = 0;   // shows it when its schedule says so
    virtual void OpenDocument(const std::string& document) = 0;  // the shell's default action
};

// A shell with nothing behind it: tests and front-ends started without an entry point.
class NullShell final : public IShell {
public:
    void ShowSplash() override {}
    void CloseSplash() override {}
    void ShowAbout() override {}
    void ShowDonationDialog() override {}
    void CheckDonationReminder() override {}
    void OpenDocument(const std::string&) override {}
};

struct WindowPorts {
    ICellPainter& painter;
    IWindowFrame& frame;
    IShell& shell;
    IDialogs& dialogs;
    ISound& sound;
    ISettingsStore& store;
    IRandom& random;
    IClock& clock;
    IFileOpener& files;
};

// A front-end's accessibility bridge. It is told of each part whose name, description or state
// changed, with the part as screen readers last heard it and as it is now, and once per player
// action of what the action changed, to be spoken politely.
class IBoardObserver {
public:
    virtual ~IBoardObserver() = default;
    virtual void BoardPartChanged(int part, const BoardPart& before, const BoardPart& now) = 0;
    // Windows-1252 text, never empty.
    virtual void Announce(const std::string& text) = 0;
};

class GameWindow final : public IBoard {
public:
    explicit GameWindow(WindowPorts ports);
    ~GameWindow() override;
    GameWindow(const GameWindow&) = delete;
    GameWindow& operator=(const GameWindow&) = delete;

    LumeraGame& Game() { return *game_; }
    const LumeraGame& Game() const { return *game_; }

    // The main window's events. None of them throws: an error that escapes one goes to the
    // frame's error report and ends that event.
    void FormCreate();  // the splash and Timer1, InitGame, "A" selected
    void FormPaint();   // paints every cell from the game state and shows the whole board
    void FormMouseUp(int x, int y);  // a release of any button: which one does not count
    void FormClose();   // any close of the main window: the donation reminder decides
    void Timer1Timer();
    // Another running game wrote the settings record: its options are taken over here, with
    // their check marks and the board, as if toggled here, but nothing is written.
    void StoredSettingsChanged();

    // A menu command by its item name ("menuNew" ...); false when no item has that name.
    bool MenuClick(const std::string& itemName);
    void MenuClick(MenuCommand command);

    // The handlers behind the menu items.
    void menuNewClick();
    void menuSpecifyStartClick();
    void menuCheatClick();
    void menuQuitClick();
    void menuNewPuzzleSetClick();
    void menuSolveClick();
    void menuShowCorrectLettersClick();
    void menuSoundClick();
    void MakeaDonation1Click();
    void Contents1Click();
    void menuAboutClick();

    // What the board shows now.
    CellLook AlphabetCellLook(int n) const;  // n from 1 to 26
    CellLook PuzzleCellLook(int n) const;    // n from 1 to 270
    CellLook StatusBoxLook() const;

    // The board for screen readers, in the groups and part numbers of board_tree.h. An observer
    // is told of each part that changed, once per change, as the cells are drawn, and of what
    // each pointer release or menu command changed when it ends, or before the first message
    // or sound it brings; none is kept up to date until one is set.
    BoardPart DescribeBoardPart(int part) const;
    void ActivateBoardPart(int part);
    void SetBoardObserver(IBoardObserver* observer);

    // What the frame shows now.
    const std::string& Caption() const { return caption_; }
    bool IsCommandEnabled(const std::string& itemName) const;
    bool IsOptionChecked(const std::string& itemName) const;

    // The engine's board port: a cell redraw, the full repaint, the caption and the menu states.
    void DrawAlphabetCell(char letter, Colour colour) override;
    void DrawPuzzleCell(int n, char text, Colour colour) override;
    void FullRepaint() override;
    void SetCaption(const std::string& caption) override;
    void SetCommandEnabled(const std::string& itemName, bool enabled) override;
    void SetOptionChecked(const std::string& itemName, bool checked) override;

private:

    void ShowHelp();
    void PaintBoard();
    void DrawAndShow(const CellLook& cell);
    void AnnounceChanges();
    // The action that is under way, as far as its announcement needs it.
    enum class Move { Other, Exchange, Hint };
    void BeginAction(Move move, char selected = ' ', char clicked = ' ');
    void SpeakAction();
    std::string ActionText() const;
    class SpeakingDialogs;
    class SpeakingSound;
    template <typename Handler>
    void Guard(Handler&& handler) noexcept;

    WindowPorts ports_;
    // The engine's dialogs and sound, which first speak what the action changed so far.
    std::unique_ptr<IDialogs> dialogs_;
    std::unique_ptr<ISound> sound_;
    std::unique_ptr<LumeraGame> game_;
    std::string caption_;
    std::set<std::string> disabled_;        // item names switched off
    std::map<std::string, bool> checked_;   // the option items' marks
    IBoardObserver* observer_ = nullptr;
    std::vector<BoardPart> announced_;      // the parts as the observer last heard them
    Move move_ = Move::Other;
    char selected_ = ' ', clicked_ = ' ';   // an exchange's two letters
    bool wasSolverMode_ = false, wasShowCorrect_ = false;
    bool cellsDrawn_ = false, wholeBoardDrawn_ = false;
};

}  // namespace lumera
