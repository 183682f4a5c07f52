// The splash and about window and the functions that show, remove and release it.
#include "startup/qt/splash1.h"

#include "startup/splash_form.h"
#include "startup/splash_modes.h"

namespace lumera {

int SplashModeBase = kStartupSplashMode;
QPointer<TsplashForm> splashForm;

TsplashForm::TsplashForm(QWidget* owner, int mode) : QtForm(owner, SplashForm(mode)), SplashMode(mode) {}

void ShowStartupSplash(QWidget* mainForm) {
    auto* form = new TsplashForm(mainForm, SplashModeBase);
    splashForm = form;
    // The main window is not on screen yet, so the splash is centred on the screen.
    form->CentreOnScreen();
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
    form->ShowModal();
}

}  // namespace lumera
