// Test entry for the window tests: one offscreen QApplication for the whole run.
#include <gtest/gtest.h>

#include "window/qt/application.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef LUMERA_TEST_FONTCONFIG_FILE
    qputenv("FONTCONFIG_FILE", LUMERA_TEST_FONTCONFIG_FILE);
#endif
#ifdef LUMERA_TEST_SCALE_FACTOR
    qputenv("QT_SCALE_FACTOR", LUMERA_TEST_SCALE_FACTOR);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    lumera::LumeraApplication application(argc, argv);
    QApplication::setApplicationName(lumera::kApplicationTitle);
    return RUN_ALL_TESTS();
}
