#include "core/ConnectionFile.h"
#include "core/Navigator.h"
#include "core/ProgramState.h"
#include "core/SqliteFolderStore.h"
#include "core/StartUp.h"
#include "core/StoreChoice.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

// The start-up over a data folder with or without a connection file. The "server" is a second
// folder of SQLite files behind a factory that counts its calls and keeps what it was given.
class StoreChoiceAtStartUp : public ::testing::Test {
protected:
    StoreChoiceAtStartUp() {
        QDir().mkpath(serverFolder());
        QDir().mkpath(serverFolder() + QStringLiteral("LOCK"));
    }

    QString serverFolder() const { return env.dataFolder() + QStringLiteral("server/"); }
    QString otherFolder() const {
        const QString other = env.dataFolder() + QStringLiteral("jinde/");
        QDir().mkpath(other);
        return other;
    }

    core::ServerConnection server() const {
        core::ServerConnection s;
        s.host = QStringLiteral("db.firma.cz");
        s.database = QStringLiteral("orvento");
        s.user = QStringLiteral("novak");
        return s;
    }
    void writeConnectionFile(const QString& folder) const {
        QString problem;
        ASSERT_TRUE(core::writeConnectionFile(folder, server(), &problem)) << problem.toStdString();
    }

    // A server that answers (its data in `serverFolder()`), or one that cannot be reached.
    void useServer(bool reachable) {
        core::StoreMakers makers;
        makers.password = [](const core::ServerConnection&) {
            return std::optional<QString>(QStringLiteral("z-klicenky"));
        };
        const QString where = reachable ? serverFolder() : env.dataFolder() + "nikde/";
        makers.server = [this, where](const core::ServerConnection& s, const QString& program) {
            ++made;
            given = s;
            return std::make_unique<core::SqliteFolderStore>(where, program);
        };
        test.startUp().setStoreMakers(std::move(makers));
    }
    // A connection file that cannot be used is told with the file's name, and the data folder
    // dialog follows; another folder goes on.
    void expectDialogAfterMessage(const QString& named) {
        const QString other = otherFolder();
        test.navigator.scriptDataFolder(core::DataFolderChoice{false, other});
        ASSERT_TRUE(test.startUp().run()) << texts().toStdString();
        EXPECT_EQ(test.navigator.count(QStringLiteral("chooseDataFolder")), 1);
        const QStringList errors = ui.texts(Kind::Error);
        ASSERT_EQ(errors.size(), 1) << texts().toStdString();
        EXPECT_TRUE(errors[0].contains(QString::fromLatin1(core::kConnectionFileName)));
        EXPECT_TRUE(errors[0].contains(named)) << errors[0].toStdString();
        EXPECT_EQ(core::programState().folders.data, other);
        EXPECT_TRUE(QFile::exists(other + QStringLiteral("Global.MDB")));
    }

    QString texts() const { return ui.allTexts().join(QLatin1Char('|')); }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
    int made = 0;
    core::ServerConnection given;
};

// Without a connection file the data are the folder's SQLite files, as always, and no server
// store is made even where the build has one.
TEST_F(StoreChoiceAtStartUp, NoConnectionFileKeepsTheFiles) {
    env.useDataFolder();
    useServer(true);
    ASSERT_TRUE(test.startUp().run()) << texts().toStdString();
    EXPECT_EQ(made, 0);
    EXPECT_NE(dynamic_cast<core::SqliteFolderStore*>(core::programState().store.get()), nullptr);
    EXPECT_TRUE(QFile::exists(env.dataFolder() + QStringLiteral("Global.MDB")));
    EXPECT_TRUE(ui.texts(Kind::Error).isEmpty()) << texts().toStdString();
}

// A connection file makes the server's store, with the password the keyring gave; the global
// database is made there, not in the folder.
TEST_F(StoreChoiceAtStartUp, ConnectionFileMakesTheServerStore) {
    env.useDataFolder();
    writeConnectionFile(env.dataFolder());
    useServer(true);
    ASSERT_TRUE(test.startUp().run()) << texts().toStdString();
    EXPECT_EQ(made, 1);
    EXPECT_EQ(given.label(), server().label());
    EXPECT_EQ(given.password, QStringLiteral("z-klicenky"));
    EXPECT_TRUE(QFile::exists(serverFolder() + QStringLiteral("Global.MDB")));
    EXPECT_FALSE(QFile::exists(env.dataFolder() + QStringLiteral("Global.MDB")));
}

TEST_F(StoreChoiceAtStartUp, GarbageConnectionFileLeadsToTheDataFolderDialog) {
    env.useDataFolder();
    QFile file(env.dataFolder() + QString::fromLatin1(core::kConnectionFileName));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[SERVER]\nHost=db\nPort=pět\nDatabase=orvento\nUser=novak\n");
    file.close();
    useServer(true);
    expectDialogAfterMessage(QStringLiteral("\"pět\""));
    EXPECT_EQ(made, 0);
}

// A build without a server store cannot follow a connection file: it says so.
TEST_F(StoreChoiceAtStartUp, BuildWithoutServerSupportSaysSo) {
    env.useDataFolder();
    writeConnectionFile(env.dataFolder());
    core::StoreMakers none;
    none.server = nullptr;
    test.startUp().setStoreMakers(std::move(none));
    expectDialogAfterMessage(QStringLiteral("s databázovým serverem pracovat neumí"));
}

// A server that cannot be reached is named with the reason, never as a template that failed to
// copy; the data folder dialog follows, and "Storno" there ends the start.
TEST_F(StoreChoiceAtStartUp, UnreachableServerIsNamedAndTheDialogFollows) {
    env.useDataFolder();
    writeConnectionFile(env.dataFolder());
    useServer(false);
    test.navigator.scriptDataFolder(std::nullopt);
    EXPECT_FALSE(test.startUp().run());
    EXPECT_EQ(test.navigator.count(QStringLiteral("chooseDataFolder")), 1);
    const QStringList errors = ui.texts(Kind::Error);
    ASSERT_EQ(errors.size(), 1) << texts().toStdString();
    EXPECT_TRUE(errors[0].startsWith(
        QStringLiteral("Nepodařilo se připojit k databázovému serveru db.firma.cz:5432/orvento")))
        << errors[0].toStdString();
    EXPECT_TRUE(errors[0].contains(QStringLiteral("Popis chyby: ")));
    EXPECT_TRUE(errors[0].contains(core::chooseAnotherDataFolderHint()));
    EXPECT_EQ(ui.texts(Kind::Information),
              QStringList{QStringLiteral("Nebyla určena datová složka, program bude ukončen")});
}

// The maintenance tool and the agenda list make the store of a folder they are given the same
// way: a folder naming a server this build cannot reach gives no store and says why.
TEST_F(StoreChoiceAtStartUp, GivenFolderFollowsItsConnectionFile) {
    const QString folder = otherFolder();
    auto files = core::storeOfDataFolder(folder, env.programFolder());
    ASSERT_NE(files.store, nullptr);
    EXPECT_FALSE(files.server);
    writeConnectionFile(folder);
    core::StoreMakers noServer;
    noServer.server = nullptr;
    const auto none = core::storeOfDataFolder(folder, env.programFolder(), noServer);
    EXPECT_EQ(none.store, nullptr);
    ASSERT_TRUE(none.server);
    EXPECT_TRUE(none.problem.contains(server().label()));
}

} // namespace
