#include <gtest/gtest.h>

#ifdef ORVENTO_WIDGET_TESTS
#include <QApplication>
using TestApplication = QApplication;
#elif defined(ORVENTO_GUI_TESTS)
// Painting and fonts without windows (report rendering).
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Windows are tested without a display, also when the build lists the tests.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TestApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
