// The main of GUI test programs: a Qt application around the GoogleTest run, with every modal
// run watched so that one nobody expected fails its test instead of hanging it.
#include "tests/support/Modal.h"
#include "tests/support/RuntimeFolder.h"
#include "tests/support/ScopedVariable.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Settings, state, rescued lists and writer marks of a test without a device root of its
    // own stay out of the user's.
    const RuntimeFolder runtime;
    const TempFolder config("vestorylist-");
    const ScopedVariable configHome("XDG_CONFIG_HOME", config.Path());
    const ScopedVariable stateHome("XDG_STATE_HOME", config.Path() / "state");
    const ScopedVariable dataHome("XDG_DATA_HOME", config.Path() / "data");
    // The tests read the program's English texts, whatever the user's language.
    const ScopedVariable language("LANGUAGE", "en");
    // Headless unless told otherwise, also when ctest lists the tests at build time.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    InstallModalGuard();
    return RUN_ALL_TESTS();
}
