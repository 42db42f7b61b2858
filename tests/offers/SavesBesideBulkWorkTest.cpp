// Several workstations share the agenda: a save on one must not wait long behind bulk work on
// another, and when it cannot get in at all the person is told why.
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/SlicedWrite.h"
#include "offers/OfferStore.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestStore.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

using namespace orvento;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

constexpr int kBulkRows = 100000;

class SavesBesideBulkWorkTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("Firma")));
        QDir().mkpath(core::programState().folders.lock);
    }
    static core::Database& db() { return core::programState().db->agenda; }
    QStringList helperArgs(const QString& command) const {
        return {command, env.dataFolder(), QStringLiteral("Firma")};
    }
    static std::vector<qint64> insertItems(int count) {
        std::vector<qint64> ids;
        core::Transaction unit(db());
        core::Statement insert(
            db(), QStringLiteral("INSERT INTO Zasoby (Sklad, Skupina, Popis, NakCena) VALUES (1, "
                                 "1, :Popis, 0)"));
        for (int i = 0; i < count; ++i) {
            EXPECT_TRUE(insert.exec({{QStringLiteral("Popis"), QStringLiteral("z%1").arg(i)}}));
            ids.push_back(insert.newRowId());
        }
        EXPECT_TRUE(unit.commit());
        return ids;
    }

    testsupport::TestEnvironment env;
};

TEST_F(SavesBesideBulkWorkTest, AnOfferSavedElsewhereWaitsUnderASecondBehindABulkUpdate) {
    if (testsupport::testStoreIsServer())
        GTEST_SKIP() << "the other workstation writes into the agenda's file in the data folder";
    struct Repriced {
        qint64 id;
        double price;
    };
    std::vector<Repriced> rows;
    for (const qint64 id : insertItems(kBulkRows))
        rows.push_back({id, 1.5 + static_cast<double>(id % 100)});

    testsupport::OtherWorkstation saver(helperArgs(QStringLiteral("timed-saves")));
    ASSERT_EQ(saver.firstLine(), QStringLiteral("ready"));
    core::Statement update(db(), QStringLiteral("UPDATE Zasoby SET NakCena = :NakCena WHERE ID = "
                                                ":ID"));
    const qint64 bulkStart = QDateTime::currentMSecsSinceEpoch();
    constexpr std::size_t kSliceRows = 5000;
    const core::SlicedWriteResult result =
        core::writeInSlices(db(), rows, kSliceRows, [&](const Repriced& row) {
            return update.exec(
                {{QStringLiteral("NakCena"), row.price}, {QStringLiteral("ID"), row.id}});
        });
    const qint64 bulkEnd = QDateTime::currentMSecsSinceEpoch();
    saver.stop();

    EXPECT_FALSE(result.failed);
    EXPECT_EQ(result.written, rows.size());
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM Zasoby WHERE NakCena > 0"))->toInt(),
              kBulkRows);
    int duringBulk = 0;
    qint64 longest = 0;
    for (QString line = saver.readLine(); line.startsWith(QLatin1String("save "));
         line = saver.readLine()) {
        const QStringList parts = line.split(QLatin1Char(' '));
        const qint64 start = parts.value(1).toLongLong();
        const qint64 took = parts.value(2).toLongLong();
        if (start >= bulkStart && start < bulkEnd) {
            ++duringBulk;
            longest = std::max(longest, took);
        }
    }
    EXPECT_GE(duringBulk, 3) << "the saves did not meet the bulk update, which took "
                             << bulkEnd - bulkStart << " ms";
    EXPECT_LT(longest, 1000);
    // Every save got in: the offers are all there.
    EXPECT_GE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM Nabidky"))->toInt(), duringBulk);
}

TEST_F(SavesBesideBulkWorkTest, ASaveThatFindsTheDatabaseBusyAsksToTryAgainLater) {
    if (testsupport::testStoreIsServer())
        GTEST_SKIP() << "the other workstation writes into the agenda's file in the data folder";
    testsupport::OtherWorkstation writer({QStringLiteral("hold-write"), db().filePath()});
    ASSERT_EQ(writer.firstLine(), QStringLiteral("ready"));
    constexpr int kShortTimeoutMs = 300;
    db().setBusyTimeout(kShortTimeoutMs);
    ScriptedInteraction ui;
    offers::OfferStore store(db());
    offers::OfferWorkingCopy copy(offers::OfferMode::New);
    offers::OfferItem item;
    item.Popis = QStringLiteral("položka");
    copy.insertItem(1, item);
    EXPECT_FALSE(store.save(copy, ui));
    EXPECT_EQ(ui.texts(Kind::Error), QStringList(core::busyMessage()));
    EXPECT_EQ(core::busyMessage(), QStringLiteral("Databázi právě zapisuje jiná pracovní stanice. "
                                                  "Zkuste prosím uložení za chvíli znovu."));

    // Once the other workstation is done, a failure of another kind is told as before.
    writer.stop();
    EXPECT_FALSE(
        db().execute(QStringLiteral("INSERT INTO Nabidky (ID) SELECT 1 UNION ALL SELECT 1")));
    EXPECT_EQ(core::saveFailedMessage(QStringLiteral("Nabidky")),
              QStringLiteral("Při ukládání záznamu do \"Nabidky\" došlo k chybě: metoda "
                             "\"Execute\" selhala."));
}

} // namespace
