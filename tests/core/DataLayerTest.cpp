#include "core/CzechCollation.h"
#include "core/Database.h"
#include "core/RecordMapping.h"
#include "core/Schema.h"
#include "core/SchemaUpgrade.h"
#include "core/TemplateDatabases.h"
#include "support/ScriptedInteraction.h"
#include "support/StoreAgendaTest.h"

#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace orvento;
using core::Database;
using core::DatabaseKind;

namespace {

class DataLayerTest : public testsupport::StoreAgendaTest {
protected:
    DataLayerTest()
        : StoreAgendaTest(QStringLiteral("test-layer")) {}

    void SetUp() override {
        StoreAgendaTest::SetUp();
        db.setWriteObserver([this](const QString& table) { written << table; });
    }

    int count(const QString& table) {
        return db.scalar(QStringLiteral("SELECT count(*) FROM ") + table)->toInt();
    }
    bool insertSheet(const QString& name) {
        return db.execute(QStringLiteral("INSERT INTO Sklady (Nazev, Poradi) VALUES (:N, 1)"),
                          {{QStringLiteral("N"), name}});
    }

    QStringList written;
};

// An offer's save is made of several helpers, each with its own scope; a failure in any of
// them must leave nothing of the others.
TEST_P(DataLayerTest, ComposedSaveIsRolledBackWholeWhicheverStepFails) {
    for (int failingStep = 0; failingStep < 4; ++failingStep) {
        written.clear();
        auto step = [&](int n, const QString& sql) {
            core::Transaction inner(db);
            const bool ok =
                n != failingStep && db.execute(sql, {{QStringLiteral("N"), n}}) && inner.commit();
            return ok;
        };
        core::Transaction unit(db);
        ASSERT_TRUE(unit.isActive());
        bool ok = step(0, QStringLiteral("INSERT INTO Nabidky (IDStav) VALUES (:N)"));
        ok = ok && step(1, QStringLiteral("INSERT INTO NabPolozky (Poradi) VALUES (:N)"));
        ok = ok && step(2, QStringLiteral("INSERT INTO DokumentyNab (CisloNab) VALUES (:N)"));
        ok = ok && step(3, QStringLiteral("INSERT INTO Akce (ObjectID) VALUES (:N)"));
        EXPECT_FALSE(ok);
        EXPECT_FALSE(unit.commit()) << "step " << failingStep;
        EXPECT_EQ(db.transactionDepth(), 0);
        for (const char* table : {"Nabidky", "NabPolozky", "DokumentyNab", "Akce"})
            EXPECT_EQ(count(QString::fromLatin1(table)), 0)
                << table << " after step " << failingStep;
        EXPECT_TRUE(written.isEmpty()) << "a rolled-back unit tells no other workstation";
    }
    // The same save succeeding writes everything and tells each table once.
    {
        core::Transaction unit(db);
        for (int i = 0; i < 3; ++i) {
            core::Transaction inner(db);
            ASSERT_TRUE(db.execute(QStringLiteral("INSERT INTO NabPolozky (Poradi) VALUES (:N)"),
                                   {{QStringLiteral("N"), i}}));
            ASSERT_TRUE(inner.commit());
        }
        ASSERT_TRUE(unit.commit());
    }
    EXPECT_EQ(count(QStringLiteral("NabPolozky")), 3);
    EXPECT_EQ(written, QStringList{QStringLiteral("NabPolozky")});
}

TEST_P(DataLayerTest, WritesAreAnnouncedOnlyOnceTheyCanBeRead) {
    Database other{QStringLiteral("test-layer-other"), store->dialect()};
    ASSERT_TRUE(openAnother(other));
    {
        core::Transaction unit(db);
        core::Statement update(db, QStringLiteral("INSERT INTO Zasoby (Popis) VALUES (:P)"));
        for (int i = 0; i < 50; ++i)
            ASSERT_TRUE(update.exec({{QStringLiteral("P"), QStringLiteral("x%1").arg(i)}}));
        ASSERT_TRUE(insertSheet(QStringLiteral("List")));
        EXPECT_TRUE(written.isEmpty()) << "nothing is announced before the commit";
        EXPECT_EQ(other.scalar(QStringLiteral("SELECT count(*) FROM Zasoby"))->toInt(), 0);
        ASSERT_TRUE(unit.commit());
    }
    EXPECT_EQ(written, (QStringList{QStringLiteral("Sklady"), QStringLiteral("Zasoby")}));
    EXPECT_EQ(other.scalar(QStringLiteral("SELECT count(*) FROM Zasoby"))->toInt(), 50);
    // Outside a unit of work a write is announced at once.
    written.clear();
    ASSERT_TRUE(insertSheet(QStringLiteral("Další")));
    EXPECT_EQ(written, QStringList{QStringLiteral("Sklady")});
}

TEST_P(DataLayerTest, PreparedStatementRunsAgainWithNewValuesAndFailuresHaveAKind) {
    core::Statement insert(db,
                           QStringLiteral("INSERT INTO Sklady (Nazev, Poradi) VALUES (:N, :P)"));
    qint64 last = 0;
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(insert.exec(
            {{QStringLiteral("N"), QStringLiteral("List %1").arg(i)}, {QStringLiteral("P"), i}}));
        EXPECT_GT(insert.newRowId(), last);
        last = insert.newRowId();
    }
    core::Statement byOrder(db, QStringLiteral("SELECT Nazev FROM Sklady WHERE Poradi = :P"));
    for (int i : {7, 3, 19}) {
        ASSERT_TRUE(byOrder.exec({{QStringLiteral("P"), i}}));
        ASSERT_TRUE(byOrder.next());
        EXPECT_EQ(byOrder.value(0).toString(), QStringLiteral("List %1").arg(i));
    }
    // A window of a long list, read in pieces, meets without gaps or repeats.
    QStringList paged;
    for (qint64 offset = 0;; offset += 6) {
        const auto rows = db.selectWindow(
            QStringLiteral("SELECT Nazev FROM Sklady ORDER BY Poradi, ID"), {}, offset, 6);
        ASSERT_TRUE(rows);
        for (const QSqlRecord& r : *rows)
            paged << r.value(0).toString();
        if (rows->size() < 6)
            break;
    }
    ASSERT_EQ(paged.size(), 20);
    EXPECT_EQ(paged.front(), QStringLiteral("List 0"));
    EXPECT_EQ(paged.back(), QStringLiteral("List 19"));

