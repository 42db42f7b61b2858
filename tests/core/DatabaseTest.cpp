#include "core/Database.h"
#include "core/CzechCollation.h"
#include "core/Schema.h"
#include "core/TemplateDatabases.h"
#include "support/StoreAgendaTest.h"
#include "support/TestEnvironment.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace orvento;
using core::Database;
using core::DatabaseKind;
using testsupport::OtherWorkstation;

namespace {

// The data layer over a connection that each kind of store opened.
class DatabaseTest : public testsupport::StoreAgendaTest {
protected:
    DatabaseTest()
        : StoreAgendaTest(QStringLiteral("test-db")) {}
};

// What the SQLite files themselves do, below the store.
class SqliteFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        path = dir.filePath(QStringLiteral("Firma.MDB"));
        QString error;
        ASSERT_TRUE(core::buildDatabaseFile(path, DatabaseKind::Agenda, false, &error))
            << error.toStdString();
        ASSERT_TRUE(db.open(path)) << db.lastError().toStdString();
    }

    QTemporaryDir dir;
    QString path;
    Database db{QStringLiteral("test-db")};
};

TEST_P(DatabaseTest, EveryParameterTypeRoundTripsThroughBinding) {
    const QDateTime when(QDate(2026, 3, 14), QTime(15, 9, 26, 535));
    const QString tricky = QStringLiteral("Dvojité \"uvozovky\", 'apostrof'; -- a ř ů");
    ASSERT_TRUE(db.execute(
        QStringLiteral("INSERT INTO Nabidky (Doklad, Celkem, Zamek, DatVystaveni, DatVyrizeni, "
                       "AdrCislo, Poznamka) VALUES (:Doklad, :Celkem, :Zamek, :DatVystaveni, "
                       ":DatVyrizeni, :AdrCislo, :Poznamka)"),
        {{QStringLiteral("Doklad"), tricky},
         {QStringLiteral("Celkem"), 1234.5678},
         {QStringLiteral("Zamek"), true},
         {QStringLiteral("DatVystaveni"), when},
         {QStringLiteral("DatVyrizeni"), QDateTime()},
         {QStringLiteral("AdrCislo"), 42},
         {QStringLiteral("Poznamka"), QString()}}))
        << db.lastError().toStdString();
    const qint64 id = db.newRowId();
    ASSERT_GT(id, 0);

    QSqlQuery q = db.select(QStringLiteral("SELECT Doklad, Celkem, Zamek, DatVystaveni, "
                                           "DatVyrizeni, AdrCislo, Poznamka FROM Nabidky "
                                           "WHERE ID = :ID"),
                            {{QStringLiteral("ID"), id}});
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), tricky);
    EXPECT_DOUBLE_EQ(q.value(1).toDouble(), 1234.5678);
    EXPECT_EQ(q.value(2).toInt(), 1);
    EXPECT_EQ(Database::toDateTime(q.value(3)), when);
    EXPECT_TRUE(q.value(4).isNull()) << "an unset date is stored as NULL";
    EXPECT_EQ(q.value(5).toInt(), 42);
    EXPECT_FALSE(q.value(6).isNull()) << "a text is stored as an empty string, not NULL";
    EXPECT_EQ(q.value(6).toString(), QString());

    const QByteArray picture("\x89PNG\0\x01\x02", 7);
    ASSERT_TRUE(db.execute(
        QStringLiteral("INSERT INTO ImgData (IDHodnoty, Popis, Hodnota) VALUES (1, :P, :H)"),
        {{QStringLiteral("P"), QStringLiteral("Logo firmy")}, {QStringLiteral("H"), picture}}));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT Hodnota FROM ImgData"))->toByteArray(), picture);
}

TEST_P(DatabaseTest, FailedStatementKeepsItsErrorAndTellsNoObserver) {
    QStringList seen;
    db.setWriteObserver([&](const QString& table) { seen << table; });
    EXPECT_FALSE(db.execute(QStringLiteral("INSERT INTO Neexistuje (A) VALUES (:A)"),
                            {{QStringLiteral("A"), 1}}));
    EXPECT_FALSE(db.lastError().isEmpty());
    EXPECT_TRUE(seen.isEmpty());
    const QString ok = QStringLiteral("UPDATE Sklady SET Nazev = :N");
    EXPECT_TRUE(db.execute(ok, {{QStringLiteral("N"), QStringLiteral("x")}}));
    EXPECT_EQ(seen, QStringList{QStringLiteral("Sklady")});
    EXPECT_EQ(core::saveFailedMessage(QStringLiteral("Sklady")),
              QStringLiteral("Při ukládání záznamu do \"Sklady\" došlo k chybě: metoda "
                             "\"Execute\" selhala."));
}

