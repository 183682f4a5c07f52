// Form descriptions drawn with Qt widgets: pictures and texts as labels, buttons, a radio group
// with an etched frame, a panel with a two-ring bevel; and the window's placing over its owner.
#include "util/qt/form_qt.h"

#include <functional>
#include <optional>
#include <utility>

#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QToolButton>

#include "init_resources.h"
#include "util/form_font.h"
#include "util/qt/qt_colour.h"
#include "util/qt/qt_text.h"

namespace lumera {

namespace {

// "MS Sans Serif" at 8 points: the nearest metric match first, then any sans-serif.
QFont FormFont() {
    QFont font;
    font.setFamilies({kFormFontName, "Liberation Sans"});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(kFormFontPixels);
    return font;
}

// A label that takes the mouse for itself (a click on it reaches nothing beneath), and runs
// its action, if it has one, on a left release inside it.
class ClickLabel : public QLabel {
public:
    ClickLabel(QWidget* parent, std::function<void()> onClick) : QLabel(parent), onClick_(std::move(onClick)) {}

protected:
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override {
        event->accept();
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onClick_) onClick_();
    }

private:
    std::function<void()> onClick_;
};

// Read as an image: a pixmap read from a file name stays in Qt's pixmap cache after the
// window has been released.
QPixmap Picture(const std::string& name) {
    return QPixmap::fromImage(QImage(QString(":/pictures/%1.png").arg(QString::fromStdString(name)), "PNG"));
}

QColor Resolve(const QWidget* widget, Colour colour) {
    if (colour == clBtnFace) return widget->palette().color(QPalette::Button);
    if (colour == clWindowText) return widget->palette().color(QPalette::WindowText);
    return ToQColor(colour);
}

void SetBackground(QWidget* widget, Colour colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Resolve(widget, colour));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void SetFont(QWidget* widget, const PartFont& font) {
    QFont qfont = widget->font();
    if (font.pixels > 0) qfont.setPixelSize(font.pixels);
    qfont.setBold(font.bold);
    qfont.setUnderline(font.underline);
    widget->setFont(qfont);
}

// One ring of a bevel: the top and left lines in one colour, the right and bottom in the other.
void DrawBevel(QPainter& painter, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
    painter.setPen(topLeft);
    painter.drawLine(r.left(), r.top(), r.right() - 1, r.top());
    painter.drawLine(r.left(), r.top(), r.left(), r.bottom() - 1);
    painter.setPen(bottomRight);
    painter.drawLine(r.right(), r.top(), r.right(), r.bottom());
    painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
}

// A panel with a raised outer and a lowered inner bevel, one pixel each.
class BevelPanel : public QFrame {
public:
    BevelPanel(QWidget* parent, QColor light, QColor shadow) : QFrame(parent), light_(light), shadow_(shadow) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        DrawBevel(painter, rect(), light_, shadow_);
        DrawBevel(painter, rect().adjusted(1, 1, -1, -1), shadow_, light_);
    }

private:
    QColor light_, shadow_;
};

// A radio group's box: an etched frame below half a text line, on its own background colour.
class RadioGroupBox : public QGroupBox {
public:
    RadioGroupBox(QWidget* parent, QColor light, QColor shadow) : QGroupBox(parent), light_(light), shadow_(shadow) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect frame = rect().adjusted(0, fontMetrics().height() / 2, -1, -1);
        painter.setPen(shadow_);
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
        painter.setPen(light_);
        painter.drawRect(frame.adjusted(1, 1, 0, 0));
    }

private:
    QColor light_, shadow_;
};

// Places a window so that the centre of its rectangle (as QRect::center counts it) is `centre`.
void CentreAt(QWidget* window, const QPoint& centre) {
    window->move(centre.x() - (window->width() - 1) / 2, centre.y() - (window->height() - 1) / 2);
}

QPoint ScreenCentre(const QWidget* near) {
    QScreen* screen = near ? near->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry().center() : QPoint(0, 0);
}

// The widths of a window's frame beside its client area; nothing while the window is not
// framed yet (or the desktop is still building the frame, when Qt may see it 1 pixel wide).
std::optional<QMargins> FrameMargins(const QWidget* window) {
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    const QMargins margins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                           frame.bottom() - client.bottom());
    if (margins.isNull() || margins.left() < 0 || margins.top() < 0 || margins.right() < 0 || margins.bottom() < 0)
        return std::nullopt;
    return margins;
}

Qt::WindowFlags FlagsFor(const Form& form) {
    Qt::WindowFlags flags = form.titleBar ? Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                Qt::WindowCloseButtonHint
                                          : Qt::Window | Qt::FramelessWindowHint;
    if (form.topmost) flags |= Qt::WindowStaysOnTopHint;
    return flags;
}

}  // namespace

QtForm::QtForm(QWidget* owner, const Form& form) : QDialog(owner, FlagsFor(form)), titleBar_(form.titleBar) {
    InitResources();
    setObjectName(QString::fromStdString(form.name));
    // A frameless window shows no caption anywhere.
    if (form.titleBar) setWindowTitle(FromCp1252(form.caption));
    setFixedSize(form.width, form.height);
    QFont font = FormFont();
    if (form.fontPixels > 0) font.setPixelSize(form.fontPixels);
    setFont(font);
    SetBackground(this, form.background);
    AddParts(this, form.parts);
    placing_.setInterval(kPlacingTickMs);
    connect(&placing_, &QTimer::timeout, this, [this] { PlacingTick(); });
}

void QtForm::AddParts(QWidget* parent, const std::vector<FormPart>& parts) {
    for (const FormPart& part : parts) {
        QWidget* widget = MakePart(parent, part);
        widget->setObjectName(QString::fromStdString(part.name));
        widget->setGeometry(part.left, part.top, part.width, part.height);
        if (!part.visible) widget->setVisible(false);
    }
}

