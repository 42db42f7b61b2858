#include "AresFakeRegister.h"
#include "addressbook/AresClient.h"
#include "addressbook/AresReaders.h"
#include "addressbook/AresVerification.h"
#include "core/IniFile.h"
#include "core/ProgramState.h"
#include "core/ProgressScope.h"
#include "support/ScriptedInteraction.h"
#include "support/TestEnvironment.h"

#include <QElapsedTimer>
#include <QTcpServer>

#include <gtest/gtest.h>

using namespace orvento;
using addressbook::AresRecord;
using addressbook::AresService;
using addressbook::AresVerification;
using addressbook::registerIco;
using testsupport::FakeRegister;

namespace {

const QByteArray kFinanceJson = R"({"ico":"00006947","obchodniJmeno":"Ministerstvo financí",
    "sidlo":{"kodStatu":"CZ","nazevObce":"Praha","nazevCastiObce":"Malá Strana",
    "nazevUlice":"Letenská","cisloDomovni":525,"cisloOrientacni":15,"psc":11800}})";

// The old service's answer; it declares another encoding than the UTF-8 it is sent in.
QByteArray xmlAnswer(const QByteArray& count, const QByteArray& address) {
    return QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"windows-1250\"?>"
                             "<are:Ares_odpovedi xmlns:are=\"urn:are\" xmlns:dtt=\"urn:dtt\">"
                             "<are:Odpoved><are:Pocet_zaznamu>") +
           count +
           QByteArrayLiteral("</are:Pocet_zaznamu><are:Zaznam>"
                             "<are:Obchodni_firma>Žluťoučký kůň s.r.o.</are:Obchodni_firma>"
                             "<are:ICO>25596641</are:ICO><are:Identifikace><are:Adresa_ARES>") +
           address +
           QByteArrayLiteral("</are:Adresa_ARES></are:Identifikace></are:Zaznam>"
                             "</are:Odpoved></are:Ares_odpovedi>");
}

class AresRegisterTest : public ::testing::Test {
protected:
    void TearDown() override { core::resetProgramState(); }

    AresRecord ask(const QString& ico, const QString& kind = QStringLiteral("REST")) {
        server.writeIni(core::programState().folders.iniFile, kind);
        core::ProgressScope wait(ui, QStringLiteral("čekám"), 0, false);
        return addressbook::queryAres(AresService::configured(), ico, wait);
    }

    testsupport::TestEnvironment env;
    testsupport::ScriptedInteraction ui;
    FakeRegister server;
};

} // namespace

TEST(AresIco, BlanksGoPaddingComesAndOnlyNumbersWithTheirCheckDigitPass) {
    EXPECT_EQ(registerIco(QStringLiteral(" 255 966 41 ")), QStringLiteral("25596641"));
    EXPECT_EQ(registerIco(QStringLiteral("6947")), QStringLiteral("00006947"));
    // Remainders 0 and 1 have the check digits 1 and 0.
    EXPECT_EQ(registerIco(QStringLiteral("10000071")), QStringLiteral("10000071"));
    EXPECT_EQ(registerIco(QStringLiteral("10000020")), QStringLiteral("10000020"));
    EXPECT_FALSE(registerIco(QStringLiteral("10000070")));
    EXPECT_FALSE(registerIco(QStringLiteral("25596642"))) << "wrong check digit";
    EXPECT_FALSE(registerIco(QStringLiteral("2559664l"))) << "a letter";
    EXPECT_FALSE(registerIco(QStringLiteral("CZ25596641")));
    EXPECT_FALSE(registerIco(QStringLiteral("125596641"))) << "nine digits";
    EXPECT_FALSE(registerIco(QStringLiteral("   ")));
}

