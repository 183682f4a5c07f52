// The donation dialog TDonateForm: its parts, their look and placement, and its showing.
#include "donate/qt/donate1.h"

#include <optional>
#include <utility>

#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTimer>

#include "donate/donate_layout.h"
#include "init_resources.h"
#include "util/qt/small_windows.h"
#include "util/my_utils.h"
#include "util/publisher.h"

namespace lumera {

namespace {

QColor ToQColor(Colour colour) { return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }
QRect Geometry(const DonatePartDef& part) { return QRect(part.left, part.top, part.width, part.height); }

const QColor kMoneyGreen = ToQColor(clMoneyGreen);
const QColor kCream = ToQColor(clCream);
const QColor kLinkBlue = ToQColor(clLinkBlue);
const QColor kBevelLight = ToQColor(clBevelLight);
const QColor kBevelShadow = ToQColor(clBevelShadow);

void SetBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}


// A panel with a raised outer and a lowered inner bevel, one pixel each.
class BevelPanel : public QFrame {
public:
    using QFrame::QFrame;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect outer = rect();
        DrawBevel(painter, outer, kBevelLight, kBevelShadow);
        DrawBevel(painter, outer.adjusted(1, 1, -1, -1), kBevelShadow, kBevelLight);
    }

private:
    static void DrawBevel(QPainter& painter, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
        painter.setPen(topLeft);
        painter.drawLine(r.left(), r.top(), r.right() - 1, r.top());
        painter.drawLine(r.left(), r.top(), r.left(), r.bottom() - 1);
        painter.setPen(bottomRight);
        painter.drawLine(r.right(), r.top(), r.right(), r.bottom());
        painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    }
};

// A radio group's box: an etched frame below half a text line, on its own background colour.
class RadioGroupBox : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect frame = rect().adjusted(0, fontMetrics().height() / 2, -1, -1);
        painter.setPen(kBevelShadow);
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
        painter.setPen(kBevelLight);
        painter.drawRect(frame.adjusted(1, 1, 0, 0));
    }
};

QLabel* MakeLabel(QWidget* parent, const DonatePartDef& part, const QString& text) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setObjectName(part.name);
    label->setGeometry(Geometry(part));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
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

}  // namespace

