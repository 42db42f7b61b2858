#include "core/ProgramEvents.h"
#include "services/AccessRights.h"
#include "services/Login.h"
#include "services/OfferPrefilter.h"
#include "services/PasswordScrambler.h"
#include "services/UserDatabases.h"
#include "support/TestContext.h"

#include <QSignalSpy>

#include <deque>

using namespace orvento;
using core::AccessLevel;
using services::ModuleAction;
using services::RecordAccess;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

TEST(PasswordScrambling, RoundTripsAndNeverYieldsNul) {
    const QString samples[] = {QStringLiteral("a"),
                               QStringLiteral("Heslo123"),
                               QStringLiteral("příliš žluťoučký"),
                               QStringLiteral("~!@#$%^&*()_+{}"),
                               QStringLiteral("ABCDEFGHIJKLMNO"),
                               QString()};
    for (const QString& plain : samples) {
        const QString stored = services::password::scramble(plain);
        EXPECT_EQ(services::password::unscramble(stored), plain);
        EXPECT_FALSE(stored.contains(QChar(u'\0'))) << plain.toStdString();
        if (!plain.isEmpty()) {
            EXPECT_NE(stored, plain);
        }
    }
    // Case matters, and so does position: the same letter scrambles differently in each place.
    EXPECT_NE(services::password::scramble(QStringLiteral("Heslo")),
              services::password::scramble(QStringLiteral("heslo")));
    const QString aa = services::password::scramble(QStringLiteral("aa"));
    EXPECT_NE(aa[0], aa[1]);
}

TEST(AccessLevels, EachActionNeedsItsLevel) {
    struct Case {
        AccessLevel level;
        bool open, create, edit, remove, bulk;
    };
    const Case cases[] = {
        {AccessLevel::Full, true, true, true, true, true},
        {AccessLevel::NoDelete, true, true, true, false, true},
        {AccessLevel::ReadOnly, true, false, false, false, false},
        {AccessLevel::Denied, false, false, false, false, false},
    };
    for (const Case& c : cases) {
        const int l = static_cast<int>(c.level);
        EXPECT_EQ(services::allows(c.level, ModuleAction::Open), c.open) << l;
        EXPECT_EQ(services::allows(c.level, ModuleAction::Create), c.create) << l;
        EXPECT_EQ(services::allows(c.level, ModuleAction::Edit), c.edit) << l;
        EXPECT_EQ(services::allows(c.level, ModuleAction::Delete), c.remove) << l;
        EXPECT_EQ(services::allows(c.level, ModuleAction::Bulk), c.bulk) << l;
    }
    EXPECT_EQ(services::accessLevelFromInt(2), AccessLevel::ReadOnly);
    EXPECT_EQ(services::accessLevelFromInt(-1), AccessLevel::Denied);
    EXPECT_EQ(services::accessLevelFromInt(17), AccessLevel::Denied);
    EXPECT_EQ(
        services::accessLevelTexts(),
        QStringList({QStringLiteral("plný přístup"), QStringLiteral("bez práva smazat záznam"),
                     QStringLiteral("pouze pro čtení"), QStringLiteral("nepřístupno")}));
}

