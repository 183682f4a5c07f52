// The game window on Qt: TLumeraMainForm with its menu bar, Timer1 and the board widget that
// draws the cells the window layer hands it. It turns Qt events into calls on the layer.
#pragma once

#include <QHash>
#include <QImage>
#include <QMainWindow>
#include <QRegion>
#include <functional>
#include <memory>

#include "window/front_end.h"
#include "window/game_window.h"

class QTimer;

namespace lumera {

class TLumeraMainForm;

// The board: a persistent image drawn into at once and copied to the screen.
class BoardWidget final : public QWidget, public ICellPainter {
    Q_OBJECT
public:
    explicit BoardWidget(TLumeraMainForm& form);

    // The drawing port.
    void ClearBoard(Colour background) override;
    void DrawCell(const CellLook& cell) override;
    void ShowArea(const CellRect& area) override;

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
    QColor TextColour(Colour colour) const;
    // Paints one cell with the painter, at the cell's own rectangle.
    void PaintCell(QPainter& painter, const CellLook& cell, const CellRect& rect);
    // Copies a cell of one character from its cached image; false when it is not one that is cached.
    bool CopyCachedCell(const CellLook& cell);

    TLumeraMainForm& form_;
    QImage image_;
    QFont font_;
    int fontPixels_ = 0;
    int fontAscent_ = 0;
    QRegion dirty_;
    int cellDraws_ = 0;
    bool cellCacheEnabled_ = true;
    QHash<quint64, QImage> cellCache_;  // by character and colours, for cellCacheRatio_ and cellCachePen_
    QImage cellScratch_;                 // where a cell is painted before it is cached
    qreal cellCacheRatio_ = 0;
    QRgb cellCachePen_ = 0;
};

// What the tests and the entry point give the window; the others are Qt's dialogs, the built-in
// WAV sounds, a generator seeded from the clock and the system clock.
using MainFormServices = FrontEndServices<TLumeraMainForm>;

class TLumeraMainForm final : public QMainWindow, public IWindowFrame {
    Q_OBJECT
public:
    // Creates the window with its menu; its creation runs FormCreate (the splash, InitGame and
    // the selection of "A").
    explicit TLumeraMainForm(MainFormServices services);
    ~TLumeraMainForm() override;

    GameWindow& Window() { return *layer_; }
    LumeraGame& Game() { return layer_->Game(); }
    BoardWidget& Board() { return *board_; }
    QTimer* Timer1() const { return timer1_; }

    // The frame port.
    void SetCaption(const std::string& caption) override;
    void SetMenuItemState(const std::string& itemName, bool enabled, bool checked) override;
    void SetTimer1(int milliseconds) override;
    void Close() override;
    void ShowErrorReport(const std::string& what) override;

    // A pointer release over the board, of any button, in board pixels.
    void FormMouseUp(int x, int y);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateMenu();
    // Runs a call on the layer and puts the cells it drew on screen.
    void RunOnLayer(const std::function<void()>& call);

    ServiceOwner owned_;
    BoardWidget* board_ = nullptr;
    QTimer* timer1_ = nullptr;
    std::unique_ptr<GameWindow> layer_;
};

}  // namespace lumera
