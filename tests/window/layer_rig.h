// The window layer over recording fakes of its ports, for tests without a toolkit; a front-end's
// test can put its real painter in.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "../engine/fakes.h"
#include "util/file_opener.h"
#include "window/game_window.h"

namespace lumera::testing {

struct FakePainter : ICellPainter {
    std::vector<CellLook> cells;
    std::vector<CellRect> shown;
    int clears = 0;
    void ClearBoard(Colour) override { ++clears, cells.clear(); }
    void DrawCell(const CellLook& cell) override { cells.push_back(cell); }
    void ShowArea(const CellRect& area) override { shown.push_back(area); }
};

struct FakeFrame : IWindowFrame {
    std::string caption;
    std::map<std::string, bool> enabled, checked;
    int timerInterval = 0;  // 0 while Timer1 is stopped
    int closes = 0;
    std::vector<std::string> errors;
    void SetCaption(const std::string& text) override { caption = text; }
    void SetMenuItemState(const std::string& name, bool isEnabled, bool isChecked) override {
        enabled[name] = isEnabled;
        checked[name] = isChecked;
    }
    void SetTimer1(int milliseconds) override { timerInterval = milliseconds; }
    void Close() override { ++closes; }
    void ShowErrorReport(const std::string& what) override { errors.push_back(what); }
};

// Records each request by name ("ShowSplash", "OpenDocument lumera8.html" ...).
struct FakeShell : IShell {
    std::vector<std::string> calls;
    void ShowSplash() override { calls.push_back("ShowSplash"); }
    void CloseSplash() override { calls.push_back("CloseSplash"); }
    void ShowAbout() override { calls.push_back("ShowAbout"); }
    void ShowDonationDialog() override { calls.push_back("ShowDonationDialog"); }
    void CheckDonationReminder() override { calls.push_back("CheckDonationReminder"); }
    void OpenDocument(const std::string& document) override { calls.push_back("OpenDocument " + document); }
};

struct LayerRig {
    FakePainter fakePainter;
    FakeFrame frame;
    FakeShell shell;
    FakeDialogs dialogs;
    FakeSound sound;
    FakeStore store;
    SequenceRandom random;
    FakeClock clock;
    GameWindow window;

    explicit LayerRig(ICellPainter* painter = nullptr)
        : window(WindowPorts{painter ? *painter : fakePainter, frame, shell, dialogs, sound, store, random, clock,
                             util::SystemFileOpener()}) {}
    LumeraGame& Game() { return window.Game(); }
};

}  // namespace lumera::testing
