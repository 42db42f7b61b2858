// A repricing killed while its first phase holds the write lock: after the restart every item has
// its old price and no unfinished mark.
#include "CatalogueAgenda.h"
#include "support/TestStore.h"

#include <QFileInfo>
#include <QThread>

using namespace orvento;

namespace {

using RepricingCrashTest = testsupport::CatalogueAgenda;

TEST_F(RepricingCrashTest, KilledDuringPhaseOneLeavesTheOldPrices) {
    if (testsupport::testStoreIsServer())
        GTEST_SKIP() << "the other workstation reprices the agenda's file, slowed by a trigger of "
                        "the embedded engine";
    catalogue::ItemRecord item;
    item.Popis = QStringLiteral("Položka");
    item.price.NakCena = 100;
    std::vector<qint64> ids;
    for (int i = 0; i < 3; ++i)
        ids.push_back(addItem(item));
    // The last item's write keeps the unit of work busy long enough to be killed in it.
    ASSERT_TRUE(db().executeDdl(
        QStringLiteral("CREATE TRIGGER Slow AFTER UPDATE ON Zasoby WHEN NEW.ID = %1 BEGIN SELECT "
                       "COUNT(*) FROM (WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 "
                       "FROM c WHERE x < 100000000) SELECT x FROM c); END")
            .arg(ids.back())));
    const QString folder = QFileInfo(db().filePath()).absolutePath() + QLatin1Char('/');
    const QString agenda = QFileInfo(db().filePath()).completeBaseName();
    db().close();
    {
        testsupport::OtherWorkstation repricing({QStringLiteral("reprice"), folder, agenda});
        ASSERT_EQ(repricing.firstLine(), QStringLiteral("writing"));
        constexpr unsigned long kIntoTheUnitMs = 500;
        QThread::msleep(kIntoTheUnitMs);
        repricing.kill();
    }
    ASSERT_TRUE(db().open(folder + agenda + QStringLiteral(".MDB")));
    ASSERT_TRUE(db().executeDdl(QStringLiteral("DROP TRIGGER Slow")));
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM Zasoby WHERE NakCena = 100 AND Chyba = 0"))
                  .toInt(),
              3);
}

} // namespace
