// Program entry: loads the donation state, sets the program-wide values, creates the main
// window and runs the event loop until it closes, then writes the donation state back.
#include <QTimer>

#include "donate/qt/donate1.h"
#include "startup/qt/perf_hook.h"
#include "startup/qt/splash1.h"
#include "util/days.h"
#include "util/registry_store.h"
#include "window/qt/application.h"
#include "window/qt/mainform.h"

int main(int argc, char** argv) {
    lumera::util::RegistryStore donationStore(lumera::util::RegistryStore::DefaultPath());
    lumera::ConfigureDonation(&donationStore, [] { return lumera::util::TodayDayNumber(); }, argc > 0 ? argv[0] : "lumera8");
    lumera::LoadDonationState();

    lumera::LumeraApplication application(argc, argv);
    lumera::SplashModeBase = 2;
    QApplication::setDesktopFileName("lumera8");
    QApplication::setApplicationName(lumera::kApplicationTitle);

    int result = 0;
    {
        lumera::TLumeraMainForm form;
        if (lumera::PerfExitAfterPaintRequested())
            QObject::connect(&form.Board(), &lumera::BoardWidget::Painted, &lumera::PerfReportFirstPaintAndQuit);
        // The board's first paint does not need the window icon, and reading a picture without a
        // format named makes Qt load every image plugin: the icon is read once the board is up.
        QObject::connect(
            &form.Board(), &lumera::BoardWidget::Painted, &application,
            [] { QTimer::singleShot(0, [] { QApplication::setWindowIcon(lumera::WindowIcon()); }); },
            Qt::SingleShotConnection);
        form.show();
        result = application.exec();
    }
    lumera::SaveDonationState();
    return result;
}
