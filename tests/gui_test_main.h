// The main() of the test programs that need a Qt application, on the offscreen platform.
#pragma once

#include <gtest/gtest.h>

#include <QtGlobal>
#include <functional>

namespace tarvek::testing {

// App is QGuiApplication, or QApplication where widgets are made. before runs once the
// application exists.
template <class App>
int RunGuiTests(int argc, char** argv, const std::function<void()>& before = {}) {
    // Test discovery runs the program too, without the test's environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    App app(argc, argv);
    if (before) before();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

}  // namespace tarvek::testing
