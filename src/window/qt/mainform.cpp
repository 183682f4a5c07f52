// The main window: board painting, pointer input, the menu and its commands.
#include "window/qt/mainform.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <cmath>
#include <cstring>

#include "donate/qt/donate1.h"
#include "startup/qt/splash1.h"
#include "util/my_utils.h"
#include "window/qt/board_font.h"
#include "window/cp1252.h"
#include "window/menu_table.h"
#include "window/window_texts.h"
#include "init_resources.h"

namespace lumera {

namespace {
QColor ToQColor(Colour colour) { return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }
QRect FillRect(const CellRect& r) { return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top); }
QRect OutlineRect(const CellRect& r) { return QRect(r.Left, r.Top, r.Right - r.Left + 1, r.Bottom - r.Top + 1); }
}  // namespace

// ---- The board ---------------------------------------------------------------------------

BoardWidget::BoardWidget(TLumeraMainForm& form, const LumeraGame& game) : form_(form), game_(game) {
    setObjectName("Board");
    setAttribute(Qt::WA_OpaquePaintEvent);
    font_ = MakeBoardFont();
    SetFontPixels(kLetterPixels);
}

void BoardWidget::SetFontPixels(int pixels) {
    if (pixels == fontPixels_) return;
    SetBoardFontPixels(font_, pixels);
    fontPixels_ = pixels;
    fontAscent_ = QFontMetrics(font_).ascent();
}

void BoardWidget::SetCellCacheEnabled(bool enabled) {
    cellCacheEnabled_ = enabled;
    cellCache_.clear();
}

// The image holds the board alone, whatever the widget's size: made before the window is laid
// out, it would otherwise be made at the widget's default size first (640 x 480, twice the
// board) and again at the board's, and a window made larger would only add grey to it.
bool BoardWidget::EnsureImage() {
    const qreal ratio = devicePixelRatioF();
    const QSize device(int(std::ceil(kBoardWidth * ratio)), int(std::ceil(kBoardHeight * ratio)));
    if (!image_.isNull() && image_.size() == device && image_.devicePixelRatio() == ratio) return false;
    image_ = QImage(device, QImage::Format_RGB32);
    image_.setDevicePixelRatio(ratio);
    image_.fill(ToQColor(clGray));
    return true;
}

void BoardWidget::PaintCell(QPainter& painter, const CellRect& rect, const QString& text, Colour colour) {
    const QRect fill = FillRect(rect);
    painter.fillRect(fill, ToQColor(colour));
    painter.setClipRect(fill);
    // The top of the character cell, not the baseline, sits at (Left + 2, Top + 2).
    painter.drawText(QPoint(rect.Left + 2, rect.Top + 2 + fontAscent_), text);
    painter.setClipping(false);
    // The outline covers columns Left and Right and rows Top and Bottom at any device ratio.
    const QRect outline = OutlineRect(rect);
    const QColor black = ToQColor(clBlack);
    painter.fillRect(QRect(outline.left(), outline.top(), outline.width(), 1), black);
    painter.fillRect(QRect(outline.left(), outline.bottom(), outline.width(), 1), black);
    painter.fillRect(QRect(outline.left(), outline.top(), 1, outline.height()), black);
    painter.fillRect(QRect(outline.right(), outline.top(), 1, outline.height()), black);
}