TEST(AresReaders, TheSeatIsReadFromWhatTheAnswerHas) {
    const AresRecord full = addressbook::readAresJson(kFinanceJson, QStringLiteral("6947"));
    ASSERT_TRUE(full.found()) << full.error.toStdString();
    EXPECT_EQ(full.name, QStringLiteral("Ministerstvo financí"));
    EXPECT_EQ(full.street, QStringLiteral("Letenská 525/15"));
    EXPECT_EQ(full.psc, QStringLiteral("11800"));
    EXPECT_EQ(full.place, QStringLiteral("Praha"));
    EXPECT_EQ(full.ico, QStringLiteral("00006947"));

    const AresRecord village = addressbook::readAresJson(
        R"({"ico":"1","obchodniJmeno":"Statek","sidlo":{"nazevCastiObce":"Lhota",
            "cisloDomovni":"7","cisloOrientacni":2,"cisloOrientacniPismeno":"b"}})",
        QStringLiteral("1"));
    EXPECT_EQ(village.street, QStringLiteral("Lhota 7/2b")) << "no street: the part of the town";

    AresRecord number = addressbook::readAresJson(
        R"({"ico":"1","obchodniJmeno":"Samota","sidlo":{"cisloDomovni":12}})", QStringLiteral("1"));
    number.fitToCard();
    EXPECT_EQ(number.street, QStringLiteral("12"));

    const AresRecord foreign = addressbook::readAresJson(
        R"({"ico":"1","obchodniJmeno":"Ausland GmbH","sidlo":{"kodStatu":"DE",
            "textovaAdresa":"Hauptstraße 1, Berlin"}})",
        QStringLiteral("1"));
    ASSERT_TRUE(foreign.found());
    EXPECT_TRUE(foreign.street.isEmpty() && foreign.psc.isEmpty() && foreign.place.isEmpty());

    const QString unreadable = addressbook::aresUnreadableMessage(QStringLiteral("1"));
    EXPECT_EQ(addressbook::readAresJson("<html></html>", QStringLiteral("1")).error, unreadable);
    EXPECT_EQ(addressbook::readAresJson("[1,2]", QStringLiteral("1")).error, unreadable);
    EXPECT_EQ(addressbook::readAresJson(R"({"kod":"CHYBA_VSTUPU"})", QStringLiteral("1")).error,
              unreadable)
        << "an error object is no firm";
}

TEST(AresReaders, TheXmlAnswerIsReadAsUtf8WithItsNumbersAndCounts) {
    const AresRecord found = addressbook::readAresXml(
        xmlAnswer("1", "<dtt:Nazev_ulice>Dlouhá</dtt:Nazev_ulice><dtt:Cislo_do_adresy>9"
                       "</dtt:Cislo_do_adresy><dtt:Cislo_domovni>12</dtt:Cislo_domovni>"
                       "<dtt:PSC>11000</dtt:PSC><dtt:Nazev_obce>Praha</dtt:Nazev_obce>"),
        QStringLiteral("25596641"));
    ASSERT_TRUE(found.found()) << found.error.toStdString();
    EXPECT_EQ(found.name, QStringLiteral("Žluťoučký kůň s.r.o."));
    EXPECT_EQ(found.street, QStringLiteral("Dlouhá 12")) << "the house number comes first";
    EXPECT_EQ(found.psc, QStringLiteral("11000"));
    EXPECT_EQ(found.place, QStringLiteral("Praha"));

    const AresRecord numberOnly = addressbook::readAresXml(
        xmlAnswer("1", "<dtt:Cislo_do_adresy>9</dtt:Cislo_do_adresy>"), QStringLiteral("1"));
    EXPECT_EQ(numberOnly.street, QStringLiteral(" 9"));

    EXPECT_EQ(addressbook::readAresXml(xmlAnswer("0", ""), QStringLiteral("25596641")).error,
              addressbook::aresNotFoundMessage(QStringLiteral("25596641")));
    const QString unreadable = addressbook::aresUnreadableMessage(QStringLiteral("1"));
    EXPECT_EQ(addressbook::readAresXml("<a><b/></a>", QStringLiteral("1")).error, unreadable);
    EXPECT_EQ(addressbook::readAresXml("<html><body>503</body>", QStringLiteral("1")).error,
              unreadable);
    EXPECT_EQ(addressbook::readAresXml("nic", QStringLiteral("1")).error, unreadable);
}