TEST(AccessLevels, ChecksShowTheirMessagesForTheLoggedInUser) {
    testsupport::TestEnvironment env; // a clean program state
    ScriptedInteraction ui;
    core::CurrentUser& user = core::programState().user;
    user.nabidky = AccessLevel::ReadOnly;
    user.adresar = AccessLevel::Denied;

    EXPECT_EQ(services::openRecord(services::Module::Nabidky, ui), RecordAccess::ReadOnly);
    EXPECT_EQ(ui.texts(Kind::Information),
              QStringList{QStringLiteral("Záznam je k dispozici pouze pro čtení, provedené změny "
                                         "nebude možné uložit.")});
    ui.clear();
    // Read-only opens the list, but a new record or a save is refused.
    EXPECT_TRUE(services::checkModule(services::Module::Nabidky, ModuleAction::Open, ui));
    EXPECT_FALSE(services::checkModule(services::Module::Nabidky, ModuleAction::Create, ui));
    EXPECT_EQ(services::openRecord(services::Module::Adresar, ui), RecordAccess::Denied);
    EXPECT_EQ(ui.texts(Kind::Information),
              QStringList(2, QStringLiteral("Litujeme, ale pro tuto funkci nemáte potřebná "
                                            "přístupová práva.")));
    ui.clear();
    EXPECT_EQ(services::openRecord(services::Module::Cenik, ui), RecordAccess::Editable);
    EXPECT_TRUE(ui.messages().empty());

    // Rights that also need a module level.
    user.cenik = AccessLevel::ReadOnly;
    EXPECT_FALSE(services::mayReprice(user));
    EXPECT_FALSE(services::mayBulkUpdate(user));
    user.cenik = AccessLevel::NoDelete;
    EXPECT_TRUE(services::mayReprice(user));
    user.hromadnePreceneni = false;
    EXPECT_FALSE(services::mayReprice(user));
    EXPECT_FALSE(services::mayLockOffers(user)); // offers are read-only
    user.nabidky = AccessLevel::Full;
    EXPECT_TRUE(services::mayLockOffers(user));
}

class LoginTest : public testsupport::UserDatabases {
protected:
    bool login() { return services::logIn(test.context); }
    void type(std::initializer_list<std::optional<QString>> passwords) {
        for (const auto& password : passwords)
            test.navigator.typePassword(password);
    }
    int asked() const { return test.navigator.count(QStringLiteral("askPassword")); }

    testsupport::TestContext test{ui};
};

