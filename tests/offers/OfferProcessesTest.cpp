#include "core/Database.h"
#include "core/ProgramState.h"
#include "offers/OfferStore.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestStore.h"

#include <QDir>
#include <QSet>
#include <QSqlQuery>
#include <QThread>

#include <gtest/gtest.h>

using namespace orvento;

namespace {

class OfferProcessesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("Firma")));
        QDir().mkpath(core::programState().folders.lock);
        db().execute(QStringLiteral("DELETE FROM CisRady"));
        ASSERT_TRUE(db().execute(
            QStringLiteral("INSERT INTO CisRady (PrefixOzn, Cislo, PocetMist, ModulOzn) VALUES "
                           "('NB', 1, 5, 'NB')")));
    }
    static core::Database& db() { return core::programState().db->agenda; }
    QStringList helperArgs(const QString& command) const {
        return {command, env.dataFolder(), QStringLiteral("Firma")};
    }

    testsupport::TestEnvironment env;
};

TEST_F(OfferProcessesTest, TwoWorkstationsSavingAtOnceNeverShareANumber) {
    if (testsupport::testStoreIsServer())
        GTEST_SKIP() << "the other workstations open the agenda's file in the data folder";
    constexpr int kEach = 25;
    testsupport::OtherWorkstation a(helperArgs(QStringLiteral("new-offers"))
                                    << QString::number(kEach));
    testsupport::OtherWorkstation b(helperArgs(QStringLiteral("new-offers"))
                                    << QString::number(kEach));
    ASSERT_EQ(a.firstLine(), QStringLiteral("ready"));
    ASSERT_EQ(b.firstLine(), QStringLiteral("ready"));
    EXPECT_EQ(a.readLine(60000), QStringLiteral("done"));
    EXPECT_EQ(b.readLine(60000), QStringLiteral("done"));
    QSqlQuery numbers = db().select(QStringLiteral("SELECT Doklad FROM Nabidky"));
    QSet<QString> seen;
    int rows = 0;
    while (numbers.next()) {
        seen.insert(numbers.value(0).toString());
        ++rows;
    }
    EXPECT_EQ(rows, 2 * kEach);
    EXPECT_EQ(seen.size(), 2 * kEach);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Cislo FROM CisRady"))->toInt(), 2 * kEach + 1);
}

TEST_F(OfferProcessesTest, AKilledSaveLeavesTheOfferWhollyOldOrWhollyNew) {
    if (testsupport::testStoreIsServer())
        GTEST_SKIP() << "the other workstations open the agenda's file in the data folder";
    testsupport::ScriptedInteraction ui;
    offers::OfferStore store(db());
    offers::OfferWorkingCopy copy(offers::OfferMode::New);
    for (int i = 0; i < 400; ++i) {
        offers::OfferItem item;
        item.Popis = QStringLiteral("p%1").arg(i);
        item.PocetMJ = 0;
        copy.insertItem(i + 1, item);
    }
    ASSERT_TRUE(store.save(copy, ui));
    const qint64 id = *copy.offerId();
    for (int delayMs : {5, 40, 90}) {
        testsupport::OtherWorkstation saver(helperArgs(QStringLiteral("resave"))
                                            << QString::number(id));
        ASSERT_EQ(saver.firstLine(), QStringLiteral("ready"));
        QThread::msleep(static_cast<unsigned long>(delayMs));
        saver.kill();
        QSqlQuery quantities = db().select(
            QStringLiteral("SELECT MIN(PocetMJ), MAX(PocetMJ), COUNT(*), SUM(PCBDPHPOL) FROM "
                           "NabPolozky WHERE CisloNab = :ID"),
            {{QStringLiteral("ID"), id}});
        ASSERT_TRUE(quantities.next());
        EXPECT_EQ(quantities.value(0).toDouble(), quantities.value(1).toDouble()) << delayMs;
        EXPECT_EQ(quantities.value(2).toInt(), 400);
        const double sum = quantities.value(3).toDouble();
        quantities.finish();
        EXPECT_NEAR(db().scalar(QStringLiteral("SELECT CelkemBDPH FROM Nabidky WHERE ID = :ID"),
                                {{QStringLiteral("ID"), id}})
                        ->toDouble(),
                    sum, 0.005);
    }
}

} // namespace
