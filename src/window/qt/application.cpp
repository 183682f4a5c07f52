// The application object and its error report.
#include "window/qt/application.h"

#include "init_resources.h"
#include "window/qt/qt_ports.h"

namespace lumera {

LumeraApplication::LumeraApplication(int& argc, char** argv) : QApplication(argc, argv) { InitResources(); }

bool LumeraApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        // The event is abandoned; the game goes on.
        ShowErrorReport(activeWindow(), error.what());
        return false;
    }
}

}  // namespace lumera
