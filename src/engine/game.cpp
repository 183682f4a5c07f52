// The rules of the game, acting on the game state and reaching out through the ports.
#include "engine/game.h"

#include "engine/fitting.h"
#include "engine/number.h"

namespace lumera {

LumeraGame::LumeraGame(GamePorts ports) : PuzzleText(ports.files), ports_(ports) {}

// ---- Dealing and line-fitting ------------------------------------------------------------

void LumeraGame::DealPuzzle() {
    Solution = LineBuf;
    FitToGrid();
    PuzzleLen = static_cast<std::uint16_t>(Solution.size());
    Working = Solution;

    SubstKey = kAlphabet;
    for (int pass = 0; pass < 26; ++pass) {
        for (int i = 1; i <= 26; ++i) {
            // Position 26 is never drawn; its letter moves only on its own turn.
            const int r = 1 + ports_.random.Random(25);
            std::swap(SubstKey[i - 1], SubstKey[r - 1]);
        }
    }
    for (char& c : Working) {
        if (IsLetter(c)) c = SubstKey[c - 'A'];
    }
    SubstKey = kAlphabet;

    SelectedLetter = kNoLetter;
    ports_.board.FullRepaint();
    Solved = false;
}

void LumeraGame::FitToGrid() {
    if (auto fitted = FitText(Solution)) {
        Solution = std::move(*fitted);
        return;
    }
    std::string text = "Sorry! Puzzle ";
    if (!SolverMode) {
        NumText = std::to_string(PuzzleIndex + 1);
        // The typed cryptogram is kept in solver-aid mode: only a puzzle number replaces it.
        EntryText = NumText;
        text += NumText + " ";
    }
    text += "is too large to align correctly. Some words may cross over rows. Press OK to continue.";
    ports_.dialogs.ShowInformation(text);
}

// ---- Puzzle file, position and settings record -------------------------------------------

void LumeraGame::LoadSettings() {
    if (!ports_.store.OpenKey(kSettingsKey)) return;
    const auto value = ports_.store.ReadValue(kSettingsKey, kSettingsValueName);
    if (!value || value->kind != StoredValue::Kind::Binary || value->bytes.size() > kRegInfoSize) {
        ApplyDefaults(RegInfo);
        return;
    }
    FillRegInfo(RegInfo, value->bytes.data(), value->bytes.size());
}

void LumeraGame::SaveSettings() {
    if (!ports_.store.OpenKey(kSettingsKey)) return;
    ports_.store.WriteBinary(kSettingsKey, kSettingsValueName, RegInfoBytes(RegInfo));
}

void LumeraGame::OpenPuzzleFile() {
    try {
        PuzzleText.Open(PuzzleFileName);
    } catch (const std::exception&) {
        ports_.dialogs.ShowInformation("Unable to open puzzle file - " + PuzzleFileName + "! Defaulting to " +
                                       DefaultPuzzleFile);
        PuzzleFileName = DefaultPuzzleFile;
        PuzzleText.Open(PuzzleFileName);
    }
    SetShortString(RegInfo.PuzzleFile, kPuzzleFileCapacity, PuzzleFileName);
    SaveSettings();
    ports_.board.SetCaption(WindowCaption());
}

void LumeraGame::ReadNextPuzzle() {
    if (PuzzleText.Eof()) RestartPuzzleFile();
    LineBuf = PuzzleText.ReadLine();
    DealPuzzle();
}

void LumeraGame::RestartPuzzleFile() {
    NumText = std::to_string(PuzzleIndex);
    EntryText = NumText;
    ports_.dialogs.ShowInformation("Last puzzle is " + NumText + "! Starting back at puzzle 1. Press OK to continue.");
    PuzzleText.Close();
    PuzzleText.Open(PuzzleFileName);
    PuzzleIndex = 0;
    SavePosition();
    PuzzleIndex = 0;
}

void LumeraGame::SavePosition() {
    SetPuzzleIndex(RegInfo, PuzzleIndex);
    SaveSettings();
    ++PuzzleIndex;
}

void LumeraGame::SkipToPosition() {
    const int count = PuzzleIndex;
    for (int i = 1; i <= count; ++i) {
        if (PuzzleText.Eof()) {
            PuzzleIndex = static_cast<std::uint16_t>(i - 1);
            RestartPuzzleFile();
            return;
        }
        PuzzleText.ReadLine();
    }
}

void LumeraGame::SpecifyStart() {
    std::string entry = "1";
    std::int64_t number = 0;
    for (;;) {
        if (!ports_.dialogs.InputBox(AppCaption, "Enter new puzzle number to start at:", entry)) return;
        const auto value = ConvertNumber(entry);
        if (value && *value >= 1 && *value <= 9999) {
            number = *value;
            break;
        }
    }
    PuzzleIndex = static_cast<std::uint16_t>(number - 1);
    SavePosition();
    PuzzleIndex = static_cast<std::uint16_t>(number - 1);
    PuzzleText.Close();
    PuzzleText.Open(PuzzleFileName);
    SkipToPosition();
    ReadNextPuzzle();
}

void LumeraGame::menuNewPuzzleSetClick() {
    const auto chosen = ports_.dialogs.ChooseFile(kPuzzleFileFilter, "*.DAT");
    if (!chosen) return;
    // The whole path is used for this run; only the stored record cuts it.
    PuzzleFileName = *chosen;
    PuzzleText.Close();
    OpenPuzzleFile();
    SpecifyStart();
}

// ---- Play --------------------------------------------------------------------------------

void LumeraGame::SelectLetter(char letter) {
    if (IsLetter(SelectedLetter)) ports_.board.DrawAlphabetCell(SelectedLetter, clWhite);
    SelectedLetter = letter;
    if (IsLetter(letter)) ports_.board.DrawAlphabetCell(letter, clRed);
}

void LumeraGame::AlphabetClick(int n) {
    if (!Solved && n >= 1 && n <= 26) SelectLetter(static_cast<char>('A' + n - 1));
}

void LumeraGame::PuzzleCellClick(int n) {
    if (!Solved && n >= 1 && n <= PuzzleLen) SwapLetters(SelectedLetter, Working[n - 1]);
}

void LumeraGame::SwapLetters(char a, char b) {
    if (!IsLetter(a) || !IsLetter(b)) return;
    // Exchanged in one pass; only cells holding a or b are touched and redrawn, in order.
    for (int k = 1; k <= PuzzleLen; ++k) {
        char& c = Working[k - 1];
        if (c == a) c = b;
        else if (c == b) c = a;
        else continue;
        DrawPuzzleCell(k);
    }
    if (Working.compare(0, PuzzleLen, Solution, 0, PuzzleLen) == 0) PuzzleSolved();
}

void LumeraGame::PuzzleSolved() {
    if (Solved) return;
    Solved = true;
    if (SoundOn) {
        const int r = 1 + ports_.random.Random(5);
        if (r <= 2) ports_.sound.PlaySound("WAVE1", false);
        else if (r == 3) ports_.sound.PlaySound("WAVE2", true);
        else if (r == 4) ports_.sound.PlaySound("WAVE3", true);
        else ports_.sound.PlaySound("WAVE4", true);
    }
    ports_.dialogs.ShowMessage(LineBuf, kCongratulationsCaption);
    SavePosition();
    ReadNextPuzzle();
}

void LumeraGame::menuCheatClick() {
    if (PuzzleLen == 0) return;
    int k = 1;
    while (k <= PuzzleLen && Working[k - 1] == Solution[k - 1]) ++k;
    if (k > PuzzleLen) k = 1;
    const char s = Solution[k - 1];
    const char w = Working[k - 1];
    SelectLetter(s);
    SwapLetters(s, w);
}

// ---- Solver-aid mode ---------------------------------------------------------------------

void LumeraGame::SetSolverCommandsEnabled(bool enabled) {
    for (const char* name : kSolverDisabledCommands) ports_.board.SetCommandEnabled(name, enabled);
}

void LumeraGame::menuSolveClick() {
    std::string entry = EntryText;
    if (!ports_.dialogs.InputBox(AppCaption, "Enter cryptogram to work with:", entry)) return;
    EntryText = entry;
    SolverMode = true;
    SetSolverCommandsEnabled(false);

    Solution = EntryText.substr(0, 255);
    for (char& c : Solution) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    FitToGrid();
    PuzzleLen = static_cast<std::uint16_t>(Solution.size());
    Working = Solution;
    Solution.assign(PuzzleLen, ' ');

    SubstKey = kAlphabet;
    SelectedLetter = kNoLetter;
    SolverMode = true;
    ports_.board.FullRepaint();
    Solved = false;
}

void LumeraGame::ReturnToGame() {
    if (Solved) return;
    SolverMode = false;
    SetSolverCommandsEnabled(true);
    DealPuzzle();
}

// ---- Start-up and commands ---------------------------------------------------------------

void LumeraGame::InitGame() {
    LoadSettings();
    PuzzleFileName = GetShortString(RegInfo.PuzzleFile, kPuzzleFileCapacity);
    ports_.board.SetCaption(WindowCaption());
    PuzzleIndex = static_cast<std::uint16_t>(GetPuzzleIndex(RegInfo) & 0xFFFF);
    OpenPuzzleFile();
    ShowCorrect = RegInfo.ShowCorrect != 0;
    ports_.board.SetOptionChecked("menuShowCorrectLetters", ShowCorrect);
    SoundOn = RegInfo.Sound != 0;
    ports_.board.SetOptionChecked("menuSound", SoundOn);
    SolverMode = false;
    SkipToPosition();
    ports_.random.Seed(ports_.clock.SeedValue());
    ReadNextPuzzle();
}

void LumeraGame::menuNewClick() {
    SavePosition();
    ReadNextPuzzle();
}

void LumeraGame::ToggleShowCorrect() {
    ShowCorrect = !ShowCorrect;
    ports_.board.SetOptionChecked("menuShowCorrectLetters", ShowCorrect);
    RegInfo.ShowCorrect = ShowCorrect ? 1 : 0;
    SaveSettings();
    ports_.board.FullRepaint();
}

void LumeraGame::ToggleSound() {
    SoundOn = !SoundOn;
    ports_.board.SetOptionChecked("menuSound", SoundOn);
    RegInfo.Sound = SoundOn ? 1 : 0;
    SaveSettings();
}

// ---- What the board shows ----------------------------------------------------------------

Colour LumeraGame::PuzzleCellColor(int n) const {
    if (n > PuzzleLen) return clSilver;
    if (ShowCorrect && Working[n - 1] == Solution[n - 1]) return clSilver;
    return clWhite;
}

char LumeraGame::PuzzleCellText(int n) const { return n >= 1 && n <= PuzzleLen ? Working[n - 1] : ' '; }

std::string LumeraGame::StatusText() const {
    return SolverMode ? std::string(kSolverStatusText) : "Puzzle # " + std::to_string(PuzzleIndex + 1);
}

void LumeraGame::DrawPuzzleCell(int n) { ports_.board.DrawPuzzleCell(n, PuzzleCellText(n), PuzzleCellColor(n)); }

}  // namespace lumera
