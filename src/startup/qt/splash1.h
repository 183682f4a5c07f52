// The splash and about window TsplashForm, and the three steps the main window drives it by:
// the start-up splash, its removal on the first timer tick, and the modal about window.
#pragma once

#include <QPointer>

#include "util/qt/form_qt.h"

namespace lumera {

// The splash window's description for its mode, drawn by the form renderer: 2 is the start-up
// splash, 5 the about window.
class TsplashForm : public QtForm {
    Q_OBJECT

public:
    TsplashForm(QWidget* owner, int mode);

    // Stored before the parts are built and never changed.
    const int SplashMode;
};

// The splash window's mode at start; the about window uses SplashModeBase + 3.
extern int SplashModeBase;
// The splash window in use; each construction points it at the new window.
extern QPointer<TsplashForm> splashForm;

// The first step of the main window's creation: shows the start-up splash centred on the
// screen. The main window then starts Timer1.
void ShowStartupSplash(QWidget* mainForm);
// The first tick of Timer1 (after the main window stopped it): closes the window splashForm
// refers to and releases it.
void SplashTimer1Timer();
// Help > About (after the main window stopped Timer1): shows the about window modally over
// mainForm, releasing it afterwards (also when an error ends the showing).
void ShowAboutWindow(QWidget* mainForm);

}  // namespace lumera