    ASSERT_TRUE(db.executeDdl(QStringLiteral("CREATE TABLE Jedinecne (K TEXT UNIQUE)")));
    ASSERT_TRUE(db.execute(QStringLiteral("INSERT INTO Jedinecne (K) VALUES (:K)"),
                           {{QStringLiteral("K"), QStringLiteral("a")}}));
    EXPECT_FALSE(db.execute(QStringLiteral("INSERT INTO Jedinecne (K) VALUES (:K)"),
                            {{QStringLiteral("K"), QStringLiteral("a")}}));
    EXPECT_EQ(db.lastFailureKind(), core::FailureKind::Constraint);
    EXPECT_FALSE(db.execute(QStringLiteral("INSERT INTO Neexistuje (K) VALUES (1)")));
    EXPECT_EQ(db.lastFailureKind(), core::FailureKind::Other);
}

TEST_P(DataLayerTest, MissingIndexesAreAddedWithoutTouchingTheVersion) {
    ASSERT_TRUE(db.executeDdl(QStringLiteral("DROP INDEX ZasobySkladPopis")));
    ASSERT_TRUE(db.executeDdl(QStringLiteral("DROP INDEX NabPolozkyNabidka")));
    const auto versionBefore = core::storedSchemaVersion(db);
    testsupport::ScriptedInteraction ui;
    ASSERT_TRUE(core::checkSchemaVersion(db, DatabaseKind::Agenda, QStringLiteral("Firma"), ui));
    EXPECT_EQ(core::storedSchemaVersion(db), versionBefore);
    EXPECT_TRUE(ui.messages().empty());
    if (GetParam() != QLatin1String("SqliteFolder")) {
        // The server keeps the version mark in its registry of agendas, and answers a sheet's
        // list in Czech order from the index (the planner made to prefer it over a table this
        // small).
        EXPECT_EQ(db.scalar(QStringLiteral("SELECT version FROM orvento.agendas WHERE "
                                           "schema_name = current_schema()"))
                      ->toInt(),
                  core::currentSchemaVersion(DatabaseKind::Agenda));
        ASSERT_TRUE(db.executeDdl(QStringLiteral("SET enable_seqscan = off")));
        // The server prepares no EXPLAIN: it runs as it stands.
        QSqlQuery plan(db.handle());
        ASSERT_TRUE(plan.exec(QStringLiteral("EXPLAIN SELECT ID FROM Zasoby WHERE Sklad = 1 ORDER "
                                             "BY Popis COLLATE CZECH")));
        QString details;
        while (plan.next())
            details += plan.value(0).toString() + QLatin1Char('\n');
        EXPECT_TRUE(details.contains(QStringLiteral("zasobyskladpopis"))) << details.toStdString();
        EXPECT_FALSE(details.contains(QStringLiteral("Sort"))) << details.toStdString();
        return;
    }
    EXPECT_EQ(db.scalar(QStringLiteral("PRAGMA user_version"))->toInt(),
              core::currentSchemaVersion(DatabaseKind::Agenda));

    // The list of a sheet in Czech order is read from the index, not sorted row by row.
    QSqlQuery plan = db.select(QStringLiteral("EXPLAIN QUERY PLAN SELECT ID FROM Zasoby WHERE "
                                              "Sklad = :S ORDER BY Popis COLLATE CZECH"),
                               {{QStringLiteral("S"), 1}});
    QString details;
    while (plan.next())
        details += plan.value(3).toString() + QLatin1Char('\n');
    EXPECT_TRUE(details.contains(QStringLiteral("ZasobySkladPopis"))) << details.toStdString();
    EXPECT_FALSE(details.contains(QStringLiteral("TEMP B-TREE"))) << details.toStdString();
}

