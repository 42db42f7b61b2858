#include "AresFakeRegister.h"
#include "addressbook/AddressBookLogic.h"
#include "addressbook/AresRecord.h"
#include "addressbook/FirmCard.h"
#include "core/CurrentUser.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/UserInteraction.h"
#include "services/ProfileSession.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestStore.h"

#include <gtest/gtest.h>

using namespace orvento;
using addressbook::AresVerification;
using addressbook::FirmCard;
using addressbook::FirmCardMode;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

const QByteArray kFirmJson = R"({"ico":"25596641","obchodniJmeno":"Žluťoučký kůň s.r.o.",
    "sidlo":{"nazevObce":"Praha","nazevUlice":"Dlouhá","cisloDomovni":12,"psc":11000}})";
const QString kWait = QStringLiteral("Načítání adresy z registru ARES\nprosím čekejte...");

QString failedText(const QString& error) {
    return QStringLiteral("Adresu z internetu nelze načíst: ") + error;
}

class AresCardTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("FIRMA")));
        ASSERT_TRUE(testsupport::openTestGlobal(env));
        server.writeIni(core::programState().folders.iniFile, QStringLiteral("REST"));
        server.answer(200, kFirmJson);
        firmsBefore = firmCount();
    }
    void TearDown() override {
        EXPECT_EQ(firmCount(), firmsBefore) << "the register writes nothing";
        core::resetProgramState();
    }
    static core::Database& db() { return core::programState().db->agenda; }
    static core::Database& global() { return core::programState().db->global; }
    int firmCount() { return db().scalar(QStringLiteral("SELECT COUNT(*) FROM Adresar"))->toInt(); }

    // A new card with the register's firm typed in as it is, and the IČO as given.
    FirmCard& typedCard(const QString& ico) {
        EXPECT_TRUE(card.open(FirmCardMode::New));
        card.firm().ICO = ico;
        card.firm().Nazev = QStringLiteral("Žluťoučký kůň s.r.o.");
        card.firm().Ulice = QStringLiteral("Dlouhá 12");
        card.firm().Psc = QStringLiteral("11000");
        card.firm().Misto = QStringLiteral("Praha");
        return card;
    }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    testsupport::FakeRegister server;
    services::ProfileSession session;
    FirmCard card{db(), global(), ui};
    int firmsBefore = 0;
};

// The comparison window's stand-in: remembers what it was shown and answers.
struct ComparisonWindow {
    bool take = false;
    int shown = 0;
    QStringList different;
    FirmCard::AresConfirmation asked() {
        return [this](AresVerification& verification) {
            ++shown;
            for (const auto field : AresVerification::kFields)
                if (verification.differs(field))
                    different << AresVerification::caption(field);
            return take;
        };
    }
};

} // namespace

