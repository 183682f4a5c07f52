// Program entry on Qt: the one settings store, and what Qt provides for the program's start and
// end (startup/program.h): the application object, the main window with the shell that reaches
// the splash, About, the donation dialog and help, and the event loop.
#include <QTimer>
#include <optional>

#include "donate/qt/donate1.h"
#include "startup/program.h"
#include "startup/program_shell.h"
#include "startup/qt/perf_hook.h"
#include "startup/qt/splash1.h"
#include "startup/splash_modes.h"
#include "util/registry_store.h"
#include "util/store_settings_port.h"
#include "window/qt/application.h"
#include "window/qt/mainform.h"
#include "window/qt/qt_ports.h"

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

class QtToolkit final : public IProgramToolkit {
public:
    QtToolkit(int& argc, char** argv, ISettingsStore& settings) : argc_(argc), argv_(argv), settings_(settings) {}

    void CreateApplication() override {
        application_.emplace(argc_, argv_);
        SplashModeBase = kStartupSplashMode;
        QApplication::setDesktopFileName("lumera8");
        QApplication::setApplicationName(kApplicationTitle);
    }

    void CreateMainWindow() override {
        MainFormServices services;
        services.store = &settings_;
        services.shell = [](TLumeraMainForm& form) { return std::make_unique<QtShell>(form); };
        form_.emplace(std::move(services));
        if (PerfExitAfterPaintRequested())
            QObject::connect(&form_->Board(), &BoardWidget::Painted, &PerfReportFirstPaintAndQuit);
        // The board's first paint does not need the window icon, and reading a picture without a
        // format named makes Qt load every image plugin: the icon is read once the board is up.
        QObject::connect(
            &form_->Board(), &BoardWidget::Painted, &*application_,
            [] { QTimer::singleShot(0, [] { QApplication::setWindowIcon(WindowIcon()); }); },
            Qt::SingleShotConnection);
        form_->show();
    }

    int RunMessageLoop() override {
        const int result = QApplication::exec();
        form_.reset();
        return result;
    }

    void ShowErrorReport(const std::string& what) override {
        lumera::ShowErrorReport(form_ ? &*form_ : nullptr, what);
    }

private:
    int& argc_;
    char** argv_;
    ISettingsStore& settings_;
    std::optional<LumeraApplication> application_;
    std::optional<TLumeraMainForm> form_;
};

}  // namespace
}  // namespace lumera

int main(int argc, char** argv) {
    using namespace lumera;
    util::RegistryStore store(util::RegistryStore::DefaultPath());
    StoreSettingsPort settings(store);
    QtToolkit toolkit(argc, argv, settings);
    return Program(settings, argc > 0 ? argv[0] : "lumera8", toolkit).Run();
}