TEST_F(LoginTest, EmptyTableStartsWithoutAskingAndWithEveryRight) {
    QSignalSpy changed(&test.context.events(), &core::ProgramEvents::userChanged);
    core::programState().user.administrator = false; // left over from an earlier login
    ASSERT_TRUE(login());
    EXPECT_EQ(asked(), 0);
    const core::CurrentUser& u = core::programState().user;
    EXPECT_EQ(u.uzivId, 0);
    EXPECT_TRUE(u.jmeno.isEmpty());
    EXPECT_TRUE(u.administrator);
    EXPECT_TRUE(u.vsechnyNabidky);
    EXPECT_EQ(u.import, AccessLevel::Full);
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(LoginTest, WrongPasswordWarnsAndAsksAgainThenTheMatchingUserLogsIn) {
    addUser(1, QStringLiteral("Novák"), QStringLiteral("tajne"));
    core::CurrentUser clerk;
    clerk.uzivId = 7;
    clerk.jmeno = QStringLiteral("Svobodová");
    clerk.konfigurace = QStringLiteral("PRODEJ");
    clerk.password = QStringLiteral("Tajne");
    clerk.telefon = QStringLiteral("777 123 456");
    clerk.administrator = false;
    clerk.cenik = AccessLevel::ReadOnly;
    clerk.vsechnyNabidky = false;
    clerk.prefiltrNabidkyVytvorId = QStringLiteral("0;7");
    testsupport::insertUser(global(), clerk);

    QSignalSpy changed(&test.context.events(), &core::ProgramEvents::userChanged);
    type({QStringLiteral("TAJNE"), QStringLiteral("Tajne")});
    ASSERT_TRUE(login());
    EXPECT_EQ(asked(), 2);
    EXPECT_EQ(ui.texts(Kind::Warning),
              QStringList{QStringLiteral(
                  "Zadané heslo je chybné (pozor: program rozlišuje velikost písmen).")});
    const core::CurrentUser& u = core::programState().user;
    EXPECT_EQ(u.jmeno, QStringLiteral("Svobodová"));
    EXPECT_EQ(u.uzivId, 7);
    EXPECT_EQ(u.konfigurace, QStringLiteral("PRODEJ"));
    EXPECT_EQ(u.password, QStringLiteral("Tajne"));
    EXPECT_EQ(u.telefon, QStringLiteral("777 123 456"));
    EXPECT_FALSE(u.administrator);
    EXPECT_EQ(u.cenik, AccessLevel::ReadOnly);
    EXPECT_EQ(u.nabidky, AccessLevel::Full);
    EXPECT_FALSE(u.vsechnyNabidky);
    EXPECT_EQ(u.prefiltrNabidkyVytvorId, QStringLiteral("0;7"));
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(LoginTest, GoingBackFailsTheLoginAndAnUnreadableTableRefusesIt) {
    addUser(1, QStringLiteral("Novák"), QStringLiteral("tajne"));
    type({QStringLiteral("x"), std::nullopt});
    EXPECT_FALSE(login());
    EXPECT_EQ(asked(), 2);

    ASSERT_TRUE(global().executeDdl(QStringLiteral("DROP TABLE Login")));
    ui.clear();
    EXPECT_FALSE(login());
    EXPECT_EQ(ui.texts(Kind::Error).size(), 1);
}

TEST_F(LoginTest, UserDescriptionForPrintouts) {
    addUser(1, QStringLiteral("Jan Novák"), QStringLiteral("a"));
    const int second = addUser(2, QStringLiteral("Eva Malá"), QStringLiteral("b"));
    addUser(3, QStringLiteral("Petr"), QStringLiteral("c"));
    const auto setContact = [](int id, const char* phone, const char* mail) {
        global().execute(
            QStringLiteral("UPDATE Login SET Telefon = :Telefon, Email = :Email WHERE ID = :ID"),
            {{QStringLiteral("Telefon"), QString::fromUtf8(phone)},
             {QStringLiteral("Email"), QString::fromUtf8(mail)},
             {QStringLiteral("ID"), id}});
    };
    setContact(second, "602 111 222", "eva@firma.cz");
    setContact(second + 1, "", "petr@firma.cz");

    EXPECT_EQ(services::userDescription(global(), 1), QStringLiteral("Jan Novák"));
    EXPECT_EQ(services::userDescription(global(), 2),
              QStringLiteral("Eva Malá tel. 602 111 222  eva@firma.cz"));
    EXPECT_EQ(services::userDescription(global(), 3), QStringLiteral("Petr  petr@firma.cz"));
    EXPECT_EQ(services::userDescription(global(), 0), QString());
    EXPECT_EQ(services::userDescription(global(), 99), QString());
}

TEST(OfferPrefilterList, MembershipIsByWholeNumbers) {
    EXPECT_TRUE(services::prefilterContains(QStringLiteral("1;12"), 12));
    EXPECT_FALSE(services::prefilterContains(QStringLiteral("1;12"), 2));
    EXPECT_FALSE(services::prefilterContains(QString(), 0));
    EXPECT_EQ(services::prefilterWith(QString(), 5), QStringLiteral("5"));
    EXPECT_EQ(services::prefilterWith(QStringLiteral("0;3"), 5), QStringLiteral("0;3;5"));
    EXPECT_EQ(services::prefilterWith(QStringLiteral("5;3"), 5), QStringLiteral("5;3"));
    EXPECT_EQ(services::prefilterNumbers(QStringLiteral("0; 3;x;;12")),
              (std::vector<int>{0, 3, 12}));
}

TEST_F(LoginTest, PrefilterChooserListsTheAnonymousAuthorFirstAndReturnsCheckedNumbers) {
    addUser(4, QStringLiteral("Čermák"), QStringLiteral("a"));
    addUser(2, QStringLiteral("Adámek"), QStringLiteral("b"));
    services::PrefilterChooser chooser;
    ASSERT_TRUE(chooser.load(global(), QStringLiteral("2;0")));
    const auto& e = chooser.entries();
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0].name, QStringLiteral("[uživatel bez jména]"));
    EXPECT_TRUE(e[0].checked);
    EXPECT_EQ(e[1].number, 4);
    EXPECT_FALSE(e[1].checked);
    EXPECT_TRUE(e[2].checked);
    // List order, not the order of the old list.
    EXPECT_EQ(chooser.result(), QStringLiteral("0;2"));
    chooser.setChecked(1, true);
    chooser.setChecked(0, false);
    EXPECT_EQ(chooser.result(), QStringLiteral("4;2"));
    chooser.setChecked(1, false);
    chooser.setChecked(2, false);
    EXPECT_EQ(chooser.result(), QString());
}

} // namespace
