// The browser front-end's ports: the board drawn on the page's canvas, the frame (the page's
// title, the menu bar of page elements, Timer1, the end of the game, the error report), the
// dialogs as modal page elements, the browser's audio and the local clock. Each only passes
// what the window layer decides to the page script and hands the player's answer back; the
// dialogs and synchronous sounds wait for the player without blocking the page (Asyncify).
#pragma once

#include <functional>

#include "window/game_window.h"

namespace lumera::web {

// Draws on the page's canvas. The board cannot be seen until the page first shows the game's
// window and asks for its paint; what the start-up sequence draws before that is not drawn.
class WebCellPainter final : public ICellPainter {
public:
    void StartPainting() { painting_ = true; }
    void ClearBoard(Colour background) override;
    void DrawCell(const CellLook& cell) override;
    void ShowArea(const CellRect& area) override;

private:
    bool painting_ = false;
};

class WebFrame final : public IWindowFrame {
public:
    // What closing the main window does in the page: run by Close().
    explicit WebFrame(std::function<void()> close) : close_(std::move(close)) {}
    // Builds the page's menu bar from the menu table.
    void CreateMenu();
    void SetCaption(const std::string& caption) override;
    void SetMenuItemState(const std::string& itemName, bool enabled, bool checked) override;
    void SetTimer1(int milliseconds) override;
    void Close() override;
    void ShowErrorReport(const std::string& what) override;

private:
    std::function<void()> close_;
};

// The board for screen readers: the layer's groups as ARIA groups (a toolbar, a group, a grid
// of rows) and a page element over the canvas for each part, renamed as the parts change;
// activating one does what a click on it does. Each move's announcement goes to a polite live
// region.
class WebBoardAccess final : public IBoardObserver {
public:
    explicit WebBoardAccess(GameWindow& window) : window_(window) {}
    // Describes every part to the page and follows the changes from then on.
    void Start();
    void BoardPartChanged(int part, const BoardPart& before, const BoardPart& now) override;
    // Into the page's polite live region.
    void Announce(const std::string& text) override;

private:
    void Show(int part, const BoardPart& described);
    GameWindow& window_;
};

class WebDialogs final : public IDialogs {
public:
    void ShowInformation(const std::string& text) override;
    void ShowMessage(const std::string& text, const std::string& caption) override;
    bool InputBox(const std::string& caption, const std::string& prompt, std::string& text) override;
    // The browser's file picker; the chosen file's bytes are put where the game opens it by
    // its name, and kept for the next visit.
    std::optional<std::string> ChooseFile(const std::string& filter, const std::string& defaultExtension) override;
};

class WebSound final : public ISound {
public:
    void PlaySound(const std::string& name, bool synchronous) override;
};

class WebClock final : public IClock {
public:
    std::uint64_t SeedValue() override;
    int Today() override;
};

}  // namespace lumera::web
