// Test entry for the board's announcements: one QApplication on the X display and the
// accessibility bus that a11y_session.sh provides, with Qt's accessibility switched on.
#include <gtest/gtest.h>

#include "window/qt/application.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    ::testing::InitGoogleTest(&argc, argv);
    lumera::LumeraApplication application(argc, argv);
    QApplication::setApplicationName(lumera::kApplicationTitle);
    return RUN_ALL_TESTS();
}
