// Test entry for the tests on a real X display: one QApplication on the display given; exits
// 77 when tests were skipped.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    const int result = RUN_ALL_TESTS();
    // A skipped test shows as skipped in CTest.
    return result == 0 && ::testing::UnitTest::GetInstance()->skipped_test_count() > 0 ? 77 : result;
}
