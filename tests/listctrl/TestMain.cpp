#include "tests/support/RuntimeFolder.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    // Test discovery runs the program without the suite's environment.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Qt keeps its runtime files in the test's folder, not in one it would make in /tmp.
    const RuntimeFolder runtime;
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