// A cell covers its whole outline rectangle, so its pixels depend only on its text, colour and
// the drawing settings; at a whole-number device ratio every cell lies on the same device-pixel
// grid, and a copy of one painted cell is exactly what painting it anywhere else would give.
bool BoardWidget::CopyCachedCell(const CellRect& rect, char16_t character, Colour colour) {
    const qreal ratio = image_.devicePixelRatio();
    const int scale = int(ratio);
    if (!cellCacheEnabled_ || scale != ratio || scale < 1 || fontPixels_ != kLetterPixels ||
        rect.Right - rect.Left != 18 || rect.Bottom - rect.Top != 20)
        return false;
    const QRect device(rect.Left * scale, rect.Top * scale, 19 * scale, 21 * scale);
    if (rect.Left < 0 || rect.Top < 0 || !image_.rect().contains(device)) return false;
    const QRgb pen = palette().color(QPalette::WindowText).rgb();
    if (ratio != cellCacheRatio_ || pen != cellCachePen_) {
        cellCache_.clear();
        cellCacheRatio_ = ratio;
        cellCachePen_ = pen;
    }
    const quint64 key = (quint64(colour) << 16) | character;
    auto tile = cellCache_.find(key);
    if (tile == cellCache_.end()) {
        // Painted in one scratch image and kept as a copy: an image that has been painted on
        // keeps its paint engine (about 1.6 kB) for as long as it lives.
        if (cellScratch_.size() != device.size() || cellScratch_.devicePixelRatio() != ratio) {
            cellScratch_ = QImage(device.size(), QImage::Format_RGB32);
            cellScratch_.setDevicePixelRatio(ratio);
        }
        QPainter painter(&cellScratch_);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(font_);
        painter.setPen(palette().color(QPalette::WindowText));
        PaintCell(painter, CellRect{0, 0, 18, 20}, QString(QChar(character)), colour);
        painter.end();
        tile = cellCache_.insert(key, cellScratch_.copy());
    }
    const qsizetype rowBytes = qsizetype(device.width()) * 4;
    const qsizetype targetStride = image_.bytesPerLine();
    const qsizetype sourceStride = tile->bytesPerLine();
    uchar* target = image_.bits() + device.top() * targetStride + qsizetype(device.left()) * 4;
    const uchar* source = tile->constBits();
    for (int y = 0; y < device.height(); ++y, target += targetStride, source += sourceStride)
        std::memcpy(target, source, rowBytes);
    return true;
}

void BoardWidget::DrawCell(const CellRect& rect, const QString& text, Colour colour) {
    if (!paintingBoard_ && EnsureImage()) FormPaint();  // FormPaint has made sure of the image
    ++cellDraws_;
    if (!paintingBoard_) dirty_ += OutlineRect(rect);
    if (text.size() == 1 && CopyCachedCell(rect, text.at(0).unicode(), colour)) return;
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(font_);
    painter.setPen(palette().color(QPalette::WindowText));
    PaintCell(painter, rect, text, colour);
}

// DrawCell for one character, without making a string when the cell comes from the cache.
void BoardWidget::DrawCharacterCell(const CellRect& rect, char16_t character, Colour colour) {
    if (!paintingBoard_ && EnsureImage()) FormPaint();
    if (!CopyCachedCell(rect, character, colour)) {
        DrawCell(rect, QString(QChar(character)), colour);
        return;
    }
    ++cellDraws_;
    if (!paintingBoard_) dirty_ += OutlineRect(rect);
}

void BoardWidget::DrawAlphabetCell(char letter, Colour colour) {
    DrawCharacterCell(AlphabetCellRect(letter - 'A' + 1), char16_t(letter), colour);
}

void BoardWidget::DrawPuzzleCell(int n, char text, Colour colour) {
    DrawCharacterCell(PuzzleCellRect(n), char16_t(Cp1252ToUnicode(static_cast<unsigned char>(text))), colour);
}

void BoardWidget::FormPaint() {
    EnsureImage();
    // Every cell is painted, so the board goes to the screen as one rectangle, not 297.
    const bool wasPaintingBoard = paintingBoard_;
    paintingBoard_ = true;
    SetFontPixels(kLetterPixels);
    for (int n = 1; n <= 26; ++n) {
        const char letter = static_cast<char>('A' + n - 1);
        DrawAlphabetCell(letter, letter == game_.SelectedLetter ? clRed : clWhite);
    }
    for (int n = 1; n <= kGridCells; ++n) DrawPuzzleCell(n, game_.PuzzleCellText(n), game_.PuzzleCellColor(n));
    SetFontPixels(kStatusPixels);
    DrawCell(kStatusRect, QString::fromStdString(game_.StatusText()), game_.SolverMode ? clYellow : clRed);
    SetFontPixels(kLetterPixels);
    paintingBoard_ = wasPaintingBoard;
    dirty_ = QRegion(0, 0, kBoardWidth, kBoardHeight);
}

