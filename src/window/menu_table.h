// The main window's menu bar, entry by entry: captions with their "&" mnemonics, item names,
// and the command behind each item. Every front-end builds its menu from this table.
#pragma once

#include <array>
#include <span>

namespace lumera {

enum class MenuCommand {
    None,  // separators
    menuNew,
    menuSpecifyStart,
    menuCheat,
    menuQuit,
    menuNewPuzzleSet,
    menuSolve,
    menuShowCorrectLetters,
    menuSound,
    MakeaDonation1,
    Contents1,
    menuAbout,
};

struct MenuItemDef {
    const char* caption;  // nullptr for a separator
    const char* name;
    MenuCommand command;
    bool isCheckable;  // an option item; its mark starts on and is set by its handler
    bool IsSeparator() const { return caption == nullptr; }
};

struct MenuEntryDef {
    const char* caption;
    const char* name;
    std::span<const MenuItemDef> items;
};

inline constexpr char kMainMenuName[] = "MainMenu1";

inline constexpr MenuItemDef kGameItems[] = {
    {"Start &Next puzzle", "menuNew", MenuCommand::menuNew, false},
    {"Specify &Starting puzzle", "menuSpecifyStart", MenuCommand::menuSpecifyStart, false},
    {"&Cheat and show a letter", "menuCheat", MenuCommand::menuCheat, false},
    {"&Quit", "menuQuit", MenuCommand::menuQuit, false},
    {nullptr, "N1", MenuCommand::None, false},
    {"Select a different &Puzzle set", "menuNewPuzzleSet", MenuCommand::menuNewPuzzleSet, false},
    {"Use Lumera to help &Solve a cryptogram!", "menuSolve", MenuCommand::menuSolve, false},
};
inline constexpr MenuItemDef kOptionsItems[] = {
    {"Show Correct Letters", "menuShowCorrectLetters", MenuCommand::menuShowCorrectLetters, true},
    {"Sound", "menuSound", MenuCommand::menuSound, true},
};
inline constexpr MenuItemDef kDonateItems[] = {
    {"Make a Donation", "MakeaDonation1", MenuCommand::MakeaDonation1, false},
};
inline constexpr MenuItemDef kHelpItems[] = {
    {"&Contents", "Contents1", MenuCommand::Contents1, false},
    {nullptr, "N2", MenuCommand::None, false},
    {"&About Lumera", "menuAbout", MenuCommand::menuAbout, false},
};

inline constexpr std::array<MenuEntryDef, 4> kMainMenu = {{
    {"&Game", "Game1", kGameItems},
    {"&Options", "Options1", kOptionsItems},
    {"Donate", "menuDonate1", kDonateItems},
    {"&Help", "menuHelp", kHelpItems},
}};

// Runs the handler behind a menu command on a main window of either front-end; both name
// their handlers after the menu items.
template <typename Form>
void RunMenuCommand(Form& form, MenuCommand command) {
    switch (command) {
    case MenuCommand::menuNew: form.menuNewClick(); break;
    case MenuCommand::menuSpecifyStart: form.menuSpecifyStartClick(); break;
    case MenuCommand::menuCheat: form.menuCheatClick(); break;
    case MenuCommand::menuQuit: form.menuQuitClick(); break;
    case MenuCommand::menuNewPuzzleSet: form.menuNewPuzzleSetClick(); break;
    case MenuCommand::menuSolve: form.menuSolveClick(); break;
    case MenuCommand::menuShowCorrectLetters: form.menuShowCorrectLettersClick(); break;
    case MenuCommand::menuSound: form.menuSoundClick(); break;
    case MenuCommand::MakeaDonation1: form.MakeaDonation1Click(); break;
    case MenuCommand::Contents1: form.Contents1Click(); break;
    case MenuCommand::menuAbout: form.menuAboutClick(); break;
    case MenuCommand::None: break;
    }
}

}  // namespace lumera
