#include "services/UserCard.h"
#include "services/UserDatabases.h"
#include "support/RefusedWrites.h"

using namespace orvento;
using services::UserCard;
using Kind = testsupport::ScriptedInteraction::Kind;
using Outcome = UserCard::Outcome;

namespace {

class UserCardFailedSaveTest : public testsupport::UserDatabases {};

// What the save adds to the user (his own number in the pre-filter) reaches the card only with a
// stored row; a refused write leaves the card as the person left it, and the next OK stores it.
TEST_F(UserCardFailedSaveTest, ARefusedWriteLeavesTheCardAsItWas) {
    addUser(1, QStringLiteral("Šéf"), QStringLiteral("a"));
    const int clerk = addUser(2, QStringLiteral("Referent"), QStringLiteral("b"), false);
    UserCard card(global(), ui);
    ASSERT_TRUE(card.startExisting(clerk));
    card.user().vsechnyNabidky = false;
    card.user().prefiltrNabidkyVytvorId = QStringLiteral("0;1");
    ASSERT_TRUE(testsupport::refuseWrites(global(), QStringLiteral("refuse"),
                                          QStringLiteral("UPDATE"), QStringLiteral("Login")));
    EXPECT_EQ(card.confirm(), Outcome::SaveFailed);
    EXPECT_TRUE(ui.saw(Kind::Error, core::saveFailedMessage()));
    EXPECT_EQ(card.user().prefiltrNabidkyVytvorId, QStringLiteral("0;1"));

    ASSERT_TRUE(
        testsupport::allowWrites(global(), QStringLiteral("refuse"), QStringLiteral("Login")));
    ASSERT_EQ(card.confirm(), Outcome::Saved);
    EXPECT_EQ(card.user().prefiltrNabidkyVytvorId, QStringLiteral("0;1;2"));

    // A new user whose insert is refused stays new, with nothing of him stored.
    ASSERT_TRUE(testsupport::refuseWrites(global(), QStringLiteral("refuse"),
                                          QStringLiteral("INSERT"), QStringLiteral("Login")));
    UserCard fresh(global(), ui);
    fresh.startNew();
    fresh.user().jmeno = QStringLiteral("Nový");
    fresh.user().password = QStringLiteral("c");
    fresh.setPasswordConfirmation(QStringLiteral("c"));
    fresh.user().vsechnyNabidky = false;
    EXPECT_EQ(fresh.confirm(), Outcome::SaveFailed);
    EXPECT_TRUE(fresh.isNew());
    EXPECT_FALSE(fresh.created());
    EXPECT_TRUE(fresh.user().prefiltrNabidkyVytvorId.isEmpty());
    EXPECT_EQ(loginRows(), 2);
}

} // namespace

namespace {

// A user deleted at another workstation while his card was open here: OK fails and says so
// rather than reporting the changes as saved to a row that is gone.
TEST_F(UserCardFailedSaveTest, TheSaveOfAUserDeletedElsewhereFails) {
    addUser(1, QStringLiteral("Šéf"), QStringLiteral("a"));
    const int clerk = addUser(2, QStringLiteral("Referent"), QStringLiteral("b"), false);
    UserCard card(global(), ui);
    ASSERT_TRUE(card.startExisting(clerk));
    card.user().jmeno = QStringLiteral("Referentka");
    ASSERT_TRUE(global().execute(QStringLiteral("DELETE FROM Login WHERE ID = :ID"),
                                 {{QStringLiteral("ID"), clerk}}));
    EXPECT_EQ(card.confirm(), Outcome::SaveFailed);
    EXPECT_TRUE(ui.saw(Kind::Error, core::saveFailedMessage()));
    EXPECT_EQ(card.user().jmeno, QStringLiteral("Referentka"));
    EXPECT_EQ(loginRows(), 1);
}

} // namespace