void BoardWidget::FullRepaint() {
    EnsureImage();
    image_.fill(ToQColor(clGray));
    FormPaint();
    dirty_ = QRegion();
    repaint();
}

void BoardWidget::Flush() {
    if (dirty_.isEmpty()) return;
    const QRegion region = dirty_;
    dirty_ = QRegion();
    // The cells of an exchange lie all over the grid; as one rectangle they reach the window
    // sooner than as a region of dozens, through which every copy would be clipped.
    if (region.rectCount() > 4)
        repaint(region.boundingRect());
    else
        repaint(region);
}

void BoardWidget::paintEvent(QPaintEvent* event) {
    if (EnsureImage()) FormPaint();
    QPainter painter(this);
    const QRect board(0, 0, kBoardWidth, kBoardHeight);
    for (const QRect& rect : event->region() & board)
        painter.drawImage(rect, image_, QRectF(rect.topLeft() * image_.devicePixelRatio(), rect.size() * image_.devicePixelRatio()));
    for (const QRect& rect : event->region() - board) painter.fillRect(rect, ToQColor(clGray));
    painter.end();
    emit Painted();
}

void BoardWidget::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    form_.FormMouseUp(event->button(), event->modifiers(), int(std::floor(at.x())), int(std::floor(at.y())));
}


// ---- The window --------------------------------------------------------------------------

TLumeraMainForm::TLumeraMainForm(MainFormServices services) : services_(std::move(services)) {
    setObjectName("LumeraMainForm");
    InitResources();
    store_ = std::make_unique<util::RegistryStore>(services_.storeFile.empty() ? util::RegistryStore::DefaultPath()
                                                                               : services_.storeFile);
    storePort_ = std::make_unique<StoreSettingsPort>(*store_);
    auto flush = [this] {
        if (board_) board_->Flush();
    };
    if (!services_.dialogs) {
        ownDialogs_ = std::make_unique<QtDialogs>(this, flush);
        services_.dialogs = ownDialogs_.get();
    }
    if (!services_.sound) {
        ownSound_ = std::make_unique<QtSound>(flush);
        services_.sound = ownSound_.get();
    }
    if (!services_.random) {
        ownRandom_ = std::make_unique<StdRandom>();
        services_.random = ownRandom_.get();
    }
    if (!services_.clock) {
        ownClock_ = std::make_unique<SystemClock>();
        services_.clock = ownClock_.get();
    }
    game_ = std::make_unique<LumeraGame>(
        GamePorts{*this, *services_.dialogs, *services_.sound, *storePort_, *services_.random, *services_.clock});
    game_->AppCaption = kAppCaption;
    setWindowTitle(QString::fromStdString(game_->AppCaption));

    board_ = new BoardWidget(*this, *game_);
    setCentralWidget(board_);
    CreateMenu();
    timer1_ = new QTimer(this);
    timer1_->setObjectName("Timer1");
    connect(timer1_, &QTimer::timeout, this, [this] { Handle([this] { Timer1Timer(); }); });

    // The board area opens at its designed size, the window's frame corner at its place.
    resize(kBoardWidth, kBoardHeight + menuBar()->sizeHint().height());
    move(kWindowLeft, kWindowTop);
    FormCreate();
}

TLumeraMainForm::~TLumeraMainForm() = default;

void TLumeraMainForm::Handle(const std::function<void()>& handler) {
    RunHandler(this, handler);
    board_->Flush();
}

