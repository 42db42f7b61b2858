#include "support/StoreKinds.h"
#include "support/TestStore.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

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

namespace {
// What a test program answers when the store its environment asks for cannot be had here (the
// ctest entries of the server pass take it as "skipped").
constexpr int kStoreUnavailableExit = 77;
} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Windows are tested without a display, also when the build lists the tests.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TestApplication app(argc, argv);
    const QString kind = orvento::testsupport::testStoreKind();
    if (!orvento::testsupport::storeKinds().contains(kind)) {
        std::fprintf(stderr, "unknown store kind %s\n", qPrintable(kind));
        return EXIT_FAILURE;
    }
    if (const auto why = orvento::testsupport::storeKindUnavailable(kind)) {
        std::fprintf(stderr, "skipped: the %s store cannot be tested here: %s\n", qPrintable(kind),
                     qPrintable(*why));
        return kStoreUnavailableExit;
    }
    return RUN_ALL_TESTS();
}