TEST_P(DatabaseTest, NewRowIdIsOursWhileAnotherWorkstationInsertsIntoTheSameTable) {
    OtherWorkstation other(QStringList{QStringLiteral("store-insert")} + helperStore() +
                           QStringList{agendaId().agenda, QStringLiteral("400")});
    ASSERT_EQ(other.firstLine(), QStringLiteral("ready"));
    for (int i = 0; i < 100; ++i) {
        const QString name = QStringLiteral("náš %1").arg(i);
        ASSERT_TRUE(db.execute(
            QStringLiteral("INSERT INTO Sklady (Nazev, Poradi) VALUES (:Nazev, :Poradi)"),
            {{QStringLiteral("Nazev"), name}, {QStringLiteral("Poradi"), i}}))
            << db.lastError().toStdString();
        const auto stored = db.scalar(QStringLiteral("SELECT Nazev FROM Sklady WHERE ID = :ID"),
                                      {{QStringLiteral("ID"), db.newRowId()}});
        ASSERT_TRUE(stored);
        ASSERT_EQ(stored->toString(), name);
    }
    EXPECT_EQ(other.readLine(), QStringLiteral("done"));
}

TEST_P(DatabaseTest, TransactionRollsBackUnlessCommitted) {
    {
        core::Transaction tx(db);
        ASSERT_TRUE(db.execute(QStringLiteral("INSERT INTO Sklady (Nazev) VALUES (:N)"),
                               {{QStringLiteral("N"), QStringLiteral("zahozený")}}));
    }
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM Sklady"))->toInt(), 0);
    {
        core::Transaction tx(db);
        ASSERT_TRUE(db.execute(QStringLiteral("INSERT INTO Sklady (Nazev) VALUES (:N)"),
                               {{QStringLiteral("N"), QStringLiteral("uložený")}}));
        ASSERT_TRUE(tx.commit());
    }
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM Sklady"))->toInt(), 1);
}

TEST_P(DatabaseTest, CzechOrderInSqlAndInMemoryAgree) {
    const QStringList names = {
        QStringLiteral("řepa"), QStringLiteral("Chata"), QStringLiteral("hrad"),
        QStringLiteral("čaj"),  QStringLiteral("cukr"),  QStringLiteral("iglú"),
        QStringLiteral("Rak"),  QStringLiteral("Šíp"),   QStringLiteral("sůl")};
    for (const QString& n : names)
        ASSERT_TRUE(db.execute(QStringLiteral("INSERT INTO Sklady (Nazev) VALUES (:N)"),
                               {{QStringLiteral("N"), n}}));
    QSqlQuery q =
        db.select(QStringLiteral("SELECT Nazev FROM Sklady ORDER BY Nazev COLLATE CZECH"));
    QStringList fromSql;
    while (q.next())
        fromSql << q.value(0).toString();
    const QStringList expected = {
        QStringLiteral("cukr"),  QStringLiteral("čaj"),  QStringLiteral("hrad"),
        QStringLiteral("Chata"), QStringLiteral("iglú"), QStringLiteral("Rak"),
        QStringLiteral("řepa"),  QStringLiteral("sůl"),  QStringLiteral("Šíp")};
    EXPECT_EQ(fromSql, expected);
    QStringList inMemory = names;
    std::sort(inMemory.begin(), inMemory.end(),
              [](const QString& a, const QString& b) { return core::compareCzech(a, b) < 0; });
    EXPECT_EQ(inMemory, expected);
}

TEST_F(SqliteFileTest, AnotherProgramHavingTheFileOpenIsSeenOnlyWhileItHoldsIt) {
    db.close();
    EXPECT_FALSE(Database::openedElsewhere(path));
    {
        OtherWorkstation other({QStringLiteral("open-db"), path});
        ASSERT_EQ(other.firstLine(), QStringLiteral("ready"));
        EXPECT_TRUE(Database::openedElsewhere(path));
        // Our own connection shares the file with it.
        ASSERT_TRUE(db.open(path));
        db.close();
        other.kill();
    }
    EXPECT_FALSE(Database::openedElsewhere(path)) << "a killed holder leaves nothing behind";
}

