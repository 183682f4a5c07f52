// The main window on Qt: the board widget that draws cells, the menu bar, Timer1, and the
// translation of Qt events into calls on the window layer.
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

#include "engine/random_source.h"
#include "util/qt/qt_colour.h"
#include "util/text_encoding.h"
#include "window/qt/board_font.h"
#include "window/qt/qt_ports.h"
#include "window/window_measures.h"
#include "init_resources.h"

namespace lumera {

namespace {
QRect FillRect(const CellRect& r) { return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top); }
QRect OutlineRect(const CellRect& r) { return QRect(r.Left, r.Top, r.Right - r.Left + 1, r.Bottom - r.Top + 1); }
constexpr CellRect kLetterCellAtOrigin{0, 0, 18, 20};
}  // namespace

// ---- The board ---------------------------------------------------------------------------

BoardWidget::BoardWidget(TLumeraMainForm& form) : form_(form) {
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

QColor BoardWidget::TextColour(Colour colour) const {
    return colour == clWindowText ? palette().color(QPalette::WindowText) : ToQColor(colour);
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

void BoardWidget::PaintCell(QPainter& painter, const CellLook& cell, const CellRect& rect) {
    SetFontPixels(cell.fontPixels);
    painter.setFont(font_);
    painter.setPen(TextColour(cell.textColour));
    const QRect fill = FillRect(rect);
    painter.fillRect(fill, ToQColor(cell.fill));
    painter.setClipRect(fill);
    // The top of the character cell, not the baseline, sits at (Left + 2, Top + 2).
    painter.drawText(QPoint(rect.Left + 2, rect.Top + 2 + fontAscent_), FromCp1252(cell.text));
    painter.setClipping(false);
    // The outline covers columns Left and Right and rows Top and Bottom at any device ratio.
    const QRect outline = OutlineRect(rect);
    const QColor line = ToQColor(cell.outline);
    painter.fillRect(QRect(outline.left(), outline.top(), outline.width(), 1), line);
    painter.fillRect(QRect(outline.left(), outline.bottom(), outline.width(), 1), line);
    painter.fillRect(QRect(outline.left(), outline.top(), 1, outline.height()), line);
    painter.fillRect(QRect(outline.right(), outline.top(), 1, outline.height()), line);
}

// A cell covers its whole outline rectangle, so its pixels depend only on its look; at a
// whole-number device ratio every cell lies on the same device-pixel grid, and a copy of one
// painted cell is exactly what painting it anywhere else would give.
bool BoardWidget::CopyCachedCell(const CellLook& cell) {
    const CellRect& rect = cell.rect;
    const qreal ratio = image_.devicePixelRatio();
    const int scale = int(ratio);
    if (!cellCacheEnabled_ || scale != ratio || scale < 1 || cell.fontPixels != kLetterPixels ||
        cell.text.size() != 1 || cell.textColour != clWindowText || cell.outline != clBlack ||
        rect.Right - rect.Left != kLetterCellAtOrigin.Right || rect.Bottom - rect.Top != kLetterCellAtOrigin.Bottom)
        return false;
    const QRect device(rect.Left * scale, rect.Top * scale, 19 * scale, 21 * scale);
    if (rect.Left < 0 || rect.Top < 0 || !image_.rect().contains(device)) return false;
    const QRgb pen = palette().color(QPalette::WindowText).rgb();
    if (ratio != cellCacheRatio_ || pen != cellCachePen_) {
        cellCache_.clear();
        cellCacheRatio_ = ratio;
        cellCachePen_ = pen;
    }
    const char16_t character = char16_t(util::Cp1252ToUnicode(static_cast<unsigned char>(cell.text[0])));
    const quint64 key = (quint64(cell.fill) << 16) | character;
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
        PaintCell(painter, cell, kLetterCellAtOrigin);
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

void BoardWidget::ClearBoard(Colour background) {
    EnsureImage();
    image_.fill(ToQColor(background));
}

void BoardWidget::DrawCell(const CellLook& cell) {
    if (EnsureImage()) form_.Window().FormPaint();
    ++cellDraws_;
    if (CopyCachedCell(cell)) return;
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    PaintCell(painter, cell, cell.rect);
}

void BoardWidget::ShowArea(const CellRect& area) {
    // A whole board goes to the screen as one rectangle, not 297.
    const QRect rect(area.Left, area.Top, area.Right - area.Left, area.Bottom - area.Top);
    if (rect.contains(QRect(0, 0, kBoardWidth, kBoardHeight)))
        dirty_ = QRegion(rect);
    else
        dirty_ += rect;
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
    if (EnsureImage()) form_.Window().FormPaint();
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
    form_.FormMouseUp(int(std::floor(at.x())), int(std::floor(at.y())));
}

// ---- The window --------------------------------------------------------------------------

TLumeraMainForm::TLumeraMainForm(MainFormServices services) {
    setObjectName("LumeraMainForm");
    InitResources();
    if (!services.store) throw std::invalid_argument("The main window needs a settings store");
    board_ = new BoardWidget(*this);
    setCentralWidget(board_);
    timer1_ = new QTimer(this);
    timer1_->setObjectName("Timer1");
    // Pending cell redraws reach the screen before a modal window opens or a sound plays.
    auto flush = [this] { board_->Flush(); };
    IDialogs& dialogs = owned_.Use<QtDialogs>(services.dialogs, this, flush);
    ISound& sound = owned_.Use<QtSound>(services.sound, flush);
    IRandom& random = owned_.Use<StdRandom>(services.random);
    IClock& clock = owned_.Use<SystemClock>(services.clock);
    layer_ = std::make_unique<GameWindow>(
        WindowPorts{*board_, *this, owned_.Shell(services, *this), dialogs, sound, *services.store, random, clock,
                    ServiceOwner::Files(services.files)});
    setWindowTitle(QString::fromStdString(layer_->Caption()));
    CreateMenu();
    connect(timer1_, &QTimer::timeout, this, [this] { RunOnLayer([this] { layer_->Timer1Timer(); }); });

    // The board area opens at its designed size, the window's frame corner at its place.
    resize(kBoardWidth, kBoardHeight + menuBar()->sizeHint().height());
    move(kWindowLeft, kWindowTop);
    RunOnLayer([this] { layer_->FormCreate(); });
}

TLumeraMainForm::~TLumeraMainForm() = default;

void TLumeraMainForm::RunOnLayer(const std::function<void()>& call) {
    call();
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
            connect(action, &QAction::triggered, this, [this, command] { RunOnLayer([this, command] { layer_->MenuClick(command); }); });
            if (item.isCheckable) {
                action->setCheckable(true);
                action->setChecked(layer_->IsOptionChecked(item.name));
            }
        }
    }
}

void TLumeraMainForm::FormMouseUp(int x, int y) {
    RunOnLayer([&] { layer_->FormMouseUp(x, y); });
}

void TLumeraMainForm::closeEvent(QCloseEvent* event) {
    RunOnLayer([this] { layer_->FormClose(); });
    event->accept();
}

// ---- Frame port --------------------------------------------------------------------------

// The caption is ASCII apart from the puzzle file's name.
void TLumeraMainForm::SetCaption(const std::string& caption) {
    setWindowTitle(QFile::decodeName(QByteArray::fromStdString(caption)));
}

void TLumeraMainForm::SetMenuItemState(const std::string& itemName, bool enabled, bool checked) {
    auto* action = findChild<QAction*>(QString::fromStdString(itemName));
    if (!action) return;
    action->setEnabled(enabled);
    if (action->isCheckable()) action->setChecked(checked);
}

void TLumeraMainForm::SetTimer1(int milliseconds) {
    if (milliseconds > 0)
        timer1_->start(milliseconds);
    else
        timer1_->stop();
}

void TLumeraMainForm::Close() { close(); }

void TLumeraMainForm::ShowErrorReport(const std::string& what) {
    board_->Flush();
    lumera::ShowErrorReport(this, what);
}

}  // namespace lumera
