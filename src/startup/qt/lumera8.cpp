// Program entry: the one settings store, the donation state loaded, the program-wide values,
// the main window with the shell that reaches the splash, About, the donation dialog and help,
// the event loop until the window closes, then the donation state written back.
#include <QTimer>

#include "donate/qt/donate1.h"
#include "startup/program_shell.h"
#include "startup/qt/perf_hook.h"
#include "startup/qt/splash1.h"
#include "util/days.h"
#include "util/registry_store.h"
#include "util/store_settings_port.h"
#include "window/qt/application.h"
#include "window/qt/mainform.h"

namespace lumera {
namespace {

// The splash and about window and the donation dialog of Qt, over the main window.
class QtShell final : public ProgramShell {
public:
    explicit QtShell(TLumeraMainForm& form) : ProgramShell(donateDialog_), form_(form), donateDialog_(&form) {}
    void ShowSplash() override { ShowStartupSplash(&form_); }
    void CloseSplash() override { SplashTimer1Timer(); }
    void ShowAbout() override { ShowAboutWindow(&form_); }

private:
    TLumeraMainForm& form_;
    QtDonateDialog donateDialog_;
};

}  // namespace
}  // namespace lumera

int main(int argc, char** argv) {
    using namespace lumera;
    util::RegistryStore store(util::RegistryStore::DefaultPath());
    StoreSettingsPort settings(store);
    ConfigureDonation(&settings, [] { return util::TodayDayNumber(); }, argc > 0 ? argv[0] : "lumera8");
    LoadDonationState();

    LumeraApplication application(argc, argv);
    SplashModeBase = 2;
    QApplication::setDesktopFileName("lumera8");
    QApplication::setApplicationName(kApplicationTitle);

    int result = 0;
    {
        MainFormServices services;
        services.store = &settings;
        services.shell = [](TLumeraMainForm& form) { return std::make_unique<QtShell>(form); };
        TLumeraMainForm form(std::move(services));
        if (PerfExitAfterPaintRequested())
            QObject::connect(&form.Board(), &BoardWidget::Painted, &PerfReportFirstPaintAndQuit);
        // The board's first paint does not need the window icon, and reading a picture without a
        // format named makes Qt load every image plugin: the icon is read once the board is up.
        QObject::connect(
            &form.Board(), &BoardWidget::Painted, &application,
            [] { QTimer::singleShot(0, [] { QApplication::setWindowIcon(WindowIcon()); }); },
            Qt::SingleShotConnection);
        form.show();
        result = application.exec();
    }
    SaveDonationState();
    return result;
}
