#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/StartUp.h"
#include "services/ProfileStore.h"
#include "services/ProfileValues.h"
#include "services/StandardStartupHooks.h"
#include "services/UserDatabases.h"
#include "services/UserRecord.h"
#include "services/WindowPositions.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace orvento;
using services::GridId;
using services::WindowId;
using testsupport::ScriptedInteraction;
using testsupport::TestEnvironment;
using Kind = ScriptedInteraction::Kind;

namespace {

// Starts the program on a data folder whose global database registers users, with the password
// prompt answered from a script.
class LoginAtStartUpTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.useDataFolder(QStringLiteral("RunPrgFirst=0\nLastDBName=DEMO\n"));
        ASSERT_TRUE(env.copyTemplate(QStringLiteral("0002.res"), QStringLiteral("Global.MDB")));
        ASSERT_TRUE(env.copyTemplate(QStringLiteral("0003.res"), QStringLiteral("DEMO.MDB")));
    }

    void registerUser(const QString& name, const QString& password, const QString& profile) {
        core::Database db(QStringLiteral("test-setup"));
        ASSERT_TRUE(db.open(env.dataFolder() + QStringLiteral("Global.MDB")));
        core::CurrentUser u;
        u.uzivId = ++lastNumber;
        u.jmeno = name;
        u.password = password;
        u.konfigurace = profile;
        testsupport::insertUser(db, u);
    }

    bool start() { return test.startUp().run(); }
    void type(std::initializer_list<std::optional<QString>> passwords) {
        for (const auto& password : passwords)
            test.navigator.typePassword(password);
    }
    int asked() const { return test.navigator.count(QStringLiteral("askPassword")); }

    TestEnvironment env;
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
    int lastNumber = 0;
};

TEST_F(LoginAtStartUpTest, WithoutUsersNobodyIsAskedAndTheStatusNameIsEmpty) {
    ASSERT_TRUE(start()) << ui.allTexts().join('|').toStdString();
    EXPECT_EQ(asked(), 0);
    EXPECT_TRUE(core::programState().user.jmeno.isEmpty());
    EXPECT_TRUE(core::programState().user.administrator);
}

TEST_F(LoginAtStartUpTest, GoingBackAtTheLoginEndsTheStartBeforeAnyAgendaOpens) {
    registerUser(QStringLiteral("Novák"), QStringLiteral("heslo"), QString());
    type({QStringLiteral("spatne"), std::nullopt});
    EXPECT_FALSE(start());
    EXPECT_EQ(asked(), 2);
    EXPECT_TRUE(ui.saw(Kind::Warning, QStringLiteral("Zadané heslo je chybné (pozor: program "
                                                     "rozlišuje velikost písmen).")));
    EXPECT_FALSE(core::programState().db->agenda.isOpen());
}

TEST_F(LoginAtStartUpTest, ProfileLayoutsAndWindowPlacementsAreLoadedAndWrittenBack) {
    registerUser(QStringLiteral("Novák"), QStringLiteral("heslo"), QStringLiteral("OBCHOD"));
    registerUser(QStringLiteral("Malá"), QStringLiteral("Heslo"), QStringLiteral("SKLAD"));
    type({QStringLiteral("Heslo")});
    ASSERT_TRUE(start()) << ui.allTexts().join('|').toStdString();
    EXPECT_EQ(core::programState().user.jmeno, QStringLiteral("Malá"));

    services::ProfileSession& session = test.profile;
    EXPECT_EQ(session.sortField(GridId::AddressBook), QStringLiteral("NAZEV"));
    auto columns = services::savedColumns(session.gridLayout(GridId::CatalogueGroups));
    std::reverse(columns.begin(), columns.end());
    session.rememberColumns(GridId::CatalogueGroups, columns);
    session.rememberPlacement(WindowId::Catalogue, {5, 6, 700, 900, false});
    test.startUp().close();

    // Everything went to the logged-in user's profile.
    EXPECT_EQ(services::profile::loadValue(services::profile::value::CatalogueGroupsSort),
              QStringLiteral("NAZEV"));
    EXPECT_TRUE(services::profile::loadMemo(services::profile::memo::CatalogueGroupsGrid)
                    .contains(QStringLiteral("\"Kod\",\"64\"\r\n"
                                             "\"Nazev\",\"120\"")));
    EXPECT_EQ(services::profile::loadWindowValue(19), QStringLiteral("900"));
    EXPECT_EQ(services::profile::loadWindowValue(20), QStringLiteral("0"));
    // Windows never placed keep their design geometry, so all five values are there.
    EXPECT_EQ(services::profile::loadWindowValue(1),
              QString::number(*services::designPlacement(WindowId::OfferCard).left));
    EXPECT_EQ(services::profile::loadWindowValue(5), QStringLiteral("-1"));
    core::programState().user.konfigurace = QStringLiteral("OBCHOD");
    EXPECT_EQ(services::profile::loadMemo(services::profile::memo::CatalogueGroupsGrid), QString());
}

} // namespace
