// The application object: its notify override is the top-level error report for any
// exception that escapes an event handler.
#pragma once

#include <QApplication>

#include "window/window_texts.h"

namespace lumera {

class LumeraApplication final : public QApplication {
public:
    LumeraApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace lumera