TEST_F(SqliteFileTest, FileThatIsNoDatabaseDoesNotOpen) {
    const QString junk = dir.filePath(QStringLiteral("junk.MDB"));
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(2048, 'j'));
    f.close();
    Database other(QStringLiteral("junk"));
    EXPECT_FALSE(other.open(junk));
    EXPECT_FALSE(other.lastError().isEmpty());
    EXPECT_FALSE(other.open(dir.filePath(QStringLiteral("missing.MDB"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("missing.MDB"))));
}

INSTANTIATE_TEST_SUITE_P(EveryStore, DatabaseTest,
                         ::testing::ValuesIn(testsupport::storeKinds().toVector()),
                         testsupport::storeKindName);

// The built databases against the schema in code: what a later upgrade and every window rely on.
class SchemaTest : public ::testing::TestWithParam<DatabaseKind> {};

TEST_P(SchemaTest, BuiltDatabaseHasEveryTableColumnAndItsVersionRow) {
    const DatabaseKind kind = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.MDB"));
    QString error;
    ASSERT_TRUE(core::buildDatabaseFile(path, kind, false, &error)) << error.toStdString();
    Database db(QStringLiteral("schema"));
    ASSERT_TRUE(db.open(path));

    const auto columns = db.columns();
    size_t expectedColumns = 0;
    for (const core::TableDef& t : core::schemaOf(kind)) {
        expectedColumns += t.columns.size();
        for (const core::ColumnDef& c : t.columns)
            EXPECT_TRUE(db.hasColumn(t.name, c.name))
                << t.name.toStdString() << "." << c.name.toStdString();
    }
    // sqlite_sequence belongs to the engine.
    const auto ours = std::count_if(columns.begin(), columns.end(), [](const auto& pair) {
        return pair.first != QLatin1String("sqlite_sequence");
    });
    EXPECT_EQ(static_cast<size_t>(ours), expectedColumns);

    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM Verze"))->toInt(), 1);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT VerID FROM Verze"))->toInt(),
              kind == DatabaseKind::Global ? 4 : 8);
    EXPECT_EQ(core::applicationIdOfOpen(db), core::applicationIdOf(kind));
    EXPECT_EQ(db.scalar(QStringLiteral("PRAGMA user_version"))->toInt(),
              core::currentSchemaVersion(kind));
    if (kind == DatabaseKind::Global) {
        EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM KonfigTab"))->toInt(), 1);
        EXPECT_EQ(
            core::findTable(kind, QStringLiteral("Login"))->column(QStringLiteral("Pwd"))->width,
            15);
    } else {
        EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = "
                                           "'index' AND name = 'ObjectTypeAndID'"))
                      ->toInt(),
                  1);
        EXPECT_EQ(core::findTable(kind, QStringLiteral("Zasoby"))->columns.size(), 39u);
    }
}

INSTANTIATE_TEST_SUITE_P(BothKinds, SchemaTest,
                         ::testing::Values(DatabaseKind::Global, DatabaseKind::Agenda));

TEST(DemoAgenda, CarriesTheSampleFirmAndEverySheetHasItsBasicGroup) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("DEMO.MDB"));
    QString error;
    ASSERT_TRUE(core::buildDatabaseFile(path, DatabaseKind::Agenda, true, &error));
    Database db(QStringLiteral("demo"));
    ASSERT_TRUE(db.open(path));
    EXPECT_EQ(
        db.scalar(QStringLiteral("SELECT Hodnota FROM Nastaveni WHERE IDHodnoty = 1"))->toString(),
        QStringLiteral("DEMO - fiktivní firma"));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM Nastaveni"))->toInt(), 19);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM Sklady s WHERE (SELECT count(*) "
                                       "FROM Skupiny g WHERE g.Sklad = s.ID AND g.Zakladni = 1) "
                                       "<> 1"))
                  ->toInt(),
              0);
    EXPECT_GT(db.scalar(QStringLiteral("SELECT count(*) FROM Sklady"))->toInt(), 1);
}

} // namespace