void TLumeraMainForm::CreateMenu() {
    QMenuBar* MainMenu1 = menuBar();
    MainMenu1->setObjectName(kMainMenuName);
    for (const MenuEntryDef& entry : kMainMenu) {
        QMenu* menu = MainMenu1->addMenu(QString::fromUtf8(entry.caption));
        menu->setObjectName(entry.name);
        for (const MenuItemDef& item : entry.items) {
            if (item.IsSeparator()) {
                menu->addSeparator()->setObjectName(item.name);
                continue;
            }
            QAction* action = menu->addAction(QString::fromUtf8(item.caption));
            action->setObjectName(item.name);
            const MenuCommand command = item.command;
            connect(action, &QAction::triggered, this, [this, command] { Handle([this, command] { RunMenuCommand(*this, command); }); });
            if (item.isCheckable) {
                action->setCheckable(true);
                action->setChecked(true);  // the handlers set the mark from the option's new value
            }
        }
    }
}

void TLumeraMainForm::FormCreate() {
    if (services_.showSplash) ShowStartupSplash(this, timer1_);
    // An error in the start-up sequence skips the rest of it: empty board, nothing selected.
    Handle([this] {
        game_->InitGame();
        game_->AlphabetClick(1);
    });
}

// ---- Board port --------------------------------------------------------------------------

void TLumeraMainForm::DrawAlphabetCell(char letter, Colour colour) { board_->DrawAlphabetCell(letter, colour); }
void TLumeraMainForm::DrawPuzzleCell(int n, char text, Colour colour) { board_->DrawPuzzleCell(n, text, colour); }
void TLumeraMainForm::FullRepaint() { board_->FullRepaint(); }
// The caption is ASCII apart from the puzzle file's name.
void TLumeraMainForm::SetCaption(const std::string& caption) {
    setWindowTitle(QFile::decodeName(QByteArray::fromStdString(caption)));
}

void TLumeraMainForm::SetCommandEnabled(const std::string& itemName, bool enabled) {
    if (auto* action = findChild<QAction*>(QString::fromStdString(itemName))) action->setEnabled(enabled);
}

void TLumeraMainForm::SetOptionChecked(const std::string& itemName, bool checked) {
    if (auto* action = findChild<QAction*>(QString::fromStdString(itemName))) action->setChecked(checked);
}

// ---- Handlers ----------------------------------------------------------------------------

void TLumeraMainForm::FormMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
    Handle([&] {
        if (InStatusBox(x, y)) game_->ReturnToGame();
        if (InAlphabet(x, y)) game_->AlphabetClick(AlphabetCellAt(x, y));
        if (InPuzzleGrid(x, y)) game_->PuzzleCellClick(PuzzleCellAt(x, y));
    });
}

void TLumeraMainForm::menuNewClick() { game_->menuNewClick(); }
void TLumeraMainForm::menuSpecifyStartClick() { game_->SpecifyStart(); }
void TLumeraMainForm::menuCheatClick() { game_->menuCheatClick(); }
void TLumeraMainForm::menuNewPuzzleSetClick() { game_->menuNewPuzzleSetClick(); }
void TLumeraMainForm::menuSolveClick() { game_->menuSolveClick(); }
void TLumeraMainForm::menuShowCorrectLettersClick() { game_->ToggleShowCorrect(); }
void TLumeraMainForm::menuSoundClick() { game_->ToggleSound(); }
void TLumeraMainForm::MakeaDonation1Click() { ShowDonationDialog(this); }
void TLumeraMainForm::Contents1Click() { ShowHelp(); }
void TLumeraMainForm::ShowHelp() { ShellOpen(kHelpDocument); }
void TLumeraMainForm::menuAboutClick() { ShowAboutWindow(this, timer1_); }
void TLumeraMainForm::Timer1Timer() { SplashTimer1Timer(timer1_); }

void TLumeraMainForm::menuQuitClick() {
    game_->SavePosition();
    close();
}

void TLumeraMainForm::FormClose() {
    if (services_.donationReminder) CheckDonationReminder(this);
}

void TLumeraMainForm::closeEvent(QCloseEvent* event) {
    Handle([this] { FormClose(); });
    event->accept();
}

}  // namespace lumera
