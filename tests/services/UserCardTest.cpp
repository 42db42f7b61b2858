#include "services/UserCard.h"
#include "core/Schema.h"
#include "services/PasswordScrambler.h"
#include "services/UserDatabases.h"
#include "services/UserList.h"
#include "support/RefusedWrites.h"

#include <QSqlQuery>

using namespace orvento;
using core::AccessLevel;
using services::UserCard;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;
using Outcome = UserCard::Outcome;

namespace {

const QString kLastAdmin = QStringLiteral("Alespoň jeden uživatel musí mít práva administrátora.");
const QString kDuplicatePassword =
    QStringLiteral("Zadané heslo již existuje. Heslo musí být jedinečné, zadejte jiné.");

class UserCardTest : public testsupport::UserDatabases {
protected:
    // A new user with a name and a matching password.
    UserCard newCard(const QString& name, const QString& password) {
        UserCard card(global(), ui);
        card.startNew();
        card.user().jmeno = name;
        card.user().password = password;
        card.setPasswordConfirmation(password);
        return card;
    }

    QVariant stored(int uzivId, const char* column) {
        return global()
            .scalar(QStringLiteral("SELECT %1 FROM Login WHERE UzivID = :UzivID")
                        .arg(QLatin1String(column)),
                    {{QStringLiteral("UzivID"), uzivId}})
            .value_or(QVariant());
    }
};

TEST_F(UserCardTest, NewUserStartsWithFullRightsAndTheNextNumber) {
    UserCard first(global(), ui);
    first.startNew();
    EXPECT_EQ(first.user().uzivId, 1);
    addUser(1, QStringLiteral("A"), QStringLiteral("a"));
    addUser(41, QStringLiteral("B"), QStringLiteral("b"));
    addUser(7, QStringLiteral("C"), QStringLiteral("c"));
    UserCard card(global(), ui);
    card.startNew();
    EXPECT_TRUE(card.isNew());
    EXPECT_EQ(card.user().uzivId, 42);
    EXPECT_TRUE(card.user().administrator);
    EXPECT_TRUE(card.user().vsechnyNabidky);
    EXPECT_TRUE(card.user().zamky);
    EXPECT_EQ(card.user().seznamAgend, AccessLevel::Full);
    EXPECT_TRUE(card.user().prefiltrNabidkyVytvorId.isEmpty());
    EXPECT_FALSE(card.prefilterEditable());
}

TEST_F(UserCardTest, FieldChecksKeepTheCardOpenAndWriteNothing) {
    UserCard card = newCard(QStringLiteral("  "), QStringLiteral("x"));
    EXPECT_EQ(card.confirm(), Outcome::StayOpen);
    EXPECT_TRUE(ui.saw(Kind::Information, QStringLiteral("Zadejte jméno uživatele.")));

    card.user().jmeno = QStringLiteral("Novák");
    card.setPasswordConfirmation(QStringLiteral("X"));
    ui.clear();
    EXPECT_EQ(card.confirm(), Outcome::StayOpen);
    EXPECT_TRUE(ui.saw(Kind::Warning, QStringLiteral("Zadaná hesla se neshodují (upozornění: "
                                                     "program rozlišuje velikost písmen).")));

    const QString sixteen(16, QLatin1Char('h'));
    card.user().password = sixteen;
    card.setPasswordConfirmation(sixteen);
    ui.clear();
    EXPECT_EQ(card.confirm(), Outcome::StayOpen);
    EXPECT_EQ(ui.texts(Kind::Warning).size(), 1);

    card.user().password = QStringLiteral("h");
    card.setPasswordConfirmation(QStringLiteral("h"));
    for (const int number : {0, -5, 1000000000}) {
        card.user().uzivId = number;
        ui.clear();
        EXPECT_EQ(card.confirm(), Outcome::StayOpen) << number;
        EXPECT_EQ(ui.texts(Kind::Warning).size(), 1) << number;
    }
    EXPECT_EQ(loginRows(), 0);
}

TEST_F(UserCardTest, FirstUserMustBeAnAdministratorAndIsStoredWithEveryField) {
    UserCard card = newCard(QStringLiteral("Jana Nová"), QStringLiteral("Heslo1"));
    card.user().administrator = false;
    EXPECT_EQ(card.confirm(), Outcome::StayOpen);
    EXPECT_TRUE(ui.saw(Kind::Warning, kLastAdmin));
    EXPECT_EQ(loginRows(), 0);

    card.user().administrator = true;
    card.setProfileName(QStringLiteral("obchod-praha"));
    card.user().telefon = QStringLiteral("603 000 111");
    card.user().cenik = AccessLevel::NoDelete;
    card.user().poznamky = AccessLevel::Denied;
    card.user().obnoveniZalohy = false;
    ui.clear();
    ASSERT_EQ(card.confirm(), Outcome::Saved) << ui.allTexts().join('|').toStdString();
    EXPECT_TRUE(card.created());
    EXPECT_GT(card.rowId(), 0);
    EXPECT_EQ(stored(1, "Konfigurace").toString(), QStringLiteral("OBCHOD-PRA"));
    EXPECT_EQ(stored(1, "Pwd").toString(), services::password::scramble(QStringLiteral("Heslo1")));
    EXPECT_EQ(stored(1, "Cenik_AR").toInt(), 1);
    EXPECT_EQ(stored(1, "Poznamky_AR").toInt(), 3);
    EXPECT_EQ(stored(1, "ObnoveniZalohy_AR").toInt(), 0);
    EXPECT_EQ(stored(1, "Telefon").toString(), QStringLiteral("603 000 111"));
    // Seeing every offer needs no pre-filter.
    EXPECT_EQ(stored(1, "PrefiltrNabidkyVytvorID_AR").toString(), QString());
}

TEST_F(UserCardTest, PasswordsAndNumbersAreUniqueButAnUnchangedOwnPasswordSaves) {
    const int novak = addUser(1, QStringLiteral("Novák"), QStringLiteral("heslo"));
    addUser(2, QStringLiteral("Malá"), QStringLiteral("jine"));

    UserCard taken = newCard(QStringLiteral("Nový"), QStringLiteral("heslo"));
    EXPECT_EQ(taken.confirm(), Outcome::StayOpen);
    EXPECT_TRUE(ui.saw(Kind::Warning, kDuplicatePassword));
    // Differing in case is a different password.
    UserCard other = newCard(QStringLiteral("Nový"), QStringLiteral("Heslo"));
    other.user().uzivId = 2;
    ui.clear();
    EXPECT_EQ(other.confirm(), Outcome::StayOpen);
    EXPECT_TRUE(ui.saw(Kind::Warning, QStringLiteral("Zadané ID uživatele již existuje. Toto "
                                                     "číslo musí být jedinečné, zadejte jiné.")));
    EXPECT_EQ(loginRows(), 2);

    UserCard existing(global(), ui);
    ASSERT_TRUE(existing.startExisting(novak));
    EXPECT_FALSE(existing.isNew());
    EXPECT_EQ(existing.user().password, QStringLiteral("heslo"));
    EXPECT_EQ(existing.passwordConfirmation(), QStringLiteral("heslo"));
    existing.user().jmeno = QStringLiteral("Novák st.");
    ui.clear();
    ASSERT_EQ(existing.confirm(), Outcome::Saved);
    EXPECT_FALSE(existing.created());
    EXPECT_EQ(stored(1, "Jmeno").toString(), QStringLiteral("Novák st."));

    existing.user().password = QStringLiteral("jine");
    existing.setPasswordConfirmation(QStringLiteral("jine"));
    EXPECT_EQ(existing.confirm(), Outcome::StayOpen);
    EXPECT_TRUE(ui.saw(Kind::Warning, kDuplicatePassword));
    EXPECT_EQ(stored(1, "Pwd").toString(), services::password::scramble(QStringLiteral("heslo")));
}

TEST_F(UserCardTest, TheLastAdministratorKeepsHisRight) {
    const int boss = addUser(1, QStringLiteral("Šéf"), QStringLiteral("a"));
    const int clerk = addUser(2, QStringLiteral("Referent"), QStringLiteral("b"), false);
    UserCard card(global(), ui);
    ASSERT_TRUE(card.startExisting(boss));
    card.user().administrator = false;
    EXPECT_EQ(card.confirm(), Outcome::StayOpen);
    EXPECT_TRUE(ui.saw(Kind::Warning, kLastAdmin));
    EXPECT_EQ(stored(1, "Administrator_AR").toInt(), 1);

    UserCard promoted(global(), ui);
    ASSERT_TRUE(promoted.startExisting(clerk));
    promoted.user().administrator = true;
    ASSERT_EQ(promoted.confirm(), Outcome::Saved);
    ASSERT_EQ(card.confirm(), Outcome::Saved);
    EXPECT_EQ(stored(1, "Administrator_AR").toInt(), 0);
}

TEST_F(UserCardTest, AUserWhoSeesOnlySomeOffersAlwaysSeesHisOwn) {
    addUser(1, QStringLiteral("Šéf"), QStringLiteral("a"));
    UserCard card = newCard(QStringLiteral("Referent"), QStringLiteral("b"));
    card.user().vsechnyNabidky = false;
    EXPECT_TRUE(card.prefilterEditable());
    ASSERT_EQ(card.confirm(), Outcome::Saved);
    EXPECT_EQ(stored(2, "PrefiltrNabidkyVytvorID_AR").toString(), QStringLiteral("2"));

    UserCard again(global(), ui);
    ASSERT_TRUE(again.startExisting(card.rowId()));
    again.user().prefiltrNabidkyVytvorId = QStringLiteral("0;1");
    ASSERT_EQ(again.confirm(), Outcome::Saved);
    EXPECT_EQ(stored(2, "PrefiltrNabidkyVytvorID_AR").toString(), QStringLiteral("0;1;2"));
}

TEST_F(UserCardTest, GoneRowAndFailedWrite) {
    const int id = addUser(1, QStringLiteral("Šéf"), QStringLiteral("a"));
    UserCard card(global(), ui);
    EXPECT_FALSE(card.startExisting(id + 100));
    EXPECT_TRUE(ui.saw(Kind::Warning, QStringLiteral("Při obnově tabulky došlo k chybě, požadovaný "
                                                     "záznam byl pravděpodobně smazán jiným "
                                                     "uživatelem.")));

    ASSERT_TRUE(testsupport::refuseWrites(global(), QStringLiteral("refuse"),
                                          QStringLiteral("INSERT"), QStringLiteral("Login")));
    UserCard blocked = newCard(QStringLiteral("Nový"), QStringLiteral("b"));
    ui.clear();
    EXPECT_EQ(blocked.confirm(), Outcome::SaveFailed);
    EXPECT_EQ(ui.texts(Kind::Error),
              QStringList{QStringLiteral(
                  "Při ukládání záznamu došlo k chybě: metoda \"Execute\" selhala.")});
    EXPECT_EQ(loginRows(), 1);
}

class UserListTest : public UserCardTest {};

TEST_F(UserListTest, OnlyAdministratorsOpenTheList) {
    EXPECT_TRUE(services::UserList::mayOpen(ui));
    core::programState().user.administrator = false;
    EXPECT_FALSE(services::UserList::mayOpen(ui));
    EXPECT_TRUE(ui.saw(Kind::Information, QStringLiteral("Litujeme, ale pro tuto funkci nemáte "
                                                         "potřebná přístupová práva.")));
}

TEST_F(UserListTest, DeletingAsksAndMovesToTheFollowingRow) {
    const int a = addUser(1, QStringLiteral("A"), QStringLiteral("a"));
    addUser(2, QStringLiteral("B"), QStringLiteral("b"));
    const int c = addUser(3, QStringLiteral("C"), QStringLiteral("c"));
    core::programState().user.uzivId = 1;
    services::UserList list(global(), ui);
    ASSERT_TRUE(list.reload());
    EXPECT_EQ(list.currentId(), a);

    // The logged-in user cannot go.
    EXPECT_FALSE(list.removeCurrent());
    EXPECT_TRUE(
        ui.saw(Kind::Warning, QStringLiteral("Aktuálně přihlášeného uživatele nelze mazat.")));

    list.setCurrentIndex(1);
    ui.answer(false);
    EXPECT_FALSE(list.removeCurrent());
    EXPECT_EQ(loginRows(), 3);
    ui.answer(true);
    ASSERT_TRUE(list.removeCurrent());
    EXPECT_TRUE(ui.saw(Kind::Question, QStringLiteral("Opravdu chcete vyjmout označeného "
                                                      "uživatele ?")));
    EXPECT_EQ(loginRows(), 2);
    EXPECT_EQ(list.currentId(), c);
    // After the last row the list moves back.
    ui.answer(true);
    ASSERT_TRUE(list.removeCurrent());
    EXPECT_EQ(list.currentId(), a);
    EXPECT_TRUE(list.hasRows());
}

TEST_F(UserListTest, AnotherAdministratorMayGoButNotTheLastOne) {
    addUser(1, QStringLiteral("Šéf"), QStringLiteral("a"));
    addUser(2, QStringLiteral("Zástupce"), QStringLiteral("b"));
    addUser(3, QStringLiteral("Referent"), QStringLiteral("c"), false);
    core::programState().user.uzivId = 1;
    // The logged-in chief has meanwhile lost his right in the table (it takes effect at his
    // next login); deleting the deputy would leave nobody who can open this list.
    ASSERT_TRUE(global().execute(QStringLiteral("UPDATE Login SET Administrator_AR = 0 WHERE "
                                                "UzivID = 1")));
    services::UserList list(global(), ui);
    ASSERT_TRUE(list.reload());
    list.setCurrentIndex(1);
    EXPECT_FALSE(list.removeCurrent());
    EXPECT_TRUE(ui.saw(Kind::Warning, kLastAdmin));
    EXPECT_EQ(loginRows(), 3);

    ASSERT_TRUE(global().execute(QStringLiteral("UPDATE Login SET Administrator_AR = 1 WHERE "
                                                "UzivID = 1")));
    ui.answer(true);
    EXPECT_TRUE(list.removeCurrent());
    EXPECT_EQ(loginRows(), 2);
}

TEST_F(UserListTest, AfterTheCardTheListSelectsTheNewRowOrTellsWhenChangesApply) {
    addUser(5, QStringLiteral("Šéf"), QStringLiteral("a"));
    services::UserList list(global(), ui);
    ASSERT_TRUE(list.reload());
    UserCard card = newCard(QStringLiteral("Nový"), QStringLiteral("n"));
    ASSERT_EQ(card.confirm(), Outcome::Saved);
    list.afterCardSaved(card);
    EXPECT_EQ(list.currentId(), card.rowId());
    EXPECT_EQ(list.rows().size(), 2u);
    EXPECT_TRUE(ui.messages().empty());

    UserCard edited(global(), ui);
    ASSERT_TRUE(edited.startExisting(card.rowId()));
    ASSERT_EQ(edited.confirm(), Outcome::Saved);
    list.afterCardSaved(edited);
    EXPECT_TRUE(ui.saw(Kind::Information, QStringLiteral("Změny se projeví až po ukončení programu "
                                                         "a opětovném přihlášení daného "
                                                         "uživatele.")));
    EXPECT_EQ(list.currentId(), card.rowId());
}

} // namespace

namespace {

// Every column of `Login` but its ID is read and written through the user's mapping; a column
// added to the table without a member (or a member naming no column) is caught here.
TEST(UserMapping, CoversTheLoginTableExactly) {
    const core::TableDef* login =
        core::findTable(core::DatabaseKind::Global, QStringLiteral("Login"));
    ASSERT_NE(login, nullptr);
    QStringList expected;
    for (const core::ColumnDef& c : login->columns) {
        if (c.name != QLatin1String("ID"))
            expected << c.name;
    }
    EXPECT_EQ(services::userMapping().columns(), expected);
}

} // namespace
