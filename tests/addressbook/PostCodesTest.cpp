#include "addressbook/PostCodeCard.h"
#include "addressbook/PostCodeList.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestEnvironment.h"
#include "support/TestStore.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace orvento;
using addressbook::PostCodeCard;
using addressbook::PostCodeList;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

class PostCodesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testsupport::openTestGlobal(env));
        core::programState().folders.setData(env.dataFolder());
        QDir().mkpath(core::programState().folders.lock);
        db().execute(QStringLiteral("DELETE FROM Mista"));
    }
    static core::Database& db() { return core::programState().db->global; }

    PostCodeCard::Outcome add(PostCodeList& list, const QString& psc, const QString& misto) {
        PostCodeCard card(db(), ui, list);
        card.startNew();
        card.psc = psc;
        card.misto = misto;
        return card.confirm();
    }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
};

// The global template ships the whole public list, Prague and Brno included, without the list's
// marks; a code typed on the firm card finds the post office's own name first.
TEST(PostCodeTemplate, ShipsCzechPlacesFromTheDataFile) {
    testsupport::TestEnvironment env;
    ASSERT_TRUE(env.copyTemplate(QStringLiteral("0002.res"), QStringLiteral("Global.MDB")));
    core::Database global(QStringLiteral("post-code-template"));
    ASSERT_TRUE(global.open(env.dataFolder() + QStringLiteral("Global.MDB")));
    EXPECT_GT(global.scalar(QStringLiteral("SELECT COUNT(*) FROM Mista"))->toInt(), 16000);
    for (const char* initial : {"A", "B", "D", "J", "L", "R", "V", "Z"})
        EXPECT_TRUE(global.scalar(QStringLiteral("SELECT ID FROM Mista WHERE Misto LIKE :M"),
                                  {{QStringLiteral("M"), QString::fromLatin1(initial) + "%"}}))
            << initial;
    EXPECT_FALSE(global.scalar(QStringLiteral("SELECT ID FROM Mista WHERE Misto LIKE '%x)%' OR "
                                              "Misto LIKE '%(část)%' OR length(PSC) <> 5 OR "
                                              "Misto <> trim(Misto)")));
    EXPECT_FALSE(global.scalar(QStringLiteral("SELECT PSC FROM Mista GROUP BY PSC, Misto "
                                              "HAVING COUNT(*) > 1")));
    EXPECT_EQ(addressbook::placeOfPostCode(global, QStringLiteral("110 00")),
              QStringLiteral("Praha 1"));
    EXPECT_TRUE(addressbook::placeOfPostCode(global, QStringLiteral("60200"))
                    .startsWith(QStringLiteral("Brno")));
    EXPECT_EQ(addressbook::placeOfPostCode(global, QStringLiteral("352 01")), QStringLiteral("Aš"));
}

TEST_F(PostCodesTest, CardSavesCodesWithoutSpacesAndRefusesEmptyFields) {
    PostCodeList list(db(), ui);
    ASSERT_TRUE(list.open());
    EXPECT_FALSE(list.hasRows());
    EXPECT_EQ(add(list, QStringLiteral("   "), QStringLiteral("Brno")),
              PostCodeCard::Outcome::StayOpen);
    EXPECT_TRUE(ui.saw(Kind::Information, QStringLiteral("Musíte vyplnit PSČ a Místo.")));
    EXPECT_EQ(add(list, QStringLiteral(" 602 00 "), QStringLiteral("Brno")),
              PostCodeCard::Outcome::Saved);
    EXPECT_EQ(add(list, QStringLiteral("60200"), QStringLiteral("Brno-střed")),
              PostCodeCard::Outcome::Saved);
    ASSERT_EQ(list.rows().size(), 2u);
    EXPECT_EQ(list.currentRow()->misto, QStringLiteral("Brno-střed"));
    EXPECT_EQ(list.rows()[0].psc, QStringLiteral("60200"));
    EXPECT_EQ(addressbook::placeOfPostCode(db(), QStringLiteral("602 00")), QStringLiteral("Brno"));
}

TEST_F(PostCodesTest, ReopenedListKeepsItsOrderAndRow) {
    PostCodeList list(db(), ui);
    ASSERT_TRUE(list.open());
    add(list, QStringLiteral("11000"), QStringLiteral("Praha"));
    add(list, QStringLiteral("37001"), QStringLiteral("České Budějovice"));
    add(list, QStringLiteral("60200"), QStringLiteral("Brno"));
    list.sortBy(QStringLiteral("Misto"));
    list.setCurrent(1);
    list.close();

    PostCodeList again(db(), ui);
    ASSERT_TRUE(again.open());
    EXPECT_EQ(again.sortField(), QStringLiteral("MISTO"));
    ASSERT_EQ(again.rows().size(), 3u);
    EXPECT_EQ(again.rows()[0].misto, QStringLiteral("Brno"));
    EXPECT_EQ(again.rows()[1].misto, QStringLiteral("České Budějovice"));
    EXPECT_EQ(again.currentRow()->misto, QStringLiteral("České Budějovice"));
    EXPECT_EQ(again.quickFind(QStringLiteral("pra")), std::optional<std::size_t>(2));
    EXPECT_EQ(ui.waitTexts().value(0), QStringLiteral("Načítám seznam PSČ\nprosím čekejte..."));
}

TEST_F(PostCodesTest, DeletingAsksNothingButSparesARowOpenElsewhere) {
    PostCodeList list(db(), ui);
    ASSERT_TRUE(list.open());
    add(list, QStringLiteral("11000"), QStringLiteral("Praha"));
    add(list, QStringLiteral("60200"), QStringLiteral("Brno"));
    list.setCurrent(0);
    const qint64 held = list.currentRow()->id;
    testsupport::OtherWorkstation other(
        testsupport::recordEditedElsewhere(env, QStringLiteral("Mista"), held, true));
    ASSERT_EQ(other.firstLine(), QStringLiteral("held"));
    EXPECT_FALSE(list.removeCurrent());
    EXPECT_TRUE(
        ui.saw(Kind::Warning, QStringLiteral("Záznam není možné smazat - je právě používán jiným "
                                             "uživatelem.")));
    PostCodeCard card(db(), ui, list);
    ASSERT_TRUE(card.startEdit());
    EXPECT_FALSE(card.okEnabled());
    card.close();
    other.stop();

    EXPECT_TRUE(list.removeCurrent());
    ASSERT_EQ(list.rows().size(), 1u);
    EXPECT_EQ(list.currentRow()->psc, QStringLiteral("60200"));
    // Gone meanwhile: the refresh warning, nothing deleted.
    db().execute(QStringLiteral("DELETE FROM Mista"));
    EXPECT_FALSE(list.removeCurrent());
    EXPECT_TRUE(ui.saw(Kind::Warning, QStringLiteral("Při obnově tabulky došlo k chybě, požadovaný "
                                                     "záznam byl pravděpodobně smazán jiným "
                                                     "uživatelem.")));
    EXPECT_FALSE(list.hasRows());
}

} // namespace
