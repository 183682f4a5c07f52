// The splash and about window and the functions that show, remove and release it.
#include "startup/splash1.h"

#include <functional>
#include <utility>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

#include "init_resources.h"
#include "util/small_windows.h"
#include "util/my_utils.h"
#include "util/publisher.h"

namespace lumera {

int SplashModeBase = 2;
QPointer<TsplashForm> splashForm;

namespace {

constexpr int kAboutMode = 5;
const QColor kEditionBlue(0, 0, 255);


ClickLabel* MakeLabel(QWidget* parent, const char* name, const QRect& geometry, int pixelSize, bool bold,
                      std::function<void()> onClick = {}) {
    auto* label = new ClickLabel(parent, std::move(onClick));
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
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
    setFixedSize(280, 140);
    setFont(FormFont());
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    setPalette(palette);
    setAutoFillBackground(true);

    Image1 = MakeLabel(this, "Image1", QRect(0, 0, 280, 140), 11, false, [this] { Image1Click(); });
    Image1->setPixmap(QPixmap(":/pictures/splash.png"));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    btnClose = new QToolButton(this);
    btnClose->setObjectName("btnClose");
    btnClose->setGeometry(258, 6, 16, 16);
    btnClose->setFocusPolicy(Qt::NoFocus);
    btnClose->setText("X");
    QFont buttonFont = btnClose->font();
    buttonFont.setPixelSize(11);
    buttonFont.setBold(true);
    btnClose->setFont(buttonFont);
    btnClose->setVisible(false);
    connect(btnClose, &QToolButton::clicked, this, [this] { btnCloseClick(); });

    lblEval = MakeLabel(this, "lblEval", QRect(8, 72, 265, 22), 13, true);
    lblEval->setWordWrap(true);
    SetTextColour(lblEval, kEditionBlue);

    Label1 = MakeLabel(this, "Label1", QRect(8, 32, 265, 33), 13, true);
    Label1->setText("Lumera 8.0");

    Label3 = MakeLabel(this, "Label3", QRect(66, 112, 149, 13), 11, false, [this] { Label3Click(); });
    Label3->setText(QString("www.") + kPublisherSite);
    QFont linkFont = Label3->font();
    linkFont.setUnderline(true);
    Label3->setFont(linkFont);
    SetTextColour(Label3, kEditionBlue);

    // The modes: both show the freeware edition; the about window adds "X" and a live link.
    lblEval->setText("Freeware Edition");
    if (SplashMode == kAboutMode) {
        btnClose->setVisible(true);
        Label3->setCursor(Qt::PointingHandCursor);
    }
}

void TsplashForm::Image1Click() { close(); }

void TsplashForm::btnCloseClick() { close(); }

void TsplashForm::Label3Click() {
    if (SplashMode > 2) ShellOpen(kHomePageUrl);
}

void TsplashForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ShowStartupSplash(QWidget* mainForm, QTimer* timer1) {
    auto* form = new TsplashForm(mainForm, SplashModeBase);
    splashForm = form;
    // The main window is not on screen yet, so the splash is centred on the screen.
    CentreAt(form, ScreenCentre(mainForm));
    form->show();
    if (timer1) {
        timer1->setInterval(1500);
        timer1->start();
    }
}

void SplashTimer1Timer(QTimer* timer1) {
    if (timer1) timer1->stop();
    const QPointer<TsplashForm> form = splashForm;
    if (!form) return;
    // Closing a splash the player has already clicked away changes nothing; it is released all the same.
    form->close();
    if (form) form->deleteLater();
}

void ShowAboutWindow(QWidget* mainForm, QTimer* timer1) {
    if (timer1) timer1->stop();
    auto* form = new TsplashForm(mainForm, SplashModeBase + 3);
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
