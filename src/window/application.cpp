// The application object and its error report.
#include "window/application.h"

#include "init_resources.h"
#include "window/qt_ports.h"

namespace lumera {

LumeraApplication::LumeraApplication(int& argc, char** argv) : QApplication(argc, argv) { InitResources(); }

bool LumeraApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        // The event is abandoned; the game goes on.
        ShowErrorReport(activeWindow(), QString::fromLocal8Bit(error.what()));
        return false;
    }
}

}  // namespace lumera