TEST(AresVerificationTest, OnlyExactlyEqualValuesMatchAfterBothAreFittedToTheCard) {
    AresRecord card;
    card.name = QStringLiteral("ACME s.r.o.");
    card.street = QStringLiteral("Dlouhá 12");
    card.psc = QStringLiteral("11000");
    card.place = QStringLiteral("Praha");
    AresRecord found = card;
    found.street = QStringLiteral("  Dlouhá 12 ");
    EXPECT_FALSE(AresVerification(QStringLiteral("1"), card, found).anyDifference());

    found.name = QStringLiteral("ACME S.R.O.");
    const AresVerification caseDiffers(QStringLiteral("1"), card, found);
    EXPECT_TRUE(caseDiffers.differs(AresVerification::Field::Name));
    EXPECT_FALSE(caseDiffers.differs(AresVerification::Field::Street));

    // A name longer than the card's field matches the card's cut of it.
    found.name = QString(49, QLatin1Char('N')) + QStringLiteral(" Dlouhý konec a.s.");
    card.name = QString(49, QLatin1Char('N'));
    AresVerification longName(QStringLiteral("1"), card, found);
    EXPECT_FALSE(longName.anyDifference())
        << longName.registerValue(AresVerification::Field::Name).toStdString();
    found.place = QStringLiteral("Brno");
    AresVerification taken(QStringLiteral("1"), card, found);
    taken.takeRegister();
    EXPECT_EQ(taken.card().place, QStringLiteral("Brno"));
    EXPECT_EQ(taken.heading(), QStringLiteral("Výsledek ověření IČ 1"));
}

TEST(AresServiceTest, MissingKeysTakeTheRegistersOwnService) {
    core::IniFile ini;
    const AresService standard = AresService::fromIni(ini);
    EXPECT_EQ(standard.urlOf(QStringLiteral("00006947")).toString(),
              QStringLiteral("https://ares.gov.cz/ekonomicke-subjekty-v-be/rest/"
                             "ekonomicke-subjekty/00006947"));
    EXPECT_EQ(standard.timeoutSeconds, 15);
    ini.setValue(QStringLiteral("ARES"), QStringLiteral("Kind"), QStringLiteral("xml"));
    ini.setValue(QStringLiteral("ARES"), QStringLiteral("Host"), QStringLiteral("wwwinfo.cz:81"));
    ini.setValue(QStringLiteral("ARES"), QStringLiteral("Timeout"), QStringLiteral("nikdy"));
    const AresService old = AresService::fromIni(ini);
    EXPECT_EQ(old.urlOf(QStringLiteral("00006947")).toString(),
              QStringLiteral("https://wwwinfo.cz:81/cgi-bin/ares/darv_std.cgi?ico=00006947"));
    EXPECT_EQ(old.timeoutSeconds, 15);
}

TEST_F(AresRegisterTest, TheRestServiceIsAskedForEightDigitsAndItsAnswersTold) {
    server.answer(200, kFinanceJson);
    const AresRecord found = ask(QStringLiteral(" 69 47"));
    ASSERT_TRUE(found.found()) << found.error.toStdString();
    EXPECT_EQ(server.lastTarget(),
              QByteArrayLiteral("/ekonomicke-subjekty-v-be/rest/ekonomicke-subjekty/00006947"));
    EXPECT_TRUE(server.lastHead().toLower().contains("accept: application/json"));
    EXPECT_EQ(found.name, QStringLiteral("Ministerstvo financí"));
    EXPECT_EQ(found.street, QStringLiteral("Letenská 525/15"));

    server.answer(404, R"({"kod":"NENALEZENO"})");
    EXPECT_EQ(ask(QStringLiteral("6947")).error,
              addressbook::aresNotFoundMessage(QStringLiteral("6947")));
    server.answer(200, "\x01garbage\xff");
    EXPECT_EQ(ask(QStringLiteral("6947")).error,
              addressbook::aresUnreadableMessage(QStringLiteral("6947")));
    server.answer(500, "<html><body>Internal error</body></html>", "text/html");
    EXPECT_EQ(ask(QStringLiteral("6947")).error,
              addressbook::aresUnreadableMessage(QStringLiteral("6947")));

    // A secure connection to a server that speaks plain HTTP fails like no connection.
    core::IniFile ini = core::IniFile::load(core::programState().folders.iniFile);
    ini.setValue(QStringLiteral("ARES"), QStringLiteral("Scheme"), QStringLiteral("https"));
    ini.save(core::programState().folders.iniFile);
    core::ProgressScope wait(ui, QStringLiteral("čekám"), 0, false);
    EXPECT_EQ(addressbook::queryAres(AresService::configured(), QStringLiteral("6947"), wait).error,
              addressbook::aresNoConnectionMessage());
}

