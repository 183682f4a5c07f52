// The puzzle engine: game state, dealing, the puzzle file and settings record, the rules of
// exchange, completion and hint, and solver-aid mode. Talks outwards only through the ports.
#pragma once

#include <cstdint>
#include <string>

#include "engine/ports.h"
#include "engine/puzzle_file.h"
#include "engine/reginfo.h"

namespace lumera {

inline constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
inline constexpr char kNoLetter = ' ';
inline constexpr char kSettingsKey[] = "HKEY_LOCAL_MACHINE\\Software\\Lumera800";
inline constexpr char kSettingsValueName[] = "fRegInfo";
inline constexpr char kPuzzleFileFilter[] = "Lumera Puzzle Files|*.DAT|Text Files|*.TXT";
inline constexpr char kCongratulationsCaption[] = "Congratulations! You have finished this puzzle!";
inline constexpr char kSolverStatusText[] = "Click here to return to game.";

// The five commands that solver-aid mode disables, in the order they are switched.
inline constexpr const char* kSolverDisabledCommands[] = {"menuNew", "menuCheat", "menuSpecifyStart",
                                                          "menuNewPuzzleSet", "menuSolve"};

inline bool IsLetter(char c) { return c >= 'A' && c <= 'Z'; }

struct GamePorts {
    IBoard& board;
    IDialogs& dialogs;
    ISound& sound;
    ISettingsStore& store;
    IRandom& random;
    IClock& clock;
    IFileOpener& files;
};

class LumeraGame {
public:
    explicit LumeraGame(GamePorts ports);

    // Game state. Texts are Windows-1252 bytes; positions in them are 1-based for the player.
    std::string SubstKey;
    std::string Working;
    std::string LineBuf;
    std::string Solution;
    std::uint16_t PuzzleLen = 0;
    std::uint16_t PuzzleIndex = 0;
    char SelectedLetter = 0;
    bool Solved = false;
    bool ShowCorrect = false;
    bool SoundOn = false;
    bool SolverMode = false;
    std::string EntryText;
    std::string NumText;
    PuzzleTextFile PuzzleText;
    TRegInfo RegInfo{};

    // Program-wide values, set at program entry.
    std::string PuzzleFileName = "Lumera8.dat";
    std::string DefaultPuzzleFile = "Lumera8.dat";
    std::string AppCaption;

    // Dealing and line-fitting.
    void DealPuzzle();
    void FitToGrid();

    // Puzzle file, position and settings record.
    void LoadSettings();
    void SaveSettings();
    void OpenPuzzleFile();
    void ReadNextPuzzle();
    void RestartPuzzleFile();
    void SavePosition();
    void SkipToPosition();
    void SpecifyStart();
    void menuNewPuzzleSetClick();

    // Play.
    void SelectLetter(char letter);
    void AlphabetClick(int n);
    void PuzzleCellClick(int n);
    void SwapLetters(char a, char b);
    void PuzzleSolved();
    void menuCheatClick();

    // Solver-aid mode.
    void menuSolveClick();
    void ReturnToGame();

    // Start-up sequence and the commands whose rules live here.
    void InitGame();
    void menuNewClick();
    void ToggleShowCorrect();
    void ToggleSound();

    // What the board shows.
    Colour PuzzleCellColor(int n) const;
    char PuzzleCellText(int n) const;  // blank past the end of the text
    std::string StatusText() const;
    std::string WindowCaption() const { return AppCaption + " - [" + PuzzleFileName + "]"; }

private:
    void DrawPuzzleCell(int n);
    void SetSolverCommandsEnabled(bool enabled);

    GamePorts ports_;
};

}  // namespace lumera
