// What a workstation is told when the server refuses it at the start: a wrong password, a
// database a newer program has changed, a role that may not make the store's schema. Each names
// the server and leaves the database as it was.
#include "core/DataStore.h"
#include "core/Database.h"
#include "core/PostgresCatalog.h"
#include "core/PostgresStore.h"
#include "core/Schema.h"
#include "core/SqlDialect.h"
#include "support/ServerTest.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace orvento;
using core::Database;
using core::DatabaseId;
using core::OpenFailure;

namespace {

const QString& kKind = testsupport::kServerKind;
const DatabaseId kFirma = testsupport::serverTestAgenda();

class ServerStartRefusalsTest : public testsupport::ServerTest {
protected:
    static void makeRole(const QString& createRole) {
        // A role made by an earlier case of this program stays; that is all the same.
        cluster().runAsAdmin(createRole);
    }
};

TEST_F(ServerStartRefusalsTest, AWrongPasswordIsRefusedWithTheServersReason) {
    makeRole(QStringLiteral("CREATE ROLE orvento_heslo LOGIN PASSWORD 'spravne'"));
    // The test server trusts everybody; this role alone must give its password.
    Database admin(QStringLiteral("pg-admin-hba"), core::postgresDialect());
    core::ServerConnection maintenance = testsupport::postgresTestConnection(QString());
    maintenance.database = QStringLiteral("postgres");
    ASSERT_TRUE(admin.openOnServer(maintenance, QString())) << admin.lastError().toStdString();
    const QString hbaPath = admin.scalar(QStringLiteral("SELECT current_setting('hba_file')"))
                                .value_or(QString())
                                .toString();
    QFile hba(hbaPath);
    ASSERT_TRUE(hba.open(QIODevice::ReadOnly)) << hbaPath.toStdString();
    const QByteArray rules = hba.readAll();
    hba.close();
    const QByteArray own = "local all orvento_heslo scram-sha-256\n";
    if (!rules.startsWith(own)) {
        ASSERT_TRUE(hba.open(QIODevice::WriteOnly | QIODevice::Truncate));
        hba.write(own + rules);
        hba.close();
    }
    ASSERT_TRUE(admin.scalar(QStringLiteral("SELECT pg_reload_conf()")));

    ASSERT_TRUE(testsupport::prepareLocation(kKind, env.dataFolder()));
    core::ServerConnection server = testsupport::postgresTestConnection(env.dataFolder());
    server.user = QStringLiteral("orvento_heslo");
    server.password = QStringLiteral("špatné");
    core::PostgresStore store(server, env.programFolder());
    Database db(QStringLiteral("pg-password"), core::postgresDialect());
    OpenFailure failure;
    EXPECT_FALSE(store.open(db, DatabaseId::global(), &failure));
    EXPECT_TRUE(failure.reason.contains(QStringLiteral("password authentication failed")))
        << failure.reason.toStdString();
    EXPECT_EQ(failure.problem, core::OpenProblem::Other) << "it is told as a failed connection";
    EXPECT_FALSE(store.exists(DatabaseId::global()));
    EXPECT_FALSE(db.isOpen());
}

TEST_F(ServerStartRefusalsTest, ADatabaseOfANewerProgramIsNotOpenedAndItsServerIsNamed) {
    ASSERT_TRUE(testsupport::prepareLocation(kKind, env.dataFolder()));
    const auto store = testsupport::makeStore(kKind, env.dataFolder(), env.programFolder());
    ASSERT_TRUE(store->create(kFirma, core::DatabaseTemplate::EmptyAgenda));
    Database admin(QStringLiteral("pg-admin-newer"), core::postgresDialect());
    ASSERT_TRUE(openAsAdmin(admin));
    const int newer = core::currentSchemaVersion(core::DatabaseKind::Agenda) + 1;
    ASSERT_TRUE(admin.execute(
        QStringLiteral("UPDATE orvento.agendas SET version = :Version WHERE name = :Name"),
        {{QStringLiteral("Version"), newer}, {QStringLiteral("Name"), kFirma.agenda}}));

    Database db(QStringLiteral("pg-newer"), store->dialect());
    OpenFailure failure;
    EXPECT_FALSE(store->open(db, kFirma, &failure));
    EXPECT_TRUE(
        failure.reason.contains(testsupport::postgresTestConnection(env.dataFolder()).label()))
        << failure.reason.toStdString();
    EXPECT_TRUE(failure.reason.contains(QStringLiteral("je novější verze než spouštěný program")));
    EXPECT_EQ(failure.problem, core::OpenProblem::Refused) << "the server answered";
    EXPECT_FALSE(db.isOpen());
    EXPECT_EQ(admin
                  .scalar(QStringLiteral("SELECT version FROM orvento.agendas WHERE name = :Name"),
                          {{QStringLiteral("Name"), kFirma.agenda}})
                  ->toInt(),
              newer);
}

TEST_F(ServerStartRefusalsTest, ARoleThatMayNotMakeTheStoresSchemaIsToldSoAndNothingIsMade) {
    makeRole(QStringLiteral("CREATE ROLE orvento_bezprav LOGIN"));
    // A database without the store's bookkeeping, as a server administrator makes one.
    core::ServerConnection server = testsupport::postgresTestConnection(env.dataFolder());
    ASSERT_TRUE(cluster().runAsAdmin(QStringLiteral("CREATE DATABASE ") +
                                     core::postgres::quotedIdentifier(server.database)));
    server.user = QStringLiteral("orvento_bezprav");
    core::PostgresStore store(server, env.programFolder());
    QString error;
    EXPECT_FALSE(store.prepare(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("nemá na databázovém serveru %1 právo vytvářet "
                                              "schémata")
                                   .arg(server.label())))
        << error.toStdString();
    Database db(QStringLiteral("pg-no-create"), core::postgresDialect());
    OpenFailure failure;
    EXPECT_FALSE(store.open(db, DatabaseId::global(), &failure));
    EXPECT_EQ(failure.reason, error);
    EXPECT_EQ(failure.problem, core::OpenProblem::Refused) << "the server answered";

    Database admin(QStringLiteral("pg-admin-rights"), core::postgresDialect());
    ASSERT_TRUE(openAsAdmin(admin));
    EXPECT_TRUE(
        admin.scalar(QStringLiteral("SELECT to_regnamespace('orvento') IS NULL"))->toBool());
}

TEST_F(ServerStartRefusalsTest, ANewAgendaTheRoleMayNotMakeIsRefusedNamingTheRightItLacks) {
    makeRole(QStringLiteral("CREATE ROLE orvento_bezschemat LOGIN"));
    // The store's bookkeeping was made by the server's administrator; this role may read it
    // but not add a schema.
    ASSERT_TRUE(testsupport::prepareLocation(kKind, env.dataFolder()));
    core::ServerConnection server = testsupport::postgresTestConnection(env.dataFolder());
    ASSERT_TRUE(core::PostgresStore(server, env.programFolder()).prepare(nullptr));
    Database admin(QStringLiteral("pg-admin-grants"), core::postgresDialect());
    ASSERT_TRUE(openAsAdmin(admin));
    ASSERT_TRUE(
        admin.executeDdl(QStringLiteral("GRANT USAGE ON SCHEMA orvento TO orvento_bezschemat")));
    ASSERT_TRUE(admin.executeDdl(
        QStringLiteral("GRANT SELECT ON ALL TABLES IN SCHEMA orvento TO orvento_bezschemat")));

    server.user = QStringLiteral("orvento_bezschemat");
    core::PostgresStore store(server, env.programFolder());
    auto problem = core::DataStore::CreateProblem::None;
    EXPECT_FALSE(store.create(kFirma, core::DatabaseTemplate::EmptyAgenda, &problem));
    EXPECT_EQ(problem, core::DataStore::CreateProblem::NoRight);
    EXPECT_TRUE(store.noRightToCreateMessage().contains(
        QStringLiteral("Uživatel orvento_bezschemat nemá na databázovém serveru %1 právo "
                       "vytvářet schémata")
            .arg(server.label())));
    EXPECT_EQ(admin.scalar(QStringLiteral("SELECT count(*) FROM orvento.agendas"))->toInt(), 0);
}

} // namespace
