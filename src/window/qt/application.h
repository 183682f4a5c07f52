// The application object: its notify override is the top-level error report for any
// exception that escapes an event handler. It also makes sure of a proportional interface font,
// and gives the window icon.
#pragma once

#include <QApplication>
#include <QIcon>

#include "window/window_texts.h"

namespace lumera {

class LumeraApplication final : public QApplication {
public:
    LumeraApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The window icon: the sizes of the set that a title bar or a window switcher uses (16 to 64
// pixels), each drawn for its size.
QIcon WindowIcon();

}  // namespace lumera
