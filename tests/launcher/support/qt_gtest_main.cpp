// main() of the launcher's dialog tests: GoogleTest around one QApplication. Listing the tests
// needs no application (and so no display). Dialog tests default to the offscreen platform; the
// drag tests use the X server named by DISPLAY and skip without one.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <memory>

#include "launcher_dialog.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
#ifdef CELESTRIX_NEEDS_WINDOW_SYSTEM
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) qputenv("QT_QPA_PLATFORM", "offscreen");
    else qputenv("QT_QPA_PLATFORM", "xcb");
#else
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    QApplication app(argc, argv);
    applyLauncherPalette();
    return RUN_ALL_TESTS();
}
