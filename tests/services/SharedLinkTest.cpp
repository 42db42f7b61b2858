#include "services/SharedDocuments.h"

#include <gtest/gtest.h>

using namespace orvento;

// A shared link names a bare file of the shared folder, the mark in any letter case; one that
// would reach another folder ("..", a separator of either kind) names nothing, so it counts as a
// missing file wherever it is opened or attached. Other links are full paths as they are.
TEST(SharedLinkTest, OnlyBareFilesOfTheSharedFolder) {
    const QString folder = QStringLiteral("/data/Dokumenty/DEMO/Nabidky/7/");
    EXPECT_EQ(services::expandLink(QStringLiteral("%SDILENA_SLOZKA%plán.pdf"), folder),
              folder + QStringLiteral("plán.pdf"));
    EXPECT_EQ(services::expandLink(QStringLiteral("%sdilena_Slozka%a..b.pdf"), folder),
              folder + QStringLiteral("a..b.pdf"));
    for (const char* outside :
         {"%SDILENA_SLOZKA%../../../etc/passwd", "%SDILENA_SLOZKA%..", "%SDILENA_SLOZKA%.",
          "%SDILENA_SLOZKA%", "%SDILENA_SLOZKA%sub/x.pdf", "%SDILENA_SLOZKA%..\\..\\x.pdf",
          "%SDILENA_SLOZKA%/etc/passwd"})
        EXPECT_TRUE(services::expandLink(QString::fromUtf8(outside), folder).isEmpty()) << outside;
    EXPECT_EQ(services::expandLink(QStringLiteral("/home/jana/plan.pdf"), folder),
              QStringLiteral("/home/jana/plan.pdf"));
}
