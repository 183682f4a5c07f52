// The game window: TLumeraMainForm with its menu and the board it paints, and the Qt side of
// the board port. It turns Qt events into engine calls and holds no game rules.
#pragma once

#include <QHash>
#include <QImage>
#include <QMainWindow>
#include <QRegion>
#include <filesystem>
#include <memory>

#include "engine/fitting.h"
#include "engine/game.h"
#include "engine/random_source.h"
#include "util/registry_store.h"
#include "window/board_geometry.h"
#include "window/menu_table.h"
#include "window/qt/qt_ports.h"

class QAction;
class QMenu;
class QTimer;

namespace lumera {

class TLumeraMainForm;

// The board: a persistent image drawn into at once and copied to the screen.
class BoardWidget final : public QWidget {
    Q_OBJECT
public:
    BoardWidget(TLumeraMainForm& form, const LumeraGame& game);

    void DrawCell(const CellRect& rect, const QString& text, Colour colour);
    void DrawAlphabetCell(char letter, Colour colour);
    void DrawPuzzleCell(int n, char text, Colour colour);
    // Paints the whole board from the game state.
    void FormPaint();
    // Clears to grey, paints everything and puts it on screen before returning.
    void FullRepaint();
    // Puts pending cell redraws on screen now.
    void Flush();

    const QImage& Image() const { return image_; }
    int CellDrawCount() const { return cellDraws_; }
    // Cells of letter size are painted once per text and colour into a small image and copied
    // from there afterwards; switched off, every cell is painted with QPainter again (the same
    // pixels, more slowly).
    void SetCellCacheEnabled(bool enabled);

signals:
    // The board image has been copied into the window: the end of every paint event.
    void Painted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool EnsureImage();  // true when the image was made anew
    void SetFontPixels(int pixels);
    // Paints one cell with the painter, at the cell's own rectangle.
    void PaintCell(QPainter& painter, const CellRect& rect, const QString& text, Colour colour);
    // Copies a cell of one character from its cached image; false when it is not one that is cached.
    bool CopyCachedCell(const CellRect& rect, char16_t character, Colour colour);
    void DrawCharacterCell(const CellRect& rect, char16_t character, Colour colour);

    TLumeraMainForm& form_;
    const LumeraGame& game_;
    QImage image_;
    QFont font_;
    int fontPixels_ = 0;
    int fontAscent_ = 0;
    QRegion dirty_;
    int cellDraws_ = 0;
    bool paintingBoard_ = false;  // FormPaint marks the whole board for the screen at its end
    bool cellCacheEnabled_ = true;
    QHash<quint64, QImage> cellCache_;  // by character and colour, for cellCacheRatio_ and cellCachePen_
    QImage cellScratch_;                 // where a cell is painted before it is cached
    qreal cellCacheRatio_ = 0;
    QRgb cellCachePen_ = 0;
};

// What the tests may put in place of the real services.
struct MainFormServices {
    IDialogs* dialogs = nullptr;  // default: Qt dialogs
    ISound* sound = nullptr;      // default: the built-in WAV sounds
    IRandom* random = nullptr;    // default: a generator seeded from the clock
    IClock* clock = nullptr;      // default: the system clock
    std::filesystem::path storeFile;  // default: the user's store file
    bool showSplash = true;
    bool donationReminder = true;
};

class TLumeraMainForm final : public QMainWindow, public IBoard {
    Q_OBJECT
public:
    explicit TLumeraMainForm(MainFormServices services = {});
    ~TLumeraMainForm() override;

    LumeraGame& Game() { return *game_; }
    BoardWidget& Board() { return *board_; }
    QTimer* Timer1() const { return timer1_; }

    // The board port.
    void DrawAlphabetCell(char letter, Colour colour) override;
    void DrawPuzzleCell(int n, char text, Colour colour) override;
    void FullRepaint() override;
    void SetCaption(const std::string& caption) override;
    void SetCommandEnabled(const std::string& itemName, bool enabled) override;
    void SetOptionChecked(const std::string& itemName, bool checked) override;

    // Event handlers.
    void FormMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
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
    void Timer1Timer();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormClose();
    void ShowHelp();
    void CreateMenu();
    void Handle(const std::function<void()>& handler);

    MainFormServices services_;
    std::unique_ptr<util::RegistryStore> store_;
    std::unique_ptr<StoreSettingsPort> storePort_;
    std::unique_ptr<IDialogs> ownDialogs_;
    std::unique_ptr<ISound> ownSound_;
    std::unique_ptr<IRandom> ownRandom_;
    std::unique_ptr<IClock> ownClock_;
    std::unique_ptr<LumeraGame> game_;
    BoardWidget* board_ = nullptr;
    QTimer* timer1_ = nullptr;
};

}  // namespace lumera