TEST(KeyedRow, UpdatesTheFirstMatchingRowElseInsertsOne) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Firma.MDB"));
    ASSERT_TRUE(core::buildDatabaseFile(path, DatabaseKind::Agenda, false, nullptr));
    Database db{QStringLiteral("test-keyed")};
    ASSERT_TRUE(db.open(path));
    const core::SqlParams key = {{QStringLiteral("IDHodnoty"), 44}};
    auto save = [&](const QString& value) {
        return core::saveKeyedRow(db, QStringLiteral("Nastaveni"), key,
                                  {{QStringLiteral("Popis"), QStringLiteral("popis")},
                                   {QStringLiteral("Hodnota"), value}});
    };
    ASSERT_TRUE(save(QStringLiteral("první")));
    ASSERT_TRUE(save(QStringLiteral("druhá")));
    EXPECT_EQ(
        db.scalar(QStringLiteral("SELECT count(*) FROM Nastaveni WHERE IDHodnoty = 44"))->toInt(),
        1);
    EXPECT_EQ(
        db.scalar(QStringLiteral("SELECT Hodnota FROM Nastaveni WHERE IDHodnoty = 44"))->toString(),
        QStringLiteral("druhá"));
}

// The rules of the Czech order that lists and quick finds rely on, and the agreement of the two
// entry points (texts in memory, UTF-8 from SQLite), without which an index would be corrupt.
TEST(CzechOrder, LettersThenAccentsThenCaseAndBothEntryPointsAgree) {
    const QStringList ordered = {
        QStringLiteral(" mezera"), QStringLiteral("-pomlčka"), QStringLiteral("10 ks"),
        QStringLiteral("9"),       QStringLiteral("a"),        QStringLiteral("A"),
        QStringLiteral("á"),       QStringLiteral("Ab"),       QStringLiteral("áb"),
        QStringLiteral("b"),       QStringLiteral("cz"),       QStringLiteral("čaj"),
        QStringLiteral("Čaj"),     QStringLiteral("ďábel"),    QStringLiteral("dýně"),
        QStringLiteral("e"),       QStringLiteral("é"),        QStringLiteral("ě"),
        QStringLiteral("hz"),      QStringLiteral("ch"),       QStringLiteral("Ch"),
        QStringLiteral("CH"),      QStringLiteral("chata"),    QStringLiteral("i"),
        QStringLiteral("rz"),      QStringLiteral("řa"),       QStringLiteral("u"),
        QStringLiteral("ú"),       QStringLiteral("ů"),        QStringLiteral("zz"),
        QStringLiteral("žába"),    QStringLiteral("Ωmega"),    QStringLiteral("日本")};
    for (int i = 0; i < ordered.size(); ++i) {
        for (int j = 0; j < ordered.size(); ++j) {
            const int expected = i < j ? -1 : (i > j ? 1 : 0);
            const int inMemory = core::compareCzech(ordered[i], ordered[j]);
            const QByteArray a = ordered[i].toUtf8();
            const QByteArray b = ordered[j].toUtf8();
            const int fromSql =
                core::compareCzechUtf8({a.constData(), static_cast<size_t>(a.size())},
                                       {b.constData(), static_cast<size_t>(b.size())});
            EXPECT_EQ((inMemory > 0) - (inMemory < 0), expected)
                << ordered[i].toStdString() << " vs " << ordered[j].toStdString();
            EXPECT_EQ((fromSql > 0) - (fromSql < 0), expected)
                << ordered[i].toStdString() << " vs " << ordered[j].toStdString();
        }
    }
    // A broken UTF-8 sequence from a foreign file still orders consistently.
    EXPECT_LT(core::compareCzechUtf8("a\xC3", "a\xC3\xA1"), 0);
    EXPECT_GT(core::compareCzechUtf8("a\xC3\xA1", "a\xC3"), 0);
}