TEST_F(AresCardTest, ACardWithoutANameIsLoadedUnderTheWaitWindow) {
    ASSERT_TRUE(card.open(FirmCardMode::New));
    card.firm().ICO = QStringLiteral("255 96 641");
    ComparisonWindow window;
    EXPECT_TRUE(card.registerCommand(window.asked()));
    EXPECT_EQ(window.shown, 0);
    EXPECT_EQ(card.firm().Nazev, QStringLiteral("Žluťoučký kůň s.r.o."));
    EXPECT_EQ(card.firm().Ulice, QStringLiteral("Dlouhá 12"));
    EXPECT_EQ(card.firm().Psc, QStringLiteral("11000"));
    EXPECT_EQ(card.firm().Misto, QStringLiteral("Praha"));
    EXPECT_EQ(card.firm().ICO, QStringLiteral("25596641"));
    EXPECT_TRUE(ui.waitTexts().contains(kWait));
    EXPECT_FALSE(ui.waitShown());
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(AresCardTest, ACardLikeTheRegisterIsOnlyConfirmed) {
    typedCard(QStringLiteral("25596641"));
    ComparisonWindow window;
    EXPECT_FALSE(card.registerCommand(window.asked()));
    EXPECT_EQ(window.shown, 0);
    EXPECT_EQ(ui.allTexts(),
              QStringList{QStringLiteral("Adresní údaje na kartě odpovídají registru ARES.")});
}

TEST_F(AresCardTest, DifferencesAreTakenOnlyWhenTheComparisonIsAccepted) {
    typedCard(QStringLiteral(" 25596641"));
    card.firm().Nazev = QStringLiteral("ŽLUŤOUČKÝ KŮŇ S.R.O.");
    card.firm().Misto = QStringLiteral("Brno");
    ComparisonWindow refused;
    EXPECT_FALSE(card.registerCommand(refused.asked()));
    EXPECT_EQ(refused.different, (QStringList{QStringLiteral("Název"), QStringLiteral("Místo")}))
        << "letter case counts";
    EXPECT_EQ(card.firm().Misto, QStringLiteral("Brno"));
    EXPECT_EQ(card.firm().Nazev, QStringLiteral("ŽLUŤOUČKÝ KŮŇ S.R.O."));

    ComparisonWindow accepted;
    accepted.take = true;
    EXPECT_TRUE(card.registerCommand(accepted.asked()));
    EXPECT_EQ(card.firm().Misto, QStringLiteral("Praha"));
    EXPECT_EQ(card.firm().Nazev, QStringLiteral("Žluťoučký kůň s.r.o."));
    EXPECT_EQ(card.firm().ICO, QStringLiteral(" 25596641")) << "the IČO stays as typed";
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(AresCardTest, AFailedQueryIsToldAndLeavesTheCardAsItWas) {
    ComparisonWindow window;
    ASSERT_TRUE(card.open(FirmCardMode::New));
    EXPECT_FALSE(card.registerCommand(window.asked()));
    EXPECT_TRUE(ui.saw(Kind::Information, QStringLiteral("Chcete-li načíst/ověřit adresu z "
                                                         "internetového registru ARES, zadejte "
                                                         "nejprve IČ.")));
    EXPECT_TRUE(ui.waitTexts().isEmpty());

    typedCard(QStringLiteral("25596641"));
    card.firm().Misto = QStringLiteral("Brno");
    server.answer(404, "{}");
    ui.clear();
    EXPECT_FALSE(card.registerCommand(window.asked()));
    EXPECT_EQ(
        ui.texts(Kind::Warning),
        QStringList{failedText(addressbook::aresNotFoundMessage(QStringLiteral("25596641")))});
    server.stayOnHold();
    ui.clear();
    EXPECT_FALSE(card.registerCommand(window.asked()));
    EXPECT_EQ(ui.texts(Kind::Warning),
              QStringList{failedText(addressbook::aresNoConnectionMessage())});
    EXPECT_EQ(window.shown, 0);
    EXPECT_EQ(card.firm().Misto, QStringLiteral("Brno"));
    EXPECT_EQ(card.firm().Nazev, QStringLiteral("Žluťoučký kůň s.r.o."));
}

TEST_F(AresCardTest, TheListAsksForTheNumberWithTheRightsOfANewFirm) {
    addressbook::AddressBookLogic list(db(), ui, session, addressbook::AddressBookMode::Browse);
    ui.typeText(QStringLiteral(" 255 96 641 "));
    EXPECT_EQ(list.icoToAdd(), QStringLiteral("255 96 641"));
    EXPECT_TRUE(ui.saw(Kind::Input, QStringLiteral("Zadejte IČ, které chcete vyhledat")));
    ui.typeText(QStringLiteral("  "));
    EXPECT_FALSE(list.icoToAdd());
    ui.typeText(std::nullopt);
    EXPECT_FALSE(list.icoToAdd());

    core::programState().user.adresar = core::AccessLevel::ReadOnly;
    ui.clear();
    EXPECT_FALSE(list.icoToAdd()) << "no input box without the right";
    EXPECT_EQ(ui.allTexts(), QStringList{core::noRightsMessage()});
    core::programState().user.adresar = core::AccessLevel::Full;

    // The new card: loaded, or on failure the number as given without its blanks.
    ASSERT_TRUE(card.open(FirmCardMode::New));
    EXPECT_TRUE(card.loadFromRegister(QStringLiteral("255 96 641")));
    EXPECT_EQ(card.firm().Nazev, QStringLiteral("Žluťoučký kůň s.r.o."));
    ASSERT_TRUE(card.open(FirmCardMode::New));
    ui.clear();
    EXPECT_FALSE(card.loadFromRegister(QStringLiteral("1234 5678")));
    EXPECT_EQ(card.firm().ICO, QStringLiteral("12345678"));
    EXPECT_TRUE(card.firm().Nazev.isEmpty());
    EXPECT_EQ(
        ui.texts(Kind::Warning),
        QStringList{failedText(addressbook::aresNotFoundMessage(QStringLiteral("12345678")))});
    EXPECT_EQ(server.requests(), 1) << "a number with a wrong check digit is not sent";
}
