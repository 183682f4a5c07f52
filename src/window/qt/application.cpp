// The application object, its error report, its interface font and the window icon.
#include "window/qt/application.h"

#include <QFontInfo>

#include "init_resources.h"
#include "window/qt/board_accessible.h"
#include "window/qt/qt_ports.h"

namespace lumera {

namespace {

// Where "sans-serif" has no proportional face behind it (a system with only the Liberation
// faces resolves it to Liberation Mono), menus and messages would be set in a typewriter face:
// such a font is replaced by the first proportional sans-serif at hand, at the same size.
void UseProportionalInterfaceFont() {
    const auto proportional = [](QFont font) {
        font.setFamilies({"DejaVu Sans", "Liberation Sans", "Arial"});
        font.setStyleHint(QFont::SansSerif);
        font.setFixedPitch(false);
        return font;
    };
    const QFont general = QApplication::font();
    if (QFontInfo(general).fixedPitch()) QApplication::setFont(proportional(general));
    // A desktop theme may name fonts of its own for these.
    for (const char* className : {"QMenuBar", "QMenu", "QMessageBox", "QLabel", "QAbstractButton", "QLineEdit"}) {
        const QFont font = QApplication::font(className);
        if (QFontInfo(font).fixedPitch()) QApplication::setFont(proportional(font), className);
    }
}

}  // namespace

LumeraApplication::LumeraApplication(int& argc, char** argv) : QApplication(argc, argv) {
    InitResources();
    UseProportionalInterfaceFont();
    InstallBoardAccessibility();
}

// Title bars and window switchers ask for 16 to 64 pixels. The window system is sent every
// size the icon has, each held decoded for as long as the icon lives, so the large pictures
// (128 and 256 pixels, 0.3 MB decoded, twice that while being sent) are left to the desktop
// entry's icon theme.
QIcon WindowIcon() {
    InitResources();
    QIcon icon;
    for (int size : {16, 32, 48, 64}) icon.addFile(QStringLiteral(":/icons/icon-%1.png").arg(size), QSize(size, size));
    return icon;
}

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
