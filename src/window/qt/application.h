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

// The game's icon in every size of the set, each drawn for its size (16 to 256 pixels).
QIcon WindowIcon();

}  // namespace lumera
