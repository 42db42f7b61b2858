#include "core/DataStore.h"
#include "core/Database.h"
#include "core/PostgresStore.h"
#include "core/ServerStoreFactory.h"
#include "core/SqliteFolderStore.h"
#include "services/CommandLineMigration.h"
#include "support/PostgresCluster.h"
#include "support/StoreKinds.h"
#include "support/TableRows.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

#include <gtest/gtest.h>

using namespace orvento;

namespace {

using testsupport::columnsOf;
using testsupport::rowsOf;

constexpr int kBigAgendaItems = 10000;

// An agenda of `items` catalogue items with Czech texts, fractions that do not round evenly,
// empty and missing values, and dates, made in one unit of work.
void fillBigAgenda(const QString& file, int items) {
    core::Database db(QStringLiteral("big-agenda"));
    ASSERT_TRUE(db.open(file));
    core::Transaction unit(db);
    ASSERT_TRUE(unit.isActive());
    for (int i = 1; i <= items; ++i) {
        const QVariant none;
        ASSERT_TRUE(db.execute(
            QStringLiteral("INSERT INTO Zasoby (Sklad, Skupina, Popis, Katalog, TextMJ, Poznamka, "
                           "NakCena, PrCenaBDPH, PrCenaSDPH, SDPH, SazbaDPH, Marze, Zaok, "
                           "CenSkupina, Znacka) VALUES (:Sklad, :Skupina, :Popis, :Katalog, "
                           ":TextMJ, :Poznamka, :NakCena, :PrCenaBDPH, :PrCenaSDPH, :SDPH, "
                           ":SazbaDPH, :Marze, :Zaok, :CenSkupina, :Znacka)"),
            {{QStringLiteral("Sklad"), 1 + i % 3},
             {QStringLiteral("Skupina"), i % 7 == 0 ? none : QVariant(i % 40)},
             {QStringLiteral("Popis"), QStringLiteral("Šroubek žlutý č. %1 – „ocel“").arg(i)},
             {QStringLiteral("Katalog"), QStringLiteral("K-%1").arg(i, 6, 10, QLatin1Char('0'))},
             {QStringLiteral("TextMJ"), i % 2 ? QStringLiteral("ks") : QString()},
             {QStringLiteral("Poznamka"), i % 5 ? none : QVariant(QStringLiteral("řádek\nDalší"))},
             {QStringLiteral("NakCena"), i * 0.1 + 0.2},
             {QStringLiteral("PrCenaBDPH"), i / 3.0},
             {QStringLiteral("PrCenaSDPH"), i / 3.0 * 1.21},
             {QStringLiteral("SDPH"), i % 2},
             {QStringLiteral("SazbaDPH"), 21.0},
             {QStringLiteral("Marze"), i % 11 ? QVariant(12.5) : none},
             {QStringLiteral("Zaok"), i % 4},
             {QStringLiteral("CenSkupina"), QStringLiteral("S%1").arg(i % 9)},
             {QStringLiteral("Znacka"), i % 3 ? none : QVariant(QStringLiteral("2026-12-10"))}}))
            << db.lastError().toStdString();
    }
    ASSERT_TRUE(unit.commit());
}

} // namespace

// The demo data folder with a big agenda beside the demo moved to a real server: every row of
// every database there with its ID, and the server's own counters carry on after the copied IDs.
TEST(DataFolderMigrationServer, MovesTheDemoFolderAndABigAgendaToTheServerRowByRow) {
    if (const auto why = testsupport::storeKindUnavailable(QStringLiteral("Postgres")))
        GTEST_SKIP() << why->toStdString();
    testsupport::TestEnvironment env;
    env.useDataFolder();
    const QString data = env.dataFolder();
    ASSERT_TRUE(env.copyTemplate(QStringLiteral("0002.res"), QStringLiteral("Global.MDB")));
    ASSERT_TRUE(env.copyTemplate(QStringLiteral("0003.res"), QStringLiteral("DEMO.MDB")));
    ASSERT_TRUE(env.copyTemplate(QStringLiteral("0001.res"), QStringLiteral("Velka.MDB")));
    fillBigAgenda(data + QStringLiteral("Velka.MDB"), kBigAgendaItems);
    ASSERT_TRUE(QDir().mkpath(data + QStringLiteral("LOCK")));
    ASSERT_TRUE(testsupport::prepareLocation(QStringLiteral("Postgres"), data));
    const core::ServerConnection server = testsupport::postgresTestConnection(data);

    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    services::CommandLineMigration migration(
        {QStringLiteral("host=%1 dbname=%2 user=%3 sslmode=disable")
             .arg(server.host, server.database, server.user),
         data},
        outStream, errStream);
    core::StoreMakers makers;
    makers.password = [](const core::ServerConnection&) {
        return std::nullopt;
    };
    migration.setStoreMakers(std::move(makers));
    ASSERT_EQ(migration.run(env.programFolder()), 0) << err.toStdString() << out.toStdString();

    core::PostgresStore store(server, env.programFolder());
    for (const core::DatabaseId& id :
         {core::DatabaseId::global(), core::DatabaseId::agendaNamed(QStringLiteral("DEMO")),
          core::DatabaseId::agendaNamed(QStringLiteral("Velka"))}) {
        const QString file =
            (id.kind == core::DatabaseKind::Global ? QStringLiteral("Global") : id.agenda) +
            QStringLiteral(".MDB.presunuto");
        SCOPED_TRACE(file.toStdString());
        core::Database before(QStringLiteral("before"));
        core::Database after(QStringLiteral("after"), store.dialect());
        ASSERT_TRUE(before.open(data + file));
        ASSERT_TRUE(store.open(after, id));
        int rows = 0;
        for (const QString& table : before.tableNames()) {
            const QStringList columns = columnsOf(before, table);
            const QStringList source = rowsOf(before, table, columns);
            EXPECT_EQ(rowsOf(after, table, columns), source) << table.toStdString();
            rows += static_cast<int>(source.size());
        }
        EXPECT_GT(rows, 100);
        if (id.kind == core::DatabaseKind::Agenda) {
            const auto last = after.scalar(QStringLiteral("SELECT MAX(ID) FROM Zasoby"));
            ASSERT_TRUE(last);
            const auto added =
                after.insertRow(QStringLiteral("INSERT INTO Zasoby (Popis) VALUES (:N)"),
                                {{QStringLiteral("N"), QStringLiteral("Nová položka")}});
            ASSERT_TRUE(added) << after.lastError().toStdString();
            EXPECT_GT(*added, last->toLongLong());
        }
    }
}
