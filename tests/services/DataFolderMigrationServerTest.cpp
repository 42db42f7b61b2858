#include "core/DataStore.h"
#include "core/Database.h"
#include "core/PostgresStore.h"
#include "core/ServerStoreFactory.h"
#include "core/SqliteFolderStore.h"
#include "services/CommandLineMigration.h"
#include "support/PostgresCluster.h"
#include "support/StoreKinds.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTextStream>

#include <gtest/gtest.h>

using namespace orvento;

namespace {

// Every row of a table as text in the source's column order, sorted; the server's names fold to
// lower case, so the values alone are compared.
QStringList rowsOf(core::Database& db, const QString& table, const QStringList& columns) {
    QStringList rows;
    QSqlQuery query = db.select(
        QStringLiteral("SELECT %1 FROM %2").arg(columns.join(QStringLiteral(", ")), table));
    while (query.next()) {
        QStringList values;
        for (int i = 0; i < columns.size(); ++i) {
            const QVariant v = query.value(i);
            values << (v.isNull() ? QStringLiteral("NULL")
                       : v.typeId() == QMetaType::QByteArray
                           ? QString::fromLatin1(v.toByteArray().toHex())
                           : v.toString());
        }
        rows << values.join(QLatin1Char('|'));
    }
    rows.sort();
    return rows;
}

QStringList columnsOf(core::Database& db, const QString& table) {
    QStringList names;
    const QSqlRecord record = db.handle().record(table);
    for (int i = 0; i < record.count(); ++i)
        names << record.fieldName(i);
    return names;
}

} // namespace

// The demo data folder moved to a real server: every row of every database there with its ID,
// and the server's own counters carry on after the copied IDs.
TEST(DataFolderMigrationServer, MovesTheDemoFolderToTheServerRowByRow) {
    if (const auto why = testsupport::storeKindUnavailable(QStringLiteral("Postgres")))
        GTEST_SKIP() << why->toStdString();
    testsupport::TestEnvironment env;
    env.useDataFolder();
    const QString data = env.dataFolder();
    ASSERT_TRUE(env.copyTemplate(QStringLiteral("0002.res"), QStringLiteral("Global.MDB")));
    ASSERT_TRUE(env.copyTemplate(QStringLiteral("0003.res"), QStringLiteral("DEMO.MDB")));
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
         {core::DatabaseId::global(), core::DatabaseId::agendaNamed(QStringLiteral("DEMO"))}) {
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