QWidget* QtForm::MakePart(QWidget* parent, const FormPart& part) {
    const auto click = [this, part] { ClickPart(part, [this] { close(); }); };
    switch (part.kind) {
        case PartKind::Picture:
        case PartKind::Label:
        case PartKind::Link: {
            auto* label = new ClickLabel(parent, click);
            if (part.kind == PartKind::Picture) {
                label->setPixmap(Picture(part.picture));
                label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                return label;
            }
            label->setTextFormat(Qt::PlainText);
            label->setText(FromCp1252(part.text));
            label->setAlignment((part.align == PartAlign::Centre ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
            label->setWordWrap(part.wrap);
            SetFont(label, part.font);
            if (part.colour != clWindowText) {
                QPalette palette = label->palette();
                palette.setColor(QPalette::WindowText, ToQColor(part.colour));
                label->setPalette(palette);
            }
            if (!part.url.empty()) label->setCursor(Qt::PointingHandCursor);
            return label;
        }
        case PartKind::Button: {
            QAbstractButton* button = nullptr;
            if (part.focusable) {
                auto* push = new QPushButton(FromCp1252(part.text), parent);
                push->setAutoDefault(false);
                push->setDefault(false);
                NextTabStop(push);
                button = push;
            } else {
                button = new QToolButton(parent);
                button->setText(FromCp1252(part.text));
                button->setFocusPolicy(Qt::NoFocus);
            }
            if (!part.picture.empty()) {
                QIcon glyph;
                glyph.addPixmap(Picture(part.picture), QIcon::Normal);
                glyph.addPixmap(Picture(part.picture + "_disabled"), QIcon::Disabled);
                button->setIcon(glyph);
                button->setIconSize(QSize(part.glyphPixels, part.glyphPixels));
            }
            if (part.font.pixels > 0 || part.font.bold || part.font.underline) SetFont(button, part.font);
            connect(button, &QAbstractButton::clicked, this, click);
            return button;
        }
        case PartKind::RadioGroup: {
            auto* group = new RadioGroupBox(parent, ToQColor(part.light), ToQColor(part.shadow));
            SetBackground(group, part.background);
            for (std::size_t i = 0; i < part.items.size(); ++i) {
                auto* item = new QRadioButton(FromCp1252(part.items[i]), group);
                item->setObjectName(QString::fromStdString(part.name) + QString("Item%1").arg(i));
                const int top = part.itemTop + part.itemPitch * static_cast<int>(i);
                item->setGeometry(part.itemLeft, top, part.itemWidth, part.itemPitch);
                items_.push_back(item);
            }
            if (!items_.empty()) NextTabStop(items_.front());
            SetSelected(part.selected);
            return group;
        }
        case PartKind::Panel: {
            auto* panel = new BevelPanel(parent, ToQColor(part.light), ToQColor(part.shadow));
            SetBackground(panel, part.background);
            AddParts(panel, part.parts);
            return panel;
        }
    }
    return new QWidget(parent);
}

void QtForm::NextTabStop(QWidget* widget) {
    if (lastTabStop_) setTabOrder(lastTabStop_, widget);
    lastTabStop_ = widget;
}

int QtForm::Selected() const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i]->isChecked()) return static_cast<int>(i);
    return 0;
}

void QtForm::SetSelected(int index) {
    if (index < 0 || index >= static_cast<int>(items_.size())) return;
    items_[static_cast<std::size_t>(index)]->setChecked(true);
}

void QtForm::CentreOnScreen() { CentreAt(this, ScreenCentre(parentWidget())); }

void QtForm::CentreOverOwner() {
    if (parentWidget())
        CentreAt(this, parentWidget()->window()->frameGeometry().center());
    else
        CentreAt(this, ScreenCentre(nullptr));
}

int QtForm::ShowModal() {
    if (!titleBar_) CentreOverOwner();
    exec();
    return Selected();
}

void QtForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!titleBar_ || event->spontaneous()) return;
    // Qt's own placement centres the client areas and guesses at the title bar, which puts the
    // frame too high; the window places its frame itself. Until the desktop has framed it, the
    // frame is taken to be like the owner's; once framed (or after a second), it is placed once more.
    PlaceOverOwner();
    placingTicks_ = 0;
    placing_.start();
}

void QtForm::PlaceOverOwner() {
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!owner) return;
    QMargins frame;
    if (const auto own = FrameMargins(this)) {
        frame = *own;
    } else if (const auto owners = FrameMargins(owner)) {
        // The window cannot be resized, so it has no resize handle at the bottom: its bottom
        // edge is taken to be as wide as its side.
        frame = QMargins(owners->left(), owners->top(), owners->right(), owners->right());
    }
    const QSize frameSize = size().grownBy(frame);
    const QPoint centre = owner->frameGeometry().center();
    const QPoint frameTopLeft(centre.x() - (frameSize.width() - 1) / 2, centre.y() - (frameSize.height() - 1) / 2);
    // The client area is placed: where a frame not yet known would go is up to the desktop.
    const QPoint clientTopLeft = frameTopLeft + QPoint(frame.left(), frame.top());
    if (geometry().topLeft() != clientTopLeft) setGeometry(QRect(clientTopLeft, size()));
}

void QtForm::PlacingTick() {
    if (!isVisible()) {
        placing_.stop();
        return;
    }
    if (!FrameMargins(this) && ++placingTicks_ < kPlacingTicks) return;
    placing_.stop();
    PlaceOverOwner();
}

void QtForm::closeEvent(QCloseEvent* event) {
    if (isVisible()) done(QDialog::Accepted);
    event->accept();
}

void QtForm::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

}  // namespace lumera