TDonateForm::TDonateForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    InitResources();
    setObjectName("DonateForm");
    setWindowTitle(kDonateCaption);
    setFixedSize(kDonateClientWidth, kDonateClientHeight);
    setFont(FormFont());
    SetBackground(this, kMoneyGreen);

    Image1 = new QLabel(this);
    Image1->setObjectName(kDonateImage.name);
    Image1->setGeometry(Geometry(kDonateImage));
    Image1->setPixmap(QPixmap(":/pictures/donate.png"));

    rgDonate = new RadioGroupBox(this);
    rgDonate->setObjectName(kDonateRadioGroup.name);
    rgDonate->setGeometry(Geometry(kDonateRadioGroup));
    SetBackground(rgDonate, kCream);
    // One column, items spread evenly below a text-height top margin.
    for (int i = 0; i < 5; ++i) {
        auto* item = new QRadioButton(kDonateAnswerTexts[static_cast<std::size_t>(i)], rgDonate);
        item->setObjectName(QString("rgDonateItem%1").arg(i));
        item->setGeometry(kDonateItemLeft, kDonateItemTop + kDonateItemPitch * i, kDonateItemWidth, kDonateItemPitch);
        rgDonateItems[static_cast<std::size_t>(i)] = item;
    }

    ntmOK = new QPushButton(QString(kDonateProceedText), this);
    ntmOK->setObjectName(kDonateProceedButton.name);
    ntmOK->setGeometry(Geometry(kDonateProceedButton));
    QIcon door;
    door.addPixmap(QPixmap(":/pictures/door.png"), QIcon::Normal);
    door.addPixmap(QPixmap(":/pictures/door_disabled.png"), QIcon::Disabled);
    ntmOK->setIcon(door);
    ntmOK->setIconSize(QSize(kDonateGlyphPixels, kDonateGlyphPixels));
    ntmOK->setAutoDefault(false);
    ntmOK->setDefault(false);
    connect(ntmOK, &QPushButton::clicked, this, [this] { ntmOKClick(); });

    Panel1 = new BevelPanel(this);
    Panel1->setObjectName(kDonatePanel.name);
    Panel1->setGeometry(Geometry(kDonatePanel));
    SetBackground(Panel1, kCream);

    Label1 = MakeLabel(Panel1, kDonateLabel1, QString::fromStdString(DonateLabel1Text()));
    Label2 = MakeLabel(Panel1, kDonateLabel2, kDonateLabel2Text);

    lblHomePage = new ClickLabel(Panel1, [this] { lblHomePageClick(); });
    lblHomePage->setTextFormat(Qt::PlainText);
    lblHomePage->setText(QString::fromStdString(DonateHomePageText()));
    lblHomePage->setObjectName(kDonateHomePageLabel.name);
    lblHomePage->setGeometry(Geometry(kDonateHomePageLabel));
    lblHomePage->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblHomePage->setCursor(Qt::PointingHandCursor);
    QFont linkFont = lblHomePage->font();
    linkFont.setUnderline(true);
    lblHomePage->setFont(linkFont);
    QPalette linkPalette = lblHomePage->palette();
    linkPalette.setColor(QPalette::WindowText, kLinkBlue);
    lblHomePage->setPalette(linkPalette);

    setTabOrder(rgDonateItems[0], ntmOK);

    placing_.setInterval(kPlacingTickMs);
    connect(&placing_, &QTimer::timeout, this, [this] { PlacingTick(); });

    FormCreate();
}

int TDonateForm::ItemIndex() const {
    for (std::size_t i = 0; i < rgDonateItems.size(); ++i)
        if (rgDonateItems[i]->isChecked()) return static_cast<int>(i);
    return 0;
}

void TDonateForm::SetItemIndex(int index) {
    if (index < 0 || index >= static_cast<int>(rgDonateItems.size())) return;
    rgDonateItems[static_cast<std::size_t>(index)]->setChecked(true);
}

void TDonateForm::FormCreate() { SetItemIndex(0); }

void TDonateForm::ntmOKClick() { close(); }

void TDonateForm::lblHomePageClick() { ShellOpen(kHomePageUrl); }

void TDonateForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    // Qt's own placement centres the client areas and guesses at the title bar, which puts the
    // frame too high; the dialog places its frame itself. Until the desktop has framed it, the
    // frame is taken to be like the owner's; once framed (or after a second), it is placed once more.
    PlaceOverOwner();
    placingTicks_ = 0;
    placing_.start();
}

void TDonateForm::PlaceOverOwner() {
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!owner) return;
    QMargins frame;
    if (const auto own = FrameMargins(this)) {
        frame = *own;
    } else if (const auto owners = FrameMargins(owner)) {
        // The dialog cannot be resized, so it has no resize handle at the bottom: its bottom
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

void TDonateForm::PlacingTick() {
    if (!isVisible()) {
        placing_.stop();
        return;
    }
    if (!FrameMargins(this) && ++placingTicks_ < kPlacingTicks) return;
    placing_.stop();
    PlaceOverOwner();
}

void TDonateForm::closeEvent(QCloseEvent* event) {
    if (isVisible()) done(QDialog::Accepted);
    event->accept();
}

void TDonateForm::keyPressEvent(QKeyEvent* event) {
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

int QtDonateDialog::ShowDonateDialog() {
    auto* form = new TDonateForm(owner_);
    struct Release {
        QPointer<TDonateForm> form;
        ~Release() {
            if (form) form->deleteLater();
        }
    } release {form};
    form->exec();
    return form->ItemIndex();
}

}  // namespace lumera