TEST(RecordMapping, MappedRecordRoundTripsThroughInsertUpdateAndRead) {
    struct Row {
        int sklad = 0;
        QString nazev;
        bool zakladni = false;
    };
    core::RecordMapping<Row> groups(QStringLiteral("Skupiny"));
    groups.member("Sklad", &Row::sklad)
        .member("Nazev", &Row::nazev)
        .member("Zakladni", &Row::zakladni);
    const core::TableDef* table = core::findTable(DatabaseKind::Agenda, groups.table());
    ASSERT_NE(table, nullptr);
    for (const QString& c : groups.columns())
        EXPECT_NE(table->column(c), nullptr) << c.toStdString();

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Firma.MDB"));
    ASSERT_TRUE(core::buildDatabaseFile(path, DatabaseKind::Agenda, false, nullptr));
    Database db{QStringLiteral("test-mapping")};
    ASSERT_TRUE(db.open(path));
    ASSERT_TRUE(groups.insert(db, Row{3, QStringLiteral("Kabely \"CAT6\""), true}));
    const qint64 id = db.newRowId();
    ASSERT_TRUE(groups.update(db, Row{4, QStringLiteral("Kabely"), false}, id));
    QSqlQuery q = db.select(QStringLiteral("SELECT * FROM Skupiny WHERE ID = :ID"),
                            {{QStringLiteral("ID"), id}});
    ASSERT_TRUE(q.next());
    const Row back = groups.read(q.record());
    EXPECT_EQ(back.sklad, 4);
    EXPECT_EQ(back.nazev, QStringLiteral("Kabely"));
    EXPECT_FALSE(back.zakladni);
}

INSTANTIATE_TEST_SUITE_P(EveryStore, DataLayerTest,
                         ::testing::ValuesIn(testsupport::storeKinds().toVector()),
                         testsupport::storeKindName);

} // namespace