TEST_F(AresRegisterTest, ANumberThatCannotBeInTheRegisterIsNotAskedFor) {
    server.answer(200, kFinanceJson);
    for (const QString& ico :
         {QStringLiteral("12345678"), QStringLiteral("12a45678"), QStringLiteral("123456789")})
        EXPECT_EQ(ask(ico).error, addressbook::aresNotFoundMessage(ico)) << ico.toStdString();
    EXPECT_EQ(server.requests(), 0);
}

TEST_F(AresRegisterTest, NoAnswerWithinTheTimeOutIsAFailedConnectionWhileTheInterfaceLives) {
    server.stayOnHold();
    QElapsedTimer clock;
    clock.start();
    const AresRecord silent = ask(QStringLiteral("6947"));
    EXPECT_LT(clock.elapsed(), 3000) << "the query waits no longer than its time-out";
    EXPECT_EQ(server.requests(), 1);
    EXPECT_EQ(silent.error, addressbook::aresNoConnectionMessage());
    EXPECT_GT(ui.keepAlives(), 5) << "the interface repaints while it waits";

    // An answer that never stops coming is cut at the time-out as well.
    server.trickle();
    clock.restart();
    EXPECT_EQ(ask(QStringLiteral("6947")).error, addressbook::aresNoConnectionMessage());
    EXPECT_LT(clock.elapsed(), 3000) << "a trickling answer is stopped by the clock";

    // Nobody listening at all.
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();
    core::IniFile ini = core::IniFile::load(core::programState().folders.iniFile);
    ini.setValue(QStringLiteral("ARES"), QStringLiteral("Host"),
                 QStringLiteral("127.0.0.1:%1").arg(port));
    ini.save(core::programState().folders.iniFile);
    core::ProgressScope wait(ui, QStringLiteral("čekám"), 0, false);
    EXPECT_EQ(addressbook::queryAres(AresService::configured(), QStringLiteral("6947"), wait).error,
              addressbook::aresNoConnectionMessage());
}

TEST_F(AresRegisterTest, TheXmlServiceIsAskedByItsPathAndKeyAndItsValuesFitTheCard) {
    const QByteArray longName = QByteArray(60, 'X');
    QByteArray answer = xmlAnswer("1", "<dtt:Nazev_ulice>Dlouhá</dtt:Nazev_ulice>"
                                       "<dtt:Cislo_domovni>12</dtt:Cislo_domovni>"
                                       "<dtt:Nazev_obce>Praha</dtt:Nazev_obce>");
    answer.replace("Žluťoučký kůň s.r.o.", longName);
    server.answer(200, answer, "text/xml");
    const AresRecord found = ask(QStringLiteral("255 966 41"), QStringLiteral("XML"));
    ASSERT_TRUE(found.found()) << found.error.toStdString();
    EXPECT_EQ(server.lastTarget(), QByteArrayLiteral("/cgi-bin/ares/darv_std.cgi?ico=25596641"));
    EXPECT_EQ(found.name, QString(50, QLatin1Char('X'))) << "cut to the card's width";
    EXPECT_EQ(found.street, QStringLiteral("Dlouhá 12"));

    server.answer(200, xmlAnswer("0", ""), "text/xml");
    EXPECT_EQ(ask(QStringLiteral("25596641"), QStringLiteral("XML")).error,
              addressbook::aresNotFoundMessage(QStringLiteral("25596641")));
    server.answer(404, "<html><body>Not found</body></html>", "text/html");
    EXPECT_EQ(ask(QStringLiteral("25596641"), QStringLiteral("XML")).error,
              addressbook::aresUnreadableMessage(QStringLiteral("25596641")));
}
