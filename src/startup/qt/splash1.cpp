// The splash and about window and the functions that show, remove and release it.
#include "startup/qt/splash1.h"

#include <functional>
#include <utility>

#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

#include "init_resources.h"
#include "util/qt/small_windows.h"
#include "util/my_utils.h"
#include "startup/splash_modes.h"
#include "util/publisher.h"

namespace lumera {

int SplashModeBase = kStartupSplashMode;
QPointer<TsplashForm> splashForm;

namespace {

QRect Geometry(const SplashPartDef& part) { return QRect(part.left, part.top, part.width, part.height); }

void SetTextColour(QWidget* widget, Colour colour) {
    if (colour == clWindowText) return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
    widget->setPalette(palette);
}

ClickLabel* MakeLabel(QWidget* parent, const SplashPartDef& part, std::function<void()> onClick = {}) {
    auto* label = new ClickLabel(parent, std::move(onClick));
    label->setObjectName(part.name);
    label->setGeometry(Geometry(part));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    QFont font = label->font();
    font.setPixelSize(part.fontPixels);
    font.setBold(part.bold);
    font.setUnderline(part.underline);
    label->setFont(font);
    SetTextColour(label, part.colour);
    return label;
}

// Places a window so that the centre of its rectangle (as QRect::center counts it) is `centre`.
void CentreAt(QWidget* window, const QPoint& centre) {
    window->move(centre.x() - (window->width() - 1) / 2, centre.y() - (window->height() - 1) / 2);
}

QPoint ScreenCentre(QWidget* near) {
    QScreen* screen = near ? near->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry().center() : QPoint(0, 0);
}

}  // namespace

TsplashForm::TsplashForm(QWidget* owner, int mode)
    : QDialog(owner, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), SplashMode(mode) {
    InitResources();
    setObjectName("splashForm");
    setFixedSize(kSplashWidth, kSplashHeight);
    setFont(FormFont());
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    setPalette(palette);
    setAutoFillBackground(true);

    Image1 = MakeLabel(this, kSplashImage, [this] { Image1Click(); });
    // Read as an image: a pixmap read from a file name stays in Qt's pixmap cache after the
    // window has been released (0.15 MB).
    Image1->setPixmap(QPixmap::fromImage(QImage(QStringLiteral(":/pictures/splash.png"), "PNG")));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    btnClose = new QToolButton(this);
    btnClose->setObjectName(kSplashCloseButton.name);
    btnClose->setGeometry(Geometry(kSplashCloseButton));
    btnClose->setFocusPolicy(Qt::NoFocus);
    btnClose->setText(kSplashCloseText);
    QFont buttonFont = btnClose->font();
    buttonFont.setPixelSize(kSplashCloseButton.fontPixels);
    buttonFont.setBold(kSplashCloseButton.bold);
    btnClose->setFont(buttonFont);
    btnClose->setVisible(false);
    connect(btnClose, &QToolButton::clicked, this, [this] { btnCloseClick(); });

    lblEval = MakeLabel(this, kSplashEditionLabel);
    lblEval->setWordWrap(true);

    Label1 = MakeLabel(this, kSplashTitleLabel);
    Label1->setText(kSplashTitleText);

    Label3 = MakeLabel(this, kSplashAddressLabel, [this] { Label3Click(); });
    Label3->setText(QString::fromStdString(SplashAddressText()));

    const SplashModeDef modeDef = SplashModeFor(SplashMode);
    lblEval->setText(modeDef.editionText);
    btnClose->setVisible(modeDef.showsCloseButton);
    if (modeDef.opensHomePage) Label3->setCursor(Qt::PointingHandCursor);
}

void TsplashForm::Image1Click() { close(); }

void TsplashForm::btnCloseClick() { close(); }

void TsplashForm::Label3Click() {
    if (SplashModeFor(SplashMode).opensHomePage) ShellOpen(kHomePageUrl);
}

void TsplashForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ShowStartupSplash(QWidget* mainForm) {
    auto* form = new TsplashForm(mainForm, SplashModeBase);
    splashForm = form;
    // The main window is not on screen yet, so the splash is centred on the screen.
    CentreAt(form, ScreenCentre(mainForm));
    form->show();
}

void SplashTimer1Timer() {
    const QPointer<TsplashForm> form = splashForm;
    if (!form) return;
    // Closing a splash the player has already clicked away changes nothing; it is released all the same.
    form->close();
    if (form) form->deleteLater();
}

void ShowAboutWindow(QWidget* mainForm) {
    auto* form = new TsplashForm(mainForm, SplashModeBase + kAboutModeOffset);
    splashForm = form;
    struct Release {
        QPointer<TsplashForm> form;
        ~Release() {
            if (form) form->deleteLater();
        }
    } release {form};
    if (mainForm)
        CentreAt(form, mainForm->window()->frameGeometry().center());
    else
        CentreAt(form, ScreenCentre(nullptr));
    form->exec();
}

}  // namespace lumera
