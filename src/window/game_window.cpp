// The game window's behaviour: what a pointer release and each menu command do, what every cell
// shows, and the start-up and quit sequences.
#include "window/game_window.h"

#include <exception>
#include <utility>

#include "engine/fitting.h"
#include "window/window_measures.h"
#include "window/window_texts.h"

namespace lumera {

namespace {

CellLook LetterCell(const CellRect& rect, char text, Colour fill) {
    return CellLook{rect, std::string(1, text), kLetterPixels, clWindowText, fill, clBlack};
}

}  // namespace

// A message or a sound ends what the screen reader is to hear of the action before it: the
// exchange that completes a puzzle is spoken before the congratulation.
class GameWindow::SpeakingDialogs final : public IDialogs {
public:
    SpeakingDialogs(GameWindow& window, IDialogs& dialogs) : window_(window), dialogs_(dialogs) {}
    void ShowInformation(const std::string& text) override {
        window_.SpeakAction();
        dialogs_.ShowInformation(text);
    }
    void ShowMessage(const std::string& text, const std::string& caption) override {
        window_.SpeakAction();
        dialogs_.ShowMessage(text, caption);
    }
    bool InputBox(const std::string& caption, const std::string& prompt, std::string& text) override {
        window_.SpeakAction();
        return dialogs_.InputBox(caption, prompt, text);
    }
    std::optional<std::string> ChooseFile(const std::string& filter, const std::string& extension) override {
        window_.SpeakAction();
        return dialogs_.ChooseFile(filter, extension);
    }

private:
    GameWindow& window_;
    IDialogs& dialogs_;
};

class GameWindow::SpeakingSound final : public ISound {
public:
    SpeakingSound(GameWindow& window, ISound& sound) : window_(window), sound_(sound) {}
    void PlaySound(const std::string& name, bool synchronous) override {
        window_.SpeakAction();
        sound_.PlaySound(name, synchronous);
    }

private:
    GameWindow& window_;
    ISound& sound_;
};

GameWindow::GameWindow(WindowPorts ports)
    : ports_(ports),
      dialogs_(std::make_unique<SpeakingDialogs>(*this, ports_.dialogs)),
      sound_(std::make_unique<SpeakingSound>(*this, ports_.sound)) {
    game_ = std::make_unique<LumeraGame>(
        GamePorts{*this, *dialogs_, *sound_, ports_.store, ports_.random, ports_.clock, ports_.files});
    game_->AppCaption = kAppCaption;
    caption_ = game_->AppCaption;
    // The option items' marks start on; start-up sets them from the settings record.
    for (const MenuEntryDef& entry : kMainMenu)
        for (const MenuItemDef& item : entry.items)
            if (item.isCheckable) checked_[item.name] = true;
}

GameWindow::~GameWindow() = default;

template <typename Handler>
void GameWindow::Guard(Handler&& handler) noexcept {
    try {
        handler();
    } catch (const std::exception& error) {
        try {
            ports_.frame.ShowErrorReport(error.what());
        } catch (...) {
            // The report itself failed; there is nobody left to tell.
        }
    }
}

// ---- The main window's events --------------------------------------------------------------

void GameWindow::FormCreate() {
    // The splash counts its time from here; the first tick of Timer1 takes it away.
    Guard([this] {
        ports_.shell.ShowSplash();
        ports_.frame.SetTimer1(kTimer1Interval);
    });
    // An error in the start-up sequence skips the rest of it: empty board, nothing selected.
    Guard([this] {
        game_->InitGame();
        game_->AlphabetClick(1);
    });
}

void GameWindow::FormPaint() {
    Guard([this] { PaintBoard(); });
}

void GameWindow::PaintBoard() {
    for (int n = 1; n <= 26; ++n) ports_.painter.DrawCell(AlphabetCellLook(n));
    for (int n = 1; n <= kGridCells; ++n) ports_.painter.DrawCell(PuzzleCellLook(n));
    ports_.painter.DrawCell(StatusBoxLook());
    ports_.painter.ShowArea(CellRect{0, 0, kBoardWidth, kBoardHeight});
}

// Three independent tests, each with its own action; any button acts alike.
void GameWindow::FormMouseUp(int x, int y) {
    if (InPuzzleGrid(x, y))
        BeginAction(Move::Exchange, game_->SelectedLetter, game_->PuzzleCellText(PuzzleCellAt(x, y)));
    else
        BeginAction(Move::Other);
    Guard([&] {
        if (InStatusBox(x, y)) game_->ReturnToGame();
        if (InAlphabet(x, y)) game_->AlphabetClick(AlphabetCellAt(x, y));
        if (InPuzzleGrid(x, y)) game_->PuzzleCellClick(PuzzleCellAt(x, y));
    });
    SpeakAction();
}

void GameWindow::FormClose() {
    Guard([this] { ports_.shell.CheckDonationReminder(); });
}

void GameWindow::Timer1Timer() {
    Guard([this] {
        ports_.frame.SetTimer1(0);
        ports_.shell.CloseSplash();
    });
}

// ---- Menu commands -------------------------------------------------------------------------

bool GameWindow::MenuClick(const std::string& itemName) {
    for (const MenuEntryDef& entry : kMainMenu)
        for (const MenuItemDef& item : entry.items)
            if (!item.IsSeparator() && itemName == item.name) {
                MenuClick(item.command);
                return true;
            }
    return false;
}

void GameWindow::MenuClick(MenuCommand command) {
    BeginAction(command == MenuCommand::menuCheat ? Move::Hint : Move::Other);
    Guard([&] { RunMenuCommand(*this, command); });
    SpeakAction();
}

void GameWindow::StoredSettingsChanged() {
    Guard([this] {
        LumeraGame& game = *game_;
        if (!ports_.store.OpenKey(kSettingsKey)) return;
        const auto value = ports_.store.ReadValue(kSettingsKey, kSettingsValueName);
        if (!value || value->kind != StoredValue::Kind::Binary || value->bytes.size() != kRegInfoSize) return;
        TRegInfo stored{};
        FillRegInfo(stored, value->bytes.data(), value->bytes.size());
        game.RegInfo.ShowCorrect = stored.ShowCorrect;
        game.RegInfo.Sound = stored.Sound;
        if (game.SoundOn != (stored.Sound != 0)) {
            game.SoundOn = stored.Sound != 0;
            SetOptionChecked("menuSound", game.SoundOn);
        }
        if (game.ShowCorrect != (stored.ShowCorrect != 0)) {
            game.ShowCorrect = stored.ShowCorrect != 0;
            SetOptionChecked("menuShowCorrectLetters", game.ShowCorrect);
            FullRepaint();
        }
    });
}

void GameWindow::menuNewClick() { game_->menuNewClick(); }
void GameWindow::menuSpecifyStartClick() { game_->SpecifyStart(); }
void GameWindow::menuCheatClick() { game_->menuCheatClick(); }
void GameWindow::menuNewPuzzleSetClick() { game_->menuNewPuzzleSetClick(); }
void GameWindow::menuSolveClick() { game_->menuSolveClick(); }
void GameWindow::menuShowCorrectLettersClick() { game_->ToggleShowCorrect(); }
void GameWindow::menuSoundClick() { game_->ToggleSound(); }
void GameWindow::MakeaDonation1Click() { ports_.shell.ShowDonationDialog(); }
void GameWindow::Contents1Click() { ShowHelp(); }
void GameWindow::ShowHelp() { ports_.shell.OpenDocument(kHelpDocument); }

void GameWindow::menuAboutClick() {
    ports_.frame.SetTimer1(0);
    ports_.shell.ShowAbout();
}

// Only "&Quit" stores the position; every close then runs FormClose.
void GameWindow::menuQuitClick() {
    game_->SavePosition();
    ports_.frame.Close();
}

// ---- What the board and the frame show -----------------------------------------------------

CellLook GameWindow::AlphabetCellLook(int n) const {
    const char letter = kAlphabet[n - 1];
    return LetterCell(AlphabetCellRect(n), letter, letter == game_->SelectedLetter ? clRed : clWhite);
}

CellLook GameWindow::PuzzleCellLook(int n) const {
    return LetterCell(PuzzleCellRect(n), game_->PuzzleCellText(n), game_->PuzzleCellColor(n));
}

CellLook GameWindow::StatusBoxLook() const {
    return CellLook{kStatusRect, game_->StatusText(), kStatusPixels, clWindowText,
                    game_->SolverMode ? clYellow : clRed, clBlack};
}

bool GameWindow::IsCommandEnabled(const std::string& itemName) const { return !disabled_.contains(itemName); }

bool GameWindow::IsOptionChecked(const std::string& itemName) const {
    const auto mark = checked_.find(itemName);
    return mark != checked_.end() && mark->second;
}

// ---- The board for screen readers ---------------------------------------------------------

BoardPart GameWindow::DescribeBoardPart(int part) const {
    BoardPart described;
    described.group = BoardGroupOf(part);
    const BoardGroup& group = kBoardGroups[described.group];
    const int index = part - group.firstPart;
    described.row = index / group.columns;
    described.column = index % group.columns;
    if (group.kind == BoardGroupKind::Letters) {
        const char letter = kAlphabet[index];
        described.kind = BoardPartKind::AlphabetButton;
        described.rect = AlphabetCellRect(index + 1);
        described.name = std::string(1, letter);
        described.selected = letter == game_->SelectedLetter;
    } else if (group.kind == BoardGroupKind::Puzzle) {
        const int n = index + 1;
        const char text = game_->PuzzleCellText(n);
        const bool shaded = game_->ShowCorrect && n <= game_->PuzzleLen && game_->PuzzleCellColor(n) == clSilver;
        described.kind = BoardPartKind::GridCell;
        described.rect = PuzzleCellRect(n);
        described.name = text == ' ' ? "blank" : std::string(1, text);
        if (shaded) described.description = "correct";
    } else {
        described.kind = BoardPartKind::StatusButton;
        described.rect = kStatusRect;
        described.name = game_->StatusText();
        described.description = LettersToPlaceText(*game_);
    }
    return described;
}

void GameWindow::ActivateBoardPart(int part) {
    if (part < 0 || part >= kBoardPartCount) return;
    const CellRect rect = DescribeBoardPart(part).rect;
    FormMouseUp((rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2);
}

void GameWindow::SetBoardObserver(IBoardObserver* observer) {
    observer_ = observer;
    move_ = Move::Other;
    announced_.clear();
    if (!observer_) return;
    for (int part = 0; part < kBoardPartCount; ++part) announced_.push_back(DescribeBoardPart(part));
}

// A selection draws the old cell before the selected letter changes, so every part is compared,
// not only the one drawn: 297 small comparisons, made only while a screen reader listens.
void GameWindow::AnnounceChanges() {
    if (!observer_) return;
    for (int part = 0; part < kBoardPartCount; ++part) {
        BoardPart& heard = announced_[static_cast<std::size_t>(part)];
        BoardPart now = DescribeBoardPart(part);
        if (now == heard) continue;
        const BoardPart before = std::exchange(heard, std::move(now));
        observer_->BoardPartChanged(part, before, heard);
    }
}

void GameWindow::BeginAction(Move move, char selected, char clicked) {
    move_ = move;
    selected_ = selected;
    clicked_ = clicked;
    wasSolverMode_ = game_->SolverMode;
    wasShowCorrect_ = game_->ShowCorrect;
    cellsDrawn_ = wholeBoardDrawn_ = false;
}

// Says what the action changed so far, if anything, and starts counting afresh.
void GameWindow::SpeakAction() {
    const std::string text = observer_ ? ActionText() : std::string{};
    BeginAction(Move::Other);
    if (!text.empty()) observer_->Announce(text);
}

// A whole repaint with the mode and the option unchanged is a deal: a new puzzle or a restart.
std::string GameWindow::ActionText() const {
    if (game_->SolverMode != wasSolverMode_)
        return game_->SolverMode ? kSolverModeEntered : kSolverModeLeft + game_->StatusText();
    if (wholeBoardDrawn_ && game_->ShowCorrect == wasShowCorrect_) return game_->StatusText();
    if (!cellsDrawn_) return {};
    if (move_ == Move::Hint) return HintAnnouncement(game_->SelectedLetter, game_->Working);
    if (move_ == Move::Exchange) return ExchangeAnnouncement(selected_, clicked_, game_->Working);
    return {};
}

// ---- The engine's board port ---------------------------------------------------------------

void GameWindow::DrawAndShow(const CellLook& cell) {
    ports_.painter.DrawCell(cell);
    ports_.painter.ShowArea(CellRect{cell.rect.Left, cell.rect.Top, cell.rect.Right + 1, cell.rect.Bottom + 1});
    AnnounceChanges();
}

void GameWindow::DrawAlphabetCell(char letter, Colour colour) {
    DrawAndShow(LetterCell(AlphabetCellRect(letter - 'A' + 1), letter, colour));
}

void GameWindow::DrawPuzzleCell(int n, char text, Colour colour) {
    cellsDrawn_ = true;
    DrawAndShow(LetterCell(PuzzleCellRect(n), text, colour));
}

void GameWindow::FullRepaint() {
    wholeBoardDrawn_ = true;
    ports_.painter.ClearBoard(clGray);
    PaintBoard();
    AnnounceChanges();
}

void GameWindow::SetCaption(const std::string& caption) {
    caption_ = caption;
    ports_.frame.SetCaption(caption);
}

void GameWindow::SetCommandEnabled(const std::string& itemName, bool enabled) {
    if (enabled)
        disabled_.erase(itemName);
    else
        disabled_.insert(itemName);
    ports_.frame.SetMenuItemState(itemName, enabled, IsOptionChecked(itemName));
}

void GameWindow::SetOptionChecked(const std::string& itemName, bool checked) {
    checked_[itemName] = checked;
    ports_.frame.SetMenuItemState(itemName, IsCommandEnabled(itemName), checked);
}

}  // namespace lumera
